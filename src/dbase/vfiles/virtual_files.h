// Virtual files: tables that live only in memory, held in a work area like a
// .dbf table so that the engine's moves and changes work on them unchanged.
// The engine reaches them through VirtualFileHook (InitVirtualFiles fills
// it). Records stand in one of five orders: arrival (FIFO), reverse arrival
// (LIFO), before the current record (INSERTION), or sorted by the key that
// a caller's key maker answers for the record in the native buffer.
//
// Record layout: with a buffer size above 0 every record has that size and
// byte 0 is the deletion byte (0 = not deleted); with size 0 the buffer
// starts with a 16-bit length n, a record takes n + 2 bytes and byte 2 is
// its deletion byte. A field list (AddStru) lays the fields out as the
// engine lays out the native record of a table.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "dbase/engine/dbf_file.h"

namespace dbase {

// Order mode of a virtual file.
enum LStatusType : int { kFifo = 0, kLifo = 1, kInsertion = 2, kAscending = 3, kDescending = 4 };

// Answers the key text of the record in the current area's native buffer.
using VFileKeyMaker = std::function<std::string(void* argument)>;

// Installs the virtual-file layer into the engine (VirtualFileHook).
void InitVirtualFiles();

// Commands on the current work area, which must hold a virtual file.
// Replaces the field list: names and types upper-cased; C, F, N need a
// length; D gets 8, L 1, M 10 and becomes N without decimals.
void AddStru(const std::vector<FieldDef>& fields);
// The first record into the buffer, removed from the list.
void PopRec();
// Removes the current record; the next one (the previous one when the last
// went) becomes current.
void SnipRec();
// Empties the list.
void ZapVFile();
void Set_VFileKey_To(VFileKeyMaker keyMaker, void* argument);
int Get_VFileMode();
void Set_VFileMode_To(int mode);
// Re-sorts every record ascending or descending by the key maker.
void SortVFile(int mode);

// Whether the current area holds a virtual file (no error recorded).
bool IsVirtualFile();

}  // namespace dbase
