#include "kit/minisign.h"

#include <sodium.h>

#include <algorithm>
#include <vector>

namespace {

constexpr const char kUntrustedPrefix[] = "untrusted comment: ";
constexpr const char kTrustedPrefix[] = "trusted comment: ";

// The lines of `text` without their "\n" or "\r\n"; a last line without an
// end counts too, an empty text has none.
std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

bool starts_with(const std::string& line, const char* prefix) {
  return line.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

// Decodes `line` (standard base64, padded) into exactly `size` bytes.
bool decode_exactly(const std::string& line, uint8_t* out, size_t size) {
  std::vector<uint8_t> bytes(size + 1);
  size_t length = 0;
  const char* end = nullptr;
  if (sodium_base642bin(bytes.data(), bytes.size(), line.data(), line.size(), nullptr, &length,
                        &end, sodium_base64_VARIANT_ORIGINAL) != 0 ||
      end != line.data() + line.size() || length != size) {
    return false;
  }
  std::copy(bytes.begin(), bytes.begin() + size, out);
  return true;
}

// Only empty lines may follow the `count` lines of a file.
bool nothing_after(const std::vector<std::string>& lines, size_t count) {
  return std::all_of(lines.begin() + std::min(count, lines.size()), lines.end(),
                     [](const std::string& line) { return line.empty(); });
}

bool verify_detached(const uint8_t* signature, const uint8_t* message, size_t size,
                     const MinisignPublicKey& key) {
  return sodium_ready() &&
         crypto_sign_verify_detached(signature, message, size, key.key.data()) == 0;
}

}  // namespace

MinisignFault parse_minisign_public_key(const std::string& text, MinisignPublicKey& key) {
  const std::vector<std::string> lines = lines_of(text);
  uint8_t bytes[2 + 8 + 32];
  if (lines.size() < 2 || !starts_with(lines[0], kUntrustedPrefix) || !nothing_after(lines, 2) ||
      !decode_exactly(lines[1], bytes, sizeof bytes)) {
    return MinisignFault::kMalformed;
  }
  if (bytes[0] != 'E' || bytes[1] != 'd') return MinisignFault::kUnknownAlgorithm;
  std::copy(bytes + 2, bytes + 10, key.keyId.begin());
  std::copy(bytes + 10, bytes + 42, key.key.begin());
  return MinisignFault::kNone;
}

MinisignFault parse_minisign_signature(const std::string& text, MinisignSignature& signature) {
  const std::vector<std::string> lines = lines_of(text);
  uint8_t bytes[2 + 8 + 64];
  if (lines.size() < 4 || !starts_with(lines[0], kUntrustedPrefix) ||
      !starts_with(lines[2], kTrustedPrefix) || !nothing_after(lines, 4) ||
      !decode_exactly(lines[1], bytes, sizeof bytes) ||
      !decode_exactly(lines[3], signature.globalSignature.data(),
                      signature.globalSignature.size())) {
    return MinisignFault::kMalformed;
  }
  if (bytes[0] != 'E' || (bytes[1] != 'D' && bytes[1] != 'd')) {
    return MinisignFault::kUnknownAlgorithm;
  }
  signature.prehashed = bytes[1] == 'D';
  std::copy(bytes + 2, bytes + 10, signature.keyId.begin());
  std::copy(bytes + 10, bytes + 74, signature.signature.begin());
  signature.trustedComment = lines[2].substr(std::char_traits<char>::length(kTrustedPrefix));
  return MinisignFault::kNone;
}

bool minisign_signed_by(const MinisignSignature& signature, const MinisignPublicKey& key) {
  return signature.keyId == key.keyId;
}

std::string minisign_key_id_text(const MinisignKeyId& keyId) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (auto byte = keyId.rbegin(); byte != keyId.rend(); ++byte) {
    text += kDigits[*byte >> 4];
    text += kDigits[*byte & 0xF];
  }
  return text;
}

MinisignFault verify_minisign(const MinisignSignature& signature, const MinisignPublicKey& key,
                              const KitDigestValue& digest, const uint8_t* message, size_t size) {
  const bool signedFile =
      signature.prehashed
          ? verify_detached(signature.signature.data(), digest.data(), digest.size(), key)
          : verify_detached(signature.signature.data(), message, size, key);
  if (!signedFile) return MinisignFault::kMismatch;
  // The global signature covers the file's signature and the comment.
  std::vector<uint8_t> covered(signature.signature.begin(), signature.signature.end());
  covered.insert(covered.end(), signature.trustedComment.begin(), signature.trustedComment.end());
  if (!verify_detached(signature.globalSignature.data(), covered.data(), covered.size(), key)) {
    return MinisignFault::kCommentChanged;
  }
  return MinisignFault::kNone;
}
