#include "kit/kit_digest.h"

bool sodium_ready() {
  static const bool ready = sodium_init() >= 0;
  return ready;
}

KitDigest::KitDigest() {
  sodium_ready();
  crypto_generichash_init(&m_state, nullptr, 0, crypto_generichash_BYTES_MAX);
}

void KitDigest::update(const uint8_t* data, size_t size) {
  crypto_generichash_update(&m_state, data, size);
  m_bytes += size;
}

KitDigestValue KitDigest::finish() {
  KitDigestValue value{};
  crypto_generichash_final(&m_state, value.data(), value.size());
  return value;
}
