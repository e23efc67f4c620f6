// Lock state per work area and the operating-system locks behind it.
#include "dbase/engine/locking.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "dbase/engine/error_codes.h"
#include "dbase/engine/os_errors.h"
#include "dbase/engine/os_locks.h"
#include "dbase/engine/work_areas.h"

namespace dbase {

bool NetworkLocking = true;
std::uint16_t RecordLockLimit = 0;
std::uint8_t LockRetries = 0;
std::uint8_t LockRetryWait = 0;
std::function<bool()> LockRetryProc;

namespace {

// Whether the area takes operating-system locks at all.
bool TakesOsLocks(const WorkArea& area) { return NetworkLocking && area.Shared() && !area.table.isVirtual; }

std::int64_t RecordLockOffset(const WorkArea& area, std::int64_t record) {
  return LockBase + area.table.headerLength + (record - 1) * area.table.recordLength;
}

bool ReleaseRecord(WorkArea& area, std::list<std::int64_t>::iterator entry) {
  int code = 0;
  if (TakesOsLocks(area)) {
    code = LockRegion(true, area.table.fd, RecordLockOffset(area, *entry), area.table.recordLength);
  }
  area.lockedRecords.erase(entry);
  if (area.lockedRecords.empty()) area.lockState = kNoLock;
  if (code != 0) {
    TzError = static_cast<std::uint16_t>(code);
    return false;
  }
  return true;
}

// What is read under a lock comes from the file, not from records read
// ahead before the lock was had.
void SeeOthersChanges(WorkArea& area) {
  if (area.Shared()) DropRecordCache(area.table);
}

// FLock and ALock: the same protocol on two regions.
bool WholeLock(const char* tag, int wantedState, std::int64_t offset, std::int64_t length) {
  WorkArea* area = BeginCommand(tag);
  if (area == nullptr) return false;
  if (area->table.isVirtual) {
    SetError(1100, std::string(" [") + tag + "]");
    return false;
  }
  if (area->lockState == wantedState) return true;
  if (area->lockState != kNoLock) return false;
  if (TakesOsLocks(*area) && !LockWithRetry(area->table.fd, offset, length)) return false;
  area->lockState = wantedState;
  SeeOthersChanges(*area);
  return true;
}

}  // namespace

int LockRegion(bool unlock, int fd, std::int64_t offset, std::int64_t length) {
  if (!NetworkLocking) return 0;
  const int err = OsLockRange(fd, offset, length, unlock ? LockKind::Release : LockKind::Exclusive);
  return err == 0 ? 0 : OsErrorCode(err);
}

void Wait(int milliseconds) {
  const int ms = milliseconds < 0 ? -milliseconds : milliseconds;
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

bool LockWithRetry(int fd, std::int64_t offset, std::int64_t length) {
  int failed = 0;
  while (LockRegion(false, fd, offset, length) != 0) {
    if (failed < LockRetries) Wait(LockRetryWait);
    ++failed;
    if (failed > LockRetries && LockRetryProc && LockRetryProc()) failed = 0;
    if (failed > LockRetries) return false;
  }
  return true;
}

bool FLock() { return WholeLock("FLock", kFileLock, LockBase + 1, FileLockLength); }

bool ALock() { return WholeLock("ALock", kAppendLock, LockBase + 1, 1); }

bool RLock() {
  WorkArea* area = BeginCommand("RLock");
  if (area == nullptr) return false;
  if (area->table.isVirtual) {
    SetError(1100, " [RLock]");
    return false;
  }
  if (RecordLockLimit != 0 && area->lockedRecords.size() >= RecordLockLimit) {
    SetError(212, "Didoz record lock limit exceeded [RLock]");
    return false;
  }
  const std::int64_t record = area->table.currentRecord;
  if (area->lockState == kRecordLocks &&
      std::find(area->lockedRecords.begin(), area->lockedRecords.end(), record) != area->lockedRecords.end()) {
    return true;
  }
  if (area->lockState == kFileLock || area->lockState == kAppendLock) return false;
  if (TakesOsLocks(*area) &&
      !LockWithRetry(area->table.fd, RecordLockOffset(*area, record), area->table.recordLength)) {
    return false;
  }
  area->lockedRecords.push_front(record);
  area->lockState = kRecordLocks;
  SeeOthersChanges(*area);
  return true;
}

bool IsLocked(std::int64_t recordNumber) {
  WorkArea* area = CheckDbInUse("IsLocked");
  if (area == nullptr) return false;
  if (area->lockState == kFileLock) return true;
  return std::find(area->lockedRecords.begin(), area->lockedRecords.end(), recordNumber) !=
         area->lockedRecords.end();
}

bool UnlockRec(std::int64_t n) {
  WorkArea* area = BeginCommand("UnlockRec");
  if (area == nullptr) return false;
  auto& list = area->lockedRecords;
  if (n >= 1) {
    const auto entry = std::find(list.begin(), list.end(), n);
    if (entry == list.end()) {
      TzError = 220;
      TzErrorDetail = "Record not locked. [UnlockRec(" + std::to_string(n) + ")]";
      return false;
    }
    return ReleaseRecord(*area, entry);
  }
  if (n == -1 || n == -2) {
    if (list.empty()) {
      TzError = 220;
      TzErrorDetail = "Record not locked. [UnlockRec(" + std::to_string(n) + ")]";
      return false;
    }
    return ReleaseRecord(*area, n == -1 ? std::prev(list.end()) : list.begin());
  }
  if (n == -3) {
    bool ok = true;
    std::uint16_t lastError = 0;
    while (!list.empty()) {
      if (!ReleaseRecord(*area, list.begin())) {
        ok = false;
        lastError = TzError;
      }
    }
    area->lockState = kNoLock;
    if (!ok) TzError = lastError;
    return ok;
  }
  TzError = 220;
  TzErrorDetail = "[UnlockRec(" + std::to_string(n) + ")]";
  return false;
}

void Unlock() {
  WorkArea* area = CurrentWorkAreaRecord();
  if (area == nullptr || area->table.isVirtual || area->lockState == kNoLock) return;
  if (area->lockState == kRecordLocks) {
    UnlockRec(-3);
  } else if (TakesOsLocks(*area)) {
    const bool file = area->lockState == kFileLock;
    const int code = LockRegion(true, area->table.fd, LockBase + 1, file ? FileLockLength : 1);
    if (code != 0) TzError = static_cast<std::uint16_t>(code);
  }
  area->lockState = kNoLock;
}

bool DbLockByte() {
  if (!NetworkLocking) return true;
  WorkArea* area = CheckDbInUse("DbLockByte");
  if (area == nullptr || area->table.fd < 0) return false;
  return LockWithRetry(area->table.fd, LockBase, 1);
}

bool DbUnlockByte() {
  if (!NetworkLocking) return true;
  WorkArea* area = CheckDbInUse("DbUnlockByte");
  if (area == nullptr || area->table.fd < 0) return false;
  const int code = LockRegion(true, area->table.fd, LockBase, 1);
  if (code != 0) {
    SetError(code, "Error attempting to UNLOCK file " + area->table.fileName + " in Workarea " +
                       std::to_string(area->number));
    return false;
  }
  return true;
}

}  // namespace dbase
