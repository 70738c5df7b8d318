#include "ui/installer_dlg.h"

#include <gdk/gdkkeysyms.h>

#include <array>
#include <csignal>
#include <cstdio>

#include "platform/kit_location.h"
#include "text/languages.h"
#include "ui/button_caption.h"
#include "ui/dir_select_page.h"
#include "ui/document_opener.h"
#include "ui/exit_code.h"
#include "ui/install_session.h"
#include "ui/message_box.h"
#include "ui/message_page.h"
#include "ui/pictures.h"
#include "ui/poll_pacing.h"
#include "ui/progress_page.h"
#include "ui/success_final_page.h"
#include "ui/target_path.h"

namespace {

constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 30;

std::string resourceUtf8(const char* key) { return narrow_lib(LoadResString(key)); }

// The line naming the key file (its name alone) that verified the kit.
WideString verifiedKeyNote(const std::string& keyFile) {
  return LoadResString("IDS_SIGNATURE_VERIFIED") + u" " +
         widen_lib(keyFile.substr(keyFile.rfind('/') + 1));
}

volatile std::sig_atomic_t g_interrupted = 0;

void onInterrupt(int) { g_interrupted = 1; }

// Routes SIGINT, SIGTERM and SIGHUP to onInterrupt while it lives.
class InterruptCatcher {
 public:
  InterruptCatcher() {
    g_interrupted = 0;
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < kSignals.size(); ++i) sigaction(kSignals[i], &action, &m_old[i]);
  }
  ~InterruptCatcher() {
    for (size_t i = 0; i < kSignals.size(); ++i) sigaction(kSignals[i], &m_old[i], nullptr);
  }
  InterruptCatcher(const InterruptCatcher&) = delete;
  InterruptCatcher& operator=(const InterruptCatcher&) = delete;

 private:
  static constexpr std::array<int, 3> kSignals{SIGINT, SIGTERM, SIGHUP};
  std::array<struct sigaction, 3> m_old{};
};

}  // namespace

CInstallerDlg::CInstallerDlg(int argc, char** argv, bool silent, std::string title,
                             WideString languageCode, bool useCurrentDirectory)
    : m_silent(silent),
      m_useCurrentDirectory(useCurrentDirectory),
      m_session(std::make_unique<InstallSession>()),
      m_languageCode(std::move(languageCode)),
      m_title(std::move(title)) {
  for (int i = 0; i < argc; ++i) m_argStorage.emplace_back(argv[i]);
  for (std::string& argument : m_argStorage) m_argvStorage.push_back(argument.data());
  m_argvStorage.push_back(nullptr);
  m_argc = argc;
  m_argv = m_argvStorage.data();
  m_hasDisplay = gtk_init_check(&m_argc, &m_argv) != FALSE;
  m_session->publishState(0, LoadResString("IDS_PREPARECOPY"), 0);
}

CInstallerDlg::~CInstallerDlg() {
  m_session->waitForWorker();
  if (m_window != nullptr) {
    g_signal_handlers_disconnect_by_data(m_window, this);
    gtk_widget_destroy(m_window);
  }
  if (m_banner != nullptr) g_object_unref(m_banner);
  if (m_icon != nullptr) g_object_unref(m_icon);
}

WideString CInstallerDlg::getPkdFullPath() const {
  return locate_kit_file(m_useCurrentDirectory, m_argc, m_argv);
}

WideString CInstallerDlg::getWindowTitle() const { return widen_lib(m_title); }

const WideString& CInstallerDlg::targetDirectory() const { return m_session->targetDirectory(); }

void CInstallerDlg::setRunOptions(InstallLog* log, bool dryRun, std::string version) {
  m_report = RunReport(log);
  m_session->setLog(log);
  m_dryRun = dryRun;
  m_session->setDryRun(dryRun);
  m_version = std::move(version);
}

void CInstallerDlg::setTrustedKeys(TrustedKeys keys) { m_session->setTrustedKeys(std::move(keys)); }

int CInstallerDlg::DoModal() {
  const int exitCode = runDialog();
  const InstallCounts counts = m_session->counts();
  logStart();
  m_report.end(exitCode, counts);
  if (m_silent) std::fprintf(stderr, "%s\n", summaryLine(counts, m_dryRun).c_str());
  return exitCode;
}

