#include "dialog_fixture.h"

#include "config/starter.h"
#include "text/languages.h"

void DialogTest::SetUp() {
  if (!displayAvailable()) GTEST_SKIP() << "no display";
  set_resource_lang(kLangEnglish);
  m_sandbox = std::make_unique<Sandbox>();
}

void DialogTest::TearDown() {
  cancelPostedActions();
  pumpFor(10);
  m_sandbox.reset();
}

std::unique_ptr<CInstallerDlg> DialogTest::makeDialog(bool silent, const WideString& languageCode) {
  std::string program = "setup";
  std::string mode = "usecwd";
  std::string kit = m_sandbox->relative() + "/kit";
  char* argv[] = {program.data(), mode.data(), kit.data(), nullptr};
  return std::make_unique<CInstallerDlg>(3, argv, silent, "Setup title", languageCode, true);
}

void DialogTest::makeStandardKit() {
  makeKit(*m_sandbox / "tree",
          {{"acc/main.xml", "<config version=\"2\"/>\n"},
           {"acc/forms/invoice.properties", "title=Invoice\n"},
           {"readme_en.html", "<html>English</html>"},
           {"readme_ru.html", "<html>Russian</html>"}},
          {{"en", "Orbe Templates", "Orbe Ltd", "readme_en.html"},
           {"ru", "\xd0\xa8\xd0\xb0\xd0\xb1\xd0\xbb\xd0\xbe\xd0\xbd\xd1\x8b",
            "\xd0\x9e\xd1\x80\xd0\xb1", "readme_ru.html"},
           {"ka", "\xe1\x83\xa8\xe1\x83\x90\xe1\x83\x91", "\xe1\x83\x9d", "readme_en.html"}},
          kitDirectory());
}

void DialogTest::openWizard(CInstallerDlg& dialog) {
  ASSERT_TRUE(dialog.OnInitDialog());
  dialog.showMainWindow();
  dialog.showWelcomePage();
  pumpFor(20);
}

std::vector<WideString> DialogTest::storedTemplates() const {
  std::vector<WideString> list;
  get_tmplts_list(list, true, false);
  return list;
}
