// The seed corpus of the kit fuzz target: small valid inputs, generated
// rather than stored. Fuzzer thread only.
#pragma once

#include <string>

// The first byte of a fuzz input chooses how the rest is used.
constexpr unsigned char kInputIsContainer = 0;  // compressed by the target
constexpr unsigned char kInputIsKitFile = 1;    // used as the kit file as is

// Writes the seeds as files into `directory`; returns false on failure.
bool write_fuzz_seeds(const std::string& directory);
