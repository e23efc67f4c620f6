// The material input of both gears side by side: name, fatigue strengths,
// hardness, elastic constants, density, material type and heat treatment
// (the material fields of SpurGearData and MaterialName). Values can be
// taken from the material table, copied from one gear to the other, and the
// Brinell hardness converted from another scale.
//
// The form's state lives here as display texts (TMaterialForm); the window
// (ui/material_dialog.h) shows it and calls the button routines below,
// so the whole dialog runs and is tested without a display. Without an
// installed window the form ends as cancelled.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/inputs/value_edit.h"
#include "common/range_array.h"

namespace app {

// One gear's side of the form: the seven edits (display text; a number
// not edited reads back as the value it was shown from), the two list
// positions and the table record remembered for the gear.
struct TMaterialGearEdits {
  std::string Name;
  ValueEdit SigmaFE, SigmaHlim, HB, E, Poisson, Density;
  int TypeIndex = 0;       // material type - 1
  int HeatIndex = 0;       // heat-treatment code
  std::uint16_t RecNo = 0; // material-table record of the gear (0 = none)
};

struct TMaterialForm {
  std::string Caption;
  std::string StressUnit;  // beside SigmaFE, SigmaHlim and E
  // Beside the density, in every unit system: the density is entered and
  // kept in kg/dm3 whatever the unit system.
  std::string DensityUnit = "kg/dm3";
  std::vector<std::string> TypeItems;  // 8 material types
  std::vector<std::string> HeatItems;  // 8 heat treatments
  GearArray<TMaterialGearEdits> Gear;
};

// FormCreate: caption, the two lists, then the values.
TMaterialForm CreateMaterialForm();
// Records -> edits (both gears), and of one gear.
void ShowMaterialValues(TMaterialForm& form);
void ShowMaterialGearValues(TMaterialForm& form, int gear);
// Edits -> records.
void ReadMaterialValues(const TMaterialForm& form);

// "gear 2 = gear 1" (from 1 to 2) and "gear 1 = gear 2": the edits, both
// list positions and the remembered record; the records change on OK.
void CopyMaterialGear(TMaterialForm& form, int from, int to);
// "Material data base ..." of a gear: the pick from the material table. The
// picked values go into that gear's edits; the records, as for every edit,
// take them on OK, so Cancel undoes a pick.
void PickMaterialFromTable(TMaterialForm& form, int gear);
// The button beside HB: the hardness conversion, starting from the HB edit.
// Unless the conversion was cancelled or gave no Brinell value, the HB edit
// takes the Brinell hardness without decimals.
void ConvertMaterialHardness(TMaterialForm& form, int gear);

// The edited number fields of both gears checked before they are read: a
// text that is no number ("abc", "1e999") is refused with a message naming
// the field, the edit shows its old value again, and false (value_edit.h).
// OK, the unit switch and "Calc" check first and do nothing more on a
// refusal.
bool MaterialValuesAccepted(TMaterialForm& form);

bool MaterialOk(TMaterialForm& form);         // AbortFlag := 0, read; false: refused, stays open
void MaterialCancel();                        // AbortFlag := 1
void MaterialToggleUnits(TMaterialForm& form);  // read, switch, show
void MaterialHelp();
// "Calc": read, recalculate the pair, redraw; the form stays open.
void MaterialCalc(TMaterialForm& form);

// Shows the form modally (Edit, material; and the quick input).
void ShowMaterialForm();
// The window: shows the form until OK or Cancel, calling the routines above.
using MaterialFormView = std::function<void(TMaterialForm&)>;
// The view in use (default: cancels); assign to install one.
MaterialFormView& MaterialFormShower();
void ResetMaterialFormShower();

}  // namespace app
