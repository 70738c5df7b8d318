// Start-up decisions taken from the command line and the locale: the use of the
// current directory for the kit, unattended mode, a dry run, the template
// directory, the installation log, the requests for help and for the version,
// the options not known, and the interface language.
// Pure functions apart from user_locale_name() and select_message_language();
// main thread, before any other.
#pragma once

#include <string>
#include <vector>

#include "text/languages.h"
#include "text/wide_string.h"

// What the argument scan found.
struct CommandLine {
  bool useCurrentDirectory = false;  // argv[1] is exactly "usecwd"
  bool silent = false;               // an S option came before any L option
  bool dryRun = false;               // an N option came before any L option
  bool help = false;                 // an argument is "--help", "-h" or "/?"
  bool version = false;              // an argument is "--version"
  bool hasTarget = false;            // a D option came before any L option
  std::string targetPath;            // the bytes after the last D option, maybe empty
  std::string logPath;               // the bytes after the last non-empty G option
  std::vector<std::string> unknownOptions;  // read, but not the program's
  std::vector<std::string> keyFiles;  // the bytes after each non-empty K option
  bool hasLanguageSwitch = false;    // an L option was seen (the scan stopped there)
  std::string languageSwitchCode;    // the bytes after "-L", possibly empty
};

struct StartupOptions {
  bool useCurrentDirectory = false;
  bool silent = false;  // also set by a dry run, which never asks anything
  bool dryRun = false;
  bool hasTarget = false;
  std::string targetPath;  // -D: the template directory as typed
  std::string logPath;     // empty: no installation log
  std::vector<std::string> keyFiles;  // trusted public key files besides the directory's
  LangIdType language = kLangEnglish;
  WideString languageCode = u"en";  // picks the kit's titles and description
};

// Scans argv[1..argc-1] (argv[2..] after "usecwd") for options that start with
// '-' or '/', looking at their first two bytes: S (either case) sets silent
// mode, N a dry run, D the template directory (the bytes after it, a later
// one wins), G the log's path (the bytes after it; an empty one is ignored, a
// later one wins), K a trusted key file (the bytes after it, an empty one
// ignored; each one counts), L (either case) ends the scan with the language
// code that follows it. Any other option is ignored and listed in
// unknownOptions; words that are no options are ignored. Help is asked by any
// argument that is exactly "--help", "-h" or "/?", the version by
// "--version", wherever they stand.
CommandLine scan_command_line(int argc, const char* const* argv);

// The language: the switch's code when the table knows it, else the locale
// name cut to two bytes when the table knows that (localeName may be null),
// else English.
StartupOptions choose_startup_options(const CommandLine& commandLine, const char* localeName);

// Selects the user's locale for the process and returns its name ("C" when the
// environment names no usable locale).
const char* user_locale_name();

// Makes message catalogues, GTK's among them, speak the language `code`:
// LANGUAGE names it, and a "C" or "POSIX" LC_MESSAGES, for which gettext
// ignores LANGUAGE, is replaced by a UTF-8 locale that exists. Returns the
// LC_MESSAGES locale then in effect. Call before the toolkit starts.
std::string select_message_language(const std::string& code);
