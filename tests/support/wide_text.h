// Wide strings from narrow ones in the tests' own words. Any thread.
#pragma once

#include <string>

#include "text/wide_string.h"

inline WideString wide(const std::string& narrow) { return widen_lib(narrow); }
