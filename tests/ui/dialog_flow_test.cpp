// The wizard dialog driven page by page, as a user would click through it:
// start-up failures, the window and its buttons in every state, the welcome
// text, the directory page and its rules, a successful and a failed
// installation, the recorded template directory and the description opened.
#include <gdk/gdkkeysyms.h>

#include "config/config_locations.h"
#include "config/starter.h"
#include "dialog_fixture.h"
#include "support/file_contents.h"
#include "support/scratch_directory.h"
#include "ui/dir_select_page.h"
#include "ui/exit_code.h"
#include "ui/message_page.h"
#include "ui/progress_page.h"
#include "ui/success_final_page.h"

namespace {

std::string currentText(CInstallerDlg& dialog) {
  auto* page = static_cast<MessagePage*>(dialog.currentPage());
  return labelText(page->label());
}

void expectButtons(CInstallerDlg& dialog, bool backShown, bool backSensitive, bool nextShown,
                   bool nextSensitive, const std::string& nextCaption, bool cancelSensitive) {
  SCOPED_TRACE("wizard state " + std::to_string(static_cast<int>(dialog.wizardState())));
  EXPECT_EQ(isVisible(dialog.backButton()), backShown);
  if (backShown) {
    EXPECT_EQ(isSensitive(dialog.backButton()), backSensitive);
  }
  EXPECT_EQ(isVisible(dialog.nextButton()), nextShown);
  if (nextShown) {
    EXPECT_EQ(isSensitive(dialog.nextButton()), nextSensitive);
  }
  EXPECT_EQ(buttonCaption(dialog.nextButton()), nextCaption);
  EXPECT_TRUE(isVisible(dialog.cancelButton()));
  EXPECT_EQ(isSensitive(dialog.cancelButton()), cancelSensitive);
  EXPECT_EQ(buttonCaption(dialog.backButton()), "< Back");
  EXPECT_EQ(buttonCaption(dialog.cancelButton()), "Cancel");
}

}  // namespace

TEST_F(DialogTest, StartupFailuresShowOneErrorBoxAndNoWindow) {
  {
    BoxAnswerer boxes;
    auto dialog = makeDialog(false);
    EXPECT_EQ(dialog->DoModal(), kExitFailure);
    ASSERT_EQ(boxes.seen().size(), 1u);
    EXPECT_EQ(boxes.seen()[0].text, "Distribution kit file orbp8.pkd not found.");
    EXPECT_EQ(boxes.seen()[0].type, GTK_MESSAGE_ERROR);
    EXPECT_FALSE(boxes.seen()[0].yesNo);
    EXPECT_EQ(boxes.seen()[0].title, "Setup title");
    EXPECT_EQ(dialog->window(), nullptr);
  }
  makeDirectories(kitDirectory());
  write_file(kitDirectory() + "/orbp8.pkd", "this is not a deflate stream of a kit");
  for (bool silent : {false, true}) {
    BoxAnswerer boxes;
    auto dialog = makeDialog(silent);
    EXPECT_EQ(dialog->DoModal(), kExitFailure);
    ASSERT_EQ(boxes.seen().size(), 1u);
    EXPECT_EQ(boxes.seen()[0].text,
              "Distribution kit file orbp8.pkd corrupted or not designed for this installation "
              "program.");
    EXPECT_EQ(boxes.seen()[0].type, GTK_MESSAGE_ERROR);
    EXPECT_EQ(dialog->window(), nullptr);
  }
}

TEST_F(DialogTest, WelcomeTextWithAndWithoutTitles) {
  makeStandardKit();
  {
    auto dialog = makeDialog(false);
    openWizard(*dialog);
    EXPECT_EQ(currentText(*dialog),
              "Welcome to the product installation program Orbe Templates (Orbe Ltd).");
  }
  {
    auto dialog = makeDialog(false, u"ru");
    openWizard(*dialog);
    EXPECT_EQ(
        currentText(*dialog),
        "Welcome to the product installation program "
        "\xd0\xa8\xd0\xb0\xd0\xb1\xd0\xbb\xd0\xbe\xd0\xbd\xd1\x8b (\xd0\x9e\xd1\x80\xd0\xb1).");
  }
  remove_tree(kitDirectory());
  makeKit(*m_sandbox / "bare", {{"a.xml", "<a/>"}}, {}, kitDirectory());
  auto dialog = makeDialog(false);
  openWizard(*dialog);
  EXPECT_EQ(currentText(*dialog),
            "Welcome to the product installation program <Product> (<Vendor>).");
}

