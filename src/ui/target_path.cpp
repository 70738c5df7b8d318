#include "ui/target_path.h"

#include <filesystem>
#include <system_error>

#include "config/config_locations.h"

namespace {

// The current directory, or "" when it cannot be had (it was removed).
WideString currentDirectory() {
  std::error_code error;
  const std::filesystem::path directory = std::filesystem::current_path(error);
  return error ? WideString() : widen_lib(directory.string());
}

}  // namespace

WideString cleanTargetDirectory(WideString directory) {
  for (const char16_t* remote : {u"http://", u"https://", u"ftp://"}) {
    if (directory.find(remote) != WideString::npos) directory.clear();
  }
  const WideString fileScheme = u"file://";
  const size_t at = directory.find(fileScheme);
  if (at != WideString::npos) directory.erase(at, fileScheme.size());
  replace_all(directory, u"\n", u"");
  replace_all(directory, u"\r", u"");
  return directory;
}

WideString absoluteTargetPath(WideString typed, const WideString& home,
                              const WideString& workingDirectory) {
  replace_all(typed, kBadPathSeparator, kPathSeparator);
  if (typed.empty()) return typed;
  const bool tilde = typed == u"~" || typed.compare(0, 2, u"~/") == 0;
  if (tilde && !home.empty()) typed = home + typed.substr(1);
  if (typed[0] != u'/') {
    if (workingDirectory.empty()) return typed;
    typed = workingDirectory + kPathSeparator + typed;
  }
  // Lexical: "." and "name/.." go without looking at the file system, so a
  // link in the path is never replaced by its target.
  return widen_lib(std::filesystem::path(narrow_lib(typed)).lexically_normal().string());
}

WideString targetFromTypedPath(const WideString& typed) {
  return absoluteTargetPath(typed, home_dir(), currentDirectory());
}

WideString templateListEntry(WideString directory) {
  if (endsWithPathSeparator(directory)) directory.pop_back();
  return directory;
}

WideString descriptionDocumentPath(const WideString& directory, const WideString& name) {
  WideString path = directory;
  if (!path.empty() && !endsWithPathSeparator(path)) path += kPathSeparator;
  path += name;
  replace_all(path, kBadPathSeparator, kPathSeparator);
  return path;
}
