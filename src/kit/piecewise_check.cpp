#include "kit/piecewise_check.h"

#include <isa-l/igzip_lib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace {

// Compressed bytes read at a time, and decompressed bytes decoded (and
// dropped) at a time.
constexpr uint32_t kReadSize = 1 << 20;
constexpr uint32_t kScratchSize = 256 << 10;
// The length fields of an empty stored block: 0, and its complement.
constexpr uint8_t kSyncMarker[] = {0x00, 0x00, 0xFF, 0xFF};
constexpr uint64_t kMarkerSize = sizeof kSyncMarker;
// How often the calling thread asks whether to go on while it waits.
constexpr auto kWaitSlice = std::chrono::milliseconds(10);

enum class PieceEnd { kNotRun, kBoundary, kStreamEnd, kFileEnd, kFailed };

struct Piece {
  // Compressed bytes [start, stop).
  uint64_t start = 0;
  uint64_t stop = 0;
  uint64_t length = 0;
  PieceEnd end = PieceEnd::kNotRun;
};

// Every byte given has been decoded and the next bit begins a block: no bits
// or bytes held back, no stored block left unfinished, no header half read
// (a partly read header keeps its bytes).
bool at_block_start(const inflate_state& state) {
  return state.avail_in == 0 && state.read_in_length == 0 && state.tmp_in_size == 0 &&
         state.type0_block_len == 0 &&
         (state.block_state == ISAL_BLOCK_NEW_HDR || state.block_state == ISAL_BLOCK_HDR);
}

class PieceChecker {
 public:
  PieceChecker(const PieceRead& read, uint64_t fileSize, uint64_t pieceSize)
      : m_read(read),
        m_fileSize(fileSize),
        m_pieceSize(pieceSize),
        m_pieces(std::max<uint64_t>(1, (fileSize + pieceSize - 1) / pieceSize)) {}

  size_t pieceCount() const { return m_pieces.size(); }

  // Takes pieces until none is left or the check stops; with `goOn`, asks
  // it before each piece and between pieces of work, and calls `begun`
  // once the first answer was to go on.
  void work(const std::function<bool()>* goOn, const std::function<void()>& begun = nullptr) {
    Buffers buffers;
    bool first = true;
    for (size_t index = m_next++; index < m_pieces.size() && !m_stop; index = m_next++) {
      if (goOn != nullptr && !(*goOn)()) {
        stopByCaller();
        break;
      }
      if (first && begun) begun();
      first = false;
      if (!checkPiece(index, buffers, goOn)) m_stop = true;
    }
  }

