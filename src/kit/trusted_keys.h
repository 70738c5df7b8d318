// The public keys a kit's signature is checked against: every "*.pub" file
// of the trusted-keys directory and every key file named on the command
// line. A key file or key directory that someone other than root or the
// running user owns, or that its group or others may write, is refused, so
// that no one can plant trust. Read once at start; any thread.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "kit/minisign.h"
#include "kit/signature_verdict.h"

// Where administrators put the keys they trust.
constexpr const char kTrustedKeysDirectory[] = "/etc/orbsetup/trusted-keys";
// Larger key files are refused; minisign's are about 120 bytes.
constexpr size_t kMaxKeyFileSize = 4096;

struct TrustedKey {
  std::string path;  // the key file
  MinisignPublicKey key;
};

struct TrustedKeys {
  // The directory's keys in the order of their names, then those named.
  std::vector<TrustedKey> keys;
  // The first file or directory refused; then no key is usable.
  SignatureVerdict refusal;
};

// The keys of `directory` (none when it does not exist or is empty) and of
// `keyFiles`.
TrustedKeys load_trusted_keys(const std::string& directory,
                              const std::vector<std::string>& keyFiles);
