// Tests of the gear-pair animations on the screen's display list: the
// settings form, the number of pictures over one or two turns, the erasing
// pass of every picture but the last, the blocks of the second animation,
// and the meshing of the pair at each picture.
#include "drawing/gear_animation.h"

#include <algorithm>
#include <string>
#include <vector>

#include "calc/calc_records.h"
#include "calc/noncircular_pair.h"
#include "calc/pitch_curve.h"
#include "calc/spur_gear_data.h"
#include "common/graphics_facade.h"
#include "common/graphics_window.h"
#include "common/numeric_routines.h"
#include "drawing/outlines/tooth_contour.h"
#include "drawing_test_support.h"
#include "gear_designs.h"

namespace {

using drawingtest::DrawingTest;
using drawingtest::LoggingBackEnd;

class Animation : public DrawingTest {
 protected:
  Animation() : DrawingTest("animation") {}
  void SetUp() override {
    DrawingTest::SetUp();
    drawingtest::SetDefaultDesign();
    calc::CalcNoncircularPair();
    ASSERT_EQ(common::FatalFlag, 0);
    common::ClearErrorMessages();
    common::InitGraphDisplayList();
  }
  void TearDown() override {
    drawing::AnimationFormView() = nullptr;
    DrawingTest::TearDown();
  }
  // The view answers the form with these texts.
  void Answer(const std::string& steps, const std::string& pause, bool ok = true) {
    drawing::AnimationFormView() = [=, this](drawing::TForm_vob1ani& form) {
      ++shown_;
      form.Edit_steps = steps;
      form.Edit_pause = pause;
      if (ok) form.Button_okClick(); else form.Button_cancelClick();
    };
  }
  // Radius lines of gear 1 drawn: one per picture and one per erasure.
  static int Count(const std::vector<drawingtest::Figure>& figures, int pen, Real x1) {
    return static_cast<int>(std::count_if(figures.begin(), figures.end(), [&](const drawingtest::Figure& f) {
      return f.kind == "LINE" && f.pen == pen && f.values[0] == x1 && f.values[1] == 0 && f.values[3] == 0;
    }));
  }
  int shown_ = 0;
};

TEST_F(Animation, FormTextsAndItsButtons) {
  drawing::TForm_vob1ani form;
  form.FormCreate();
  EXPECT_EQ(form.Edit_steps, "180");
  EXPECT_EQ(form.Edit_pause, "0");
  EXPECT_EQ(form.Edit_start, "0");
  EXPECT_EQ(form.Edit_end, "360");
  EXPECT_FALSE(form.StartEndEnabled);
  EXPECT_EQ(form.Label_singlestep, "Pause after each step ?");
  form.Edit_pause = "250";
  form.CheckBox_singlestepClick(true);
  EXPECT_EQ(form.Edit_pause, "0");
  form.Edit_steps = "7";
  form.Button_anzbildClick();
  EXPECT_EQ(form.Edit_steps, "180");
}

TEST_F(Animation, StepsAreClampedAndEveryPictureButTheLastIsErased) {
  LoggingBackEnd log;
  drawing::ScopedCadBackEnd scoped(drawing::CadDeviceScreen, log);
  // k = 1: one turn of gear 1, steps + 1 pictures.
  for (const auto& [text, pictures] : {std::pair<std::string, int>{"1", 3}, {"x", 3}, {"12", 13}}) {
    log.figures.clear();
    Answer(text, "5");
    drawing::AnimateGears1(1);
    ASSERT_EQ(common::AbortFlag, 0);
    // Gear 2's radius line from its centre: drawn, and drawn again to erase
    // it, but for the last picture.
    EXPECT_EQ(Count(log.figures, 21, calc::NcPair.a), 2 * pictures - 1) << text;
  }
  log.figures.clear();
  Answer("5000", "0");
  drawing::AnimateGears1(1);
  EXPECT_EQ(Count(log.figures, 21, calc::NcPair.a), 2 * 1001 - 1);
  // With k = 2 the run covers two turns.
  calc::NcPair.k = 2;
  calc::CalcNoncircularPair();
  common::ClearErrorMessages();
  log.figures.clear();
  Answer("10", "0");
  drawing::AnimateGears1(1);
  EXPECT_EQ(Count(log.figures, 21, calc::NcPair.a), 2 * 21 - 1);
}

TEST_F(Animation, PitchRadiiOnTheLineOfCentresAddUpToTheCentreDistance) {
  LoggingBackEnd log;
  drawing::ScopedCadBackEnd scoped(drawing::CadDeviceScreen, log);
  Answer("8", "0");
  drawing::AnimateGears1(1);
  // Each picture's two radius lines meet at one point of the line of
  // centres, at the pitch radius of gear 1 for that drive angle.
  std::vector<Real> meets;
  for (const auto& f : log.figures)
    if (f.kind == "LINE" && f.pen == 19 && f.values[0] == 0 && f.values[1] == 0 && f.values[3] == 0)
      meets.push_back(f.values[2]);
  ASSERT_EQ(meets.size(), 17u);  // each picture but the last twice
  for (int i = 0; i < 9; ++i)
    EXPECT_NEAR(meets[2 * i], calc::PitchRadius(i * 2 * std::numbers::pi_v<Real> / 8), 1e-12) << i;
  // The pitch curve of gear 2, turned for the picture at 45 degrees, passes
  // through that point: its point nearest to it lies within a hundredth.
  const drawing::TPitchTrack track = drawing::TrackPitchCurve(2);
  const Real phi = std::numbers::pi_v<Real> / 4;
  const Real turn = common::DegToRad(drawing::GearTwoTurn(track, phi));
  Real best = 1e9;
  for (Real sigma = 0; sigma < track.Length; sigma += 0.005L) {
    Real px, py, tx, ty, nx, ny, at;
    track.At(sigma, px, py, tx, ty, nx, ny, at);
    const Real x = calc::NcPair.a + px * std::cos(turn) - py * std::sin(turn);
    const Real y = px * std::sin(turn) + py * std::cos(turn);
    best = std::min(best, std::hypot(x - meets[2], y));
  }
  EXPECT_LT(best, 0.01);
}

// The window that shows the pictures: it counts them with their pauses.
struct FrameCounter : common::GraphicsHost {
  std::vector<int> pauses;
  void Invalidate() override {}
  void RepaintNow() override {}
  int ClientWidth() const override { return 640; }
  int ClientHeight() const override { return 480; }
  void DrawDirectLine(int, int, int, int, common::ColourValue) override {}
  void ShowRubberBand(bool, int, int, int, int) override {}
  bool ShowProgress() override { return true; }
  bool Pause(int) override { return true; }
  common::StepAnswer StepDialog() override { return common::StepAnswer::Next; }
  bool ShowFrame(int ms) override {
    pauses.push_back(ms);
    return true;
  }
};

// Each picture is shown with its pause and erased but the last; the list
// gives up what was erased: it holds as much after 40 steps as after 4
// (both end at the same angle), a small part of all it was given.
TEST_F(Animation, BlocksAreRecordedOnceAndInsertedTurned) {
  FrameCounter window;
  common::FKaldgra.AttachHost(&window);
  std::size_t stored[2] = {};
  for (const int steps : {4, 40}) {
    Answer(std::to_string(steps), "20");
    common::ClearGraphics();
    window.pauses.clear();
    drawing::AnimateGears2(2);
    ASSERT_EQ(common::AbortFlag, 0);
    EXPECT_EQ(window.pauses, std::vector<int>(static_cast<std::size_t>(steps) + 1, 20)) << steps;
    stored[steps == 40] = common::DisplayList.StoredCount();
    EXPECT_GT(common::DisplayList.size(), 5000u * steps) << "the teeth of both gears at every picture";
  }
  common::FKaldgra.AttachHost(nullptr);
  EXPECT_EQ(stored[1], stored[0]);
  EXPECT_LT(stored[1] * 10, common::DisplayList.size());
}

TEST_F(Animation, CancelOrAFatalDesignDrawsNothing) {
  Answer("10", "0", false);
  common::DisplayList.clear();
  drawing::AnimateGears1(2);
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_TRUE(common::DisplayList.empty());
  common::AddErrorMessage("Fatal  : rw1 <= 0 !");
  common::FatalFlag = 1;
  shown_ = 0;
  drawing::AnimateGears2(2);
  EXPECT_EQ(shown_, 0) << "the form is not shown";
}

}  // namespace
