// Whether a kit may be installed under the trusted keys. With at least one
// trusted key, the kit needs the signature file beside it ("KIT.minisig")
// by one of them, matching the kit's bytes; without one, any kit may be
// installed. prepare reads and matches the signature file; verify then
// judges the kit's bytes, read once through the descriptor the kit was
// opened with. One thread at a time (prepare on the main thread, verify on
// the thread that reads the kit).
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "kit/kit_digest.h"
#include "kit/minisign.h"
#include "kit/signature_verdict.h"
#include "kit/trusted_keys.h"
#include "platform/win32_types.h"

// Larger signature files are refused; minisign's are a few hundred bytes,
// with a trusted comment of at most 8 KiB.
constexpr size_t kMaxSignatureFileSize = 16384;
// A legacy signature is over the whole kit, which must then be held in
// memory; minisign signs no larger file with it.
constexpr uint64_t kMaxLegacySignedSize = uint64_t{1} << 30;

class KitSignatureCheck {
 public:
  // Reads the signature of the kit at `kitPath`, `kitSize` bytes long, and
  // finds the trusted key that made it. Refused: no signature file while
  // keys are trusted, one that cannot be read or is not a minisign
  // signature, a legacy one over more than kMaxLegacySignedSize bytes, one
  // by another key.
  SignatureVerdict prepare(const std::string& kitPath, uint64_t kitSize,
                           const std::vector<TrustedKey>& keys);

  // Whether the kit must be verified (keys are trusted and prepare found
  // the signature by one of them).
  bool required() const { return m_required; }
  // The key that made the signature, once prepare accepted it.
  const TrustedKey& key() const { return m_key; }
  // A legacy signature, over the kit's bytes rather than their digest.
  bool needsWholeKit() const { return m_required && !m_signature.prehashed; }

  // Judges a kit whose BLAKE2b-512 digest is `digest` (and, for a legacy
  // signature, whose `size` bytes are at `kit`).
  SignatureVerdict verify(const KitDigestValue& digest, const uint8_t* kit, size_t size) const;

 private:
  std::string m_kitPath;
  std::string m_signaturePath;
  MinisignSignature m_signature;
  bool m_required = false;
  TrustedKey m_key;
};

// What reading a kit for its signature found.
struct KitVerification {
  // 0; ERROR_INVALID_IMAGE_HASH when the signature refuses the kit
  // (`verdict` says why); else the reading's code (13 for a kit that does
  // not decompress, a read error's code, 1223 when stopped).
  uint32_t code = 0;
  SignatureVerdict verdict;
  // The digest of the bytes judged, which every later read must find.
  KitDigestValue digest{};
};

// Reads the open kit `kit` (config::InstallData) once more through its own
// descriptor and judges it with `check`; with `decompress` that read also
// checks that the whole kit decompresses (the wizard's background check).
// Stops once `stop` is set; `read` counts the kit's bytes read.
template <class Kit>
KitVerification verify_kit(const Kit& kit, const KitSignatureCheck& check, bool decompress,
                           const std::atomic<bool>& stop, std::atomic<uint64_t>& read) {
  KitVerification result;
  // The digest is taken on the way unless a legacy signature needs the bytes.
  const bool digestOnTheWay = check.required() && !check.needsWholeKit();
  if (decompress) {
    result.code = kit.checkSeparately(stop, read, digestOnTheWay ? &result.digest : nullptr);
  }
  if (result.code != 0 || !check.required()) return result;
  std::vector<uint8_t> bytes;
  if (check.needsWholeKit() || !decompress) {
    result.code = kit.digestSeparately(
        stop, read, result.digest, check.needsWholeKit() ? &bytes : nullptr, kMaxLegacySignedSize);
    if (result.code != 0) return result;
  }
  result.verdict = check.verify(result.digest, bytes.data(), bytes.size());
  if (result.verdict.refused()) result.code = ERROR_INVALID_IMAGE_HASH;
  return result;
}
