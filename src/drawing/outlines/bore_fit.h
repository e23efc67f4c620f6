// Whether the bore of a gear lies inside the root of its tooth outline
// (tooth_contour.h), before the gear is made a solid. A bore that reaches
// the root leaves no material round it: the solid devices (STL, STEP) would
// make of it a disc of the bore's size with a gear-shaped hole, or loose
// edges; such an output is refused with a message instead. The other
// devices draw the bore as it is, a drawing can show the conflict, and the
// calculation has said "dB > df" already.
#pragma once

#include "common/real.h"

namespace drawing {

// The smallest distance of the gear's tooth outline from its centre (half
// the narrowest root diameter); 0 when the gear has no outline.
Real GearRootRadius(int gear);

// True when gear 1 or 2 has no bore, its bore lies inside its root, or the
// current device builds no solid. Otherwise the output is refused
// (RefuseCadOutput) with a message that names the bore and the root, and
// false is returned: the caller draws no body.
bool GearBoreFitsSolid(int gear);

}  // namespace drawing