void CInstallerDlg::logStart() {
  if (m_startLogged) return;
  m_startLogged = true;
  const char* mode = m_dryRun ? "dry-run" : m_silent ? "install" : "wizard";
  m_report.start(startLogText(m_version, getPkdFullPath(), m_session->kitSize(),
                              m_session->products(), m_languageCode, m_session->targetDirectory(),
                              mode));
  m_report.recoveries(m_session->recoveryNotes());
}

int CInstallerDlg::runDialog() {
  if (!showsWindows()) {
    if (!m_silent) {
      const WideString text = LoadResString("IDS_NODISPLAY");
      logStart();
      m_report.startFailure(WideString(), text, ERROR_INVALID_PARAMETER);
      std::fprintf(stderr, "%s\n", narrow_lib(text).c_str());
      return kExitFailure;
    }
    return runWithoutWindow();
  }
  // A termination signal ends the run at any point: a waiting box closes,
  // an installation rolls back first.
  InterruptCatcher catcher;
  close_message_boxes_when(&g_interrupted);
  // Run with the GDK lock held, as a box opened from it expects.
  const guint check = gdk_threads_add_timeout(100, on_interrupt_check, this);
  const bool prepared = OnInitDialog();
  if (prepared && g_interrupted == 0) runWithWindow();
  g_source_remove(check);
  close_message_boxes_when(nullptr);
  m_session->waitForWorker();
  if (!prepared) return kExitFailure;
  // A signal before the wizard opened: nothing was installed.
  return m_wizardState == WizardState::kNone ? kExitCancelled : exitCodeOfState();
}

void CInstallerDlg::runWithWindow() {
  showMainWindow();
  showWelcomePage();
  if (m_silent) {
    showProgressPage();
  } else {
    gtk_main();
  }
}

gboolean CInstallerDlg::on_interrupt_check(gpointer dialog) {
  auto* self = static_cast<CInstallerDlg*>(dialog);
  // Damage the check has found ends the wizard before the installation,
  // unless a box of the wizard's is waiting for an answer.
  const KitCheck& check = self->m_session->kitCheck();
  const bool onFirstPages = self->m_wizardState == WizardState::kWelcome ||
                            self->m_wizardState == WizardState::kDirectory;
  if (onFirstPages && check.finished() && check.result() != 0 && self->m_openBoxes == 0) {
    self->reportKitCheckFailure();
    return TRUE;
  }
  if (!self->m_verifiedKeyShown) self->showVerifiedKey();
  if (g_interrupted == 0) return TRUE;
  if (self->m_wizardState == WizardState::kInstalling) {
    // The rollback runs first; the wizard closes once it has ended.
    if (!self->m_session->cancelRequested()) self->abortInstall();
  } else if (self->m_openBoxes == 0 && self->m_window != nullptr) {
    // Once a waiting box has closed itself: end the wizard as a cancel would.
    gtk_widget_destroy(self->m_window);
  }
  return TRUE;
}

int CInstallerDlg::exitCodeOfState() const {
  switch (m_wizardState) {
    case WizardState::kSuccess:
      return kExitSuccess;
    case WizardState::kWelcome:
    case WizardState::kDirectory:
    case WizardState::kCancelled:
      return kExitCancelled;
    default:
      return kExitFailure;
  }
}

int CInstallerDlg::showBox(const WideString& text, unsigned int flags) {
  ++m_openBoxes;
  const int answer = messageBox(this, text, flags);
  --m_openBoxes;
  return answer;
}

int CInstallerDlg::notify(const WideString& text, unsigned int flags) {
  if (showsWindows()) return showBox(text, flags);
  std::fprintf(stderr, "%s\n", narrow_lib(text).c_str());
  return kAnswerOk;
}

bool CInstallerDlg::OnInitDialog() {
  const WideString failure = m_session->prepare(getPkdFullPath(), !m_silent);
  // A wizard's start line waits for the directory that the user chooses.
  if (m_silent || !failure.empty()) logStart();
  reportRecovery();
  if (failure.empty()) return true;
  const InstallSession::StartFailure& why = m_session->startFailure();
  m_report.startFailure(why.path, why.text, why.code);
  notify(failure, kBoxError | kBoxOk);
  return false;
}

