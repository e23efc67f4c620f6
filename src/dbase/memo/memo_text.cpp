// Memo values as text: the line buffer, new and rewritten memos, and the
// text-file view of a memo.
#include "dbase/memo/memo_text.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "dbase/common/file_routines.h"
#include "dbase/engine/dbf_layout.h"
#include "dbase/engine/error_codes.h"
#include "dbase/engine/file_names.h"
#include "dbase/engine/os_errors.h"
#include "dbase/engine/restore_on_exit.h"
#include "dbase/memo/memo_blocks.h"
#include "dbase/memo/memo_file.h"

namespace dbase {

std::vector<std::string> MemoLines;
std::vector<std::uint8_t> MemoLineEnds;
int MemoLineCount = 0;
bool MemoLinesDropped = false;

namespace {

// The block whose memo the last GetMemo read only in part (0: none).
std::int32_t CutMemoBlock = 0;

std::string RecordText(const WorkArea& area) { return " Record # " + std::to_string(area.table.currentRecord); }

// Splits stored bytes into lines: CR (with the LF after it) is a hard
// return, 141 followed by LF a soft return; a line reaching the width is
// broken after its last blank (or at the width) and gets no line end. Each
// finished line passes through the table's read translation.
// Answers whether text was left over at the limit.
bool SplitStoredText(const WorkArea& area, const std::string& raw, std::size_t width, int limit,
                     std::vector<std::string>& lines, std::vector<std::uint8_t>& ends) {
  std::string line;
  auto finish = [&](std::uint8_t end) {
    MemoReadTranslate(area, line.data(), line.size());
    lines.push_back(line);
    ends.push_back(end);
    line.clear();
  };
  const std::size_t n = raw.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (limit > 0 && static_cast<int>(lines.size()) >= limit) return true;
    const char c = raw[i];
    if (c == '\r') {
      finish(kHardReturn);
      if (i + 1 < n && raw[i + 1] == '\n') ++i;
      continue;
    }
    // A soft return is 141 followed by LF: a lone 141 is a character of the
    // code page and stays in the text.
    if (c == static_cast<char>(kSoftReturn) && i + 1 < n && raw[i + 1] == '\n') {
      finish(kSoftReturn);
      ++i;
      continue;
    }
    if (line.size() >= width) {
      const std::size_t blank = line.rfind(' ');
      if (blank == std::string::npos) {
        finish(kNoLineEnd);
      } else {
        std::string rest = line.substr(blank + 1);
        line.resize(blank + 1);
        finish(kNoLineEnd);
        line = std::move(rest);
      }
    }
    line.push_back(c);
  }
  if (limit <= 0 || static_cast<int>(lines.size()) < limit) finish(kNoLineEnd);
  return false;
}

int LineCapacity() { return std::max<int>(1, MaxMemoLines); }

// The lines joined again with the ends they were read with.
std::string JoinLines(const std::vector<std::string>& lines, const std::vector<std::uint8_t>& ends) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    text += lines[i];
    const std::uint8_t end = i < ends.size() ? ends[i] : kHardReturn;
    if (end == kHardReturn) text += "\r\n";
    if (end == kSoftReturn) {
      text.push_back(static_cast<char>(kSoftReturn));
      text.push_back('\n');
    }
  }
  return text;
}

std::string TrimTrailingBlanks(std::string text) {
  const std::size_t end = text.find_last_not_of(' ');
  text.resize(end == std::string::npos ? 0 : end + 1);
  return text;
}

