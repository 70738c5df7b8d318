// The wizard in a window, driven in the test process: boxes answered as a user would, and
// actions run from the main loop once their condition holds, so that a modal run is steered;
// every page and caption in every language laid out as in the wizard's window.
#include <fcntl.h>
#include <gdk/gdkkeysyms.h>
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <tuple>

#include "config/config_locations.h"
#include "config/starter.h"
#include "install/install_log.h"
#include "kit/kit_tree.h"
#include "kit/kit_writer.h"
#include "kit/trusted_keys.h"
#include "support/child_process.h"
#include "support/rerun_test.h"
#include "support/scratch_directory.h"
#include "support/test_files.h"
#include "text/languages.h"
#include "ui/button_caption.h"
#include "ui/dir_select_page.h"
#include "ui/exit_code.h"
#include "ui/install_outcome.h"
#include "ui/installer_dlg.h"
#include "ui/progress_page.h"
#include "ui/success_final_page.h"

namespace {

// A directory here, HOME and TMPDIR from then on; an xdg-open on PATH logs to "opened.txt".
class Sandbox : public ScratchDirectory {
 public:
  Sandbox() : ScratchDirectory("ui_sandbox.", ".") {
    static const std::string originalPath = getenv("PATH") ? getenv("PATH") : "/usr/bin:/bin";
    write_file(*this / "xdg-open", "#!/bin/sh\necho \"$@\" >> '" + (*this / "opened.txt") + "'\n");
    chmod((*this / "xdg-open").c_str(), 0755);
    setenv("HOME", path().c_str(), 1);
    setenv("TMPDIR", path().c_str(), 1);
    setenv("PATH", (path() + ":" + originalPath).c_str(), 1);
  }
  std::string name() const { return path().substr(path().rfind('/') + 1); }
};

// Every message box is answered OK and recorded as "<kind> '<title>' <text> [<button>*]...".
std::string g_answeredBoxes;

gboolean answerBoxes(gpointer) {
  GList* windows = gtk_window_list_toplevels();
  for (GList* item = windows; item != nullptr; item = item->next) {
    GtkWidget* box = GTK_WIDGET(item->data);
    if (!GTK_IS_MESSAGE_DIALOG(box) || !gtk_widget_get_visible(box)) continue;
    gchar* text = nullptr;
    GtkMessageType type = GTK_MESSAGE_OTHER;
    g_object_get(box, "text", &text, "message-type", &type, nullptr);
    const gchar* title = gtk_window_get_title(GTK_WINDOW(box));
    const char* kinds[] = {"info", "warning", "question", "error", "plain"};
    g_answeredBoxes +=
        std::string(kinds[type]) + " '" + (title ? title : "") + "' " + (text ? text : "");
    GList* buttons = gtk_container_get_children(GTK_CONTAINER(GTK_DIALOG(box)->action_area));
    for (GList* b = buttons; b != nullptr; b = b->next)
      g_answeredBoxes += std::string(" [") + gtk_button_get_label(GTK_BUTTON(b->data)) +
                         (gtk_window_get_focus(GTK_WINDOW(box)) == b->data ? "*]" : "]");
    g_answeredBoxes += "\n";
    g_list_free(buttons);
    g_free(text);
    gtk_dialog_response(GTK_DIALOG(box), GTK_RESPONSE_OK);
    break;
  }
  g_list_free(windows);
  return TRUE;
}

// The folder chooser shown, else null.
GtkWidget* shownChooser() {
  GList* windows = gtk_window_list_toplevels();
  GtkWidget* chooser = nullptr;
  for (GList* item = windows; item != nullptr; item = item->next) {
    if (GTK_IS_FILE_CHOOSER_DIALOG(item->data) && gtk_widget_get_visible(GTK_WIDGET(item->data)))
      chooser = GTK_WIDGET(item->data);
  }
  g_list_free(windows);
  return chooser;
}

// The folder the chooser shows, once it has looked the folder up; "" until then.
std::string chooserFolder() {
  GtkWidget* chooser = shownChooser();
  gchar* folder = chooser ? gtk_file_chooser_get_current_folder(GTK_FILE_CHOOSER(chooser)) : nullptr;
  const std::string shown = folder ? folder : "";
  g_free(folder);
  return shown;
}

// Posted actions of a generation older than cancelPostedActions() made end without running.
int g_generation = 0;

gboolean runPostedStep(gpointer step) {
  return (*static_cast<std::function<bool()>*>(step))() ? FALSE : TRUE;
}

// Whether GTK could open a display; from then on boxes are answered.
bool displayAvailable() {
  static const bool available =
      gtk_init_check(nullptr, nullptr) != FALSE && g_timeout_add(15, answerBoxes, nullptr) != 0;
  return available;
}

// Runs `action` once from the main loop when `condition` holds, also in a loop an action nests.
void postWhen(std::function<bool()> condition, std::function<void()> action) {
  auto* step = new std::function<bool()>([=, generation = g_generation] {
    if (generation != g_generation) return true;
    if (!condition()) return false;
    action();
    return true;
  });
  g_timeout_add_full(G_PRIORITY_DEFAULT, 5, runPostedStep, step,
                     [](gpointer done) { delete static_cast<std::function<bool()>*>(done); });
}

void cancelPostedActions() { ++g_generation; }

// A message page's text, then each button's caption and + (sensitive) or -, or "hidden".
std::string page(const CInstallerDlg& d) {
  const auto* message = dynamic_cast<const MessagePage*>(d.currentPage());
  std::string shown =
      message ? gtk_label_get_text(GTK_LABEL(message->label())) + std::string(" / ") : "";
  for (GtkWidget* button : {d.backButton(), d.nextButton(), d.cancelButton()}) {
    if (button != d.backButton()) shown += " | ";
    const std::string state = gtk_widget_get_sensitive(button) ? "+" : "-";
    shown += gtk_widget_get_visible(button) ? gtk_button_get_label(GTK_BUTTON(button)) + state
                                            : "hidden";
  }
  return shown;
}

void click(GtkWidget* button) { gtk_button_clicked(GTK_BUTTON(button)); }

class WizardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!displayAvailable()) GTEST_SKIP() << "no display";
    g_answeredBoxes.clear();
  }
  void TearDown() override { cancelPostedActions(); }

  // Packs the files (relative name -> content) and the products as the kit.
  void makeKit(const std::map<std::string, std::string>& files, std::vector<KitProduct> products) {
    for (const auto& [name, content] : files) {
      const std::string path = m_sandbox / "tree/" + name;
      std::filesystem::create_directories(path.substr(0, path.rfind('/')));
      write_file(path, content);
    }
    KitLayout layout{false, std::move(products), {}};
    ASSERT_EQ(scan_kit_tree(m_sandbox / "tree", layout.entries), "");
    ASSERT_EQ(write_kit(layout, m_sandbox / "orbp8.pkd", 6, nullptr), "");
  }

  // A dialog as start-up makes it, looking for the kit in the sandbox.
  CInstallerDlg makeDialog() {
    std::string arguments[] = {"setup", "usecwd", m_sandbox.name()};
    char* argv[] = {arguments[0].data(), arguments[1].data(), arguments[2].data(), nullptr};
    return CInstallerDlg(3, argv, false, "Setup title", u"en", true);
  }

  Sandbox m_sandbox;
};

