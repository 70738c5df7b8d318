// The application object: reads the command line (printing the version or the
// help when asked for, and a warning for each option it does not know),
// settles the interface language and the window title, opens the
// installation log, then runs the wizard dialog to its end.
// Main (GTK) thread only.
#pragma once

#include "text/languages.h"
#include "text/wide_string.h"

class CInstallerApp {
 public:
  // Keeps argc and argv as main received them; nothing is chosen yet.
  CInstallerApp(int argc, char** argv);

  // Runs the whole program and returns the process exit code
  // (ui/exit_code.h): 0 installed (or the help or version printed), 1 not
  // installed or failed, 2 cancelled.
  int InitInstance();

  LangIdType language() const { return m_language; }
  const WideString& title() const { return m_title; }

 private:
  int m_argc;
  char** m_argv;
  LangIdType m_language = kLangNone;
  WideString m_title;
};