TEST_F(DialogTest, WindowLayoutAndInteractiveInstallationThroughEveryPage) {
  makeStandardKit();
  const std::string opened = m_sandbox->installRecordingOpener();
  BoxAnswerer boxes;
  auto dialog = makeDialog(false);
  openWizard(*dialog);

  // The window: title, size, centred, modal, a menu type hint, an icon.
  GtkWindow* window = GTK_WINDOW(dialog->window());
  EXPECT_STREQ(gtk_window_get_title(window), "Setup title");
  EXPECT_TRUE(gtk_window_get_modal(window));
  EXPECT_EQ(gtk_window_get_type_hint(window), GDK_WINDOW_TYPE_HINT_MENU);
  ASSERT_NE(gtk_window_get_icon(window), nullptr);
  EXPECT_EQ(gdk_pixbuf_get_width(gtk_window_get_icon(window)), 256);
  ASSERT_TRUE(pumpUntil([&] { return gtk_widget_get_mapped(dialog->window()); }));
  GtkAllocation size{};
  pumpUntil([&] {
    gtk_widget_get_allocation(dialog->window(), &size);
    return size.width > 1;
  });
  EXPECT_EQ(size.width, 500);
  EXPECT_EQ(size.height, 360);
  int x = 0;
  int y = 0;
  gtk_window_get_position(window, &x, &y);
  const int screenWidth = gdk_screen_get_width(gdk_screen_get_default());
  const int screenHeight = gdk_screen_get_height(gdk_screen_get_default());
  EXPECT_NEAR(x, (screenWidth - 500) / 2, 2);
  EXPECT_NEAR(y, (screenHeight - 360) / 2, 2);
  gtk_window_resize(window, 700, 500);
  pumpFor(100);
  gtk_widget_get_allocation(dialog->window(), &size);
  EXPECT_EQ(size.width, 500);
  EXPECT_EQ(size.height, 360);
  childPosition(dialog->backButton(), x, y);
  EXPECT_EQ(x, 230);
  EXPECT_EQ(y, 320);
  childPosition(dialog->nextButton(), x, y);
  EXPECT_EQ(x, 310);
  childPosition(dialog->cancelButton(), x, y);
  EXPECT_EQ(x, 410);
  EXPECT_TRUE(gtk_widget_has_default(dialog->nextButton()));

  // Welcome.
  EXPECT_EQ(dialog->wizardState(), WizardState::kWelcome);
  expectButtons(*dialog, true, false, true, true, "Next >", true);
  const std::string welcome = currentText(*dialog);

  // Directory page, proposing the default template directory.
  gtk_button_clicked(GTK_BUTTON(dialog->nextButton()));
  EXPECT_EQ(dialog->wizardState(), WizardState::kDirectory);
  expectButtons(*dialog, true, true, true, true, "Next >", true);
  const WideString proposed = default_tmplts_dir();
  EXPECT_EQ(dialog->directoryPage()->getPath(), proposed);
  EXPECT_EQ(proposed, widen_lib(m_sandbox->home() + "/.orbp8/Orbe/orbp8/tmplts/"));
  for (GtkWidget* widget : dialog->directoryPage()->widgets()) EXPECT_TRUE(isVisible(widget));

  // Back: the welcome page again, the same text; Next replaces what was typed.
  dialog->directoryPage()->setPath(std::string("typed"));
  gtk_button_clicked(GTK_BUTTON(dialog->backButton()));
  EXPECT_EQ(dialog->wizardState(), WizardState::kWelcome);
  expectButtons(*dialog, true, false, true, true, "Next >", true);
  EXPECT_EQ(currentText(*dialog), welcome);
  for (GtkWidget* widget : dialog->directoryPage()->widgets()) EXPECT_FALSE(isVisible(widget));
  gtk_button_clicked(GTK_BUTTON(dialog->nextButton()));
  EXPECT_EQ(dialog->directoryPage()->getPath(), proposed);

  // An empty path: a plain box, and the page stays.
  dialog->directoryPage()->setPath(std::string());
  gtk_button_clicked(GTK_BUTTON(dialog->nextButton()));
  ASSERT_EQ(boxes.seen().size(), 1u);
  EXPECT_EQ(boxes.seen()[0].text, "Specify correct path to template directory.");
  EXPECT_EQ(boxes.seen()[0].type, GTK_MESSAGE_OTHER);
  EXPECT_FALSE(boxes.seen()[0].yesNo);
  EXPECT_EQ(dialog->wizardState(), WizardState::kDirectory);

  // A typed path with backslashes and no final separator.
  const std::string target = *m_sandbox / "my templates";
  std::string typed = target;
  for (char& c : typed) {
    if (c == '/') c = '\\';
  }
  typed[0] = '/';
  dialog->directoryPage()->setPath(typed);
  postClick(dialog->nextButton());
  ASSERT_TRUE(pumpUntil([&] { return dialog->wizardState() == WizardState::kSuccess; }));
  EXPECT_EQ(boxes.seen().size(), 1u);

  // Success: files in place, the finish buttons, the ticked box, the
  // directory recorded first in the launcher's list.
  EXPECT_EQ(dialog->targetDirectory(), widen_lib(target));
  EXPECT_EQ(read_file(target + "/acc/main.xml"), "<config version=\"2\"/>\n");
  EXPECT_EQ(read_file(target + "/acc/forms/invoice.properties"), "title=Invoice\n");
  expectButtons(*dialog, false, false, true, true, "Ready", false);
  EXPECT_TRUE(gtk_widget_has_default(dialog->nextButton()));
  EXPECT_EQ(currentText(*dialog), "Configuration installed successfully.");
  EXPECT_TRUE(dialog->successPage()->isShowReadmeChecked());
  EXPECT_TRUE(isVisible(dialog->successPage()->checkBox()));
  // The progress page went by and ended full.
  ASSERT_NE(dialog->progressPage(), nullptr);
  EXPECT_FALSE(isVisible(dialog->progressPage()->bar()));
  EXPECT_EQ(gtk_progress_bar_get_fraction(GTK_PROGRESS_BAR(dialog->progressPage()->bar())), 1.0);
  const std::vector<WideString> list = storedTemplates();
  ASSERT_FALSE(list.empty());
  EXPECT_EQ(list[0], widen_lib(target));

  // Ready opens the description (one "/" between directory and name) and
  // closes the window.
  gtk_button_clicked(GTK_BUTTON(dialog->nextButton()));
  EXPECT_EQ(dialog->window(), nullptr);
  ASSERT_TRUE(pumpUntil([&] { return pathExists(opened); }, 5000));
  pumpFor(100);
  EXPECT_EQ(read_file(opened), target + "/readme_en.html\n");
}

