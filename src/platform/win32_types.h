// Win32-shaped types, constants and error codes of the file layer. Only the
// platform layer and its direct callers (kit reader, installer, journal) use
// these names. Plain data; any thread.
#pragma once

#include <cstdint>

using HANDLE = void*;
inline HANDLE const INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(~uintptr_t{0});

// 100-nanosecond ticks since 1601-01-01 UTC, low word first.
struct _FILETIME {
  uint32_t dwLowDateTime;
  uint32_t dwHighDateTime;
};

// Accepted as a pointer only and never read; only whether it is null matters.
struct _OVERLAPPED;

// Error codes (Win32 numbering).
constexpr uint32_t ERROR_SUCCESS = 0;
constexpr uint32_t ERROR_FILE_NOT_FOUND = 2;
constexpr uint32_t ERROR_PATH_NOT_FOUND = 3;
constexpr uint32_t ERROR_TOO_MANY_OPEN_FILES = 4;
constexpr uint32_t ERROR_ACCESS_DENIED = 5;
constexpr uint32_t ERROR_INVALID_HANDLE = 6;
constexpr uint32_t ERROR_NOT_ENOUGH_MEMORY = 8;
constexpr uint32_t ERROR_INVALID_DATA = 13;
// A record (registry entry, journal) that this program did not write as it is.
constexpr uint32_t ERROR_BAD_FORMAT = 11;
constexpr uint32_t ERROR_WRITE_PROTECT = 19;
// Another installation holds the target directory.
constexpr uint32_t ERROR_SHARING_VIOLATION = 32;
// A rename between two file systems.
constexpr uint32_t ERROR_NOT_SAME_DEVICE = 17;
// An operation the file system does not offer (an atomic exchange of names).
constexpr uint32_t ERROR_NOT_SUPPORTED = 50;
constexpr uint32_t ERROR_INVALID_PARAMETER = 87;
constexpr uint32_t ERROR_DISK_FULL = 112;
constexpr uint32_t ERROR_INVALID_NAME = 123;
constexpr uint32_t ERROR_BUSY = 170;
constexpr uint32_t ERROR_ALREADY_EXISTS = 183;
constexpr uint32_t ERROR_FILENAME_EXCED_RANGE = 206;
// Found where only a regular file (or directory) of the user's may be: a
// pipe, a device, a link; too large to be what it claims; not the user's own.
constexpr uint32_t ERROR_BAD_FILE_TYPE = 222;
constexpr uint32_t ERROR_FILE_TOO_LARGE = 223;
constexpr uint32_t ERROR_INVALID_OWNER = 1307;
constexpr uint32_t ERROR_CANNOT_MAKE = 1013;
constexpr uint32_t ERROR_IO_DEVICE = 1117;
// A saved version that could not be put back.
constexpr uint32_t ERROR_RECOVERY_FAILURE = 1279;
// A symbolic link where a directory or file must be (opened without
// following links).
constexpr uint32_t ERROR_CANT_RESOLVE_FILENAME = 1921;
constexpr uint32_t ERROR_CANCELLED = 1223;
// A kit whose signature refuses it, or whose bytes differ from those whose
// signature was checked.
constexpr uint32_t ERROR_INVALID_IMAGE_HASH = 577;

// Desired access.
constexpr uint32_t GENERIC_READ = 0x80000000u;
constexpr uint32_t GENERIC_WRITE = 0x40000000u;
// Creation disposition.
constexpr uint32_t CREATE_NEW = 1;
constexpr uint32_t CREATE_ALWAYS = 2;
constexpr uint32_t OPEN_EXISTING = 3;
constexpr uint32_t OPEN_ALWAYS = 4;
constexpr uint32_t TRUNCATE_EXISTING = 5;
// Move method of SetFilePointer.
constexpr uint32_t FILE_BEGIN = 0;
constexpr uint32_t FILE_CURRENT = 1;
constexpr uint32_t FILE_END = 2;
constexpr uint32_t INVALID_SET_FILE_POINTER = 0xFFFFFFFFu;
// Attribute reported by FileFinder for a directory.
constexpr uint32_t FILE_ATTRIBUTE_DIRECTORY = 16;
