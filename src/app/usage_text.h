// The text that "setup --help" prints: the command line, the options, the
// exit codes and the installation log's format, in English for administrators
// and their tools. Pure; any thread.
#pragma once

#include <string>

std::string usage_text(const std::string& version);
