// Lossless conversion between UTF-8 bytes and UTF-16 units: undecodable bytes
// map to lone low surrogates U+DC80..U+DCFF and back. Pure functions; any thread.
#pragma once

#include <string>

namespace text {

std::u16string decode_utf8_lossless(const char* bytes, size_t length);
std::string encode_utf8_lossless(const char16_t* units, size_t length);

}  // namespace text
