#include "app/installer_app.h"

#include <gtk/gtk.h>

#include <cstdio>

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
  if (commandLine.help) {
    std::fputs(usage_text(ORB_SETUP_VERSION).c_str(), stdout);
    return kExitSuccess;
  }
  const StartupOptions options = choose_startup_options(commandLine, user_locale_name());
  // Opened before the kit is looked at, so that a missing kit is logged too;
  // a log that cannot be written is reported and the run goes on.
  InstallLog log;
  if (!options.logPath.empty()) log.open(options.logPath);
  m_language = options.language;
  set_resource_lang(m_language);
  // GTK's own captions in the same language; the locale is the user's
  // already, and GTK must not select it again over the message language.
  select_message_language(narrow_lib(options.languageCode));
  gtk_disable_setlocale();
  m_title = LoadResString("IDR_MAINFRAME");

  CInstallerDlg dialog(m_argc, m_argv, options.silent, narrow_lib(m_title), options.languageCode,
                       options.useCurrentDirectory);
  dialog.setRunOptions(log.isOpen() ? &log : nullptr, options.dryRun, ORB_SETUP_VERSION);
  dialog.setTrustedKeys(load_trusted_keys(kTrustedKeysDirectory, options.keyFiles));
  return dialog.DoModal();
}