int fontSize(GtkWidget* widget) {
  return pango_font_description_get_size(gtk_widget_get_style(widget)->font_desc);
}

// A line for each widget from `widget` down given less room than it or its text asks for, past
// the window (a label: past its 10-pixel right margin), or a label not in the size `normalSize`.
std::string faultsOf(GtkWidget* widget, const std::string& where, int normalSize) {
  GtkRequisition asked{};
  gtk_widget_get_child_requisition(widget, &asked);
  GtkAllocation given{};
  gtk_widget_get_allocation(widget, &given);
  const bool isLabel = GTK_IS_LABEL(widget);
  PangoRectangle text{};
  if (isLabel)
    pango_layout_get_pixel_extents(gtk_label_get_layout(GTK_LABEL(widget)), nullptr, &text);
  std::string faults;
  if (given.width < asked.width || given.width < text.width || given.height < asked.height ||
      given.height < text.height || given.x + given.width > (isLabel ? 490 : 500) ||
      given.y + given.height > 360 || (isLabel && fontSize(widget) != normalSize))
    faults = where + ": " + G_OBJECT_TYPE_NAME(widget) + " '" +
             (isLabel ? gtk_label_get_text(GTK_LABEL(widget)) : "") + "' x " +
             std::to_string(given.x) + " width " + std::to_string(given.width) + " font " +
             std::to_string(fontSize(widget)) + "\n";
  if (!GTK_IS_CONTAINER(widget)) return faults;
  GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
  for (GList* child = children; child != nullptr; child = child->next)
    faults += faultsOf(GTK_WIDGET(child->data), where, normalSize);
  g_list_free(children);
  return faults;
}

