// Fuzz target of the launcher configuration file reader, fed from memory:
// whatever it reads must be written as a text that reads back to the same
// settings, as the template list's round trip through the files needs.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "config/config_file_io.h"

namespace {

ConfigFile read_text(const void* data, size_t size) {
  ConfigFile model;
  FILE* stream = fmemopen(const_cast<void*>(data), size, "r");
  if (stream == nullptr) std::abort();
  read_config_stream(stream, model);
  fclose(stream);
  return model;
}

bool same(const ConfigFile& left, const ConfigFile& right) {
  if (left.items().size() != right.items().size()) return false;
  for (size_t i = 0; i < left.items().size(); ++i) {
    if (left.items()[i].name != right.items()[i].name ||
        left.items()[i].values != right.items()[i].values) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const ConfigFile model = read_text(data, size);
  const std::string text = config_file_text(model);
  if (!text.empty() && !same(model, read_text(text.data(), text.size()))) std::abort();
  return 0;
}
