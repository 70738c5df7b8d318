// A tiny program around the wizard dialog for the tests that need a process
// of their own (no display, a private temporary file system): it looks for
// the kit in the current directory and passes -S and -L on to the dialog.
#include <cstring>
#include <string>

#include "text/languages.h"
#include "ui/installer_dlg.h"

int main(int argc, char** argv) {
  bool silent = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "-S") == 0) silent = true;
  }
  set_resource_lang(kLangEnglish);
  int result = 0;
  {
    CInstallerDlg dialog(argc, argv, silent, "Probe", u"en", true);
    result = dialog.DoModal();
  }
  return result;
}
