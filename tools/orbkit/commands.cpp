#include "commands.h"

#include <ctime>
#include <iostream>

int fail(const std::string& message, int status) {
  std::cerr << "orbkit: " << message << "\n";
  return status;
}

std::string describe_code(uint32_t code) {
  switch (code) {
    case ERROR_FILE_NOT_FOUND:
      return "file not found";
    case ERROR_INVALID_DATA:
      return "damaged or unsafe kit";
    case ERROR_DISK_FULL:
      return "no space left in the temporary directory";
    case ERROR_INVALID_PARAMETER:
      return "system error (invalid parameter)";
    case ERROR_CANNOT_MAKE:
      return "cannot create a temporary file";
    case ERROR_INVALID_IMAGE_HASH:
      return "the kit changed after its signature was checked";
    default:
      return "error " + std::to_string(code);
  }
}

bool open_kit(KitReader& reader, const std::string& kitPath) {
  const uint32_t code = reader.open(widen_lib(kitPath));
  if (code == 0) return true;
  fail("cannot read kit " + kitPath + ": " + describe_code(code), kExitFailure);
  return false;
}

std::string format_time(const _FILETIME& time) {
  const time_t seconds = static_cast<time_t>(FileTimeToEpoch(time));
  struct tm parts;
  char text[32] = "?";
  if (gmtime_r(&seconds, &parts) != nullptr) {
    strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &parts);
  }
  return text;
}
