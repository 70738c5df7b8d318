// Checks a kit's raw deflate stream on two threads at once: the file is cut
// into pieces at sync points (the empty stored block of a full flush ends in
// the bytes 00 00 FF FF on a byte boundary), each piece is decoded from a
// fresh state, and the pieces count only where each one ended exactly where
// the next begins, on a block boundary. Whatever does not fit (no sync
// points, a piece that needs what came before it, damage, a marker that is
// no sync point) leaves the verdict to a sequential check. Called from one
// thread, which runs a helper thread of its own for the time of the call.
#pragma once

#include <cstdint>
#include <functional>

// Reads up to `count` bytes at `offset` into `buffer` and sets `got` (0 at
// the end); returns 0 or a Win32 error code. Called from two threads.
using PieceRead =
    std::function<uint32_t(uint8_t* buffer, uint32_t count, uint64_t offset, uint32_t& got)>;

// Compressed bytes from one piece's nominal start to the next's.
constexpr uint64_t kPieceSize = 2 << 20;

struct PiecewiseVerdict {
  // Whether the pieces decided: the stream decodes to its end marker, or to
  // the end of the file where its data stops short (as a sequential decoder
  // ends there too), in `length` bytes. Undecided when stopped, on damage,
  // a read error or anything the pieces cannot vouch for.
  bool decided = false;
  bool stopped = false;
  uint64_t length = 0;
  // The pieces, empty ones left out, that a decided verdict rests on.
  uint64_t pieces = 0;
};

// Checks the `fileSize` bytes that `read` reads. `goOn` is asked on the
// calling thread between pieces of work and while it waits; once it says
// false the check stops (`stopped`). `pieceSize` is for tests.
PiecewiseVerdict check_in_pieces(const PieceRead& read, uint64_t fileSize,
                                 const std::function<bool()>& goOn,
                                 uint64_t pieceSize = kPieceSize);