// The wizard's area and its buttons (Ready over Next), captioned before placed as the wizard does.
GtkWidget* wizardArea(const std::string (&captions)[4]) {
  GtkWidget* fixed = gtk_fixed_new();
  gtk_widget_set_size_request(fixed, 500, 360);
  gtk_container_add(GTK_CONTAINER(gtk_window_new(GTK_WINDOW_TOPLEVEL)), fixed);
  for (int i = 0; i < 4; ++i) {
    GtkWidget* button = gtk_button_new_with_label("");
    gtk_widget_set_size_request(button, 88, 30);
    gtk_widget_set_can_default(button, i == 1 || i == 2);
    set_fitting_caption(button, captions[i], 88);
    gtk_fixed_put(GTK_FIXED(fixed), button, (i == 0 ? 216 : 304) + 98 * (i / 3), 320);
  }
  return fixed;
}

// Shows the area laid out, then destroys its window and returns the faults found, with those
// `more` finds.
std::string faultsShown(GtkWidget* area, const std::string& where, int normalSize,
                        const std::function<std::string()>& more = nullptr) {
  gtk_widget_show_all(gtk_widget_get_toplevel(area));
  for (int pass = 0; pass < 3; ++pass, g_usleep(10 * 1000))
    while (gtk_events_pending()) gtk_main_iteration();
  const std::string faults = faultsOf(area, where, normalSize) + (more ? more() : "");
  gtk_widget_destroy(gtk_widget_get_toplevel(area));
  return faults;
}

std::string text(const char* key) { return narrow_lib(LoadResString(key)); }

}  // namespace

