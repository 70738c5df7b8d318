// Runs a piece of a test in a forked child, for what must not touch the test
// process itself: a private mount namespace, another user id. The child
// reports back one line of text. One test thread.
#pragma once

#include <functional>
#include <string>

// Runs `body` in a child process and returns the text it returned, or a
// description of how the child ended abnormally. Texts starting with
// "skip:" tell the caller that the child could not set up its environment.
std::string run_in_child(const std::function<std::string()>& body);
