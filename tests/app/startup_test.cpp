// Which arguments are options, where their scan stops, and the language: the
// switch's, else the locale's, else English.
#include "app/startup.h"

#include <gtest/gtest.h>
#include <libintl.h>

#include <cstdlib>
#include <tuple>
#include <vector>

#include "support/rerun_test.h"

TEST(Startup, OptionsAndLanguageFromTheArgumentsAndTheLocale) {
  // The arguments after the program's path and the locale; usecwd, silent, language, code.
  using Case =
      std::tuple<std::vector<const char*>, const char*, bool, bool, LangIdType, WideString>;
  const Case cases[] = {
      {{"-Lru", "-S"}, "C", false, false, kLangRussian, u"ru"},  // nothing after -L is read
      {{"-S", "-Lka", "-Ltr"}, "C", false, true, kLangGeorgian, u"ka"},
      {{"/s", "/lde"}, "C", false, true, kLangGerman, u"de"},
      {{"x", "-Silent", "-Lvi"}, nullptr, false, true, kLangVietnamese, u"vi"},
      // Toolkit-style words and other leading characters are no options.
      {{"--Lru", "+S", ".S", "\\S", "-", "/"}, "C", false, false, kLangEnglish, u"en"},
      // A switch's code is taken whole and with its case, else the locale's.
      {{"-LRU"}, "de_DE.UTF-8", false, false, kLangGerman, u"de"},
      {{"-Lru_RU"}, "C", false, false, kLangEnglish, u"en"},
      {{"-L"}, "uk", false, false, kLangUkrainian, u"uk"},
      {{"usecwd", "/Lbg", "-S"}, "C", true, false, kLangBulgarian, u"bg"},
      {{"-S", "usecwd"}, "C", false, true, kLangEnglish, u"en"},
      {{"usecwdx"}, "C", false, false, kLangEnglish, u"en"},
  };
  for (const auto& [arguments, locale, useCurrentDirectory, silent, language, code] : cases) {
    std::vector<const char*> argv = {"/opt/kit/setup"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    SCOPED_TRACE(::testing::PrintToString(argv) + " locale " + (locale ? locale : "(none)"));
    const StartupOptions options = choose_startup_options(
        scan_command_line(static_cast<int>(argv.size()), argv.data()), locale);
    EXPECT_EQ(options.useCurrentDirectory, useCurrentDirectory);
    EXPECT_EQ(options.silent, silent);
    EXPECT_EQ(options.language, language);
    EXPECT_EQ(options.languageCode, code);
  }
}

// The locale from the environment, and GTK's catalogue in the chosen language even under "C".
TEST(UserLocaleNameChild, DISABLED_LocaleAndMessageLanguage) {
  EXPECT_STREQ(user_locale_name(), getenv("LC_ALL"));
  EXPECT_EQ(select_message_language("ru"), "C.UTF-8");
  bind_textdomain_codeset("gtk20", "UTF-8");
  EXPECT_STREQ(dgettext("gtk20", "Stock label\004_Cancel"), "О_тменить");
  finish_child_test();
}

TEST(UserLocaleName, ComesFromTheEnvironment) {
  const char* child = "UserLocaleNameChild.DISABLED_LocaleAndMessageLanguage";
  for (const char* locale : {"LC_ALL=C.UTF-8", "LC_ALL=C"})
    EXPECT_EQ(run_test_in_child("/proc/self/exe", child, {locale, "LANGUAGE=de"}), kChildTestPassed)
        << locale;
}
