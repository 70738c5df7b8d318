// Rules for the template directory and the files named relative to it: how a
// proposed directory is cleaned, how a typed one is taken, what the launcher
// configuration records, and where the description document lies. Pure
// functions; any thread.
#pragma once

#include "text/wide_string.h"

// A directory from the launcher configuration made safe to propose: any
// "http://", "https://" or "ftp://" empties it, the first "file://" is
// removed, and every line feed and carriage return is dropped.
WideString cleanTargetDirectory(WideString directory);

// The directory typed on the directory page as it will be used and recorded:
// every "\" turned into "/"; "~" or a leading "~/" replaced by `home` (left as
// it is when `home` is empty); a relative path put below `workingDirectory`
// (left relative when that is empty); then "." components, "name/.." pairs
// and repeated separators removed lexically. A final separator stays.
WideString absoluteTargetPath(WideString typed, const WideString& home,
                              const WideString& workingDirectory);
// absoluteTargetPath with home_dir() and the process's current directory.
WideString targetFromTypedPath(const WideString& typed);

// The entry recorded in the template list: the directory without one final
// "/" or "\".
WideString templateListEntry(WideString directory);

// The description document's path: the directory, one "/" when the directory
// does not already end with a separator, then the name; every "\" becomes "/".
WideString descriptionDocumentPath(const WideString& directory, const WideString& name);
