// The twelve language tables and the lookups of resource texts, also in the C
// locale; the locale is selected once per process, so each one runs in a child.
#include "text/languages.h"

#include <gtest/gtest.h>
#include <langinfo.h>

#include <algorithm>
#include <cstdlib>
#include <tuple>

#include "support/rerun_test.h"
#include "text/locale_codec.h"

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
      {kLangGerman, "ids_wizard_finish", u""},
      {13, "IDS_WIZARD_FINISH", u""},
  };
  for (const auto& [id, key, text] : texts) {
    set_resource_lang(static_cast<LangIdType>(id));
    EXPECT_EQ(LoadResString(key), text) << id << " " << key;
  }
}

// Run in a child by the test below; the codeset shows that LC_ALL took effect.
TEST(CLocaleChild, DISABLED_RussianTextsWidenAndNarrow) {
  text::ensure_user_locale();
  EXPECT_STREQ(nl_langinfo(CODESET), std::getenv("ORB_EXPECTED_CODESET"));
  set_resource_lang(kLangRussian);
  EXPECT_EQ(LoadResString("IDS_TEMPLATE_CATALOG"), u"Каталог шаблонов:");
  const std::string path = "/home/пользователь/\xFF.cfg";
  EXPECT_EQ(widen_lib(path), u"/home/пользователь/\xDCFF.cfg");
  EXPECT_EQ(narrow_lib(widen_lib(path)), path);
  finish_child_test();
}

TEST(CLocale, RussianTextsSurviveInAsciiAndUtf8Locales) {
  const std::pair<const char*, const char*> locales[] = {
      {"C", "ANSI_X3.4-1968"}, {"POSIX", "ANSI_X3.4-1968"}, {"C.UTF-8", "UTF-8"}};
  for (const auto& [locale, codeset] : locales) {
    const int status =
        run_test_in_child("/proc/self/exe", "CLocaleChild.DISABLED_RussianTextsWidenAndNarrow",
                          {std::string("LC_ALL=") + locale, std::string("LANG=") + locale,
                           std::string("ORB_EXPECTED_CODESET=") + codeset},
                          {"LC_CTYPE", "LANGUAGE"});
    EXPECT_EQ(status, kChildTestPassed) << locale;
  }
}
