// The pitch curves of gear 1 given by numbers in a grid: the coefficients of
// a polynomial r(phi) (TForm_polynom, curve type 6), up to 50 points with the
// polynomial through them (TForm_vob4poin, type 7) and a polyline of up to
// 1000 points (TForm_vob4poip, type 9), and the exchange of grid cells with
// the clipboard (platform/clipboard.h) as TAB-separated lines. The forms are
// models here (grid, spin value, degree flag, check box); the Qt dialogs
// (ui/point_list_dialogs.h) show them and call these operations, so the
// protocol runs and is tested without a window. The fit itself is
// calc/polynomial_fit.h; the records are calc/calc_records.h.
//
//   app::PointForm form = app::CreatePointForm(calc::CurvePointFit);
//   app::SetPointCount(form, 2);
//   form.grid.Cell(1, 1).text = "0";   form.grid.Cell(2, 1).text = "50";
//   form.grid.Cell(1, 2).text = "180"; form.grid.Cell(2, 2).text = "70";
//   app::PointFormOk(form);   // FitPoints, PointCount 2, coefficients 50, 20/pi
#pragma once

#include <string>
#include <vector>

#include "common/real.h"

namespace app {

// One cell of a grid. A cell still holding what the loader wrote gives back
// the stored value exactly, not its rounded display.
struct GridCell {
  std::string text;
  std::string shown;
  Real value = 0;
};

// A string grid: column 0 holds the row labels, row 0 the column titles.
// It keeps capacity rows (so that values survive a smaller row count); the
// rows 0..rowCount-1 are the grid the user sees.
struct StringGrid {
  int columnCount = 0;
  int rowCount = 0;
  std::vector<std::vector<GridCell>> rows;  // [row][column], capacity rows
  // The selected rectangle (inclusive); a grid selects at least one cell.
  struct Rect {
    int left = 1, top = 1, right = 1, bottom = 1;
  } selection;

  void Resize(int columns, int capacityRows);
  GridCell& Cell(int column, int row) { return rows.at(row).at(column); }
  const GridCell& Cell(int column, int row) const { return rows.at(row).at(column); }
  void Select(int left, int top, int right, int bottom) { selection = {left, top, right, bottom}; }
};

// The selected cells as text: the rows from top to bottom, in each the
// cells from left to right separated by TAB, each row ended by CR LF.
std::string GridSelectionText(const StringGrid& grid);
// Text into the grid from the selection's top-left cell: lines end at CR (a
// LF after it is dropped) and only lines that end so are taken; cells are
// separated by TAB; cells outside the grid are dropped.
void PasteGridText(StringGrid& grid, const std::string& text);
void CopyGridToClipboard(const StringGrid& grid);
void PasteGridFromClipboard(StringGrid& grid);

// TextToReal of a grid text, converted from degrees while the flag is set.
Real GridTextToAngle(const std::string& text, bool degrees);

struct PointForm {
  int curveType = 0;    // 6 polynomial, 7 point fit, 9 polyline
  std::string name;     // "Form_polynom", "Form_vob4poin", "Form_vob4poip"
  std::string caption;  // the program title
  int count = 2;        // the spin value
  int minCount = 2;
  int maxCount = 50;
  bool degrees = true;  // angles shown in degrees (points only)
  StringGrid grid;
  int rowHeight = 16, columnWidth = 60, firstColumnWidth = 60;  // scaled pixels
  std::string formulaLine;  // polynomial: the formula of r(phi)
  // Polyline: the check box "interpolate intermediate values".
  bool linearInterpolation = false;
  std::string interpolationCaption;
  // Menu captions of the current language (display texts).
  std::string editMenu, copyItem, pasteItem, fileMenu, saveItem, importDxfItem;
};

// True for the families with a grid form (6, 7 and 9).
bool HasPointForm(int curveType);

// The form of a family as it opens, with the record's values shown.
PointForm CreatePointForm(int curveType);

// The spin edit changed: the count (held in minCount..maxCount) and the row
// count value + 1.
void SetPointCount(PointForm& form, int value);

// Loaders and readers of the three forms; ShowPointValues and
// ReadPointValues pick the one of form.curveType.
void ShowFitPoints(PointForm& form);
void ReadFitPoints(const PointForm& form);
void ShowPolylinePoints(PointForm& form);
void ReadPolylinePoints(const PointForm& form);
void ShowPolynomCoefficients(PointForm& form);
void ReadPolynomCoefficients(const PointForm& form);
void ShowPointValues(PointForm& form);
void ReadPointValues(const PointForm& form);

// The edited cells of rows 1..count checked before they are read: a text
// that is no number ("abc", "1e999") is refused with a message naming the
// column and the row, the cell shows its old value again, and false
// (value_edit.h). Every button below that reads the grid checks it first
// and does nothing more on a refusal (OK then sets AbortFlag and the dialog
// stays open).
bool PointCellsAccepted(PointForm& form);

// The buttons. OK: read (the point fit also fits the polynomial), AbortFlag
// cleared, the dialog closes; a point set without a polynomial through it
// (two equal angles) is refused with a message and AbortFlag set, and the
// dialog stays open. Cancel: AbortFlag set. "rad <--> deg": read, switch
// the degree flag, show. "mm <--> inch": read, switch the unit system,
// show. "Save": read, then write the design to a file the user chooses (no
// fit first). The hidden "Calc Glsyst": read (and fit) and recalculate.
void PointFormOk(PointForm& form);
void PointFormCancel();
void PointFormSwitchAngles(PointForm& form);
void PointFormSwitchUnits(PointForm& form);
void PointFormSave(PointForm& form);
void PointFormCalc(PointForm& form);
// Edit copy and paste on the form's grid. A paste of more lines than the
// table holds from the selected row on is refused with a message that
// names the limit (50 or 1000 points); the grid stays as it was.
void PointFormCopy(const PointForm& form);
void PointFormPaste(PointForm& form);
// Polyline "Import DXF": the design saved to its file first (when it has a
// name; a failed save stops the import), then the points of a contour
// from a DXF file the user chooses, shown in the grid.
void PolylineImportDxf(PointForm& form);

// ---- The dialogs -------------------------------------------------------------------

class PointListViews {
 public:
  virtual ~PointListViews() = default;
  // Shows the form modally; its buttons and menus run the operations above.
  // On return AbortFlag is clear after OK and set after Cancel.
  virtual void ShowPointForm(PointForm& form) = 0;
};

// Installs the views (not owned); nullptr returns to the default, which
// cancels so that a run without windows never waits.
PointListViews* SetPointListViews(PointListViews* views);

// Shows the grid form of a family (6, 7, 9) modally.
void ShowPointListForm(int curveType);
inline void ShowPolynomForm() { ShowPointListForm(6); }
inline void ShowPointFitForm() { ShowPointListForm(7); }
inline void ShowPointPolylineForm() { ShowPointListForm(9); }

}  // namespace app