TEST_F(WizardTest, AMissingKitThenAnInteractiveInstallationThroughEveryPage) {
  EXPECT_EQ(makeDialog().DoModal(), kExitFailure);  // one error box, no wizard
  // The first writable directory configured is proposed, cleaned.
  const WideString proposed = widen_lib(m_sandbox / "proposed");
  set_tmplts_list({u"/dev/null/not/writable", u"file://" + proposed + u"\r\n", u"/tmp"}, false);
  makeKit({{"acc/main.xml", "<main/>"}, {"readme.html", "<html/>"}},
          {{u"en", u"Orbe Templates", u"Orbe Ltd", u"readme.html"}});
  CInstallerDlg d = makeDialog();
  // Each click returns when its page is shown, the last Next after the installation.
  postWhen([&] { return d.wizardState() >= WizardState::kWelcome; }, [&] {
    const std::string welcome =
        "Welcome to the product installation program Orbe Templates (Orbe Ltd). / "
        "< Back- | Next >+ | Cancel+";
    EXPECT_EQ(page(d), welcome);
    click(d.cancelButton());  // the question is not answered Yes: the wizard stays
    click(d.nextButton());
    EXPECT_EQ(page(d), "< Back+ | Next >+ | Cancel+");
    // Back and forward again: the proposed directory replaces what was typed.
    d.directoryPage()->setPath(std::string("typed"));
    click(d.backButton());
    EXPECT_EQ(page(d), welcome);
    click(d.nextButton());
    EXPECT_EQ(d.directoryPage()->getPath(), proposed);
    // The chooser starts in the directory typed, as typed paths are taken, or the nearest one
    // above it that exists; an accepted choice replaces the path, a cancelled one keeps it.
    const std::tuple<std::string, std::string, bool> choices[] = {
        {narrow_lib(proposed), m_sandbox.path(), false},  // not made yet
        {"~/tree/acc", m_sandbox / "tree/acc", false},
        {"~/tree/acc/missing/deeper/", m_sandbox / "tree/acc", true}};
    for (const auto& [typed, start, accept] : choices) {
      d.directoryPage()->setPath(typed);
      std::string opened;
      const auto deadline = g_get_monotonic_time() + 5 * G_USEC_PER_SEC;
      postWhen([&] { return !chooserFolder().empty() || g_get_monotonic_time() > deadline; },
               [&, accept = accept] {
                 // Accepted without a folder, the chooser would wait for one.
                 opened = chooserFolder();
                 const bool accepted = accept && !opened.empty();
                 gtk_dialog_response(GTK_DIALOG(shownChooser()),
                                     accepted ? GTK_RESPONSE_ACCEPT : GTK_RESPONSE_CANCEL);
               });
      click(d.directoryPage()->browseButton());  // returns once the chooser is answered
      EXPECT_EQ(opened, start) << typed;
      EXPECT_EQ(narrow_lib(d.directoryPage()->getPath()), accept ? start : typed) << typed;
    }
    // An empty path is refused with a plain box, and the page stays.
    d.directoryPage()->setPath(std::string());
    click(d.nextButton());
    EXPECT_EQ(d.wizardState(), WizardState::kDirectory);
    // Enter in the path presses Next.
    d.directoryPage()->setPath(m_sandbox.path() + "\\typed");
    gtk_widget_activate(d.directoryPage()->entry());
    // A button activated clicks a moment later, as a key press shows it pressed first.
    for (const auto until = g_get_monotonic_time() + 5 * G_USEC_PER_SEC;
         d.wizardState() == WizardState::kDirectory && g_get_monotonic_time() < until;)
      gtk_main_iteration();
    EXPECT_EQ(page(d),
              "Configuration installed successfully.\nTemplate directory:\n" + m_sandbox / "typed" +
                  " / hidden | Ready+ | Cancel-");
    EXPECT_TRUE(gtk_widget_has_default(d.nextButton()));
    EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(d.progressPage()->label())), "Copying complete...");
    EXPECT_EQ(gtk_progress_bar_get_fraction(GTK_PROGRESS_BAR(d.progressPage()->bar())), 1.0);
    EXPECT_STREQ(gtk_progress_bar_get_text(GTK_PROGRESS_BAR(d.progressPage()->bar())), "100%");
    if (d.successPage() == nullptr) return click(d.nextButton());  // another final page
    // Unticked, the description stays closed; Ready closes the window.
    EXPECT_TRUE(d.successPage()->isShowReadmeChecked());
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(d.successPage()->checkBox()), FALSE);
    click(d.nextButton());
  });
  EXPECT_EQ(d.DoModal(), kExitSuccess);
  // The boxes' own captions, in the order and focus of GTK's stock buttons.
  EXPECT_EQ(g_answeredBoxes,
            "error 'Setup title' Distribution kit file orbp8.pkd not found.\n"
            "It was looked for in the directory:\n" +
                m_sandbox.path() +
                "\nPut the kit file beside the program, or run \"setup usecwd\" in the directory "
                "that holds it. [OK*]\n"
            "question 'Setup title' Do you really want to cancel installation? [Yes] [No*]\n"
            "plain 'Setup title' Specify correct path to template directory. [OK*]\n");
  EXPECT_EQ(read_file(m_sandbox / "typed/acc/main.xml"), "<main/>");
  g_usleep(300 * 1000);
  EXPECT_FALSE(exists(m_sandbox / "opened.txt"));
}

