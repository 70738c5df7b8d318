// A fixture for the wizard dialog tests: a sandbox (HOME, TMPDIR, PATH), a
// kit directory inside it that the dialog finds in use-current-directory
// mode, and dialogs built the way start-up builds them. Test (GTK) thread only.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/installer_dlg.h"
#include "ui_test_support.h"

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::unique_ptr<CInstallerDlg> makeDialog(bool silent, const WideString& languageCode = u"en");
  // The kit most tests install: two templates and an English and Russian
  // description, with titles in English, Russian and Georgian.
  void makeStandardKit();
  // Builds the window and the welcome page as DoModal does.
  void openWizard(CInstallerDlg& dialog);
  // The launcher's template list as stored in the local configuration file.
  std::vector<WideString> storedTemplates() const;

  std::string kitDirectory() const { return *m_sandbox / "kit"; }

  std::unique_ptr<Sandbox> m_sandbox;
};
