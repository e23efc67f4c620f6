// The table semaphore: programs that share a table and its indexes agree
// through a small file beside the table (its name with the extension
// ".@S@") who reads and who writes the index files. Its one 4-byte record
// holds the number of programs with indexes open, the number of readers (1
// while a writer holds it) and a change counter raised at the end of every
// write; byte-range locks on that file serialise each change of the record.
// Only shared tables use it: for an exclusive table every action does
// nothing. A program that ended without leaving holds no lock any more, and
// the marks it left behind are dropped by the next program that meets them.
#pragma once

#include <cstdint>
#include <string>

namespace dbase {

enum SemaphoreAction : int {
  kSemLogin = 0,
  kSemLogout = 1,
  kSemIncRead = 2,
  kSemDecRead = 3,
  kSemLock = 4,
  kSemUnlock = 5,
};

// Seconds a writer waits for the readers to leave (0: no limit).
extern std::uint16_t SemaphoreTimeout;
// Directory for the semaphore files instead of the table's own (empty: the
// table's directory).
extern std::string SemaphoreDirectory;

// Runs an action on the current work area; results only through SetError.
void DatabaseSemaphore(int action);
// Locks and unlocks the record bytes of the current area's semaphore file.
bool IndexSemaphoreLock();
void IndexSemaphoreUnlock();
// Nesting brackets of the read and the write side: the first "on" runs
// INCREAD (LOCKSEMAPHORE), the "off" that closes the outermost bracket runs
// DECREAD (UNLOCKSEMAPHORE).
void SetReadSemaphoreProc(bool on);
void SetLockSemaphoreProc(bool on);
// The semaphore file of the current area's table.
std::string SemaphoreFileName();
// Whether another program wrote since this area last looked (and from now on
// counts as seen).
bool SemaphoreTableChanged(int area);
// Forgets the semaphore state of every area (engine start and shut-down).
void ResetSemaphores();

// Whether shared opens may read and write with no restriction (no
// configured file mode says otherwise), which the semaphore needs.
bool SemaphoreUsable();

// While it lives, the current area of a shared table is logged in (also
// when no index of it is open yet) and stays so even when its last index
// closes (a rebuild closes and reopens them), and holds the write lock, so
// that programs sharing the table wait with their changes until the
// rebuilt index is in place; afterwards the area leaves when no index is
// open. Held() is false when the lock was wanted and could not be had (the
// error recorded).
class SemaphoreRebuildBracket {
 public:
  SemaphoreRebuildBracket();
  ~SemaphoreRebuildBracket();
  SemaphoreRebuildBracket(const SemaphoreRebuildBracket&) = delete;
  SemaphoreRebuildBracket& operator=(const SemaphoreRebuildBracket&) = delete;
  bool Held() const { return held_; }

 private:
  int area_;
  bool entered_ = false;
  bool held_ = true;
};

}  // namespace dbase
