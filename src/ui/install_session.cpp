#include "ui/install_session.h"

#include "config/config_locations.h"
#include "config/template_record.h"
#include "install/installer.h"
#include "kit/temp_space.h"
#include "platform/file_system.h"
#include "text/failure_text.h"
#include "text/languages.h"
#include "ui/target_check.h"
#include "ui/target_path.h"

namespace {

// A plain status query: names holding "*", "?" or "[" are taken literally.
bool pathExists(const WideString& path) {
  FileStatus status;
  return !path.empty() && FileSystem::StatusOfPath(narrow_lib(path), true, status) == 0;
}

// How long the start waits for a target that another installation holds
// before it leaves that target's journal to it.
constexpr int kRecoveryLockWaitMilliseconds = 200;

}  // namespace

WideString InstallSession::prepare(const WideString& kitPath, bool checkInBackground) {
  const WideString failure = prepareRun(kitPath, checkInBackground);
  if (!failure.empty() && m_startFailure.text.empty()) {
    m_startFailure.path = kitPath;
    m_startFailure.text = failure;
  }
  return failure;
}

WideString InstallSession::prepareRun(const WideString& kitPath, bool checkInBackground) {
  m_startFailure = StartFailure();
  m_kitPath = kitPath;
  std::vector<WideString> templates;
  read_template_list(templates);
  m_targetDirectory.clear();
  for (const WideString& directory : templates) {
    if (isWritePermitted(directory)) {
      m_targetDirectory = directory;
      break;
    }
  }
  if (m_targetDirectory.empty())
    m_targetDirectory = p8_app_data_dir(false) + u"tmplts" + kPathSeparator;
  m_targetDirectory = cleanTargetDirectory(m_targetDirectory);
  // A relative entry is taken below the current directory, as a typed one is.
  if (!m_targetDirectory.empty() && m_targetDirectory[0] != u'/') {
    m_targetDirectory = targetFromTypedPath(m_targetDirectory);
  }
  if (m_hasTargetOption) {
    const WideString refused = takeTargetOption();
    if (!refused.empty()) return refused;
  }

  // Before anything else, also when the kit then turns out to be unusable;
  // a dry run leaves them for a real one.
  if (!m_dryRun) {
    m_recoveryNotes =
        recover_interrupted_installations(m_targetDirectory, kRecoveryLockWaitMilliseconds);
  } else {
    m_interruptedPending = interrupted_installation_pending(m_targetDirectory);
  }

  if (!pathExists(kitPath)) {
    m_startFailure.code = ERROR_FILE_NOT_FOUND;
    m_startFailure.path = kitPath;
    m_startFailure.text = LoadResString("IDS_ERROR_NOSOURCE");
    const size_t slash = kitPath.rfind(u'/');
    if (slash == WideString::npos) return m_startFailure.text;
    // Where it was looked for, and how to point the program at a kit.
    return m_startFailure.text + u"\n" + LoadResString("IDS_KIT_LOOKED_IN") + u"\n" +
           (slash == 0 ? kPathSeparator : kitPath.substr(0, slash)) + u"\n" +
           LoadResString("IDS_KIT_USECWD");
  }
  if (!temp_space_suffices<FileSystem>(m_kitPath)) {
    m_startFailure.code = ERROR_DISK_FULL;
    return LoadResString("IDS_ERROR_NOSPACE");
  }

  // With a key trusted, every read of the kit is held to the digest verified.
  m_kit.setDigesting(!m_trustedKeys.keys.empty());
  const uint32_t openCode = m_kit.open(m_kitPath);
  m_startFailure.code = openCode;
  if (openCode == ERROR_INVALID_DATA) return LoadResString("IDS_ERROR_DAMAGEDSOURCE");
  if (openCode != 0) {
    // Not the kit's fault: what could not be read or written, and why.
    m_startFailure.text = failure_detail(widen_lib(m_kit.failedPath()), openCode);
    return LoadResString("IDS_ERROR_KITOPEN") + u"\n" + m_startFailure.text;
  }
  return prepareSignature(checkInBackground);
}

WideString InstallSession::prepareSignature(bool checkInBackground) {
  m_signatureVerdict = m_trustedKeys.refusal;
  if (!m_signatureVerdict.refused()) {
    m_signatureVerdict =
        m_signatureCheck.prepare(narrow_lib(m_kitPath), m_kit.kitFileSize(), m_trustedKeys.keys);
  }
  if (m_signatureVerdict.refused()) {
    m_startFailure = signatureRefusal();
    return signatureRefusalText();
  }
  if (checkInBackground) {
    m_kitCheck.start(
        [this](const std::atomic<bool>& stop, std::atomic<uint64_t>& read) {
          m_verification = verify_kit(m_kit, m_signatureCheck, true, stop, read);
          return m_verification.code;
        },
        m_kit.kitFileSize());
    return WideString();
  }
  if (!m_signatureCheck.required()) return WideString();
  // Before anything is installed, through the descriptor the kit was opened with.
  const std::atomic<bool> stop{false};
  std::atomic<uint64_t> read{0};
  m_verification = verify_kit(m_kit, m_signatureCheck, false, stop, read);
  m_verifiedAtStart = m_verification.code == 0;
  if (m_verifiedAtStart) return WideString();
  if (m_verification.code == ERROR_INVALID_IMAGE_HASH) {
    m_startFailure = signatureRefusal();
    return signatureRefusalText();
  }
  m_startFailure.code = m_verification.code;
  m_startFailure.text = failure_detail(m_kitPath, m_verification.code);
  return LoadResString("IDS_ERROR_KITOPEN") + u"\n" + m_startFailure.text;
}

