#include "text/utf8_codec.h"

namespace text {
namespace {

constexpr char16_t kEscapeBase = 0xDC00;

bool is_continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Length of the well-formed UTF-8 sequence starting at bytes[0], or 0 when the
// bytes there are not one (overlong forms, encoded surrogates and values beyond
// U+10FFFF are not well formed). Stores the decoded code point.
size_t decode_one(const unsigned char* bytes, size_t available, char32_t& codePoint) {
  const unsigned char lead = bytes[0];
  if (lead < 0x80) {
    codePoint = lead;
    return 1;
  }
  size_t length;
  char32_t minimum;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, minimum = 0x80, codePoint = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, minimum = 0x800, codePoint = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, minimum = 0x10000, codePoint = lead & 0x07;
  } else {
    return 0;
  }
  if (available < length) return 0;
  for (size_t i = 1; i < length; ++i) {
    if (!is_continuation(bytes[i])) return 0;
    codePoint = (codePoint << 6) | (bytes[i] & 0x3F);
  }
  if (codePoint < minimum || codePoint > 0x10FFFF) return 0;
  if (codePoint >= 0xD800 && codePoint <= 0xDFFF) return 0;
  return length;
}

void append_code_point(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

}  // namespace

std::u16string decode_utf8_lossless(const char* text, size_t length) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  std::u16string out;
  out.reserve(length);
  size_t i = 0;
  while (i < length) {
    char32_t c;
    const size_t used = decode_one(bytes + i, length - i, c);
    if (used == 0) {
      out.push_back(static_cast<char16_t>(kEscapeBase + bytes[i]));
      ++i;
      continue;
    }
    if (c >= 0x10000) {
      c -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(c));
    }
    i += used;
  }
  return out;
}

std::string encode_utf8_lossless(const char16_t* units, size_t length) {
  std::string out;
  out.reserve(length * 3);
  for (size_t i = 0; i < length; ++i) {
    const char16_t unit = units[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < length && units[i + 1] >= 0xDC00 &&
        units[i + 1] <= 0xDFFF) {
      const char32_t c = 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (units[i + 1] - 0xDC00);
      append_code_point(out, c);
      ++i;
    } else if (unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF) {
      out.push_back(static_cast<char>(unit - kEscapeBase));  // an escaped raw byte
    } else {
      // Any other lone surrogate is written in the generalised three-byte form.
      append_code_point(out, unit);
    }
  }
  return out;
}

}  // namespace text
