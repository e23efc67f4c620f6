// The gear-pair animations on the screen: AnimateGears1 redraws the pair at
// every step, AnimateGears2 records each gear once as a block ("rad1",
// "rad2") and inserts the two blocks turned. At every picture the gears
// mesh as in the pair at the view angle (gear_pictures.h): gear 1 turned
// back by the drive angle, gear 2 on so that the two pitch points of that
// angle meet on the line of centres. Each picture is shown as it is drawn
// and erased again (drawn in the background pen) after its pause; the last
// one stays, and so does the one at which the user ended the run (Escape or
// a click on the window).
#pragma once

#include <functional>
#include <string>

namespace drawing {

// The settings of one run, asked each time (the form TForm_vob1ani).
class TForm_vob1ani {
 public:
  enum class Closed { Frame, Ok, Cancel };

  void FormCreate();
  void Button_okClick();
  void Button_cancelClick();
  void Button_helpClick();
  void Button_msClick() { Edit_pause = "0"; }
  void Button_anzbildClick() { Edit_steps = "180"; }
  // The start and end a pitch either way (the substitute pair's gear 1).
  void Button_wClick();
  void CheckBox_singlestepClick(bool checked) {
    SingleStep = checked;
    if (checked) Edit_pause = "0";
  }

  std::string Caption;
  std::string Label_steps, Label_pause, Label_singlestep, Label_start, Label_end, Label_angleUnit, Label_ms;
  std::string Edit_steps, Edit_pause, Edit_start, Edit_end;
  bool SingleStep = false;
  // Shown, not read: the run covers the turns of gear 1.
  bool StartEndEnabled = false;
  bool PresetsVisible = false;
  Closed closedBy = Closed::Frame;
};

// Shows the form modally; the window system installs it. Without one the
// form counts as closed by its frame: the animation is cancelled, as every
// question is in a run without a user.
using AnimationFormViewFn = std::function<void(TForm_vob1ani&)>;
AnimationFormViewFn& AnimationFormView();

// mode 1: the pitch curves; any other: the gears with their teeth.
void AnimateGears1(int mode);
void AnimateGears2(int mode);

}  // namespace drawing
