// The twelve language tables and the lookups of resource texts, also in the C
// and a KOI8-R locale; the locale is selected once per process, so each one
// runs in a child.
#include "text/languages.h"

#include <gtest/gtest.h>
#include <langinfo.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <tuple>

#include "support/rerun_test.h"
#include "support/scratch_directory.h"
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
  ASSERT_EQ(english.size(), 83u);
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
      const bool kitMessage = file && key.rfind("IDS_ERROR_", 0) == 0;
      EXPECT_EQ(text.rfind(" orbp8.pkd", 0) == 0, kitMessage && id == kLangKazakh) << key;
    }
    // The help names every option, word and log event as the program reads and writes them.
    for (const char* word : {"{version}", "usecwd", " -S ", " -N ", " -D", " -G", " -L",
                             "ru uk en lv lt bg de ro ka kk vi tr", "--help, -h, /?", "--version",
                             " 0 ", " 1 ", " 2 ", "start ", "recovered, recovery-failed", "kept=",
                             "created, replaced, kept", "would-create", "would-replace", "error ",
                             "rollback ", "end ", "exit=N created=C replaced=R unchanged=U bytes=B"})
      EXPECT_NE(info.strings.at("IDS_USAGE").find(word), std::string::npos) << word;
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

// Run in a child by the test below; the codeset shows that LC_ALL took effect. The tables'
// texts come out whole whatever the locale's character set, and narrow into it.
TEST(CLocaleChild, DISABLED_RussianTextsWidenAndNarrow) {
  text::ensure_user_locale();
  const std::string codeset = std::getenv("ORB_EXPECTED_CODESET");
  EXPECT_EQ(nl_langinfo(CODESET), codeset);
  set_resource_lang(kLangRussian);
  EXPECT_EQ(LoadResString("IDS_TEMPLATE_CATALOG"), u"Каталог шаблонов:");
  EXPECT_EQ(narrow_lib(LoadResString("IDS_TEMPLATE_CATALOG")), std::getenv("ORB_EXPECTED_NARROW"));
  const std::string path = "/home/пользователь/\xFF.cfg";
  if (codeset != "KOI8-R") {
    EXPECT_EQ(widen_lib(path), u"/home/пользователь/\xDCFF.cfg");
  }
  EXPECT_EQ(narrow_lib(widen_lib(path)), path);
  finish_child_test();
}

TEST(CLocale, RussianTextsSurviveInAsciiUtf8AndKoi8Locales) {
  // A KOI8-R locale of its own, made where LOCPATH points.
  ScratchDirectory locales("orblocale-");
  const std::string koi8 = locales / "ru_RU.KOI8-R";
  const char* const arguments[] = {"localedef", "-i", "ru_RU", "-f", "KOI8-R", koi8.c_str(), nullptr};
  pid_t pid = 0;
  int status = -1;
  ASSERT_EQ(0, posix_spawnp(&pid, "localedef", nullptr, nullptr, const_cast<char**>(arguments), environ));
  ASSERT_EQ(pid, waitpid(pid, &status, 0));
  ASSERT_EQ(0, status) << "localedef could not make " << koi8;
  const std::string utf8 = "Каталог шаблонов:";
  const std::tuple<const char*, const char*, std::string> cases[] = {
      {"C", "ANSI_X3.4-1968", utf8}, {"POSIX", "ANSI_X3.4-1968", utf8}, {"C.UTF-8", "UTF-8", utf8},
      {"ru_RU.KOI8-R", "KOI8-R", "\xEB\xC1\xD4\xC1\xCC\xCF\xC7 \xDB\xC1\xC2\xCC\xCF\xCE\xCF\xD7:"}};
  for (const auto& [locale, codeset, narrow] : cases) {
    const int result = run_test_in_child(
        "/proc/self/exe", "CLocaleChild.DISABLED_RussianTextsWidenAndNarrow",
        {std::string("LC_ALL=") + locale, std::string("LANG=") + locale, "LOCPATH=" + locales.path(),
         std::string("ORB_EXPECTED_CODESET=") + codeset, "ORB_EXPECTED_NARROW=" + narrow},
        {"LC_CTYPE", "LANGUAGE"});
    EXPECT_EQ(result, kChildTestPassed) << locale;
  }
}
