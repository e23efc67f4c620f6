// The "Protocol of changes": the drawing date and designer, the
// replacement texts, and the change records of the design as a text report
// through the report writer (common/report_writer.h). The change menu
// (change_list.h) shows it after every change.
#pragma once

#include <string>

namespace app {

// device 1 = the screen (without the report head), 0 = the user chooses.
void WriteChangeProtocol(int device);

// The index of change i in the protocol and the revision table style: "1",
// "2" ... when ChangeIndexStyle (RevisionIndexStyle) is 1, else "a", "b" ...
std::string ChangeProtocolIndex(int i);

}  // namespace app
