// The spreadsheet commands of the main menu: starting the spreadsheet link
// for the current design, exporting the design data file into it, and the
// complete gear printout as a worksheet. The link itself (the application
// object, its worksheets and the hand-over to the user's spreadsheet
// program) is common/spreadsheet_export.h; the printout is
// app/printouts/gear_printout.h.
#pragma once

namespace app {

// Needs a named design: otherwise "You must save your input data before
// you can use Excel interface (Menu "File -> Save")" and AbortFlag. Then the
// spreadsheet application is created (failure: "Could not start Excel" and
// AbortFlag); success clears AbortFlag.
void StartExcel();

// The design data file into column 1 of a worksheet, which is then handed
// to the spreadsheet program. Changed data are saved first (with the
// overwrite question; a declined question stops here), and the design then
// counts as saved. Starts the link first when it was not started.
void ExportExcel();

// The gear printout (mode as PrintGearReport) as a worksheet: written as a
// tab-separated text file in the temporary directory, opened as a workbook
// and handed to the spreadsheet program. With FatalFlag set the calculation
// messages are shown instead. The report device settings are restored.
void PrintoutExcel(int mode);

}  // namespace app
