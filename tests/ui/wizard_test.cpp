// The wizard in a window, driven in the test process where every button,
// text and box can be read: the pages of an interactive installation, a
// cancel during the installation in each way one can be asked for, leaving
// before it, a missing kit, and captions that shrink to fit. Whole runs of
// the program, with screenshots, are the end-to-end tests'.
#include <fcntl.h>
#include <gdk/gdkkeysyms.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <functional>
#include <memory>

#include "config/config_locations.h"
#include "gtk_driver.h"
#include "support/directory_names.h"
#include "support/file_contents.h"
#include "text/languages.h"
#include "ui/button_caption.h"
#include "ui/dir_select_page.h"
#include "ui/exit_code.h"
#include "ui/installer_dlg.h"
#include "ui/message_page.h"
#include "ui/progress_page.h"
#include "ui/success_final_page.h"
#include "ui_test_support.h"

namespace {

// Back, Next and Cancel, each as its caption and "+" (sensitive) or "-", or "hidden".
std::string buttons(const CInstallerDlg& dialog) {
  std::string shown;
  for (GtkWidget* button : {dialog.backButton(), dialog.nextButton(), dialog.cancelButton()}) {
    shown += shown.empty() ? "" : " | ";
    shown += !gtk_widget_get_visible(button) ? "hidden"
             : std::string(gtk_button_get_label(GTK_BUTTON(button))) +
                   (gtk_widget_get_sensitive(button) ? "+" : "-");
  }
  return shown;
}

// The current page's text and the buttons.
std::string page(const CInstallerDlg& dialog) {
  GtkWidget* label = static_cast<MessagePage*>(dialog.currentPage())->label();
  return gtk_label_get_text(GTK_LABEL(label)) + (" / " + buttons(dialog));
}

void click(GtkWidget* button) { gtk_button_clicked(GTK_BUTTON(button)); }

class WizardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!displayAvailable()) GTEST_SKIP() << "no display";
    set_resource_lang(kLangEnglish);
  }
  void TearDown() override { cancelPostedActions(); }

  // A dialog as start-up makes it, looking for the kit in the sandbox's "kit".
  std::unique_ptr<CInstallerDlg> makeDialog() {
    std::string arguments[] = {"setup", "usecwd", m_sandbox.name() + "/kit"};
    char* argv[] = {arguments[0].data(), arguments[1].data(), arguments[2].data(), nullptr};
    return std::make_unique<CInstallerDlg>(3, argv, false, "Setup title", u"en", true);
  }

  Sandbox m_sandbox;
};

}  // namespace

