#include "text/locale_codec.h"

#include <langinfo.h>
#include <strings.h>

#include <climits>
#include <clocale>
#include <cstring>
#include <cwchar>
#include <mutex>

#include "text/utf8_codec.h"

namespace text {
namespace {

bool g_useUtf8 = true;

bool codeset_is_utf8_or_ascii(const char* codeset) {
  if (codeset == nullptr) return true;
  return strcasecmp(codeset, "UTF-8") == 0 || strcasecmp(codeset, "UTF8") == 0 ||
         strcasecmp(codeset, "ANSI_X3.4-1968") == 0 || strcasecmp(codeset, "ASCII") == 0 ||
         strcasecmp(codeset, "US-ASCII") == 0;
}

std::u16string generic_to_utf16(const char* bytes, size_t length) {
  std::u16string out;
  std::mbstate_t state{};
  size_t i = 0;
  while (i < length) {
    wchar_t c;
    const size_t used = std::mbrtowc(&c, bytes + i, length - i, &state);
    if (used == static_cast<size_t>(-1) || used == static_cast<size_t>(-2)) {
      out.push_back(static_cast<char16_t>(0xDC00 + static_cast<unsigned char>(bytes[i])));
      state = std::mbstate_t{};
      ++i;
      continue;
    }
    const char32_t code = static_cast<char32_t>(c);
    if (code >= 0x10000) {
      out.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(code));
    }
    i += used == 0 ? 1 : used;
  }
  return out;
}

std::string generic_from_utf16(const char16_t* units, size_t length) {
  std::string out;
  std::mbstate_t state{};
  char buffer[MB_LEN_MAX];
  for (size_t i = 0; i < length; ++i) {
    char32_t code = units[i];
    if (code >= 0xDC80 && code <= 0xDCFF) {
      out.push_back(static_cast<char>(code - 0xDC00));
      continue;
    }
    if (code >= 0xD800 && code <= 0xDBFF && i + 1 < length && units[i + 1] >= 0xDC00 &&
        units[i + 1] <= 0xDFFF) {
      code = 0x10000 + ((code - 0xD800) << 10) + (units[i + 1] - 0xDC00);
      ++i;
    }
    const size_t written = std::wcrtomb(buffer, static_cast<wchar_t>(code), &state);
    if (written == static_cast<size_t>(-1)) {
      out.push_back('?');
      state = std::mbstate_t{};
    } else {
      out.append(buffer, written);
    }
  }
  return out;
}

}  // namespace

void ensure_user_locale() {
  static std::once_flag once;
  std::call_once(once, [] {
    std::setlocale(LC_ALL, "");
    g_useUtf8 = codeset_is_utf8_or_ascii(nl_langinfo(CODESET));
  });
}

std::u16string locale_to_utf16(const char* bytes, size_t length) {
  ensure_user_locale();
  return g_useUtf8 ? decode_utf8_lossless(bytes, length) : generic_to_utf16(bytes, length);
}

std::string utf16_to_locale(const char16_t* units, size_t length) {
  ensure_user_locale();
  return g_useUtf8 ? encode_utf8_lossless(units, length) : generic_from_utf16(units, length);
}

}  // namespace text
