// Load capacity of the spur pair after DIN 3990 and ISO 6336: forces, load
// factors, stresses, safeties and service lives (load_capacity.cpp).
#pragma once

namespace calc {

// The strength step of the spur-pair driver; reads and writes SpurGearData.
void CalcSpurStrength();

}  // namespace calc
