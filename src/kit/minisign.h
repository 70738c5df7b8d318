// Minisign public key files and signature files read from their text, and a
// signature checked against a key with libsodium's Ed25519: the prehashed
// algorithm ("ED", over the BLAKE2b-512 digest of the file), the legacy one
// ("Ed", over the file itself) and the global signature that binds the
// trusted comment to it. Pure functions; any thread.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "kit/kit_digest.h"

enum class MinisignFault {
  kNone,
  // Not the file's layout: lines, comment prefixes, base64, lengths.
  kMalformed,
  // A signature or key algorithm other than "ED" and "Ed".
  kUnknownAlgorithm,
  // The signature does not match the file under this key.
  kMismatch,
  // The trusted comment is not the one signed with the file's signature.
  kCommentChanged,
};

using MinisignKeyId = std::array<uint8_t, 8>;

struct MinisignPublicKey {
  MinisignKeyId keyId{};
  std::array<uint8_t, 32> key{};
};

struct MinisignSignature {
  // "ED": the signature is over the file's BLAKE2b-512 digest.
  bool prehashed = true;
  MinisignKeyId keyId{};
  std::array<uint8_t, 64> signature{};
  // The text after "trusted comment: " on its line.
  std::string trustedComment;
  std::array<uint8_t, 64> globalSignature{};
};

// A public key file as `minisign -G` writes it: an "untrusted comment: "
// line, then the base64 of the algorithm "Ed", the key id and the key.
MinisignFault parse_minisign_public_key(const std::string& text, MinisignPublicKey& key);
// A signature file as `minisign -S` writes it: an "untrusted comment: " line,
// the base64 of the algorithm, the key id and the signature, a "trusted
// comment: " line and the base64 of the global signature.
MinisignFault parse_minisign_signature(const std::string& text, MinisignSignature& signature);

// Whether `signature` names `key` by its key id.
bool minisign_signed_by(const MinisignSignature& signature, const MinisignPublicKey& key);
// The key id as minisign shows it: a little-endian number in upper-case hex.
std::string minisign_key_id_text(const MinisignKeyId& keyId);

// Checks `signature` (by `key`, see minisign_signed_by) over a file whose
// digest is `digest`; a legacy signature needs the file's `size` bytes at
// `message` instead. Then checks the trusted comment's global signature.
MinisignFault verify_minisign(const MinisignSignature& signature, const MinisignPublicKey& key,
                              const KitDigestValue& digest, const uint8_t* message, size_t size);
