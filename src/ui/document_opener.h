// Opens a document with the desktop's default application ("xdg-open"),
// started directly with an argument vector (no shell) and not waited for.
// Any thread.
#pragma once

#include "text/wide_string.h"

// False when the opener could not be started.
bool open_with_desktop(const WideString& path);
