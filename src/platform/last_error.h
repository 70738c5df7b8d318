// The file layer's process-wide last-error cell and its single errno
// translation, shared by the platform sources (and the kit's reading thread,
// which translates without touching the cell). Any thread; the cell is
// one value for the whole process.
#pragma once

#include <cstdint>

// The Win32 code for an errno value: ENOENT 2, ENOSPC and EDQUOT 112,
// EACCES and EPERM 5, EROFS 19, EIO 1117, EEXIST, EISDIR and ENOTEMPTY 183,
// ELOOP 1921, ENOTDIR 3, ENAMETOOLONG 206, EMFILE and ENFILE 4, ENOMEM 8,
// EXDEV 17, EBUSY and ETXTBSY 170; EINVAL and any other 87.
uint32_t translateErrNo(int errnoValue);
// Stores a code in the last-error cell and returns it.
uint32_t setLastError(uint32_t code);
