#include "kit/entry_name.h"

bool is_safe_entry_name(const WideString& name) {
  if (name.empty() || name.front() == u'/' || name.front() == u'\\') return false;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find_first_of(u"/\\", start);
    if (end == WideString::npos) end = name.size();
    if (name.compare(start, end - start, u"..") == 0) return false;
    start = end + 1;
  }
  return name.find(u'\0') == WideString::npos;
}
