// The pitch-curve input driven through scripted views: the list of formula
// pieces with its actions, the limit of ten pieces, the checks of the piece
// editor, and the recalculation after the curve family was chosen.
#include "app/inputs/pitch_curve_input.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>

#include "app/entry_points.h"
#include "app/start_up.h"
#include "calc/calc_records.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "platform/scripted_dialogs.h"

using app::PieceEditorFields;
using app::PieceListResult;
using platform::ScriptedAnswer;

namespace {

// The user at the two dialogs: list answers, and for each editor opening a
// sequence of edits, each confirmed with OK; the editor is left with Cancel
// when its edits run out before one is accepted.
class ScriptedViews : public app::PitchCurveViews {
 public:
  using Edit = std::function<void(PieceEditorFields&)>;

  ScriptedViews& List(int code, int selected = 0) {
    lists_.push_back({false, code, selected});
    return *this;
  }
  ScriptedViews& CancelList() {
    lists_.push_back(PieceListResult{});
    return *this;
  }
  ScriptedViews& Editor(std::vector<Edit> edits) {
    editors_.push_back(std::move(edits));
    return *this;
  }

  PieceListResult ShowPieceList(const app::PieceListRequest& request) override {
    shownLists.push_back(request);
    if (lists_.empty()) {
      common::AbortFlag = 1;
      return {};
    }
    PieceListResult r = lists_.front();
    lists_.pop_front();
    common::AbortFlag = r.cancelled ? 1 : 0;
    return r;
  }

  void EditPiece(int index) override {
    editedPieces.push_back(index);
    std::vector<Edit> edits;
    if (!editors_.empty()) {
      edits = editors_.front();
      editors_.pop_front();
    }
    PieceEditorFields fields = app::PieceEditorFieldsFor(index);
    shownEditors.push_back(fields);
    for (const Edit& edit : edits) {
      edit(fields);
      common::AbortFlag = 0;
      app::CheckFormulaPiece(fields);
      refusals.push_back(fields);
      if (!common::AbortFlag) return;
    }
    common::AbortFlag = 1;  // Cancel
  }

  std::vector<app::PieceListRequest> shownLists;
  std::vector<PieceEditorFields> shownEditors;
  std::vector<PieceEditorFields> refusals;
  std::vector<int> editedPieces;

 private:
  std::deque<PieceListResult> lists_;
  std::deque<std::vector<Edit>> editors_;
};

ScriptedViews::Edit Enter(std::string formula, std::string endDegrees) {
  return [=](PieceEditorFields& f) {
    f.formula = formula;
    f.endDeg = endDegrees;
  };
}

class PitchCurveInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "vob4";
    char* argv[] = {name, nullptr};
    app::StartUpProgram(1, argv);
    app::ResetEntryPoints();
    calc::PieceCount = 0;
    for (int i = 0; i <= calc::MaxFormulaPieces; ++i) calc::FormulaPieces[i] = {};
    calc::FormulaPieces[0].EndAngle = 0;
  }
  void TearDown() override { app::SetPitchCurveViews(nullptr); }

  void Pieces(std::initializer_list<std::pair<double, const char*>> pieces) {
    calc::PieceCount = 0;
    for (const auto& [end, formula] : pieces) {
      ++calc::PieceCount;
      calc::FormulaPieces[calc::PieceCount] = {static_cast<Real>(end), formula};
    }
  }

  ScriptedViews views_;
  platform::ScriptedDialogs dialogs_;
  platform::ScopedDialogs scoped_{dialogs_};
};

}  // namespace

