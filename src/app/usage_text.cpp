#include "app/usage_text.h"

#include "text/languages.h"

std::string usage_text(const std::string& version) {
  WideString text = LoadResString("IDS_USAGE");
  replace_all(text, u"{version}", widen_lib(version));
  return narrow_lib(text) + "\n";
}
