// The gear-pair animations; see gear_animation.h.
#include "drawing/gear_animation.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <vector>

#include "calc/calc_records.h"
#include "calc/centre_distance.h"
#include "calc/pitch_curve.h"
#include "calc/pitch_radius_table.h"
#include "calc/spur_gear_data.h"
#include "common/graphics_facade.h"
#include "common/help_text.h"
#include "common/kaldvar.h"
#include "common/message_help.h"
#include "common/number_format.h"
#include "common/numeric_routines.h"
#include "common/unit_labels.h"
#include "drawing/cad/cad_blocks.h"
#include "drawing/cad/cad_output.h"
#include "drawing/fatal_design_view.h"
#include "drawing/gear_pictures.h"
#include "drawing/rotated_frame.h"
#include "drawing/outlines/tooth_contour.h"

namespace drawing {

namespace {

constexpr Real Pi = std::numbers::pi_v<Real>;

// What one run draws of each gear, prepared once.
struct PairPicture {
  int mode = 1;
  std::vector<TContourPiece> gear1, gear2;
  TPitchTrack track2;

  void Prepare(int m) {
    mode = m;
    // Both tracks sample a common grid.
    const calc::PitchRadiusTableScope radii;
    track2 = PitchTrack(2);
    if (mode != 1) {
      gear1 = GearContour(1);
      gear2 = GearContour(2);
    }
  }
  // Gear 1 or 2 in the rotated frame as it is set, centre at its origin.
  void DrawGear(int gear) const {
    const auto& g = calc::SpurGearData;
    if (mode == 1) {
      if (gear == 1) DrawPitchCurve1(); else DrawPitchCurve2(0);
      return;
    }
    DrawContour(gear == 1 ? gear1 : gear2, 0);
    if (g.BoreDiameter[gear] > 0) {
      SetCadColor(5);
      CadCircle(FrameOriginX, FrameOriginY, g.BoreDiameter[gear] / 2);
    }
  }
};

struct RunSettings {
  int steps = 180;
  int pause = 0;
  bool singleStep = false;
};

// Asks the settings; false when cancelled.
bool AskSettings(RunSettings& run) {
  TForm_vob1ani form;
  form.FormCreate();
  if (AnimationFormView()) AnimationFormView()(form);
  if (form.closedBy != TForm_vob1ani::Closed::Ok) {
    common::AbortFlag = 1;
    return false;
  }
  // A text that is no number counts as 0, and so as the fewest steps.
  run.steps = std::clamp(common::TextToInt(form.Edit_steps), 2, 1000);
  run.pause = std::max(common::TextToInt(form.Edit_pause), 0);
  run.singleStep = form.SingleStep;
  return true;
}

// Opens the screen with the frame round both gears (margins of 1.2 times
// the largest radii).
void OpenAnimation() {
  CadOpenOutput(CadDeviceScreen);
  if (common::AbortFlag) return;
  calc::IterateCentreDistance();
  const Real R1 = 1.2L * calc::RadiusExtremes.r1max;
  const Real R2 = 1.2L * calc::RadiusExtremes.r2max;
  const Real b = calc::SpurGearData.GearFaceWidth[1] > 0 ? calc::SpurGearData.GearFaceWidth[1]
                                                         : calc::SpurGearData.FaceWidth;
  CadDrawingFrame(-R1, -std::max(R1, R2), calc::NcPair.a + R2, std::max(R1, R2), b);
  CadBeginTables(0);
}

// The drive angles of the pictures: steps per turn of gear 1, over one turn
// or, with k >= 2, two turns.
int PictureCount(int steps) {
  const int turns = calc::NcPair.k >= 2 ? 2 : 1;
  return steps * turns + 1;
}

// One picture and, unless it is the last, its erasure after the pause. The
// screen shows the picture during the pause; a run the user ended there
// keeps it standing.
template <class Draw>
void ShowPicture(const Draw& draw, const RunSettings& run, bool last) {
  draw();
  CadDelay(run.pause);
  if (last || common::AbortFlag) return;
  // The erasing pass: the background pen, which the other pens of the
  // picture do not replace; on it a single-step run waits for the user,
  // and a user who closes the step dialog keeps this picture standing.
  SetCadLineMode(2);
  SetCadColor(0);
  if (!common::AbortFlag) draw();
  SetCadLineMode(0);
}

void RadiusLines(Real r) {
  const Real a = calc::NcPair.a;
  SetCadColor(19);
  CadLine(0, 0, r, 0);
  SetCadColor(21);
  CadLine(a, 0, r, 0);
}

void Animate(int mode, bool blocks) {
  if (common::FatalFlag) {
    ShowFatalDesign();
    return;
  }
  RunSettings run;
  if (!AskSettings(run)) return;
  OpenAnimation();
  if (common::AbortFlag) return;
  PairPicture pair;
  pair.Prepare(mode);
  const Real a = calc::NcPair.a;
  if (blocks) {
    CadBeginBlocksSection();
    SetRotatedFrame(0, 0, 0);
    CadBeginBlock("rad1");
    pair.DrawGear(1);
    CadEndBlock();
    CadBeginBlock("rad2");
    pair.DrawGear(2);
    CadEndBlock();
    CadEndSection();
  }
  CadInsertLogos();
  common::FKaldgra.StepMode = run.singleStep ? 1 : 0;
  const Real step = 2 * Pi / run.steps;
  const int count = PictureCount(run.steps);
  for (int i = 0; i < count && !common::AbortFlag; ++i) {
    const Real phi1 = i * step;
    const Real turn1 = -common::RadToDeg(phi1);
    const Real turn2 = GearTwoTurn(pair.track2, phi1);
    const Real r = calc::PitchRadius(phi1);
    ShowPicture(
        [&] {
          RadiusLines(r);
          if (blocks) {
            CadInsertBlock("rad1", 0, 0, turn1, 1, 1);
            CadInsertBlock("rad2", a, 0, turn2, 1, 1);
          } else {
            SetRotatedFrame(0, 0, turn1);
            pair.DrawGear(1);
            SetRotatedFrame(a, 0, turn2);
            pair.DrawGear(2);
          }
        },
        run, i == count - 1);
  }
  // Single steps are this run's: a later picture drawn in the background
  // colour stops for no step dialog.
  common::FKaldgra.StepMode = 0;
  SetRotatedFrame(0, 0, 0);
  CadEndSection();
  CadCloseOutput();
}

}  // namespace

void TForm_vob1ani::FormCreate() {
  Caption = common::ProgramName + " Animation";
  Label_steps = "Number of steps";
  Label_pause = "Pause after each step";
  Label_singlestep = "Pause after each step ?";
  Label_start = "phi 1 start";
  Label_end = "phi 1 end";
  Label_angleUnit = common::DegreeUnitLabel();
  Label_ms = "ms";
  Edit_steps = "180";
  Edit_pause = "0";
  Edit_start = "0";
  Edit_end = "360";
  SingleStep = false;
  StartEndEnabled = false;
  PresetsVisible = false;
  closedBy = Closed::Frame;
}

void TForm_vob1ani::Button_okClick() {
  common::AbortFlag = 0;
  closedBy = Closed::Ok;
}

void TForm_vob1ani::Button_cancelClick() {
  common::AbortFlag = 1;
  closedBy = Closed::Cancel;
}

void TForm_vob1ani::Button_helpClick() { common::ShowHelpText(6600, 1); }

void TForm_vob1ani::Button_wClick() {
  const int z = std::abs(calc::SpurGearData.ToothNumbers[1]);
  if (z == 0) return;
  Edit_start = common::RealToText(360.0L / z);
  Edit_end = common::RealToText(-360.0L / z);
}

AnimationFormViewFn& AnimationFormView() {
  static AnimationFormViewFn view;
  return view;
}

void AnimateGears1(int mode) { Animate(mode, false); }
void AnimateGears2(int mode) { Animate(mode, true); }

}  // namespace drawing
