// The twelve user-interface languages, their resource string tables and the
// current resource language. The tables are built on first use and never change;
// any thread may read them. The current language is set once on the main thread
// before the install thread starts.
#pragma once

#include <map>
#include <string>

#include "text/wide_string.h"

enum LangIdType : int {
  kLangNone = 0,
  kLangRussian = 1,
  kLangUkrainian = 2,
  kLangEnglish = 3,
  kLangLatvian = 4,
  kLangLithuanian = 5,
  kLangBulgarian = 6,
  kLangGerman = 7,
  kLangRomanian = 8,
  kLangGeorgian = 9,
  kLangKazakh = 10,
  kLangVietnamese = 11,
  kLangTurkish = 12,
};

struct LangInfo {
  std::string code;                            // ISO 639-1, lower case
  std::map<std::string, std::string> strings;  // resource key -> UTF-8 text
};

// The language table in ascending order of the id, complete before the first
// lookup (also from other static initialisers).
const std::map<LangIdType, LangInfo>& language_table();

// Makes `id` the current resource language; stored unchanged, even when no
// table has it (texts are then empty). English until first set.
void set_resource_lang(LangIdType id);
LangIdType get_resource_lang();

// The id whose code equals `code` byte for byte (case-sensitive), or kLangNone.
LangIdType get_lang_id_by_lang_code(const std::string& code);

// The text of `key` in the current resource language, widened from the
// table's UTF-8 (so that narrow_lib gives it in the locale's character set);
// empty when the language or the key is unknown. Keys match exactly.
WideString LoadResString(const std::string& key);
