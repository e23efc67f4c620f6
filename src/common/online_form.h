// The generic input/output form: a dialog that a calculation builds from row
// tables (up to 12 input rows of label, edit and unit, up to 12 output rows
// of label, value and unit, and the held calculation messages) so that the
// user changes an input and sees the results recomputed at once. The caller
// fills the tables, shows the form, reads the input values back,
// recalculates and shows the form again until the user leaves:
//   OnlineBegin; loop { fill rows; OnlineShow; read inputs; recalculate }
//   until AbortFlag (Escape or "&Close"); OnlineEnd.
// The window itself is a view installed by the Qt forms; without a window
// the rows are offered through the platform dialogs (a choice of the input
// row, then its new value), so a scripted run can drive the form.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "common/range_array.h"

namespace common {

inline constexpr int OnlineRowCount = 12;
inline constexpr int OnlineKeyUp = 38;    // key codes kept in OnlineLastKey
inline constexpr int OnlineKeyDown = 40;

extern std::uint16_t OnlineInputCount;
extern std::uint16_t OnlineOutputCount;
extern RangeArray<std::string, 1, OnlineRowCount> OnlineInputLabels;
extern RangeArray<std::string, 1, OnlineRowCount> OnlineInputValues;  // written back from the edits
extern RangeArray<std::string, 1, OnlineRowCount> OnlineInputUnits;
extern RangeArray<std::string, 1, OnlineRowCount> OnlineOutputLabels;
extern RangeArray<std::string, 1, OnlineRowCount> OnlineOutputValues;
extern RangeArray<std::string, 1, OnlineRowCount> OnlineOutputUnits;
extern std::string OnlineTitle;
extern RangeArray<std::uint8_t, 1, OnlineRowCount> OnlineRowOrder;
extern std::int32_t OnlineLeft;
extern std::int32_t OnlineTop;
extern std::int32_t OnlineLastKey;  // OnlineKeyUp/OnlineKeyDown after an arrow exit, else 0
extern RangeArray<std::int32_t, 1, OnlineRowCount> OnlineIds;

// Unit start values (counts 12, title "Online Input", order 1..12, position
// (12, 26)).
void ResetOnlineData();
void OnlineClearIds();
void OnlineSetRowOrder(int row, int order);

// Stores title and counts, clears the message list, silences the message
// boxes (MessagesEnabled) and sets every row order to 12.
void OnlineBegin(const std::string& title, int inputCount, int outputCount);
// Called by the caller after filling the input, output and error rows.
void OnlineHookInputs();
void OnlineHookOutputs();
void OnlineHookErrors();
void OnlineClearMessages();
// Shows the form with the edit of row focused. Afterwards row is the row the
// user edited and changed is 1; AbortFlag tells whether the user left.
void OnlineShow(int& row, int helpBase, int& changed);
// Gives MessagesEnabled back the value OnlineBegin found; clears AbortFlag.
void OnlineEnd();

// How the form was closed.
enum class OnlineExit {
  Enter,        // Enter in an edit: take the inputs
  Escape,       // Escape in an edit: leave, inputs not taken
  ArrowUp,      // up arrow in an edit: take the inputs, go on one row up
  ArrowDown,    // down arrow: the same one row down
  Ok,           // "OK"
  Close,        // "&Close": take the inputs and leave
  SwitchUnits,  // "mm <-> inch"
};

struct OnlineFormResult {
  OnlineExit exit = OnlineExit::Escape;
  int row = 1;  // the input row focused when the form closed (the key's row)
  RangeArray<std::string, 1, OnlineRowCount> edits;  // the texts of the edits
};

// The window: shows the tables (globals above and the message list) with the
// edit of `row` focused and returns how it was left. Its buttons call
// OnlineShowHelp, OnlineShowRowPicture and OnlineShowAuxImages; its hints
// come from the Online...Hint routines.
using OnlineFormView = std::function<OnlineFormResult(int row, int helpBase)>;
OnlineFormView SetOnlineFormView(OnlineFormView view);

// What the window's controls do and say.
void OnlineShowHelp();                              // "&Help": entry 1000
void OnlineShowRowPicture(int row, int helpBase);   // "Aux. &Image" of the focused row
bool OnlineRowHasPicture(int row, int helpBase);    // the button is offered only then
void OnlineShowAuxImages();                         // "Aux. Image&s"
std::string OnlineInputHint(int helpBase, int n);   // label and unit of input row n
std::string OnlineOutputHint(int helpBase, int m);  // output row m
std::string OnlineErrorHint(int k);                 // error line k
// The output rows and error lines are left out while "Small Online Window ?"
// is on.
bool OnlineShowsOutputs();

// The unit switch of "mm <-> inch": imperial to metric, any metric system to
// imperial.
void SwitchUnitSystem();

}  // namespace common