TEST_F(PitchCurveInputTest, ChosenFamilyIsEnteredAndThePairRecalculated) {
  app::SetPitchCurveViews(&views_);
  calc::CurveType = calc::CurveEllipse;
  dialogs_.Then(ScriptedAnswer::Choose(0));
  views_.List(app::ListNew)
      .Editor({Enter("100+20*sin(x-pi/2)", "360")})
      .List(app::ListOk);
  app::SelectCurveType();
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(calc::CurveType, calc::CurveFormula);
  ASSERT_EQ(calc::PieceCount, 1);
  // The calculation keeps the formula in its normal form.
  EXPECT_EQ(calc::FormulaPieces[1].Formula, "100+20*SIN(X-PI/2)");
  EXPECT_EQ(calc::FormulaPieces[1].EndAngle, 360);
  // The choice opened on the current family and offered all nine.
  const auto& choice = dialogs_.Asked().at(0);
  EXPECT_EQ(choice.items.size(), 9u);
  EXPECT_EQ(choice.preselected, 1);
  EXPECT_EQ(choice.items[6], "input <=50 Points on pitch curve -> polynomial function");
  EXPECT_EQ(choice.items[8], "input <=1000 Points on pitch curve -> Polyline");
  // The recalculated pair is the circle of radius 100 to 120 around.
  EXPECT_EQ(common::FatalFlag, 0);
  EXPECT_NEAR(static_cast<double>(calc::RadiusExtremes.r1min), 80, 0.5);
  EXPECT_NEAR(static_cast<double>(calc::RadiusExtremes.r1max), 120, 0.5);
  // The second list showed the piece line.
  ASSERT_EQ(views_.shownLists.size(), 2u);
  EXPECT_EQ(views_.shownLists[1].items.at(0), "1: x=   0.00 .. 360.00:  f(x)= 100+20*sin(x-pi/2)");

  // A family whose form is not there yet ends with AbortFlag, no calculation.
  dialogs_.Then(ScriptedAnswer::Choose(1));
  app::SelectCurveType();
  EXPECT_EQ(common::AbortFlag, 1);
}

TEST_F(PitchCurveInputTest, TheEleventhPieceIsRefused) {
  app::SetPitchCurveViews(&views_);
  for (int i = 1; i <= 10; ++i) calc::FormulaPieces[i] = {static_cast<Real>(36 * i), "100"};
  calc::PieceCount = 10;
  views_.List(app::ListNew);
  app::InputFormulaPieces();
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(calc::PieceCount, 10);
  EXPECT_TRUE(views_.editedPieces.empty());
  ASSERT_EQ(dialogs_.Asked().size(), 1u);
  EXPECT_EQ(dialogs_.Asked()[0].caption, "Error  : ");
  EXPECT_EQ(dialogs_.Asked()[0].text, "MAX = 10 !");
}

TEST_F(PitchCurveInputTest, EditorChecksFormulaAndRange) {
  app::SetPitchCurveViews(&views_);
  Pieces({{90, "100"}, {360, "110"}});
  views_.List(app::ListModify, 2)
      .Editor({Enter("", "360"), Enter("100+*x", "360"), Enter("100+x", "90"), Enter("100+x", "1e999"),
               Enter("100+x", "abc"), Enter("100+x", "300")})
      .List(app::ListOk);
  app::InputFormulaPieces();
  EXPECT_EQ(common::AbortFlag, 0);
  ASSERT_EQ(views_.refusals.size(), 6u);
  EXPECT_EQ(views_.shownEditors[0].caption, "f2 (x)");
  EXPECT_EQ(views_.shownEditors[0].startDeg, "90");
  EXPECT_EQ(views_.shownEditors[0].startRad, "1.57080");
  EXPECT_EQ(views_.refusals[0].errorLabel, "f(x) = ???");
  EXPECT_EQ(views_.refusals[1].errorLabel, "Error  : formula: 100+*x (Pos. " + std::to_string(views_.refusals[1].caret) + ")");
  EXPECT_GT(views_.refusals[1].caret, 0);
  EXPECT_EQ(views_.refusals[1].focus, PieceEditorFields::Focus::Formula);
  EXPECT_EQ(views_.refusals[2].errorLabel, "Error  : 90 >= 90 !");
  EXPECT_EQ(views_.refusals[2].focus, PieceEditorFields::Focus::EndDegrees);
  // An end angle that is no number is refused before anything is stored.
  EXPECT_EQ(views_.refusals[3].errorLabel, "Error  : phi n: \"1e999\" is not a number !");
  EXPECT_EQ(views_.refusals[3].focus, PieceEditorFields::Focus::EndDegrees);
  EXPECT_EQ(views_.refusals[4].errorLabel, "Error  : phi n: \"abc\" is not a number !");
  EXPECT_EQ(views_.refusals[5].errorLabel, "");
  EXPECT_EQ(calc::FormulaPieces[2].Formula, "100+x");
  EXPECT_EQ(calc::FormulaPieces[2].EndAngle, 300);

  // Converting the end angle between the edits.
  PieceEditorFields f = app::PieceEditorFieldsFor(1);
  f.endDeg = "180";
  app::EndDegreesLeft(f);
  EXPECT_EQ(f.endRad, "3.141593");
  f.endRad = "1.5707963";
  app::EndRadLeft(f);
  EXPECT_EQ(f.endDeg, "90");
  app::SetEndTo360(f);
  EXPECT_EQ(f.endDeg, "360");
}