// Stores a text as a memo of the current area's memo file. A rewrite
// (oldBlock given, reuse set) lets dBASE IV keep or reuse blocks; every
// other write goes to the end of the file.
std::int32_t StoreText(WorkArea& area, MemoFile& memo, std::int32_t oldBlock, const std::string& text,
                       const std::string& caller, bool reuse) {
  std::string raw = TrimTrailingBlanks(text);
  if (raw.empty()) return 0;
  MemoWriteTranslate(area, raw.data(), raw.size());
  const MemoDialect dialect = memo.Dialect();
  const std::int64_t total = static_cast<std::int64_t>(raw.size()) +
                             (dialect == MemoDialect::Dbase3 ? 2 : static_cast<std::int64_t>(kBlockHeaderSize));
  if (reuse) {
    std::string dir, name, ext;
    SplitPath(memo.name, dir, name, ext);
    if (DiskFreeKB(dir) <= total / 1024) {
      SetError(1004, memo.name);
      return 0;
    }
  }
  const std::int64_t end = LockMemoPadAndSeekEOF(memo, caller);
  if (end == 0) return 0;
  std::int32_t block = static_cast<std::int32_t>(end / memo.blockSize);
  std::string bytes;
  if (dialect == MemoDialect::Dbase3) {
    bytes = raw + kDbase3TextEnd;
    // The file stays a multiple of the block size.
    bytes.resize((bytes.size() + memo.blockSize - 1) / memo.blockSize * memo.blockSize, '\0');
  } else {
    if (dialect == MemoDialect::Dbase4 && reuse) {
      const std::uint32_t needed = BlocksNeeded(memo, total);
      const bool inFile = oldBlock > 0 && (static_cast<std::int64_t>(oldBlock) + 1) * memo.blockSize <= end;
      const std::uint32_t have = inFile ? ReadGroupHeader(memo, oldBlock) : 0;
      if (TzError != 0) {
        ReleaseMemoLock(memo);
        return 0;
      }
      std::int32_t reuseFrom = oldBlock;
      if (have < needed) {
        if (have > 0 && !ReleaseBlocks(memo, static_cast<std::uint32_t>(oldBlock), have)) {
          ReleaseMemoLock(memo);
          return 0;
        }
        reuseFrom = 0;
      }
      block = FindFreeBlocks(memo, needed, have > 0 ? reuseFrom : 0, caller);
      if (block == 0) {
        ReleaseMemoLock(memo);
        return 0;
      }
    }
    bytes.assign(kBlockHeaderSize, '\0');
    bytes += raw;
  }
  const std::int64_t offset = static_cast<std::int64_t>(block) * memo.blockSize;
  int err = WriteBytesAt(memo.fd, bytes.data(), bytes.size(), offset);
  if (err == 0 && dialect != MemoDialect::Dbase3 &&
      !WriteGroupHeader(memo, offset, static_cast<std::uint32_t>(raw.size()))) {
    err = EIO;
  }
  if (err != 0) {
    SetError(OsErrorCode(err, true), memo.name + " [" + caller + "]");
    ReleaseMemoLock(memo);
    return 0;
  }
  ::fdatasync(memo.fd);
  if (!UpdateMemoHeader(memo)) return 0;
  return block;
}

// The value at a block of the current area's memo file, checked against the
// file's end.
bool ReadStored(MemoFile& memo, const WorkArea& area, std::int32_t block, const std::string& tag, std::string& raw) {
  const std::int64_t offset = static_cast<std::int64_t>(block < 0 ? -static_cast<std::int64_t>(block) : block) *
                              memo.blockSize;
  if (offset >= MemoFileSize(memo) - 1) {
    SetError(1003, memo.name + RecordText(area) + " [" + tag + "]");
    return false;
  }
  MemoValue value;
  if (!LocateMemoValue(memo, block, value) || !ReadMemoBytes(memo, value, raw)) {
    SetError(30, memo.name);
    return false;
  }
  return true;
}

}  // namespace

std::size_t MemoLineWidth() {
  if (MemoWidthOn && MemoWidth > 0) return MemoWidth;
  return kDefaultMemoLineWidth;
}

bool GetMemo(std::int32_t block, int lineLimit) {
  TzError = 0;
  MemoLines.clear();
  MemoLineEnds.clear();
  MemoLineCount = 1;
  MemoLinesDropped = false;
  MemoFile* memo = CurrentMemoFile("GetMemo");
  if (memo == nullptr) return false;
  WorkArea& area = *MemoArea();
  std::string raw;
  if (block != 0 && !ReadStored(*memo, area, block, "GetMemo", raw)) {
    MemoLines.assign(1, std::string());
    MemoLineEnds.assign(1, kNoLineEnd);
    return false;
  }
  const int capacity = LineCapacity();
  const int limit = lineLimit > 0 ? std::min(lineLimit, capacity) : capacity;
  MemoLinesDropped = SplitStoredText(area, raw, MemoLineWidth(), limit, MemoLines, MemoLineEnds) &&
                     (lineLimit <= 0 || lineLimit > capacity);
  CutMemoBlock = MemoLinesDropped ? (block < 0 ? -block : block) : 0;
  if (MemoLines.empty()) {
    MemoLines.assign(1, std::string());
    MemoLineEnds.assign(1, kNoLineEnd);
  }
  MemoLineCount = static_cast<int>(MemoLines.size());
  return true;
}

std::int32_t AddMemo(const std::string& text) {
  TzError = 0;
  MemoFile* memo = CurrentMemoFile("AddMemo");
  if (memo == nullptr) return 0;
  return StoreText(*MemoArea(), *memo, 0, text, "AddMemo()", false);
}

std::int32_t CloseMemo(std::int32_t block) {
  TzError = 0;
  MemoFile* memo = CurrentMemoFile("CloseMemo");
  if (memo == nullptr) return 0;
  const std::int32_t absolute = block < 0 ? -block : block;
  // Lines read only up to MaxMemoLines would replace the whole memo.
  if (MemoLinesDropped && absolute != 0 && absolute == CutMemoBlock) {
    SetError(1005, memo->name + " Memo block # " + std::to_string(absolute) + " holds more than " +
                       std::to_string(LineCapacity()) + " lines (MaxMemoLines); lines read in part are not written" +
                       " back [EditMemo/CloseMemo]");
    return 0;
  }
  const std::string text = JoinLines(MemoLines, MemoLineEnds);
  MemoLineEnds.clear();
  return StoreText(*MemoArea(), *memo, absolute, text, "EditMemo/CloseMemo", true);
}

