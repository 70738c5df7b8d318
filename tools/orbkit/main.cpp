// orbkit: packs, lists, extracts and verifies kit files.
#include <iostream>

#include "commands.h"

namespace {

const char kUsage[] =
    "usage: orbkit COMMAND ARGUMENTS\n"
    "\n"
    "  pack SRC_DIR KIT [--title LANG=TEXT]... [--vendor LANG=TEXT]...\n"
    "                   [--readme LANG=PATH]... [--single] [--level N]\n"
    "      Packs every file below SRC_DIR into the kit file KIT. Each LANG gets\n"
    "      one product record; --single writes the single-product layout (one\n"
    "      language only). --level is the compression level, 0 to 9 (default 9).\n"
    "  list KIT\n"
    "      Shows the products, then every entry with its size and time (UTC).\n"
    "  extract KIT DIR\n"
    "      Writes every entry below DIR with its time.\n"
    "  verify KIT [--key PUB]...\n"
    "      Decompresses and checks the kit and reads every entry. With --key (a\n"
    "      minisign public key file), the kit must also carry a signature by one of\n"
    "      the keys in KIT.minisig (minisign -Sm KIT) that matches its bytes.\n"
    "\n"
    "A \"--\" ends the options of pack; later arguments are paths.\n"
    "Exit status: 0 on success, 1 on a failure, 2 on wrong usage.\n";

}  // namespace

int main(int argc, char** argv) {
  const Arguments all(argv + 1, argv + argc);
  if (all.empty()) {
    std::cerr << kUsage;
    return kExitUsage;
  }
  const std::string& command = all.front();
  const Arguments rest(all.begin() + 1, all.end());
  if (command == "--help" || command == "-h" || command == "help") {
    std::cout << kUsage;
    return kExitOk;
  }
  if (!rest.empty() && (rest.front() == "--help" || rest.front() == "-h")) {
    std::cout << kUsage;
    return kExitOk;
  }
  if (command == "pack") return run_pack(rest);
  if (command == "list") return run_list(rest);
  if (command == "extract") return run_extract(rest);
  if (command == "verify") return run_verify(rest);
  std::cerr << "orbkit: unknown command '" << command << "'\n" << kUsage;
  return kExitUsage;
}
