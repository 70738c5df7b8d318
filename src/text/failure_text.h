// The reason for a failed file operation as the user reads it: a Win32 code
// turned into a short sentence in the current resource language, and the
// "path: reason" line shown under the failure's text. Any thread.
#pragma once

#include <cstdint>

#include "text/wide_string.h"

// The reason text for `code` in the current language: disk full (112), no
// permission (5), read-only file system (19), something in the way (183 and
// 3), a link in the way (1921), not found (2), damaged kit (13), not
// restorable (1279), an input/output error (1117), a signed kit changed
// after its signature was checked (577); any other code gives
// "system error" followed by a blank and the code in decimal.
WideString failure_reason(uint32_t code);
// "path: reason"; the reason alone for an empty path.
WideString failure_detail(const WideString& path, uint32_t code);