InstallSession::StartFailure InstallSession::signatureRefusal() const {
  // A refusal by the check is in its result; prepare's in the verdict.
  const SignatureVerdict& verdict =
      m_signatureVerdict.refused() ? m_signatureVerdict : m_verification.verdict;
  return {widen_lib(verdict.path), signature_refusal_reason(verdict), ERROR_INVALID_IMAGE_HASH};
}

WideString InstallSession::signatureRefusalText() const {
  const StartFailure refusal = signatureRefusal();
  return LoadResString("IDS_ERROR_SIGNATURE") + u"\n" + refusal.path + u": " + refusal.text;
}

std::string InstallSession::verifiedKeyFile() const {
  const bool verified =
      m_kitCheck.started() ? m_kitCheck.finished() && m_kitCheck.result() == 0 : m_verifiedAtStart;
  return m_signatureCheck.required() && verified ? m_signatureCheck.key().path : std::string();
}

WideString InstallSession::takeTargetOption() {
  const WideString refused = LoadResString("IDS_BAD_TARGET");
  m_targetDirectory = targetFromTypedPath(m_targetOption);
  if (m_targetDirectory.empty()) {
    m_startFailure = {WideString(), LoadResString("IDS_SETUP_EMPTYTARGET"), ERROR_PATH_NOT_FOUND};
    return refused + u"\n" + m_startFailure.text;
  }
  const TargetObstacle obstacle = find_target_obstacle(m_targetDirectory);
  if (obstacle.reason == 0) return WideString();
  m_startFailure = {obstacle.path, failure_reason(obstacle.reason), obstacle.reason};
  // The directory on a line of its own, then what keeps it from being used.
  const WideString shown = withoutFinalSeparators(m_targetDirectory);
  const WideString where = obstacle.path == shown ? WideString() : shown + u"\n";
  return refused + u"\n" + where + failure_detail(obstacle.path, obstacle.reason);
}

void InstallSession::titles(const WideString& languageCode, WideString& product,
                            WideString& vendor) const {
  m_kit.getTitles(languageCode, product, vendor);
  if (product.empty() && vendor.empty()) m_kit.getTitles(u"en", product, vendor);
}

WideString InstallSession::installedDescription(const WideString& languageCode) const {
  const WideString name = m_kit.getReadme(languageCode);
  if (name.empty()) return WideString();
  const WideString path = descriptionDocumentPath(m_targetDirectory, name);
  return pathExists(path) ? path : WideString();
}

void InstallSession::publishState(uint32_t errorCode, const WideString& message, int32_t progress) {
  m_processData.setInstallState(errorCode, message, progress);
}

bool InstallSession::startInstall(bool windowShown) {
  m_cancelRequested = false;
  m_finalPauseMilliseconds = windowShown ? 1000 : 0;
  // What the installation reads must be what was verified.
  if (m_signatureCheck.required()) m_kit.expectDigest(m_verification.digest);
  m_processData.init(&m_kit, m_targetDirectory);
  m_processData.setDryRun(m_dryRun);
  return m_thread.start([this] { return updateProgress(); }) == 0;
}

InstallSnapshot InstallSession::snapshot() {
  InstallSnapshot snapshot;
  // Read whether the worker ended first: a state published before the end is
  // then certainly in the snapshot that follows.
  snapshot.workerFinished = m_thread.finished();
  InstallProcessData::Published state = m_processData.published();
  snapshot.errorCode = state.errorCode;
  snapshot.message = std::move(state.message);
  snapshot.progress = state.progress;
  snapshot.keptBackupRoot = std::move(state.keptBackupRoot);
  snapshot.failureDetail = std::move(state.failureDetail);
  snapshot.rollingBack = state.rollingBack;
  return snapshot;
}

void InstallSession::requestCancel() {
  m_cancelRequested = true;
  m_thread.stop();
  m_processData.setCancel(true);
}

bool InstallSession::recordTemplateDirectory(WideString& unsavedFiles) {
  return record_template_directory(templateListEntry(m_targetDirectory), unsavedFiles);
}

bool InstallSession::updateProgress() {
  Installer installer(m_finalPauseMilliseconds);
  installer.run(&m_processData);
  return false;
}
