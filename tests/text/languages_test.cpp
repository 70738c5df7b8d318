// The twelve language tables and the lookups of resource texts.
#include "text/languages.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Looked up during static initialisation of this file, which may well run
// before that of the file holding the tables.
const WideString kCaptionFromStaticInit = LoadResString("IDS_WIZARD_NEXT");

class ResourceLanguage : public ::testing::Test {
 protected:
  void TearDown() override { set_resource_lang(kLangEnglish); }
};

bool is_escaped_byte(char16_t unit) { return unit >= 0xDC80 && unit <= 0xDCFF; }

}  // namespace

TEST_F(ResourceLanguage, EveryTableHoldsItsOwnTranslationOfEveryKey) {
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
      if (id != kLangEnglish) {
        EXPECT_NE(text, englishText) << key;
      }
      const WideString wide = LoadResString(key);
      EXPECT_EQ(narrow_lib(wide), text) << key;
      EXPECT_TRUE(std::none_of(wide.begin(), wide.end(), is_escaped_byte)) << key;
      EXPECT_FALSE(text.empty() || text.back() == ' ') << key;
    }
    const std::string& next = info.strings.at("IDS_WIZARD_NEXT");
    EXPECT_EQ(info.strings.at("IDS_WIZARD_BACK").rfind("< ", 0), 0u);
    EXPECT_EQ(next.substr(next.size() - 2), " >");
    EXPECT_EQ(info.strings.at("IDS_CHOOSEDIR_FOLDER").rfind('&'), 0u);  // one mnemonic, first
  }
  const std::pair<LangIdType, WideString> finishCaptions[] = {
      {kLangRussian, u"Готово"}, {kLangUkrainian, u"\u041E\u041A"}, {kLangGerman, u"Fertig"}};
  for (const auto& [id, caption] : finishCaptions) {
    set_resource_lang(id);
    EXPECT_EQ(LoadResString("IDS_WIZARD_FINISH"), caption)
        << id;  // the Ukrainian О and К are Cyrillic
  }
}

TEST_F(ResourceLanguage, LookupsMatchExactly) {
  EXPECT_EQ(get_resource_lang(), kLangEnglish);  // English until set
  using namespace std::string_literals;
  for (const std::string& code : {"EN"s, ""s, "ru_RU"s, "r"s, "ru "s, "ru\0"s, "C"s}) {
    EXPECT_EQ(get_lang_id_by_lang_code(code), kLangNone) << code;
  }
  for (int id : {0, 13, -1}) {
    set_resource_lang(static_cast<LangIdType>(id));
    EXPECT_EQ(get_resource_lang(), id);  // stored unchanged
    EXPECT_EQ(LoadResString("IDS_WIZARD_BACK"), u"") << id;
  }
  set_resource_lang(kLangTurkish);
  EXPECT_EQ(get_resource_lang(), kLangTurkish);
  EXPECT_EQ(LoadResString("IDS_WIZARD_NEXT"), u"İleri >");
  for (const char* key : {"ids_wizard_back", "IDS_NO_SUCH_KEY", "", "IDS_WIZARD_BACK "}) {
    EXPECT_EQ(LoadResString(key), u"") << key;
  }
}
