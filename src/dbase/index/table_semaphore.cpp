// The table semaphore file and its actions.
//
// Besides the record bytes, two bytes far beyond the record carry the
// presence of live programs as shared operating-system locks: one held by
// every logged-in program, one by every program inside a read bracket or
// holding the write lock. The system releases such locks when a program
// ends, so a count or a reader/writer mark that no live program backs is
// stale and is dropped at once instead of blocking the others.
#include "dbase/index/table_semaphore.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <memory>
#include <thread>

#include "dbase/engine/dbf_file.h"
#include "dbase/engine/error_codes.h"
#include "dbase/engine/file_names.h"
#include "dbase/engine/locking.h"
#include "dbase/engine/os_errors.h"
#include "dbase/engine/os_locks.h"
#include "dbase/engine/work_areas.h"
#include "dbase/index/index_control.h"

namespace dbase {

std::uint16_t SemaphoreTimeout = 100;
std::string SemaphoreDirectory;

namespace {

constexpr const char* kActionNames[] = {"LOGIN", "LOGOUT", "INCREAD", "DECREAD", "LOCKSEMAPHORE", "UNLOCKSEMAPHORE"};
// Record bytes 1..4 guard every read-modify-write of the record.
constexpr std::int64_t kRecordLockOffset = 1;
constexpr std::int64_t kRecordLockLength = 4;
// Presence of live users, and of live readers and writers.
constexpr std::int64_t kUserPresence = 0x10000;
constexpr std::int64_t kReaderPresence = 0x10001;
constexpr int kLockAttempts = 1001;
constexpr int kLockWaitMs = 10;
constexpr std::uint16_t kCounterLimit = 65534;

struct Semaphore {
  int fd = -1;
  std::string file;
  std::array<std::uint8_t, 4> record{};
  std::uint16_t lastSeen = 0;
  // A change by another program met inside a write bracket and not yet
  // reported.
  bool unseenChange = false;
  bool held = false;
  bool reader = false;
  bool writer = false;
  int readNesting = 0;
  int lockNesting = 0;
  int action = 0;

