#include "text/languages.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Looked up during static initialisation of this file, which may well run
// before that of the file holding the tables.
const WideString kCaptionFromStaticInit = LoadResString("IDS_WIZARD_NEXT");

const char* const kKeys[] = {
    "IDS_WIZARD_BACK",      "IDS_WIZARD_NEXT",         "IDS_WIZARD_FINISH",
    "IDS_WIZARD_CANCEL",    "IDS_ACCEPT_CANCEL",       "IDS_TITLE_INSTALLER",
    "IDS_PREPARECOPY",      "IDS_INSTALL_ERROR",       "IDS_ERROR_NOSOURCE",
    "IDS_ERROR_NOTARGET",   "IDS_ERROR_NOSPACE",       "IDS_CHOOSEDIR_FOLDER",
    "IDS_CHOOSEDIR_TITLE",  "IDR_MAINFRAME",           "IDS_SETUP_EMPTYTARGET",
    "IDS_INSTALL_FINISH",   "IDS_ERROR_DAMAGEDSOURCE", "IDS_DEFPRODUCT",
    "IDS_DEFPROVIDER",      "IDS_SUCCESS_FINISH",      "IDS_SUCCESS_OPENDESCR",
    "IDS_PROGRESS_START",   "IDS_ERROR_FINISH",        "IDS_CANCEL_FINISH",
    "IDS_RECOVERED",        "IDS_RECOVERY_FAILED",     "IDS_ROLLBACK_INCOMPLETE",
    "IDS_TARGET_BUSY",      "IDS_ERROR_RECORDDIR",     "IDS_ERROR_NOTDIRECTORY",
    "IDS_BROWSE_SELDIR",    "IDS_BROWSE_OK",           "IDS_BROWSE_CANCEL",
    "IDS_WELCOME_TITLE",    "IDS_SETUP_EXISTEDTARGET", "IDS_DESTINATION_PROMPT",
    "IDS_TEMPLATE_CATALOG",
};


// Restores the current resource language after each test.
class ResourceLanguage : public ::testing::Test {
 protected:
  void TearDown() override { set_resource_lang(kLangEnglish); }
};

bool is_well_formed(const WideString& text) {
  for (char16_t unit : text) {
    if (unit >= 0xD800 && unit <= 0xDFFF) return false;  // an undecodable byte or non-BMP
  }
  return true;
}

