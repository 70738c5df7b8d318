// The rule that keeps a kit entry inside the installation directory and makes
// it name one file. Pure function; any thread.
#pragma once

#include "text/wide_string.h"

// False for a name that is empty, starts with "/" or "\", has an empty, "."
// or ".." component (either separator; a final separator leaves an empty
// last one) or holds a zero unit.
bool is_safe_entry_name(const WideString& name);
