// The text that "setup --help" prints: the command line, the options, the
// exit codes and the installation log's format, in the current resource
// language and the locale's character set. Any thread, once the language is
// set.
#pragma once

#include <string>

std::string usage_text(const std::string& version);
