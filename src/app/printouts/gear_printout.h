// The gear data printout: the complete text printout of the spur-gear data
// set that the kernel last computed (for the noncircular pair, the
// substitute spur pair of one position). Two reports, each with its own
// head: the geometry report (gear_printout.cpp, with the tolerance and
// measurement sections of tolerance_printout.cpp) and the strength report
// (strength_printout.cpp, with the service-life lines of
// life_printout.cpp), then the page of calculation messages. Everything
// goes through the report writer (common/report_writer.h) to the device
// chosen at the start.
#pragma once

#include <cstdint>
#include <string>

#include "common/range_array.h"
#include "common/real.h"

namespace app {

enum GearReportMode : std::uint16_t {
  GearReportComplete = 0,       // geometry, strength, messages (command line)
  GearReportStrengthOnly = 2,   // strength report and messages (strength view)
  GearReportSpreadsheet = 3,    // as 0 (spreadsheet printout)
};

// Writes the printout. The device is asked for (or taken from the report
// settings) with the current data file's name. A fatal calculation, z1 +
// z2 = 0, a refused device or any later AbortFlag end it without the
// message page and without showing the output.
void PrintGearReport(std::uint16_t mode);

// The head note of both reports: the centre distance of the noncircular
// pair, which the shafts keep, and the drive angle of the substitute spur
// pair whose data the rows print (empty before a pair was calculated).
std::string SubstitutePairHeadNote();

// ---- The sections, in the order the printout writes them ----------------------
// Each returns false when AbortFlag ended the printout.

// "TOLERANCES, BACKLASH", "MEASUREMENTS/DIMENSIONS" and the flank tolerances.
bool PrintToleranceSections();
// "MEASUREMENTS/DIMENSIONS" (the caller wrote the empty line and the page check).
void PrintMeasurements();
// The strength report with its own head.
bool PrintStrengthReport();
// The service-life lines after the pitting and the tooth-root safety.
void PrintLifePitting(const GearArray<Real>& safety, const GearArray<Real>& tH1, const GearArray<Real>& tH2,
                      int method);
void PrintLifeToothRoot(const GearArray<Real>& safety, const GearArray<Real>& tF, int method);

}  // namespace app
