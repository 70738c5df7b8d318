// Everything a wizard run does besides showing windows: the checks made and
// the kit opened before the wizard starts, the proposed template directory,
// the worker thread and its shared state, and the recording of the template
// directory after a good installation. Main thread only, except
// updateProgress, which is the worker thread's body.
#pragma once

#include <string>
#include <vector>

#include "install/install_counts.h"
#include "install/install_log.h"
#include "install/install_process_data.h"
#include "install/install_thread.h"
#include "install/recovery.h"
#include "kit/kit_check.h"
#include "kit/kit_signature.h"
#include "kit/trusted_keys.h"
#include "text/wide_string.h"
#include "ui/install_outcome.h"

class InstallSession {
 public:
  InstallSession() = default;
  // Waits for a worker that is still running.
  ~InstallSession() = default;
  InstallSession(const InstallSession&) = delete;
  InstallSession& operator=(const InstallSession&) = delete;

  // A dry run (set before prepare) changes nothing on disk: prepare undoes
  // no interrupted installation and probes no directory with a file, the
  // worker only decides and counts.
  void setDryRun(bool dryRun) { m_dryRun = dryRun; }
  // The log the worker writes its events to; null for none.
  void setLog(InstallLog* log) { m_processData.setLog(log); }
  // The template directory given on the command line (set before prepare),
  // as typed: it replaces the proposal of the launcher configuration.
  void setTargetOption(const WideString& typed) {
    m_hasTargetOption = true;
    m_targetOption = typed;
  }
  // The keys a kit's signature is checked against (set before prepare); with
  // any, or with a key refused, only a kit signed by one of them installs.
  void setTrustedKeys(TrustedKeys keys) { m_trustedKeys = std::move(keys); }

  // Reads the template list and proposes a target directory (a relative
  // entry made absolute as a typed one is, targetFromTypedPath), or takes
  // the one given on the command line, refused before anything is written
  // when it is empty or cannot be installed into (find_target_obstacle);
  // undoes any interrupted installation (recoveryNotes), then finds the kit
  // (the text for a missing one says where it was looked for), checks the
  // temporary space and reads the kit's head. With `checkInBackground`, a
  // check of the whole kit starts (kitCheck), so that no one installs from
  // a damaged kit while the wizard opens at once (an unattended run checks
  // it while installing). Returns the text to show when the wizard cannot
  // start (what failed and why), or "" when it can; then startFailure tells
  // it for the log. With trusted keys, the kit's signature is checked too:
  // its file and key at once, the kit's bytes then by the background check,
  // or at once without one; a refusal is a failure of prepare or of the
  // check (its code ERROR_INVALID_IMAGE_HASH), told by signatureRefusal.
  WideString prepare(const WideString& kitPath, bool checkInBackground);
  // Why prepare failed, as the log says it: the file, what happened to it
  // (the user's text) and the code.
  struct StartFailure {
    WideString path;
    WideString text;
    uint32_t code = 0;
  };
  const StartFailure& startFailure() const { return m_startFailure; }
  // The check of the whole kit that prepare started, if any.
  KitCheck& kitCheck() { return m_kitCheck; }
  // Why the kit's signature was refused, as the user reads it (the text,
  // then "PATH: reason") and as the log says it; for a refusal by prepare or
  // by the check.
  WideString signatureRefusalText() const;
  StartFailure signatureRefusal() const;
  // The key file whose key verified the kit's signature; empty while none
  // has (no key is trusted, or the check has not yet finished).
  std::string verifiedKeyFile() const;

  // What the start found of interrupted installations and undid.
  const std::vector<RecoveryNote>& recoveryNotes() const { return m_recoveryNotes; }
  // In a dry run: whether an interrupted installation waits, which a real
  // run would undo first.
  bool interruptedPending() const { return m_interruptedPending; }
  // What a successful run could not clean up after its commit.
  std::vector<WideString> warnings() { return m_processData.warnings(); }
  const WideString& targetDirectory() const { return m_targetDirectory; }
  const WideString& kitPath() const { return m_kitPath; }
  // The kit's products and its size in bytes, as the open kit's descriptor
  // tells it: empty and 0 until the kit is open.
  const std::vector<config::ProductInfo>& products() const { return m_kit.getProducts(); }
  uint64_t kitSize() const { return m_kit.kitFileSize(); }
  void setTargetDirectory(const WideString& directory) { m_targetDirectory = directory; }

  // Product and vendor titles of the kit for the language, else those of its
  // English product; empty when neither exists.
  void titles(const WideString& languageCode, WideString& product, WideString& vendor) const;
  // The installed description document for the language (else the English
  // one); empty when the kit names none or it is not in the target directory.
  WideString installedDescription(const WideString& languageCode) const;

  // Publishes the state shown before an installation starts.
  void publishState(uint32_t errorCode, const WideString& message, int32_t progress);
  // Hands the kit and target directory to a new worker; false when the thread
  // could not be started. With `windowShown`, a success lasts a second
  // longer, so that the full bar can be seen.
  bool startInstall(bool windowShown);
  InstallSnapshot snapshot();
  // What the run has done (would do, in a dry run) so far.
  InstallCounts counts() { return m_processData.counts(); }
  // Asks a running installation to stop and roll back.
  void requestCancel();
  bool cancelRequested() const { return m_cancelRequested; }
  void waitForWorker() { m_thread.join(); }
  // Waits until the worker has ended or `milliseconds` have passed.
  void waitForWorkerEnd(int milliseconds) { m_thread.waitFinished(milliseconds); }

  // Puts the target directory (without a final separator) first in the
  // launcher's template list as it stands now (record_template_directory).
  // False when any file could not be saved, with their paths in
  // `unsavedFiles` (one a line).
  bool recordTemplateDirectory(WideString& unsavedFiles);

  // The worker's body: one installation run over the shared state.
  bool updateProgress();

 private:
  // prepare's work; it fills m_startFailure's code, and its text when the
  // log says more than the user's text.
  WideString prepareRun(const WideString& kitPath, bool checkInBackground);
  // Makes the command line's directory the target; the text that refuses
  // it, or "".
  WideString takeTargetOption();
  // The part of prepareRun after the kit is open: its signature, and the
  // check of the whole kit.
  WideString prepareSignature(bool checkInBackground);

  bool m_cancelRequested = false;
  bool m_dryRun = false;
  bool m_interruptedPending = false;
  bool m_hasTargetOption = false;
  WideString m_targetOption;
  StartFailure m_startFailure;
  InstallProcessData m_processData;
  std::vector<RecoveryNote> m_recoveryNotes;
  WideString m_targetDirectory;
  WideString m_kitPath;
  KitReader m_kit;
  int m_finalPauseMilliseconds = 0;
  TrustedKeys m_trustedKeys;
  KitSignatureCheck m_signatureCheck;
  // Refused by prepare, or what reading the kit for its signature found
  // (written by the check's thread until it has finished).
  SignatureVerdict m_signatureVerdict;
  KitVerification m_verification;
  bool m_verifiedAtStart = false;
  // After the kit, which it reads, so that it stops first.
  KitCheck m_kitCheck;
  // Last, so that it is destroyed (and waited for) first.
  InstallThread m_thread;
};
