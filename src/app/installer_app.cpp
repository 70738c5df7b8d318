#include "app/installer_app.h"

#include <gtk/gtk.h>

#include "app/startup.h"
#include "ui/installer_dlg.h"

CInstallerApp::CInstallerApp(int argc, char** argv) : m_argc(argc), m_argv(argv) {}

int CInstallerApp::InitInstance() {
  m_language = kLangNone;
  const CommandLine commandLine = scan_command_line(m_argc, m_argv);
  const StartupOptions options = choose_startup_options(commandLine, user_locale_name());
  m_language = options.language;
  set_resource_lang(m_language);
  // GTK's own captions in the same language; the locale is the user's
  // already, and GTK must not select it again over the message language.
  select_message_language(narrow_lib(options.languageCode));
  gtk_disable_setlocale();
  m_title = LoadResString("IDR_MAINFRAME");

  CInstallerDlg dialog(m_argc, m_argv, options.silent, narrow_lib(m_title), options.languageCode,
                       options.useCurrentDirectory);
  return dialog.DoModal();
}