TEST_F(WizardTest, LeavingBeforeOrDuringTheInstallationEndsWithTheCancelCodeAndChangesNothing) {
  // Enough entries that a cancel lands while files are still written.
  std::map<std::string, std::string> files;
  for (int i = 0; i < 1500; ++i)
    files["d" + std::to_string(i % 10) + "/t" + std::to_string(i) + ".xml"].assign(2000, 'x');
  makeKit(files, {});
  // An older copy of a kit file, and a file of the user's own.
  const std::string target = m_sandbox / "target";
  std::filesystem::create_directories(target + "/d3");
  write_file(target + "/d3/t3.xml", "older");
  const struct timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
  utimensat(AT_FDCWD, (target + "/d3/t3.xml").c_str(), old, 0);
  write_file(target + "/mine.txt", "mine");
  GdkEventKey escape{};
  escape.keyval = GDK_Escape;
  const auto close = [](CInstallerDlg& d) {  // as a window manager asks for it
    GdkEvent event{};
    event.any = {GDK_DELETE, gtk_widget_get_window(d.window()), TRUE};
    gtk_main_do_event(&event);
  };
  const std::string welcome =
      "Welcome to the product installation program <Product> (<Vendor>). / "
      "< Back- | Next >+ | Cancel+\n";
  const std::string installing = welcome + "< Back- | Next >- | Cancel+\n";
  const std::string cancelled =
      installing +
      "Installation canceled. Template directory has not been changed. / hidden | Ready+ | Cancel-";
  // How the user leaves, and the pages seen until the wizard closes.
  const std::tuple<const char*, std::function<void(CInstallerDlg&)>, std::string> leaves[] = {
      {"Cancel button", [](CInstallerDlg& d) { click(d.cancelButton()); }, cancelled},
      {"Escape", [&](CInstallerDlg& d) { d.processKeyPress(&escape); }, cancelled},
      {"close request", close, cancelled},
      {"SIGTERM", [](CInstallerDlg&) { raise(SIGTERM); }, installing},
      {"close request on the welcome page", close, welcome},
      {"SIGINT on the welcome page", [](CInstallerDlg&) { raise(SIGINT); }, welcome},
  };
  for (const auto& [how, leave, expectedPages] : leaves) {
    SCOPED_TRACE(how);
    CInstallerDlg d = makeDialog();
    std::string pages;
    postWhen([&] { return d.wizardState() >= WizardState::kWelcome; }, [&] {
      pages += page(d) + "\n";
      if (expectedPages == welcome) return leave(d);
      click(d.nextButton());
      EXPECT_EQ(d.directoryPage()->getPath(), default_tmplts_dir());
      d.directoryPage()->setPath(target);
      click(d.nextButton());  // returns after the installation
    });
    // The first new directory being written, still under its hidden name.
    const auto writing = [&] {
      const auto names = directory_names(target);
      return std::any_of(names.begin(), names.end(),
                         [](const std::string& name) { return name.rfind(".p8dir", 0) == 0; });
    };
    postWhen(writing, [&] {
      pages += page(d) + "\n";
      leave(d);
    });
    if (expectedPages == cancelled) {
      postWhen([&] { return d.wizardState() >= WizardState::kSuccess; }, [&] {
        pages += page(d);
        click(d.nextButton());
      });
    }
    EXPECT_EQ(d.DoModal(), kExitCancelled);
    cancelPostedActions();
    EXPECT_EQ(pages, expectedPages);
    EXPECT_EQ(g_answeredBoxes, "");
    EXPECT_EQ(joined_names(directory_names(target), " "), "d3 mine.txt ");
    EXPECT_EQ(joined_names(directory_names(target + "/d3"), " "), "t3.xml ");
    EXPECT_EQ(read_file(target + "/d3/t3.xml"), "older");
    EXPECT_EQ(modification_seconds(target + "/d3/t3.xml"), 1000000000);
    EXPECT_FALSE(exists(narrow_lib(get_local_config_file_path())));
  }
}