void CInstallerDlg::reportRecovery() {
  for (const RecoveryNote& note : m_session->recoveryNotes()) {
    if (note.undone) {
      const WideString text = LoadResString("IDS_RECOVERED") + u" " + note.target;
      // An unattended run is not held up by good news.
      if (m_silent) {
        std::fprintf(stderr, "%s\n", narrow_lib(text).c_str());
      } else {
        notify(text, kBoxPlain | kBoxOk);
      }
    } else {
      notify(LoadResString("IDS_RECOVERY_FAILED") + u" " + note.keptBackupRoot, kBoxError | kBoxOk);
    }
  }
}

WideString CInstallerDlg::finalText(const char* textKey, const InstallSnapshot& snapshot) const {
  if (snapshot.keptBackupRoot.empty()) return LoadResString(textKey);
  return LoadResString("IDS_ROLLBACK_INCOMPLETE") + u" " + snapshot.keptBackupRoot;
}

GdkPixbuf* CInstallerDlg::createIcon() {
  return gdk_pixbuf_new_from_xpm_data(const_cast<const char**>(kIconXpm));
}

GdkPixbuf* CInstallerDlg::createBackImage() {
  return gdk_pixbuf_new_from_xpm_data(const_cast<const char**>(kBannerXpm));
}

void CInstallerDlg::showMainWindow() {
  m_window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  GtkWindow* window = GTK_WINDOW(m_window);
  gtk_window_set_position(window, GTK_WIN_POS_CENTER);
  GdkGeometry hints{};
  hints.min_width = hints.max_width = hints.base_width = m_width;
  hints.min_height = hints.max_height = hints.base_height = m_height;
  hints.win_gravity = GDK_GRAVITY_NORTH_WEST;
  gtk_window_set_geometry_hints(
      window, m_window, &hints,
      static_cast<GdkWindowHints>(GDK_HINT_MIN_SIZE | GDK_HINT_MAX_SIZE | GDK_HINT_BASE_SIZE));
  gtk_window_set_modal(window, TRUE);
  gtk_window_set_type_hint(window, GDK_WINDOW_TYPE_HINT_MENU);
  m_icon = createIcon();
  gtk_window_set_icon(window, m_icon);

  m_fixed = gtk_fixed_new();
  gtk_container_add(GTK_CONTAINER(m_window), m_fixed);
  g_signal_connect(m_window, "destroy", G_CALLBACK(on_window_destroy), this);
  g_signal_connect(m_window, "delete-event", G_CALLBACK(on_window_delete), this);
  g_signal_connect(m_window, "key_press_event", G_CALLBACK(gtk_window_key_press_callback), this);
  gtk_window_set_title(window, m_title.c_str());

  GtkWidget* separator = gtk_hseparator_new();
  gtk_widget_set_size_request(separator, m_width - 20, 5);
  gtk_fixed_put(GTK_FIXED(m_fixed), separator, 10, 310);

  const auto addButton = [this](const char* key, int x) {
    GtkWidget* button = gtk_button_new_with_label("");
    gtk_widget_set_size_request(button, kButtonWidth, kButtonHeight);
    set_fitting_caption(button, resourceUtf8(key), kButtonWidth);
    gtk_fixed_put(GTK_FIXED(m_fixed), button, x, 320);
    return button;
  };
  m_buttonBack = addButton("IDS_WIZARD_BACK", 230);
  m_buttonNext = addButton("IDS_WIZARD_NEXT", 310);
  m_buttonCancel = addButton("IDS_WIZARD_CANCEL", 410);
  gtk_widget_set_can_default(m_buttonNext, TRUE);
  gtk_widget_grab_default(m_buttonNext);

  g_signal_connect(m_buttonBack, "clicked", G_CALLBACK(on_buttonPrev_clicked), this);
  g_signal_connect(m_buttonNext, "clicked", G_CALLBACK(on_buttonNext_clicked), this);
  g_signal_connect(m_buttonCancel, "clicked", G_CALLBACK(button_clicked_handler), this);

  gtk_widget_show_all(m_fixed);
  m_banner = createBackImage();
  gtk_widget_show(m_window);
}