bool ReadMemoText(std::int32_t block, std::string& text) {
  text.clear();
  MemoFile* memo = CurrentMemoFile("ReadMemoText");
  if (memo == nullptr) return false;
  if (block == 0) return true;
  const WorkArea& area = *MemoArea();
  if (!ReadStored(*memo, area, block, "ReadMemoText", text)) return false;
  MemoReadTranslate(area, text.data(), text.size());
  return true;
}

bool ReadMemoTextLines(std::int32_t block, std::vector<std::string>& lines) {
  lines.clear();
  MemoTextFile file;
  if (file.Assign(&block) != 0 || file.Reset() != 0) return false;
  std::string line;
  while (file.ReadLine(line)) lines.push_back(line);
  return true;
}

int MemoTextFile::Assign(std::int32_t* blockVariable) {
  mode_ = Mode::Closed;
  block_ = nullptr;
  WorkArea* area = CheckDbInUse("AssignMemo");
  if (area == nullptr) return 215;
  if (CurrentMemoFile("AssignMemo") == nullptr) return 1019;
  area_ = area->number;
  block_ = blockVariable;
  return 0;
}

int MemoTextFile::Reset() {
  if (block_ == nullptr) return 102;
  RestoreOnExit<int> savedArea(CurrentArea, area_);
  if (!GetMemo(*block_)) return 100;
  lines_ = MemoLines;
  ends_ = MemoLineEnds;
  next_ = 0;
  mode_ = Mode::Input;
  return 0;
}

int MemoTextFile::Rewrite() {
  if (block_ == nullptr) return 102;
  lines_.clear();
  ends_.clear();
  pending_.clear();
  afterCr_ = false;
  mode_ = Mode::Output;
  return 0;
}

int MemoTextFile::Append() {
  if (block_ == nullptr) return 102;
  RestoreOnExit<int> savedArea(CurrentArea, area_);
  if (!GetMemo(*block_)) return 100;
  if (MemoLinesDropped) return 101;
  lines_ = MemoLines;
  ends_ = MemoLineEnds;
  pending_.clear();
  // The text goes on after the last line, which has no line end of its own.
  if (!lines_.empty() && ends_.back() != kHardReturn) {
    pending_ = lines_.back();
    lines_.pop_back();
    ends_.pop_back();
  }
  afterCr_ = false;
  mode_ = Mode::Output;
  return 0;
}

bool MemoTextFile::Eof() const {
  if (mode_ != Mode::Input || next_ >= lines_.size()) return true;
  return next_ + 1 == lines_.size() && lines_[next_].empty() && ends_[next_] != kHardReturn;
}

bool MemoTextFile::ReadLine(std::string& line) {
  line.clear();
  if (Eof()) return false;
  while (next_ < lines_.size()) {
    line += lines_[next_];
    const std::uint8_t end = ends_[next_++];
    if (end == kHardReturn) break;
  }
  return true;
}

int MemoTextFile::Write(const std::string& text) {
  if (mode_ != Mode::Output) return 105;
  const std::size_t capacity = static_cast<std::size_t>(LineCapacity());
  for (const char c : text) {
    if (c == '\n' && afterCr_) {
      afterCr_ = false;
      continue;
    }
    // The line a character or a line end belongs to must fit the buffer.
    if (lines_.size() >= capacity) return 101;
    if (c == '\r' || c == '\n') {
      lines_.push_back(pending_);
      ends_.push_back(kHardReturn);
      pending_.clear();
      afterCr_ = c == '\r';
      continue;
    }
    afterCr_ = false;
    pending_.push_back(c);
  }
  return 0;
}

int MemoTextFile::WriteLine(const std::string& text) { return Write(text + "\r\n"); }

int MemoTextFile::Close() {
  const Mode mode = mode_;
  mode_ = Mode::Closed;
  if (mode != Mode::Output) return 0;
  RestoreOnExit<int> savedArea(CurrentArea, area_);
  // The buffer now holds this file's whole text.
  MemoLinesDropped = false;
  MemoLines = lines_;
  MemoLineEnds = ends_;
  MemoLines.push_back(pending_);
  MemoLineEnds.push_back(kNoLineEnd);
  const std::string text = JoinLines(MemoLines, MemoLineEnds);
  const std::int32_t block = CloseMemo(*block_);
  if (block == 0 && !TrimTrailingBlanks(text).empty()) return 101;
  *block_ = block;
  return 0;
}

}  // namespace dbase
