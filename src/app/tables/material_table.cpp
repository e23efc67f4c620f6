// The material pick; see material_table.h.
#include "app/tables/material_table.h"

#include "app/design_extras.h"
#include "calc/spur_gear_data.h"
#include "dbase/table/material_table.h"

namespace app {

void SelectGearMaterial(int gear, int mode, int sortOrder) {
  const bool forGear = gear == 1 || gear == 2;
  std::uint16_t unused = 0;
  std::uint16_t& recNo = forGear ? MaterialRecNo[gear] : unused;
  if (!dbase::BrowseMaterialTable(gear, mode, sortOrder, recNo)) return;
  const dbase::TMaterialRecord& r = dbase::MaterialRecord;
  calc::TSpurGearData& sg = calc::SpurGearData;
  sg.MaterialType[gear] = static_cast<std::uint16_t>(r.Type);
  sg.HeatTreatment[gear] = static_cast<std::uint16_t>(r.Heat);
  MaterialName[gear] = r.Name;
  sg.SigmaFE[gear] = r.SigmaFE;
  sg.SigmaHlim[gear] = r.SigmaHlim;
  sg.HB[gear] = r.HB;
  sg.mue[gear] = r.Poisson;
  sg.rho[gear] = r.Density;
  sg.E[gear] = r.E;
}

}  // namespace app
