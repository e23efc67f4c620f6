// The report of the calculation messages; see calculation_output.h.
#include "common/calculation_output.h"

#include "common/kaldvar.h"
#include "common/message_help.h"
#include "common/message_list.h"
#include "common/report_writer.h"
#include "common/small_dialogs.h"

namespace common {

void FinishCalculationOutput() {
  if (MsgCount == 0) {
    ShowMessageText("Calculation successful without error messages");
    return;
  }
  // A design that was not computed, and the latest answer to a request
  // (an output refused), which no report of the pair's messages holds:
  // the list itself.
  if (FatalFlag || !ShownMessagesAreCalculated()) {
    ShowCalculationMessages();
    return;
  }
  BeginReport(ProductCode + " V" + ProgramVersion, "Error Messages", "", "", "", 0);
  // The report is named after the design; an unnamed one after the program.
  SelectOutputDevice(ReportScreen, CurrentFileName.empty() ? ProgramName : "");
  if (AbortFlag) return;
  WriteMessagesPage();
  ShowReportOutput();
}

}  // namespace common
