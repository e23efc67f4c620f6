// The report of the calculation messages (the View menu's "Error messages"):
// the held messages with their explanations on the screen viewer, or
// "Calculation successful without error messages" when there are none.
#pragma once

namespace common {

// With no messages the success box. With messages a report titled by
// product code and version with the head line "Error Messages" on the
// screen viewer, named after the data file with ".txt"; after a fatal
// message, and while an answer to a request (an output refused) is shown,
// the messages dialog (ShowCalculationMessages) instead.
void FinishCalculationOutput();

}  // namespace common