void CInstallerDlg::titles(WideString& product, WideString& vendor) const {
  m_session->titles(m_languageCode, product, vendor);
}

void CInstallerDlg::setCurPage(WizardDialogPage* page) {
  if (m_curPage != nullptr) m_curPage->hide();
  m_curPage = page;
  if (page != nullptr) {
    page->show();
    page->onShow();
  }
}

WideString CInstallerDlg::welcomeText() const {
  WideString product;
  WideString vendor;
  titles(product, vendor);
  if (product.empty()) product = LoadResString("IDS_DEFPRODUCT");
  if (vendor.empty()) vendor = LoadResString("IDS_DEFPROVIDER");
  const WideString welcome =
      LoadResString("IDS_WELCOME_TITLE") + u" " + product + u" (" + vendor + u").";
  const std::string keyFile = m_session->verifiedKeyFile();
  if (keyFile.empty()) return welcome;
  return welcome + u"\n\n" + verifiedKeyNote(keyFile);
}

void CInstallerDlg::showVerifiedKey() {
  const std::string keyFile = m_session->verifiedKeyFile();
  if (keyFile.empty()) return;
  m_verifiedKeyShown = true;
  if (m_welcomePage) m_welcomePage->setMessage(welcomeText());
  if (m_dirPage) m_dirPage->setNote(verifiedKeyNote(keyFile));
}

void CInstallerDlg::showWelcomePage() {
  if (!m_welcomePage) {
    m_welcomePage = std::make_unique<MessagePage>(m_fixed, m_banner, welcomeText());
  }
  if (m_silent) {
    gtk_widget_hide(m_buttonBack);
    gtk_widget_hide(m_buttonNext);
  } else {
    gtk_widget_set_sensitive(m_buttonBack, FALSE);
  }
  m_wizardState = WizardState::kWelcome;
  setCurPage(m_welcomePage.get());
}

void CInstallerDlg::showSelectPathPage() {
  m_wizardState = WizardState::kDirectory;
  if (!m_dirPage) {
    m_dirPage = std::make_unique<DirSelectPage>(m_fixed, m_banner);
    showVerifiedKey();
  }
  m_dirPage->setPath(m_session->targetDirectory());
  gtk_widget_set_sensitive(m_buttonBack, TRUE);
  gtk_widget_set_sensitive(m_buttonNext, TRUE);
  setCurPage(m_dirPage.get());
}

void CInstallerDlg::showProgressPage() {
  if (!m_progressPage) m_progressPage = std::make_unique<ProgressPage>(m_fixed, m_width - 20);
  gtk_widget_set_sensitive(m_buttonBack, FALSE);
  gtk_widget_set_sensitive(m_buttonNext, FALSE);
  setCurPage(m_progressPage.get());
  m_wizardState = WizardState::kInstalling;
  logStart();
  if (m_session->targetDirectory().empty()) {
    // Only an unattended run gets here: the configured directory was unusable.
    notifyStartFailure(LoadResString("IDS_SETUP_EMPTYTARGET"), ERROR_PATH_NOT_FOUND);
    showErrorFinalPage(InstallSnapshot());
    return;
  }
  if (!waitForKitCheck()) return;
  m_report.signature(m_session->verifiedKeyFile());
  if (!m_session->startInstall(true)) {
    notifyStartFailure(LoadResString("IDS_INSTALL_ERROR"), ERROR_NOT_ENOUGH_MEMORY);
    showErrorFinalPage(InstallSnapshot());
    return;
  }

  InstallSnapshot snapshot = m_session->snapshot();
  InstallOutcome outcome = classifyInstall(snapshot, m_session->cancelRequested());
  while (outcome == InstallOutcome::kRunning) {
    if (g_interrupted != 0 && !m_session->cancelRequested()) abortInstall();
    showInstallProgress(snapshot);
    pump_ready_events_and_pause();
    snapshot = m_session->snapshot();
    outcome = classifyInstall(snapshot, m_session->cancelRequested());
  }
  showInstallProgress(snapshot);

  switch (outcome) {
    case InstallOutcome::kSucceeded: {
      showSuccessFinalPage();
      // The templates stay installed; the user learns which launcher file
      // does not name their directory.
      WideString unsavedFiles;
      if (!m_session->recordTemplateDirectory(unsavedFiles)) {
        notify(LoadResString("IDS_ERROR_RECORDDIR") + u" " + unsavedFiles, kBoxError | kBoxOk);
      }
      break;
    }
    case InstallOutcome::kFailed: {
      // The template directory is restored before the user is told so; the
      // message then says whether everything could be put back.
      while (!(snapshot = m_session->snapshot()).workerFinished) {
        showInstallProgress(snapshot);
        pump_ready_events_and_pause();
      }
      const WideString message =
          snapshot.message.empty() ? LoadResString("IDS_INSTALL_ERROR") : snapshot.message;
      notify(message, kBoxError | kBoxOk);
      showErrorFinalPage(snapshot);
      break;
    }
    default:
      showCancelFinalPage(snapshot);
      break;
  }
}

