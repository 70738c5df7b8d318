#include <cstring>
#include <string>

#include "config/config_file_io.h"
#include "config/in_place_file.h"
#include "config/replacing_file.h"

namespace {

// The narrow form of a key or value up to its first zero byte, which would
// otherwise end the text of its chunk when the file is read again.
void append_narrow(std::string& line, const WideString& text) {
  const std::string narrow = narrow_lib(text);
  line.append(narrow.c_str(), strnlen(narrow.c_str(), narrow.size()));
}

}  // namespace

std::string config_file_text(const ConfigFile& configFile) {
  std::string text;
  for (const ConfigFileItem& item : configFile.items()) {
    for (const WideString& value : item.values) {
      append_narrow(text, item.name);
      text.push_back('=');
      append_narrow(text, value);
      text.push_back('\n');
    }
  }
  return text;
}

void write_config_file(const WideString& path, const ConfigFile& configFile) {
  const std::string text = config_file_text(configFile);
  ReplacingFile file(narrow_lib(path));
  if (!file.open()) {
    // A shared setup may let us write the file but not its directory.
    if (!file.directoryRefused()) throw 1;
    InPlaceFile inPlace(file.target());
    if (!inPlace.open()) throw 1;
    if (!inPlace.rewrite(text)) throw 2;
    return;
  }
  if (!file.write(text) || !file.finish()) throw 2;
  if (!file.replaceTarget()) throw 1;
}
