#include "kit/kit_signature.h"

#include "platform/small_file.h"

SignatureVerdict KitSignatureCheck::prepare(const std::string& kitPath, uint64_t kitSize,
                                            const std::vector<TrustedKey>& keys) {
  m_kitPath = kitPath;
  m_signaturePath = kitPath + ".minisig";
  m_required = false;
  if (keys.empty()) return {};
  const SmallFile file =
      read_small_file(INVALID_HANDLE_VALUE, m_signaturePath, kMaxSignatureFileSize);
  switch (file.fault) {
    case SmallFileFault::kNone:
      break;
    case SmallFileFault::kMissing:
      return {SignatureProblem::kMissing, m_kitPath, 0};
    case SmallFileFault::kNotRegular:
      return {SignatureProblem::kNotRegular, m_signaturePath, 0};
    case SmallFileFault::kTooLarge:
      return {SignatureProblem::kTooLarge, m_signaturePath, 0};
    default:
      return {SignatureProblem::kUnreadable, m_signaturePath, file.code};
  }
  switch (parse_minisign_signature(file.content, m_signature)) {
    case MinisignFault::kNone:
      break;
    case MinisignFault::kUnknownAlgorithm:
      return {SignatureProblem::kUnknownAlgorithm, m_signaturePath, 0};
    default:
      return {SignatureProblem::kMalformed, m_signaturePath, 0};
  }
  if (!m_signature.prehashed && kitSize > kMaxLegacySignedSize) {
    return {SignatureProblem::kUnknownAlgorithm, m_signaturePath, 0};
  }
  for (const TrustedKey& key : keys) {
    if (minisign_signed_by(m_signature, key.key)) {
      m_key = key;
      m_required = true;
      return {};
    }
  }
  return {SignatureProblem::kUntrustedKey, m_kitPath, 0};
}

SignatureVerdict KitSignatureCheck::verify(const KitDigestValue& digest, const uint8_t* kit,
                                           size_t size) const {
  switch (verify_minisign(m_signature, m_key.key, digest, kit, size)) {
    case MinisignFault::kNone:
      return {};
    case MinisignFault::kCommentChanged:
      return {SignatureProblem::kCommentChanged, m_signaturePath, 0};
    default:
      return {SignatureProblem::kMismatch, m_kitPath, 0};
  }
}
