#include "kit/entry_name.h"

bool is_safe_entry_name(const WideString& name) {
  if (name.find(u'\0') != WideString::npos) return false;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find_first_of(u"/\\", start);
    if (end == WideString::npos) end = name.size();
    const WideString component = name.substr(start, end - start);
    if (component.empty() || component == u"." || component == u"..") return false;
    start = end + 1;
  }
  return true;
}
