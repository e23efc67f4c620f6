// Open-file-description locks (F_OFD_SETLK).
#include "dbase/engine/os_locks.h"

#include <fcntl.h>

#include <cerrno>

namespace dbase {

int OsLockRange(int fd, std::int64_t offset, std::int64_t length, LockKind kind) {
  struct flock lock {};
  lock.l_type = kind == LockKind::Exclusive ? F_WRLCK : kind == LockKind::Shared ? F_RDLCK : F_UNLCK;
  lock.l_whence = SEEK_SET;
  lock.l_start = static_cast<off_t>(offset);
  lock.l_len = static_cast<off_t>(length);
  lock.l_pid = 0;  // required for open-file-description locks
  if (::fcntl(fd, F_OFD_SETLK, &lock) == 0) return 0;
  return errno == 0 ? EAGAIN : errno;
}

std::int64_t OpenLockOffset() {
  // The lock regions span 0x40000000 .. 0x7FFFFFFF; this byte lies after them.
  return 0x80000000LL;
}

int LockOpenMode(int fd, bool exclusive, bool write) {
  const LockKind kind = exclusive && write ? LockKind::Exclusive : LockKind::Shared;
  return OsLockRange(fd, OpenLockOffset(), 1, kind);
}

}  // namespace dbase
