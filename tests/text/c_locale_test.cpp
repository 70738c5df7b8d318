// The locale is selected once per process, so each locale runs in a child.
#include <gtest/gtest.h>
#include <langinfo.h>

#include <cstdlib>

#include "support/rerun_test.h"
#include "text/languages.h"
#include "text/locale_codec.h"

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
