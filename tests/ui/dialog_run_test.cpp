// Whole runs of the dialog through DoModal: the unattended run with a
// display, and a user's cancel during the installation (Cancel, Escape, the
// window's close request), which rolls back with the window alive and ends
// with its own final page and exit code.
#include <fcntl.h>
#include <gdk/gdkkeysyms.h>
#include <sys/stat.h>

#include <csignal>
#include <cstdlib>
#include <functional>

#include "config/starter.h"
#include "dialog_fixture.h"
#include "support/directory_names.h"
#include "support/file_contents.h"
#include "ui/dir_select_page.h"
#include "ui/exit_code.h"
#include "ui/message_page.h"
#include "ui/progress_page.h"
#include "ui/success_final_page.h"

TEST_F(DialogTest, SilentRunInstallsWithoutInputAndLeavesTheSuccessPage) {
  makeStandardKit();
  const std::string opened = m_sandbox->installRecordingOpener();
  const std::string target = *m_sandbox / "silent";
  set_tmplts_list({widen_lib(target)}, false);
  {
    // The welcome page of an unattended run offers no way forward or back.
    auto dialog = makeDialog(true);
    openWizard(*dialog);
    EXPECT_FALSE(isVisible(dialog->backButton()));
    EXPECT_FALSE(isVisible(dialog->nextButton()));
    EXPECT_TRUE(isSensitive(dialog->cancelButton()));
  }
  BoxAnswerer boxes;
  auto dialog = makeDialog(true);
  EXPECT_EQ(dialog->DoModal(), kExitSuccess);
  EXPECT_TRUE(boxes.seen().empty());
  EXPECT_EQ(dialog->wizardState(), WizardState::kSuccess);
  EXPECT_NE(dialog->window(), nullptr);
  EXPECT_EQ(read_file(target + "/acc/main.xml"), "<config version=\"2\"/>\n");
  EXPECT_EQ(storedTemplates().at(0), widen_lib(target));
  EXPECT_EQ(gtk_progress_bar_get_fraction(GTK_PROGRESS_BAR(dialog->progressPage()->bar())), 1.0);

  // With the box unticked, Ready opens nothing and closes the window.
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(dialog->successPage()->checkBox()), FALSE);
  gtk_button_clicked(GTK_BUTTON(dialog->nextButton()));
  EXPECT_EQ(dialog->window(), nullptr);
  pumpFor(300);
  EXPECT_FALSE(pathExists(opened));
}

namespace {

struct CancelCase {
  const char* name;
  std::function<void(CInstallerDlg&)> cancel;
};

// A kit with enough entries that a cancel lands while files are still being
// written.
void makeBigKit(const std::string& tree, const std::string& kitDirectory) {
  std::map<std::string, std::string> files;
  for (int i = 0; i < 1500; ++i) {
    files["d" + std::to_string(i % 10) + "/t" + std::to_string(i) + ".xml"] =
        "<template id=\"" + std::to_string(i) + "\">" + std::string(2000, 'x') + "</template>";
  }
  makeKit(tree, files, {{"en", "Big", "Orbe", ""}}, kitDirectory);
}

// An older copy of one of the big kit's files, which the kit would replace.
void writeOlderTemplate(const std::string& target) {
  makeDirectories(target + "/d3");
  write_file(target + "/d3/t3.xml", "old content");
  struct timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
  utimensat(AT_FDCWD, (target + "/d3/t3.xml").c_str(), old, 0);
}

// Queues the clicks that take a modal run of `dialog` past the welcome page
// and start an installation into `target`.
void postStartInstall(CInstallerDlg& dialog, const std::string& target) {
  postWhen([&dialog] { return dialog.wizardState() == WizardState::kWelcome; },
           [&dialog] { postClick(dialog.nextButton()); });
  postWhen([&dialog] { return dialog.wizardState() == WizardState::kDirectory; },
           [&dialog, target] {
             dialog.directoryPage()->setPath(widen_lib(target));
             postClick(dialog.nextButton());
           });
}

}  // namespace

