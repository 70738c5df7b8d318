#include "text/languages.h"

#include "text/lang/resource_text.h"

namespace {

// Written once on the main thread before the install thread exists; constant
// initialised, so it reads English even from earlier static initialisers.
LangIdType g_resourceLang = kLangEnglish;

std::map<std::string, std::string> strings_of(const text::LanguageSource& source) {
  std::map<std::string, std::string> strings;
  for (size_t i = 0; i < source.count; ++i) {
    strings.emplace(source.texts[i].key, source.texts[i].text);  // the first text of a key wins
  }
  return strings;
}

std::map<LangIdType, LangInfo> build_language_table() {
  const std::pair<LangIdType, const text::LanguageSource&> languages[] = {
      {kLangRussian, text::kRussianSource},       {kLangUkrainian, text::kUkrainianSource},
      {kLangEnglish, text::kEnglishSource},       {kLangLatvian, text::kLatvianSource},
      {kLangLithuanian, text::kLithuanianSource}, {kLangBulgarian, text::kBulgarianSource},
      {kLangGerman, text::kGermanSource},         {kLangRomanian, text::kRomanianSource},
      {kLangGeorgian, text::kGeorgianSource},     {kLangKazakh, text::kKazakhSource},
      {kLangVietnamese, text::kVietnameseSource}, {kLangTurkish, text::kTurkishSource},
  };
  std::map<LangIdType, LangInfo> table;
  for (const auto& [id, source] : languages) {
    table.emplace(id, LangInfo{source.code, strings_of(source)});
  }
  return table;
}

}  // namespace

const std::map<LangIdType, LangInfo>& language_table() {
  // Built on first use: the sources are constant data, so whichever static
  // initialiser asks first gets the complete table.
  static const std::map<LangIdType, LangInfo> table = build_language_table();
  return table;
}

void set_resource_lang(LangIdType id) { g_resourceLang = id; }

LangIdType get_resource_lang() { return g_resourceLang; }

LangIdType get_lang_id_by_lang_code(const std::string& code) {
  for (const auto& [id, info] : language_table()) {
    if (info.code == code) return id;
  }
  return kLangNone;
}

WideString LoadResString(const std::string& key) {
  const auto& table = language_table();
  const auto language = table.find(g_resourceLang);
  if (language == table.end()) return WideString();
  const auto text = language->second.strings.find(key);
  if (text == language->second.strings.end()) return WideString();
  // The tables are UTF-8 whatever the locale's character set.
  return widen_utf8(text->second);
}
