// Keeping the open indexes of a work area in step with its table: the key of
// an appended record goes into every index (splitting full nodes on the way
// up), a replaced record's entry moves when its key changed, and the
// controlling index is checked to stand on the current record. Equal keys
// stay in record-number order. The engine reaches these through IndexHooks;
// on shared tables it holds the semaphore's write lock around them.
#pragma once

#include <cstdint>
#include <string>

#include "dbase/index/index_control.h"

namespace dbase {

// Inserts (key, record) into an index; 0 also when a UNIQUE index holds the
// key already, -1 on failure.
int AppendIndex(IND& ind, const std::string& key, std::int64_t record);
// Removes the entry (key, record); -1 when there is none (0 for a UNIQUE
// index, which may lack the record).
int DeleteKey(IND& ind, const std::string& key, std::int64_t record);

// The current (new) record's key into every open index of the current area.
void AppendNewKey();
// After a record change: moves the record's entry in every index whose key
// changed.
void CompareKeys();
// Checks that the controlling index (all: every open index) stands on the
// current record; error 212 when its key or entry is missing.
void SyncIndex(bool all);
void SyncIndexControlling();
// Stores the current record's key as the old key of the first `slots`
// indexes; with setEntry also into each index's current entry, in memory.
void RememberKeys(int slots, bool setEntry);
// Before a record is replaced: every index stands, in memory, on the record
// with its present key.
void PrepareReplace();

}  // namespace dbase
