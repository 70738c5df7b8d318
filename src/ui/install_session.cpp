#include "ui/install_session.h"

#include "config/config_locations.h"
#include "config/starter.h"
#include "install/installer.h"
#include "kit/temp_space.h"
#include "platform/file_system.h"
#include "text/failure_text.h"
#include "text/languages.h"
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
  m_baseFile = pathExists(get_local_config_file_path_base());
  if (pathExists(get_local_config_file_path())) {
    get_tmplts_list(m_templates, true, false);
  } else if (m_baseFile) {
    get_tmplts_list(m_templates, true, true);
    m_fromBaseList = !m_templates.empty();
  }
  m_targetDirectory.clear();
  for (const WideString& directory : m_templates) {
    if (m_dryRun ? isWritePermittedUntouched(directory) : isWritePermitted(directory)) {
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

  // Before anything else, also when the kit then turns out to be unusable;
  // a dry run leaves them for a real one.
  if (!m_dryRun) {
    m_recoveryNotes =
        recover_interrupted_installations(m_targetDirectory, kRecoveryLockWaitMilliseconds);
  }

  if (!pathExists(kitPath)) {
    m_startFailure.code = ERROR_FILE_NOT_FOUND;
    return LoadResString("IDS_ERROR_NOSOURCE");
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

uint64_t InstallSession::kitSize() const {
  uint64_t size = 0;
  if (m_kitPath.empty() || FileSystem::GetFileSize(m_kitPath, &size) != 0) return 0;
  return size;
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
  m_processData.getInstallState(snapshot.errorCode, snapshot.message, snapshot.progress);
  snapshot.keptBackupRoot = m_processData.keptBackupRoot();
  snapshot.failureDetail = m_processData.failureDetail();
  snapshot.rollingBack = m_processData.rollingBack();
  return snapshot;
}

void InstallSession::requestCancel() {
  m_cancelRequested = true;
  m_thread.stop();
  m_processData.setCancel(true);
}

bool InstallSession::recordTemplateDirectory(WideString& unsavedFiles) {
  m_templates.insert(m_templates.begin(), templateListEntry(m_targetDirectory));
  unsavedFiles.clear();
  const auto save = [&](bool useBaseLocations, const WideString& path) {
    try {
      set_tmplts_list(m_templates, useBaseLocations);
    } catch (...) {
      // The installation itself succeeded; this file keeps its old list.
      if (!unsavedFiles.empty()) unsavedFiles += u"\n";
      unsavedFiles += path;
    }
  };
  if (!m_fromBaseList) save(false, get_local_config_file_path());
  if (m_baseFile) save(true, get_local_config_file_path_base());
  return unsavedFiles.empty();
}

bool InstallSession::updateProgress() {
  Installer installer(m_finalPauseMilliseconds);
  installer.run(&m_processData);
  return false;
}
