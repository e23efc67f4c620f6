// What the data grid and the navigator (dbase/ui/tz_grid.h,
// dbase/ui/tz_navigator.h) decide without a window: the colours of a cell
// (deleted records in their own colours, the program's recolouring event,
// the highlight last), the two texts and the value of a logical cell and its
// toggling, the edit mask of a date column, the keys of a logical column,
// and the navigator's Delete that restores a deleted record.
#pragma once

#include <functional>
#include <string>

#include "dbase/dataset/grid_columns.h"
#include "dbase/dataset/tz_dataset.h"

namespace dbase {

// How a logical field is drawn, in this order.
enum class TTzBooleanBox { bbCheckBox, bbCheckMark, bbText, bbFillBox, bbFillBoxRed, bbRButton, bbRButtonRed,
                           bbDot, bbDotRed };

// The seven colours of a cell.
struct TTzCellColors {
  TColor IndicatorColor = clBtnFace;
  TColor CellColor = clWindow;
  TColor CellTextColor = clWindowText;
  TColor HiliteColor = clHighlight;
  TColor HiliteTextColor = clHighlightText;
  TColor DeletedColor = clRed;
  TColor DeletedTextColor = clWindowText;
};

// The program's recolouring: the row (from 0) and the seven colours.
using TTzChangeColorsEvent = std::function<void(int curRow, TTzCellColors& colors)>;

// The brush and font colour a data cell is drawn with.
struct TCellPaint {
  TColor brush = clWindow;
  TColor font = clWindowText;
};
// defaults: the grid's and the column's colours; the event (when set) may
// change them for data rows (row 0 and up); then the deleted colours, the
// highlight and the grey text of a disabled grid, in this order.
TCellPaint CellPaint(TTzCellColors defaults, const TTzChangeColorsEvent& event, int row, bool deleted,
                     bool highlighted, bool enabled);

// The value a logical cell shows: its display text equals the field's true
// text (TField::TrueText, FalseText).
bool BooleanCellValue(const TField& field);
// Toggles the logical field of the active record: the dataset enters edit
// state and the field takes the other text.
void ToggleLogicalField(TDataSet& dataset, TField& field);

// The edit mask of a date column in the engine's date settings:
// "99/99/9999;1; " (month or day first) or "9999/99/99;1; " (year first),
// with "99" for two-digit years.
std::string DateEditMask();

// The text a cell takes from what the user typed. In a number cell the
// decimal sign of the user's locale (userDecimal) stands for the engine's
// DecimalSeparator when the text holds none of the latter: on a German
// desktop "1,3" and "1.3" both give 1.3. Other cells take the text as typed.
std::string CellEntryText(const TField& field, const std::string& typed, char userDecimal);

// What a key pressed on a logical column does.
enum class TLogicalKeyAction { Toggle, Ignore, Pass };
// Space and Enter toggle; Backspace and printable characters are ignored;
// other control characters go to the grid.
TLogicalKeyAction LogicalColumnKey(char32_t key);

// Asks an OK/Cancel question; true for OK.
using TConfirm = std::function<bool(const std::string& question)>;
// The confirmation box of the grid and the navigator ("Restore Record ?").
bool ConfirmBox(const std::string& question);

// The navigator's Delete on a modifiable table dataset: a deleted record
// is restored (after "Restore Record ?" when confirmRestore), another one
// deleted (after "Delete Record ?" when confirmDelete). Answers false when
// the dataset is no table dataset or cannot be modified: the navigator
// then does its own Delete.
bool NavigatorDelete(TDataSet& dataset, bool confirmDelete, bool confirmRestore, const TConfirm& confirm);
// Ctrl+Delete in the grid: restores a deleted record of a modifiable table
// dataset (after "Restore Record ?" when confirm is set); false when it did
// not apply and the grid handles the key.
bool GridCtrlDelete(TDataSet& dataset, bool confirmDelete, const TConfirm& confirm);

}  // namespace dbase