void CInstallerDlg::showInstallProgress(const InstallSnapshot& snapshot) {
  if (snapshot.rollingBack) {
    m_progressPage->setRollbackProgress(snapshot.progress);
    m_progressPage->setCurrentFile(WideString());
  } else {
    m_progressPage->setProgress(snapshot.progress);
    m_progressPage->setCurrentFile(fileInProgress(snapshot.message, m_session->targetDirectory()));
  }
}

bool CInstallerDlg::waitForKitCheck() {
  KitCheck& check = m_session->kitCheck();
  if (!check.started()) return true;
  while (!check.finished() && !m_session->cancelRequested()) {
    if (g_interrupted != 0) abortInstall();
    m_progressPage->setCheckProgress(check.progress());
    pump_ready_events_and_pause();
  }
  if (m_session->cancelRequested()) {
    showCancelFinalPage(InstallSnapshot());
    return false;
  }
  if (check.wait() == 0) return true;
  reportKitCheckFailure();
  return false;
}

void CInstallerDlg::reportKitCheckFailure() {
  m_wizardState = WizardState::kError;
  logStart();
  WideString text;
  if (m_session->kitCheck().result() == ERROR_INVALID_IMAGE_HASH) {
    const InstallSession::StartFailure why = m_session->signatureRefusal();
    m_report.startFailure(why.path, why.text, why.code);
    text = m_session->signatureRefusalText();
  } else {
    text = LoadResString("IDS_ERROR_DAMAGEDSOURCE");
    m_report.startFailure(m_session->kitPath(), text, ERROR_INVALID_DATA);
  }
  notify(text, kBoxError | kBoxOk);
  if (m_window != nullptr) gtk_widget_destroy(m_window);
}

void CInstallerDlg::setFinishButtons() {
  gtk_widget_set_sensitive(m_buttonNext, TRUE);
  gtk_widget_set_sensitive(m_buttonCancel, FALSE);
  gtk_widget_hide(m_buttonBack);
  gtk_widget_show(m_buttonNext);
  set_fitting_caption(m_buttonNext, resourceUtf8("IDS_WIZARD_FINISH"), kButtonWidth);
  gtk_widget_grab_default(m_buttonNext);
}

void CInstallerDlg::showSuccessFinalPage() {
  m_wizardState = WizardState::kSuccess;
  if (!m_successPage) {
    m_successPage = std::make_unique<SuccessFinalPage>(
        m_fixed, m_banner, LoadResString("IDS_SUCCESS_FINISH"),
        !m_session->installedDescription(m_languageCode).empty());
  }
  setFinishButtons();
  setCurPage(m_successPage.get());
}

void CInstallerDlg::showErrorFinalPage(const InstallSnapshot& snapshot) {
  showMessageFinalPage(
      m_errorPage,
      withFailureDetail(finalText("IDS_ERROR_FINISH", snapshot), snapshot.failureDetail),
      WizardState::kError);
}

