#include "ui_test_support.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "kit/kit_tree.h"
#include "kit/kit_writer.h"
#include "support/file_contents.h"

Sandbox::Sandbox() : m_directory("ui_sandbox.", ".") {
  for (const char* name : {"HOME", "TMPDIR", "PATH"}) {
    const char* value = getenv(name);
    m_savedEnvironment.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
  }
  for (const char* name : {"home", "tmp", "bin"}) mkdir((m_directory / name).c_str(), 0755);
  write_file(m_directory / "bin/xdg-open",
             "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\" >> '" + opened() + "'; done\n");
  chmod((m_directory / "bin/xdg-open").c_str(), 0755);
  setenv("HOME", (m_directory / "home").c_str(), 1);
  setenv("TMPDIR", (m_directory / "tmp").c_str(), 1);
  const std::string path = m_savedEnvironment.back().second.value_or("/usr/bin:/bin");
  setenv("PATH", (m_directory / "bin:" + path).c_str(), 1);
}

Sandbox::~Sandbox() {
  for (const auto& [name, value] : m_savedEnvironment) {
    if (value) {
      setenv(name.c_str(), value->c_str(), 1);
    } else {
      unsetenv(name.c_str());
    }
  }
}

void makeKit(const std::string& tree, const std::map<std::string, std::string>& files,
             const std::vector<KitProduct>& products, const std::string& kitDirectory) {
  for (const auto& [name, content] : files) {
    const std::string path = tree + "/" + name;
    std::filesystem::create_directories(path.substr(0, path.rfind('/')));
    write_file(path, content);
    const struct timespec times[2] = {{1600000000, 0}, {1600000000, 0}};
    utimensat(AT_FDCWD, path.c_str(), times, 0);
  }
  KitLayout layout;
  layout.products = products;
  std::string error = scan_kit_tree(tree, layout.entries);
  if (error.empty()) {
    std::filesystem::create_directories(kitDirectory);
    error = write_kit(layout, kitDirectory + "/orbp8.pkd", 6, nullptr);
  }
  if (!error.empty()) throw std::runtime_error("kit: " + error);
}
