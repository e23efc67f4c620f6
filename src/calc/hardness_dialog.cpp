// The hardness conversion dialog; see hardness_dialog.h.
#include "calc/hardness_dialog.h"

#include "calc/hardness_conversion.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "common/number_format.h"
#include "common/online_form.h"
#include "common/unit_labels.h"

namespace calc {

namespace {

// Help entries of the rows (entry 4100 + 5 (row - 1)) and their pictures.
constexpr int kHelpBase = 4100;

}  // namespace

void ShowHardnessValues() {
  for (int s = 1; s <= HardnessScaleCount; ++s) {
    const Real v = GetHardnessValue(s);
    if (v == 0)
      common::OnlineInputValues[s] = "n.def.";
    else
      common::OnlineInputValues[s] = s == ScaleRm ? common::StressToText(v) : common::RealToText(v);
  }
}

void HardnessDialog() {
  // The list shows the converter's own range message while the form is
  // open; the pair's messages are there again when it closes.
  const common::KeptMessages pair;
  common::OnlineBegin("Hardness Conversion", HardnessScaleCount, 0);
  for (int s = 1; s <= HardnessScaleCount; ++s) {
    common::OnlineInputLabels[s] = HardnessScaleNames[s];
    common::OnlineInputUnits[s].clear();  // hardness numbers carry no unit
  }
  ShowHardnessValues();
  int row = ScaleHB;
  int changed = 0;
  // The unit system the Rm text was written in (the form may switch it).
  std::uint16_t shownUnits = common::UnitSystem;
  do {
    common::OnlineClearMessages();
    if (changed) {
      // Convert from the row the user edited; nothing is converted before
      // the first edit, so the form opens without a range message.
      const std::uint16_t units = common::UnitSystem;
      common::UnitSystem = shownUnits;
      const Real value = row == ScaleRm ? common::TextToStress(common::OnlineInputValues[row])
                                        : common::TextToReal(common::OnlineInputValues[row]);
      common::UnitSystem = units;
      ConvertHardness(row, value);
      ShowHardnessValues();
    }
    shownUnits = common::UnitSystem;
    common::OnlineInputUnits[ScaleRm] = common::StressUnitLabel();
    common::OnlineHookInputs();
    common::OnlineHookErrors();
    common::OnlineShow(row, kHelpBase, changed);
  } while (!common::AbortFlag);
  common::OnlineEnd();
}

}  // namespace calc
