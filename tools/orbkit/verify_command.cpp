// orbkit verify: the kit read whole and every entry with it, and its
// signature checked against the keys given with --key.
#include <atomic>
#include <iostream>

#include "commands.h"
#include "kit/kit_signature.h"
#include "kit/trusted_keys.h"

namespace {

std::string refusal_text(const SignatureVerdict& verdict) {
  return verdict.path + ": " + narrow_lib(signature_refusal_reason(verdict));
}

}  // namespace

int run_verify(const Arguments& arguments) {
  std::string kitPath;
  std::vector<std::string> keyFiles;
  for (size_t i = 0; i < arguments.size(); ++i) {
    if (arguments[i] == "--key" && i + 1 < arguments.size()) {
      keyFiles.push_back(arguments[++i]);
    } else if (kitPath.empty() && arguments[i] != "--key") {
      kitPath = arguments[i];
    } else {
      return fail("verify takes KIT and --key PUB (see orbkit --help)", kExitUsage);
    }
  }
  if (kitPath.empty())
    return fail("verify takes KIT and --key PUB (see orbkit --help)", kExitUsage);
  const TrustedKeys trusted = load_trusted_keys(std::string(), keyFiles);
  if (trusted.refusal.refused()) return fail("key refused: " + refusal_text(trusted.refusal), 1);
  KitReader reader;
  reader.setDigesting(!trusted.keys.empty());
  if (!open_kit(reader, kitPath)) return kExitFailure;
  // The signature first, through the descriptor the kit was opened with;
  // the read of the entries below must then find the same bytes.
  KitSignatureCheck check;
  const SignatureVerdict prepared = check.prepare(kitPath, reader.kitFileSize(), trusted.keys);
  if (prepared.refused()) return fail("signature refused: " + refusal_text(prepared), 1);
  if (check.required()) {
    const std::atomic<bool> stop{false};
    std::atomic<uint64_t> read{0};
    const KitVerification verification = verify_kit(reader, check, false, stop, read);
    if (verification.verdict.refused()) {
      return fail("signature refused: " + refusal_text(verification.verdict), 1);
    }
    if (verification.code != 0) {
      return fail("cannot read kit " + kitPath + ": " + describe_code(verification.code), 1);
    }
    reader.expectDigest(verification.digest);
  }
  // Every entry is read in full through a scratch file in the temporary
  // directory.
  WideString scratch;
  uint32_t code = reader.getTempFile(scratch);
  if (code != 0) return fail("cannot create a scratch file: " + describe_code(code), kExitFailure);
  uint64_t bytes = 0;
  config::FileData<FileSystem> entry;
  for (uint32_t i = 0; i < reader.count() && code == 0; ++i) {
    reader.get(i, entry);
    code = reader.copy(i, scratch);
    bytes += entry.size;
    if (code != 0)
      fail("cannot read entry " + narrow_lib(entry.name) + ": " + describe_code(code), 1);
  }
  FileSystem::DeleteFile(scratch);
  if (code != 0) return kExitFailure;
  // Whatever follows the last entry must decompress too.
  code = reader.verify();
  if (code != 0) return fail("damaged kit after its last entry: " + describe_code(code), 1);
  std::cout << "kit is sound: " << reader.getProducts().size() << " products, " << reader.count()
            << " files, " << bytes << " bytes\n";
  if (check.required()) {
    std::cout << "signature verified with the key " << check.key().path << " (key id "
              << minisign_key_id_text(check.key().key.keyId) << ")\n";
  }
  return kExitOk;
}
