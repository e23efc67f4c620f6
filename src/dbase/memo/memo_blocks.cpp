// The free-block chain of dBASE IV memo files.
#include "dbase/memo/memo_blocks.h"

#include <algorithm>

#include "dbase/engine/dbf_file.h"
#include "dbase/engine/error_codes.h"

namespace dbase {

namespace {

constexpr std::uint32_t kChainEnd = 0xFFFFFFFF;

std::uint32_t BlockCount(const MemoFile& memo) {
  const std::int64_t size = MemoFileSize(memo);
  return static_cast<std::uint32_t>(std::max<std::int64_t>(1, size / memo.blockSize));
}

bool InChain(std::uint32_t block, std::uint32_t count) {
  return block >= 1 && block < count && (block & 0xFFFF) != 0xFFFF;
}

struct Run {
  std::uint32_t next = kChainEnd;
  std::uint32_t length = 0;
};

bool ReadRun(const MemoFile& memo, std::uint32_t block, Run& run) {
  std::uint8_t bytes[8];
  if (ReadBytesAt(memo.fd, bytes, 8, static_cast<std::int64_t>(block) * memo.blockSize) != 8) return false;
  run.next = static_cast<std::uint32_t>(bytes[0] | (bytes[1] << 8) | (bytes[2] << 16)) |
             (static_cast<std::uint32_t>(bytes[3]) << 24);
  run.length = static_cast<std::uint32_t>(bytes[4] | (bytes[5] << 8) | (bytes[6] << 16)) |
               (static_cast<std::uint32_t>(bytes[7]) << 24);
  return true;
}

bool WriteWords(const MemoFile& memo, std::uint32_t block, const std::uint32_t* words, int count) {
  std::uint8_t bytes[8];
  for (int w = 0; w < count; ++w) {
    for (int i = 0; i < 4; ++i) bytes[4 * w + i] = static_cast<std::uint8_t>(words[w] >> (8 * i));
  }
  return WriteBytesAt(memo.fd, bytes, static_cast<std::size_t>(4 * count),
                      static_cast<std::int64_t>(block) * memo.blockSize) == 0;
}

// Points the chain entry before a run (the header for block 0) at target.
bool Link(MemoFile& memo, std::uint32_t previous, std::uint32_t target, std::uint32_t count) {
  if (previous == 0) {
    memo.headIsChain = InChain(target, count);
    return MainHeaderWrite(memo, memo.headIsChain ? target : count);
  }
  return WriteWords(memo, previous, &target, 1);
}

}  // namespace

std::uint32_t BlocksNeeded(const MemoFile& memo, std::int64_t bytes) {
  return static_cast<std::uint32_t>(bytes / memo.blockSize + 1);
}

bool ReleaseBlocks(MemoFile& memo, std::uint32_t first, std::uint32_t count) {
  const std::uint32_t blocks = BlockCount(memo);
  if (first < 1 || first >= blocks || count == 0) return true;
  count = std::min(count, blocks - first);
  std::uint32_t previous = 0;
  std::uint32_t current = memo.headIsChain ? MainHeaderRead(memo) : kChainEnd;
  for (int visits = 0; InChain(current, blocks) && current < first && visits < kMaxChainVisits; ++visits) {
    Run run;
    if (!ReadRun(memo, current, run)) {
      SetError(30, memo.name + " [EditMemo/CloseMemo]");
      return false;
    }
    previous = current;
    current = run.next;
  }
  if (current == first) return true;  // already free
  const std::uint32_t words[2] = {InChain(current, blocks) ? current : kChainEnd, count};
  if (!WriteWords(memo, first, words, 2) || !Link(memo, previous, first, blocks)) {
    SetError(29, memo.name + " [EditMemo/CloseMemo]");
    return false;
  }
  return true;
}

std::int32_t FindFreeBlocks(MemoFile& memo, std::uint32_t needed, std::int32_t oldBlock, const std::string& caller) {
  const std::uint32_t blocks = BlockCount(memo);
  if (oldBlock > 0 && static_cast<std::uint32_t>(oldBlock) < blocks) {
    const std::uint32_t have = ReadGroupHeader(memo, oldBlock);
    if (TzError != 0) return 0;
    if (have >= needed) {
      if (have > needed && !ReleaseBlocks(memo, static_cast<std::uint32_t>(oldBlock) + needed, have - needed)) {
        return 0;
      }
      return oldBlock;
    }
  }
  std::uint32_t previous = 0;
  std::uint32_t current = memo.headIsChain ? MainHeaderRead(memo) : kChainEnd;
  int visits = 0;
  while (InChain(current, blocks)) {
    if (++visits > kMaxChainVisits) {
      // A chain this long is taken as damaged: it is dropped.
      memo.headIsChain = false;
      if (!MainHeaderWrite(memo, blocks + needed)) return 0;
      break;
    }
    Run run;
    if (!ReadRun(memo, current, run)) {
      SetError(30, memo.name + " [" + caller + "]");
      return 0;
    }
    if (run.length >= needed) {
      bool ok;
      if (run.length > needed) {
        const std::uint32_t rest = current + needed;
        const std::uint32_t words[2] = {InChain(run.next, blocks) ? run.next : kChainEnd, run.length - needed};
        ok = WriteWords(memo, rest, words, 2) && Link(memo, previous, rest, blocks);
      } else {
        ok = Link(memo, previous, InChain(run.next, blocks) ? run.next : kChainEnd, blocks);
      }
      if (!ok) {
        SetError(29, memo.name + " [" + caller + "]");
        return 0;
      }
      return static_cast<std::int32_t>(current);
    }
    previous = current;
    current = run.next;
  }
  return static_cast<std::int32_t>(blocks);
}

}  // namespace dbase
