// Record and file locks of shared tables. Each work area has a lock state
// (none, file lock, append lock, record locks) and a list of locked records;
// the locks are byte-range locks of the operating system far beyond the end
// of any real table file (from LockBase on), so they never stop another
// program from reading data and collide only with the locks of programs that
// follow the same scheme. Exclusive areas take no operating-system locks.
#pragma once

#include <cstdint>
#include <functional>

namespace dbase {

inline constexpr std::int64_t LockBase = 0x40000000;
inline constexpr std::int64_t FileLockLength = 0x3FFFFFFF;

// When off, no operating-system lock is taken, every request succeeds and
// Use always opens exclusively.
extern bool NetworkLocking;
// 0 = no limit.
extern std::uint16_t RecordLockLimit;
extern std::uint8_t LockRetries;
// Milliseconds between retries.
extern std::uint8_t LockRetryWait;
// Asked after the retries ran out: true starts them again.
extern std::function<bool()> LockRetryProc;

// 0 or the engine error code of the operating system's answer.
int LockRegion(bool unlock, int fd, std::int64_t offset, std::int64_t length);
bool LockWithRetry(int fd, std::int64_t offset, std::int64_t length);
void Wait(int milliseconds);

// On the current work area.
bool FLock();
bool ALock();
bool RLock();
bool IsLocked(std::int64_t recordNumber);
// n >= 1 that record; -1 the oldest; -2 the newest; -3 all.
bool UnlockRec(std::int64_t n);
void Unlock();
bool DbLockByte();
bool DbUnlockByte();

}  // namespace dbase
