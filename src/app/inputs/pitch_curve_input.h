// The pitch curve of gear 1 as the user defines it: the choice of the curve
// family, the dialog of that family and the recalculation of the pair. The
// family of formula pieces r = f(x) is edited here in two dialogs: the list
// of the pieces with its action buttons and the editor of one piece. The
// dialogs themselves are views (the Qt ones in ui/formula_dialogs.h);
// the sequence, the checks and the records stay here, so they work and are
// tested without a window.
#pragma once

#include <string>
#include <vector>

namespace app {

// Chooses the curve family (the list opens on CurveType), opens its dialog
// and, unless cancelled, recalculates the pair. Cancel leaves AbortFlag set.
void SelectCurveType();

// The formula-piece editor: the list of pieces until OK, Cancel or the
// limit of 10 pieces.
void InputFormulaPieces();

// ---- The list dialog -------------------------------------------------------

// The button that closed the list: OK 0, "&New" 1, "&Insert" 2, "&Delete" 3,
// "&Modify" 9, a double click on an item 10.
enum PieceListCode : int { ListOk = 0, ListNew = 1, ListInsert = 2, ListDelete = 3, ListModify = 9, ListDoubleClick = 10 };

struct PieceListRequest {
  std::string caption;             // "formula"
  std::vector<std::string> items;  // display texts
  int preselected = 0;             // 1-based; 0 = none
};

struct PieceListResult {
  bool cancelled = true;  // Cancel: AbortFlag is set
  int code = ListOk;
  int selected = 0;       // 1-based; 0 = none
};

// ---- The piece editor --------------------------------------------------------

// What the editor of piece i shows and what the user left in it (display
// texts of the edits, the red error label, and where the focus goes after a
// refused input).
struct PieceEditorFields {
  int index = 1;
  std::string caption;   // "f" + i + " (x)"
  std::string formula;
  std::string startRad, startDeg;  // read-only
  std::string endRad, endDeg;
  std::string errorLabel;
  enum class Focus { None, Formula, EndDegrees } focus = Focus::None;
  int caret = 0;  // caret position in the formula (1-based error position)
};

// The fields of piece i as the editor shows them.
PieceEditorFields PieceEditorFieldsFor(int index);
// Leaving the degree edit writes the angle in rad (6 decimals); leaving the
// rad edit writes it in degrees; the button "< phi n = 360°" writes 360.
void EndDegreesLeft(PieceEditorFields& fields);
void EndRadLeft(PieceEditorFields& fields);
void SetEndTo360(PieceEditorFields& fields);

// OK of the editor: validates the piece and stores it. Refused input (an
// end angle that is no number, an empty or faulty formula, an end angle
// not above the start) sets AbortFlag, the error label and the focus; the
// editor then stays open.
void CheckFormulaPiece(PieceEditorFields& fields);

// ---- The views -----------------------------------------------------------------

class PitchCurveViews {
 public:
  virtual ~PitchCurveViews() = default;
  // The list of pieces, modal.
  virtual PieceListResult ShowPieceList(const PieceListRequest& request) = 0;
  // The editor of piece i, modal; OK runs CheckFormulaPiece until it
  // accepts; Cancel sets AbortFlag.
  virtual void EditPiece(int index) = 0;
};

// Installs the views (not owned); nullptr returns to the default, which
// cancels every dialog so that a run without windows never waits.
PitchCurveViews* SetPitchCurveViews(PitchCurveViews* views);

}  // namespace app
