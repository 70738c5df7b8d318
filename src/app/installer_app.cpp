#include "app/installer_app.h"

#include <gtk/gtk.h>

#include <cstdio>
#include <vector>

#include "app/startup.h"
#include "app/usage_text.h"
#include "install/install_log.h"
#include "kit/trusted_keys.h"
#include "ui/exit_code.h"
#include "ui/installer_dlg.h"

CInstallerApp::CInstallerApp(int argc, char** argv) : m_argc(argc), m_argv(argv) {}

int CInstallerApp::InitInstance() {
  m_language = kLangNone;
  const CommandLine commandLine = scan_command_line(m_argc, m_argv);
  if (commandLine.version) {
    std::printf("setup %s\n", ORB_SETUP_VERSION);
    return kExitSuccess;
  }
  const StartupOptions options = choose_startup_options(commandLine, user_locale_name());
  m_language = options.language;
  set_resource_lang(m_language);
  if (commandLine.help) {
    std::fputs(usage_text(ORB_SETUP_VERSION).c_str(), stdout);
    return kExitSuccess;
  }
  // Opened before the kit is looked at, so that a missing kit is logged too;
  // a log that cannot be written is reported and the run goes on.
  InstallLog log;
  if (!options.logPath.empty()) log.open(options.logPath);
  // GTK's own captions in the same language; the locale is the user's
  // already, and GTK must not select it again over the message language.
  select_message_language(narrow_lib(options.languageCode));
  gtk_disable_setlocale();
  m_title = LoadResString("IDR_MAINFRAME");

  // GTK's own options (--display=... and the like) are taken out before the
  // program tells which options it ignores; the dialog gets what is left.
  std::vector<char*> arguments(m_argv, m_argv + m_argc);
  arguments.push_back(nullptr);
  int count = m_argc;
  char** reduced = arguments.data();
  gtk_parse_args(&count, &reduced);
  for (const std::string& option : scan_command_line(count, reduced).unknownOptions) {
    std::fprintf(stderr, "setup: %s %s\n", narrow_lib(LoadResString("IDS_UNKNOWN_OPTION")).c_str(),
                 option.c_str());
  }

  CInstallerDlg dialog(count, reduced, options.silent, narrow_utf8(m_title), options.languageCode,
                       options.useCurrentDirectory);
  dialog.setRunOptions(log.isOpen() ? &log : nullptr, options.dryRun, ORB_SETUP_VERSION);
  if (options.hasTarget) dialog.setTargetOption(widen_lib(options.targetPath));
  dialog.setTrustedKeys(load_trusted_keys(kTrustedKeysDirectory, options.keyFiles));
  return dialog.DoModal();
}
