// Kit signatures made by the real minisign: sound ones accepted under a trusted key, every bad
// signature, key file or kit refused with its reason and file (minisign -V judging the same
// files alike), and a kit changed between the check of its signature and the read installing it.
#include <sodium.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <tuple>

#include "kit/kit_signature.h"
#include "kit_test_support.h"

namespace {

using Problem = SignatureProblem;

// Exit status of a shell command, its output dropped.
int run(const std::string& command) {
  const int status = std::system((command + " > /dev/null 2>&1").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Line `index` of `file` decoded from base64, changed by `change`, encoded again.
void recode(const std::string& file, size_t index, std::function<void(std::string&)> change) {
  std::string text = read_file(file), bytes(200, '\0');
  size_t start = 0;
  for (size_t i = 0; i < index; ++i) start = text.find('\n', start) + 1;
  const size_t end = text.find('\n', start);
  size_t length = 0;
  sodium_base642bin(reinterpret_cast<unsigned char*>(&bytes[0]), bytes.size(), &text[start],
                    end - start, nullptr, &length, nullptr, sodium_base64_VARIANT_ORIGINAL);
  bytes.resize(length);
  change(bytes);
  std::string line(sodium_base64_ENCODED_LEN(bytes.size(), sodium_base64_VARIANT_ORIGINAL), '\0');
  sodium_bin2base64(&line[0], line.size(), reinterpret_cast<const unsigned char*>(bytes.data()),
                    bytes.size(), sodium_base64_VARIANT_ORIGINAL);
  write_file(file, text.substr(0, start) + line.c_str() + text.substr(end));
}

// Changes the byte at `offset` of `file` in place.
void flip(const std::string& file, long offset) {
  FILE* stream = fopen(file.c_str(), "r+b");
  ASSERT_NE(stream, nullptr);
  fseek(stream, offset, SEEK_SET);
  const int byte = fgetc(stream);
  fseek(stream, offset, SEEK_SET);
  fputc(byte ^ 1, stream);
  fclose(stream);
}

class KitSignature : public KitTest {
 protected:
  // Signs `file` into `signature` with the key `key` (made the first time, without a password).
  void sign(const std::string& key, const std::string& file, const std::string& signature,
            const std::string& options = "") {
    const std::string pair = " -p " + path(key + ".pub") + " -s " + path(key + ".sec");
    if (!exists(path(key + ".pub"))) {
      ASSERT_EQ(run("minisign -G -W" + pair), 0);
    }
    ASSERT_EQ(run("minisign -S -s " + path(key + ".sec") + " -m " + file + " -x " + signature +
                  " " + options),
              0);
  }
  // The verdict on `kit` under the keys of `keyFiles` and of the directory `keys`, its bytes
  // read for it with and without decompressing them, through the descriptor opened.
  SignatureVerdict judge(const std::string& kit, const std::vector<std::string>& keyFiles,
                         const std::string& keys) {
    const TrustedKeys trusted = load_trusted_keys(keys, keyFiles);
    if (trusted.refusal.refused()) return trusted.refusal;
    Reader reader;
    reader.setDigesting(true);
    EXPECT_EQ(reader.open(widen_lib(kit)), 0u);
    KitSignatureCheck check;
    const SignatureVerdict prepared = check.prepare(kit, reader.kitFileSize(), trusted.keys);
    EXPECT_TRUE(prepared.refused() || check.required());
    if (prepared.refused()) return prepared;
    std::atomic<bool> stop{false};
    std::atomic<uint64_t> read{0};
    const KitVerification checked = verify_kit(reader, check, true, stop, read);
    const KitVerification digested = verify_kit(reader, check, false, stop, read);
    EXPECT_EQ(checked.digest, digested.digest);
    EXPECT_EQ(checked.code, digested.code);
    EXPECT_EQ(checked.code == ERROR_INVALID_IMAGE_HASH, checked.verdict.refused());
    return digested.verdict;
  }
};

TEST_F(KitSignature, SoundSignaturesPassAndEveryBadInputIsRefusedWithItsReason) {
  const std::string kit = write_kit(simple_container({{u"a", std::string(3000, 'a')}}), "kit", 0);
  write_file(path("other"), "another file");
  sign("key", kit, path("hashed"), "-t 'release 1'");
  sign("key", kit, path("legacy"), "-l");
  sign("key", path("other"), path("of-other"));
  sign("stranger", kit, path("by-stranger"));
  const std::string sig = "orbp8.pkd.minisig", pub = "key.pub", keys = "keys", big(20000, 'c');
  const auto copy = [&](const std::string& from, const std::string& to) {
    std::filesystem::copy_file(path(from), to, std::filesystem::copy_options::overwrite_existing);
  };
  const auto fifo = [](const std::string& p) { unlink(p.c_str()), mkfifo(p.c_str(), 0644); };
  const auto link = [](const std::string& p) {
    rename(p.c_str(), (p + "~").c_str()), symlink((p + "~").c_str(), p.c_str());
  };
  const auto directory = [](const std::string& p) { unlink(p.c_str()), mkdir(p.c_str(), 0755); };
  const auto algorithm = [](std::string& bytes) { bytes[1] = 'x'; };
  const auto shorter = [](std::string& bytes) { bytes.resize(bytes.size() - 3); };
  // What changes in a copy of the kit, its signature and key; the verdict and the file it
  // names; whether minisign -V is asked (not of pipes, links and files that it takes).
  using Change = std::function<void(const std::string& dir)>;
  const std::tuple<const char*, Change, Problem, std::string, bool> cases[] = {
      {"prehashed", [](auto) {}, Problem::kNone, "", true},
      {"legacy", [&](auto d) { copy("legacy", d + sig); }, Problem::kNone, "", true},
      {"second key trusted", [&](auto d) { copy("stranger.pub", d + "keys/a.pub"); },
       Problem::kNone, "", true},
      {"key in the directory",
       [&](auto d) { rename((d + pub).c_str(), (d + "keys/k.pub").c_str()); }, Problem::kNone, "",
       false},
      {"other key", [&](auto d) { copy("by-stranger", d + sig); }, Problem::kUntrustedKey,
       "orbp8.pkd", true},
      {"other file", [&](auto d) { copy("of-other", d + sig); }, Problem::kMismatch, "orbp8.pkd",
       true},
      {"kit changed", [](auto d) { flip(d + "orbp8.pkd", 2000); }, Problem::kMismatch, "orbp8.pkd",
       true},
      {"legacy, kit changed", [&](auto d) { copy("legacy", d + sig), flip(d + "orbp8.pkd", 2000); },
       Problem::kMismatch, "orbp8.pkd", true},
      {"comment changed", [&](auto d) { flip(d + sig, read_file(d + sig).find("release 1") + 8); },
       Problem::kCommentChanged, sig, true},
      {"no signature", [&](auto d) { unlink((d + sig).c_str()); }, Problem::kMissing, "orbp8.pkd",
       true},
      {"empty", [&](auto d) { write_file(d + sig, ""); }, Problem::kMalformed, sig, true},
      {"not base64",
       [&](auto d) { write_file(d + sig, "untrusted comment: x\n*\ntrusted comment: y\n*\n"); },
       Problem::kMalformed, sig, true},
      {"wrong length", [&](auto d) { recode(d + sig, 1, shorter); }, Problem::kMalformed, sig,
       true},
      {"unknown algorithm", [&](auto d) { recode(d + sig, 1, algorithm); },
       Problem::kUnknownAlgorithm, sig, true},
      {"huge", [&](auto d) { write_file(d + sig, read_file(d + sig) + big); }, Problem::kTooLarge,
       sig, false},
      {"fifo", [&](auto d) { fifo(d + sig); }, Problem::kNotRegular, sig, false},
      {"link", [&](auto d) { link(d + sig); }, Problem::kNotRegular, sig, false},
      {"directory", [&](auto d) { directory(d + sig); }, Problem::kNotRegular, sig, true},
      {"key empty", [&](auto d) { write_file(d + pub, ""); }, Problem::kMalformed, pub, true},
      {"key not base64", [&](auto d) { write_file(d + pub, "untrusted comment: x\n*\n"); },
       Problem::kMalformed, pub, true},
      {"key wrong length", [&](auto d) { recode(d + pub, 1, shorter); }, Problem::kMalformed, pub,
       true},
      {"key algorithm", [&](auto d) { recode(d + pub, 1, algorithm); }, Problem::kUnknownAlgorithm,
       pub, true},
      {"key huge", [&](auto d) { write_file(d + pub, read_file(d + pub) + big); },
       Problem::kTooLarge, pub, false},
      {"key fifo", [&](auto d) { fifo(d + pub); }, Problem::kNotRegular, pub, false},
      {"key link", [&](auto d) { link(d + pub); }, Problem::kNotRegular, pub, false},
      {"key directory", [&](auto d) { directory(d + pub); }, Problem::kNotRegular, pub, true},
      {"key writable by its group", [&](auto d) { chmod((d + pub).c_str(), 0664); },
       Problem::kUnsafe, pub, false},
      {"key of another user", [&](auto d) { lchown((d + pub).c_str(), geteuid() + 1, -1); },
       Problem::kUnsafe, pub, false},
      {"keys writable by others", [&](auto d) { chmod((d + keys).c_str(), 0757); },
       Problem::kUnsafe, keys, false},
  };
  int number = 0;
  for (const auto& [what, change, problem, faulty, askMinisign] : cases) {
    SCOPED_TRACE(what);
    const std::string dir = path("case" + std::to_string(++number)) + "/";
    ASSERT_EQ(mkdir(dir.c_str(), 0755) + mkdir((dir + keys).c_str(), 0755), 0);
    copy("kit", dir + "orbp8.pkd");
    copy("hashed", dir + sig);
    copy("key.pub", dir + pub);
    chmod((dir + pub).c_str(), 0644);
    change(dir);
    if (what == std::string("key of another user") && geteuid() != 0) continue;  // no chown
    const bool named = exists(dir + pub);
    const SignatureVerdict verdict =
        judge(dir + "orbp8.pkd",
              named ? std::vector<std::string>{dir + pub} : std::vector<std::string>{}, dir + keys);
    EXPECT_EQ(verdict.problem, problem);
    EXPECT_EQ(verdict.path, faulty.empty() ? "" : dir + faulty);
    if (!askMinisign) continue;
    const std::string key = dir + (named ? pub : "keys/k.pub");
    EXPECT_EQ(run("minisign -Vq -p " + key + " -m " + dir + "orbp8.pkd") == 0,
              problem == Problem::kNone);
  }
}

}  // namespace

// A kit verified, then changed in place beyond what the stream read ahead when it was opened:
// the copy that needs the whole kit unpacked finds other bytes than those verified. A kit
// replaced by another file meanwhile is never read: the copies come from the one verified.
TEST_F(KitSignature, TheReadsThatCopyMustFindTheBytesVerified) {
  const std::string large(16 << 20, 'x');
  const std::string kit = write_kit(simple_container({{u"large", large}, {u"small", "s"}}), "k", 0);
  for (const bool inPlace : {true, false}) {
    SCOPED_TRACE(inPlace ? "changed in place" : "replaced");
    Reader reader;
    reader.setDigesting(true);
    ASSERT_EQ(reader.open(widen_lib(kit)), 0u);
    std::atomic<bool> stop{false};
    std::atomic<uint64_t> read{0};
    KitDigestValue digest{};
    ASSERT_EQ(reader.digestSeparately(stop, read, digest, nullptr, 0), 0u);
    reader.expectDigest(digest);
    const std::string original = read_file(kit);
    if (inPlace) {
      flip(kit, static_cast<long>(original.find(std::string(16, 'x'), 15 << 20)));
    } else {
      ASSERT_EQ(rename(kit.c_str(), path("old").c_str()), 0);
      write_kit(simple_container({{u"large", "L"}, {u"small", "S"}}), "k", 0);
    }
    // The small entry first, so that the large one, behind it, needs the kit unpacked.
    EXPECT_EQ(reader.copy(1, wpath("small")), 0u);
    EXPECT_EQ(reader.copy(0, wpath("large")), inPlace ? ERROR_INVALID_IMAGE_HASH : 0u);
    EXPECT_EQ(reader.failedPath(), inPlace ? kit : "");
    EXPECT_EQ(read_file(path("small")) + (inPlace ? "" : read_file(path("large"))),
              inPlace ? "s" : "s" + large);
    write_file(kit, original);
  }
}
