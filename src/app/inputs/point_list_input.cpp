// The grid forms of the point-list and polynomial curves; see
// point_list_input.h.
#include "app/inputs/point_list_input.h"

#include <algorithm>

#include "app/data_file.h"
#include "app/entry_points.h"
#include "app/inputs/value_edit.h"
#include "calc/calc_records.h"
#include "calc/noncircular_pair.h"
#include "calc/polynomial_fit.h"
#include "common/code_page.h"
#include "common/equation_matrix.h"
#include "common/form_placement.h"
#include "common/kaldvar.h"
#include "common/menu_captions.h"
#include "common/message_list.h"
#include "common/number_format.h"
#include "common/numeric_routines.h"
#include "common/small_dialogs.h"
#include "common/text_utils.h"
#include "common/unit_labels.h"
#include "platform/clipboard.h"

namespace app {

namespace {

using common::AbortFlag;

void ShowCell(GridCell& cell, const std::string& text, Real value) {
  cell.text = text;
  cell.shown = text;
  cell.value = value;
}

// A cell the user left alone gives back the stored value exactly; an
// edited (or pasted) one is read from its text.
Real CellAngle(const GridCell& cell, bool degrees) {
  return cell.text == cell.shown ? cell.value : GridTextToAngle(cell.text, degrees);
}
Real CellLength(const GridCell& cell) { return cell.text == cell.shown ? cell.value : common::TextToLength(cell.text); }
Real CellReal(const GridCell& cell) { return cell.text == cell.shown ? cell.value : common::TextToReal(cell.text); }

// The spin value of a count held in the record (the spin edit keeps its
// value within its limits).
int SpinValue(std::int32_t count, const PointForm& form) {
  return std::clamp<std::int32_t>(count, form.minCount, form.maxCount);
}

// Rows of points: spin value, row count, and the angle and radius of each
// point in columns 1 and 2.
template <class Points>
void ShowPoints(PointForm& form, const Points& points, std::int32_t count) {
  SetPointCount(form, SpinValue(count, form));
  StringGrid& g = form.grid;
  g.Cell(1, 0).text = form.degrees ? common::OemToDisplayText("phi (0..360\xF8)") : "phi (0..2pi)";
  g.Cell(2, 0).text = "r [" + common::LengthUnitLabel() + "]";
  for (int i = 1; i <= form.count; ++i) {
    const Real phi = points[i].Phi;
    ShowCell(g.Cell(1, i), form.degrees ? common::RealToText(common::RadToDeg(phi)) : common::RealToText6(phi), phi);
    ShowCell(g.Cell(2, i), common::LengthToText(points[i].R), points[i].R);
  }
}

template <class Points>
void ReadPoints(const PointForm& form, Points& points, std::int32_t& count) {
  count = form.count;
  for (int i = 1; i <= form.count; ++i) {
    points[i].Phi = CellAngle(form.grid.Cell(1, i), form.degrees);
    points[i].R = CellLength(form.grid.Cell(2, i));
  }
}

// The point fit's OK and "Calc Glsyst": the polynomial through the points.
// Two points at one angle leave no polynomial through them; the user is
// told instead of getting the solver's leftovers as a curve.
bool FitPoints() {
  if (calc::FitPolynomialToPoints()) return true;
  common::ShowError("No polynomial through these points: two points have the same angle !");
  return false;
}

class CancellingViews : public PointListViews {
 public:
  void ShowPointForm(PointForm&) override { AbortFlag = 1; }
};

PointListViews& Views(PointListViews* replace = nullptr, bool set = false) {
  static CancellingViews cancelling;
  static PointListViews* current = &cancelling;
  if (set) current = replace ? replace : &cancelling;
  return *current;
}

}  // namespace

// ---- The grid and the clipboard ---------------------------------------------------

void StringGrid::Resize(int columns, int capacityRows) {
  columnCount = columns;
  rows.assign(capacityRows, std::vector<GridCell>(columns));
  rowCount = std::min(rowCount, capacityRows);
}

std::string GridSelectionText(const StringGrid& grid) {
  const StringGrid::Rect& s = grid.selection;
  std::string text;
  for (int row = s.top; row <= s.bottom; ++row) {
    if (row < 0 || row >= static_cast<int>(grid.rows.size())) continue;
    for (int column = s.left; column <= s.right; ++column) {
      if (column >= 0 && column < grid.columnCount) text += grid.Cell(column, row).text;
      if (column < s.right) text += '\t';
    }
    text += "\r\n";
  }
  return text;
}

void PasteGridText(StringGrid& grid, const std::string& text) {
  int row = grid.selection.top;
  std::string::size_type start = 0;
  while (true) {
    const std::string::size_type cr = text.find('\r', start);
    if (cr == std::string::npos) break;  // an unterminated last line is not taken
    const std::string line = text.substr(start, cr - start);
    start = cr + 1;
    if (start < text.size() && text[start] == '\n') ++start;
    int column = grid.selection.left;
    std::string::size_type cellStart = 0;
    while (true) {
      const std::string::size_type tab = line.find('\t', cellStart);
      const std::string cell = line.substr(cellStart, tab == std::string::npos ? std::string::npos : tab - cellStart);
      if (row >= 1 && row < grid.rowCount && column >= 1 && column < grid.columnCount) grid.Cell(column, row).text = cell;
      if (tab == std::string::npos) break;
      cellStart = tab + 1;
      ++column;
    }
    ++row;
  }
}

void CopyGridToClipboard(const StringGrid& grid) { platform::SystemClipboard().SetText(GridSelectionText(grid)); }

void PasteGridFromClipboard(StringGrid& grid) { PasteGridText(grid, platform::SystemClipboard().Text()); }

Real GridTextToAngle(const std::string& text, bool degrees) {
  const Real x = common::TextToReal(text);
  return degrees ? common::DegToRad(x) : x;
}

// ---- The forms --------------------------------------------------------------------------

bool HasPointForm(int curveType) {
  return curveType == calc::CurvePolynomial || curveType == calc::CurvePointFit || curveType == calc::CurvePolyline;
}

PointForm CreatePointForm(int curveType) {
  PointForm form;
  form.curveType = curveType;
  form.caption = common::ProgramTitle;
  form.rowHeight = common::ScalePixels2(16);
  form.editMenu = common::MenuCaptions[common::CapEdit];
  form.copyItem = common::MenuCaptions[common::CapCopy];
  form.pasteItem = common::MenuCaptions[common::CapPaste];
  form.degrees = true;
  switch (curveType) {
    case calc::CurvePolynomial:
      form.name = "Form_polynom";
      form.maxCount = calc::MaxFitPoints;
      form.columnWidth = common::ScalePixels2(64);
      form.firstColumnWidth = common::ScalePixels2(128);
      form.grid.Resize(2, calc::MaxFitPoints + 1);
      form.grid.Cell(1, 0).text = "  a";
      for (int i = 1; i <= calc::MaxFitPoints; ++i) form.grid.Cell(0, i).text = "phi^" + common::IntToText(i - 1);
      form.formulaLine = common::OemToDisplayText("r(phi) = a0 + a1*phi + a2 *phi\xFD +a3*phi^3 + .. +an*phi^n");
      break;
    case calc::CurvePointFit:
    case calc::CurvePolyline: {
      const bool polyline = curveType == calc::CurvePolyline;
      form.name = polyline ? "Form_vob4poip" : "Form_vob4poin";
      form.maxCount = polyline ? calc::MaxPolylinePoints : calc::MaxFitPoints;
      form.columnWidth = form.firstColumnWidth = common::ScalePixels2(60);
      form.grid.Resize(3, form.maxCount + 1);
      for (int i = 1; i <= form.maxCount; ++i) form.grid.Cell(0, i).text = common::IntToText(i);
      if (polyline) {
        form.fileMenu = common::MenuCaptions[common::CapFile];
        form.saveItem = common::MenuCaptions[common::CapSave];
        form.importDxfItem = common::MenuCaptions[common::CapImportDxf];
        form.interpolationCaption = common::OemToDisplayText("interpolate intermediate values");
      }
      break;
    }
    default:
      return form;
  }
  ShowPointValues(form);
  return form;
}

void SetPointCount(PointForm& form, int value) {
  form.count = std::clamp(value, form.minCount, form.maxCount);
  form.grid.rowCount = std::min(std::max(3, form.count + 1), static_cast<int>(form.grid.rows.size()));
}

void ShowFitPoints(PointForm& form) { ShowPoints(form, calc::FitPoints, calc::PointCount); }

void ReadFitPoints(const PointForm& form) { ReadPoints(form, calc::FitPoints, calc::PointCount); }

void ShowPolylinePoints(PointForm& form) {
  ShowPoints(form, calc::PolylinePoints, calc::PolylineCount);
  form.linearInterpolation = calc::LinearInterpolation == 1;
}

void ReadPolylinePoints(const PointForm& form) {
  ReadPoints(form, calc::PolylinePoints, calc::PolylineCount);
  calc::LinearInterpolation = form.linearInterpolation ? 1 : 0;
}

void ShowPolynomCoefficients(PointForm& form) {
  SetPointCount(form, SpinValue(calc::PointCount, form));
  for (int i = 1; i <= form.count; ++i) {
    const Real c = common::EquationMatrix.rhs[i];
    ShowCell(form.grid.Cell(1, i), common::RealToTextFixed(14, c), c);
  }
}

void ReadPolynomCoefficients(const PointForm& form) {
  calc::PointCount = form.count;
  common::EquationMatrix.count = form.count;
  for (int i = 1; i <= form.count; ++i) common::EquationMatrix.rhs[i] = CellReal(form.grid.Cell(1, i));
}

void ShowPointValues(PointForm& form) {
  switch (form.curveType) {
    case calc::CurvePolynomial: ShowPolynomCoefficients(form); break;
    case calc::CurvePointFit: ShowFitPoints(form); break;
    case calc::CurvePolyline: ShowPolylinePoints(form); break;
    default: break;
  }
}

void ReadPointValues(const PointForm& form) {
  switch (form.curveType) {
    case calc::CurvePolynomial: ReadPolynomCoefficients(form); break;
    case calc::CurvePointFit: ReadFitPoints(form); break;
    case calc::CurvePolyline: ReadPolylinePoints(form); break;
    default: break;
  }
}

// ---- Buttons and menus ------------------------------------------------------------------

bool PointCellsAccepted(PointForm& form) {
  StringGrid& g = form.grid;
  for (int row = 1; row <= form.count && row < static_cast<int>(g.rows.size()); ++row) {
    for (int column = 1; column < g.columnCount; ++column) {
      GridCell& cell = g.Cell(column, row);
      if (cell.text == cell.shown) continue;
      const std::string field = common::TrimBlanks(g.Cell(column, 0).text) + " (" + g.Cell(0, row).text + ")";
      if (!AcceptNumberText(field, cell.text, cell.shown)) return false;
    }
  }
  return true;
}

void PointFormOk(PointForm& form) {
  if (!PointCellsAccepted(form)) {
    AbortFlag = 1;
    return;
  }
  ReadPointValues(form);
  if (form.curveType == calc::CurvePointFit && !FitPoints()) {
    AbortFlag = 1;
    return;
  }
  AbortFlag = 0;
}

void PointFormCancel() { AbortFlag = 1; }

void PointFormSwitchAngles(PointForm& form) {
  if (form.curveType == calc::CurvePolynomial) return;  // coefficients have no angle column
  if (!PointCellsAccepted(form)) return;
  ReadPointValues(form);
  form.degrees = !form.degrees;
  ShowPointValues(form);
}

void PointFormSwitchUnits(PointForm& form) {
  if (!PointCellsAccepted(form)) return;
  ReadPointValues(form);
  common::ToggleUnitSystem();
  ShowPointValues(form);
}

void PointFormSave(PointForm& form) {
  if (!PointCellsAccepted(form)) return;
  ReadPointValues(form);
  AbortFlag = 0;
  WriteDataFile("");
}

void PointFormCalc(PointForm& form) {
  if (!PointCellsAccepted(form)) return;
  ReadPointValues(form);
  if (form.curveType == calc::CurvePointFit && !FitPoints()) return;
  calc::CalcNoncircularPair();
}

void PointFormCopy(const PointForm& form) { CopyGridToClipboard(form.grid); }

void PointFormPaste(PointForm& form) {
  const std::string text = platform::SystemClipboard().Text();
  // Only lines ended by CR are taken (PasteGridText).
  const int lines = static_cast<int>(std::count(text.begin(), text.end(), '\r'));
  const int lastRow = form.grid.selection.top + lines - 1;
  if (lines > 0 && lastRow > form.maxCount) {
    // Points beyond the table would be dropped without a word, and the
    // curve would end where the table does.
    common::ShowError("The table holds at most " + common::IntToText(form.maxCount) + " points: " +
                      common::IntToText(lines) + " lines from row " + common::IntToText(form.grid.selection.top) +
                      " do not fit !");
    return;
  }
  PasteGridText(form.grid, text);
}

void PolylineImportDxf(PointForm& form) {
  common::FatalFlag = 0;
  AbortFlag = 0;
  if (!common::CurrentFileName.empty()) SaveDataFile(common::CurrentFileName);
  if (AbortFlag) {
    AbortFlag = 0;
    return;
  }
  Entry().ImportPitchCurveDxf();
  if (!AbortFlag) ShowPolylinePoints(form);
}

// ---- The dialogs ---------------------------------------------------------------------------

PointListViews* SetPointListViews(PointListViews* views) {
  PointListViews* previous = &Views();
  Views(views, true);
  return previous;
}

void ShowPointListForm(int curveType) {
  if (!HasPointForm(curveType)) {
    AbortFlag = 1;
    return;
  }
  PointForm form = CreatePointForm(curveType);
  Views().ShowPointForm(form);
}

}  // namespace app
