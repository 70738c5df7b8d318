// The BLAKE2b-512 digest of a kit's bytes, taken piece by piece as they are
// read: what a prehashed minisign signature signs, and what every later read
// of the kit must find again. libsodium's generic hash. One thread at a time.
#pragma once

#include <sodium.h>

#include <array>
#include <cstddef>
#include <cstdint>

using KitDigestValue = std::array<uint8_t, crypto_generichash_BYTES_MAX>;

class KitDigest {
 public:
  KitDigest();
  KitDigest(const KitDigest&) = delete;
  KitDigest& operator=(const KitDigest&) = delete;

  void update(const uint8_t* data, size_t size);
  // Bytes hashed so far.
  uint64_t bytes() const { return m_bytes; }
  // The digest of everything hashed; the object is used up.
  KitDigestValue finish();

 private:
  crypto_generichash_state m_state;
  uint64_t m_bytes = 0;
};

// Makes libsodium ready (once, from any thread); false when it cannot be.
bool sodium_ready();
