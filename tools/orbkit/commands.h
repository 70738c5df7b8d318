// The sub-commands of the orbkit tool and what they share. Each takes the
// arguments after its own name and returns the process exit status. Main
// thread only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "kit/install_data.h"
#include "kit/lz_compressor.h"
#include "platform/file_system.h"

using Arguments = std::vector<std::string>;
using KitReader = config::InstallData<LZCompressor, FileSystem>;

// Exit statuses.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

int run_pack(const Arguments& arguments);
int run_list(const Arguments& arguments);
int run_extract(const Arguments& arguments);
int run_verify(const Arguments& arguments);

// Prints "orbkit: " and the message to standard error; returns `status`.
int fail(const std::string& message, int status);
// A readable text for an error code of the kit reader.
std::string describe_code(uint32_t code);
// Opens the kit, reporting a failure; true on success.
bool open_kit(KitReader& reader, const std::string& kitPath);
// "YYYY-MM-DD HH:MM:SS" in UTC.
std::string format_time(const _FILETIME& time);
