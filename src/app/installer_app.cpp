#include "app/installer_app.h"

#include "app/startup.h"
#include "ui/installer_dlg.h"

CInstallerApp::CInstallerApp(int argc, char** argv) : m_argc(argc), m_argv(argv) {}

int CInstallerApp::InitInstance() {
  m_language = kLangNone;
  const CommandLine commandLine = scan_command_line(m_argc, m_argv);
  const StartupOptions options = choose_startup_options(commandLine, user_locale_name());
  m_language = options.language;
  set_resource_lang(m_language);
  m_title = LoadResString("IDR_MAINFRAME");

  CInstallerDlg dialog(m_argc, m_argv, options.silent, narrow_lib(m_title), options.languageCode,
                       options.useCurrentDirectory);
  return dialog.DoModal();
}
