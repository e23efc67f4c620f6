// Searching and walking an index: reading nodes along the descent path,
// SeekKey, the first and last key, the next and prior key of the
// controlling index, Find, and putting the controlling index back on the
// current record. The work-area engine reaches these through IndexHooks;
// slot 1 of a work area holds its controlling index.
#pragma once

#include <cstdint>
#include <string>

#include "dbase/index/index_control.h"

namespace dbase {

// Reads a node (from the descent path when it is there); word 2 becomes 0.
bool SeekAndRead(IND& ind, std::uint32_t block, std::uint8_t* buffer);
// Writes a node and replaces its copy on the descent path.
bool SeekAndWrite(IND& ind, std::uint32_t block, std::uint8_t* buffer);
// Makes a node the current node (entry 0); node 0 is refused with 254.
bool GetNode(IND& ind, std::uint32_t block);
// Positions the index on the first key not less than the key (the search
// key, key length bytes); IndexFound tells whether it is equal. During an
// insertion a key beyond the leaf's last stays behind it.
bool SeekKey(IND& ind, const std::string& key, bool inserting = false);
// One entry forward or back across leaves; false at the edge, where the
// position stays.
bool StepIndexForward(IND& ind);
bool StepIndexBackward(IND& ind);
// Puts an index on its first or last entry (a fresh descent).
bool DescendToEdge(IND& ind, bool first);
// The record number of the current entry; -1 when the index stands on none.
std::int64_t CurrentEntryRecord(IND& ind);

// The controlling index of the current work area on its first or last key:
// the record number, or record count + 1 when the index is empty.
std::int64_t FindFirstLastRec(bool first);
std::int64_t GoTopIndexed();
std::int64_t GoBottomIndexed();
// The next and prior key's record number of the controlling index.
std::int64_t FindNextRec();
std::int64_t FindPriorRec();
// Puts the controlling index on its first key whose record is visible (the
// end when there is none); the work area's record stays as it was.
void PositionOnFirstVisibleKey();
// Positions the current work area on the first visible record whose key
// matches the text; answers IndexFound.
bool Find(const std::string& text);
// Puts the controlling index on the current record's entry (error 212 when
// the index has none).
bool SoftSyncIndex();
// After a move of the work area: the index follows the current record.
void SyncIndexToRecord();
bool TableChanged();
void ResyncAfterChange();

// The beginning and end flags of the controlling index (of the work area in
// natural order), and their setters.
bool IndexBof();
bool IndexEof();
void SetIndexBof();
void SetIndexEof();

}  // namespace dbase