  void markHelperDone() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_helperDone = true;
    m_helperEnded.notify_one();
  }

  // Waits for the helper to be done, asking `goOn` meanwhile.
  void waitForHelper(const std::function<bool()>& goOn) {
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_helperEnded.wait_for(lock, kWaitSlice, [this] { return m_helperDone; })) {
      if (!m_stoppedByCaller && !goOn()) stopByCaller();
    }
  }

  PiecewiseVerdict verdict() const {
    PiecewiseVerdict verdict;
    verdict.stopped = m_stoppedByCaller;
    if (verdict.stopped) return verdict;
    // From the start of the stream, each piece must begin where the one
    // before it ended on a block boundary: then its decoding from a fresh
    // state is the stream's own.
    uint64_t at = 0;
    for (const Piece& piece : m_pieces) {
      if (piece.start != at || piece.end == PieceEnd::kNotRun || piece.end == PieceEnd::kFailed) {
        return PiecewiseVerdict();
      }
      verdict.length += piece.length;
      verdict.pieces += piece.stop > piece.start;
      if (piece.end != PieceEnd::kBoundary) {
        verdict.decided = true;
        return verdict;
      }
      at = piece.stop;
    }
    return PiecewiseVerdict();
  }

 private:
  struct Buffers {
    std::unique_ptr<uint8_t[]> input{new uint8_t[kReadSize]};
    std::unique_ptr<uint8_t[]> scratch{new uint8_t[kScratchSize]};
    std::unique_ptr<inflate_state> state{new inflate_state};
  };

  void stopByCaller() {
    m_stoppedByCaller = true;
    m_stop = true;
  }

  // Sets `position` just after the first sync marker that ends at or after
  // `from`, or to the file's size when there is none; false on a read error.
  bool findSync(uint64_t from, uint64_t& position, uint8_t* buffer) {
    position = m_fileSize;
    // A marker may straddle two reads: each read starts again with the
    // last three bytes of the one before.
    for (uint64_t offset = from >= kMarkerSize ? from - kMarkerSize : 0; offset < m_fileSize;) {
      uint32_t got = 0;
      if (m_read(buffer, kReadSize, offset, got) != 0 || got == 0) return false;
      const uint8_t* begin = buffer;
      const uint8_t* end = begin + got;
      const uint8_t* found = std::search(begin, end, kSyncMarker, kSyncMarker + kMarkerSize);
      if (found != end) {
        position = offset + static_cast<uint64_t>(found - begin) + kMarkerSize;
        return true;
      }
      if (offset + got >= m_fileSize) return true;
      offset += got > kMarkerSize ? got - (kMarkerSize - 1) : got;
    }
    return true;
  }

  // Decodes piece `index`; false when it failed or the check is to stop.
  bool checkPiece(size_t index, Buffers& buffers, const std::function<bool()>* goOn) {
    Piece& piece = m_pieces[index];
    const uint64_t nominal = index * m_pieceSize;
    if (index != 0 && !findSync(nominal, piece.start, buffers.input.get())) return false;
    piece.stop = m_fileSize;
    if (index + 1 < m_pieces.size() &&
        !findSync(nominal + m_pieceSize, piece.stop, buffers.input.get())) {
      return false;
    }
    // No marker between its nominal start and the next: the piece is empty.
    if (piece.start >= piece.stop) {
      if (piece.start > piece.stop) return false;
      piece.end = piece.stop == m_fileSize ? PieceEnd::kFileEnd : PieceEnd::kBoundary;
      return true;
    }
    inflate_state& state = *buffers.state;
    isal_inflate_init(&state);
    state.crc_flag = ISAL_DEFLATE;
    uint64_t offset = piece.start;
    for (;;) {
      if (state.avail_in == 0 && offset < piece.stop) {
        uint32_t got = 0;
        const uint32_t wanted =
            static_cast<uint32_t>(std::min<uint64_t>(kReadSize, piece.stop - offset));
        // A file that ends before it did when the pieces were cut fails.
        if (m_read(buffers.input.get(), wanted, offset, got) != 0 || got == 0) break;
        state.next_in = buffers.input.get();
        state.avail_in = got;
        offset += got;
      }
      const uint32_t inputBefore = state.avail_in;
      state.next_out = buffers.scratch.get();
      state.avail_out = kScratchSize;
      if (isal_inflate(&state) < 0) break;
      const uint32_t produced = kScratchSize - state.avail_out;
      piece.length += produced;
      if (state.block_state == ISAL_BLOCK_FINISH) {
        piece.end = PieceEnd::kStreamEnd;
        return true;
      }
      if (produced < kScratchSize && state.avail_in == 0 && offset == piece.stop) {
        // The piece is decoded: the file ends there (a stream cut short
        // ends where its data does), or the next piece begins on a block
        // boundary, or the marker was none.
        if (piece.stop == m_fileSize) {
          piece.end = PieceEnd::kFileEnd;
        } else if (at_block_start(state)) {
          piece.end = PieceEnd::kBoundary;
        } else {
          break;
        }
        return true;
      }
      if (produced == 0 && state.avail_in == inputBefore) break;
      if (m_stop) return false;
      if (goOn != nullptr && !(*goOn)()) {
        stopByCaller();
        return false;
      }
    }
    piece.end = PieceEnd::kFailed;
    return false;
  }

  const PieceRead& m_read;
  const uint64_t m_fileSize;
  const uint64_t m_pieceSize;
  // Each piece is written by the thread that took it and read after both
  // threads are done.
  std::vector<Piece> m_pieces;
  std::atomic<size_t> m_next{0};
  std::atomic<bool> m_stop{false};
  std::atomic<bool> m_stoppedByCaller{false};
  std::mutex m_mutex;
  std::condition_variable m_helperEnded;
  bool m_helperDone = false;
};

}  // namespace

PiecewiseVerdict check_in_pieces(const PieceRead& read, uint64_t fileSize,
                                 const std::function<bool()>& goOn, uint64_t pieceSize) {
  PieceChecker checker(read, fileSize, std::max<uint64_t>(pieceSize, kMarkerSize));
  std::thread helper;
  // The helper starts once the calling thread has taken the first piece.
  const auto startHelper = [&] {
    if (checker.pieceCount() < 2) return;
    try {
      helper = std::thread([&checker] {
        checker.work(nullptr);
        checker.markHelperDone();
      });
    } catch (const std::system_error&) {
      // Without a helper the calling thread takes every piece.
    }
  };
  checker.work(&goOn, startHelper);
  if (helper.joinable()) {
    checker.waitForHelper(goOn);
    helper.join();
  }
  return checker.verdict();
}
