// Append, Replace, DeleteRec, RecallRec and Pack.
#include "dbase/engine/record_changes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "dbase/engine/dbf_file.h"
#include "dbase/engine/dbf_layout.h"
#include "dbase/engine/dbf_native.h"
#include "dbase/engine/engine_hooks.h"
#include "dbase/engine/error_codes.h"
#include "dbase/engine/locking.h"
#include "dbase/engine/navigation.h"
#include "dbase/engine/os_errors.h"
#include "dbase/engine/os_locks.h"
#include "dbase/engine/restore_on_exit.h"
#include "dbase/engine/work_areas.h"

namespace dbase {

bool ConfirmPack = false;
bool IndexOnReplace = true;

namespace {

// Whether the change must reach indexes: any open one, controlling or not.
bool IndexesOpen() { return IndexHooks.indexesOpen && IndexHooks.indexesOpen(); }

void LockBracket(bool begin) {
  if (IndexHooks.lockSemaphore) IndexHooks.lockSemaphore(begin);
}

// The index write lock of a change. It is given back also when an error
// is raised as an exception on the way: a kept write lock would stop every
// other program sharing the table. A lock that could not be had ends the
// change before anything is written.
class WriteBracket {
 public:
  bool Begin() {
    const std::uint16_t before = TzError;
    open_ = true;
    LockBracket(true);
    return TzError == before;
  }
  void End() {
    if (!open_) return;
    open_ = false;
    LockBracket(false);
  }
  ~WriteBracket() {
    if (!open_) return;
    open_ = false;
    try {
      LockBracket(false);
    } catch (const EDidozError&) {
      // The first error is the one on its way.
    }
  }

 private:
  bool open_ = false;
};

// The doubt the indexes a change reaches keep from before its record is
// written until its keys are (the index layer marks them on disk). A change
// left by an error, an exception among them, leaves them in doubt.
class KeyChange {
 public:
  bool Begin(ChangeMark what) {
    if (!IndexHooks.markChange) return true;
    open_ = IndexHooks.markChange(what);
    return open_;
  }
  void End(bool complete) {
    if (!open_) return;
    open_ = false;
    IndexHooks.markChange(complete ? ChangeMark::Done : ChangeMark::Failed);
  }
  ~KeyChange() {
    if (!open_) return;
    open_ = false;
    try {
      IndexHooks.markChange(ChangeMark::Failed);
    } catch (const EDidozError&) {
      // The first error is the one on its way.
    }
  }

