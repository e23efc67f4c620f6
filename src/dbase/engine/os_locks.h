// Byte-range locks of the operating system on table files, held by the open
// file description (so closing another descriptor of the same file in this
// process never drops them, and two opens of one file in one process
// collide as two programs would). Also the lock that carries an open's
// sharing: every engine open holds a shared lock on one byte past every
// lock region, an exclusive open holds it alone.
#pragma once

#include <cstdint>

namespace dbase {

enum class LockKind { Shared, Exclusive, Release };

// Takes or releases the range without waiting; 0 or the errno value.
int OsLockRange(int fd, std::int64_t offset, std::int64_t length, LockKind kind);

// The byte that carries the sharing of an open (beyond every lock region).
std::int64_t OpenLockOffset();

// Takes the open's sharing lock; 0 or the errno value (EAGAIN when another
// open forbids it).
int LockOpenMode(int fd, bool exclusive, bool write);

}  // namespace dbase
