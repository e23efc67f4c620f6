// SpurGearData: the one data set of the spur-pair kernel. The noncircular
// calculation fills it with the substitute spur pair of each drive-angle
// position; the kernel reads its inputs from it and writes its results back.
// The fields are grouped by the part of the kernel that owns them, each group
// in its own header; the record is one flat set of names.
#pragma once

#include "calc/spur_core_fields.h"
#include "calc/spur_geometry_fields.h"
#include "calc/spur_iso_fields.h"
#include "calc/spur_strength_fields.h"
#include "calc/spur_tolerance_fields.h"

namespace calc {

struct TSpurGearData : SpurCoreFields,
                       SpurGeometryFields,
                       SpurToleranceFields,
                       SpurStrengthFields,
                       SpurIsoFields {};

extern TSpurGearData SpurGearData;

// Kernel start values (every group's member defaults).
void InitGearData();
void SetSpurGearDefaults();

}  // namespace calc
