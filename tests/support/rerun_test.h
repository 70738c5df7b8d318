// Runs one test of the running test executable again in a fresh process with
// other environment variables, for what a process fixes once (its locale,
// its own path). Test thread only.
#pragma once

#include <string>
#include <vector>

// The exit status of a child test that ran and passed. A status of its own, so
// that a filter matching no test (exit status 0) is not taken for a pass.
constexpr int kChildTestPassed = 77;
// The exit status of a child test that could not set itself up (privileges it
// lacks): the test that runs it skips.
constexpr int kChildTestSkipped = 78;

// Ends a child test, reporting whether its checks passed.
[[noreturn]] void finish_child_test();

// Runs `executable` with only the test `testName` enabled and returns its exit
// status, or -1 when it could not be started or did not exit normally. The
// test is usually a DISABLED_ one, which normal runs skip, and ends with
// finish_child_test(). Variables in `environment` ("NAME=value") replace those
// of the same name; variables whose name is in `removed` are dropped.
int run_test_in_child(const std::string& executable, const std::string& testName,
                      const std::vector<std::string>& environment,
                      const std::vector<std::string>& removed = {});
