#include "support/rerun_test.h"

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

extern char** environ;

void finish_child_test() { std::exit(::testing::Test::HasFailure() ? 1 : kChildTestPassed); }

int run_test_in_child(const std::string& executable, const std::string& testName,
                      const std::vector<std::string>& environment,
                      const std::vector<std::string>& removed) {
  std::vector<std::string> variables = environment;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string variable = *entry, name = variable.substr(0, variable.find('='));
    bool keep = std::find(removed.begin(), removed.end(), name) == removed.end();
    for (const std::string& other : environment) keep &= other.substr(0, other.find('=')) != name;
    if (keep) variables.push_back(variable);
  }
  std::vector<std::string> arguments = {executable, "--gtest_also_run_disabled_tests",
                                        "--gtest_filter=" + testName};
  const auto pointers = [](std::vector<std::string>& texts) {
    std::vector<char*> list;
    for (std::string& text : texts) list.push_back(text.data());
    list.push_back(nullptr);
    return list;
  };
  pid_t pid;
  if (posix_spawn(&pid, executable.c_str(), nullptr, nullptr, pointers(arguments).data(),
                  pointers(variables).data()) != 0) {
    return -1;
  }
  int status = 0;
  while (waitpid(pid, &status, 0) != pid) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