 private:
  bool open_ = false;
};

std::string Quoted(const WorkArea& area) { return "\"" + AreaName(area) + "\""; }

// In a shared area a change of the current record needs the file lock or
// that record's lock.
bool RecordChangeAllowed(const WorkArea& area) {
  if (!area.Shared() || area.table.isVirtual || !NetworkLocking) return true;
  if (area.lockState == kFileLock) return true;
  return std::find(area.lockedRecords.begin(), area.lockedRecords.end(), area.table.currentRecord) !=
         area.lockedRecords.end();
}

// Writes the kept records of the table into a new file beside it and puts it
// in the table's place; the new file's descriptor replaces the old one.
// Answers the number of records kept, or -1 after an error was recorded.
std::int64_t CopyKeptRecords(WorkArea& area) {
  DbfTable& table = area.table;
  const std::string tempName = table.fileName + ".pack-" + std::to_string(::getpid());
  const int out = ::open(tempName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  auto fail = [&](int err) {
    if (out >= 0) ::close(out);
    ::unlink(tempName.c_str());
    SetError(OsErrorCode(err, true), "Error packing " + table.fileName);
    return std::int64_t{-1};
  };
  if (out < 0) return fail(errno);
  struct stat info {};
  if (::fstat(table.fd, &info) == 0) ::fchmod(out, info.st_mode & 07777);
  std::vector<std::uint8_t> header(table.headerLength);
  if (ReadBytesAt(table.fd, header.data(), header.size(), 0) != static_cast<std::int64_t>(header.size())) {
    return fail(EIO);
  }
  // Records are copied in their stored bytes, so no code-page round trip
  // touches them; blocks keep the number of system calls small.
  const std::size_t length = table.recordLength;
  const std::size_t perBlock = std::max<std::size_t>(1, (1 << 20) / length);
  std::vector<char> in(perBlock * length);
  std::string kept;
  kept.reserve(in.size());
  std::int64_t keptCount = 0;
  std::int64_t outOffset = table.headerLength;
  const std::int64_t count = table.recordCount;
  for (std::int64_t first = 1; first <= count; first += static_cast<std::int64_t>(perBlock)) {
    const std::int64_t n = std::min<std::int64_t>(static_cast<std::int64_t>(perBlock), count - first + 1);
    const std::size_t bytes = static_cast<std::size_t>(n) * length;
    if (ReadBytesAt(table.fd, in.data(), bytes, table.headerLength + (first - 1) * static_cast<std::int64_t>(length)) !=
        static_cast<std::int64_t>(bytes)) {
      return fail(EIO);
    }
    kept.clear();
    for (std::int64_t k = 0; k < n; ++k) {
      const char* record = in.data() + static_cast<std::size_t>(k) * length;
      if (record[0] == layout::kDeletedMark) continue;
      kept.append(record, length);
      ++keptCount;
    }
    if (const int err = WriteBytesAt(out, kept.data(), kept.size(), outOffset); err != 0) return fail(err);
    outOffset += static_cast<std::int64_t>(kept.size());
  }
  if (const int err = WriteBytesAt(out, &EndOfFileByte, 1, outOffset); err != 0) return fail(err);
  StampProlog(header.data(), static_cast<std::uint32_t>(keptCount), table.dbase2);
  if (const int err = WriteBytesAt(out, header.data(), header.size(), 0); err != 0) {
    return fail(err);
  }
  if (::fsync(out) != 0) return fail(errno);
  if (LockOpenMode(out, true, true) != 0) return fail(EAGAIN);
  if (::rename(tempName.c_str(), table.fileName.c_str()) != 0) return fail(errno);
  ::close(table.fd);
  table.fd = out;
  DropRecordCache(table);
  std::memcpy(table.prolog.data(), header.data(), layout::kPrologSize);
  table.recordCount = static_cast<std::uint32_t>(keptCount);
  table.lastUpdate = TodayStamp();
  table.state = kOpenUnchanged;
  return keptCount;
}

}  // namespace

bool Append() {
  WorkArea* area = BeginCommand("Append");
  if (area == nullptr) return false;
  DbfTable& table = area->table;
  if (area->Shared() && NetworkLocking && !table.isVirtual && area->lockState != kFileLock &&
      area->lockState != kAppendLock) {
    SetError(5, "File must be locked to append: " + AreaName(*area) + " [APPEND]");
    return false;
  }
  RefreshRecCountOf(*area);
  if (!table.isVirtual) NativeToRecord(table, area->native);
  const bool useIndex = IndexesOpen();
  WriteBracket bracket;
  if (useIndex && !bracket.Begin()) return false;
  bool ok = PutDbfRecord(table, static_cast<std::int64_t>(table.recordCount) + 1);
  if (ok && !table.isVirtual) {
    RecordToNative(table, area->native);
    // Other programs sharing the table see the new count at once.
    if (area->Shared()) ok = WriteHeaderNow(table);
  }
  if (ok && useIndex && IndexHooks.addKeys) IndexHooks.addKeys();
  bracket.End();
  table.eof = table.bof = false;
  RunRelation(*area);
  return ok && TzError == 0;
}

bool Replace() {
  WorkArea* area = BeginCommand("Replace");
  if (area == nullptr) return false;
  DbfTable& table = area->table;
  if (table.currentRecord < 1) {
    SetError(212, "Database " + Quoted(*area) + " is empty. [REPLACE]");
    return false;
  }
  if (table.currentRecord >= static_cast<std::int64_t>(table.recordCount) + 1) {
    SetError(212, "Database " + Quoted(*area) + " is at EOF. [REPLACE]");
    return false;
  }
  if (!RecordChangeAllowed(*area)) {
    SetError(1200, "Record #" + std::to_string(table.currentRecord) + " in " + AreaName(*area) + " [REPLACE]");
    return false;
  }
  const bool useIndex = IndexOnReplace && IndexesOpen() && !table.isVirtual;
  WriteBracket bracket;
  if (useIndex) {
    if (area->swap.size() < area->nativeSize) {
      SetError(254, "Swap-buffer NIL. " + AreaName(*area));
      return false;
    }
    if (!bracket.Begin()) return false;
    std::copy(area->native, area->native + area->nativeSize, area->swap.begin());
    // The index notes the keys of the record as it stands on disk; what the
    // caller assigned stays noted.
    const std::vector<bool> assigned = table.image.assigned;
    if (ReadIntoNative(*area, table.currentRecord) && IndexHooks.prepareReplace) IndexHooks.prepareReplace();
    std::copy(area->swap.begin(), area->swap.begin() + static_cast<std::ptrdiff_t>(area->nativeSize), area->native);
    table.image.assigned = assigned;
  }
  if (!table.isVirtual) NativeToRecord(table, area->native);
  KeyChange keys;
  if (useIndex && !keys.Begin(ChangeMark::RecordKeys)) return false;
  bool ok = PutDbfRecord(table, table.currentRecord);
  if (ok && !table.isVirtual) RecordToNative(table, area->native);
  if (ok && CommonHooks.updateReadCache) CommonHooks.updateReadCache();
  if (useIndex) {
    if (ok && IndexHooks.updateKeys) IndexHooks.updateKeys();
    // An error on the way (a key its index did not hold, a record not
    // written) leaves the indexes in doubt.
    keys.End(ok && TzError == 0);
    bracket.End();
  }
  RunRelation(*area);
  return ok && TzError == 0;
}

namespace {

bool SetDeletedFlag(bool deleted) {
  const char* tag = deleted ? "DeleteRec" : "RecallRec";
  WorkArea* area = BeginCommand(tag);
  if (area == nullptr) return false;
  DbfTable& table = area->table;
  if (!deleted) RefreshRecCountOf(*area);
  if (!RecordChangeAllowed(*area)) {
    if (deleted) {
      SetError(1200, AreaName(*area) + " Record not locked [DeleteRec]");
    } else {
      SetError(1200, "Record not locked [RecallRec]");
    }
    return false;
  }
  if (table.currentRecord < 1 || table.currentRecord > static_cast<std::int64_t>(table.recordCount)) {
    if (!deleted) SetError(1103, AreaName(*area) + " at EOF [RecallRec]");
    return false;
  }
  if (table.isVirtual) {
    // The list sets the flag in the record and in the buffer (where it sits
    // depends on the record layout).
    if (VirtualFileHook) VirtualFileHook(deleted ? kVfDelete : kVfRecall, static_cast<std::int32_t>(table.currentRecord));
    return TzError == 0;
  }
  area->native[0] = deleted ? 1 : 0;
  table.record[0] = deleted ? layout::kDeletedMark : layout::kActiveMark;
  const bool ok = WriteDeleteFlag(table, table.currentRecord);
  if (ok && CommonHooks.updateReadCache) CommonHooks.updateReadCache();
  return ok;
}

}  // namespace

bool DeleteRec() { return SetDeletedFlag(true); }

bool RecallRec() { return SetDeletedFlag(false); }

bool Pack() {
  WorkArea* area = BeginCommand("Pack");
  if (area == nullptr) return false;
  RefreshRecCountOf(*area);
  if (area->table.recordCount == 0) return false;
  const int areaNumber = area->number;
  const bool reopened = area->Shared() && !area->table.isVirtual;
  if (reopened) {
    Unlock();
    if (!ReopenTable(*area, true)) {
      // The table stays usable shared.
      const std::uint16_t code = TzError;
      const std::string detail = TzErrorDetail;
      ReopenTable(*area, false);
      TzError = code;
      TzErrorDetail = detail;
      return false;
    }
  }
  auto reopenShared = [&]() {
    if (!reopened || !WorkAreas[areaNumber]) return true;
    WorkArea& a = *WorkAreas[areaNumber];
    bool ok;
    {
      RestoreOnExit<bool> savedReport(ReportErrors, false);
      ok = ReopenTable(a, false);
    }
    if (!ok) {
      const std::uint16_t code = TzError;
      CloseWorkArea(areaNumber);
      SetError(code, "Cannot re-open database sharable. " + AreaName(a) + " [Pack]");
    }
    return ok;
  };
  if (ConfirmPack && TzMessageBox("PACK " + area->alias, "", true) != BoxAnswer::Ok) {
    reopenShared();
    return false;
  }
  if (area->table.isVirtual) {
    if (VirtualFileHook) VirtualFileHook(kVfPack, 0);
    return TzError == 0;
  }
  std::int64_t kept = -1;
  // Every open index stays in doubt from before the table is rewritten
  // until it is built anew.
  KeyChange keys;
  {
    RestoreOnExit<bool> savedFlush(FlushAfterWrite, false);
    RestoreOnExit<bool> savedSuspended(area->relationSuspended, true);
    // The table's own state is settled first, so that no later header
    // rewrite of the old file can be lost.
    if (FlushHeader(area->table) && (!IndexesOpen() || keys.Begin(ChangeMark::AllIndexes))) {
      kept = CopyKeptRecords(*area);
    }
  }
  bool ok = kept >= 0;
  if (ok) {
    DbfTable& table = area->table;
    if (kept == 0) {
      ClearRecordOf(*area);
      table.eof = table.bof = true;
      table.currentRecord = 0;
    } else {
      table.eof = table.bof = false;
      ReadIntoNative(*area, 1);
    }
    if (CommonHooks.dropReadCache) CommonHooks.dropReadCache(area->alias);
    if (table.hasMemo && MemoHooks.pack) {
      const int code = MemoHooks.pack();
      if (code != 0) ok = false;
    }
    if (IndexesOpen() && IndexHooks.rebuildAll) IndexHooks.rebuildAll();
  }
  // An index not built anew for the packed table (a failed build) stays
  // in doubt; an unchanged table leaves its indexes as they were.
  keys.End(kept < 0);
  const bool reopenedOk = reopenShared();
  if (reopenedOk && WorkAreas[areaNumber]) RunRelation(*WorkAreas[areaNumber]);
  return ok && reopenedOk;
}

}  // namespace dbase
