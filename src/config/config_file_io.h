// Reading and writing launcher configuration files in their text format: one
// "key=value" line per value, a line feed ends a line, nothing is trimmed, text
// in the user's locale encoding. Used by one thread at a time (the UI thread).
#pragma once

#include <cstdio>
#include <string>

#include "config/config_file.h"
#include "text/wide_string.h"

// Stores one line's key and value in the model (addValue of copies).
void add_value_to_config_file(ConfigFile& configFile, const WideString& name,
                              const WideString& value);

// Adds the settings of the file to the model without clearing it first. A file
// that cannot be opened leaves the model as it was.
void read_config_file(const WideString& path, ConfigFile& configFile);
// The same from an open stream, read to its end.
void read_config_stream(FILE* stream, ConfigFile& configFile);
// The whole text write_config_file writes for the model: one "key=value" line
// per value, each key and value up to its first zero unit.
std::string config_file_text(const ConfigFile& configFile);

// Replaces the file with the model's content (file_replacement.h): the new
// text goes to a temporary file in the same directory, reaches the disk, and
// is renamed over the old one, which keeps its owner and permission bits; a
// symbolic link keeps pointing at the file. Temporaries that crashed writers
// left in that directory are removed first.
// A new file is never writable by group or others, whatever the umask. When
// the directory takes no new file but the file may be written, the file is
// rewritten in place instead (not atomic; see in_place_file.h).
// Throws the int 1 when the file cannot be written at all and the int 2 when
// the text cannot be written or put in place; a replaced file then stays as
// it was, and one rewritten in place gets its old content back as far as the
// disk allows.
void write_config_file(const WideString& path, const ConfigFile& configFile);

// True when the file can be read, holds at least two bytes and does not start
// with the UTF-16 little-endian byte-order mark.
bool is_ansi_encoded(const WideString& path);
