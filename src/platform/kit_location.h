// Where the installer looks for its kit file "orbp8.pkd": beside the executable,
// or in (a directory under) the current directory with "usecwd". Any thread.
#pragma once

#include <string>

#include "text/wide_string.h"

// The kit path from the command line (as left after the toolkit removed its own
// options), the current directory and the executable's path:
// - useCurrentDirectory: currentDirectory + "/orbp8.pkd", or, when argc is 3,
//   currentDirectory + "/" + argv[2] + "/orbp8.pkd" (joined as text, argv[2]
//   always taken relative); empty when currentDirectory is empty;
// - otherwise: the executable's directory + "/orbp8.pkd"; empty when
//   executablePath is empty or has no "/".
WideString kit_file_path(bool useCurrentDirectory, int argc, const char* const* argv,
                         const std::string& currentDirectory, const std::string& executablePath);

// The same for this process, reading only what the mode needs.
WideString locate_kit_file(bool useCurrentDirectory, int argc, const char* const* argv);

// The process's current directory; empty when it cannot be determined.
std::string current_directory();

// The target of /proc/self/exe, read in full whatever its length; empty when
// it cannot be read.
std::string executable_path();
