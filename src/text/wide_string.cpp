#include "text/wide_string.h"

#include <strings.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "text/locale_codec.h"
#include "text/utf8_codec.h"

const WideString kPathSeparator = u"/";
const WideString kBadPathSeparator = u"\\";

int WideCharToMultiByte(uint32_t, uint32_t, const char16_t* wideText, int count, char* buffer,
                        int bufferSize, const char*, bool*) {
  if (wideText == nullptr || count <= 0) return 0;
  size_t length = 0;
  while (length < static_cast<size_t>(count) && wideText[length] != 0) ++length;
  const std::string narrow = text::utf16_to_locale(wideText, length);
  if (buffer != nullptr && bufferSize > 0) {
    std::memset(buffer, 0, static_cast<size_t>(bufferSize));
    std::memcpy(buffer, narrow.data(), std::min(narrow.size(), static_cast<size_t>(bufferSize)));
  }
  return static_cast<int>(narrow.size());
}

int MultiByteToWideChar(uint32_t, uint32_t, const char* narrowText, int, char16_t* buffer,
                        int bufferSize) {
  if (narrowText == nullptr) return 0;
  const WideString wide = text::locale_to_utf16(narrowText, std::strlen(narrowText));
  if (buffer != nullptr && bufferSize > 0) {
    std::copy_n(wide.begin(), std::min(wide.size(), static_cast<size_t>(bufferSize)), buffer);
  }
  return static_cast<int>(wide.size());
}

WideString widen_lib(const std::string& narrow) {
  return text::locale_to_utf16(narrow.data(), narrow.size());
}

std::string narrow_lib(const WideString& wide) {
  return text::utf16_to_locale(wide.data(), wide.size());
}

WideString widen_utf8(const std::string& utf8) {
  return text::decode_utf8_lossless(utf8.data(), utf8.size());
}

std::string narrow_utf8(const WideString& wide) {
  return text::encode_utf8_lossless(wide.data(), wide.size());
}

int compare_nocase(const WideString& a, const WideString& b) {
  return strcasecmp(narrow_lib(a).c_str(), narrow_lib(b).c_str());
}

uint32_t string_toul(const WideString& text) {
  uint32_t value = 0;
  for (char16_t unit : text) {
    if (unit < u'0' || unit > u'9') break;
    value = value * 10u + static_cast<uint32_t>(unit - u'0');
  }
  return value;
}

namespace {

WideString digits_of(uint32_t magnitude, int radix) {
  if (radix < 2 || radix > 36) radix = 10;
  WideString reversed;
  do {
    const uint32_t digit = magnitude % static_cast<uint32_t>(radix);
    reversed.push_back(static_cast<char16_t>(digit < 10 ? u'0' + digit : u'a' + (digit - 10)));
    magnitude /= static_cast<uint32_t>(radix);
  } while (magnitude != 0);
  return WideString(reversed.rbegin(), reversed.rend());
}

}  // namespace

WideString string_ito(int32_t value, int radix) {
  if (radix == 10 && value < 0) {
    return u"-" + digits_of(0u - static_cast<uint32_t>(value), radix);
  }
  return digits_of(static_cast<uint32_t>(value), radix);
}

WideString string_uito(uint32_t value, int radix) { return digits_of(value, radix); }

int replace_all(WideString& text, const WideString& what, const WideString& with) {
  if (what.empty() || text.empty()) return 0;
  if (what.size() == with.size()) {
    int replaced = 0;
    for (size_t at = text.find(what); at != WideString::npos; at = text.find(what, at)) {
      text.replace(at, what.size(), with);
      at += with.size();
      ++replaced;
    }
    return replaced;
  }
  std::vector<size_t> matches;
  for (size_t at = text.find(what); at != WideString::npos;
       at = text.find(what, at + what.size())) {
    matches.push_back(at);
  }
  if (matches.empty()) return 0;
  WideString result;
  result.reserve(text.size() - what.size() * matches.size() + with.size() * matches.size());
  size_t from = 0;
  for (size_t at : matches) {
    result.append(text, from, at - from);
    result.append(with);
    from = at + what.size();
  }
  result.append(text, from, WideString::npos);
  text = std::move(result);
  return static_cast<int>(matches.size());
}

bool isDiskRoot(const WideString& path) { return path == kPathSeparator; }

bool endsWithPathSeparator(const WideString& path) {
  return !path.empty() && (path.back() == u'/' || path.back() == u'\\');
}

WideString withoutFinalSeparators(WideString path) {
  while (path.size() > 1 && endsWithPathSeparator(path)) path.pop_back();
  return path;
}