TEST_F(DialogTest, TargetDirectoryComesCleanedFromTheLauncherConfiguration) {
  makeStandardKit();
  const std::string configured = *m_sandbox / "configured";
  const auto proposedFor = [&](const std::vector<WideString>& list) {
    set_tmplts_list(list, false);
    auto dialog = makeDialog(false);
    openWizard(*dialog);
    gtk_button_clicked(GTK_BUTTON(dialog->nextButton()));
    return dialog->directoryPage()->getPath();
  };
  EXPECT_EQ(proposedFor({u"file://" + widen_lib(configured)}), widen_lib(configured));
  EXPECT_EQ(proposedFor({u"http://example.invalid/tmplts"}), u"");
  EXPECT_EQ(proposedFor({u"/proc/not/writable", widen_lib(configured + "\r\n")}),
            widen_lib(configured));
  // No writable entry: the application's default directory.
  EXPECT_EQ(proposedFor({u"/proc/not/writable"}), default_tmplts_dir());
}

TEST_F(DialogTest, FailedInstallationShowsTheWorkersMessageAndTheErrorPage) {
  makeStandardKit();
  const std::string opened = m_sandbox->installRecordingOpener();
  const std::string target = *m_sandbox / "target";
  // A directory where the kit has a file makes the installation fail.
  makeDirectories(target + "/readme_ru.html/user");
  write_file(target + "/readme_ru.html/user/keep.txt", "mine");
  BoxAnswerer boxes;
  auto dialog = makeDialog(false);
  openWizard(*dialog);
  gtk_button_clicked(GTK_BUTTON(dialog->nextButton()));
  dialog->directoryPage()->setPath(std::string(target + "/"));
  postClick(dialog->nextButton());
  ASSERT_TRUE(pumpUntil([&] { return dialog->wizardState() == WizardState::kError; }));
  ASSERT_EQ(boxes.seen().size(), 1u);
  EXPECT_EQ(boxes.seen()[0].text, "Installation error");
  EXPECT_EQ(boxes.seen()[0].type, GTK_MESSAGE_ERROR);
  EXPECT_EQ(currentText(*dialog),
            "An error occurred during the installation process. Installation canceled. Template "
            "directory has not been changed.");
  expectButtons(*dialog, false, false, true, true, "Ready", false);
  // Rolled back, and nothing recorded.
  EXPECT_FALSE(pathExists(target + "/acc"));
  EXPECT_EQ(read_file(target + "/readme_ru.html/user/keep.txt"), "mine");
  EXPECT_TRUE(storedTemplates().empty());
  // Ready never opens the description from the error page.
  gtk_button_clicked(GTK_BUTTON(dialog->nextButton()));
  EXPECT_EQ(dialog->window(), nullptr);
  pumpFor(300);
  EXPECT_FALSE(pathExists(opened));
}