// A formula longer than 4096 characters is refused with its own label and
// nothing is stored; one of 4096 characters is taken (blanks count: they
// are what a data file stores).
TEST_F(PitchCurveInputTest, EditorRefusesAFormulaLongerThan4096Characters) {
  app::SetPitchCurveViews(&views_);
  Pieces({{360, "100"}});
  const std::string longest = "50 + 0.5 * SIN(X)" + std::string(4096 - 17, ' ');
  views_.List(app::ListModify, 1)
      .Editor({Enter(longest + "0", "360"), Enter(longest, "360")})
      .List(app::ListOk);
  app::InputFormulaPieces();
  EXPECT_EQ(common::AbortFlag, 0);
  ASSERT_EQ(views_.refusals.size(), 2u);
  EXPECT_EQ(views_.refusals[0].errorLabel, "Error  : formula longer than 4096 characters !");
  EXPECT_EQ(views_.refusals[0].focus, PieceEditorFields::Focus::Formula);
  EXPECT_EQ(views_.refusals[1].errorLabel, "");
  EXPECT_EQ(calc::FormulaPieces[1].Formula, longest);
}

TEST_F(PitchCurveInputTest, InsertDeleteAndCancel) {
  app::SetPitchCurveViews(&views_);
  Pieces({{120, "100"}, {240, "110"}, {360, "120"}});
  // Insert at 1: the new first piece starts as a copy of the old one.
  views_.List(app::ListInsert, 1).Editor({Enter("90", "60")});
  views_.List(app::ListDelete, 4).List(app::ListOk);
  app::InputFormulaPieces();
  EXPECT_EQ(common::AbortFlag, 0);
  ASSERT_EQ(calc::PieceCount, 3);
  EXPECT_EQ(calc::FormulaPieces[1].Formula, "90");
  EXPECT_EQ(calc::FormulaPieces[1].EndAngle, 60);
  EXPECT_EQ(calc::FormulaPieces[2].Formula, "100");
  EXPECT_EQ(calc::FormulaPieces[3].Formula, "110");
  EXPECT_EQ(views_.editedPieces, std::vector<int>{1});

  // Modify on an empty list adds piece 1; Cancel in its editor keeps the
  // count raised and ends the list with AbortFlag.
  calc::PieceCount = 0;
  views_.List(app::ListModify).Editor({});
  app::InputFormulaPieces();
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(calc::PieceCount, 1);

  // Delete on an empty list does nothing; Cancel of the list ends it.
  calc::PieceCount = 0;
  views_.List(app::ListDelete).CancelList();
  app::InputFormulaPieces();
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(calc::PieceCount, 0);
}
