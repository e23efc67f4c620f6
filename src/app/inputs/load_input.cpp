// The drive dialog; see load_input.h.
#include "app/inputs/load_input.h"

#include "calc/drive_load.h"
#include "calc/spur_gear_data.h"
#include "common/code_page.h"
#include "common/form_placement.h"
#include "common/guarded_math.h"
#include "common/help_text.h"
#include "common/kaldvar.h"
#include "common/number_format.h"
#include "common/unit_labels.h"

namespace app {

namespace {

using calc::PowerPerSpeedTorque;

std::string PlainText(Real x) { return common::RealToText(x); }
Real PlainValue(const std::string& text) { return common::TextToReal(text); }
std::string TorqueText(Real x) { return common::TorqueToText(x); }
Real TorqueValue(const std::string& text) { return common::TextToTorque(text); }

struct LoadTriple {
  Real n = 0, T = 0, P = 0;
};

// The computed quantity from the other two; false when its divisor is 0.
bool Complete(LoadTriple& v, int choice) {
  switch (choice) {
    case LoadDialog::Speed:
      if (v.T == 0) return false;
      v.n = v.P / (v.T * PowerPerSpeedTorque);
      return true;
    case LoadDialog::Torque:
      if (v.n == 0) return false;
      v.T = v.P / (v.n * PowerPerSpeedTorque);
      return true;
    default:
      v.P = v.n * v.T * PowerPerSpeedTorque;
      return true;
  }
}

}  // namespace

LoadDialog::LoadDialog() {
  caption = common::OemToDisplayText(common::ProgramTitle) + "  " + "Rot.speed" + ", " + "Torque" + ", " +
            "Rated power" + "  1";
  // A choice outside 1..3 (a damaged file) is taken as the start choice.
  const std::uint16_t stored = calc::SpurGearData.LoadChoice;
  choice = stored >= 1 && stored <= 3 ? stored - 1 : calc::LoadComputesTorque - 1;
  ShowValues();
  ComputeLoadTriple();
}

ValueEdit& LoadDialog::EditOf(Quantity q) {
  switch (q) {
    case Speed: return speed;
    case Torque: return torque;
    default: return power;
  }
}

// A torque or power left 0 shows the value that follows from the other and
// the speed, as the rating takes it: the quantity computed from the two
// entered (ComputeLoadTriple) then keeps it, whichever is chosen, and of
// three values that disagree shows the one rated.
void LoadDialog::ShowValues() {
  const calc::TRatedDrive d = calc::EnteredDrive(calc::SpurGearData);
  torqueUnit = common::OemToDisplayText(common::TorqueUnitLabel());
  speed.Show(d.n, PlainText);
  torque.Show(d.T, TorqueText);
  power.Show(d.P, PlainText);
}

void LoadDialog::ChoiceClicked(int index) {
  if (index < Speed || index > Power) return;
  choice = index;
  ComputeLoadTriple();
}

void LoadDialog::ComputeLoadTriple() {
  LoadTriple v{common::TextToReal(speed.text), common::TextToTorque(torque.text), common::TextToReal(power.text)};
  if (!Complete(v, choice)) return;
  switch (choice) {
    case Speed: speed.text = PlainText(v.n); break;
    case Torque: torque.text = TorqueText(v.T); break;
    default: power.text = PlainText(v.P); break;
  }
}

// The computed quantity is stored from the full values of the other two,
// not from its rounded text: the strength calculation refuses a power that
// differs from n * T * 2 pi by 0.1 kW or more, which the three significant
// digits of a large power would otherwise exceed.
void LoadDialog::Button_okClick() {
  // The computed quantity follows from the other two; those are checked.
  const char* const names[3] = {"Rot.speed n", "Rated torque T", "Rated power P"};
  for (Quantity q : {Speed, Torque, Power}) {
    if (Enabled(q) && !EditOf(q).Accept(names[q])) {
      ComputeLoadTriple();
      return;
    }
  }
  common::AbortFlag = 0;
  LoadTriple v{speed.Read(PlainValue), torque.Read(TorqueValue), power.Read(PlainValue)};
  Complete(v, choice);
  calc::TSpurGearData& g = calc::SpurGearData;
  g.n[1] = v.n;
  g.T[1] = v.T;
  g.P = v.P;
  g.LoadChoice = static_cast<std::uint16_t>(choice + 1);
  result_ = DialogResult::Ok;
}

void LoadDialog::Button_cancelClick() {
  common::AbortFlag = 1;
  result_ = DialogResult::Cancelled;
}

// The edits change their unit, not the records (Cancel still leaves them).
void LoadDialog::Button_metricClick() {
  if (Enabled(Torque) && !torque.Accept("Rated torque T")) return;
  const Real T = torque.Read(TorqueValue);
  common::ToggleUnitSystem();
  torqueUnit = common::OemToDisplayText(common::TorqueUnitLabel());
  torque.Show(T, TorqueText);
}

void LoadDialog::Button_helpClick() {
  common::ShowHelpText(5500, 1);
  common::AbortFlag = 0;
}

void ShowLoadForm() {
  LoadDialog dialog;
  DesignViews().RunLoad(dialog);
  if (dialog.Result() == DialogResult::Open) dialog.Button_cancelClick();
}

}  // namespace app
