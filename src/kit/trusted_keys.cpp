#include "kit/trusted_keys.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "platform/last_error.h"
#include "platform/small_file.h"

namespace {

// Only root or the running user may have put it there or changed it.
bool trustworthy(const struct stat& status) {
  return (status.st_uid == 0 || status.st_uid == geteuid()) && (status.st_mode & 022) == 0;
}

SignatureProblem problem_of(SmallFileFault fault) {
  switch (fault) {
    case SmallFileFault::kNotRegular:
      return SignatureProblem::kNotRegular;
    case SmallFileFault::kTooLarge:
      return SignatureProblem::kTooLarge;
    default:
      return SignatureProblem::kUnreadable;
  }
}

// Reads the key file `name` in `directory` (the current one for a path).
SignatureVerdict load_key(HANDLE directory, const std::string& name, const std::string& path,
                          std::vector<TrustedKey>& keys) {
  const SmallFile file = read_small_file(directory, name, kMaxKeyFileSize);
  if (file.fault != SmallFileFault::kNone) return {problem_of(file.fault), path, file.code};
  if (!trustworthy(file.status)) return {SignatureProblem::kUnsafe, path, 0};
  TrustedKey key{path, {}};
  switch (parse_minisign_public_key(file.content, key.key)) {
    case MinisignFault::kNone:
      keys.push_back(key);
      return {};
    case MinisignFault::kUnknownAlgorithm:
      return {SignatureProblem::kUnknownAlgorithm, path, 0};
    default:
      return {SignatureProblem::kMalformed, path, 0};
  }
}

// The "*.pub" names of the open directory `fd`, sorted; false when it
// cannot be listed (errno tells why).
bool key_file_names(int fd, std::vector<std::string>& names) {
  const int listed = fcntl(fd, F_DUPFD_CLOEXEC, 0);
  DIR* directory = listed < 0 ? nullptr : fdopendir(listed);
  if (directory == nullptr) {
    if (listed >= 0) close(listed);
    return false;
  }
  errno = 0;
  while (const dirent* entry = readdir(directory)) {
    const std::string name = entry->d_name;
    if (name.size() > 4 && name[0] != '.' && name.compare(name.size() - 4, 4, ".pub") == 0) {
      names.push_back(name);
    }
  }
  const int readError = errno;
  closedir(directory);
  std::sort(names.begin(), names.end());
  errno = readError;
  return readError == 0;
}

SignatureVerdict load_directory(const std::string& path, std::vector<TrustedKey>& keys) {
  const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return {};
    if (errno == ELOOP || errno == ENOTDIR) return {SignatureProblem::kNotRegular, path, 0};
    return {SignatureProblem::kUnreadable, path, translateErrNo(errno)};
  }
  SignatureVerdict verdict;
  struct stat status {};
  std::vector<std::string> names;
  if (fstat(fd, &status) != 0 || !key_file_names(fd, names)) {
    verdict = {SignatureProblem::kUnreadable, path, translateErrNo(errno)};
  } else if (!trustworthy(status)) {
    verdict = {SignatureProblem::kUnsafe, path, 0};
  }
  for (const std::string& name : names) {
    if (verdict.refused()) break;
    // A handle carries the file descriptor.
    verdict = load_key(reinterpret_cast<HANDLE>(static_cast<intptr_t>(fd)), name, path + "/" + name,
                       keys);
  }
  close(fd);
  return verdict;
}

}  // namespace

TrustedKeys load_trusted_keys(const std::string& directory,
                              const std::vector<std::string>& keyFiles) {
  TrustedKeys trusted;
  if (!directory.empty()) trusted.refusal = load_directory(directory, trusted.keys);
  for (const std::string& path : keyFiles) {
    if (trusted.refusal.refused()) break;
    trusted.refusal = load_key(INVALID_HANDLE_VALUE, path, path, trusted.keys);
  }
  if (trusted.refusal.refused()) trusted.keys.clear();
  return trusted;
}
