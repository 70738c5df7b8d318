#include "text/failure_text.h"

#include "platform/win32_types.h"
#include "text/languages.h"

WideString failure_reason(uint32_t code) {
  switch (code) {
    case ERROR_DISK_FULL:
      return LoadResString("IDS_REASON_DISKFULL");
    case ERROR_ACCESS_DENIED:
      return LoadResString("IDS_REASON_ACCESS");
    case ERROR_WRITE_PROTECT:
      return LoadResString("IDS_REASON_READONLY");
    case ERROR_ALREADY_EXISTS:
    case ERROR_PATH_NOT_FOUND:
      return LoadResString("IDS_REASON_INTHEWAY");
    case ERROR_CANT_RESOLVE_FILENAME:
      return LoadResString("IDS_REASON_LINK");
    case ERROR_FILE_NOT_FOUND:
      return LoadResString("IDS_REASON_NOTFOUND");
    case ERROR_INVALID_DATA:
      return LoadResString("IDS_REASON_DAMAGED");
    case ERROR_RECOVERY_FAILURE:
      return LoadResString("IDS_REASON_RESTORE");
    case ERROR_IO_DEVICE:
      return LoadResString("IDS_REASON_IO");
    case ERROR_BAD_FILE_TYPE:
      return LoadResString("IDS_REASON_NOTREGULAR");
    case ERROR_INVALID_OWNER:
      return LoadResString("IDS_REASON_UNTRUSTED");
    case ERROR_FILE_TOO_LARGE:
      return LoadResString("IDS_REASON_TOOLARGE");
    case ERROR_BAD_FORMAT:
      return LoadResString("IDS_REASON_NOTRECORD");
    case ERROR_INVALID_IMAGE_HASH:
      return LoadResString("IDS_REASON_KITCHANGED");
    default:
      return LoadResString("IDS_REASON_OTHER") + u" " + string_uito(code, 10);
  }
}

WideString failure_detail(const WideString& path, uint32_t code) {
  if (path.empty()) return failure_reason(code);
  return path + u": " + failure_reason(code);
}
