#include "ui/run_controller.h"

#include <cstdio>

#include "text/failure_text.h"
#include "text/languages.h"
#include "ui/exit_code.h"
#include "ui/poll_pacing.h"

namespace {

volatile std::sig_atomic_t g_interrupted = 0;

void onInterrupt(int) { g_interrupted = 1; }

constexpr int kSignals[3] = {SIGINT, SIGTERM, SIGHUP};

// A line on standard error, in the locale's character set.
void tell(const WideString& text) { std::fprintf(stderr, "%s\n", narrow_lib(text).c_str()); }

}  // namespace

InterruptCatcher::InterruptCatcher() {
  g_interrupted = 0;
  struct sigaction action {};
  action.sa_handler = onInterrupt;
  action.sa_flags = SA_RESTART;
  for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &action, &m_old[i]);
}

InterruptCatcher::~InterruptCatcher() {
  for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &m_old[i], nullptr);
}

volatile std::sig_atomic_t* InterruptCatcher::flag() { return &g_interrupted; }

void RunController::setRunOptions(InstallLog* log, bool dryRun, std::string version) {
  m_report = RunReport(log);
  m_session.setLog(log);
  m_dryRun = dryRun;
  m_session.setDryRun(dryRun);
  m_version = std::move(version);
}

void RunController::setStartDetails(WideString kitPath, WideString languageCode) {
  m_kitPath = std::move(kitPath);
  m_languageCode = std::move(languageCode);
}

bool RunController::prepare(bool checkInBackground) {
  const WideString failure = m_session.prepare(m_kitPath, checkInBackground);
  // A wizard's start line waits for the directory that the user chooses.
  if (m_silent || !failure.empty()) logStart();
  reportRecovery();
  if (failure.empty()) return true;
  const InstallSession::StartFailure& why = m_session.startFailure();
  m_report.startFailure(why.path, why.text, why.code);
  notify(failure, Notice::kError);
  return false;
}

void RunController::logStart() {
  if (m_startLogged) return;
  m_startLogged = true;
  const char* mode = m_dryRun ? "dry-run" : m_silent ? "install" : "wizard";
  m_report.start(startLogText(m_version, m_kitPath, m_session.kitSize(), m_session.products(),
                              m_languageCode, withoutFinalSeparators(m_session.targetDirectory()),
                              mode));
  m_report.recoveries(m_session.recoveryNotes());
}

void RunController::reportRecovery() {
  if (m_session.interruptedPending()) {
    tell(LoadResString("IDS_DRYRUN_PENDING") + u" " +
         withoutFinalSeparators(m_session.targetDirectory()));
  }
  for (const RecoveryNote& note : m_session.recoveryNotes()) {
    if (!note.passedOver.empty()) {
      notify(LoadResString("IDS_RECOVERY_PASSED_OVER") + u"\n" +
                 failure_detail(note.passedOver, note.reason),
             Notice::kError);
      continue;
    }
    if (!note.leftAlone.empty()) {
      WideString text = LoadResString("IDS_RECOVERY_LEFT_ALONE");
      for (const std::string& path : note.leftAlone) {
        text += u"\n" + note.target + widen_lib(path);
      }
      notify(text, Notice::kPlain);
    }
    if (note.undone) {
      const WideString text =
          LoadResString("IDS_RECOVERED") + u"\n" + withoutFinalSeparators(note.target);
      // An unattended run is not held up by good news.
      if (m_silent) {
        tell(text);
      } else {
        notify(text, Notice::kPlain);
      }
    } else {
      notify(LoadResString("IDS_RECOVERY_FAILED") + u"\n" + note.keptBackupRoot, Notice::kError);
    }
  }
}

void RunController::startFailure(const WideString& text, uint32_t code) {
  m_report.startFailure(m_session.targetDirectory(), text, code);
  notify(text, Notice::kError);
}

void RunController::kitCheckFailed() {
  logStart();
  WideString text;
  if (m_session.kitCheck().result() == ERROR_INVALID_IMAGE_HASH) {
    const InstallSession::StartFailure why = m_session.signatureRefusal();
    m_report.startFailure(why.path, why.text, why.code);
    text = m_session.signatureRefusalText();
  } else {
    text = LoadResString("IDS_ERROR_DAMAGEDSOURCE");
    m_report.startFailure(m_session.kitPath(), text, ERROR_INVALID_DATA);
  }
  logSignature();
  notify(text, Notice::kError);
}

int RunController::settle(InstallOutcome outcome) {
  switch (outcome) {
    case InstallOutcome::kSucceeded: {
      // The summary tells what a dry run would do; it records nothing.
      if (m_dryRun) return kExitSuccess;
      // Still a success: the templates stay installed; the user learns which
      // launcher file does not name their directory.
      WideString unsavedFiles;
      if (!m_session.recordTemplateDirectory(unsavedFiles)) {
        notify(LoadResString("IDS_ERROR_RECORDDIR") + u"\n" + unsavedFiles, Notice::kError);
      }
      return kExitSuccess;
    }
    case InstallOutcome::kCancelled:
      return kExitCancelled;
    default:
      return kExitFailure;
  }
}

