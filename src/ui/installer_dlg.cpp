#include "ui/installer_dlg.h"

#include <gdk/gdkkeysyms.h>

#include <cstdio>

#include "platform/kit_location.h"
#include "platform/path_parts.h"
#include "text/failure_text.h"
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
#include "ui/run_controller.h"
#include "ui/success_final_page.h"
#include "ui/target_path.h"

CInstallerDlg::CInstallerDlg(int argc, char** argv, bool silent, std::string title,
                             WideString languageCode, bool useCurrentDirectory)
    : m_silent(silent),
      m_useCurrentDirectory(useCurrentDirectory),
      m_session(std::make_unique<InstallSession>()),
      m_controller(*m_session, silent),
      m_languageCode(std::move(languageCode)),
      m_title(std::move(title)) {
  for (int i = 0; i < argc; ++i) m_argStorage.emplace_back(argv[i]);
  for (std::string& argument : m_argStorage) m_argvStorage.push_back(argument.data());
  m_argvStorage.push_back(nullptr);
  m_argc = argc;
  m_argv = m_argvStorage.data();
  m_hasDisplay = gtk_init_check(&m_argc, &m_argv) != FALSE;
  m_session->publishState(0, LoadResString("IDS_PREPARECOPY"), 0);
  m_controller.setNotifier([this](const WideString& text, RunController::Notice notice) {
    notify(text, (notice == RunController::Notice::kError ? kBoxError : kBoxPlain) | kBoxOk);
  });
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

WideString CInstallerDlg::getWindowTitle() const { return widen_utf8(m_title); }

const WideString& CInstallerDlg::targetDirectory() const { return m_session->targetDirectory(); }

void CInstallerDlg::setRunOptions(InstallLog* log, bool dryRun, std::string version) {
  m_controller.setRunOptions(log, dryRun, std::move(version));
}

void CInstallerDlg::setTargetOption(const WideString& typed) { m_session->setTargetOption(typed); }

void CInstallerDlg::setTrustedKeys(TrustedKeys keys) { m_session->setTrustedKeys(std::move(keys)); }

int CInstallerDlg::DoModal() {
  m_controller.setStartDetails(getPkdFullPath(), m_languageCode);
  return m_controller.end(runDialog());
}

int CInstallerDlg::runDialog() {
  if (!showsWindows()) {
    if (!m_silent) {
      m_controller.logStart();
      m_controller.startFailure(LoadResString("IDS_NODISPLAY"), ERROR_INVALID_PARAMETER);
      return kExitFailure;
    }
    const int exitCode = m_controller.runWithoutWindow();
    m_wizardState = state_of_exit_code(exitCode);
    return exitCode;
  }
  // A termination signal ends the run at any point: a waiting box closes,
  // an installation rolls back first.
  InterruptCatcher catcher;
  close_message_boxes_when(InterruptCatcher::flag());
  // Run with the GDK lock held, as a box opened from it expects.
  const guint check = gdk_threads_add_timeout(100, on_interrupt_check, this);
  const bool prepared = OnInitDialog();
  if (prepared && !InterruptCatcher::interrupted()) runWithWindow();
  g_source_remove(check);
  close_message_boxes_when(nullptr);
  m_session->waitForWorker();
  if (!prepared) return kExitFailure;
  // A signal before the wizard opened: nothing was installed.
  return m_wizardState == WizardState::kNone ? kExitCancelled : exit_code_of(m_wizardState);
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
  if (!InterruptCatcher::interrupted()) return TRUE;
  if (self->m_wizardState == WizardState::kInstalling) {
    // The rollback runs first; the wizard closes once it has ended.
    if (!self->m_session->cancelRequested()) self->abortInstall();
  } else if (self->m_openBoxes == 0 && self->m_window != nullptr) {
    // Once a waiting box has closed itself: end the wizard as a cancel would.
    gtk_widget_destroy(self->m_window);
  }
  return TRUE;
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
  m_controller.setStartDetails(getPkdFullPath(), m_languageCode);
  return m_controller.prepare(!m_silent);
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

namespace {

// The line naming the key file (its name alone) that verified the kit.
WideString verifiedKeyNote(const std::string& keyFile) {
  return LoadResString("IDS_SIGNATURE_VERIFIED") + u" " + widen_lib(splitPath(keyFile).base);
}

}  // namespace

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
  m_controller.logStart();
  if (m_session->targetDirectory().empty()) {
    // Only an unattended run gets here: the configured directory was unusable.
    m_controller.startFailure(LoadResString("IDS_SETUP_EMPTYTARGET"), ERROR_PATH_NOT_FOUND);
    showErrorFinalPage(InstallSnapshot());
    return;
  }
  if (!waitForKitCheck()) return;
  m_controller.logSignature();
  if (!m_session->startInstall(true)) {
    m_controller.startFailure(LoadResString("IDS_INSTALL_ERROR"), ERROR_NOT_ENOUGH_MEMORY);
    showErrorFinalPage(InstallSnapshot());
    return;
  }

  InstallSnapshot snapshot = m_session->snapshot();
  InstallOutcome outcome = classifyInstall(snapshot, m_session->cancelRequested());
  while (outcome == InstallOutcome::kRunning) {
    if (InterruptCatcher::interrupted() && !m_session->cancelRequested()) abortInstall();
    showInstallProgress(snapshot);
    pump_ready_events_and_pause();
    snapshot = m_session->snapshot();
    outcome = classifyInstall(snapshot, m_session->cancelRequested());
  }
  showInstallProgress(snapshot);

  switch (outcome) {
    case InstallOutcome::kSucceeded:
      showSuccessFinalPage();
      m_controller.settle(outcome);
      break;
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
    if (InterruptCatcher::interrupted()) abortInstall();
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
  m_controller.kitCheckFailed();
  if (m_window != nullptr) gtk_widget_destroy(m_window);
}

void CInstallerDlg::showSuccessFinalPage() {
  m_wizardState = WizardState::kSuccess;
  if (!m_successPage) {
    m_successPage = std::make_unique<SuccessFinalPage>(
        m_fixed, m_banner, successText(m_session->targetDirectory()),
        !m_session->installedDescription(m_languageCode).empty());
  }
  setFinishButtons();
  setCurPage(m_successPage.get());
}

void CInstallerDlg::showErrorFinalPage(const InstallSnapshot& snapshot) {
  showMessageFinalPage(
      m_errorPage,
      withFailureDetail(m_controller.finalText("IDS_ERROR_FINISH", snapshot), snapshot.failureDetail),
      WizardState::kError);
}

void CInstallerDlg::showCancelFinalPage(const InstallSnapshot& snapshot) {
  showMessageFinalPage(m_cancelPage, m_controller.finalText("IDS_CANCEL_FINISH", snapshot),
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
