// The pitch-curve input; see pitch_curve_input.h.
#include "app/inputs/pitch_curve_input.h"

#include "app/entry_points.h"
#include "calc/calc_records.h"
#include "calc/noncircular_pair.h"
#include "calc/pitch_curve.h"
#include "common/code_page.h"
#include "common/formula_evaluator.h"
#include "common/help_text.h"
#include "common/kaldvar.h"
#include "common/number_format.h"
#include "common/numeric_routines.h"
#include "common/small_dialogs.h"
#include "common/text_utils.h"

namespace app {

namespace {

using calc::FormulaPieces;
using calc::PieceCount;
using common::AbortFlag;

class CancellingViews : public PitchCurveViews {
 public:
  PieceListResult ShowPieceList(const PieceListRequest&) override {
    AbortFlag = 1;
    return {};
  }
  void EditPiece(int) override { AbortFlag = 1; }
};

PitchCurveViews& Views(PitchCurveViews* replace = nullptr, bool set = false) {
  static CancellingViews cancelling;
  static PitchCurveViews* current = &cancelling;
  if (set) current = replace ? replace : &cancelling;
  return *current;
}

// The limit of pieces: the message, the count back to the limit, the end.
bool PieceLimitReached() {
  if (PieceCount <= calc::MaxFormulaPieces) return false;
  common::ShowError("MAX = " + common::IntToText(calc::MaxFormulaPieces) + " !");
  PieceCount = calc::MaxFormulaPieces;
  AbortFlag = 1;
  return true;
}

std::string PieceLine(int i) {
  return common::IntToText(i) + ": x= " + common::FormatRealDigits(3, 2, FormulaPieces[i - 1].EndAngle) + " .. " +
         common::FormatRealDigits(3, 2, FormulaPieces[i].EndAngle) + ":  f(x)= " + FormulaPieces[i].Formula;
}

// The piece of an insert or delete: the selected one, else the user's
// choice from the piece lines (false on Cancel).
bool PiecePosition(int selected, const std::string& caption, int count, int& p) {
  if (selected > 0) {
    p = selected;
    return true;
  }
  p = 1;
  common::SelectFromList(caption, count, p);
  return !AbortFlag;
}

}  // namespace

PitchCurveViews* SetPitchCurveViews(PitchCurveViews* views) {
  PitchCurveViews* previous = &Views();
  Views(views, true);
  return previous;
}

void SelectCurveType() {
  const std::string points = " Points on pitch curve";
  const char* const items[9] = {"input formula rw=f(phi)",
                                "ellipse",
                                "sine rw=rw0+A*sin(phi)",
                                "sine-linear",
                                "Polygon",
                                "polynomial function",
                                nullptr,
                                "eccentric element",
                                nullptr};
  for (int i = 1; i <= 9; ++i) common::TextLines[i] = items[i - 1] ? items[i - 1] : "";
  common::TextLines[7] = "input <=" + common::IntToText(calc::MaxFitPoints) + points + " -> polynomial function";
  common::TextLines[9] = "input <=" + common::IntToText(calc::MaxPolylinePoints) + points + " -> Polyline";
  common::SetHelpNumber2(7880);
  int type = calc::CurveType;
  common::SelectFromList("Select curve type", 9, type);
  if (AbortFlag) return;
  // The family's dialog works on the chosen type (its Calc button rates the
  // pair with it), so it is stored before the dialog opens.
  const std::uint16_t previous = calc::CurveType;
  calc::CurveType = static_cast<std::uint16_t>(type);
  if (type == calc::CurveFormula)
    InputFormulaPieces();
  else
    Entry().ShowCurveForm(type);
  if (!AbortFlag) {
    calc::CalcNoncircularPair();
    return;
  }
  if (type == previous) return;
  // A cancelled change of family leaves the design on its old curve: the old
  // type with its own parameters, and results and picture of that curve
  // again, in case the dialog's Calc rated the pair on the new one.
  calc::CurveType = previous;
  calc::CalcNoncircularPair();
  Entry().RedrawCurrentView();
  AbortFlag = 1;
}

void InputFormulaPieces() {
  int chosen = 0;
  while (true) {
    const int c = PieceCount;
    PieceListRequest request;
    request.caption = "formula";
    for (int i = 1; i <= c; ++i) request.items.push_back(common::OemToDisplayText(PieceLine(i)));
    request.preselected = chosen <= c ? chosen : 0;
    common::SetHelpNumber2(7800);
    const PieceListResult result = Views().ShowPieceList(request);
    if (result.cancelled || AbortFlag) {
      AbortFlag = 1;
      return;
    }
    const int s = result.selected >= 1 && result.selected <= c ? result.selected : 0;
    int p = c + 5;
    switch (result.code) {
      case ListNew: p = c + 1; break;
      case ListInsert: p = c + 2; break;
      case ListDelete: p = c + 3; break;
      case ListModify: p = s > 0 ? s : 1; break;
      case ListDoubleClick: p = s; break;
      default: p = c + 5; break;
    }
    if (p == c + 5) return;

    if (p == c + 1) {
      ++PieceCount;
      if (PieceLimitReached()) return;
    } else if (p == c + 2) {
      common::SetHelpNumber2(7810);
      if (!PiecePosition(s, "Select", c, p)) return;
      ++PieceCount;
      if (PieceLimitReached()) return;
      for (int i = PieceCount; i > p; --i) FormulaPieces[i] = FormulaPieces[i - 1];
    } else if (p == c + 3) {
      if (c >= 1) {
        common::SetHelpNumber2(7920);
        if (!PiecePosition(s, "Select ...", c, p)) return;
        for (int i = p; i < c; ++i) FormulaPieces[i] = FormulaPieces[i + 1];
        FormulaPieces[c] = calc::TFormulaPiece{};
        --PieceCount;
      }
      chosen = 0;
      continue;
    }
    if (p >= 1 && p <= PieceCount) {
      chosen = p;
      common::SetHelpNumber2(7910);
      Views().EditPiece(p);
    }
    if (AbortFlag) return;
  }
}

PieceEditorFields PieceEditorFieldsFor(int index) {
  PieceEditorFields f;
  f.index = index;
  f.caption = "f" + common::IntToText(index) + " (x)";
  if (index <= 1) {
    f.startDeg = "0";
    f.startRad = "0";
  } else {
    const Real start = FormulaPieces[index - 1].EndAngle;
    f.startDeg = common::RealToText(start);
    f.startRad = common::RealToTextFixed(5, common::DegToRad(start));
  }
  const Real end = FormulaPieces[index].EndAngle;
  f.endDeg = common::RealToText(end);
  f.endRad = common::RealToTextFixed(5, common::DegToRad(end));
  f.formula = common::OemToDisplayText(FormulaPieces[index].Formula);
  return f;
}

void EndDegreesLeft(PieceEditorFields& fields) {
  fields.endRad = common::RealToTextFixed(6, common::DegToRad(common::TextToReal(fields.endDeg)));
}

void EndRadLeft(PieceEditorFields& fields) {
  fields.endDeg = common::RealToText(common::RadToDeg(common::TextToReal(fields.endRad)));
}

void SetEndTo360(PieceEditorFields& fields) { fields.endDeg = "360"; }

void CheckFormulaPiece(PieceEditorFields& fields) {
  fields.focus = PieceEditorFields::Focus::None;
  // An end angle that is no number would be stored as 0 (or, for 1e999, as
  // an angle no curve reaches): refused before anything is stored.
  if (!common::ParseNumberText(fields.endDeg)) {
    AbortFlag = 1;
    fields.focus = PieceEditorFields::Focus::EndDegrees;
    fields.errorLabel = "Error  : phi n: \"" + fields.endDeg + "\" is not a number !";
    return;
  }
  if (common::TrimBlanks(fields.formula).empty()) {
    fields.errorLabel = "f(x) = ???";
    fields.focus = PieceEditorFields::Focus::Formula;
    AbortFlag = 1;
    return;
  }
  std::string text = common::AnsiToOemText(fields.formula);
  Real value = 0;
  std::int32_t position = 0;
  if (text.size() > calc::MaxFormulaLength) {
    // Every radius of the curve evaluates the text: a longer one would make
    // each recalculation crawl, and the data file refuses it as well.
    AbortFlag = 1;
    fields.focus = PieceEditorFields::Focus::Formula;
    fields.caret = static_cast<std::int32_t>(calc::MaxFormulaLength) + 1;
    fields.errorLabel =
        "Error  : formula longer than " + std::to_string(calc::MaxFormulaLength) + " characters !";
  } else {
    common::EvaluateFormula(text, value, position, common::TextToReal(fields.startRad));
  }
  if (position != 0) {
    AbortFlag = 1;
    fields.focus = PieceEditorFields::Focus::Formula;
    fields.caret = position;
    fields.errorLabel = calc::FormulaErrorText(fields.formula, position);
  } else if (text.size() <= calc::MaxFormulaLength) {
    fields.errorLabel.clear();
    const int i = fields.index;
    if (i >= 1 && i <= calc::MaxFormulaPieces) {
      FormulaPieces[i].EndAngle = common::TextToReal(fields.endDeg);
      FormulaPieces[i].Formula = common::AnsiToOemText(fields.formula);
    }
  }
  if (common::TextToReal(fields.endDeg) <= common::TextToReal(fields.startDeg)) {
    AbortFlag = 1;
    fields.focus = PieceEditorFields::Focus::EndDegrees;
    fields.errorLabel = "Error  : " + fields.endDeg + " >= " + fields.startDeg + " !";
  }
}

}  // namespace app
