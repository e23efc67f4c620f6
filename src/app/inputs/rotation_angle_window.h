// The rotation-angle window (TForm_vob4phi): the user turns the gear
// picture on the screen by the drive angle phi 1 of gear 1 with a track bar,
// an angle edit or spin arrows, and every change redraws the picture at
// once (DrawGears with the window's drawing code on the screen). One window
// serves the whole run; the menu sets its drawing code (6 the meshing pair,
// 7 gear 1 with the rack) and shows it modally. The state of the controls
// and the handlers are here; the window is a view (design_input_views.h).
#pragma once

#include <cstdint>
#include <string>

#include "common/real.h"

namespace app {

class RotationAngleWindow {
 public:
  // The track bar: 0..360 degrees, a tick every 15.
  static constexpr int TrackMin = 0;
  static constexpr int TrackMax = 360;
  static constexpr int TrackTick = 15;

  // ---- The controls ----------------------------------------------------------
  std::string angle;        // "phi 1" in degrees
  int track = 0;            // the nearest whole degree of the angle
  std::uint16_t drawingCode = 6;
  std::string caption;

  RotationAngleWindow();

  // ---- Handlers; each draws the picture at the angle afterwards ---------------
  // FormShow (the view calls it as the window appears): angle "0",
  // PhiView 0.
  void FormShow();
  // The track bar moved: the angle is its whole degree.
  void TrackChanged(int position);
  // The angle edit changed, as the user types: PhiView and the track bar
  // follow it. A text that is no number (yet: "1e", "-") leaves the picture
  // at the last angle taken, without a word; an empty edit is 0.
  void AngleChanged();
  // The hidden OK button: the angle edit taken. A text that is no number,
  // or no finite one, is refused with a message naming "phi 1"
  // (common/value_edit.h), and the edit shows the last angle taken again;
  // false then.
  bool TakeAngle();
  // Half an angular pitch of gear 1 up or down; down stops at 0. A text
  // that is no number is refused first, as by TakeAngle, and nothing turns.
  void SpinUp();
  void SpinDown();
  // The close button: false, and the window stays open, when the edit holds
  // a text that is refused as by TakeAngle.
  bool CloseClick();

 private:
  void Draw() const;
  Real Step() const;
  bool AngleAccepted();

  std::string taken_ = "0";  // the text of the angle last drawn
};

// The one window of the run.
RotationAngleWindow& TheRotationAngleWindow();

// The main menu's entry point: the drawing code, then the window through the
// installed views.
void ShowRotationAngleForm(int mode);

}  // namespace app
