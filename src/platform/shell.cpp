#include "platform/shell.h"

#include <time.h>

#include <cstdlib>

namespace {

constexpr int kLineBufferSize = 255;

}  // namespace

int run_linux_command(const std::string& commandLine) { return std::system(commandLine.c_str()); }

FILE* _wfopen(const WideString& path, const WideString& mode) {
  return std::fopen(narrow_lib(path).c_str(), narrow_lib(mode).c_str());
}

WideString get_one_line_output(const WideString& commandLine) {
  FILE* const pipe = popen(narrow_lib(commandLine).c_str(), "r");
  if (pipe == nullptr) {
    return WideString();
  }
  char line[kLineBufferSize];
  std::string kept;
  if (std::fgets(line, sizeof line, pipe) != nullptr) {
    kept = line;
    if (!kept.empty()) {
      kept.pop_back();  // the line feed of a complete line
    }
  }
  pclose(pipe);
  return widen_lib(kept);
}

void Sleep(int milliseconds) {
  if (milliseconds <= 0) {
    return;
  }
  // nanosleep rather than usleep: the whole int range of milliseconds fits.
  const timespec duration{milliseconds / 1000, (milliseconds % 1000) * 1000000L};
  nanosleep(&duration, nullptr);
}
