// Wide strings of 16-bit UTF-16 units, the form every path, message and setting
// takes inside the program, with their conversions to the locale's narrow text
// and a few small helpers. Every function may be used from any thread.
#pragma once

#include <cstdint>
#include <string>

using WideString = std::u16string;

extern const WideString kPathSeparator;     // "/"
extern const WideString kBadPathSeparator;  // "\"

// Win32-shaped conversions. The code page, flags, default character and
// used-default flag are accepted and ignored. Narrow text is in the locale's
// encoding (UTF-8; an ASCII-only locale is treated as UTF-8). The conversion is
// lossless: a byte that does not decode becomes a lone low surrogate
// U+DC80..U+DCFF and narrows back to the same byte; characters outside the
// Basic Multilingual Plane become surrogate pairs.
//
// WideCharToMultiByte converts the units up to the first zero unit or `count`,
// whichever comes first, and returns the number of bytes of the complete
// conversion; at most `bufferSize` bytes are stored (the rest of the buffer is
// zero-filled).
int WideCharToMultiByte(uint32_t codePage, uint32_t flags, const char16_t* wideText, int count,
                        char* buffer, int bufferSize, const char* defaultChar, bool* usedDefault);
// MultiByteToWideChar converts the bytes up to the terminating zero byte and
// returns the number of units of the complete conversion; the first
// min(bufferSize, result) units are stored, without a terminator. A buffer
// size of 0 only counts.
int MultiByteToWideChar(uint32_t codePage, uint32_t flags, const char* narrowText, int count,
                        char16_t* buffer, int bufferSize);

// Whole-string conversions. Unlike the Win32-shaped pair they convert every
// byte or unit of the string, zeros included, so any narrow string survives a
// round trip unchanged.
WideString widen_lib(const std::string& narrow);
std::string narrow_lib(const WideString& wide);
// The same for UTF-8 text whatever the locale: what GTK takes and gives, and
// the encoding of the compiled-in language tables.
WideString widen_utf8(const std::string& utf8);
std::string narrow_utf8(const WideString& wide);

// strcasecmp of the narrow forms: 0 when equal ignoring letter case.
int compare_nocase(const WideString& a, const WideString& b);

// Decimal value of the leading digits, 32-bit wrap-around; 0 when none.
uint32_t string_toul(const WideString& text);
// Number to text in the given radix (2 to 36, lower-case letters). In radix 10
// a negative value gets a minus sign; in any other radix its 32 bits are taken
// as unsigned.
WideString string_ito(int32_t value, int radix);
WideString string_uito(uint32_t value, int radix);

// Replaces every non-overlapping occurrence of `what` (searched left to right,
// replaced text never searched again); returns the number of replacements.
int replace_all(WideString& text, const WideString& what, const WideString& with);

// True exactly when the path is "/".
bool isDiskRoot(const WideString& path);

// True when the path ends with "/" or "\".
bool endsWithPathSeparator(const WideString& path);

// The path without its final separators ("/" or "\"), so that a directory
// is always spelled the same way when it is shown; the root stays "/".
WideString withoutFinalSeparators(WideString path);
