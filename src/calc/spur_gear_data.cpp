// The one spur-gear data set of the kernel (spur_gear_data.h) and its two
// start routines. The kernel start values are the default member values of
// the field groups (spur_*_fields.h); the noncircular overrides come from
// calc_records.cpp, so that the record holds the values in force after
// start-up even before the start routines have run.
#include "calc/spur_gear_data.h"

#include "calc/calc_records.h"

namespace calc {

namespace {

TSpurGearData StartGearData() {
  TSpurGearData data;
  ApplyNoncircularSpurDefaults(data);
  return data;
}

}  // namespace

TSpurGearData SpurGearData = StartGearData();

// Both kernel routines return the data set to the kernel start values: the
// first at unit start, the second when the user asks for the defaults. With
// every start value held as a member default they do the same thing.
void InitGearData() { SpurGearData = TSpurGearData{}; }

void SetSpurGearDefaults() { SpurGearData = TSpurGearData{}; }

}  // namespace calc
