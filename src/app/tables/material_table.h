// The material pick of the application: the material table browsed in the
// table window (dbase/table/material_table.h), and the record picked for a
// gear copied into its material data (the material fields of SpurGearData
// and MaterialName) with the record remembered in MaterialRecNo. The
// material input's "Material data base ..." buttons call it in pick mode,
// the Database menu in edit mode.
#pragma once

namespace app {

// gear 1 or 2 (0 with the menu's edit mode); mode 1 pick, 3 edit and take
// the record current at OK, others edit the table only (AbortFlag stays
// set then, so the caller does not recalculate); sortOrder 0 record order,
// 1..9 an index on the orders of MaterialSortExpression. Cancel changes
// nothing and leaves AbortFlag set.
void SelectGearMaterial(int gear, int mode, int sortOrder = 0);

}  // namespace app
