// What a run does besides drawing windows, the same for the wizard and for
// the run without windows: the log's start and end lines and the summary,
// the report of interrupted installations, the outcome of the installation
// (the template directory recorded, the final texts, the exit code), the
// termination signals, and, without windows, the whole run with its lines
// on standard error. Windows and boxes reach it only as a notifier.
// GTK-free. Main thread only.
#pragma once

#include <csignal>
#include <functional>
#include <string>

#include "install/install_log.h"
#include "text/wide_string.h"
#include "ui/install_outcome.h"
#include "ui/install_session.h"
#include "ui/run_report.h"

// Routes SIGINT, SIGTERM and SIGHUP to interrupted() while it lives.
class InterruptCatcher {
 public:
  InterruptCatcher();
  ~InterruptCatcher();
  InterruptCatcher(const InterruptCatcher&) = delete;
  InterruptCatcher& operator=(const InterruptCatcher&) = delete;

  // Set by a signal while a catcher lives (for boxes that close on it).
  static volatile std::sig_atomic_t* flag();
  static bool interrupted() { return *flag() != 0; }

 private:
  struct sigaction m_old[3];
};

class RunController {
 public:
  // How a notice is shown: an error or plain news. The notifier shows it
  // (a box with a window, a line on standard error without).
  enum class Notice { kError, kPlain };
  using Notifier = std::function<void(const WideString& text, Notice notice)>;

  RunController(InstallSession& session, bool silent) : m_session(session), m_silent(silent) {}

  // Before the run: the log (null for none), a dry run, the program's
  // version, the kit's path and the interface language the start line names.
  void setRunOptions(InstallLog* log, bool dryRun, std::string version);
  void setStartDetails(WideString kitPath, WideString languageCode);
  void setNotifier(Notifier notifier) { m_notify = std::move(notifier); }

  bool dryRun() const { return m_dryRun; }
  bool silent() const { return m_silent; }

  // Prepares the run (InstallSession::prepare), logs its start when it is
  // unattended or failed, tells what the start found of interrupted
  // installations and, on failure, notifies and logs why: false then.
  bool prepare(bool checkInBackground);
  // The log's start line, then the recoveries made at start; once per run.
  void logStart();
  // A run that could not start, notified and logged.
  void startFailure(const WideString& text, uint32_t code);
  // The check of the whole kit found it damaged, or its signature refused
  // it: notified and logged.
  void kitCheckFailed();
  // The log's line of whether the kit's signature was verified, and by which
  // key file.
  void logSignature() { m_report.signature(m_session.verifiedKeyFile()); }
  // After the worker has ended with `outcome`: a success (but a dry run's)
  // records the template directory, telling which launcher file could not
  // learn it. Returns the exit code of the outcome.
  int settle(InstallOutcome outcome);
  // The final text of `textKey`, or where the saved versions are kept when
  // the rollback could not put everything back.
  WideString finalText(const char* textKey, const InstallSnapshot& snapshot) const;
  // The whole run without windows: the installation with its progress, the
  // failure, the rollback and the final text on standard error; a signal
  // cancels it (the rollback runs first). Returns the exit code.
  int runWithoutWindow();
  // The end of every run: the log's end line, warnings of what a success
  // could not clean up, and, unattended, the summary. Returns `exitCode`.
  int end(int exitCode);

 private:
  void reportRecovery();
  void notify(const WideString& text, Notice notice) {
    if (m_notify) m_notify(text, notice);
  }

  InstallSession& m_session;
  bool m_silent;
  bool m_dryRun = false;
  std::string m_version;
  WideString m_kitPath;
  WideString m_languageCode;
  RunReport m_report;
  bool m_startLogged = false;
  Notifier m_notify;
};
