#include <cstring>
#include <string>

#include "config/config_file_io.h"
#include "config/replacing_file.h"

namespace {

// The narrow form of a key or value up to its first zero byte, which would
// otherwise end the text of its chunk when the file is read again.
void append_narrow(std::string& line, const WideString& text) {
  const std::string narrow = narrow_lib(text);
  line.append(narrow.c_str(), strnlen(narrow.c_str(), narrow.size()));
}

}  // namespace

void write_config_file(const WideString& path, const ConfigFile& configFile) {
  ReplacingFile file(narrow_lib(path));
  if (!file.open()) throw 1;
  std::string line;
  for (const ConfigFileItem& item : configFile.items()) {
    for (const WideString& value : item.values) {
      line.clear();
      append_narrow(line, item.name);
      line.push_back('=');
      append_narrow(line, value);
      line.push_back('\n');
      if (!file.write(line)) throw 2;
    }
  }
  if (!file.finish()) throw 2;
  if (!file.replaceTarget()) throw 1;
}
