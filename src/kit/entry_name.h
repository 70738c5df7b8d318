// The rule that keeps a kit entry inside the installation directory. Pure
// function; any thread.
#pragma once

#include "text/wide_string.h"

// False for a name that is empty, starts with "/" or "\", holds a ".."
// component (with either separator) or holds a zero unit.
bool is_safe_entry_name(const WideString& name);
