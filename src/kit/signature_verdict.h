// Why a kit's signature, or a key it is checked with, is refused: the file
// at fault, the problem, and that problem told in the interface language.
// Plain data and a pure function; any thread.
#pragma once

#include <cstdint>
#include <string>

#include "text/wide_string.h"

enum class SignatureProblem {
  kNone,
  // Trusted keys are configured and the kit has no signature file.
  kMissing,
  // The signature or key file is a symbolic link, a directory, a pipe...
  kNotRegular,
  kTooLarge,
  // It could not be read; `code` says why.
  kUnreadable,
  kMalformed,
  kUnknownAlgorithm,
  // A key file or key directory that others than root or the running user
  // own or may write.
  kUnsafe,
  // The kit is signed by a key that is not trusted.
  kUntrustedKey,
  // The signature does not match the kit's bytes.
  kMismatch,
  // The trusted comment is not the one signed.
  kCommentChanged,
};

struct SignatureVerdict {
  SignatureProblem problem = SignatureProblem::kNone;
  // The kit, its signature file or the key file or directory at fault.
  std::string path;
  // The Win32 code of an unreadable file.
  uint32_t code = 0;

  bool refused() const { return problem != SignatureProblem::kNone; }
};

// Why `verdict` refuses, in the current resource language.
WideString signature_refusal_reason(const SignatureVerdict& verdict);
