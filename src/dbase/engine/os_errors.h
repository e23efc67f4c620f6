// The operating system's error numbers as the engine's error codes, the
// numbering its code table knows (2 file not found, 5 access denied, 32
// sharing violation, 33 lock violation, 100/101 read and write errors ...).
#pragma once

namespace dbase {

// The code of an errno value; inWrite chooses 101 over 100 for I/O faults.
int OsErrorCode(int errnoValue, bool inWrite = false);

}  // namespace dbase
