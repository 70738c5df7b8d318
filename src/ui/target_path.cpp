#include "ui/target_path.h"

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

WideString targetFromTypedPath(WideString typed) {
  replace_all(typed, kBadPathSeparator, kPathSeparator);
  return typed;
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
