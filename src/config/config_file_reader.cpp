#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "config/config_file_io.h"
#include "platform/shell.h"

namespace {

constexpr size_t kChunkSize = 1024;

// Splits the bytes of the file into lines, keys and values, and decodes each
// key and value as a whole when its line ends. Neither the line feed nor "="
// occurs inside a multibyte character of the locale encodings in use (UTF-8
// and the other ASCII-compatible ones), so splitting the bytes first gives the
// same text as decoding first, and a character that a chunk boundary cuts in
// two reaches the decoder whole. Bytes that never decode keep their value
// through widen_lib and narrow_lib.
class LineScanner {
 public:
  explicit LineScanner(ConfigFile& configFile) : m_configFile(configFile) {}

  void scan(const char* bytes, size_t count) {
    for (size_t i = 0; i < count; ++i) {
      const char byte = bytes[i];
      if (byte == '\n') {
        endLine();
      } else if (!m_inValue && byte == '=') {
        m_inValue = true;
      } else {
        (m_inValue ? m_value : m_key).push_back(byte);
      }
    }
  }

  // Stores the last line, which need not end with a line feed.
  void finish() { endLine(); }

 private:
  void endLine() {
    if (!m_key.empty() || !m_value.empty()) {
      add_value_to_config_file(m_configFile, widen_lib(m_key), widen_lib(m_value));
    }
    m_key.clear();
    m_value.clear();
    m_inValue = false;
  }

  ConfigFile& m_configFile;
  std::string m_key;
  std::string m_value;
  bool m_inValue = false;
};

struct FileCloser {
  void operator()(FILE* file) const { fclose(file); }
};

}  // namespace

void add_value_to_config_file(ConfigFile& configFile, const WideString& name,
                              const WideString& value) {
  configFile.addValue(name, value);
}

void read_config_file(const WideString& path, ConfigFile& configFile) {
  std::unique_ptr<FILE, FileCloser> file(_wfopen(path, u"rt, ccs=UNICODE"));
  if (file) read_config_stream(file.get(), configFile);
}

void read_config_stream(FILE* stream, ConfigFile& configFile) {
  LineScanner scanner(configFile);
  // Every chunk's text ends at its first zero byte: the rest of that chunk is
  // skipped, and a chunk that starts with a zero byte ends the file.
  char chunk[kChunkSize + 1];
  for (;;) {
    std::memset(chunk, 0, sizeof chunk);
    const size_t count = std::fread(chunk, 1, kChunkSize, stream);
    const size_t textLength = strnlen(chunk, count);
    if (textLength == 0) break;
    scanner.scan(chunk, textLength);
  }
  scanner.finish();
}

bool is_ansi_encoded(const WideString& path) {
  std::unique_ptr<FILE, FileCloser> file(_wfopen(path, u"r"));
  if (!file) return false;
  unsigned char start[2];
  if (std::fread(start, 1, sizeof start, file.get()) != sizeof start) return false;
  return !(start[0] == 0xFF && start[1] == 0xFE);
}