WideString RunController::finalText(const char* textKey, const InstallSnapshot& snapshot) const {
  if (snapshot.keptBackupRoot.empty()) return LoadResString(textKey);
  return LoadResString("IDS_ROLLBACK_INCOMPLETE") + u"\n" + snapshot.keptBackupRoot;
}

int RunController::runWithoutWindow() {
  if (!prepare(false)) return kExitFailure;
  const WideString& target = m_session.targetDirectory();
  if (target.empty()) {
    startFailure(LoadResString("IDS_SETUP_EMPTYTARGET"), ERROR_PATH_NOT_FOUND);
    return kExitFailure;
  }
  tell(LoadResString("IDS_TEMPLATE_CATALOG") + u" " + withoutFinalSeparators(target));
  // An interrupt cancels the installation; the process ends after the
  // rollback. Caught before the worker starts, so that none is missed.
  InterruptCatcher catcher;
  logSignature();
  if (!m_session.startInstall(false)) {
    startFailure(LoadResString("IDS_INSTALL_ERROR"), ERROR_NOT_ENOUGH_MEMORY);
    return kExitFailure;
  }
  const WideString startText = LoadResString("IDS_PROGRESS_START");
  int shownProgress = -1;
  bool rollbackShown = false;
  // The failure as first published, told before the rollback's line.
  WideString failure;
  InstallSnapshot snapshot = m_session.snapshot();
  InstallOutcome outcome = classifyInstall(snapshot, m_session.cancelRequested());
  // Until the worker has ended: a failure is published before its rollback runs.
  for (;;) {
    const bool running = outcome == InstallOutcome::kRunning;
    if (running && InterruptCatcher::interrupted() && !m_session.cancelRequested()) {
      m_session.requestCancel();
    }
    if (snapshot.errorCode != 0 && failure.empty()) {
      failure = snapshot.message.empty() ? LoadResString("IDS_INSTALL_ERROR") : snapshot.message;
      tell(failure);
    }
    // The worker announces a rollback only where the target began to
    // change: a run that failed or was cancelled before has nothing to
    // restore.
    const bool copying = shownProgress >= 0;
    if (snapshot.rollingBack && !rollbackShown) {
      rollbackShown = true;
      tell(LoadResString("IDS_ROLLBACK_PROGRESS"));
    } else if (running && !m_dryRun && !snapshot.rollingBack &&
               snapshot.progress != shownProgress &&
               (copying || !fileInProgress(snapshot.message, target).empty())) {
      shownProgress = snapshot.progress;
      tell(startText + u" " + widen_lib(std::to_string(shownProgress)) + u"%");
    }
    if (snapshot.workerFinished) break;
    // The next look comes after a pause, or at once when the worker ends.
    m_session.waitForWorkerEnd(static_cast<int>(kPollPauseMicroseconds / 1000));
    snapshot = m_session.snapshot();
    outcome = classifyInstall(snapshot, m_session.cancelRequested());
  }
  m_session.waitForWorker();

  if (outcome == InstallOutcome::kSucceeded && !m_dryRun) {
    tell(snapshot.message + u" 100%\n" + LoadResString("IDS_SUCCESS_FINISH"));
  } else if (outcome == InstallOutcome::kFailed) {
    if (failure.empty()) {
      tell(LoadResString("IDS_INSTALL_ERROR"));
    } else if (!snapshot.message.empty() && snapshot.message != failure) {
      // The rollback could not put everything back: where the saved
      // versions are is the final word.
      tell(snapshot.message);
      return settle(outcome);
    }
    // A busy target says only that; a dry run's end says nothing was done.
    if (snapshot.errorCode != ERROR_SHARING_VIOLATION && !m_dryRun) {
      tell(LoadResString("IDS_ERROR_FINISH"));
    }
  } else if (outcome == InstallOutcome::kCancelled) {
    tell(finalText("IDS_CANCEL_FINISH", snapshot));
  }
  return settle(outcome);
}

int RunController::end(int exitCode) {
  // A dry run that found a problem tells no partial counts: nothing would
  // be installed.
  const bool dryRunFailed = m_dryRun && exitCode != kExitSuccess;
  const InstallCounts counts = dryRunFailed ? InstallCounts() : m_session.counts();
  logStart();
  m_report.end(exitCode, counts);
  if (m_silent) {
    for (const WideString& warning : m_session.warnings()) tell(warning);
  }
  if (dryRunFailed) {
    tell(LoadResString("IDS_DRYRUN_FAILED"));
  } else if (m_silent) {
    std::fprintf(stderr, "%s\n", summaryLine(counts, m_dryRun).c_str());
  }
  return exitCode;
}