void CInstallerDlg::showCancelFinalPage(const InstallSnapshot& snapshot) {
  showMessageFinalPage(m_cancelPage, finalText("IDS_CANCEL_FINISH", snapshot),
                       WizardState::kCancelled);
}

void CInstallerDlg::showMessageFinalPage(std::unique_ptr<MessagePage>& page, const WideString& text,
                                         WizardState state) {
  if (!page) page = std::make_unique<MessagePage>(m_fixed, m_banner, text);
  m_wizardState = state;
  setFinishButtons();
  setCurPage(page.get());
}

void CInstallerDlg::on_buttonPrev_clicked(GtkWidget*, gpointer dialog) {
  auto* self = static_cast<CInstallerDlg*>(dialog);
  if (self->m_wizardState == WizardState::kDirectory) self->showWelcomePage();
}

void CInstallerDlg::on_buttonNext_clicked(GtkWidget*, gpointer dialog) {
  auto* self = static_cast<CInstallerDlg*>(dialog);
  switch (self->m_wizardState) {
    case WizardState::kWelcome:
      self->showSelectPathPage();
      break;
    case WizardState::kDirectory: {
      const WideString target = targetFromTypedPath(self->m_dirPage->getPath());
      if (target.empty()) {
        self->notify(LoadResString("IDS_SETUP_EMPTYTARGET"), kBoxPlain | kBoxOk);
        break;
      }
      // The user sees the directory that is installed into and recorded.
      self->m_dirPage->setPath(target);
      self->m_session->setTargetDirectory(target);
      self->showProgressPage();
      break;
    }
    case WizardState::kSuccess:
    case WizardState::kError:
    case WizardState::kCancelled:
      self->finalize();
      break;
    default:
      break;
  }
}

void CInstallerDlg::button_clicked_handler(GtkWidget*, gpointer dialog) {
  auto* self = static_cast<CInstallerDlg*>(dialog);
  if (self->m_wizardState == WizardState::kInstalling) {
    self->abortInstall();
  } else {
    self->processCancel();
  }
}

gboolean CInstallerDlg::gtk_window_key_press_callback(GtkWidget*, GdkEventKey* event,
                                                      gpointer dialog) {
  if (dialog == nullptr) return FALSE;
  return static_cast<CInstallerDlg*>(dialog)->processKeyPress(event) ? TRUE : FALSE;
}

bool CInstallerDlg::processKeyPress(GdkEventKey* event) {
  if (event == nullptr || event->keyval != GDK_Escape) return false;
  button_clicked_handler(m_buttonCancel, this);
  return true;
}

gboolean CInstallerDlg::on_window_delete(GtkWidget*, GdkEvent*, gpointer dialog) {
  auto* self = static_cast<CInstallerDlg*>(dialog);
  // Closing the window mid-installation cancels it; the window stays until
  // the worker has rolled back.
  if (self->m_wizardState != WizardState::kInstalling) return FALSE;
  self->abortInstall();
  return TRUE;
}

void CInstallerDlg::on_window_destroy(GtkWidget*, gpointer dialog) {
  auto* self = static_cast<CInstallerDlg*>(dialog);
  self->m_window = nullptr;
  if (gtk_main_level() > 0) gtk_main_quit();
}

void CInstallerDlg::processCancel() {
  if (showBox(LoadResString("IDS_ACCEPT_CANCEL"), kBoxQuestion | kBoxYesNo) == kAnswerYes &&
      m_window != nullptr) {
    gtk_widget_destroy(m_window);
  }
}

void CInstallerDlg::abortInstall() {
  m_session->requestCancel();
  gtk_widget_set_sensitive(m_buttonCancel, FALSE);
}

void CInstallerDlg::finalize() {
  switch (m_wizardState) {
    case WizardState::kSuccess: {
      const WideString description = m_session->installedDescription(m_languageCode);
      if (!description.empty() && m_successPage->isShowReadmeChecked()) {
        open_with_desktop(description);
      }
      break;
    }
    case WizardState::kError:
    case WizardState::kCancelled:
      break;
    default:
      return;
  }
  if (m_window != nullptr) gtk_widget_destroy(m_window);
}

