// OpenIndex, CloseIndex and CloseAllIndexes.
#include "dbase/index/index_open.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>
#include <memory>

#include "dbase/engine/engine_code_page.h"
#include "dbase/engine/engine_hooks.h"
#include "dbase/engine/locking.h"
#include "dbase/engine/error_codes.h"
#include "dbase/engine/os_errors.h"
#include "dbase/engine/os_locks.h"
#include "dbase/expr/expr_hooks.h"
#include "dbase/index/index_anchor.h"
#include "dbase/index/index_check.h"
#include "dbase/index/index_search.h"
#include "dbase/index/key_primitives.h"
#include "dbase/index/table_semaphore.h"

namespace dbase {

using namespace ndx;

namespace {

void ReadBracket(bool begin) {
  if (IndexHooks.readSemaphore) IndexHooks.readSemaphore(begin);
}

std::string NormalizedMarker() {
  std::string marker = kKeyMakerMarker;
  NormalizeKeyExpr(marker, true);
  return marker;
}

void FreeIndex(IND* ind) {
  if (ind == nullptr) return;
  FreeExpr(ind->expr);
  if (ind->fd >= 0) ::close(ind->fd);
  delete ind;
}

}  // namespace

bool OpenIndex(const std::string& fileName, int slot, KeyMakerProc keyMaker, void* userData,
               const OpenIndexOptions& options) {
  TzError = 0;
  WorkArea* area = CheckDbInUse("SetIndexTo");
  if (area == nullptr) return false;
  const std::string name = FindIndexFile(fileName);
  if (slot < 1 || slot > kMaxIndexSlots) {
    SetError(220, name + " [SetIndexTo/OpenIndex]");
    return false;
  }
  if (IndexFileIsOpen(name)) {
    SetError(220, name + " [SetIndexTo/OpenIndex]");
    return false;
  }
  AreaIndexes& slots = IndexSlots[static_cast<std::size_t>(CurrentArea)];
  if (slots.slots[static_cast<std::size_t>(slot)] != nullptr) {
    SetError(254, "Internal error: IND pointer already allocated" + name);
    return false;
  }
  // A table open read-only has its indexes read, never written.
  const bool readOnly = !area->table.mode.write;
  const int fd = ::open(name.c_str(), (readOnly ? O_RDONLY : O_RDWR) | O_CLOEXEC);
  if (fd < 0) {
    SetError(OsErrorCode(errno), "Unable to open index: " + name);
    return false;
  }
  auto ind = std::make_unique<IND>();
  ind->fd = fd;
  ind->fileName = name;
  ind->slot = slot;
  ind->area = CurrentArea;
  ind->readOnly = readOnly;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || info.st_size < static_cast<off_t>(2 * kBlockSize)) {
    SetError(222, "Unable to open index: " + name);
    FreeIndex(ind.release());
    return false;
  }
  std::uint8_t anchor[kBlockSize] = {};
  // The anchor and the table's record count are taken together, while no
  // program that has the index open writes, so that the trailer is judged
  // against the count it was written with.
  ReadBracket(true);
  const std::int64_t got = ReadBytesAt(fd, anchor, sizeof anchor, 0);
  if (area->Shared() && !area->table.isVirtual) RefreshRecCountOf(*area, true);
  ReadBracket(false);
  if (got != static_cast<std::int64_t>(sizeof anchor)) {
    SetError(222, "Unable to open index: " + name);
    FreeIndex(ind.release());
    return false;
  }
  DecodeAnchorHeader(*ind, anchor);
  // The anchor keeps the bytes it was read with; the compiler reads them in
  // the engine's code page.
  ind->exprText = ZToStrN(reinterpret_cast<const char*>(anchor + kExpressionOffset), kExpressionReadSize - 1);
  std::string expression = area->table.oem ? OemToAnsiStr(ind->exprText) : ind->exprText;
  NormalizeKeyExpr(expression, true);
  const bool markerStored = expression == NormalizedMarker();
  const bool validHeader = ind->keyLength >= 1 && ind->keyLength <= kMaxKeyLength &&
                           ind->entrySize == EntrySizeOf(ind->keyLength) &&
                           ind->keysPerNode == KeysPerNodeOf(ind->entrySize) && ind->keysPerNode >= 1 &&
                           ind->root >= 1;
  if (!keyMaker) {
    if (markerStored) {
      SetError(223, "Key maker function required, \"" + name + "\" was created using KeyMaker function.");
      FreeIndex(ind.release());
      return false;
    }
    if (!ExprLayerPresent()) {
      SetError(221, "TZParser unit not linked in. [OpenIndex]");
      FreeIndex(ind.release());
      return false;
    }
    ind->expr = expression.empty() ? nullptr : AssignExpr(expression);
    if (ind->expr == nullptr || !validHeader) {
      SetError(222, "Invalid dBASE key expression or corrupted index file " + name);
      FreeIndex(ind.release());
      return false;
    }
    const char type = ind->expr->resultType;
    if (type != 'C' && type != 'D' && type != 'F' && type != 'N') {
      SetError(222, "Invalid dBASE key expression or corrupted index file " + name);
      FreeIndex(ind.release());
      return false;
    }
    ind->resultType = type;
    ind->resultWidth = ind->expr->width;
    ind->resultDecimals = ind->expr->decimals;
  } else {
    if (!markerStored) {
      SetError(223, "Attempted use of Key Maker function with index file created with a dBASE key expression "
                    "[OpenIndex/Set_Index_ToCB(" + name + ")]");
      FreeIndex(ind.release());
      return false;
    }
    if (!validHeader) {
      SetError(222, "Invalid dBASE key expression or corrupted index file " + name);
      FreeIndex(ind.release());
      return false;
    }
    ind->keyMaker = std::move(keyMaker);
    ind->userData = userData;
    ind->soundex = options.soundex;
    ind->descending = options.descending;
    ind->resultType = 'C';
  }
  ind->charKey = ind->keyType == 'C';
  if (ind->charKey != (ind->numericFlag == 0) || (!ind->charKey && ind->keyLength != kNumericKeyLength)) {
    SetError(222, "Invalid dBASE key expression or corrupted index file " + name);
    FreeIndex(ind.release());
    return false;
  }
  ind->oldKey.assign(ind->keyLength, ind->charKey ? ' ' : '\0');
  if (area->table.recordCount > 0 && ind->charKey) {
    const std::string blank = BlankRecordKey(*ind, *area);
    if (blank.size() != ind->keyLength) {
      const std::uint16_t keyLength = ind->keyLength;
      FreeIndex(ind.release());
      SetError(266, "Incorrect key length: Must be 1 to 100.\n\rExpected Length= " + std::to_string(keyLength) + blank);
      return false;
    }
  }
  // An index the anchor gives reason to doubt is checked against the table
  // before it is used: one that does not match it is refused.
  switch (JudgeTrailer(anchor, area->table)) {
    case TrailerVerdict::NeedsRebuild:
      ReportIndexMismatch(*ind, "an update of it failed before it was complete", "SetIndexTo/OpenIndex");
      FreeIndex(ind.release());
      return false;
    case TrailerVerdict::Doubtful:
      if (!CheckIndexAgainstTable(*ind, "SetIndexTo/OpenIndex")) {
        FreeIndex(ind.release());
        return false;
      }
      break;
    case TrailerVerdict::Trusted:
      ind->heldCount = StoredHeldCount(anchor);
      break;
  }
  IND* opened = ind.release();
  slots.slots[static_cast<std::size_t>(slot)] = opened;
  if (slot == 1 && !options.noCache && !NoNodeCache && !NetworkLocking && NodeCacheSize > 0) {
    slots.cache = std::make_unique<NodeCache>(NodeCacheSize);
  }
  if (area->table.recordCount > 0) {
    if (slot == 1) PositionOnFirstVisibleKey();
    // The first keys already show that the index does not match the table.
    if (TzError == 222) {
      const std::string detail = TzErrorDetail;
      const bool report = SetReportErrors(false);
      CloseIndex(slot);
      SetReportErrors(report);
      TzError = 222;
      LastErrorCode = 222;
      TzErrorDetail = detail;
      return false;
    }
  } else {
    opened->bof = opened->eof = true;
    GetNode(*opened, 1);
  }
  // Only an index the open accepted has its anchor mended.
  if (TzError == 0) RepairNextFree(*opened);
  return TzError == 0;
}

