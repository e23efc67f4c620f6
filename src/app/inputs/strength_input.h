// The strength inputs of the load-capacity calculation: the calculation
// method, then the method's data either on two pages (page 1: blank
// diameters, load cycles, roughness, viscosity, application factors, life
// factors; page 2: pinion shaft, bearings, contact pattern, notch, fsh and
// fma), on one page that also holds the method, or as a series of single
// questions (always for entered factors).
//
// The pages' state lives here as display texts (TStrengthPage1,
// TStrengthPage2, TStrengthForm) together with every button's routine; the
// windows (ui/strength_dialogs.h) only show it. Without installed
// windows each page ends as cancelled.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/inputs/value_edit.h"
#include "common/range_array.h"
#include "common/real.h"

namespace app {

// ---- Page 1 -------------------------------------------------------------------------

struct TStrengthPage1 {
  std::string Caption;
  std::string LengthUnit, MicroUnit, ViscosityUnit;
  // The edits; a number not edited reads back as the value it was shown from.
  GearArray<ValueEdit> Di, E, Np, RzZ, RzY, ZNT, YNT;
  ValueEdit Nu50, KAH, KAF;
  bool DoubleHelical = false;
  int LifeMode = 0;  // 0 calculate the life, 1 enter the limited-life factors
  bool LifeFactorsVisible = false;
};

TStrengthPage1 CreateStrengthPage1();
void ShowStrengthPage1Values(TStrengthPage1& page);
void ReadStrengthPage1Values(const TStrengthPage1& page);
// The radio group: life mode 1 shows the ZNT and YNT edits.
void SetLifeFactorVisibility(TStrengthPage1& page);

// The "<" buttons of page 1 (each sets both gears where a value is per gear).
enum class Page1Proposal { KA, E, Np, Di, LifeMode };
void ProposePage1(TStrengthPage1& page, Page1Proposal what);
// The roughness buttons: "2.5", "4.0", "6.3", "10", "16" for RzZ and "6.3",
// "10", "16", "25", "40" for RzY (index 0..4).
extern const std::vector<std::string> RzFlankChoices;
extern const std::vector<std::string> RzRootChoices;
void SetRzFlank(TStrengthPage1& page, int index);
void SetRzRoot(TStrengthPage1& page, int index);
// "Visko ... deg C": the converter on the page's ν50; after OK the page
// takes its ν50.
void Page1ViscosityConverter(TStrengthPage1& page);
// "..": the lubricant form over the page's values.
void Page1Lubricant(TStrengthPage1& page);
// An image button: the page's values into the data, then the image.
void Page1Image(const TStrengthPage1& page, int helpNumber);

// ---- Page 2 -------------------------------------------------------------------------

struct TStrengthPage2 {
  std::string Caption;
  std::string LengthUnit, MicroUnit;
  ValueEdit Dsh, L, S;
  bool SupportingEffect = false, LappingIn = false, HelixCorrection = false, CentralCrowning = false,
       EndRelief = false;
  int ContactPatternIndex = 0;  // code - 1 (0..5)
  int BearingIndex = 0;         // code - 1 (0..4)
  std::vector<std::string> ContactPatternItems, BearingItems;
  bool Notch = false;
  GearArray<ValueEdit> TgRg;
  bool FshInput = false, FmaInput = false;
  ValueEdit Fsh, Fma;
  // What SetPage2Visibility decides.
  bool NotchValuesVisible = false;
  bool BearingGroupVisible = true;  // with the dsh controls and the supporting effect
  bool FshEnabled = false, FmaEnabled = false;
};

TStrengthPage2 CreateStrengthPage2();
void ShowStrengthPage2Values(TStrengthPage2& page);
// dsh of 0 or less becomes the root diameter of gear 1 (page 2 only).
void ReadStrengthPage2Values(const TStrengthPage2& page);
void SetPage2Visibility(TStrengthPage2& page);
// dsh "<": from the torque of gear 1 and SigmaFE of gear 1, averaged with
// the root diameter of gear 1.
void ProposeShaftDiameterEdit(TStrengthPage2& page);
// Supporting-effect "<": set when d1 / dsh >= 1.15.
void ProposeSupportingEffect(TStrengthPage2& page);

// ---- The single page ------------------------------------------------------------------

struct TStrengthForm {
  std::string Caption;
  std::vector<std::string> MethodItems;  // CalcMethodNames
  int MethodIndex = 0;                   // CalcMethod - 1
  TStrengthPage1 Page1;
  TStrengthPage2 Page2;
  // What SetFs0Visibility decides.
  bool Page1Visible = true;  // the page 1 groups and the double-helical box
  bool Page2Visible = true;
  bool FshVisible = true;
};

TStrengthForm CreateStrengthForm();
void ShowStrengthFormValues(TStrengthForm& form);
// No replacement of a dsh of 0 or less here.
void ReadStrengthFormValues(const TStrengthForm& form);
// On activation and on each change of the method list.
void SetFs0Visibility(TStrengthForm& form);
// The "<" buttons that differ from the pages'.
enum class Fs0Proposal { Di, Dsh, L, S, Lists, ENp, KAH, KAF };
void ProposeFs0(TStrengthForm& form, Fs0Proposal what);
// The converter starting from the stored ν50.
void Fs0ViscosityConverter(TStrengthForm& form);
void Fs0Lubricant(TStrengthForm& form);
void Fs0Image(const TStrengthForm& form, int helpNumber);

// ---- The buttons every page has ----------------------------------------------------------

// The edited number fields of a page checked before they are read: a text
// that is no number ("abc", "1e999") is refused with a message naming the
// field, the edit shows its old value again, and false (value_edit.h).
bool StrengthPage1Accepted(TStrengthPage1& page);
bool StrengthPage2Accepted(TStrengthPage2& page);

// The page a button acts on: reads and shows it, and checks its fields
// first (OK, "Calc" and the unit switch do nothing more on a refusal).
struct TStrengthPageRef {
  std::function<void()> read, show;
  std::function<bool()> accepted;
};
// AbortFlag := 0, read; false (nothing read, the page stays open) when a
// field was refused.
bool StrengthOk(const TStrengthPageRef& page);
void StrengthCancel();                              // AbortFlag := 1
void StrengthCalc(const TStrengthPageRef& page);    // read, recalculate, redraw
void StrengthToggleUnits(const TStrengthPageRef& page);  // read, switch, show
TStrengthPageRef PageRef(TStrengthPage1& page);
TStrengthPageRef PageRef(TStrengthPage2& page);
TStrengthPageRef PageRef(TStrengthForm& form);
// The help buttons: the text of page 1 (1000), page 2 (9050).
void StrengthHelp(int helpNumber);
// An image button of page 2: the image of the help entry.
void StrengthImage(int helpNumber);
// Whether help entry helpNumber has a picture: the pages give a picture
// button only to the quantities that have one.
bool StrengthHasImage(int helpNumber);
// The hint of a control: the help line while HelpLevel is not 0, else empty.
std::string StrengthHint(int helpNumber);

// ---- The sequences ------------------------------------------------------------------------

// The method choice and the data input.
void InputStrengthData();
// InputStrengthData, then the spur-pair calculation, then the messages when
// it met a fatal condition. A cancelled input stays cancelled, and leaves
// the pair's message list and FatalFlag as the last calculation of the
// pair left them: the spur pair's texts are no finding of the pair.
void EditStrength();
// The single page (the main menu on large screens).
void ShowStrengthForm();

struct TStrengthViews {
  std::function<void(TStrengthPage1&)> Page1;
  std::function<void(TStrengthPage2&)> Page2;
  std::function<void(TStrengthForm&)> OnePage;
};
// The windows in use (default: each cancels); assign to install them.
TStrengthViews& StrengthViews();
void ResetStrengthViews();

}  // namespace app