bool begins_with(const WideString& text, const WideString& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

bool ends_with(const WideString& text, const WideString& suffix) {
  return text.size() >= suffix.size() &&
         text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

}  // namespace

TEST(Languages, TablesAreCompleteBeforeStaticInitialisersAskForTexts) {
  EXPECT_EQ(kCaptionFromStaticInit, u"Next >");
}

TEST_F(ResourceLanguage, EveryTableHoldsItsOwnTranslationOfEveryKey) {
  const char* const codes[] = {"ru", "uk", "en", "lv", "lt", "bg",
                               "de", "ro", "ka", "kk", "vi", "tr"};
  const auto& table = language_table();
  ASSERT_EQ(table.size(), 12u);
  int expectedId = 1;
  for (const auto& [id, info] : table) {
    SCOPED_TRACE(info.code);
    EXPECT_EQ(id, expectedId);
    EXPECT_EQ(info.code, codes[expectedId - 1]);
    EXPECT_EQ(get_lang_id_by_lang_code(info.code), id);
    ++expectedId;

    ASSERT_EQ(info.strings.size(), std::size(kKeys));
    for (const char* key : kKeys) {
      SCOPED_TRACE(key);
      ASSERT_EQ(info.strings.count(key), 1u);
      const std::string& text = info.strings.at(key);
      EXPECT_FALSE(text.empty());
      // Every other language has a text of its own.
      if (id != kLangEnglish) {
        EXPECT_NE(text, table.at(kLangEnglish).strings.at(key));
      }
      set_resource_lang(id);
      const WideString wide = LoadResString(key);
      EXPECT_TRUE(is_well_formed(wide));
      EXPECT_EQ(narrow_lib(wide), text);
      const bool kazakhKitMessage =
          id == kLangKazakh && (std::strcmp(key, "IDS_ERROR_NOSOURCE") == 0 ||
                                std::strcmp(key, "IDS_ERROR_DAMAGEDSOURCE") == 0);
      if (!kazakhKitMessage) {
        EXPECT_NE(text.front(), ' ');
      }
      EXPECT_NE(text.back(), ' ');
    }
    const auto& s = info.strings;
    EXPECT_TRUE(begins_with(widen_lib(s.at("IDS_WIZARD_BACK")), u"< "));
    EXPECT_GT(s.at("IDS_WIZARD_BACK").size(), 2u);
    EXPECT_TRUE(ends_with(widen_lib(s.at("IDS_WIZARD_NEXT")), u" >"));
    EXPECT_GT(s.at("IDS_WIZARD_NEXT").size(), 2u);
    EXPECT_EQ(s.at("IDR_MAINFRAME"), s.at("IDS_TITLE_INSTALLER"));
    EXPECT_EQ(s.at("IDS_BROWSE_CANCEL"), s.at("IDS_WIZARD_CANCEL"));
    EXPECT_NE(s.at("IDS_ERROR_NOSOURCE").find("orbp8.pkd"), std::string::npos);
    EXPECT_NE(s.at("IDS_ERROR_DAMAGEDSOURCE").find("orbp8.pkd"), std::string::npos);
    if (id == kLangKazakh) {
      EXPECT_EQ(s.at("IDS_ERROR_NOSOURCE").rfind(" orbp8.pkd ", 0), 0u);
      EXPECT_EQ(s.at("IDS_ERROR_DAMAGEDSOURCE").rfind(" orbp8.pkd ", 0), 0u);
    }
    const std::string& folder = s.at("IDS_CHOOSEDIR_FOLDER");
    ASSERT_GE(folder.size(), 3u);
    EXPECT_EQ(folder[0], '&');
    EXPECT_EQ(std::string("& :").find(folder[1]), std::string::npos);  // a letter follows it
    EXPECT_EQ(folder.find('&', 1), std::string::npos);
    EXPECT_EQ(folder.back(), ':');
  }

  const std::pair<LangIdType, WideString> finishCaptions[] = {
      {kLangRussian, u"Готово"}, {kLangUkrainian, u"\u041E\u041A"},  // Cyrillic О and К
      {kLangVietnamese, u"OK"},  {kLangTurkish, u"Tamam"},          {kLangGerman, u"Fertig"},
  };
  for (const auto& [id, caption] : finishCaptions) {
    set_resource_lang(id);
    EXPECT_EQ(LoadResString("IDS_WIZARD_FINISH"), caption) << id;
  }
  set_resource_lang(kLangGerman);
  EXPECT_EQ(LoadResString("IDS_WIZARD_BACK"), u"< Zurück");
  EXPECT_EQ(LoadResString("IDS_WIZARD_NEXT"), u"Weiter >");
  set_resource_lang(kLangTurkish);
  EXPECT_EQ(LoadResString("IDS_WIZARD_BACK"), u"< Geri");
  EXPECT_EQ(LoadResString("IDS_WIZARD_NEXT"), u"İleri >");

  // No table is a copy of another under a different code.
  for (const auto& [id, info] : table) {
    for (const auto& [otherId, other] : table) {
      if (otherId <= id) continue;
      int shared = 0;
      for (const char* key : kKeys) shared += info.strings.at(key) == other.strings.at(key);
      EXPECT_LE(shared, 5) << info.code << " and " << other.code;
    }
  }
}

TEST_F(ResourceLanguage, LookupsMatchExactly) {
  EXPECT_EQ(get_resource_lang(), kLangEnglish);  // English until set
  EXPECT_EQ(LoadResString("IDS_WIZARD_NEXT"), u"Next >");
  EXPECT_EQ(get_lang_id_by_lang_code("en"), kLangEnglish);
  EXPECT_EQ(get_lang_id_by_lang_code("tr"), kLangTurkish);
  EXPECT_EQ(get_lang_id_by_lang_code("ru"), kLangRussian);
  EXPECT_EQ(get_lang_id_by_lang_code("EN"), kLangNone);
  EXPECT_EQ(get_lang_id_by_lang_code(""), kLangNone);
  EXPECT_EQ(get_lang_id_by_lang_code("ru_RU"), kLangNone);
  EXPECT_EQ(get_lang_id_by_lang_code("r"), kLangNone);
  EXPECT_EQ(get_lang_id_by_lang_code("ru "), kLangNone);
  EXPECT_EQ(get_lang_id_by_lang_code(std::string("ru\0", 3)), kLangNone);
  EXPECT_EQ(get_lang_id_by_lang_code("C"), kLangNone);

  set_resource_lang(kLangGerman);
  EXPECT_EQ(get_resource_lang(), kLangGerman);
  EXPECT_EQ(LoadResString("IDS_WIZARD_BACK"), u"< Zurück");
  for (int id : {0, 13, -1}) {
    set_resource_lang(static_cast<LangIdType>(id));
    EXPECT_EQ(get_resource_lang(), id);  // stored unchanged
    EXPECT_EQ(LoadResString("IDS_WIZARD_BACK"), u"") << id;
  }
  for (const auto& [id, info] : language_table()) {
    set_resource_lang(id);
    EXPECT_EQ(LoadResString("ids_wizard_back"), u"") << info.code;
    EXPECT_EQ(LoadResString("IDS_NO_SUCH_KEY"), u"") << info.code;
    EXPECT_EQ(LoadResString(""), u"") << info.code;
    EXPECT_EQ(LoadResString("IDS_WIZARD_BACK "), u"") << info.code;
  }
}
