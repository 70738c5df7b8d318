// Writes a whole buffer to a POSIX descriptor, continuing short writes and
// retrying interrupted ones. For code that works on plain descriptors (the
// configuration writer, the kit writer). Any thread.
#pragma once

#include <cstddef>

// True when every byte was written; false with errno set otherwise.
bool write_all(int descriptor, const void* data, size_t size);
