#include "app/startup.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "support/rerun_test.h"

namespace {

// The decisions for "setup <arguments...>" under the given locale name.
StartupOptions start(std::vector<const char*> arguments, const char* localeName = "C") {
  arguments.insert(arguments.begin(), "/opt/kit/setup");
  return choose_startup_options(
      scan_command_line(static_cast<int>(arguments.size()), arguments.data()), localeName);
}

}  // namespace

TEST(Startup, OptionScanStopsAtTheFirstLanguageSwitch) {
  struct Case {
    std::vector<const char*> arguments;
    bool silent;
    LangIdType language;
    WideString code;
  };
  const Case cases[] = {
      {{}, false, kLangEnglish, u"en"},
      {{"-Lru", "-S"}, false, kLangRussian, u"ru"},  // -S is never seen
      {{"-S", "-Lru"}, true, kLangRussian, u"ru"},
      {{"/s"}, true, kLangEnglish, u"en"},
      {{"-Silent"}, true, kLangEnglish, u"en"},
      {{"/lde"}, false, kLangGerman, u"de"},
      {{"-x", "foo", "-S"}, true, kLangEnglish, u"en"},
      {{"--sync", "--Lru"}, false, kLangEnglish, u"en"},  // toolkit-style words are no options
      {{"+S", ".S", "\\S", "-", "/"}, false, kLangEnglish, u"en"},
      {{"-LRU"}, false, kLangEnglish, u"en"},  // codes are case-sensitive
      {{"-L"}, false, kLangEnglish, u"en"},
      {{"-Lxx", "-Lru"}, false, kLangEnglish, u"en"},  // only the first switch counts
      {{"-Lru_RU"}, false, kLangEnglish, u"en"},       // a switch's code is not cut
      {{"-S", "-Lka", "-Ltr"}, true, kLangGeorgian, u"ka"},
      {{"x", "-Ltr"}, false, kLangTurkish, u"tr"},
  };
  for (const Case& c : cases) {
    std::string line;
    for (const char* argument : c.arguments) line += std::string(argument) + " ";
    SCOPED_TRACE(line);
    const StartupOptions options = start(c.arguments);
    EXPECT_FALSE(options.useCurrentDirectory);
    EXPECT_EQ(options.silent, c.silent);
    EXPECT_EQ(options.language, c.language);
    EXPECT_EQ(options.languageCode, c.code);
  }
}

TEST(Startup, UseCwdIsTheExactFirstArgument) {
  EXPECT_TRUE(start({"usecwd"}).useCurrentDirectory);
  EXPECT_TRUE(start({"usecwd", "kits"}).useCurrentDirectory);

  StartupOptions options = start({"usecwd", "kits", "-S"});
  EXPECT_TRUE(options.useCurrentDirectory);
  EXPECT_TRUE(options.silent);
  options = start({"usecwd", "-S"});
  EXPECT_TRUE(options.useCurrentDirectory);
  EXPECT_TRUE(options.silent);
  options = start({"usecwd", "-Lvi"});
  EXPECT_TRUE(options.useCurrentDirectory);
  EXPECT_EQ(options.language, kLangVietnamese);

  for (const char* word : {"USECWD", "usecwdx", "usecw", "", "-usecwd"}) {
    EXPECT_FALSE(start({word}).useCurrentDirectory) << word;
  }
  EXPECT_FALSE(start({"-S", "usecwd"}).useCurrentDirectory);
  EXPECT_FALSE(start({}).useCurrentDirectory);

  // "usecwd" is not an option, and the scan starts after it.
  const char* const argv[] = {"setup", "usecwd", "/Lde"};
  const CommandLine scanned = scan_command_line(3, argv);
  EXPECT_TRUE(scanned.useCurrentDirectory);
  EXPECT_TRUE(scanned.hasLanguageSwitch);
  EXPECT_EQ(scanned.languageSwitchCode, "de");
}

TEST(Startup, LanguageFallsBackFromSwitchToLocaleToEnglish) {
  struct Case {
    std::vector<const char*> arguments;
    const char* locale;
    LangIdType language;
    WideString code;
  };
  const Case cases[] = {
      {{}, "de_DE.UTF-8", kLangGerman, u"de"},
      {{}, "ka_GE.UTF-8", kLangGeorgian, u"ka"},
      {{}, "kk", kLangKazakh, u"kk"},  // two bytes are taken whole
      {{}, "k", kLangEnglish, u"en"},
      {{}, "C", kLangEnglish, u"en"},
      {{}, "C.UTF-8", kLangEnglish, u"en"},
      {{}, "DE_de", kLangEnglish, u"en"},
      {{}, "", kLangEnglish, u"en"},
      {{}, nullptr, kLangEnglish, u"en"},  // no locale name at all
      {{"-Lbg"}, "de_DE.UTF-8", kLangBulgarian, u"bg"},
      {{"-LRU"}, "de_DE.UTF-8", kLangGerman, u"de"},
      {{"-L"}, "uk_UA.UTF-8", kLangUkrainian, u"uk"},
      {{"-Lxx"}, "C", kLangEnglish, u"en"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.locale == nullptr ? "(none)" : c.locale);
    const StartupOptions options = start(c.arguments, c.locale);
    EXPECT_EQ(options.language, c.language);
    EXPECT_EQ(options.languageCode, c.code);
  }
}

// Run by UserLocaleName.ComesFromTheEnvironment with LC_ALL set.
TEST(UserLocaleNameChild, DISABLED_ReportsTheSelectedLocale) {
  const char* expected = std::getenv("ORB_EXPECTED_LOCALE");
  ASSERT_NE(expected, nullptr);
  const char* name = user_locale_name();
  ASSERT_NE(name, nullptr);
  EXPECT_STREQ(name, expected);
  finish_child_test();
}

TEST(UserLocaleName, ComesFromTheEnvironment) {
  const std::string test = "UserLocaleNameChild.DISABLED_ReportsTheSelectedLocale";
  EXPECT_EQ(
      run_test_in_child("/proc/self/exe", test, {"LC_ALL=C.UTF-8", "ORB_EXPECTED_LOCALE=C.UTF-8"}),
      kChildTestPassed);
  EXPECT_EQ(run_test_in_child("/proc/self/exe", test, {"LC_ALL=C", "ORB_EXPECTED_LOCALE=C"}),
            kChildTestPassed);
  // A locale that the system lacks leaves the process in "C".
  EXPECT_EQ(run_test_in_child("/proc/self/exe", test, {"LANG=xx_YY.UTF-8", "ORB_EXPECTED_LOCALE=C"},
                              {"LC_ALL", "LC_CTYPE", "LC_MESSAGES", "LC_COLLATE", "LC_NUMERIC",
                               "LC_TIME", "LC_MONETARY"}),
            kChildTestPassed);
}
