// The compiled-in string table of one language: its code and its (key, text)
// pairs in the order of the resource keys. Constant data, initialised at
// compile time, so it is usable from any static initialiser and any thread.
#pragma once

#include <cstddef>

namespace text {

struct ResourceText {
  const char* key;
  const char* text;  // UTF-8
};

struct LanguageSource {
  const char* code;
  const ResourceText* texts;
  size_t count;
};

extern const LanguageSource kRussianSource;
extern const LanguageSource kUkrainianSource;
extern const LanguageSource kEnglishSource;
extern const LanguageSource kLatvianSource;
extern const LanguageSource kLithuanianSource;
extern const LanguageSource kBulgarianSource;
extern const LanguageSource kGermanSource;
extern const LanguageSource kRomanianSource;
extern const LanguageSource kGeorgianSource;
extern const LanguageSource kKazakhSource;
extern const LanguageSource kVietnameseSource;
extern const LanguageSource kTurkishSource;

}  // namespace text