TEST_F(DialogTest, CancelDuringInstallationRollsBackAndEndsWithTheCancelPage) {
  makeBigKit(*m_sandbox / "tree", kitDirectory());

  const std::vector<CancelCase> cases = {
      {"Cancel button", [](CInstallerDlg& d) { postClick(d.cancelButton()); }},
      {"Escape", [](CInstallerDlg& d) { postKey(d.window(), GDK_Escape); }},
      {"close request", [](CInstallerDlg& d) { postCloseRequest(d.window()); }},
  };
  for (const CancelCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string target = *m_sandbox / (std::string("target ") + c.name);
    // An older file that the kit would replace, and one of the user's own.
    writeOlderTemplate(target);
    write_file(target + "/mine.txt", "mine");

    BoxAnswerer boxes;
    auto dialog = makeDialog(false);
    int progressWhenCancelled = -1;
    bool sawCancelPage = false;
    postStartInstall(*dialog, target);
    postWhen(
        [&] {
          if (dialog->wizardState() != WizardState::kInstalling) return false;
          const double fraction =
              gtk_progress_bar_get_fraction(GTK_PROGRESS_BAR(dialog->progressPage()->bar()));
          return fraction > 0.0;
        },
        [&] {
          EXPECT_EQ(dialog->currentPage(), dialog->progressPage());
          EXPECT_FALSE(isSensitive(dialog->backButton()));
          EXPECT_FALSE(isSensitive(dialog->nextButton()));
          EXPECT_EQ(buttonCaption(dialog->nextButton()), "Next >");
          EXPECT_TRUE(isSensitive(dialog->cancelButton()));
          progressWhenCancelled = static_cast<int>(
              100 * gtk_progress_bar_get_fraction(GTK_PROGRESS_BAR(dialog->progressPage()->bar())));
          c.cancel(*dialog);
        });
    postWhen([&] { return dialog->wizardState() == WizardState::kCancelled; },
             [&] {
               sawCancelPage = true;
               auto* page = static_cast<MessagePage*>(dialog->currentPage());
               EXPECT_EQ(labelText(page->label()),
                         "Installation canceled. Template directory has not been changed.");
               EXPECT_FALSE(isVisible(dialog->backButton()));
               EXPECT_EQ(buttonCaption(dialog->nextButton()), "Ready");
               EXPECT_TRUE(isSensitive(dialog->nextButton()));
               EXPECT_FALSE(isSensitive(dialog->cancelButton()));
               postClick(dialog->nextButton());
             });
    // Should the run end before the cancel lands, leave instead of waiting.
    postWhen(
        [&] {
          return dialog->wizardState() == WizardState::kSuccess ||
                 dialog->wizardState() == WizardState::kError;
        },
        [&] {
          ADD_FAILURE() << "the installation ended before the cancel";
          postClick(dialog->nextButton());
        });
    EXPECT_EQ(dialog->DoModal(), kExitCancelled);
    cancelPostedActions();
    EXPECT_TRUE(sawCancelPage);
    EXPECT_GT(progressWhenCancelled, 0);
    EXPECT_LT(progressWhenCancelled, 100);
    EXPECT_TRUE(boxes.seen().empty());
    EXPECT_EQ(dialog->window(), nullptr);
    // Rolled back: the replaced file restored, nothing of the kit left.
    EXPECT_EQ(read_file(target + "/d3/t3.xml"), "old content");
    EXPECT_EQ(read_file(target + "/mine.txt"), "mine");
    EXPECT_FALSE(pathExists(target + "/d0"));
    EXPECT_TRUE(storedTemplates().empty());
  }
}

namespace {

// Names in the temporary directory (TMPDIR, the sandbox's) that begin with
// `prefix`, joined by blanks.
std::string listTemporaryEntries(const std::string& prefix) {
  const char* temporary = std::getenv("TMPDIR");
  if (temporary == nullptr) return "<no TMPDIR>";
  return joined_names(directory_names(temporary, prefix), " ");
}

}  // namespace

TEST_F(DialogTest, TerminationSignalRollsBackAndEndsTheWizard) {
  makeBigKit(*m_sandbox / "tree", kitDirectory());
  const std::string target = *m_sandbox / "target";
  writeOlderTemplate(target);

  BoxAnswerer boxes;
  {
    // During the installation: the worker rolls back, then the wizard closes
    // by itself with the cancel code.
    auto dialog = makeDialog(false);
    postStartInstall(*dialog, target);
    postWhen(
        [&] {
          return dialog->wizardState() == WizardState::kInstalling &&
                 gtk_progress_bar_get_fraction(GTK_PROGRESS_BAR(dialog->progressPage()->bar())) >
                     0.0;
        },
        [&] { raise(SIGTERM); });
    EXPECT_EQ(dialog->DoModal(), kExitCancelled);
    cancelPostedActions();
    EXPECT_EQ(dialog->window(), nullptr);
  }
  EXPECT_EQ(read_file(target + "/d3/t3.xml"), "old content");
  EXPECT_FALSE(pathExists(target + "/d0"));
  EXPECT_TRUE(storedTemplates().empty());
  {
    // On the welcome page: the wizard ends at once, as a confirmed cancel.
    auto dialog = makeDialog(false);
    postWhen([&] { return dialog->wizardState() == WizardState::kWelcome; },
             [&] { raise(SIGINT); });
    EXPECT_EQ(dialog->DoModal(), kExitCancelled);
    cancelPostedActions();
  }
  EXPECT_TRUE(boxes.seen().empty());
  // The temporary containers of both runs are gone with their dialogs.
  for (const char* leftover : {"kpt", "p8stp"}) {
    EXPECT_EQ(listTemporaryEntries(leftover), "") << leftover;
  }
}
