// The rotation-angle window; see rotation_angle_window.h.
#include "app/inputs/rotation_angle_window.h"

#include <algorithm>
#include <cmath>

#include "app/entry_points.h"
#include "app/inputs/design_input_views.h"
#include "calc/calc_records.h"
#include "common/code_page.h"
#include "common/kaldvar.h"
#include "common/number_format.h"
#include "common/numeric_routines.h"
#include "common/text_utils.h"
#include "common/value_edit.h"

namespace app {

namespace {

constexpr int ScreenDevice = 3;

// The whole degree of the track bar: halves to the even neighbour, within
// the bar's range.
int TrackPosition(Real degrees) {
  if (!std::isfinite(degrees)) return RotationAngleWindow::TrackMin;
  const Real rounded = common::RoundDecimals(0, degrees);
  return static_cast<int>(std::clamp<Real>(rounded, RotationAngleWindow::TrackMin, RotationAngleWindow::TrackMax));
}

}  // namespace

RotationAngleWindow::RotationAngleWindow() { caption = common::OemToDisplayText(common::ProgramTitle); }

void RotationAngleWindow::Draw() const { Entry().DrawGears(drawingCode, ScreenDevice); }

// Half the angular pitch of gear 1; no step without teeth.
Real RotationAngleWindow::Step() const {
  const std::int32_t z1 = calc::NcPair.z1;
  return z1 > 0 ? 180.0L / z1 : 0;
}

void RotationAngleWindow::FormShow() {
  angle = common::IntToText(0);
  taken_ = angle;
  track = 0;
  calc::PhiView = 0;
  Draw();
}

void RotationAngleWindow::TrackChanged(int position) {
  track = std::clamp(position, TrackMin, TrackMax);
  angle = common::IntToText(track);
  taken_ = angle;
  calc::PhiView = common::TextToReal(angle);
  Draw();
}

void RotationAngleWindow::AngleChanged() {
  if (!common::RemoveBlanks(angle).empty() && !common::ParseNumberText(angle)) return;
  const Real degrees = common::TextToReal(angle);
  taken_ = angle;
  track = TrackPosition(degrees);
  calc::PhiView = degrees;
  Draw();
}

bool RotationAngleWindow::AngleAccepted() { return common::AcceptNumberText("phi 1", angle, taken_); }

bool RotationAngleWindow::TakeAngle() {
  if (!AngleAccepted()) return false;
  AngleChanged();
  return true;
}

void RotationAngleWindow::SpinUp() {
  if (!AngleAccepted()) return;
  angle = common::RealToText(common::TextToReal(angle) + Step());
  AngleChanged();
}

void RotationAngleWindow::SpinDown() {
  if (!AngleAccepted()) return;
  angle = common::RealToText(std::max<Real>(common::TextToReal(angle) - Step(), 0));
  AngleChanged();
}

bool RotationAngleWindow::CloseClick() { return AngleAccepted(); }

RotationAngleWindow& TheRotationAngleWindow() {
  static RotationAngleWindow window;
  return window;
}

void ShowRotationAngleForm(int mode) {
  RotationAngleWindow& window = TheRotationAngleWindow();
  window.drawingCode = static_cast<std::uint16_t>(mode);
  DesignViews().RunRotationAngle(window);
}

}  // namespace app
