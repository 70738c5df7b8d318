#include "support/rerun_test.h"

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>

extern char** environ;

void finish_child_test() { std::exit(::testing::Test::HasFailure() ? 1 : kChildTestPassed); }

int run_test_in_child(const std::string& executable, const std::string& testName,
                      const std::vector<std::string>& environment,
                      const std::vector<std::string>& removed) {
  std::vector<std::string> variables;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string variable = *entry;
    const std::string name = variable.substr(0, variable.find('='));
    bool keep = true;
    for (const std::string& other : environment) keep &= other.substr(0, other.find('=')) != name;
    for (const std::string& other : removed) keep &= other != name;
    if (keep) variables.push_back(variable);
  }
  variables.insert(variables.end(), environment.begin(), environment.end());

  std::vector<std::string> arguments = {executable, "--gtest_also_run_disabled_tests",
                                        "--gtest_filter=" + testName};
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (std::string& variable : variables) envp.push_back(variable.data());
  envp.push_back(nullptr);

  pid_t pid;
  if (posix_spawn(&pid, executable.c_str(), nullptr, nullptr, argv.data(), envp.data()) != 0) {
    return -1;
  }
  int status = 0;
  while (waitpid(pid, &status, 0) != pid) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
