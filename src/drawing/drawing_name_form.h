// The form in which the user enters the drawing names and numbers of both
// gears and the two sheet texts that the sheet heading and the title block
// print. The records hold them in code page 850; the form shows and takes
// display text. The window itself (ui/drawing_name_form.h) is installed by
// the windowing start-up; without it nobody can be asked, and the call ends
// as a cancelled form.
#pragma once

#include <functional>
#include <string>

#include "common/range_array.h"

namespace drawing {

// The edits of the form, as display text.
struct TDrawingNameEdits {
  RangeArray<std::string, 1, 2> DrawingName, DrawingNumber, DrawingName2;
  std::string Info1, Info2;  // "Text 1", "Text 2"
  bool operator==(const TDrawingNameEdits&) const = default;
};

// FormCreate: the records' texts converted for display.
TDrawingNameEdits DrawingNameEditsFromRecords();
// Button_okClick: AbortFlag := 0 and every edit, converted back to code
// page 850, into its record.
void StoreDrawingNameEdits(const TDrawingNameEdits& edits);
// Button_cancelClick: AbortFlag := 1; nothing is stored.
void CancelDrawingNameForm();

// Shows the form modally (from the main menu).
void ShowDrawingNameForm();
// The window's showing, installed by the windowing start-up.
std::function<void()>& DrawingNameFormShower();

}  // namespace drawing
