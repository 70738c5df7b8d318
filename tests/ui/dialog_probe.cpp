// A tiny program around the wizard dialog for the tests that need a process
// of their own (no display, a private temporary file system): it looks for
// the kit in the current directory, runs unattended with -S and in the
// language of -Lcode.
#include <cstring>
#include <string>

#include "text/languages.h"
#include "ui/installer_dlg.h"

int main(int argc, char** argv) {
  bool silent = false;
  LangIdType language = kLangEnglish;
  std::string code = "en";
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "-S") == 0) silent = true;
    if (std::strncmp(argv[i], "-L", 2) == 0 && get_lang_id_by_lang_code(argv[i] + 2) != kLangNone) {
      code = argv[i] + 2;
      language = get_lang_id_by_lang_code(code);
    }
  }
  set_resource_lang(language);
  int result = 0;
  {
    CInstallerDlg dialog(argc, argv, silent, narrow_lib(LoadResString("IDR_MAINFRAME")),
                         widen_lib(code), true);
    result = dialog.DoModal();
  }
  return result;
}
