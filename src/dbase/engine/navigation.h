// Moves of the current work area: first, last and a given record, and
// skipping over the records that the visibility rule hides (deleted records
// while they are ignored, the filter, the WHILE condition). Every move keeps
// the index layer (through IndexHooks) and the area's relation procedure in
// step. The changes of records are in record_changes.h.
#pragma once

#include <cstdint>
#include <functional>

namespace dbase {

// Supplies the target record of every Skip when set (none by default).
extern std::function<std::int64_t()> SkipProcedure;

void GoTop();
void GoBottom();
void Skip(std::int64_t n);
void Go(std::int64_t n);
bool GoIfValid(std::int64_t n);
void Dbf4RawGo(std::int64_t n);
void GoTopWhile();
void GoBottomWhile();
// Moves off a current record that is no longer visible; answers whether it
// moved.
bool StepToVisible();
// Return the previous setting.
bool SetIgnoreDel(bool flag);
std::function<void()> SetRelation(std::function<void()> relation);

struct WorkArea;
// The end-of-file state: blank record, record count + 1, both flags set.
void EnterEndOfFile(WorkArea& area);
// Runs the area's relation procedure and checks that it kept the position.
void RunRelation(WorkArea& area);
// Tells the index layer where the area stands after a completed move.
void ResyncIndex();

}  // namespace dbase
