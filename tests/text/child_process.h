// Runs one test of a test executable in a fresh child process with extra
// environment variables, for behaviour that a process fixes once (its locale,
// its own path). Test-only; main thread.
#pragma once

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

// The exit status of a child test that ran and passed. A status of its own, so
// that a filter matching no test (exit status 0) is not taken for a pass.
constexpr int kChildTestPassed = 77;

// Ends a child test, reporting whether its checks passed.
inline void finish_child_test() { std::exit(::testing::Test::HasFailure() ? 1 : kChildTestPassed); }

// Runs `executable` with only the test `testName` enabled and returns its exit
// status, or -1 when it could not be started or did not exit normally. The
// test is usually a DISABLED_ one, which normal runs skip, and ends with
// finish_child_test(). Variables in `environment` ("NAME=value") replace those
// of the same name; variables whose name is in `removed` are dropped.
inline int run_test_in_child(const std::string& executable, const std::string& testName,
                             const std::vector<std::string>& environment,
                             const std::vector<std::string>& removed = {}) {
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
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}