TEST_F(WizardTest, InteractiveInstallationThroughEveryPage) {
  makeKit(m_sandbox / "tree", {{"acc/main.xml", "<main/>"}, {"readme.html", "<html/>"}},
          {{u"en", u"Orbe Templates", u"Orbe Ltd", u"readme.html"}}, m_sandbox / "kit");
  BoxAnswerer boxes;
  auto dialog = makeDialog();
  CInstallerDlg& d = *dialog;
  // Each click returns when its page is shown, the last Next after the installation.
  postWhen([&] { return d.wizardState() == WizardState::kWelcome; }, [&] {
    const std::string welcome =
        "Welcome to the product installation program Orbe Templates (Orbe Ltd). / "
        "< Back- | Next >+ | Cancel+";
    EXPECT_EQ(page(d), welcome);
    click(d.cancelButton());  // the question is not answered Yes: the wizard stays
    click(d.nextButton());
    EXPECT_EQ(buttons(d), "< Back+ | Next >+ | Cancel+");
    EXPECT_EQ(d.directoryPage()->getPath(), default_tmplts_dir());
    // Back and forward again: the proposed directory replaces what was typed.
    d.directoryPage()->setPath(std::string("typed"));
    click(d.backButton());
    EXPECT_EQ(page(d), welcome);
    click(d.nextButton());
    EXPECT_EQ(d.directoryPage()->getPath(), default_tmplts_dir());
    // An empty path is refused with a plain box, and the page stays.
    d.directoryPage()->setPath(std::string());
    click(d.nextButton());
    EXPECT_EQ(d.wizardState(), WizardState::kDirectory);
    // A path typed with backslashes.
    std::string typed = m_sandbox / "typed";
    std::replace(typed.begin() + 1, typed.end(), '/', '\\');
    d.directoryPage()->setPath(typed);
    click(d.nextButton());
    EXPECT_EQ(page(d), "Configuration installed successfully. / hidden | Ready+ | Cancel-");
    EXPECT_TRUE(gtk_widget_has_default(d.nextButton()));
    EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(d.progressPage()->label())), "Copying complete...");
    EXPECT_EQ(gtk_progress_bar_get_fraction(GTK_PROGRESS_BAR(d.progressPage()->bar())), 1.0);
    if (d.successPage() == nullptr) return click(d.nextButton());  // Ready on another final page
    // Unticked, the description stays closed; Ready closes the window.
    EXPECT_TRUE(d.successPage()->isShowReadmeChecked());
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(d.successPage()->checkBox()), FALSE);
    click(d.nextButton());
  });
  EXPECT_EQ(d.DoModal(), kExitSuccess);
  EXPECT_EQ(boxes.seen(),
            (std::vector<std::string>{
                "question 'Setup title' Do you really want to cancel installation?",
                "plain 'Setup title' Specify correct path to template directory."}));
  EXPECT_EQ(read_file(m_sandbox / "typed/acc/main.xml"), "<main/>");
  g_usleep(300 * 1000);
  EXPECT_FALSE(exists(m_sandbox.opened()));
}

TEST_F(WizardTest, CancelDuringTheInstallationRollsBackAndEndsWithTheCancelCode) {
  // Enough entries that the cancel lands while files are still written.
  std::map<std::string, std::string> files;
  for (int i = 0; i < 1500; ++i) {
    files["d" + std::to_string(i % 10) + "/t" + std::to_string(i) + ".xml"] = std::string(2000, 'x');
  }
  makeKit(m_sandbox / "tree", files, {}, m_sandbox / "kit");
  GdkEventKey escape{};
  escape.keyval = GDK_Escape;
  const std::pair<const char*, std::function<void(CInstallerDlg&)>> cancels[] = {
      {"Cancel button", [](CInstallerDlg& d) { click(d.cancelButton()); }},
      {"Escape",
       [&](CInstallerDlg& d) { CInstallerDlg::gtk_window_key_press_callback(0, &escape, &d); }},
      {"close request", [](CInstallerDlg& d) { sendCloseRequest(d.window()); }},
      // The wizard closes by itself after the rollback.
      {"SIGTERM", [](CInstallerDlg&) { raise(SIGTERM); }},
  };
  for (const auto& [name, cancel] : cancels) {
    SCOPED_TRACE(name);
    const bool signalled = name == std::string("SIGTERM");
    // An older copy of a kit file, and a file of the user's own.
    const std::string target = m_sandbox / name;
    std::filesystem::create_directories(target + "/d3");
    write_file(target + "/d3/t3.xml", "older");
    const struct timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
    utimensat(AT_FDCWD, (target + "/d3/t3.xml").c_str(), old, 0);
    write_file(target + "/mine.txt", "mine");

    BoxAnswerer boxes;
    auto dialog = makeDialog();
    CInstallerDlg& d = *dialog;
    std::string welcome, installing, finalPage;
    // The second Next runs the installation; the other actions run meanwhile.
    postWhen([&] { return d.wizardState() == WizardState::kWelcome; },
             [&] {
               welcome = page(d);
               click(d.nextButton());
               d.directoryPage()->setPath(target);
               click(d.nextButton());
             });
    postWhen(
        [&] {
          return d.wizardState() == WizardState::kInstalling &&
                 gtk_progress_bar_get_fraction(GTK_PROGRESS_BAR(d.progressPage()->bar())) > 0;
        },
        [&] {
          installing = buttons(d);
          cancel(d);
        });
    // Any final page (an installation that ended first ends the run too).
    postWhen([&] { return d.wizardState() >= WizardState::kSuccess && d.window() != nullptr; },
             [&] {
               finalPage = page(d);
               if (!signalled || d.wizardState() != WizardState::kCancelled) click(d.nextButton());
             });
    EXPECT_EQ(d.DoModal(), kExitCancelled);
    cancelPostedActions();
    EXPECT_EQ(welcome, "Welcome to the product installation program <Product> (<Vendor>). / "
                       "< Back- | Next >+ | Cancel+");
    EXPECT_EQ(installing, "< Back- | Next >- | Cancel+");
    if (!signalled) {
      EXPECT_EQ(finalPage,
                "Installation canceled. Template directory has not been changed. / "
                "hidden | Ready+ | Cancel-");
    }
    EXPECT_TRUE(boxes.seen().empty());
    EXPECT_EQ(d.window(), nullptr);
    EXPECT_EQ(joined_names(directory_names(target), " "), "d3 mine.txt ");
    EXPECT_EQ(joined_names(directory_names(target + "/d3"), " "), "t3.xml ");
    EXPECT_EQ(read_file(target + "/d3/t3.xml"), "older");
    EXPECT_EQ(modification_seconds(target + "/d3/t3.xml"), 1000000000);
    EXPECT_FALSE(exists(narrow_lib(get_local_config_file_path())));
  }
}

