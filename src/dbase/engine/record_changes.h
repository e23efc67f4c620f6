// Changes of the current work area's records: Append, Replace, DeleteRec,
// RecallRec and Pack. In a shared table each change checks the locks it
// needs (locking.h); with an active index the key maintenance of the index
// layer runs through IndexHooks.
#pragma once

namespace dbase {

// Ask "PACK <alias>" before packing (default false).
extern bool ConfirmPack;
// Move index keys on Replace (default true).
extern bool IndexOnReplace;

// Writes the native buffer as a new record after the last.
bool Append();
// Writes the native buffer over the current record.
bool Replace();
bool DeleteRec();
bool RecallRec();
// Removes the deleted records: the kept records are copied into a new file,
// which replaces the table only when it is complete, so a failure on the way
// leaves the table as it was.
bool Pack();

}  // namespace dbase