TEST_F(DialogTest, EscapeAndCancelAskBeforeLeavingAndOtherKeysPass) {
  makeStandardKit();
  BoxAnswerer boxes({GTK_RESPONSE_NO, GTK_RESPONSE_YES});
  auto dialog = makeDialog(false);
  int result = -1;
  postWhen([&] { return dialog->wizardState() == WizardState::kWelcome; },
           [&] { postKey(dialog->window(), GDK_Escape); });
  postWhen([&] { return boxes.seen().size() == 1; },
           [&] {
             // "No" left everything as it was.
             EXPECT_NE(dialog->window(), nullptr);
             EXPECT_EQ(dialog->wizardState(), WizardState::kWelcome);
             GdkEventKey other{};
             other.keyval = GDK_Return - 1;
             EXPECT_FALSE(dialog->processKeyPress(&other));
             EXPECT_FALSE(
                 CInstallerDlg::gtk_window_key_press_callback(dialog->window(), &other, nullptr));
             gtk_button_clicked(GTK_BUTTON(dialog->nextButton()));
             postClick(dialog->cancelButton());
           });
  result = dialog->DoModal();
  ASSERT_EQ(boxes.seen().size(), 2u);
  for (const BoxSeen& box : boxes.seen()) {
    EXPECT_EQ(box.text, "Do you really want to cancel installation?");
    EXPECT_EQ(box.type, GTK_MESSAGE_QUESTION);
    EXPECT_TRUE(box.yesNo);
    EXPECT_EQ(box.title, "Setup title");
  }
  EXPECT_EQ(result, kExitCancelled);
  EXPECT_EQ(dialog->window(), nullptr);
  EXPECT_EQ(dialog->wizardState(), WizardState::kDirectory);
}

TEST_F(DialogTest, ClosingTheWindowBeforeTheInstallationEndsTheRunAsCancelled) {
  makeStandardKit();
  BoxAnswerer boxes;
  auto dialog = makeDialog(false);
  postWhen([&] { return dialog->wizardState() == WizardState::kWelcome; },
           [&] { postCloseRequest(dialog->window()); });
  EXPECT_EQ(dialog->DoModal(), kExitCancelled);
  EXPECT_TRUE(boxes.seen().empty());
  EXPECT_EQ(dialog->window(), nullptr);
  EXPECT_FALSE(pathExists(narrow_lib(dialog->targetDirectory())));
}
