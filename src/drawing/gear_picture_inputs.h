// What the rack for manufacture and the carrier plate ask before they are
// drawn (gear_pictures.h), and the carrier plate itself.
#pragma once

#include <cstdint>

#include "common/real.h"

namespace drawing {

// The rack for manufacture: teeth, bores along it, their distance and
// diameter (mm).
struct TRackInputs {
  std::int32_t Teeth = 0;
  std::int32_t Bores = 0;
  Real Diameter = 0;
  Real Distance = 0;
};

// Asks "Plot teeth", "number of bore" and, as the bores need them, "bore
// diameter" and "distance bore"; false (AbortFlag set) when one is
// cancelled.
bool AskRackInputs(TRackInputs& rack);

// The carrier's centre distance, set to the pair's before each carrier
// drawing asks for it.
extern Real CarrierCentreDistance;

// Needs both bore diameters ("d bore = 0 !" otherwise); asks "center
// distance" and the bearing clearance. False when refused or cancelled.
bool AskCarrierInputs(Real& clearance);

// The carrier plate round both bearing bores (bore / 2 + clearance).
void DrawCarrier(Real clearance);

}  // namespace drawing
