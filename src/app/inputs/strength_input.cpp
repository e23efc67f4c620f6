// The strength inputs; see strength_input.h.
#include "app/inputs/strength_input.h"

#include <cmath>
#include <numbers>

#include "app/entry_points.h"
#include "app/inputs/lubricant_input.h"
#include "calc/calc_records.h"
#include "calc/face_widths.h"
#include "calc/noncircular_pair.h"
#include "calc/spur_gear_data.h"
#include "calc/spur_pair_driver.h"
#include "common/code_page.h"
#include "common/form_placement.h"
#include "common/guarded_math.h"
#include "common/help_text.h"
#include "common/kaldvar.h"
#include "common/message_help.h"
#include "common/message_list.h"
#include "common/number_format.h"
#include "common/numeric_routines.h"
#include "common/small_dialogs.h"
#include "common/text_utils.h"
#include "common/unit_labels.h"

namespace app {

const std::vector<std::string> RzFlankChoices = {"2.5", "4.0", "6.3", "10", "16"};
const std::vector<std::string> RzRootChoices = {"6.3", "10", "16", "25", "40"};

namespace {

using calc::SpurGearData;
using common::AbortFlag;

constexpr int kContactPatternCount = 6;
constexpr int kBearingCount = 5;
constexpr Real kSupportingRatio = 1.15L;

std::string Display(const std::string& text) { return common::OemToDisplayText(text); }
std::string R(Real x) { return common::RealToText(x); }
Real Plain(const std::string& text) { return common::TextToReal(text); }
std::string LengthText(Real x) { return common::LengthToText(x); }
Real TextLength(const std::string& text) { return common::TextToLength(text); }

// A proposal for both gears.
void SetBoth(GearArray<ValueEdit>& edits, const std::string& text) {
  for (int g = 1; g <= 2; ++g) edits[g].text = text;
}

int Clamp(int index, int count) { return index < 0 ? 0 : index >= count ? count - 1 : index; }
int MethodOf(int index) { return Clamp(index, 4) + 1; }
int StoredMethodIndex() { return Clamp(static_cast<int>(SpurGearData.CalcMethod) - 1, 4); }

// Roughness and deviations are held in micrometres and shown in µm, or in
// microinches in the imperial system, as their unit label says (the length
// conversion alone would give thousandths of an inch).
std::string MicroToText(Real micrometre) {
  return common::LengthToTextSig(common::UnitSystem == common::UnitsImperial ? micrometre * 1000 : micrometre);
}
Real TextToMicro(const std::string& text) {
  const Real value = common::TextToLengthMm(text);
  return common::UnitSystem == common::UnitsImperial ? value / 1000 : value;
}

std::string Page1Caption(int method) {
  return Display(common::ProgramTitle + "  " + "Strength" + " " + "acc." + " " + calc::CalcMethodNames[method]);
}

std::vector<std::string> ImageItems(int count) {
  std::vector<std::string> items;
  for (int i = 0; i < count; ++i) items.push_back("image " + std::string(1, static_cast<char>('a' + i)));
  return items;
}

// The list position of a stored code 1..count (0 counts as 1).
int CodeIndex(std::uint16_t code, int count) { return Clamp(code == 0 ? 0 : code - 1, count); }

void ReadPage2(const TStrengthPage2& page, bool replaceZeroDsh) {
  calc::TSpurGearData& sg = SpurGearData;
  sg.dsh = page.Dsh.Read(TextLength);
  if (replaceZeroDsh && sg.dsh <= 0) sg.dsh = sg.df[1];
  sg.SupportingEffectAnswer = common::YesNoChar(page.SupportingEffect);
  sg.LappingInAnswer = common::YesNoChar(page.LappingIn);
  sg.HelixCorrectionAnswer = common::YesNoChar(page.HelixCorrection);
  sg.CentralCrowningAnswer = common::YesNoChar(page.CentralCrowning);
  sg.EndReliefAnswer = common::YesNoChar(page.EndRelief);
  sg.ContactPatternCode = static_cast<std::uint16_t>(Clamp(page.ContactPatternIndex, kContactPatternCount) + 1);
  sg.BearingArrangement = static_cast<std::uint16_t>(Clamp(page.BearingIndex, kBearingCount) + 1);
  sg.l1 = page.L.Read(TextLength);
  sg.s1 = page.S.Read(TextLength);
  sg.GrindingNotch = page.Notch;
  for (int g = 1; g <= 2; ++g) sg.tgrg[g] = page.TgRg[g].Read(Plain);
  sg.FshInput = page.FshInput;
  sg.FmaInput = page.FmaInput;
  sg.fsh = page.Fsh.Read(TextToMicro);
  sg.fma = page.Fma.Read(TextToMicro);
}

void RunConverterInto(ValueEdit& nu50, const std::string& start) {
  TViscosityConverter converter = CreateViscosityConverter();
  converter.Given = GivenNu50;
  converter.Nu50 = start;
  RunViscosityConverter(converter);
  if (!AbortFlag) nu50.text = converter.Nu50;
}

}  // namespace

// ---- Page 1 -------------------------------------------------------------------------

TStrengthPage1 CreateStrengthPage1() {
  TStrengthPage1 page;
  ShowStrengthPage1Values(page);
  return page;
}

void ShowStrengthPage1Values(TStrengthPage1& page) {
  const calc::TSpurGearData& sg = SpurGearData;
  page.Caption = Page1Caption(MethodOf(StoredMethodIndex()));
  page.LengthUnit = Display(common::LengthUnitLabel());
  page.MicroUnit = Display(common::MicroLengthUnitLabel());
  page.ViscosityUnit = Display(common::ViscosityUnitLabel());
  for (int g = 1; g <= 2; ++g) {
    page.Di[g].Show(sg.BodyInnerDiameter[g], LengthText);
    page.E[g].Show(sg.MeshesPerRev[g], R);
    page.Np[g].Show(sg.LoadAlternations[g], R);
    page.RzZ[g].Show(sg.RzFlank[g], MicroToText);
    page.RzY[g].Show(sg.RzRoot[g], MicroToText);
    page.ZNT[g].Show(sg.ZNTInput[g], R);
    page.YNT[g].Show(sg.YNTInput[g], R);
  }
  page.Nu50.Show(LubricantNu50(), R);
  page.KAH.Show(sg.KAH, R);
  page.KAF.Show(sg.KAF, R);
  page.DoubleHelical = common::IsYesChar(sg.DoubleHelicalAnswer);
  page.LifeMode = sg.LifeFactorsInput == 1 ? 1 : 0;
  SetLifeFactorVisibility(page);
}

void ReadStrengthPage1Values(const TStrengthPage1& page) {
  calc::TSpurGearData& sg = SpurGearData;
  for (int g = 1; g <= 2; ++g) {
    sg.BodyInnerDiameter[g] = page.Di[g].Read(TextLength);
    sg.MeshesPerRev[g] = page.E[g].Read(Plain);
    sg.LoadAlternations[g] = page.Np[g].Read(Plain);
    sg.RzFlank[g] = page.RzZ[g].Read(TextToMicro);
    sg.RzRoot[g] = page.RzY[g].Read(TextToMicro);
  }
  LubricantNu50() = page.Nu50.Read(Plain);
  sg.KAH = page.KAH.Read(Plain);
  sg.KAF = page.KAF.Read(Plain);
  sg.DoubleHelicalAnswer = common::YesNoChar(page.DoubleHelical);
  sg.LifeFactorsInput = page.LifeMode == 1 ? 1 : 0;
  // The entered life factors stay as they were while the life is computed.
  if (page.LifeMode == 1) {
    for (int g = 1; g <= 2; ++g) {
      sg.ZNTInput[g] = page.ZNT[g].Read(Plain);
      sg.YNTInput[g] = page.YNT[g].Read(Plain);
    }
  }
}

void SetLifeFactorVisibility(TStrengthPage1& page) { page.LifeFactorsVisible = page.LifeMode == 1; }

void ProposePage1(TStrengthPage1& page, Page1Proposal what) {
  switch (what) {
    case Page1Proposal::KA:
      page.KAH.text = "1";
      page.KAF.text = "1";
      break;
    case Page1Proposal::E:
      SetBoth(page.E, "1");
      break;
    case Page1Proposal::Np:
      SetBoth(page.Np, "0");
      break;
    case Page1Proposal::Di:
      SetBoth(page.Di, "0");
      break;
    case Page1Proposal::LifeMode:
      page.LifeMode = 0;
      SetLifeFactorVisibility(page);
      break;
  }
}

namespace {

// A roughness button's value (µm, as its caption) in the edits' unit.
std::string RzChoiceText(const std::vector<std::string>& choices, int index) {
  const std::string& micrometre = choices[static_cast<std::size_t>(Clamp(index, 5))];
  return common::UnitSystem == common::UnitsImperial ? MicroToText(common::TextToReal(micrometre)) : micrometre;
}

}  // namespace

void SetRzFlank(TStrengthPage1& page, int index) { SetBoth(page.RzZ, RzChoiceText(RzFlankChoices, index)); }

void SetRzRoot(TStrengthPage1& page, int index) { SetBoth(page.RzY, RzChoiceText(RzRootChoices, index)); }

void Page1ViscosityConverter(TStrengthPage1& page) {
  RunConverterInto(page.Nu50, page.Nu50.text);
  AbortFlag = 0;
}

void Page1Lubricant(TStrengthPage1& page) {
  ReadStrengthPage1Values(page);
  ShowLubricantForm();
  AbortFlag = 0;
  ShowStrengthPage1Values(page);
}

void Page1Image(const TStrengthPage1& page, int helpNumber) {
  ReadStrengthPage1Values(page);
  common::ShowHelpText(helpNumber, 2);
  AbortFlag = 0;
}

// ---- Page 2 -------------------------------------------------------------------------

TStrengthPage2 CreateStrengthPage2() {
  TStrengthPage2 page;
  page.Caption = Display(common::ProgramTitle + "  " + "Strength" + " " + "acc." +
                         (SpurGearData.CalcMethod == 4 ? " ISO 6336 " : " DIN 3990 ") + "Part" + " 1");
  page.ContactPatternItems = ImageItems(kContactPatternCount);
  page.BearingItems = ImageItems(kBearingCount);
  ShowStrengthPage2Values(page);
  return page;
}

void ShowStrengthPage2Values(TStrengthPage2& page) {
  const calc::TSpurGearData& sg = SpurGearData;
  page.LengthUnit = Display(common::LengthUnitLabel());
  page.MicroUnit = Display(common::MicroLengthUnitLabel());
  page.Dsh.Show(sg.dsh, LengthText);
  page.L.Show(sg.l1, LengthText);
  page.S.Show(sg.s1, LengthText);
  page.SupportingEffect = common::IsYesChar(sg.SupportingEffectAnswer);
  page.LappingIn = common::IsYesChar(sg.LappingInAnswer);
  page.HelixCorrection = common::IsYesChar(sg.HelixCorrectionAnswer);
  page.CentralCrowning = common::IsYesChar(sg.CentralCrowningAnswer);
  page.EndRelief = common::IsYesChar(sg.EndReliefAnswer);
  page.ContactPatternIndex = CodeIndex(sg.ContactPatternCode, kContactPatternCount);
  page.BearingIndex = CodeIndex(sg.BearingArrangement, kBearingCount);
  page.Notch = sg.GrindingNotch;
  for (int g = 1; g <= 2; ++g) page.TgRg[g].Show(sg.tgrg[g], R);
  page.FshInput = sg.FshInput;
  page.FmaInput = sg.FmaInput;
  page.Fsh.Show(sg.fsh, MicroToText);
  page.Fma.Show(sg.fma, MicroToText);
  SetPage2Visibility(page);
}

void ReadStrengthPage2Values(const TStrengthPage2& page) { ReadPage2(page, true); }

void SetPage2Visibility(TStrengthPage2& page) {
  page.NotchValuesVisible = page.Notch;
  page.BearingGroupVisible = !page.FshInput;
  page.FshEnabled = page.FshInput;
  page.FmaEnabled = page.FmaInput;
}

void ProposeShaftDiameterEdit(TStrengthPage2& page) {
  const calc::TSpurGearData& sg = SpurGearData;
  // A solid shaft carrying the torque at 0.3 SigmaFE in torsion:
  // d = (16 T / (pi tau))^(1/3), T in N mm.
  const Real torque = sg.TUsed[1] != 0 ? sg.TUsed[1] : sg.T[1];
  Real d = 0;
  if (sg.SigmaFE[1] > 0)
    d = std::round(common::CheckedPower("dbohrung",
                                        std::fabs(torque) * 16 / std::numbers::pi_v<Real> * 1000 / (0.3L * sg.SigmaFE[1]),
                                        1.0L / 3));
  page.Dsh.text = common::LengthToText(common::MeanReal(d, std::trunc(sg.df[1])));
}

void ProposeSupportingEffect(TStrengthPage2& page) {
  const calc::TSpurGearData& sg = SpurGearData;
  if (page.Dsh.Read(TextLength) == 0)
    page.Dsh.text = common::LengthToText(sg.d[1] > 1 ? std::trunc(sg.df[1]) : sg.df[1]);
  const Real dsh = page.Dsh.Read(TextLength);
  if (dsh > 0) page.SupportingEffect = sg.d[1] / dsh >= kSupportingRatio;
}

// ---- The single page ------------------------------------------------------------------

TStrengthForm CreateStrengthForm() {
  TStrengthForm form;
  for (int m = 1; m <= 4; ++m) form.MethodItems.push_back(Display(calc::CalcMethodNames[m]));
  form.Page2 = CreateStrengthPage2();
  ShowStrengthFormValues(form);
  return form;
}

void ShowStrengthFormValues(TStrengthForm& form) {
  form.MethodIndex = StoredMethodIndex();
  ShowStrengthPage1Values(form.Page1);
  ShowStrengthPage2Values(form.Page2);
  SetFs0Visibility(form);
}

void ReadStrengthFormValues(const TStrengthForm& form) {
  SpurGearData.CalcMethod = static_cast<std::uint16_t>(MethodOf(form.MethodIndex));
  ReadStrengthPage1Values(form.Page1);
  ReadPage2(form.Page2, false);
}

void SetFs0Visibility(TStrengthForm& form) {
  const int m = MethodOf(form.MethodIndex);
  form.Caption = Page1Caption(m);
  form.Page1.Caption = form.Caption;
  form.Page1Visible = m == 1 || m == 2 || m == 4;
  form.Page2Visible = m == 1 || m == 4;
  form.FshVisible = m != 2;
  SetLifeFactorVisibility(form.Page1);
  SetPage2Visibility(form.Page2);
}

void ProposeFs0(TStrengthForm& form, Fs0Proposal what) {
  switch (what) {
    case Fs0Proposal::Di:
      for (int g = 1; g <= 2; ++g) form.Page1.Di[g].text = common::LengthToText(calc::DefaultRimDiameter(g));
      break;
    case Fs0Proposal::Dsh:
      form.Page2.Dsh.text = common::LengthToText(calc::DefaultBoreDiameter());
      break;
    case Fs0Proposal::L:
      form.Page2.L.text = common::LengthToText(calc::DefaultHubFactor());
      break;
    case Fs0Proposal::S:
      form.Page2.S.text = "0";
      break;
    case Fs0Proposal::Lists:
      form.Page2.ContactPatternIndex = 0;
      form.Page2.BearingIndex = 0;
      break;
    case Fs0Proposal::ENp:
      SetBoth(form.Page1.E, "1");
      SetBoth(form.Page1.Np, "0");
      break;
    case Fs0Proposal::KAH:
      form.Page1.KAH.text = "1";
      break;
    case Fs0Proposal::KAF:
      form.Page1.KAF.text = "1";
      break;
  }
}

void Fs0ViscosityConverter(TStrengthForm& form) {
  RunConverterInto(form.Page1.Nu50, R(LubricantNu50()));
  AbortFlag = 0;
}

void Fs0Lubricant(TStrengthForm& form) {
  ReadStrengthFormValues(form);
  ShowLubricantForm();
  AbortFlag = 0;
  ShowStrengthFormValues(form);
}

void Fs0Image(const TStrengthForm& form, int helpNumber) {
  ReadStrengthFormValues(form);
  common::ShowHelpText(helpNumber, 2);
  AbortFlag = 0;
}

// ---- The buttons every page has ----------------------------------------------------------

bool StrengthPage1Accepted(TStrengthPage1& page) {
  for (int g = 1; g <= 2; ++g) {
    const std::string gear = " (gear " + common::IntToText(g) + ")";
    if (!page.Di[g].Accept("Gear blank inside diameter Di" + gear) ||
        !page.E[g].Accept("Tooth contacts per/rotation e" + gear) ||
        !page.Np[g].Accept("no. of load reversions/period Np" + gear) ||
        !page.RzZ[g].Accept("Average peak-to-valley height Tooth flank RzZ" + gear) ||
        !page.RzY[g].Accept("Average peak-to-valley height Tooth root RzY" + gear))
      return false;
    if (page.LifeMode == 1 && (!page.ZNT[g].Accept("ZNT" + gear) || !page.YNT[g].Accept("YNT" + gear))) return false;
  }
  return page.Nu50.Accept("Oil viscosity at 50\u00b0C") && page.KAH.Accept("application factor KAH") &&
         page.KAF.Accept("application factor KAF");
}

bool StrengthPage2Accepted(TStrengthPage2& page) {
  if (!page.Dsh.Accept("Shaft-diameter of the pinion dsh") || !page.L.Accept("Bearing distance l") ||
      !page.S.Accept("Bedding offset s"))
    return false;
  for (int g = 1; g <= 2; ++g)
    if (!page.TgRg[g].Accept("tg / rg (gear " + common::IntToText(g) + ")")) return false;
  return page.Fsh.Accept("fsh") && page.Fma.Accept("fma");
}

TStrengthPageRef PageRef(TStrengthPage1& page) {
  return {[&page] { ReadStrengthPage1Values(page); }, [&page] { ShowStrengthPage1Values(page); },
          [&page] { return StrengthPage1Accepted(page); }};
}
TStrengthPageRef PageRef(TStrengthPage2& page) {
  return {[&page] { ReadStrengthPage2Values(page); }, [&page] { ShowStrengthPage2Values(page); },
          [&page] { return StrengthPage2Accepted(page); }};
}
TStrengthPageRef PageRef(TStrengthForm& form) {
  return {[&form] { ReadStrengthFormValues(form); }, [&form] { ShowStrengthFormValues(form); },
          [&form] { return StrengthPage1Accepted(form.Page1) && StrengthPage2Accepted(form.Page2); }};
}

bool StrengthOk(const TStrengthPageRef& page) {
  if (page.accepted && !page.accepted()) return false;
  AbortFlag = 0;
  page.read();
  return true;
}

void StrengthCancel() { AbortFlag = 1; }

void StrengthCalc(const TStrengthPageRef& page) {
  if (page.accepted && !page.accepted()) return;
  AbortFlag = 0;
  page.read();
  calc::CalcNoncircularPair();
  Entry().RedrawCurrentView();
}

void StrengthToggleUnits(const TStrengthPageRef& page) {
  if (page.accepted && !page.accepted()) return;
  page.read();
  common::ToggleUnitSystem();
  page.show();
}

void StrengthHelp(int helpNumber) {
  common::ShowHelpText(helpNumber, 1);
  AbortFlag = 0;
}

void StrengthImage(int helpNumber) {
  common::ShowHelpText(helpNumber, 2);
  AbortFlag = 0;
}

bool StrengthHasImage(int helpNumber) { return common::HelpHasPicture(helpNumber); }

std::string StrengthHint(int helpNumber) {
  return common::HelpLevel != 0 ? common::GetHelpText2(helpNumber) : std::string();
}

// ---- The sequences ------------------------------------------------------------------------

namespace {

TStrengthViews CancellingViews() {
  TStrengthViews v;
  v.Page1 = [](TStrengthPage1&) { StrengthCancel(); };
  v.Page2 = [](TStrengthPage2&) { StrengthCancel(); };
  v.OnePage = [](TStrengthForm&) { StrengthCancel(); };
  return v;
}

template <typename Form>
void ShowOn(const std::function<void(Form&)>& view, Form& form) {
  if (view)
    view(form);
  else
    StrengthCancel();
}

// Asks a real with its help number; false when cancelled.
bool Ask(const std::string& prompt, int help, Real& value, Real lo, Real hi) {
  common::SetHelpNumber2(help);
  common::InputReal(prompt, value, lo, hi);
  return !AbortFlag;
}

bool AskYes(const std::string& question, int help, char& answer) {
  common::SetHelpNumber2(help);
  common::AskYesNo(question, answer);
  return !AbortFlag;
}

std::string N(int g) { return common::IntToText(g); }

// Method 3 asks the blank diameters, double helical gearing and the
// application factors in place of page 1.
bool AskEnteredFactorBasics() {
  calc::TSpurGearData& sg = SpurGearData;
  for (int g = 1; g <= 2; ++g) {
    if (sg.ToothNumbers[g] > 0) {
      if (!Ask("gear blank inside diameter  di" + N(g) + "  [mm]", 5580, sg.BodyInnerDiameter[g], 0, sg.df[g]))
        return false;
    } else {
      sg.BodyInnerDiameter[g] = 0;
    }
  }
  if (!AskYes("double helical gearing ?", 5620, sg.DoubleHelicalAnswer)) return false;
  if (!Ask("application factor pitting calculation KA H ", 5600, sg.KAH, 0, 100)) return false;
  return Ask("application factor tooth root stress KA F ", 5600, sg.KAF, 0, 100);
}

// Page 2 as questions (help level above 99).
bool AskPage2() {
  calc::TSpurGearData& sg = SpurGearData;
  const std::string prompt = "shaft diameter pinion dsh1 (Vorschlag=0)";
  if (!Ask(prompt, 5610, sg.dsh, 0, sg.d[1])) return false;
  // 0 asks for the proposal; with no pitch diameter nothing but 0 fits, and
  // the question is not repeated.
  while (sg.dsh <= 0 && sg.d[1] > 0) {
    sg.dsh = std::trunc(sg.df[1]);
    if (!Ask(prompt, 5610, sg.dsh, 0, sg.d[1])) return false;
  }
  return AskYes("supporting effect ?", 5630, sg.SupportingEffectAnswer) &&
         AskYes("lapping-in or breaking-in under light load ?", 5660, sg.LappingInAnswer) &&
         AskYes("tooth trace angle correction ?", 5670, sg.HelixCorrectionAnswer) &&
         AskYes("crowning ?", 5650, sg.CentralCrowningAnswer) &&
         AskYes("end relief ? ", 5640, sg.EndReliefAnswer);
}

struct FactorQuestion {
  std::string prompt;
  int help;
  Real* value;
};

// The entered factors of method 3. The work hardening factor is asked per
// gear: it raises only the soft gear's permissible contact stress.
bool AskFactors() {
  calc::TSpurGearData& sg = SpurGearData;
  std::vector<FactorQuestion> questions = {
      {"dynamic load factor Kv", 5680, &sg.KV},
      {"face load factor flank KH-beta", 5690, &sg.KHbeta},
      {"face load factor tooth root KF-beta", 5700, &sg.KFbeta},
      {"transverse load factor flank KHalpha", 5710, &sg.KHalpha},
      {"transverse load factor tooth root KFalpha", 5720, &sg.KFalpha},
      {"zone factor ZH", 5730, &sg.ZH},
      {"single contact factor ZB", 5740, &sg.ZB},
      {"contact ratio factor flank  Z eps.", 5750, &sg.Zeps},
      {"helix angle factor flank Z beta", 5760, &sg.Zbeta},
      {"lubrication factor ZL", 5770, &sg.ZL},
      {"velocity factor Zv", 5775, &sg.ZV},
      {"roughness factor ZR", 5785, &sg.ZR},
  };
  for (int g = 1; g <= 2; ++g) questions.push_back({"work hardening factor ZW" + N(g), 5780, &sg.ZW[g]});
  for (int g = 1; g <= 2; ++g) questions.push_back({"size factor flank ZX" + N(g), 5790, &sg.ZX[g]});
  for (int g = 1; g <= 2; ++g) {
    questions.push_back({"tooth form factor YF" + N(g), 5800, &sg.YF[g]});
    questions.push_back({"stress correction factor YS" + N(g), 5810, &sg.YS[g]});
  }
  questions.push_back({"helix angle factor tooth root Y beta", 5820, &sg.Ybeta});
  for (int g = 1; g <= 2; ++g) {
    questions.push_back({"rel.notch sensitiv.factor YdrelT" + N(g), 5830, &sg.YdrelT[g]});
    questions.push_back({"rel.surface-condition factor YRrelt " + N(g), 5840, &sg.YRrelT[g]});
    questions.push_back({"size factor tooth root YX" + N(g), 5850, &sg.YX[g]});
    questions.push_back({"alternating load factor YA" + N(g), 5855, &sg.YM[g]});
  }
  for (const FactorQuestion& q : questions)
    if (!Ask(q.prompt, q.help, *q.value, 0.01L, 100)) return false;

  const bool enter = common::AskYesNoCancel("input life factor YNT, ZNT ?");
  if (AbortFlag) return false;
  sg.LifeFactorsInput = enter ? 1 : 0;
  if (!enter) return true;
  for (int g = 1; g <= 2; ++g)
    if (!Ask("life factor YNT" + N(g), 6810, sg.YNTInput[g], 0.01L, 100)) return false;
  for (int g = 1; g <= 2; ++g)
    if (!Ask("life factor ZNT" + N(g), 6820, sg.ZNTInput[g], 0.01L, 100)) return false;
  return true;
}

}  // namespace

TStrengthViews& StrengthViews() {
  static TStrengthViews views = CancellingViews();
  return views;
}

void ResetStrengthViews() { StrengthViews() = CancellingViews(); }

void InputStrengthData() {
  calc::TSpurGearData& sg = SpurGearData;
  common::ClearErrorMessages();
  const char* const methods[4] = {"DIN 3990 part 1..3", "DIN 3990 part 41 (automotive gears)", "enter factors",
                                  "ISO 6336 part 1..3"};
  for (int i = 0; i < 4; ++i) common::TextLines[i + 1] = methods[i];
  common::SetHelpNumber2(5530);
  int method = sg.CalcMethod;
  common::SelectFromList("calculation method", 4, method);
  if (AbortFlag) return;
  sg.CalcMethod = static_cast<std::uint16_t>(MethodOf(method - 1));
  const int m = sg.CalcMethod;
  // The automotive method and entered factors use no contact pattern.
  if (m == 2 || m == 3) sg.ContactPatternCode = 0;

  if (m == 3) {
    if (!AskEnteredFactorBasics()) return;
    AskFactors();
    return;
  }
  TStrengthPage1 page1 = CreateStrengthPage1();
  ShowOn(StrengthViews().Page1, page1);
  if (AbortFlag || m == 2) return;
  if (common::HelpLevel > 99) {
    AskPage2();
    return;
  }
  TStrengthPage2 page2 = CreateStrengthPage2();
  ShowOn(StrengthViews().Page2, page2);
}

void EditStrength() {
  const common::SavedMessages pair = common::SaveMessages();
  InputStrengthData();
  const bool cancelled = AbortFlag != 0;
  calc::CalcSpurPair();
  if (common::FatalFlag) common::ShowCalculationMessages();
  // No calculation of the pair follows a cancel: the sheets, the printouts
  // and the list go on showing its findings, not one spur pair's.
  if (cancelled) common::RestoreMessages(pair);
  // The calculation clears AbortFlag; a cancelled input must still stop the
  // caller, which would otherwise recalculate and mark the design changed.
  AbortFlag = cancelled ? 1 : 0;
}

void ShowStrengthForm() {
  TStrengthForm form = CreateStrengthForm();
  ShowOn(StrengthViews().OnePage, form);
}

}  // namespace app
