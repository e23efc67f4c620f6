// The spreadsheet commands; see spreadsheet_link.h.
#include "app/spreadsheet/spreadsheet_link.h"

#include "app/data_file.h"
#include "app/printouts/gear_printout.h"
#include "common/file_utils.h"
#include "common/kaldvar.h"
#include "common/message_boxes.h"
#include "common/message_help.h"
#include "common/number_format.h"
#include "common/report_writer.h"
#include "common/spreadsheet_export.h"
#include "platform/user_dialogs.h"

namespace app {

namespace {

void CouldNotStart() {
  common::ShowMessageConverted(common::CouldNotStartSpreadsheet);
  common::AbortFlag = 1;
}

}  // namespace

void StartExcel() {
  if (common::CurrentFileName.empty()) {
    common::ShowMessageConverted(
        "You must save your input data before you can use Excel interface (Menu \"File -> Save\")");
    common::AbortFlag = 1;
    return;
  }
  platform::Dialogs().SetBusyCursor(true);
  const bool created = common::CreateSpreadsheetApplication(common::ExcelApplication);
  platform::Dialogs().SetBusyCursor(false);
  if (!created) {
    CouldNotStart();
    return;
  }
  common::AbortFlag = 0;
}

void ExportExcel() {
  if (!common::ExcelApplication) {
    StartExcel();
    if (common::AbortFlag) return;
  }
  if (common::DataChanged) {
    WriteDataFile(common::CurrentFileName);
    if (common::AbortFlag) return;
    // The file now holds the design: nothing is left to save.
    common::DataChanged = 0;
  }
  common::ExportTextToExcel(common::CurrentFileName);
  if (common::AbortFlag) return;
  common::ExcelApplication->SetVisible(true);
  if (!common::ExcelApplication->ShowWorkbook()) CouldNotStart();
}

void PrintoutExcel(int mode) {
  if (common::FatalFlag) {
    common::ShowCalculationMessages();
    return;
  }
  std::optional<common::TSpreadsheetApplication> book;
  if (!common::CreateSpreadsheetApplication(book)) {
    CouldNotStart();
    return;
  }
  book->SetVisible(true);
  book->AddWorkbook();
  // The printout goes to a TXT file without the device question.
  const std::uint16_t device = common::TextDevice;
  const bool deviceWindow = common::TextDeviceWindow;
  common::TextDevice = common::ReportTxtFile;
  common::TextDeviceWindow = false;
  PrintGearReport(static_cast<std::uint16_t>(mode));
  common::TextDevice = device;
  common::TextDeviceWindow = deviceWindow;
  if (common::AbortFlag) return;
  const std::string report = common::ReportState.TxtFileName;
  const bool read = book->OpenText(report);
  // The printout's TXT file has done its work once the workbook holds it.
  common::DeleteFileQuiet(report);
  if (!read) {
    common::ShowErrorBox("file " + report + " not found !");
    common::AbortFlag = 1;
    return;
  }
  if (!book->ShowWorkbook()) CouldNotStart();
}

}  // namespace app