  std::uint8_t Users() const { return record[0]; }
  std::int8_t Readers() const { return static_cast<std::int8_t>(record[1]); }
  std::uint16_t Counter() const { return static_cast<std::uint16_t>(record[2] | (record[3] << 8)); }
  void SetCounter(std::uint16_t value) {
    record[2] = static_cast<std::uint8_t>(value);
    record[3] = static_cast<std::uint8_t>(value >> 8);
  }
};

std::array<std::unique_ptr<Semaphore>, kMaxWorkAreas + 1> States;
std::array<int, kMaxWorkAreas + 1> ReadProcNesting{};
std::array<int, kMaxWorkAreas + 1> LockProcNesting{};
// Per area the rebuilds under way, whose end its logout waits for.
std::array<int, kMaxWorkAreas + 1> LogoutHeld{};

void Pause(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

std::string ActionName(int action) { return action >= 0 && action <= 5 ? kActionNames[action] : "?"; }

// A semaphore error; a timeout never ends the program: without an error
// procedure (or exceptions) it is only recorded.
void SemaphoreError(int code, const std::string& detail) {
  if (!ErrorProc && !UseExceptions) {
    const bool report = SetReportErrors(false);
    SetError(code, detail);
    SetReportErrors(report);
    return;
  }
  SetError(code, detail);
}

// Whether a live program other than this open holds presence at the offset.
bool OthersPresent(int fd, std::int64_t offset) {
  struct flock probe {};
  probe.l_type = F_WRLCK;
  probe.l_whence = SEEK_SET;
  probe.l_start = offset;
  probe.l_len = 1;
  if (::fcntl(fd, F_OFD_GETLK, &probe) != 0) return true;
  return probe.l_type != F_UNLCK;
}

void Present(int fd, std::int64_t offset, bool on) {
  OsLockRange(fd, offset, 1, on ? LockKind::Shared : LockKind::Release);
}

bool ReadRecord(Semaphore& s) {
  std::array<std::uint8_t, 4> bytes{};
  const std::int64_t got = ReadBytesAt(s.fd, bytes.data(), bytes.size(), 0);
  if (got < 0) {
    SemaphoreError(OsErrorCode(errno), "Cannot read: " + s.file + " " + ActionName(s.action));
    return false;
  }
  // A file cut short reads as zeros (its creator ended before writing).
  for (std::size_t i = static_cast<std::size_t>(got); i < bytes.size(); ++i) bytes[i] = 0;
  s.record = bytes;
  return true;
}

bool WriteRecord(Semaphore& s) {
  const int err = WriteBytesAt(s.fd, s.record.data(), s.record.size(), 0);
  if (err != 0) {
    SemaphoreError(OsErrorCode(err, true), "Cannot write to: " + s.file + " " + ActionName(s.action));
    return false;
  }
  return true;
}

// The table lock, which serialises creating and erasing the file. A table
// open read-only can take no exclusive lock on its file; its shared lock
// still waits for every writer's exclusive one.
bool TableLock(WorkArea& area, const Semaphore& s) {
  const LockKind kind = area.table.mode.write ? LockKind::Exclusive : LockKind::Shared;
  for (int attempt = 0; attempt < kLockAttempts; ++attempt) {
    if (OsLockRange(area.table.fd, LockBase, 1, kind) == 0) return true;
    Pause(kLockWaitMs);
  }
  SemaphoreError(1202, "Cannot lock database for: " + s.file + " Action=" + ActionName(s.action) +
                           " [Database Semaphore]");
  return false;
}

void TableUnlock(WorkArea& area) { OsLockRange(area.table.fd, LockBase, 1, LockKind::Release); }

bool LockRecordBytes(Semaphore& s) {
  int err = 0;
  for (int attempt = 0; attempt < kLockAttempts; ++attempt) {
    err = OsLockRange(s.fd, kRecordLockOffset, kRecordLockLength, LockKind::Exclusive);
    if (err == 0) {
      s.held = true;
      return true;
    }
    Pause(kLockWaitMs);
  }
  SemaphoreError(1202, "10 second timeout: Cannot lock index semaphore file: " + s.file + " " +
                           ActionName(s.action) + "\r\nPossible cause: Network lock limit exceeded\r\n Lock result code: " +
                           std::to_string(OsErrorCode(err)));
  return false;
}

void UnlockRecordBytes(Semaphore& s) {
  if (!s.held) return;
  const int err = OsLockRange(s.fd, kRecordLockOffset, kRecordLockLength, LockKind::Release);
  if (err != 0) SemaphoreError(OsErrorCode(err), "Cannot unlock index semaphore file: " + s.file + " " + ActionName(s.action));
  s.held = false;
}

// The area whose table takes part: open, shared, a real file, locks on.
WorkArea* SharedArea() {
  WorkArea* area = CurrentWorkAreaRecord();
  if (area == nullptr || !area->table.IsOpen() || area->table.isVirtual || !area->Shared() || !NetworkLocking) {
    return nullptr;
  }
  return area;
}

void Login(WorkArea& area) {
  if (States[static_cast<std::size_t>(area.number)]) return;
  auto s = std::make_unique<Semaphore>();
  s->action = kSemLogin;
  s->file = SemaphoreFileName();
  if (!TableLock(area, *s)) return;
  bool created = true;
  int fd = ::open(s->file.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0 && errno == EEXIST) {
    created = false;
    fd = ::open(s->file.c_str(), O_RDWR | O_CLOEXEC);
  }
  if (fd < 0) {
    const int err = errno;
    TableUnlock(area);
    // A program that only reads and may not write the semaphore file (a
    // read-only folder or file) reads without it: it cannot take part in
    // the count, and refusing it the table would help no writer.
    if (!area.table.mode.write && (err == EACCES || err == EROFS || err == EPERM)) return;
    SemaphoreError(OsErrorCode(err), "Cannot open/create: " + s->file + " " + ActionName(kSemLogin));
    return;
  }
  s->fd = fd;
  auto fail = [&]() {
    UnlockRecordBytes(*s);
    ::close(s->fd);
    if (created) ::unlink(s->file.c_str());
    TableUnlock(area);
  };
  if (created && (!WriteRecord(*s))) return fail();
  if (!LockRecordBytes(*s)) return fail();
  if (!created && !ReadRecord(*s)) return fail();
  // Counts no live program backs are left over from programs that ended.
  if (s->Users() > 0 && !OthersPresent(s->fd, kUserPresence)) s->record[0] = 0;
  if (s->Readers() != 0 && !OthersPresent(s->fd, kReaderPresence)) s->record[1] = 0;
  if (s->record[0] < 255) ++s->record[0];
  if (!WriteRecord(*s)) return fail();
  Present(s->fd, kUserPresence, true);
  UnlockRecordBytes(*s);
  s->lastSeen = s->Counter();
  TableUnlock(area);
  States[static_cast<std::size_t>(area.number)] = std::move(s);
}

void Logout(WorkArea& area) {
  std::unique_ptr<Semaphore>& slot = States[static_cast<std::size_t>(area.number)];
  if (!slot || LogoutHeld[static_cast<std::size_t>(area.number)] > 0) return;
  Semaphore& s = *slot;
  s.action = kSemLogout;
  if (!TableLock(area, s)) return;
  if (!LockRecordBytes(s)) {
    TableUnlock(area);
    return;
  }
  if (ReadRecord(s)) {
    if ((s.reader || s.writer) && s.Readers() > 0) s.record[1] = static_cast<std::uint8_t>(s.Readers() - 1);
    if (s.record[0] > 0) --s.record[0];
    Present(s.fd, kUserPresence, false);
    Present(s.fd, kReaderPresence, false);
    if (s.record[0] > 0 && !OthersPresent(s.fd, kUserPresence)) s.record[0] = 0;
    WriteRecord(s);
  }
  const bool last = s.record[0] == 0;
  UnlockRecordBytes(s);
  ::close(s.fd);
  if (last) ::unlink(s.file.c_str());
  slot.reset();
  TableUnlock(area);
}

void ReadCount(Semaphore& s, int action) {
  s.action = action;
  const bool inc = action == kSemIncRead;
  if (inc) {
    if (++s.readNesting > 1) return;
  } else {
    if (--s.readNesting < 0) {
      s.readNesting = 0;
      SemaphoreError(254, "Unbalanced IncRead/DecRead for semaphore file: " + s.file + " " + ActionName(action));
      return;
    }
    if (s.readNesting > 0) return;
  }
  if (s.writer || s.reader == inc) return;
  if (!LockRecordBytes(s)) return;
  if (!ReadRecord(s)) return UnlockRecordBytes(s);
  s.reader = inc;
  if (inc) {
    Present(s.fd, kReaderPresence, true);
    if (s.Readers() != 127) s.record[1] = static_cast<std::uint8_t>(s.Readers() + 1);
  } else {
    if (s.Readers() > 0) s.record[1] = static_cast<std::uint8_t>(s.Readers() - 1);
    Present(s.fd, kReaderPresence, false);
  }
  WriteRecord(s);
  UnlockRecordBytes(s);
}

void LockForWriting(Semaphore& s) {
  s.action = kSemLock;
  if (++s.lockNesting > 1 || s.writer) return;
  const auto start = std::chrono::steady_clock::now();
  auto timedOut = [&]() {
    return SemaphoreTimeout != 0 &&
           std::chrono::steady_clock::now() - start > std::chrono::seconds(SemaphoreTimeout);
  };
  auto timeoutError = [&]() {
    SemaphoreError(1202, std::to_string(SemaphoreTimeout) + " second timeout, cannot read: " + s.file +
                             "\r\nPossible cause: Other user's program has terminated abnormally.\r\n"
                             "Cure: Log all users of this application off the network,\r\nthen delete " + s.file);
  };
  while (true) {
    if (!LockRecordBytes(s)) return;
    if (!ReadRecord(s)) return UnlockRecordBytes(s);
    // This program's own read bracket does not keep it from writing.
    const int others = s.Readers() - (s.reader ? 1 : 0);
    if (others <= 0) break;
    if (!OthersPresent(s.fd, kReaderPresence)) break;  // marks of programs that ended
    UnlockRecordBytes(s);
    if (timedOut()) return timeoutError();
    Pause(1);
  }
  if (s.Counter() != s.lastSeen) s.unseenChange = true;
  s.record[1] = 1;
  if (!WriteRecord(s)) return UnlockRecordBytes(s);
  Present(s.fd, kReaderPresence, true);
  s.writer = true;
}

void UnlockForWriting(Semaphore& s) {
  s.action = kSemUnlock;
  if (--s.lockNesting < 0) {
    s.lockNesting = 0;
    UnlockRecordBytes(s);
    s.writer = false;
    SemaphoreError(254, "Unbalanced Lock/Unlock for semaphore file: " + s.file + " " + ActionName(kSemUnlock));
    return;
  }
  if (s.lockNesting > 0 || !s.writer) return;
  if (ReadRecord(s)) {
    const std::uint16_t counter = s.Counter();
    s.SetCounter(counter >= kCounterLimit ? 0 : static_cast<std::uint16_t>(counter + 1));
    s.record[1] = s.reader ? 1 : 0;
    WriteRecord(s);
    s.lastSeen = s.Counter();
  }
  if (!s.reader) Present(s.fd, kReaderPresence, false);
  s.writer = false;
  UnlockRecordBytes(s);
}

}  // namespace

std::string SemaphoreFileName() {
  const WorkArea* area = CurrentWorkAreaRecord();
  if (area == nullptr) return std::string();
  const std::string file = ChangeExt(area->table.fileName, "@S@");
  if (SemaphoreDirectory.empty()) return file;
  std::string directory, name, extension;
  SplitPath(file, directory, name, extension);
  std::string base = SemaphoreDirectory;
  if (base.back() != '/') base += '/';
  return base + name + extension;
}

void DatabaseSemaphore(int action) {
  if (CurrentArea > kMaxWorkAreas || CurrentArea < 1) {
    SetError(254, "Work area [" + std::to_string(CurrentArea) + "] out of range. [HandleSemafore]");
    return;
  }
  if (action < 0 || action > 5) return;
  WorkArea* area = CurrentWorkAreaRecord();
  Semaphore* s = States[static_cast<std::size_t>(CurrentArea)].get();
  if (action == kSemLogin) {
    if (WorkArea* shared = SharedArea()) Login(*shared);
    return;
  }
  if (s == nullptr || area == nullptr) return;
  switch (action) {
    case kSemLogout:
      Logout(*area);
      break;
    case kSemIncRead:
    case kSemDecRead:
      ReadCount(*s, action);
      break;
    case kSemLock:
      LockForWriting(*s);
      break;
    case kSemUnlock:
      UnlockForWriting(*s);
      break;
    default:
      break;
  }
}

bool IndexSemaphoreLock() {
  Semaphore* s = CurrentArea >= 1 && CurrentArea <= kMaxWorkAreas ? States[static_cast<std::size_t>(CurrentArea)].get()
                                                                  : nullptr;
  return s == nullptr || LockRecordBytes(*s);
}

void IndexSemaphoreUnlock() {
  if (CurrentArea < 1 || CurrentArea > kMaxWorkAreas) return;
  if (Semaphore* s = States[static_cast<std::size_t>(CurrentArea)].get()) UnlockRecordBytes(*s);
}

namespace {

void Bracket(std::array<int, kMaxWorkAreas + 1>& nesting, bool on, int onAction, int offAction, const char* name) {
  if (CurrentArea < 1 || CurrentArea > kMaxWorkAreas) return;
  int& count = nesting[static_cast<std::size_t>(CurrentArea)];
  if (on) {
    if (++count == 1) DatabaseSemaphore(onAction);
    return;
  }
  if (--count < 0) {
    count = 0;
    SetError(254, std::string("Non-symmetrical Lock-Unlock [") + name + "]");
    return;
  }
  if (count == 0) DatabaseSemaphore(offAction);
}

}  // namespace

void SetReadSemaphoreProc(bool on) { Bracket(ReadProcNesting, on, kSemIncRead, kSemDecRead, "SetReadSemaphoreProc"); }

void SetLockSemaphoreProc(bool on) { Bracket(LockProcNesting, on, kSemLock, kSemUnlock, "SetLockSemaphoreProc"); }

bool SemaphoreTableChanged(int area) {
  if (area < 1 || area > kMaxWorkAreas) return false;
  Semaphore* s = States[static_cast<std::size_t>(area)].get();
  if (s == nullptr) return false;
  if (!s->unseenChange && s->Counter() == s->lastSeen) return false;
  s->unseenChange = false;
  s->lastSeen = s->Counter();
  return true;
}

bool SemaphoreUsable() {
  const FileMode mode = FileModeOverride ? *FileModeOverride : SharedFileMode;
  return mode.write && !mode.exclusive;
}

SemaphoreRebuildBracket::SemaphoreRebuildBracket() : area_(CurrentArea) {
  if (area_ < 1 || area_ > kMaxWorkAreas) return;
  const auto at = static_cast<std::size_t>(area_);
  if (!States[at] && SharedArea() != nullptr && SemaphoreUsable()) {
    const std::uint16_t before = TzError;
    DatabaseSemaphore(kSemLogin);
    if (!States[at]) {
      held_ = TzError == before;
      return;
    }
  }
  entered_ = true;
  ++LogoutHeld[at];
  SetLockSemaphoreProc(true);
  held_ = !States[at] || States[at]->writer;
}

SemaphoreRebuildBracket::~SemaphoreRebuildBracket() {
  if (!entered_) return;
  const auto at = static_cast<std::size_t>(area_);
  const int current = CurrentArea;
  CurrentArea = area_;
  --LogoutHeld[at];
  try {
    SetLockSemaphoreProc(false);
    bool open = false;
    for (const IND* ind : IndexSlots[at].slots) open = open || ind != nullptr;
    if (!open) DatabaseSemaphore(kSemLogout);
  } catch (const EDidozError&) {
    // An error raised during the rebuild is the one on its way.
  }
  CurrentArea = current;
}

void ResetSemaphores() {
  LogoutHeld.fill(0);
  for (auto& s : States) {
    if (s && s->fd >= 0) ::close(s->fd);
    s.reset();
  }
  ReadProcNesting.fill(0);
  LockProcNesting.fill(0);
}

}  // namespace dbase
