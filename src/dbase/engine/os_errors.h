// The operating system's error numbers as the engine's error codes, the
// numbering its code table knows (2 file not found, 5 access denied, 32
// sharing violation, 33 lock violation, 100/101 read and write errors ...).
#pragma once

namespace dbase {

// The code of an errno value; inWrite chooses 101 over 100 for I/O faults.
// The system's own text of the value is kept for the next error recorded
// with that code (SetError, error_codes.h), so that its report says what
// the system said ("File too large", "Read-only file system") where the
// code table could only guess ("Disk write error (probable cause: Disk
// Full).").
int OsErrorCode(int errnoValue, bool inWrite = false);

}  // namespace dbase
