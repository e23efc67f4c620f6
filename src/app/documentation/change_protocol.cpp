// The protocol of changes; see change_protocol.h.
#include "app/documentation/change_protocol.h"

#include <sstream>

#include "common/design_documentation.h"
#include "common/file_utils.h"
#include "common/kaldvar.h"
#include "common/message_boxes.h"
#include "common/number_format.h"
#include "common/report_writer.h"
#include "common/text_utils.h"

namespace app {

namespace {

using common::PadRightText;
using common::WriteReportText;

const std::string& Title(int n) { return common::TitleBlock.Texts[n]; }

}  // namespace

std::string ChangeProtocolIndex(int i) {
  if (common::RevisionIndexStyle == 1) return common::IntToText(i);
  return std::string(1, static_cast<char>(96 + i));
}

void WriteChangeProtocol(int device) {
  common::BeginReport(common::ProgramTitle + " V" + common::ProgramVersion, "Protocol of changes", "", "", "", 0);
  common::SelectOutputDevice(device, common::DesignOutputName(common::CurrentFileName, "TXT"));
  if (common::AbortFlag) return;
  // The head is left out of the protocol shown after an edit only; a
  // printout carries it on whatever device it goes to.
  if (device != 1) common::WriteReportHeader(0, 0);
  WriteReportText("");
  WriteReportText("Drawing date: " + Title(common::TitleFirstDate) + "     " + "Designed by" + ": " +
                  Title(common::TitleFirstName));
  if (!Title(common::TitleReplacementFor).empty()) {
    WriteReportText("");
    WriteReportText("Replacement for: " + PadRightText(Title(common::TitleReplacementFor), 15));
  }
  if (!Title(common::TitleReplacedBy).empty()) {
    WriteReportText("");
    WriteReportText("Replaced by: " + PadRightText(Title(common::TitleReplacedBy), 15));
  }
  WriteReportText("");
  WriteReportText(PadRightText("Index", 6) + "  " + PadRightText("Date", 10) + "   " + PadRightText("Compl.", 6) +
                  "   " + PadRightText("Modification", 20));
  WriteReportText(common::RuleLineDouble());
  const int count = std::min<int>(common::ChangeRecords.Count, common::MaxChangeRecords);
  for (int i = 1; i <= count; ++i) {
    const common::TChangeRecord& record = common::ChangeRecords.Records[i];
    WriteReportText("  " + ChangeProtocolIndex(i) + "     " + PadRightText(record.Date, 10) + "   " +
                    PadRightText(record.Responsible, 6) + "   " + PadRightText(record.Modification, 20));
    // A description of several lines keeps its lines, each indented.
    std::istringstream lines(record.Description);
    std::string line;
    bool any = false;
    while (std::getline(lines, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      WriteReportText(" " + line);
      any = true;
    }
    if (!any) WriteReportText(" ");
    WriteReportText(common::RuleLineSingle());
  }
  common::ShowReportOutput();
  common::CursorArrow();
}

}  // namespace app
