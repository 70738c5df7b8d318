#include <sys/stat.h>

#include <cstdlib>
#include <iostream>
#include <map>

#include "commands.h"
#include "kit/kit_tree.h"
#include "kit/kit_writer.h"
#include "progress_meter.h"

namespace {

struct PackOptions {
  std::string sourceDirectory;
  std::string kitPath;
  bool single = false;
  int level = 9;
  // Products in the order their languages first appear.
  std::vector<KitProduct> products;
};

KitProduct& product_for(PackOptions& options, const WideString& lang) {
  for (KitProduct& product : options.products) {
    if (product.lang == lang) return product;
  }
  options.products.push_back(KitProduct{lang, WideString(), WideString(), WideString()});
  return options.products.back();
}

// Parses "LANG=TEXT" into the field chosen by `option`; false when malformed.
bool add_product_text(PackOptions& options, const std::string& option, const std::string& value) {
  const size_t equals = value.find('=');
  if (equals == std::string::npos || equals == 0) return false;
  KitProduct& product = product_for(options, widen_lib(value.substr(0, equals)));
  const WideString text = widen_lib(value.substr(equals + 1));
  if (option == "--title") product.title = text;
  if (option == "--vendor") product.vendor = text;
  if (option == "--readme") product.readme = text;
  return true;
}

// Returns an error text, empty when the arguments are sound.
std::string parse(const Arguments& arguments, PackOptions& options) {
  std::vector<std::string> paths;
  bool optionsEnded = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (optionsEnded || argument.compare(0, 2, "--") != 0) {
      paths.push_back(argument);
    } else if (argument == "--") {
      optionsEnded = true;
    } else if (argument == "--single") {
      options.single = true;
    } else if (argument == "--title" || argument == "--vendor" || argument == "--readme" ||
               argument == "--level") {
      if (i + 1 == arguments.size()) return argument + " needs a value";
      const std::string& value = arguments[++i];
      if (argument == "--level") {
        char* end = nullptr;
        const long level = std::strtol(value.c_str(), &end, 10);
        if (value.empty() || *end != '\0' || level < 0 || level > 9) {
          return "--level takes a number from 0 to 9";
        }
        options.level = static_cast<int>(level);
      } else if (!add_product_text(options, argument, value)) {
        return argument + " takes LANG=TEXT, not '" + value + "'";
      }
    } else {
      return "unknown option " + argument;
    }
  }
  if (paths.size() != 2) return "pack takes SRC_DIR and KIT";
  options.sourceDirectory = paths[0];
  options.kitPath = paths[1];
  if (options.single && options.products.size() > 1) {
    return "--single keeps one product: give texts for one language only";
  }
  return std::string();
}

// Drops the entry that is the kit file itself, left from an earlier run
// inside the source tree: it is rewritten while the kit is packed.
void drop_kit_itself(const std::string& kitPath, std::vector<KitEntry>& entries) {
  struct stat64 kit;
  if (stat64(kitPath.c_str(), &kit) != 0) return;
  for (auto entry = entries.begin(); entry != entries.end(); ++entry) {
    struct stat64 status;
    if (stat64(entry->sourcePath.c_str(), &status) == 0 && status.st_dev == kit.st_dev &&
        status.st_ino == kit.st_ino) {
      entries.erase(entry);
      return;
    }
  }
}

bool names_entry(const std::vector<KitEntry>& entries, WideString path) {
  replace_all(path, kPathSeparator, kBadPathSeparator);
  for (const KitEntry& entry : entries) {
    if (entry.name == path) return true;
  }
  return false;
}

}  // namespace

int run_pack(const Arguments& arguments) {
  PackOptions options;
  const std::string usageError = parse(arguments, options);
  if (!usageError.empty()) return fail(usageError + " (see orbkit --help)", kExitUsage);

  struct stat64 status;
  if (stat64(options.sourceDirectory.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) {
    return fail("not a directory: " + options.sourceDirectory, kExitFailure);
  }
  KitLayout layout;
  layout.single = options.single;
  layout.products = options.products;
  std::string error = scan_kit_tree(options.sourceDirectory, layout.entries);
  if (!error.empty()) return fail(error, kExitFailure);
  drop_kit_itself(options.kitPath, layout.entries);
  for (const KitProduct& product : layout.products) {
    if (!product.readme.empty() && !names_entry(layout.entries, product.readme)) {
      std::cerr << "orbkit: warning: readme " << narrow_lib(product.readme)
                << " is not a file of the kit\n";
    }
  }

  ProgressMeter meter("packing");
  error = write_kit(layout, options.kitPath, options.level,
                    [&meter](uint64_t done, uint64_t total) { meter.update(done, total); });
  if (!error.empty()) return fail(error, kExitFailure);
  return kExitOk;
}