void CloseIndex(int slot) {
  if (CurrentArea < 1 || CurrentArea > kMaxWorkAreas || slot < 1 || slot > kMaxIndexSlots) return;
  AreaIndexes& slots = IndexSlots[static_cast<std::size_t>(CurrentArea)];
  IND* ind = slots.slots[static_cast<std::size_t>(slot)];
  if (ind == nullptr) return;
  slots.slots[static_cast<std::size_t>(slot)] = nullptr;
  const WorkArea* area = CurrentWorkAreaRecord();
  if (slot == 1 && slots.cache) {
    slots.cache->Empty(*ind);
    slots.cache.reset();
  }
  if (ind->anchorModified && !ind->readOnly) {
    // An anchor change whose write failed: written now from the anchor as
    // the file holds it (another program may have changed it since), with
    // the next free block the file size gives, under the write lock.
    const bool shared = area != nullptr && area->Shared();
    int err = shared ? OsLockRange(ind->fd, 0, 1, LockKind::Exclusive) : 0;
    if (err != 0) {
      SetError(OsErrorCode(err), "Could not lock index for writing anchor node " + ind->fileName);
    } else {
      RepairNextFree(*ind);
      if (shared && (err = OsLockRange(ind->fd, 0, 1, LockKind::Release)) != 0) {
        SetError(OsErrorCode(err), "Could not unlock index after writing anchor node " + ind->fileName);
      }
    }
  }
  FreeExpr(ind->expr);
  const int fd = ind->fd;
  ind->fd = -1;
  const std::string name = ind->fileName;
  delete ind;
  if (fd >= 0 && ::close(fd) != 0) SetError(OsErrorCode(errno), "Error closing index file:  " + name);
  // The last index of a shared table closed: this program leaves the table's
  // semaphore.
  for (const IND* open : slots.slots) {
    if (open != nullptr) return;
  }
  DatabaseSemaphore(kSemLogout);
}

void EmptyNodeCache() {
  if (CurrentArea < 1 || CurrentArea > kMaxWorkAreas) return;
  AreaIndexes& slots = IndexSlots[static_cast<std::size_t>(CurrentArea)];
  if (slots.cache && slots.slots[1] != nullptr) slots.cache->Empty(*slots.slots[1]);
}

void CloseAllIndexes() {
  const bool report = SetReportErrors(false);
  for (int slot = 1; slot <= kMaxIndexSlots; ++slot) CloseIndex(slot);
  SetReportErrors(report);
  if (CurrentArea >= 1 && CurrentArea <= kMaxWorkAreas) IndexSlots[static_cast<std::size_t>(CurrentArea)].naturalOrder = false;
}

}  // namespace dbase