TEST_F(WizardTest, ClosingOrInterruptingBeforeTheInstallationEndsWithTheCancelCode) {
  makeKit(m_sandbox / "tree", {{"a.xml", "<a/>"}}, {}, m_sandbox / "kit");
  const std::function<void(CInstallerDlg&)> leaves[] = {
      [](CInstallerDlg& d) { sendCloseRequest(d.window()); },
      [](CInstallerDlg&) { raise(SIGINT); },
  };
  for (const auto& leave : leaves) {
    BoxAnswerer boxes;
    auto dialog = makeDialog();
    postWhen([&] { return dialog->wizardState() == WizardState::kWelcome; },
             [&] { leave(*dialog); });
    EXPECT_EQ(dialog->DoModal(), kExitCancelled);
    EXPECT_TRUE(boxes.seen().empty());
    EXPECT_EQ(dialog->window(), nullptr);
  }
}

TEST_F(WizardTest, AMissingKitIsOneErrorBoxAndNoWizard) {
  BoxAnswerer boxes;
  auto dialog = makeDialog();
  EXPECT_EQ(dialog->DoModal(), kExitFailure);
  EXPECT_EQ(boxes.seen(), std::vector<std::string>{"error 'Setup title' Distribution kit file "
                                                   "orbp8.pkd not found."});
  EXPECT_EQ(dialog->window(), nullptr);
}

TEST_F(WizardTest, ACaptionTooWideForItsButtonGetsASmallerFont) {
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  GtkWidget* button = gtk_button_new_with_label("");
  gtk_container_add(GTK_CONTAINER(window), button);
  const auto fontSize = [&] {
    GtkWidget* label = gtk_bin_get_child(GTK_BIN(button));
    return pango_font_description_get_size(gtk_widget_get_style(label)->font_desc);
  };
  set_fitting_caption(button, "Cancel", 80);
  const int normalSize = fontSize();
  // Kazakh for "Cancel", wider than 80 pixels at the normal size.
  const std::string kazakh =
      "\xd0\x91\xd0\xbe\xd0\xbb\xd0\xb4\xd1\x8b\xd1\x80\xd0\xbc\xd0\xb0\xd1\x83 "
      "\xd0\xb5\xd1\x82\xd1\x83";
  set_fitting_caption(button, kazakh, 80);
  EXPECT_EQ(gtk_button_get_label(GTK_BUTTON(button)), kazakh);
  EXPECT_LT(fontSize(), normalSize);
  EXPECT_GE(fontSize(), 7 * PANGO_SCALE);
  set_fitting_caption(button, "OK", 80);
  EXPECT_EQ(fontSize(), normalSize);
  gtk_widget_destroy(window);
}
