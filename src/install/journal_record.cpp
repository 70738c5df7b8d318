#include "install/journal_record.h"

#include <zlib.h>

#include <cstdio>
#include <cstring>

namespace {

constexpr char kMagic[4] = {'P', '8', 'J', 'R'};
// Fixed part of a payload: type, entry, run id, five identity numbers, two
// access-time numbers, two string lengths, the made identity's three numbers.
constexpr size_t kFixedPayload = 1 + 4 + 8 + 5 * 8 + 2 * 8 + 2 * 4 + 3 * 8;

void putNumber(std::string& out, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void putString(std::string& out, const std::string& text) {
  putNumber(out, text.size(), 4);
  out += text;
}

class Reader {
 public:
  Reader(const char* data, size_t size) : m_data(data), m_left(size) {}
  bool number(uint64_t& value, int bytes) {
    if (m_left < static_cast<size_t>(bytes)) return false;
    value = 0;
    for (int i = 0; i < bytes; ++i) {
      value |= static_cast<uint64_t>(static_cast<unsigned char>(m_data[i])) << (8 * i);
    }
    advance(bytes);
    return true;
  }
  bool text(std::string& value) {
    uint64_t size = 0;
    if (!number(size, 4) || m_left < size) return false;
    value.assign(m_data, size);
    advance(size);
    return true;
  }
  size_t left() const { return m_left; }

 private:
  void advance(size_t count) {
    m_data += count;
    m_left -= count;
  }
  const char* m_data;
  size_t m_left;
};

bool decodePayload(const char* data, size_t size, JournalRecord& record) {
  Reader reader(data, size);
  uint64_t type = 0, entry = 0, seconds = 0, nanoseconds = 0, access = 0, accessNano = 0;
  if (!reader.number(type, 1) || !reader.number(entry, 4) || !reader.number(record.runId, 8) ||
      !reader.number(record.old.device, 8) || !reader.number(record.old.inode, 8) ||
      !reader.number(record.old.size, 8) || !reader.number(seconds, 8) ||
      !reader.number(nanoseconds, 8) || !reader.number(access, 8) ||
      !reader.number(accessNano, 8) || !reader.text(record.path) ||
      !reader.text(record.backupRoot)) {
    return false;
  }
  uint64_t madeSeconds = 0, madeNanoseconds = 0;
  if (reader.left() != 0 &&
      (!reader.number(record.made.size, 8) || !reader.number(madeSeconds, 8) ||
       !reader.number(madeNanoseconds, 8) || reader.left() != 0)) {
    return false;
  }
  record.made.seconds = static_cast<int64_t>(madeSeconds);
  record.made.nanoseconds = static_cast<int64_t>(madeNanoseconds);
  if (type < static_cast<uint8_t>(JournalRecordType::kHeader) ||
      type > static_cast<uint8_t>(JournalRecordType::kHiddenDirectory)) {
    return false;
  }
  record.type = static_cast<JournalRecordType>(type);
  record.entry = static_cast<uint32_t>(entry);
  record.old.seconds = static_cast<int64_t>(seconds);
  record.old.nanoseconds = static_cast<int64_t>(nanoseconds);
  record.accessSeconds = static_cast<int64_t>(access);
  record.accessNanoseconds = static_cast<int64_t>(accessNano);
  return true;
}

uint32_t checksum(const char* data, size_t size) {
  return static_cast<uint32_t>(
      crc32(0L, reinterpret_cast<const Bytef*>(data), static_cast<uInt>(size)));
}

}  // namespace

std::string journal_file_start() {
  std::string out(kMagic, sizeof kMagic);
  putNumber(out, kJournalVersion, 4);
  return out;
}

void append_journal_record(std::string& out, const JournalRecord& record) {
  std::string payload;
  payload.reserve(kFixedPayload + record.path.size() + record.backupRoot.size());
  putNumber(payload, static_cast<uint8_t>(record.type), 1);
  putNumber(payload, record.entry, 4);
  putNumber(payload, record.runId, 8);
  putNumber(payload, record.old.device, 8);
  putNumber(payload, record.old.inode, 8);
  putNumber(payload, record.old.size, 8);
  putNumber(payload, static_cast<uint64_t>(record.old.seconds), 8);
  putNumber(payload, static_cast<uint64_t>(record.old.nanoseconds), 8);
  putNumber(payload, static_cast<uint64_t>(record.accessSeconds), 8);
  putNumber(payload, static_cast<uint64_t>(record.accessNanoseconds), 8);
  putString(payload, record.path);
  putString(payload, record.backupRoot);
  putNumber(payload, record.made.size, 8);
  putNumber(payload, static_cast<uint64_t>(record.made.seconds), 8);
  putNumber(payload, static_cast<uint64_t>(record.made.nanoseconds), 8);
  putNumber(out, payload.size(), 4);
  putNumber(out, checksum(payload.data(), payload.size()), 4);
  out += payload;
}

bool decode_journal(const std::string& bytes, std::vector<JournalRecord>& records) {
  records.clear();
  const std::string start = journal_file_start();
  if (bytes.compare(0, start.size(), start) != 0) return false;
  Reader reader(bytes.data() + start.size(), bytes.size() - start.size());
  const char* end = bytes.data() + bytes.size();
  for (;;) {
    uint64_t length = 0, sum = 0;
    if (!reader.number(length, 4) || !reader.number(sum, 4) || reader.left() < length) break;
    const char* payload = end - reader.left();
    JournalRecord record;
    if (checksum(payload, length) != sum || !decodePayload(payload, length, record)) break;
    records.push_back(std::move(record));
    reader = Reader(payload + length, reader.left() - length);
  }
  return !records.empty() && records.front().type == JournalRecordType::kHeader;
}

std::string temporary_directory_name(uint64_t runId, uint32_t number) {
  char name[48];
  std::snprintf(name, sizeof name, ".p8dir-%016llx-%u", static_cast<unsigned long long>(runId),
                number);
  return name;
}

std::string temporary_entry_name(uint64_t runId, uint32_t entry) {
  char name[48];
  std::snprintf(name, sizeof name, ".p8new-%016llx-%u", static_cast<unsigned long long>(runId),
                entry);
  return name;
}