void CInstallerDlg::notifyStartFailure(const WideString& text, uint32_t code) {
  m_report.startFailure(m_session->targetDirectory(), text, code);
  notify(text, kBoxError | kBoxOk);
}

int CInstallerDlg::runWithoutWindow() {
  if (!OnInitDialog()) return kExitFailure;
  const WideString& target = m_session->targetDirectory();
  if (target.empty()) {
    notifyStartFailure(LoadResString("IDS_SETUP_EMPTYTARGET"), ERROR_PATH_NOT_FOUND);
    return kExitFailure;
  }
  std::fprintf(stderr, "%s %s\n", resourceUtf8("IDS_TEMPLATE_CATALOG").c_str(),
               narrow_lib(target).c_str());
  // An interrupt cancels the installation; the process ends after the
  // rollback. Caught before the worker starts, so that none is missed.
  InterruptCatcher catcher;
  m_wizardState = WizardState::kInstalling;
  m_report.signature(m_session->verifiedKeyFile());
  if (!m_session->startInstall(false)) {
    notifyStartFailure(LoadResString("IDS_INSTALL_ERROR"), ERROR_NOT_ENOUGH_MEMORY);
    m_wizardState = WizardState::kError;
    return kExitFailure;
  }

  const std::string startText = resourceUtf8("IDS_PROGRESS_START");
  int shownProgress = -1;
  bool rollbackShown = false;
  InstallSnapshot snapshot = m_session->snapshot();
  InstallOutcome outcome = classifyInstall(snapshot, m_session->cancelRequested());
  // Until the worker has ended: a failure is published before its rollback runs.
  for (;;) {
    const bool running = outcome == InstallOutcome::kRunning;
    if (running && g_interrupted != 0 && !m_session->cancelRequested()) {
      m_session->requestCancel();
    }
    if (snapshot.rollingBack && !rollbackShown) {
      rollbackShown = true;
      std::fprintf(stderr, "%s\n", resourceUtf8("IDS_ROLLBACK_PROGRESS").c_str());
    } else if (running && !m_dryRun && !snapshot.rollingBack &&
               snapshot.progress != shownProgress) {
      shownProgress = snapshot.progress;
      std::fprintf(stderr, "%s %d%%\n", startText.c_str(), shownProgress);
    }
    if (snapshot.workerFinished) break;
    g_usleep(kPollPauseMicroseconds);
    snapshot = m_session->snapshot();
    outcome = classifyInstall(snapshot, m_session->cancelRequested());
  }
  m_session->waitForWorker();

  switch (outcome) {
    case InstallOutcome::kSucceeded: {
      m_wizardState = WizardState::kSuccess;
      // The summary tells what a dry run would do; it records nothing.
      if (m_dryRun) return kExitSuccess;
      std::fprintf(stderr, "%s 100%%\n%s\n", narrow_lib(snapshot.message).c_str(),
                   resourceUtf8("IDS_SUCCESS_FINISH").c_str());
      // Still a success: the templates are installed; only the launcher does
      // not know their directory yet.
      WideString unsavedFiles;
      if (!m_session->recordTemplateDirectory(unsavedFiles)) {
        notify(LoadResString("IDS_ERROR_RECORDDIR") + u" " + unsavedFiles, kBoxError | kBoxOk);
      }
      return kExitSuccess;
    }
    case InstallOutcome::kFailed: {
      const WideString message =
          snapshot.message.empty() ? LoadResString("IDS_INSTALL_ERROR") : snapshot.message;
      notify(message, kBoxError | kBoxOk);
      // What failed and where, unless the message above already said it.
      const bool told = message.find(snapshot.failureDetail) != WideString::npos;
      const WideString finalLines = finalText("IDS_ERROR_FINISH", snapshot);
      std::fprintf(
          stderr, "%s\n",
          narrow_lib(told ? finalLines : withFailureDetail(finalLines, snapshot.failureDetail))
              .c_str());
      m_wizardState = WizardState::kError;
      return kExitFailure;
    }
    default:
      std::fprintf(stderr, "%s\n", narrow_lib(finalText("IDS_CANCEL_FINISH", snapshot)).c_str());
      m_wizardState = WizardState::kCancelled;
      return kExitCancelled;
  }
}
