// Conversion between the user's locale encoding and UTF-16, selected once per
// process: UTF-8 (and plain ASCII locales, treated as UTF-8) use the lossless
// UTF-8 codec; other encodings go through the C library. Any thread.
#pragma once

#include <string>

namespace text {

// Selects the user's locale (setlocale(LC_ALL, "")) the first time it is called.
void ensure_user_locale();

std::u16string locale_to_utf16(const char* bytes, size_t length);
std::string utf16_to_locale(const char16_t* units, size_t length);

}  // namespace text
