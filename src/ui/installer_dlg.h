// The wizard dialog that conducts a whole run: it shows the wizard window and
// its pages and boxes; what the run does besides drawing (the outcome, the
// log, the signals, the whole run without windows) is its RunController's.
// When no display can be opened, an unattended run goes on without windows
// and reports on standard error.
// Main (GTK) thread only.
#pragma once

#include <gtk/gtk.h>

#include <memory>
#include <string>
#include <vector>

#include "kit/trusted_keys.h"
#include "text/wide_string.h"
#include "ui/cwnd.h"
#include "ui/install_outcome.h"
#include "ui/run_controller.h"
#include "ui/wizard_state.h"

class InstallSession;
class WizardDialogPage;
class MessagePage;
class SuccessFinalPage;
class DirSelectPage;
class ProgressPage;

class CInstallerDlg : public CWnd {
 public:
  // Copies argc/argv and hands the copies to GTK (which removes its own
  // options); a missing display is remembered, not fatal.
  CInstallerDlg(int argc, char** argv, bool silent, std::string title, WideString languageCode,
                bool useCurrentDirectory);
  // Waits for a worker thread that may still be rolling back.
  ~CInstallerDlg();
  CInstallerDlg(const CInstallerDlg&) = delete;
  CInstallerDlg& operator=(const CInstallerDlg&) = delete;

  // Before DoModal: the installation log (null for none), the program's
  // version that its start line names, and a dry run, which runs without a
  // window even on a display and changes nothing.
  void setRunOptions(InstallLog* log, bool dryRun, std::string version);
  // Before DoModal: the template directory given on the command line, as
  // typed; it is installed into unattended and proposed by the wizard.
  void setTargetOption(const WideString& typed);
  // Before DoModal: the keys a kit's signature is checked against; with any
  // (or a key file refused), only a kit signed by one of them is installed.
  void setTrustedKeys(TrustedKeys keys);

  // Runs the whole dialog and returns the process exit code (ui/exit_code.h):
  // 0 installed, 1 could not be installed or failed, 2 cancelled by the user.
  // The log's last line and an unattended run's summary tell what was done.
  // Returns only after the worker thread has finished.
  int DoModal();

  // Full path of the kit file (beside the executable, or in the current
  // directory in use-current-directory mode); empty when it cannot be known.
  WideString getPkdFullPath() const;
  WideString getWindowTitle() const override;

  // Steps of the run, public so that the flow can be driven one step at a time.
  bool OnInitDialog();
  void showMainWindow();
  void showWelcomePage();
  void showSelectPathPage();
  void showProgressPage();
  void showSuccessFinalPage();
  // The final pages after a failure or cancel; `snapshot` tells whether the
  // rollback kept saved versions that it could not put back.
  void showErrorFinalPage(const InstallSnapshot& snapshot);
  void showCancelFinalPage(const InstallSnapshot& snapshot);
  void processCancel();
  void abortInstall();
  void finalize();
  bool processKeyPress(GdkEventKey* event);

  // GTK signal handlers; the user data is the dialog.
  static void on_buttonPrev_clicked(GtkWidget* widget, gpointer dialog);
  static void on_buttonNext_clicked(GtkWidget* widget, gpointer dialog);
  // The Cancel button.
  static void button_clicked_handler(GtkWidget* widget, gpointer dialog);
  static gboolean gtk_window_key_press_callback(GtkWidget* widget, GdkEventKey* event,
                                                gpointer dialog);
  static gboolean on_window_delete(GtkWidget* widget, GdkEvent* event, gpointer dialog);
  static void on_window_destroy(GtkWidget* widget, gpointer dialog);

  WizardState wizardState() const { return m_wizardState; }
  const WideString& targetDirectory() const;
  GtkWidget* window() const { return m_window; }
  GtkWidget* backButton() const { return m_buttonBack; }
  GtkWidget* nextButton() const { return m_buttonNext; }
  GtkWidget* cancelButton() const { return m_buttonCancel; }
  DirSelectPage* directoryPage() const { return m_dirPage.get(); }
  ProgressPage* progressPage() const { return m_progressPage.get(); }
  SuccessFinalPage* successPage() const { return m_successPage.get(); }
  WizardDialogPage* currentPage() const { return m_curPage; }

 private:
  // DoModal's run, without the end's reports.
  int runDialog();
  void titles(WideString& product, WideString& vendor) const;
  void setCurPage(WizardDialogPage* page);
  // Waits for the check of the whole kit, its progress on the progress
  // page; false when the wizard goes no further (a cancel or a damaged kit).
  bool waitForKitCheck();
  // The worker's state on the progress page: the bar, the start or rollback
  // text and the file at hand.
  void showInstallProgress(const InstallSnapshot& snapshot);
  // The box for what the check of the whole kit found (a damaged kit, or a
  // signature that refuses it), then the wizard closes as failed.
  void reportKitCheckFailure();
  // The welcome text, with the key file that verified the kit once one has.
  WideString welcomeText() const;
  // Names the key file that verified the kit on the welcome and directory
  // pages, once one has.
  void showVerifiedKey();
  void setFinishButtons();
  // Shows the final page `page` (made with `text` the first time) in wizard
  // state `state`.
  void showMessageFinalPage(std::unique_ptr<MessagePage>& page, const WideString& text,
                            WizardState state);
  // Windows and boxes need a display; a dry run never shows any.
  bool showsWindows() const { return m_hasDisplay && !m_controller.dryRun(); }
  // A modal box with a window, or a line on standard error without one.
  int notify(const WideString& text, unsigned int flags);
  // A modal box, counted in m_openBoxes while it waits for its answer.
  int showBox(const WideString& text, unsigned int flags);
  // Runs the window's wizard; a termination signal (SIGINT, SIGTERM, SIGHUP)
  // cancels an installation in progress and otherwise closes the wizard, so
  // the process never dies half-way and always cleans up after itself.
  void runWithWindow();
  static gboolean on_interrupt_check(gpointer dialog);
  GdkPixbuf* createIcon();
  GdkPixbuf* createBackImage();

  bool m_silent;
  bool m_hasDisplay = false;
  // Boxes waiting for an answer; each runs a main loop of its own.
  int m_openBoxes = 0;
  bool m_verifiedKeyShown = false;
  bool m_useCurrentDirectory;
  std::unique_ptr<InstallSession> m_session;
  // The run's outcome, log and reports, the same with a window and without.
  RunController m_controller;
  WideString m_languageCode;
  WizardState m_wizardState = WizardState::kNone;
  std::unique_ptr<MessagePage> m_welcomePage;
  std::unique_ptr<DirSelectPage> m_dirPage;
  std::unique_ptr<ProgressPage> m_progressPage;
  std::unique_ptr<SuccessFinalPage> m_successPage;
  std::unique_ptr<MessagePage> m_errorPage;
  std::unique_ptr<MessagePage> m_cancelPage;
  WizardDialogPage* m_curPage = nullptr;
  GdkPixbuf* m_banner = nullptr;
  GtkWidget* m_buttonBack = nullptr;
  GtkWidget* m_buttonNext = nullptr;
  GtkWidget* m_buttonCancel = nullptr;
  std::vector<std::string> m_argStorage;
  std::vector<char*> m_argvStorage;
  int m_argc;
  char** m_argv;
  int m_width = 500;
  int m_height = 360;
  std::string m_title;
  GtkWidget* m_window = nullptr;
  GtkWidget* m_fixed = nullptr;
  GdkPixbuf* m_icon = nullptr;
};
