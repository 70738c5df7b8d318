// Process helpers: running a command line through the shell, reading the first
// line a command prints, opening a file by a wide path, and sleeping. The file
// operations never use the first two. Any thread.
#pragma once

#include <cstdio>
#include <string>

#include "text/wide_string.h"

// Hands the command line unchanged to system(); returns its result.
int run_linux_command(const std::string& commandLine);
// fopen of the narrowed path and mode.
FILE* _wfopen(const WideString& path, const WideString& mode);
// The first line (at most 254 bytes, last byte dropped) printed by the command.
WideString get_one_line_output(const WideString& commandLine);
// Sleeps for the given number of milliseconds.
void Sleep(int milliseconds);
