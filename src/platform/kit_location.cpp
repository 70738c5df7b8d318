#include "platform/kit_location.h"

#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/path_parts.h"

namespace {

constexpr char kKitFileName[] = "/orbp8.pkd";

}  // namespace

WideString kit_file_path(bool useCurrentDirectory, int argc, const char* const* argv,
                         const std::string& currentDirectory, const std::string& executablePath) {
  std::string directory;
  if (useCurrentDirectory) {
    if (currentDirectory.empty()) return WideString();
    directory = currentDirectory;
    if (argc == 3) directory += "/" + std::string(argv[2]);
  } else {
    if (executablePath.find('/') == std::string::npos) return WideString();
    directory = splitPath(executablePath).parent;
    if (directory == "/") directory.clear();  // the kit name starts with its "/"
  }
  return widen_lib(directory + kKitFileName);
}

WideString locate_kit_file(bool useCurrentDirectory, int argc, const char* const* argv) {
  if (useCurrentDirectory) return kit_file_path(true, argc, argv, current_directory(), "");
  return kit_file_path(false, argc, argv, "", executable_path());
}

std::string current_directory() {
  const std::unique_ptr<char, decltype(&std::free)> path(getcwd(nullptr, 0), &std::free);
  return path ? std::string(path.get()) : std::string();
}

std::string executable_path() {
  std::vector<char> buffer(256);
  for (;;) {
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length <= 0) return std::string();
    // A result that fills the buffer may have been cut: retry with more room.
    if (static_cast<size_t>(length) < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(buffer.size() * 2);
  }
}
