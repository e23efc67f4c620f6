// Marking indexes while a change of their keys is under way.
#include "dbase/index/change_marks.h"

#include "dbase/engine/error_codes.h"
#include "dbase/engine/work_areas.h"
#include "dbase/index/index_anchor.h"
#include "dbase/index/index_control.h"

namespace dbase {

namespace {

bool Mark(IND& ind) {
  if (ind.changing || ind.readOnly) return true;
  ind.changing = true;
  if (WriteIndexVerdict(ind, ndx::kChangingCount)) return true;
  ind.changing = false;
  return false;
}

// Ends the change of every marked index of the area.
void Unmark(AreaIndexes& slots, bool complete) {
  for (IND* ind : slots.slots) {
    if (ind == nullptr || !ind->changing) continue;
    ind->changing = false;
    if (!complete) {
      // The trailer on disk says "changing" already; only a moved root or
      // a grown file is left to write.
      ind->heldCount = ndx::kChangingCount;
      if (!ind->anchorModified) continue;
    }
    WriteAnchorNode(*ind);
  }
}

}  // namespace

bool MarkChange(ChangeMark what) {
  if (CurrentArea < 1 || CurrentArea > kMaxWorkAreas) return true;
  AreaIndexes& slots = IndexSlots[static_cast<std::size_t>(CurrentArea)];
  switch (what) {
    case ChangeMark::Done:
    case ChangeMark::Failed:
      Unmark(slots, what == ChangeMark::Done);
      return true;
    case ChangeMark::RecordKeys:
    case ChangeMark::AllIndexes:
      break;
  }
  for (IND* ind : slots.slots) {
    if (ind == nullptr) continue;
    // The old key is the record's as it is stored (noted before the
    // replace); an index whose key stays is not touched.
    if (what == ChangeMark::RecordKeys && CurrentRecordKey(*ind) == ind->oldKey) continue;
    if (!Mark(*ind)) {
      // Nothing has been written yet: the indexes marked so far are as
      // they were.
      Unmark(slots, true);
      return false;
    }
  }
  return true;
}

}  // namespace dbase
