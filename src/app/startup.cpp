#include "app/startup.h"

#include <clocale>
#include <cstdlib>
#include <cstring>

#include "text/locale_codec.h"

namespace {

// '-' (0x2D) and '/' (0x2F) differ only in bit 1.
bool is_option(const char* argument) {
  return (static_cast<unsigned char>(argument[0]) & ~0x02u) == 0x2D;
}

// The option letter with bit 5 cleared, so that letters compare without case.
unsigned option_letter(const char* argument) {
  return static_cast<unsigned char>(argument[1]) & ~0x20u;
}

// The language id and code for `code` when the table knows it.
bool try_language(const std::string& code, StartupOptions& options) {
  const LangIdType id = get_lang_id_by_lang_code(code);
  if (id == kLangNone) return false;
  options.language = id;
  options.languageCode = widen_lib(code);
  return true;
}

}  // namespace

CommandLine scan_command_line(int argc, const char* const* argv) {
  CommandLine result;
  int first = 1;
  if (argc >= 2 && std::strcmp(argv[1], "usecwd") == 0) {
    result.useCurrentDirectory = true;
    first = 2;
  }
  const auto isRequest = [](const char* argument) {
    for (const char* request : {"--help", "-h", "/?", "--version"}) {
      if (std::strcmp(argument, request) == 0) return true;
    }
    return false;
  };
  for (int i = 1; i < argc; ++i) {
    if (!isRequest(argv[i])) continue;
    if (std::strcmp(argv[i], "--version") == 0) {
      result.version = true;
    } else {
      result.help = true;
    }
  }
  for (int i = first; i < argc; ++i) {
    const char* argument = argv[i];
    if (!is_option(argument) || isRequest(argument)) continue;
    const unsigned letter = option_letter(argument);
    if (letter == 'S') {
      result.silent = true;
    } else if (letter == 'N') {
      result.dryRun = true;
    } else if (letter == 'D') {
      result.hasTarget = true;
      result.targetPath = argument + 2;
    } else if (letter == 'G') {
      if (argument[2] != '\0') result.logPath = argument + 2;
    } else if (letter == 'K') {
      if (argument[2] != '\0') result.keyFiles.emplace_back(argument + 2);
    } else if (letter == 'L') {
      result.hasLanguageSwitch = true;
      result.languageSwitchCode = argument + 2;
      break;
    } else {
      result.unknownOptions.emplace_back(argument);
    }
  }
  return result;
}

StartupOptions choose_startup_options(const CommandLine& commandLine, const char* localeName) {
  StartupOptions options;
  options.useCurrentDirectory = commandLine.useCurrentDirectory;
  options.silent = commandLine.silent || commandLine.dryRun;
  options.dryRun = commandLine.dryRun;
  options.hasTarget = commandLine.hasTarget;
  options.targetPath = commandLine.targetPath;
  options.logPath = commandLine.logPath;
  options.keyFiles = commandLine.keyFiles;
  if (commandLine.hasLanguageSwitch && try_language(commandLine.languageSwitchCode, options)) {
    return options;
  }
  if (localeName != nullptr && try_language(std::string(localeName).substr(0, 2), options)) {
    return options;
  }
  return options;  // English, the defaults
}

const char* user_locale_name() {
  // The text conversions select the user's locale once; asking for the name
  // afterwards avoids a second setlocale(LC_ALL, "") with the same effect.
  text::ensure_user_locale();
  return std::setlocale(LC_ALL, nullptr);
}

std::string select_message_language(const std::string& code) {
  setenv("LANGUAGE", code.c_str(), 1);
  const std::string current = std::setlocale(LC_MESSAGES, nullptr);
  if (current != "C" && current != "POSIX") return current;
  // Only the message texts change: the character set stays the user's.
  for (const char* candidate : {"C.UTF-8", "C.utf8", "en_US.UTF-8"}) {
    const char* selected = std::setlocale(LC_MESSAGES, candidate);
    if (selected != nullptr) return selected;
  }
  return current;
}
