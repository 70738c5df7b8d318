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
  const std::pair<const char*, const char*> languages[] = {
      {"ru", "истрибутив"},           {"uk", "истрибутив"},      {"en", ""},  // code, kit's name
      {"lv", "zplatīšanas komplekt"}, {"lt", "latinimo rinkin"}, {"bg", "инсталационния пакет"},
      {"de", "Installationspaket"},   {"ro", "pachet"},          {"ka", "დისტრიბუტივ"},
      {"kk", "истрибутив"},           {"vi", "bộ cài đặt"},      {"tr", "ağıtım paket"}};
  const auto& table = language_table();
  ASSERT_EQ(table.size(), 12u);
  const auto& english = table.at(kLangEnglish).strings;
  ASSERT_EQ(english.size(), 67u);
  for (const auto& [id, info] : table) {
    SCOPED_TRACE(info.code);
    EXPECT_EQ(get_lang_id_by_lang_code(languages[id - 1].first), id);  // so its code is that
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
      EXPECT_EQ(text.rfind("< ", 0) == 0, key == "IDS_WIZARD_BACK") << key;  // arrows: these
      EXPECT_EQ(text.rfind(" >") == text.size() - 2, key == "IDS_WIZARD_NEXT") << key;
      const bool reason = key.rfind("IDS_REASON_", 0) == 0;  // follows "path: ", the code the last
      EXPECT_TRUE(!reason || (text.back() == '.') != (key == "IDS_REASON_OTHER")) << key;
      const bool kit = englishText.find("kit") != text.npos || key == "IDS_SUCCESS_OPENDESCR";
      EXPECT_TRUE(!kit || text.find(languages[id - 1].second) != std::string::npos) << key;
      const bool file = englishText.find("orbp8.pkd") != std::string::npos;  // Kazakh: first
      EXPECT_EQ(text.find("orbp8.pkd") != std::string::npos, file) << key;
      EXPECT_EQ(text.rfind(" orbp8.pkd", 0) == 0, file && id == kLangKazakh) << key;
    }
    EXPECT_EQ(info.strings.at("IDS_CHOOSEDIR_FOLDER").rfind('&'), 0u);  // one mnemonic, first
    EXPECT_EQ(info.strings.at("IDS_WELCOME_TITLE").back() == ':',       // the verb last: a colon
              id == kLangKazakh || id == kLangTurkish);
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
