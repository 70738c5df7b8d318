// The write-ahead journal of an installation as it is stored on disk. A
// journal file is the version word, then one self-checking record per
// change: a header naming the run, its target directory and backup root,
// then a record for every directory about to be made, every existing
// directory whose times are about to change, and every file about to be
// created or replaced. A record torn by a crash fails its checksum and ends
// the journal there. The registry of pending installations uses the same
// format. Pure functions; any thread.
//
// Layout (all numbers little-endian):
//   file    := "P8JR" version:u32 record*
//   record  := length:u32 crc32(payload):u32 payload[length]
//   payload := type:u8 entry:u32 runId:u64 device:u64 inode:u64 size:u64
//              seconds:i64 nanoseconds:i64 accessSeconds:i64
//              accessNanoseconds:i64 path:string backupRoot:string
//              [madeSize:u64 madeSeconds:i64 madeNanoseconds:i64]
//   string  := byteCount:u32 bytes
// (The made identity is absent from the records of earlier versions, which
// then read as zero.)
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr uint32_t kJournalVersion = 1;

enum class JournalRecordType : uint8_t {
  // `path` the target directory, `backupRoot` the backup root (both ending
  // with "/"), `runId` names the run's temporary files.
  kHeader = 1,
  // `path`: absolute path of a directory about to be made.
  kMakeDirectory = 2,
  // `path`: the target-relative name of a file about to be written where
  // none was; `entry` the kit entry written.
  kCreate = 3,
  // As kCreate, for a file about to be replaced; `old` identifies it.
  kReplace = 4,
  // `path`: absolute path of an existing directory whose entries are about
  // to change; `old.seconds`/`old.nanoseconds` its modification time,
  // `accessSeconds`/`accessNanoseconds` its access time.
  kDirectoryTimes = 5,
  // `path`: the target-relative name of a directory about to be made, with
  // everything the run puts below it, under the hidden name
  // temporary_directory_name(runId, entry) in the same parent, and given
  // its name just before the commit. Until then nothing below it is
  // anybody's but the run's.
  kHiddenDirectory = 6,
};

// What identifies a file as the one seen before: device and inode, and as a
// second witness (a copy has another inode) its size and modification time.
struct FileIdentity {
  uint64_t device = 0;
  uint64_t inode = 0;
  uint64_t size = 0;
  int64_t seconds = 0;
  int64_t nanoseconds = 0;
};

struct JournalRecord {
  JournalRecordType type = JournalRecordType::kHeader;
  uint32_t entry = 0;
  uint64_t runId = 0;
  FileIdentity old;
  int64_t accessSeconds = 0;
  int64_t accessNanoseconds = 0;
  std::string path;
  std::string backupRoot;
  // kCreate and kReplace: the size and modification time the run gives the
  // new file, by which an undo knows it as the run's (device and inode 0).
  FileIdentity made;
};

// The version word that starts every journal file.
std::string journal_file_start();
// Appends the encoded record to `out`.
void append_journal_record(std::string& out, const JournalRecord& record);
// Decodes a whole journal file. False when `bytes` does not start with this
// version's word or its first record is not a header; otherwise `records`
// holds every record up to the first torn or damaged one.
bool decode_journal(const std::string& bytes, std::vector<JournalRecord>& records);

// Name of the temporary file that receives kit entry `entry` of run `runId`
// before it is renamed into place; it lies in the final file's directory.
std::string temporary_entry_name(uint64_t runId, uint32_t entry);
// Name under which run `runId` makes its new directory number `number`
// (kHiddenDirectory) beside where it is to stand.
std::string temporary_directory_name(uint64_t runId, uint32_t number);
