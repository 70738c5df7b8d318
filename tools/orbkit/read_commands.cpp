#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>

#include "commands.h"
#include "progress_meter.h"

namespace {

// Creates `path` as a directory unless it is one already; a symbolic link
// is refused so that nothing lands outside the target. Returns an error text.
std::string ensure_directory(const std::string& path) {
  struct stat64 status;
  if (lstat64(path.c_str(), &status) == 0) {
    return S_ISDIR(status.st_mode) ? std::string() : "not a directory: " + path;
  }
  if (::mkdir(path.c_str(), 0777) != 0 && errno != EEXIST) {
    return "cannot create directory " + path + ": " + std::strerror(errno);
  }
  return std::string();
}

// Creates every directory of `relative` below `root` except the last
// component; returns an error text.
std::string prepare_parents(const std::string& root, const std::string& relative) {
  for (size_t slash = relative.find('/'); slash != std::string::npos;
       slash = relative.find('/', slash + 1)) {
    if (slash == 0 || relative[slash - 1] == '/') continue;
    std::string error = ensure_directory(root + "/" + relative.substr(0, slash));
    if (!error.empty()) return error;
  }
  return std::string();
}

}  // namespace

int run_list(const Arguments& arguments) {
  if (arguments.size() != 1) return fail("list takes KIT (see orbkit --help)", kExitUsage);
  KitReader reader;
  if (!open_kit(reader, arguments[0])) return kExitFailure;
  for (const config::ProductInfo& product : reader.getProducts()) {
    std::cout << "product " << narrow_lib(product.lang) << ": title \"" << narrow_lib(product.title)
              << "\" vendor \"" << narrow_lib(product.vendor) << "\" readme \""
              << narrow_lib(product.readme) << "\"\n";
  }
  config::FileData<FileSystem> entry;
  for (uint32_t i = 0; i < reader.count(); ++i) {
    reader.get(i, entry);
    std::cout << entry.size << "  " << format_time(entry.time) << "  " << narrow_lib(entry.name)
              << "\n";
  }
  std::cout << reader.count() << " files\n";
  return kExitOk;
}

int run_extract(const Arguments& arguments) {
  if (arguments.size() != 2)
    return fail("extract takes KIT and DIR (see orbkit --help)", kExitUsage);
  const std::string& root = arguments[1];
  KitReader reader;
  if (!open_kit(reader, arguments[0])) return kExitFailure;
  std::string error = ensure_directory(root);
  if (!error.empty()) return fail(error, kExitFailure);

  // Entry names passed the reader's rule: relative, no "..", no zero unit.
  config::FileData<FileSystem> entry;
  ProgressMeter meter("extracting");
  for (uint32_t i = 0; i < reader.count(); ++i) {
    reader.get(i, entry);
    WideString relative = entry.name;
    replace_all(relative, kBadPathSeparator, kPathSeparator);
    const std::string narrow = narrow_lib(relative);
    error = prepare_parents(root, narrow);
    if (!error.empty()) return fail(error, kExitFailure);
    const std::string target = root + "/" + narrow;
    struct stat64 status;
    if (lstat64(target.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
      return fail("not a regular file: " + target, kExitFailure);
    }
    const uint32_t code = reader.copy(i, widen_lib(target));
    if (code != 0) return fail("cannot write " + target + ": " + describe_code(code), kExitFailure);
    meter.update(i + 1, reader.count());
  }
  return kExitOk;
}
