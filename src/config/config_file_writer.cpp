#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "config/config_file_io.h"
#include "config/in_place_file.h"
#include "platform/file_replacement.h"
#include "platform/posix_call.h"

namespace {

constexpr int kMaxLinkHops = 40;
// 0666 less at least the mask 022; the umask may take away more.
constexpr mode_t kNewFileMode = 0666 & ~mode_t{022};

// The narrow form of a key or value up to its first zero byte, which would
// otherwise end the text of its chunk when the file is read again.
void append_narrow(std::string& line, const WideString& text) {
  const std::string narrow = narrow_lib(text);
  line.append(narrow.c_str(), strnlen(narrow.c_str(), narrow.size()));
}

bool read_link(const std::string& path, std::string& target) {
  std::vector<char> buffer(256);
  for (;;) {
    const ssize_t length = readlink(path.c_str(), buffer.data(), buffer.size());
    if (length < 0) return false;
    if (static_cast<size_t>(length) < buffer.size()) {
      target.assign(buffer.data(), static_cast<size_t>(length));
      return true;
    }
    buffer.resize(buffer.size() * 2);
  }
}

// Follows a chain of symbolic links to the path of the file it ends at (which
// need not exist), so that the file is replaced and the links stay; empty
// for a loop or an unreadable link.
std::string resolve_links(std::string path) {
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    struct stat status;
    if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
    std::string target;
    if (!read_link(path, target) || target.empty()) return std::string();
    path = target.front() == '/' ? target : splitPath(path).parent + "/" + target;
  }
  return std::string();
}

// Gives the new file the old one's owner (only the super-user may give a file
// away; otherwise it stays ours) and then its permission bits, as changing
// the owner may clear set-id bits.
bool keep_owner_and_mode(HANDLE file, const struct stat& old) {
  const bool ownerKept = (old.st_uid == geteuid() && old.st_gid == getegid()) ||
                         fchown(descriptorOf(file), old.st_uid, old.st_gid) == 0 || errno == EPERM;
  return ownerKept && FileSystem::SetFileMode(file, old.st_mode & 07777) == 0;
}

}  // namespace

std::string config_file_text(const ConfigFile& configFile) {
  std::string text;
  for (const ConfigFileItem& item : configFile.items()) {
    for (const WideString& value : item.values) {
      append_narrow(text, item.name);
      text.push_back('=');
      append_narrow(text, value);
      text.push_back('\n');
    }
  }
  return text;
}

void write_config_file(const WideString& path, const ConfigFile& configFile) {
  const std::string text = config_file_text(configFile);
  const std::string target = resolve_links(narrow_lib(path));
  if (target.empty()) throw 1;
  struct stat status;
  const bool existing = stat(target.c_str(), &status) == 0;
  if (existing &&
      (!S_ISREG(status.st_mode) || faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)) {
    throw 1;
  }
  removeReplacementLeftovers<FileSystem>(splitPath(target).parent);
  FileReplacement replacement;
  // A new file gets the bits that creating it in place would give, but never
  // write permission for group or others, whatever the umask: whoever could
  // write it could point the launcher at templates of their choosing.
  const uint32_t code = replacement.begin(target, existing ? S_IRUSR | S_IWUSR : kNewFileMode);
  if (code == ERROR_ACCESS_DENIED || code == ERROR_WRITE_PROTECT) {
    // A shared setup may let us write the file but not its directory.
    InPlaceFile inPlace(target);
    if (!existing || !inPlace.open()) throw 1;
    if (!inPlace.rewrite(text)) throw 2;
    return;
  }
  if (code != 0 || (existing && !keep_owner_and_mode(replacement.file(), status))) throw 1;
  if (replacement.write(text) != 0 || replacement.commit() != 0) throw 2;
}