// Run in a child by the test below, with mounts of its own and no power over file permissions:
// into a directory in the way, one that may not be written, a read-only file system and a full
// one. Only what is in the way is said to be; the others name the template directory and why.
TEST_F(WizardTest, DISABLED_HeadlinesChild) {
  const std::string full = m_sandbox / "full", readOnly = m_sandbox / "ro";
  std::string failure = mount_private_tmpfs(full, "size=64k");
  if (failure.empty()) failure = mount_private_tmpfs(readOnly, "size=64k");
  if (failure.empty() && mount(nullptr, readOnly.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr))
    failure = "read-only remount";
  if (failure.empty()) failure = drop_file_capabilities();
  // The child ends with exit, which runs no destructor: it removes its sandbox itself.
  const auto removeSandbox = [&] {
    umount2(full.c_str(), MNT_DETACH);
    umount2(readOnly.c_str(), MNT_DETACH);
    remove_tree(m_sandbox.path());
  };
  if (!failure.empty()) {
    removeSandbox();
    std::exit(kChildTestSkipped);
  }
  std::string big(200000, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>((i * 2654435761u) >> 13);
  makeKit({{"Accounting/Standard/template.xml", "<t/>"}, {"Accounting/Standard/big.bin", big}}, {});
  std::filesystem::create_directories(m_sandbox / "denied/Accounting");
  chmod((m_sandbox / "denied/Accounting").c_str(), 0555);
  std::filesystem::create_directories(m_sandbox / "blocked");
  write_file(m_sandbox / "blocked/Accounting", "");
  const std::string general = "Installation error\nTemplate directory:\n";
  // The typed path, then the box and the page's detail.
  const std::tuple<std::string, std::string, std::string> cases[] = {
      {m_sandbox / "blocked",
       "A symbolic link or a file stands where the kit needs a directory:\n" +
           m_sandbox / "blocked/Accounting",
       "Accounting: a file or directory of that name is in the way."},
      {m_sandbox / "denied/", general + m_sandbox / "denied\nAccounting/Standard: permission denied.",
       "Accounting/Standard: permission denied."},
      {readOnly, general + readOnly + "\nAccounting: the file system is read-only.",
       "Accounting: the file system is read-only."},
      {full, general + full + "\nAccounting/Standard/big.bin: there is not enough space on the disk.",
       "Accounting/Standard/big.bin: there is not enough space on the disk."}};
  for (const auto& [typed, box, detail] : cases) {
    g_answeredBoxes.clear();
    CInstallerDlg d = makeDialog();
    std::string shown;
    postWhen([&] { return d.wizardState() >= WizardState::kWelcome; }, [&] {
      click(d.nextButton());
      d.directoryPage()->setPath(typed);
      click(d.nextButton());  // returns on the error page
      shown = page(d);
      click(d.nextButton());
    });
    EXPECT_EQ(d.DoModal(), kExitFailure) << typed;
    EXPECT_EQ(g_answeredBoxes, "error 'Setup title' " + box + " [OK*]\n");
    EXPECT_EQ(shown, text("IDS_ERROR_FINISH") + "\n\n" + detail + " / hidden | Ready+ | Cancel-");
  }
  removeSandbox();
  finish_child_test();
}

TEST(Headlines, NameTheReasonAndTheDirectoryOnLinesOfTheirOwn) {
  if (!displayAvailable()) GTEST_SKIP() << "no display";
  const int status = run_test_in_child("/proc/self/exe", "WizardTest.DISABLED_HeadlinesChild", {});
  if (status == kChildTestSkipped) GTEST_SKIP() << "no private mounts or capabilities";
  EXPECT_EQ(status, kChildTestPassed);
}

TEST_F(WizardTest, ASignedKitIsVerifiedInTheBackgroundAndItsKeyNamedOrTheKitRefused) {
  makeKit({{"main.xml", "<main/>"}}, {});
  const std::string kit = m_sandbox / "orbp8.pkd", key = m_sandbox / "vendor", log = key + ".log";
  const std::string sign = " > /dev/null && minisign -S -s " + key + ".sec -m ";
  ASSERT_EQ(system(("minisign -GW -p " + key + ".pub -s " + key + ".sec" + sign + kit + " -x " +
                    key + ".ok" + sign + key + ".pub -x " + key + ".other > /dev/null")
                       .c_str()),
            0);
  const std::string note = "Signature verified with the key: vendor.pub";
  for (const char* signature : {".ok", ".other"}) {  // the kit's signature, another file's
    SCOPED_TRACE(signature);
    std::filesystem::copy_file(key + signature, kit + ".minisig",
                               std::filesystem::copy_options::overwrite_existing);
    CInstallerDlg d = makeDialog();
    InstallLog installLog;
    installLog.open(log);
    d.setRunOptions(&installLog, false, "1");
    d.setTrustedKeys(load_trusted_keys("", {key + ".pub"}));
    postWhen([&] { return page(d).find(note) != std::string::npos; },
             [&] {
               click(d.nextButton());
               EXPECT_NE(
                   std::string(gtk_label_get_text(GTK_LABEL(d.directoryPage()->promptLabel())))
                       .find("\n\n" + note),
                   std::string::npos);
               d.directoryPage()->setPath(m_sandbox / signature);
               click(d.nextButton());
               click(d.nextButton());
             });
    const bool sound = signature == std::string(".ok");
    EXPECT_EQ(d.DoModal(), sound ? kExitSuccess : kExitFailure);
    EXPECT_EQ(read_file(m_sandbox / signature + "/main.xml"), sound ? "<main/>" : "<missing>");
    const std::string why = kit +
                            ": the signature does not match the kit (changed after signing,"
                            " or signed for another file).";
    EXPECT_EQ(g_answeredBoxes, sound ? ""
                                     : "error 'Setup title' " + text("IDS_ERROR_SIGNATURE") + "\n" +
                                           why + " [OK*]\n");
    EXPECT_NE(read_file(log).find(sound ? " signature verified key=" + key + ".pub\n"
                                        : " error " + why + " code=577\n"),
              std::string::npos);
    std::filesystem::remove(log);
    cancelPostedActions();
  }
}

TEST(Layout, EveryPageAndCaptionInEveryLanguageFitsItsPlaceAtTheNormalFontSize) {
  if (!displayAvailable()) GTEST_SKIP() << "no display";
  const WideString path = u"templates/" + WideString(60, u'x') + u"/main.xml";
  std::string faults;
  for (const auto& [language, info] : language_table()) {
    set_resource_lang(language);
    // Every page and state at once: they overlap, but each widget is laid out on its own.
    GtkWidget* area = wizardArea({text("IDS_WIZARD_BACK"), text("IDS_WIZARD_NEXT"),
                                  text("IDS_WIZARD_FINISH"), text("IDS_WIZARD_CANCEL")});
    MessagePage welcome(area, nullptr, LoadResString("IDS_WELCOME_TITLE") + u" Orbe (Orbe Ltd).");
    MessagePage error(area, nullptr,
                      LoadResString("IDS_ERROR_FINISH") + u"\n" + path + u": " +
                          LoadResString("IDS_REASON_LINK"));
    SuccessFinalPage success(area, nullptr, successText(u"/home/" + WideString(200, u'x')), true);
    DirSelectPage directory(area, nullptr), signedDirectory(area, nullptr);
    const WideString note = LoadResString("IDS_SIGNATURE_VERIFIED") + u" vendor-2024-release.pub";
    signedDirectory.setNote(note);
    MessagePage signedWelcome(area, nullptr,
                              LoadResString("IDS_WELCOME_TITLE") + u" Orbe (Orbe Ltd).\n\n" + note);
    ProgressPage copying(area, 480), copied(area, 480), checking(area, 480), restoring(area, 480);
    copying.setCurrentFile(path);
    copying.setProgress(57);
    copied.setProgress(100);
    checking.setCheckProgress(5);
    restoring.setRollbackProgress(5);
    faults += faultsShown(area, info.code, fontSize(area), [&] {
      // The success text ends above the check box.
      PangoRectangle shown{};
      pango_layout_get_pixel_extents(gtk_label_get_layout(GTK_LABEL(success.label())), nullptr, &shown);
      GtkAllocation label{}, box{};
      gtk_widget_get_allocation(success.label(), &label);
      gtk_widget_get_allocation(success.checkBox(), &box);
      return label.y + shown.y + shown.height <= box.y ? "" : info.code + ": success text under the box\n";
    });
  }
  set_resource_lang(kLangEnglish);
  EXPECT_EQ(faults, "");

  // The last resort for a caption too wide: one smaller font size, at which it fits, for all.
  GtkWidget* area = wizardArea({"OK", "Болдырмау", "OK", "OK"});
  GList* buttons = gtk_container_get_children(GTK_CONTAINER(area));
  const int smallSize = fontSize(gtk_bin_get_child(GTK_BIN(buttons->data)));
  g_list_free(buttons);
  EXPECT_LT(smallSize, fontSize(area));
  EXPECT_EQ(faultsShown(area, "smaller", smallSize), "");
}
