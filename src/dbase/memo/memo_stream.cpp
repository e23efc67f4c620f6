// Byte streams of single memos.
#include "dbase/memo/memo_stream.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "dbase/common/file_routines.h"
#include "dbase/engine/dbf_file.h"
#include "dbase/engine/dbf_layout.h"
#include "dbase/engine/engine_code_page.h"
#include "dbase/engine/error_codes.h"
#include "dbase/engine/file_names.h"
#include "dbase/engine/os_errors.h"
#include "dbase/memo/memo_blocks.h"
#include "dbase/memo/memo_file.h"

namespace dbase {

namespace {

constexpr std::int64_t kMaxPiece = 32767;

// Whether a piece looks like text: control bytes are only tab, line ends and
// a few printer controls.
bool LooksLikeText(const char* data, std::int64_t length) {
  for (std::int64_t i = 0; i < length; ++i) {
    const auto c = static_cast<unsigned char>(data[i]);
    if (c < 32 && c != 9 && c != 10 && c != 13 && c != 15 && c != 20 && c != 21) return false;
  }
  return true;
}

// Whether this piece is converted; an undecided state is decided by the
// first piece and kept for the rest of the stream.
bool Converts(const WorkArea& area, BlobState& stream, int conversion, const char* data, std::int64_t length) {
  if (!area.table.oem || conversion == kNoConversion) return false;
  if (conversion == kConvert) return true;
  if (stream.conversion < 0) stream.conversion = LooksLikeText(data, length) ? 1 : 0;
  return stream.conversion == 1;
}

// The length of a value without a header: its bytes up to the first 0x1A.
std::int64_t TextLength(const MemoFile& memo, std::int64_t start) {
  std::int64_t length = 0;
  char buffer[kMemoBufferSize];
  for (;;) {
    const std::int64_t n = ReadBytesAt(memo.fd, buffer, sizeof buffer, start + length);
    if (n <= 0) return length;
    for (std::int64_t i = 0; i < n; ++i) {
      if (buffer[i] == static_cast<char>(layout::kDefaultEndOfFile)) return length + i;
    }
    length += n;
  }
}

MemoFile* StreamMemo(const std::string& operation) { return CurrentMemoFile(operation); }

// The end of a value written into a dBASE III file: text gets its two 0x1A;
// anything else moves 8 bytes on behind a block header.
bool FinishDbase3Value(MemoFile& memo, const BlobState& stream) {
  std::string data(static_cast<std::size_t>(stream.written), '\0');
  if (ReadBytesAt(memo.fd, data.data(), data.size(), stream.dataStart) != stream.written) {
    SetError(30, memo.name + " [CloseBlob]");
    return false;
  }
  int err = 0;
  if (FitsDbase3Text(data)) {
    err = WriteBytesAt(memo.fd, kDbase3TextEnd, 2, stream.dataStart + stream.written);
  } else {
    err = WriteBytesAt(memo.fd, data.data(), data.size(), stream.dataStart + static_cast<std::int64_t>(kBlockHeaderSize));
    if (err == 0 && !WriteGroupHeader(memo, stream.dataStart, static_cast<std::uint32_t>(stream.written))) return false;
  }
  if (err == 0) {
    // The file stays a multiple of the block size, as a text stored whole
    // leaves it: readers take the blocks of the next value from the end.
    const std::int64_t size = MemoFileSize(memo);
    const std::int64_t padded = (size + memo.blockSize - 1) / memo.blockSize * memo.blockSize;
    if (size >= 0 && padded > size) {
      const std::string zeros(static_cast<std::size_t>(padded - size), '\0');
      err = WriteBytesAt(memo.fd, zeros.data(), zeros.size(), size);
    }
  }
  if (err != 0) {
    SetError(OsErrorCode(err, true), memo.name + " [CloseBlob]");
    return false;
  }
  return true;
}

}  // namespace

std::int32_t OpenBlob(BlobState& stream, bool resetConversion, std::int32_t block, int mode, std::int64_t size) {
  TzError = 0;
  MemoFile* memo = StreamMemo("OpenBlob");
  if (memo == nullptr) return 0;
  if (stream.open && stream.mode == 2) CloseBlob(stream);
  const int keptConversion = stream.conversion;
  stream = BlobState{};
  stream.conversion = resetConversion ? -1 : keptConversion;
  const std::int32_t absolute = block < 0 ? -block : block;
  if (mode == 1) {
    const std::int64_t offset = static_cast<std::int64_t>(absolute) * memo->blockSize;
    if (absolute == 0 || offset >= MemoFileSize(*memo) - 1) {
      SetError(1003, memo->name + " [OpenBlob]");
      return 0;
    }
    MemoValue value;
    if (!LocateMemoValue(*memo, absolute, value)) {
      SetError(30, memo->name + " [OpenBlob]");
      return 0;
    }
    stream.dataStart = value.dataStart;
    stream.headerSize = value.headered ? static_cast<std::uint32_t>(kBlockHeaderSize) : 0;
    stream.length = value.headered ? value.length : -1;
    stream.firstBlock = absolute;
  } else if (mode == 2) {
    if (memo->streamWriting) {
      SetError(1007, "Another memo of " + memo->name + " is being written [OpenBlob]");
      return 0;
    }
    if (size > 0) {
      std::string dir, name, ext;
      SplitPath(memo->name, dir, name, ext);
      if (DiskFreeKB(dir) <= size / 1024) {
        SetError(1004, memo->name);
        return 0;
      }
    }
    const std::int64_t end = LockMemoPadAndSeekEOF(*memo, "CreateBlobDescriptor");
    if (end == 0) return 0;
    std::int32_t first = static_cast<std::int32_t>(end / memo->blockSize);
    if (memo->Dialect() == MemoDialect::Dbase4 && size > 0) {
      const std::uint32_t needed = BlocksNeeded(*memo, size + static_cast<std::int64_t>(kBlockHeaderSize));
      const bool inFile = absolute > 0 && (static_cast<std::int64_t>(absolute) + 1) * memo->blockSize <= end;
      const std::uint32_t have = inFile ? ReadGroupHeader(*memo, absolute) : 0;
      if (have > 0 && have < needed && !ReleaseBlocks(*memo, static_cast<std::uint32_t>(absolute), have)) {
        ReleaseMemoLock(*memo);
        return 0;
      }
      first = FindFreeBlocks(*memo, needed, have >= needed ? absolute : 0, "CreateBlobDescriptor");
      if (first == 0) {
        ReleaseMemoLock(*memo);
        return 0;
      }
    }
    // dBASE III text starts at the block's first byte; a header, where the
    // value needs one, is put in front when the stream closes.
    const std::size_t header = memo->Dialect() == MemoDialect::Dbase3 ? 0 : kBlockHeaderSize;
    stream.firstBlock = first;
    stream.headerSize = static_cast<std::uint32_t>(header);
    stream.dataStart = static_cast<std::int64_t>(first) * memo->blockSize + static_cast<std::int64_t>(header);
    stream.length = size > 0 ? size : -1;
    memo->streamWriting = true;
  } else {
    SetError(220, memo->name + " [OpenBlob]");
    return 0;
  }
  stream.open = true;
  stream.mode = mode;
  return stream.firstBlock;
}

std::int64_t ReadBlobStream(BlobState& stream, void* buffer, std::int64_t count, int conversion) {
  MemoFile* memo = StreamMemo("ReadBlobStream");
  if (memo == nullptr || !stream.open || count <= 0) return 0;
  const WorkArea& area = *MemoArea();
  std::int64_t available = MemoFileSize(*memo) - (stream.dataStart + stream.position);
  if (stream.length >= 0) available = std::min(available, stream.length - stream.position);
  count = std::min(count, std::max<std::int64_t>(0, available));
  char* out = static_cast<char*>(buffer);
  std::int64_t delivered = 0;
  while (delivered < count) {
    const std::int64_t piece = std::min(kMaxPiece, count - delivered);
    std::int64_t got = ReadBytesAt(memo->fd, out + delivered, static_cast<std::size_t>(piece),
                                   stream.dataStart + stream.position);
    if (got <= 0) break;
    bool ended = false;
    if (stream.length < 0) {
      const char* stop =
          std::find(out + delivered, out + delivered + got, static_cast<char>(layout::kDefaultEndOfFile));
      if (stop != out + delivered + got) {
        got = stop - (out + delivered);
        ended = true;
      }
    }
    if (Converts(area, stream, conversion, out + delivered, got)) OemToAnsiBuffer(out + delivered, static_cast<std::size_t>(got));
    stream.position += got;
    delivered += got;
    if (ended) break;
  }
  return delivered;
}

std::int64_t WriteBlobStream(BlobState& stream, const void* buffer, std::int64_t count, int conversion) {
  MemoFile* memo = StreamMemo("WriteBlobStream");
  if (memo == nullptr || !stream.open || stream.mode != 2 || count <= 0) return 0;
  const WorkArea& area = *MemoArea();
  if (stream.length >= 0) count = std::min(count, std::max<std::int64_t>(0, stream.length - stream.position));
  const char* in = static_cast<const char*>(buffer);
  std::int64_t written = 0;
  std::string piece;
  while (written < count) {
    const std::int64_t n = std::min(kMaxPiece, count - written);
    piece.assign(in + written, static_cast<std::size_t>(n));
    if (Converts(area, stream, conversion, piece.data(), n)) AnsiToOemBuffer(piece.data(), piece.size());
    if (const int err = WriteBytesAt(memo->fd, piece.data(), piece.size(), stream.dataStart + stream.position);
        err != 0) {
      SetError(OsErrorCode(err, true), memo->name + " [WriteBlobStream]");
      break;
    }
    stream.position += n;
    stream.written = std::max(stream.written, stream.position);
    written += n;
    // Other programs see the file's new end at once.
    if (!memo->headIsChain) {
      const std::int64_t size = MemoFileSize(*memo);
      MainHeaderWrite(*memo, static_cast<std::uint32_t>((size - 1) / memo->blockSize + 1));
    }
  }
  return written;
}

std::int64_t SeekBlob(BlobState& stream, std::int64_t offset, int origin) {
  MemoFile* memo = StreamMemo("SeekBlob");
  if (memo == nullptr || !stream.open) return 0;
  std::int64_t position = stream.position;
  if (origin == 0) {
    position = offset;
  } else if (origin == 1) {
    position += offset;
  } else {
    std::int64_t length = stream.length;
    if (stream.mode == 2) {
      length = std::max(stream.written, length < 0 ? 0 : length);
    } else if (length < 0) {
      length = TextLength(*memo, stream.dataStart);
    }
    position = length + offset;
  }
  stream.position = std::max<std::int64_t>(0, position);
  return stream.position;
}

bool CloseBlob(BlobState& stream) {
  MemoFile* memo = StreamMemo("CloseBlob");
  if (memo == nullptr || !stream.open) return false;
  bool ok = true;
  if (stream.mode == 2) {
    if (memo->Dialect() == MemoDialect::Dbase3) {
      ok = FinishDbase3Value(*memo, stream);
    } else {
      ok = WriteGroupHeader(*memo, stream.dataStart - static_cast<std::int64_t>(kBlockHeaderSize),
                            static_cast<std::uint32_t>(stream.written));
    }
    if (ok && !memo->headIsChain) {
      const std::int64_t size = MemoFileSize(*memo);
      ok = MainHeaderWrite(*memo, static_cast<std::uint32_t>((size + memo->blockSize - 1) / memo->blockSize));
    }
    ReleaseMemoLock(*memo);
    ::fdatasync(memo->fd);
    memo->streamWriting = false;
  }
  stream.open = false;
  return ok;
}

namespace {

// The work area's one stream of the commands without a state.
BlobState* AreaStream(const char* operation) {
  MemoFile* memo = StreamMemo(operation);
  return memo != nullptr ? &memo->stream : nullptr;
}

}  // namespace

std::int32_t OpenBlob(bool resetConversion, std::int32_t block, int mode, std::int64_t size) {
  BlobState* stream = AreaStream("OpenBlob");
  return stream != nullptr ? OpenBlob(*stream, resetConversion, block, mode, size) : 0;
}

std::int64_t ReadBlobStream(void* buffer, std::int64_t count, int conversion) {
  BlobState* stream = AreaStream("ReadBlobStream");
  return stream != nullptr ? ReadBlobStream(*stream, buffer, count, conversion) : 0;
}

std::int64_t WriteBlobStream(const void* buffer, std::int64_t count, int conversion) {
  BlobState* stream = AreaStream("WriteBlobStream");
  return stream != nullptr ? WriteBlobStream(*stream, buffer, count, conversion) : 0;
}

std::int64_t SeekBlob(std::int64_t offset, int origin) {
  BlobState* stream = AreaStream("SeekBlob");
  return stream != nullptr ? SeekBlob(*stream, offset, origin) : 0;
}

bool CloseBlob() {
  BlobState* stream = AreaStream("CloseBlob");
  return stream != nullptr && CloseBlob(*stream);
}

}  // namespace dbase
