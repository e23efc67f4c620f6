// The drawing names and sheet texts of the form; see drawing_name_form.h.
#include "drawing/drawing_name_form.h"

#include "calc/spur_gear_data.h"
#include "common/code_page.h"
#include "common/kaldvar.h"

namespace drawing {

TDrawingNameEdits DrawingNameEditsFromRecords() {
  const auto& data = calc::SpurGearData;
  TDrawingNameEdits edits;
  for (int gear = 1; gear <= 2; ++gear) {
    edits.DrawingName[gear] = common::OemToDisplayText(data.DrawingName[gear]);
    edits.DrawingNumber[gear] = common::OemToDisplayText(data.DrawingNumber[gear]);
    edits.DrawingName2[gear] = common::OemToDisplayText(data.DrawingName2[gear]);
  }
  edits.Info1 = common::OemToDisplayText(common::SheetTexts[1]);
  edits.Info2 = common::OemToDisplayText(common::SheetTexts[2]);
  return edits;
}

void StoreDrawingNameEdits(const TDrawingNameEdits& edits) {
  common::AbortFlag = 0;
  auto& data = calc::SpurGearData;
  for (int gear = 1; gear <= 2; ++gear) {
    data.DrawingName[gear] = common::AnsiToOemText(edits.DrawingName[gear]);
    data.DrawingNumber[gear] = common::AnsiToOemText(edits.DrawingNumber[gear]);
    data.DrawingName2[gear] = common::AnsiToOemText(edits.DrawingName2[gear]);
  }
  common::SheetTexts[1] = common::AnsiToOemText(edits.Info1);
  common::SheetTexts[2] = common::AnsiToOemText(edits.Info2);
}

void CancelDrawingNameForm() { common::AbortFlag = 1; }

std::function<void()>& DrawingNameFormShower() {
  static std::function<void()> shower;
  return shower;
}

void ShowDrawingNameForm() {
  if (DrawingNameFormShower())
    DrawingNameFormShower()();
  else
    CancelDrawingNameForm();
}

}  // namespace drawing
