// The twelve language tables and the lookups of resource texts.
#include "text/languages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

// Looked up in this file's static initialisation, maybe before the tables exist.
static const WideString kCaptionFromStaticInit = LoadResString("IDS_WIZARD_NEXT");

TEST(ResourceLanguage, EveryTableHoldsItsOwnTranslationOfEveryKey) {
  EXPECT_EQ(kCaptionFromStaticInit, u"Next >");
  const char* const codes[] = {"ru", "uk", "en", "lv", "lt", "bg",
                               "de", "ro", "ka", "kk", "vi", "tr"};
  const auto& table = language_table();
  ASSERT_EQ(table.size(), 12u);
  const auto& english = table.at(kLangEnglish).strings;
  ASSERT_EQ(english.size(), 37u);
  for (const auto& [id, info] : table) {
    SCOPED_TRACE(info.code);
    EXPECT_EQ(info.code, codes[id - 1]);
    EXPECT_EQ(get_lang_id_by_lang_code(info.code), id);
    ASSERT_EQ(info.strings.size(), english.size());
    set_resource_lang(id);
    for (const auto& [key, englishText] : english) {
      const std::string& text = info.strings.at(key);
      EXPECT_TRUE(id == kLangEnglish || text != englishText) << key;
      const WideString wide = LoadResString(key);
      EXPECT_EQ(narrow_lib(wide), text) << key;
      EXPECT_TRUE(std::none_of(wide.begin(), wide.end(),  // no byte that is not UTF-8
                               [](char16_t unit) { return unit >= 0xDC80 && unit <= 0xDCFF; }))
          << key;
      EXPECT_FALSE(text.empty() || text.back() == ' ') << key;
    }
    const std::string& next = info.strings.at("IDS_WIZARD_NEXT");
    EXPECT_EQ(info.strings.at("IDS_WIZARD_BACK").rfind("< ", 0), 0u);
    EXPECT_EQ(next.substr(next.size() - 2), " >");
    EXPECT_EQ(info.strings.at("IDS_CHOOSEDIR_FOLDER").rfind('&'), 0u);  // one mnemonic, first
  }
}

TEST(ResourceLanguage, LookupsMatchExactly) {
  for (const char* code : {"EN", "", "ru_RU", "r"})
    EXPECT_EQ(get_lang_id_by_lang_code(code), kLangNone) << code;
  const std::tuple<int, const char*, WideString> texts[] = {
      {kLangTurkish, "IDS_WIZARD_NEXT", u"İleri >"},
      {kLangUkrainian, "IDS_WIZARD_FINISH", u"\u041E\u041A"},  // a Cyrillic О and К
      {kLangGerman, "IDS_WIZARD_FINISH", u"Fertig"},
      {kLangGerman, "ids_wizard_finish", u""},
      {13, "IDS_WIZARD_FINISH", u""},
  };
  for (const auto& [id, key, text] : texts) {
    set_resource_lang(static_cast<LangIdType>(id));
    EXPECT_EQ(LoadResString(key), text) << id << " " << key;
  }
}
