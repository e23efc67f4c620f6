// A whole session of a user, without a window: the default design, a value
// changed in every input dialog through the menu and the dialogs' field
// models (curve families and a polyline in the grid, dimensions, cutting
// tool, drive, materials picked from the shipped material table, strength
// pages, a change record, the drawing information, a document link), once
// with millimetres and once with inches; then File Save As, File New and
// File Open. Every value entered must come back (exactly where the file
// holds all its digits, within the file's seven decimals where it does
// not), the pair recalculated on the file must be the pair of the session,
// the text printout of the reopened file must be the printout of the
// session, and saving the reopened design again must write the same file.
#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/documentation/change_list.h"
#include "app/command_line.h"
#include "app/inputs/curve_forms.h"
#include "app/data_file.h"
#include "app/design_extras.h"
#include "app/inputs/design_input_views.h"
#include "app/documentation/document_links.h"
#include "app/documentation/document_links_form.h"
#include "app/documentation/documentation_views.h"
#include "app/documentation/drawing_info_form.h"
#include "app/entry_points.h"
#include "app/inputs/gear_geometry_input.h"
#include "app/printouts/gear_printout.h"
#include "app/inputs/load_input.h"
#include "app/main_menu.h"
#include "app/main_window.h"
#include "app/inputs/material_input.h"
#include "app/inputs/pitch_curve_input.h"
#include "app/inputs/point_list_input.h"
#include "app/inputs/rotation_angle_window.h"
#include "app/start_up.h"
#include "app/inputs/strength_input.h"
#include "app/inputs/tool_profile_input.h"
#include "calc/calc_records.h"
#include "calc/noncircular_pair.h"
#include "calc/spur_gear_data.h"
#include "common/design_documentation.h"
#include "common/equation_matrix.h"
#include "common/guarded_math.h"
#include "common/kaldvar.h"
#include "common/unit_labels.h"
#include "dbase/table/material_table.h"
#include "drawing/drawing_name_form.h"
#include "dbase/table/table_layer.h"
#include "dbase/table/table_window.h"
#include "platform/screen.h"
#include "support/file_test_support.h"
#include "support/report_test_support.h"

namespace fs = std::filesystem;
using platform::ScriptedAnswer;

namespace {

// ---- The user at the windows ---------------------------------------------------------

class DesignViews : public app::DesignInputViews {
 public:
  std::function<void(app::GearGeometryDialog&)> geometry;
  std::function<void(app::ToolProfileDialog&)> tool;
  std::function<void(app::LoadDialog&)> load;
  std::function<void(app::ComplementDialog&)> complement;
  void RunGeometry(app::GearGeometryDialog& d) override { if (geometry) geometry(d); }
  void RunToolProfile(app::ToolProfileDialog& d) override { if (tool) tool(d); }
  void RunComplement(app::ComplementDialog& d) override {
    if (complement) complement(d);
  }
  void RunLoad(app::LoadDialog& d) override { if (load) load(d); }
  void RunRotationAngle(app::RotationAngleWindow&) override {}
};

class CurveViews : public app::CurveFormViews {
 public:
  std::function<void(app::CurveForm&)> script;
  void ShowCurveForm(app::CurveForm& f) override { if (script) script(f); }
};

class PointViews : public app::PointListViews {
 public:
  std::function<void(app::PointForm&)> script;
  void ShowPointForm(app::PointForm& f) override { if (script) script(f); }
};

// The formula pieces: the list's buttons in turn, each editor given its
// formula and end angle and closed with OK.
class FormulaViews : public app::PitchCurveViews {
 public:
  std::deque<int> listCodes;
  std::deque<std::pair<std::string, std::string>> pieces;
  app::PieceListResult ShowPieceList(const app::PieceListRequest&) override {
    if (listCodes.empty()) {
      common::AbortFlag = 1;
      return {};
    }
    app::PieceListResult r{false, listCodes.front(), 0};
    listCodes.pop_front();
    common::AbortFlag = 0;
    return r;
  }
  void EditPiece(int index) override {
    app::PieceEditorFields f = app::PieceEditorFieldsFor(index);
    f.formula = pieces.front().first;
    f.endDeg = pieces.front().second;
    pieces.pop_front();
    common::AbortFlag = 0;
    app::CheckFormulaPiece(f);
  }
};

class DocumentationForms : public app::DocumentationViews {
 public:
  std::function<void(int)> changeEntry = [](int) { app::CancelChangeEntry(); };
  std::function<void()> drawingInfo = [] { app::CancelDrawingInfo(); };
  std::function<void()> documentLinks = [] { app::CancelDocumentLinks(); };
  void ShowChangeEntry(int n) override { changeEntry(n); }
  void ShowDrawingInfo() override { drawingInfo(); }
  void ShowDocumentLinks() override { documentLinks(); }
};

// The table window: OK on the record of the name the test asks for.
class PickingTable : public dbase::TableWindowView {
 public:
  int pick = 0;
  void ShowModal(dbase::Tdbf4& w) override {
    if (pick == 0) return;
    w.EditRecnoChange(std::to_string(pick));
    w.StoreRecNo();
  }
};

// ---- What the session entered, and what must come back ---------------------------------

// Everything of a design the dialogs write, as a value; the reals compared
// bit for bit unless the file keeps fewer digits.
struct Design {
  calc::TSpurGearData gear;
  calc::TNcPair pair;
  std::uint16_t curveType = 0;
  calc::TEllipseCurve ellipse;
  calc::TSineCurve sine;
  calc::TSineLinearCurve sineLinear;
  calc::TEccentricCurve eccentric;
  calc::TPolygonCurve polygon;
  std::vector<calc::TFormulaPiece> formula;
  std::vector<calc::TCurvePoint> fitPoints;
  std::vector<Real> coefficients;
  std::vector<calc::TCurvePoint> polyline;
  std::uint8_t linear = 0;
  calc::TRadiusExtremes radii;
  std::uint16_t loadChoice = 0;
  GearArray<std::string> materialName;
  GearArray<std::uint16_t> materialRecNo{};
  common::TChangeRecords changes;
  common::TTitleBlock title;
  std::vector<app::TDocumentLink> links;
  drawing::TDrawingNameEdits names;
  std::uint16_t frameStyle = 0;

  static Design Current() {
    Design d;
    d.gear = calc::SpurGearData;
    d.pair = calc::NcPair;
    d.curveType = calc::CurveType;
    d.ellipse = calc::EllipseCurve;
    d.sine = calc::SineCurve;
    d.sineLinear = calc::SineLinearCurve;
    d.eccentric = calc::EccentricCurve;
    d.polygon = calc::PolygonCurve;
    for (int i = 1; i <= calc::PieceCount; ++i) d.formula.push_back(calc::FormulaPieces[i]);
    for (int i = 1; i <= calc::PointCount; ++i) {
      d.fitPoints.push_back(calc::FitPoints[i]);
      d.coefficients.push_back(common::EquationMatrix.rhs[i]);
    }
    for (int i = 1; i <= calc::PolylineCount; ++i) d.polyline.push_back(calc::PolylinePoints[i]);
    d.linear = calc::LinearInterpolation;
    d.radii = calc::RadiusExtremes;
    d.loadChoice = calc::SpurGearData.LoadChoice;
    d.materialName = app::MaterialName;
    d.materialRecNo = app::MaterialRecNo;
    d.changes = common::ChangeRecords;
    d.title = common::TitleBlock;
    for (int i = 1; i <= app::DocumentLinkCount; ++i) d.links.push_back(app::DocumentLinks[i]);
    d.names = drawing::DrawingNameEditsFromRecords();
    d.frameStyle = common::FrameStyle;
    return d;
  }
};

double D(Real x) { return static_cast<double>(x); }

// The first line where two printouts differ, both ways.
std::string FirstDifference(const std::string& before, const std::string& after) {
  std::istringstream a(before), b(after);
  std::string la, lb;
  for (int n = 1;; ++n) {
    const bool moreA = static_cast<bool>(std::getline(a, la));
    const bool moreB = static_cast<bool>(std::getline(b, lb));
    if (!moreA && !moreB) return "no line differs";
    if (la != lb || moreA != moreB) return "line " + std::to_string(n) + ":\n  " + la + "\n  " + lb;
  }
}

// Every field of the two data sets equal.
template <class... Groups>
bool SameGroups(const calc::TSpurGearData& a, const calc::TSpurGearData& b) {
  return ((static_cast<const Groups&>(a) == static_cast<const Groups&>(b)) && ...);
}
bool SameGearData(const calc::TSpurGearData& a, const calc::TSpurGearData& b) {
  return SameGroups<calc::SpurCoreFields, calc::SpurGeometryFields, calc::SpurToleranceFields,
                    calc::SpurStrengthFields, calc::SpurIsoFields>(a, b);
}

// The file writes a real with seven decimals.
constexpr double kFileDecimals = 0.5e-7;

// A value the file holds with all its digits.
#define EXPECT_SAME(a, b) EXPECT_EQ(a, b) << #a
// A value the file keeps to seven decimals.
#define EXPECT_FILED(a, b) EXPECT_NEAR(D(a), D(b), kFileDecimals) << #a

// A length of the session as typed with millimetres and with inches.
struct Length {
  const char* mm;
  const char* inch;
};

// The session's lengths: typed in the unit shown, the millimetres kept.
const Length kFaceWidth{"30.5", "1.25"};
const Length kBore1{"12", "0.5"};
const Length kBore2{"14.5", "0.625"};
const Length kEllipseA{"80", "3.125"};
const Length kEllipseB{"72.5", "2.875"};
const Length kSineRw0{"70", "2.75"};
const Length kSineA{"6.5", "0.25"};
const Length kLinRw0{"55", "2.25"};
const Length kLinA{"4", "0.125"};
const Length kEccD{"90", "3.5"};
const Length kEccE{"7.5", "0.3"};
const Length kPolyDe{"110", "4.5"};
const Length kFitR1{"70.5", "2.75"};
const Length kFitR2{"52", "2.05"};
const Length kPolyR1{"50", "2"};
const Length kPolyR2{"61.25", "2.5"};
const Length kPolyR3{"57", "2.25"};

class SessionRoundTripTest : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    const fs::path source(VOB_SOURCE_DIR);
    fs::copy_file(source / "resources" / "null.vb4", env_.dir.Path("null.vb4"));
    fs::create_directories(env_.dir.Path("dbf"));
    fs::copy_file(source / "resources" / "vobwst.dbf", env_.dir.Path("dbf/vobwst.dbf"));
    char name[] = "vob4";
    char* argv[] = {name, nullptr};
    app::StartUpProgram(1, argv);
    app::ResetEntryPoints();
    common::DataDirectory = env_.dir.Dir().string() + "/";
    common::DbfDirectory = env_.dir.Path("dbf") + "/";
    common::TempDirectory = env_.dir.Dir().string() + "/";
    common::UnitSystem = common::UnitsMetric;
    common::HelpLevel = 0;
    common::MessagesEnabled = 1;
    app::MainFormCreate();
    dbase::SetTableWindowView(&table_);
    app::SetDesignInputViews(&design_);
    app::SetCurveFormViews(&curves_);
    app::SetPointListViews(&points_);
    app::SetPitchCurveViews(&formula_);
    previousDocs_ = app::SetDocumentationViews(&docs_);
    app::Entry().RedrawCurrentView = [] {};
    app::Entry().ShowDiagrams = [](int, int) {};
    app::Entry().DrawGears = [](int, int) {};
    // The default design, as after a start in the data directory.
    common::AbortFlag = 0;
    app::ReadDataFile("null");
    ASSERT_EQ(common::AbortFlag, 0);
    common::CurrentFileName.clear();
    common::DataChanged = 0;
    defaults_ = Design::Current();
  }
  void TearDown() override {
    dbase::SetTableWindowView(nullptr);
    app::SetDesignInputViews(nullptr);
    app::SetCurveFormViews(nullptr);
    app::SetPointListViews(nullptr);
    app::SetPitchCurveViews(nullptr);
    app::SetDocumentationViews(previousDocs_);
    app::ResetStrengthViews();
    platform::SetScreenSizeQuery(nullptr);
    app::ResetMaterialFormShower();
    drawing::DrawingNameFormShower() = nullptr;
    app::ResetEntryPoints();
    common::UnitSystem = common::UnitsMetric;
  }

  bool Imperial() const { return GetParam() == common::UnitsImperial; }
  std::string Typed(const Length& l) const { return Imperial() ? l.inch : l.mm; }
  // The millimetres the record must hold.
  double Millimetres(const Length& l) const { return Imperial() ? std::stod(l.inch) * 25.4 : std::stod(l.mm); }

  // The family chosen in the curve-type list and given the session's
  // values, in the unit system shown.
  void EnterFamily(int type) {
    SCOPED_TRACE(type);
    env_.dialogs.Then(ScriptedAnswer::Choose(type - 1));
    const auto form = [this](std::function<void(app::CurveForm&)> values) {
      curves_.script = [values](app::CurveForm& f) {
        values(f);
        app::CurveFormOk(f);
      };
    };
    switch (type) {
      case calc::CurveFormula:
        formula_.listCodes = {app::ListNew, app::ListNew, app::ListOk};
        formula_.pieces = {{"60+5*sin(2*x)", "172.5"}, {"60+5*sin(2*x)", "360"}};
        break;
      case calc::CurvePointFit:
        points_.script = [this](app::PointForm& f) {
          app::SetPointCount(f, 3);
          const char* angles[] = {"180", "0", "360"};
          const Length* radii[] = {&kFitR1, &kFitR2, &kFitR2};
          for (int row = 1; row <= 3; ++row) {
            f.grid.Cell(1, row).text = angles[row - 1];
            f.grid.Cell(2, row).text = Typed(*radii[row - 1]);
          }
          app::PointFormOk(f);
        };
        break;
      case calc::CurvePolyline:
        points_.script = [this](app::PointForm& f) {
          EXPECT_EQ(f.grid.Cell(2, 0).text, Imperial() ? "r [in]" : "r [mm]");
          app::SetPointCount(f, 3);
          const char* angles[] = {"0", "120", "240"};
          const Length* radii[] = {&kPolyR1, &kPolyR2, &kPolyR3};
          for (int row = 1; row <= 3; ++row) {
            f.grid.Cell(1, row).text = angles[row - 1];
            f.grid.Cell(2, row).text = Typed(*radii[row - 1]);
          }
          f.linearInterpolation = true;
          app::PointFormOk(f);
        };
        break;
      case calc::CurveEccentric:
        form([this](app::CurveForm& f) {
          f.Field("Edit_d").text = Typed(kEccD);
          f.Field("Edit_e").text = Typed(kEccE);
        });
        break;
      case calc::CurvePolygon:
        form([this](app::CurveForm& f) {
          f.Field("Edit_z").text = "6";
          f.diameterMode = 1;  // the circumcircle entered, the incircle follows
          f.Field("Edit_De").text = Typed(kPolyDe);
          app::TogglePolygonDiameter(f);
        });
        break;
      case calc::CurveSineLinear:
        form([this](app::CurveForm& f) {
          f.Field("Edit_rw0").text = Typed(kLinRw0);
          f.Field("Edit_A").text = Typed(kLinA);
          f.Field("Edit_philin").text = "150";
        });
        break;
      case calc::CurveSine:
        form([this](app::CurveForm& f) {
          f.Field("Edit_rw0").text = Typed(kSineRw0);
          f.Field("Edit_A").text = Typed(kSineA);
          f.Field("Edit_N").text = "3";
        });
        break;
      default:
        form([this](app::CurveForm& f) {
          EXPECT_EQ(f.Field("Edit_a").unit, Imperial() ? "in" : "mm");
          f.Field("Edit_a").text = Typed(kEllipseA);
          f.Field("Edit_b").text = Typed(kEllipseB);
        });
        break;
    }
    Click("mi_editwaelzkurve");
    EXPECT_EQ(calc::CurveType, type);
  }

  // File Save As under the stem, File New, File Open: the design and its
  // printout before, and after.
  struct Reopened {
    Design before, after;
    std::string printedBefore, printedAfter;
  };
  Reopened SaveNewAndOpen(const std::string& stem) {
    Reopened r;
    const std::string path = env_.dir.Path(stem + ".vb4");
    env_.dialogs.Then(ScriptedAnswer::File(path));
    Click("mi_FileSaveAs");
    r.before = Design::Current();
    r.printedBefore = Printout(stem + "_entered.txt");
    app::MenuItemClick("mi_fileNew");
    env_.dialogs.Then(ScriptedAnswer::File(path));
    Click("mi_fileOpen");
    r.after = Design::Current();
    r.printedAfter = Printout(stem + "_read.txt");
    return r;
  }

  // The record number of a material of the shipped table.
  int MaterialRecord(const std::string& name) {
    dbase::DbfOpen("vobwst");
    int found = 0;
    for (int n = 1; n <= dbase::DbfRecCount() && found == 0; ++n) {
      dbase::DbfGoto(n);
      dbase::ReadMaterialRecord();
      if (dbase::MaterialRecord.Name == name) found = n;
    }
    dbase::DbfClose();
    return found;
  }

  // A menu item that must end accepted.
  void Click(const std::string& item) {
    SCOPED_TRACE(item);
    app::MenuItemClick(item);
    ASSERT_EQ(common::AbortFlag, 0);
    ASSERT_EQ(common::FatalFlag, 0);
  }

  // The printout of the command line's /I for the design in memory, as
  // the lines of its text file.
  std::string Printout(const std::string& into) {
    common::TextDevice = 9;
    common::TextDeviceWindow = false;
    app::PrintGearReport(app::GearReportComplete);
    EXPECT_EQ(common::AbortFlag, 0);
    const std::string written = env_.dir.Path(common::CurrentFileName + ".txt");
    fs::rename(written, env_.dir.Path(into));
    return testsupport::Slurp(env_.dir.Path(into));
  }

  testsupport::ReportTestEnvironment env_{"session_roundtrip"};
  PickingTable table_;
  DesignViews design_;
  CurveViews curves_;
  PointViews points_;
  FormulaViews formula_;
  DocumentationForms docs_;
  app::DocumentationViews* previousDocs_ = nullptr;
  Design defaults_;
};

TEST_P(SessionRoundTripTest, EveryEnteredValueComesBackAfterSaveNewAndOpen) {
  // ---- The session -------------------------------------------------------------------

  // The drawing names and sheet texts.
  drawing::DrawingNameFormShower() = [] {
    drawing::TDrawingNameEdits n = drawing::DrawingNameEditsFromRecords();
    n.DrawingName[1] = "Driving wheel";
    n.DrawingNumber[1] = "NC-101";
    n.DrawingName[2] = "Driven wheel";
    n.DrawingNumber[2] = "NC-102";
    n.DrawingName2[2] = "oval, 2 turns";
    n.Info1 = "Pump drive \xC3\xA4";  // typed "ä"
    n.Info2 = "Sheet 2";
    drawing::StoreDrawingNameEdits(n);
  };
  Click("mi_EditText");

  // Dimensions first: with inches the user switches the dialog's unit
  // system, and every later dialog opens in inches.
  design_.geometry = [&](app::GearGeometryDialog& d) {
    EXPECT_EQ(d.lengthUnit, "mm");
    if (Imperial()) {
      d.Button_metricClick();
      EXPECT_EQ(d.lengthUnit, "in");
    }
    d.alpha.text = "22.5";
    d.z1 = "26";
    d.k = 2;
    d.constantModule = true;
    d.b.text = Typed(kFaceWidth);
    d.bore[1].text = Typed(kBore1);
    d.bore[2].text = Typed(kBore2);
    d.Button_okClick();
  };
  Click("mi_editZahnrad");
  EXPECT_EQ(common::UnitSystem, GetParam());
  EXPECT_NEAR(D(calc::SpurGearData.FaceWidth), Millimetres(kFaceWidth), 1e-12);
  EXPECT_NEAR(D(calc::SpurGearData.BoreDiameter[2]), Millimetres(kBore2), 1e-12);

  // The curve families, each chosen in the curve-type list and given its
  // values; the ellipse last stays the pitch curve.
  for (int type : {calc::CurveFormula, calc::CurvePointFit, calc::CurvePolyline, calc::CurveEccentric,
                   calc::CurvePolygon, calc::CurveSineLinear, calc::CurveSine, calc::CurveEllipse})
    EnterFamily(type);
  ASSERT_EQ(calc::PieceCount, 2);
  EXPECT_EQ(calc::FormulaPieces[1].EndAngle, 172.5L);
  ASSERT_EQ(calc::PointCount, 3);
  ASSERT_EQ(calc::PolylineCount, 3);
  EXPECT_NEAR(D(calc::PolylinePoints[2].R), Millimetres(kPolyR2), 1e-12);
  EXPECT_NEAR(D(calc::PolygonCurve.Di), Millimetres(kPolyDe) * std::cos(D(common::Pi) / 6), 1e-9);
  EXPECT_NEAR(D(calc::EllipseCurve.b), Millimetres(kEllipseB), 1e-12);
  EXPECT_NEAR(D(calc::EccentricCurve.E), Millimetres(kEccE), 1e-12);

  // The cutting tool: coefficients of the module in either unit system,
  // the tool of gear 2 as the complement of gear 1's with a clearance.
  design_.complement = [](app::ComplementDialog& d) {
    d.ha1.text = "1.3";
    d.hf1.text = "1.05";
    d.c.text = "0.3";
    d.EditChanged();
    d.Button_okClick();
  };
  design_.tool = [](app::ToolProfileDialog& d) {
    d.Button_complementClick();
    EXPECT_EQ(d.addendum[2].text, "1.35");
    d.dedendum[2].text = "0.95";
    d.Button_okClick();
  };
  Click("mi_editbezugsprofil");
  EXPECT_EQ(calc::SpurGearData.haP0Factor[1], 1.3L);
  EXPECT_EQ(calc::SpurGearData.hfP0Factor[2], 0.95L);

  // The drive: with millimetres speed and power entered and the torque
  // computed; with inches the torque entered in lbf in and the power
  // computed.
  design_.load = [&](app::LoadDialog& d) {
    EXPECT_EQ(d.torqueUnit, Imperial() ? "lbfin" : "Nm");
    d.ChoiceClicked(Imperial() ? app::LoadDialog::Power : app::LoadDialog::Torque);
    d.speed.text = "960";
    if (Imperial())
      d.torque.text = "660";
    else
      d.power.text = "7.5";
    d.ComputeLoadTriple();
    d.Button_okClick();
  };
  Click("mi_editAntrieb");
  const double torqueNm = Imperial() ? 660 * 0.112984829 : 7500 / (960 * D(common::Pi) / 30);
  EXPECT_NEAR(D(calc::SpurGearData.T[1]), torqueNm, 1e-4 * torqueNm);
  EXPECT_NEAR(D(calc::SpurGearData.P), torqueNm * 960 * D(common::Pi) / 30 / 1000, 1e-4);

  // The materials: both gears picked from the shipped table, then the
  // contact limit of gear 2 typed over in the stress unit shown.
  const int caseSteel = MaterialRecord("16MnCr5");
  const int toughened = MaterialRecord("42CrMo4");
  ASSERT_GT(caseSteel, 0);
  ASSERT_GT(toughened, 0);
  app::MaterialFormShower() = [&](app::TMaterialForm& f) {
    table_.pick = caseSteel;
    app::PickMaterialFromTable(f, 1);
    table_.pick = toughened;
    app::PickMaterialFromTable(f, 2);
    EXPECT_EQ(f.StressUnit, Imperial() ? "psi" : "MPa");
    f.Gear[2].SigmaHlim.text = Imperial() ? "116000" : "800";
    f.Gear[1].E.text = Imperial() ? "30000000" : "210000";
    f.Gear[2].Density.text = "7.8";
    app::MaterialOk(f);
  };
  Click("mi_EditMaterial");
  EXPECT_EQ(app::MaterialName[1], "16MnCr5");
  EXPECT_NEAR(D(calc::SpurGearData.E[1]), Imperial() ? 30000000 / 145.0377 : 210000, 1.0);
  EXPECT_EQ(calc::SpurGearData.rho[2], 7.8L);
  EXPECT_EQ(app::MaterialRecNo[2], toughened);
  EXPECT_NEAR(D(calc::SpurGearData.SigmaHlim[2]), Imperial() ? 116000 * 0.006894757293168 : 800, 0.01);

  // The strength inputs of the DIN method: with millimetres on the two
  // pages a small screen shows, with inches on the one page of a large one.
  const Length di1{"35", "1.5"}, dsh{"28", "1.125"}, l1{"120", "4.5"}, s1{"6", "0.25"};
  const auto page1 = [&](app::TStrengthPage1& p) {
    p.Di[1].text = Typed(di1);
    p.E[2].text = "2";
    p.Np[2].text = "2";
    EXPECT_EQ(p.MicroUnit, Imperial() ? "\xC2\xB5in" : "\xC2\xB5m");
    p.RzZ[1].text = Imperial() ? "125" : "3.2";
    p.RzY[2].text = Imperial() ? "400" : "12";
    p.Nu50.text = "150";
    p.KAH.text = "1.25";
    p.KAF.text = "1.4";
    p.LifeMode = 1;
    p.ZNT[1].text = "1.1";
    p.ZNT[2].text = "1.05";
    p.YNT[1].text = "1.2";
    p.YNT[2].text = "1.15";
  };
  const auto page2 = [&](app::TStrengthPage2& p) {
    p.Dsh.text = Typed(dsh);
    p.L.text = Typed(l1);
    p.S.text = Typed(s1);
    p.ContactPatternIndex = 2;
    p.BearingIndex = 1;
    p.LappingIn = true;
    p.HelixCorrection = true;
    p.CentralCrowning = true;
    p.EndRelief = true;
    p.Notch = true;
    p.TgRg[1].text = "0.3";
    p.TgRg[2].text = "0.25";
    p.FshInput = true;
    p.Fsh.text = "8";
    p.FmaInput = true;
    p.Fma.text = "6";
  };
  if (Imperial()) {
    platform::SetScreenSizeQuery([] { return platform::ScreenSize{1280, 1024}; });
    app::StrengthViews().OnePage = [&](app::TStrengthForm& f) {
      f.MethodIndex = 0;
      app::SetFs0Visibility(f);
      page1(f.Page1);
      page2(f.Page2);
      app::StrengthOk(app::PageRef(f));
    };
  } else {
    env_.dialogs.Then(ScriptedAnswer::Choose(0));
    app::StrengthViews().Page1 = [&](app::TStrengthPage1& p) {
      page1(p);
      app::StrengthOk(app::PageRef(p));
    };
    app::StrengthViews().Page2 = [&](app::TStrengthPage2& p) {
      page2(p);
      app::StrengthOk(app::PageRef(p));
    };
  }
  Click("mi_editfestigkeit");
  EXPECT_EQ(calc::SpurGearData.HelixCorrectionAnswer, 'J');
  EXPECT_NEAR(D(calc::SpurGearData.BodyInnerDiameter[1]), Millimetres(di1), 1e-12);
  EXPECT_NEAR(D(calc::SpurGearData.s1), Millimetres(s1), 1e-12);
  EXPECT_EQ(calc::SpurGearData.ContactPatternCode, 3);
  EXPECT_EQ(calc::SpurGearData.LifeFactorsInput, 1);
  EXPECT_EQ(calc::SpurGearData.YNTInput[2], 1.15L);
  EXPECT_TRUE(calc::SpurGearData.GrindingNotch);
  EXPECT_TRUE(calc::SpurGearData.FshInput && calc::SpurGearData.FmaInput);
  EXPECT_NEAR(D(calc::SpurGearData.RzFlank[1]), Imperial() ? 3.175 : 3.2, 1e-12);
  EXPECT_NEAR(D(calc::SpurGearData.RzRoot[2]), Imperial() ? 10.16 : 12, 1e-12);

  // Documentation: a change record, the drawing information, a link.
  docs_.changeEntry = [](int n) {
    app::TChangeEntryFields f = app::ChangeEntryFieldsFor(n);
    f.modification = "new bore";
    f.responsible = "KW";
    f.description = "bore 20 H7\nwas 18 H7";
    app::StoreChangeEntry(f);
  };
  Click("mi_docuNewChange");
  // The millimetre session draws the DIN 6771 title block, the inch session
  // the ISO 7200 one with its document rows.
  common::FrameStyle = Imperial() ? 2 : 0;
  docs_.drawingInfo = [&] {
    app::TDrawingInfoFields f = app::DrawingInfoFieldsFromRecords();
    EXPECT_EQ(f.isoForm, Imperial());
    f.titleRows[1].name = "Kr\xC3\xA4mer";
    if (Imperial()) {
      f.documentRows[1].name = "R&D";
      f.documentRows[3].name = "released";
    } else {
      f.replacementFor = "NC-0815";
    }
    f.freeTexts[1] = {"10.5", "20.25", "3.5", "90", "Note 1|2"};
    f.textMode = common::FreeTextsA3;
    app::StoreDrawingInfoFields(f);
  };
  Click("mi_docdrawinginfo");
  docs_.documentLinks = [] {
    app::TDocumentLinkEdits e = app::DocumentLinkEditsFromRecords();
    e.links[2] = {"/usr/bin/xdg-open", "/home/designer/pair 7.pdf"};
    app::StoreDocumentLinkEdits(e);
  };
  Click("mi_DocumentSetup");
  EXPECT_EQ(common::DataChanged, 1);

  // ---- Saved, cleared and opened ----------------------------------------------------------
  const std::string path = env_.dir.Path("session.vb4");
  env_.dialogs.Then(ScriptedAnswer::File(path));
  Click("mi_FileSaveAs");
  EXPECT_EQ(common::CurrentFileName, "session");
  EXPECT_EQ(common::DataChanged, 0);
  const Design entered = Design::Current();
  const std::string printed = Printout("entered.txt");
  const std::string file = testsupport::Slurp(path);

  // File New: the default design, every dialog of its input sequence
  // confirmed as it opens (a cancelled sequence would keep this design).
  {
    const app::TEntryPoints entries = app::Entry();
    const auto confirm = [] { common::AbortFlag = 0; };
    for (auto* slot : {&app::Entry().ShowDrawingNameForm, &app::Entry().ShowGeometryForm,
                       &app::Entry().ShowToolProfileForm, &app::Entry().ShowLoadForm, &app::Entry().ShowMaterialForm,
                       &app::Entry().EditStrength})
      *slot = confirm;
    app::Entry().ShowCurveForm = [](int) { common::AbortFlag = 0; };
    env_.dialogs.Then(ScriptedAnswer::Choose(defaults_.curveType - 1));
    app::MenuItemClick("mi_fileNew");
    EXPECT_EQ(common::AbortFlag, 0);
    app::Entry() = entries;
  }
  EXPECT_EQ(common::CurrentFileName, "");
  EXPECT_EQ(common::ChangeRecords.Count, 0);
  EXPECT_EQ(calc::EllipseCurve.a, defaults_.ellipse.a);
  EXPECT_EQ(calc::SpurGearData.FaceWidth, defaults_.gear.FaceWidth);
  EXPECT_EQ(app::DocumentLinks[2].File, defaults_.links[1].File);

  // The unit system is a setting of the program, not of the design: it
  // stays as the user left it.
  EXPECT_EQ(common::UnitSystem, GetParam());
  // The new design is changed and has no name: its save question is
  // answered with No (discard) before the file is opened.
  env_.dialogs.Then(ScriptedAnswer::Press(platform::DialogButton::No)).Then(ScriptedAnswer::File(path));
  Click("mi_fileOpen");
  EXPECT_EQ(common::CurrentFileName, "session");
  EXPECT_EQ(common::DataChanged, 0);
  const Design read = Design::Current();

  // ---- What came back ---------------------------------------------------------------------
  const calc::TSpurGearData& g = read.gear;
  const calc::TSpurGearData& e = entered.gear;
  {
    SCOPED_TRACE("dimensions");
    EXPECT_SAME(g.PressureAngle, e.PressureAngle);
    EXPECT_SAME(read.pair.z1, entered.pair.z1);
    EXPECT_SAME(read.pair.k, 2);
    EXPECT_SAME(read.pair.ModuleMode, entered.pair.ModuleMode);
    EXPECT_FILED(g.FaceWidth, e.FaceWidth);
    EXPECT_FILED(g.BoreDiameter[1], e.BoreDiameter[1]);
    EXPECT_FILED(g.BoreDiameter[2], e.BoreDiameter[2]);
  }
  {
    SCOPED_TRACE("curves");
    EXPECT_SAME(read.curveType, calc::CurveEllipse);
    EXPECT_FILED(read.ellipse.a, entered.ellipse.a);
    EXPECT_FILED(read.ellipse.b, entered.ellipse.b);
    EXPECT_FILED(read.sine.rw0, entered.sine.rw0);
    EXPECT_FILED(read.sine.A, entered.sine.A);
    EXPECT_SAME(read.sine.N, entered.sine.N);
    EXPECT_FILED(read.sineLinear.rw0, entered.sineLinear.rw0);
    EXPECT_FILED(read.sineLinear.A, entered.sineLinear.A);
    EXPECT_FILED(read.sineLinear.PhiLin, entered.sineLinear.PhiLin);
    EXPECT_FILED(read.eccentric.D, entered.eccentric.D);
    EXPECT_FILED(read.eccentric.E, entered.eccentric.E);
    ASSERT_EQ(read.formula.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
      EXPECT_SAME(read.formula[i].EndAngle, entered.formula[i].EndAngle);
      EXPECT_SAME(read.formula[i].Formula, entered.formula[i].Formula);
    }
    ASSERT_EQ(read.fitPoints.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
      EXPECT_FILED(read.fitPoints[i].Phi, entered.fitPoints[i].Phi);
      EXPECT_FILED(read.fitPoints[i].R, entered.fitPoints[i].R);
      // The coefficients keep fourteen decimals (and the comparison is in double).
      EXPECT_NEAR(D(read.coefficients[i]), D(entered.coefficients[i]), 1e-14) << i;
    }
    EXPECT_SAME(read.polygon.Corners, 6);
    EXPECT_FILED(read.polygon.De, entered.polygon.De);
    EXPECT_FILED(read.polygon.Di, entered.polygon.Di);
    ASSERT_EQ(read.polyline.size(), entered.polyline.size());
    for (std::size_t i = 0; i < read.polyline.size(); ++i) {
      EXPECT_FILED(read.polyline[i].Phi, entered.polyline[i].Phi);
      EXPECT_FILED(read.polyline[i].R, entered.polyline[i].R);
    }
    EXPECT_SAME(read.linear, 1);
  }
  {
    SCOPED_TRACE("tool and drive");
    for (int i = 1; i <= 2; ++i) {
      EXPECT_FILED(g.haP0Factor[i], e.haP0Factor[i]);
      EXPECT_FILED(g.hfP0Factor[i], e.hfP0Factor[i]);
      EXPECT_SAME(g.ProfileShift[i], e.ProfileShift[i]);
    }
    EXPECT_SAME(g.haP0Factor[1], 1.3L);
    EXPECT_SAME(g.hfP0Factor[2], 0.95L);
    EXPECT_SAME(read.loadChoice, entered.loadChoice);
    EXPECT_SAME(g.n[1], 960);
    EXPECT_FILED(g.P, e.P);
    EXPECT_FILED(g.T[1], e.T[1]);
  }
  {
    SCOPED_TRACE("materials");
    for (int i = 1; i <= 2; ++i) {
      EXPECT_SAME(read.materialName[i], entered.materialName[i]);
      EXPECT_SAME(read.materialRecNo[i], entered.materialRecNo[i]);
      EXPECT_FILED(g.SigmaHlim[i], e.SigmaHlim[i]);
      EXPECT_SAME(g.SigmaFE[i], e.SigmaFE[i]);
      EXPECT_SAME(g.HB[i], e.HB[i]);
      EXPECT_FILED(g.E[i], e.E[i]);
      // The table's numbers come as binary doubles; the file keeps them to
      // seven decimals.
      EXPECT_FILED(g.mue[i], e.mue[i]);
      EXPECT_FILED(g.rho[i], e.rho[i]);
      EXPECT_SAME(g.MaterialType[i], e.MaterialType[i]);
      EXPECT_SAME(g.HeatTreatment[i], e.HeatTreatment[i]);
    }
  }
  {
    SCOPED_TRACE("strength");
    EXPECT_SAME(g.CalcMethod, 1);
    EXPECT_FILED(g.BodyInnerDiameter[1], e.BodyInnerDiameter[1]);
    EXPECT_FILED(g.BodyInnerDiameter[2], e.BodyInnerDiameter[2]);
    EXPECT_SAME(g.LoadAlternations[2], 2);
    EXPECT_SAME(g.MeshesPerRev[1], e.MeshesPerRev[1]);
    EXPECT_SAME(g.nu40, 150);
    EXPECT_SAME(g.KAH, 1.25L);
    EXPECT_SAME(g.KAF, 1.4L);
    for (int i = 1; i <= 2; ++i) {
      EXPECT_FILED(g.RzFlank[i], e.RzFlank[i]);
      EXPECT_FILED(g.RzRoot[i], e.RzRoot[i]);
    }
    EXPECT_FILED(g.dsh, e.dsh);
    EXPECT_FILED(g.l1, e.l1);
    EXPECT_FILED(g.s1, e.s1);
    EXPECT_SAME(g.ContactPatternCode, 3);
    EXPECT_SAME(g.BearingArrangement, 2);
    EXPECT_SAME(g.LappingInAnswer, 'J');
    EXPECT_SAME(g.CentralCrowningAnswer, 'J');
    EXPECT_SAME(g.EndReliefAnswer, 'J');
    EXPECT_SAME(g.HelixCorrectionAnswer, 'J');
    EXPECT_SAME(g.SupportingEffectAnswer, e.SupportingEffectAnswer);
    EXPECT_SAME(g.MeshesPerRev[2], 2);
    EXPECT_SAME(g.DoubleHelicalAnswer, e.DoubleHelicalAnswer);
    EXPECT_SAME(g.LifeFactorsInput, 1);
    for (int i = 1; i <= 2; ++i) {
      EXPECT_FILED(g.ZNTInput[i], e.ZNTInput[i]);
      EXPECT_FILED(g.YNTInput[i], e.YNTInput[i]);
      EXPECT_FILED(g.tgrg[i], e.tgrg[i]);
    }
    EXPECT_SAME(g.ZNTInput[1], 1.1L);
    EXPECT_SAME(g.tgrg[2], 0.25L);
    EXPECT_SAME(g.GrindingNotch, true);
    EXPECT_SAME(g.FshInput, true);
    EXPECT_SAME(g.FmaInput, true);
    EXPECT_FILED(g.fsh, e.fsh);
    EXPECT_FILED(g.fma, e.fma);
  }
  {
    SCOPED_TRACE("documentation");
    EXPECT_TRUE(read.names == entered.names);
    EXPECT_SAME(read.names.Info1, "Pump drive \xC3\xA4");
    EXPECT_SAME(read.names.DrawingName2[2], "oval, 2 turns");
    ASSERT_EQ(read.changes.Count, 1);
    const common::TChangeRecord& c = read.changes.Records[1];
    EXPECT_SAME(c.Modification, "new bore");
    EXPECT_SAME(c.Responsible, "KW");
    EXPECT_SAME(c.Date, entered.changes.Records[1].Date);
    EXPECT_SAME(c.Description, "bore 20 H7\nwas 18 H7");
    for (int i = 1; i <= common::TitleTextCount; ++i) EXPECT_SAME(read.title.Texts[i], entered.title.Texts[i]) << i;
    EXPECT_SAME(common::FrameStyle, Imperial() ? 2 : 0);
    if (!Imperial()) {
      EXPECT_SAME(read.title.Texts[common::TitleReplacementFor], "NC-0815");
    }
    EXPECT_SAME(read.title.TextMode, common::FreeTextsA3);
    ASSERT_EQ(read.title.FreeTextCount, 1);
    EXPECT_SAME(read.title.FreeTexts[1].x, 10.5L);
    EXPECT_NEAR(D(read.title.FreeTexts[1].y), 20.25, 0.05);  // three significant digits
    EXPECT_SAME(read.title.FreeTexts[1].h, 3.5L);
    EXPECT_SAME(read.title.FreeTexts[1].phi, 90);
    // The field separator typed in a free text comes back as the broken bar
    // it is stored as; the fields after it stay in their places.
    EXPECT_SAME(read.title.FreeTexts[1].text, "Note 1\xDD" "2");
    ASSERT_EQ(read.links.size(), entered.links.size());
    for (std::size_t i = 0; i < read.links.size(); ++i) {
      EXPECT_SAME(read.links[i].Program, entered.links[i].Program);
      EXPECT_SAME(read.links[i].File, entered.links[i].File);
    }
    EXPECT_SAME(read.links[1].File, "/home/designer/pair 7.pdf");
  }
  {
    SCOPED_TRACE("the pair recalculated on the file");
    EXPECT_SAME(read.pair.a, entered.pair.a);
    EXPECT_SAME(read.pair.U1, entered.pair.U1);
    EXPECT_SAME(read.pair.z2, entered.pair.z2);
    EXPECT_SAME(read.radii.r1min, entered.radii.r1min);
    EXPECT_SAME(read.radii.r1max, entered.radii.r1max);
    EXPECT_SAME(read.radii.r2min, entered.radii.r2min);
    EXPECT_SAME(read.radii.r2max, entered.radii.r2max);
  }

  // The command line's printout of the file is the session's printout.
  std::ostringstream out, err;
  EXPECT_EQ(app::RunBatch(app::ParseCommandLine({"session.vb4", "/I"}), out, err, false), 0) << err.str();
  const std::string reprinted = testsupport::Slurp(env_.dir.Path("session.txt"));
  EXPECT_TRUE(reprinted == printed) << FirstDifference(printed, reprinted);

  // Saved again, the reopened design writes the same file.
  common::MessagesEnabled = 1;
  env_.dialogs.Then(ScriptedAnswer::File(path));
  app::ReadDataFile("");
  ASSERT_EQ(common::AbortFlag, 0);
  Click("mi_FileSave");
  EXPECT_EQ(testsupport::Slurp(path), file);

  // A fresh start of the program opens the file to the same design: no
  // value of the session survives outside the file.
  char name[] = "vob4";
  char* argv[] = {name, nullptr};
  app::StartUpProgram(1, argv);
  common::DataDirectory = env_.dir.Dir().string() + "/";
  app::MainFormCreate();
  env_.dialogs.Then(ScriptedAnswer::File(path));
  Click("mi_fileOpen");
  const Design restarted = Design::Current();
  EXPECT_TRUE(SameGearData(restarted.gear, read.gear));
  EXPECT_EQ(restarted.pair.a, read.pair.a);
  EXPECT_EQ(restarted.ellipse.b, read.ellipse.b);
  EXPECT_EQ(restarted.changes.Records[1].Description, read.changes.Records[1].Description);
  EXPECT_TRUE(restarted.names == read.names);
}

// Each family as the pitch curve of the design: the file gives the same pair
// and the same printout. The families whose values the file keeps to seven
// decimals (polyline and point angles in radians) give the pair within
// that precision; the printout does not see the difference.
TEST_P(SessionRoundTripTest, EachFamilyAsThePitchCurveReopensToTheSamePair) {
  for (int type : {calc::CurveFormula, calc::CurveEllipse, calc::CurveSine, calc::CurveSineLinear,
                   calc::CurvePolygon, calc::CurvePointFit, calc::CurveEccentric, calc::CurvePolyline}) {
    SCOPED_TRACE(type);
    if (Imperial()) common::UnitSystem = common::UnitsImperial;
    EnterFamily(type);
    const Reopened r = SaveNewAndOpen("family" + std::to_string(type));
    EXPECT_EQ(r.after.curveType, type);
    const bool radians = type == calc::CurvePolyline || type == calc::CurvePointFit || type == calc::CurvePolygon;
    const double tolerance = radians ? 1e-6 : 0;
    EXPECT_NEAR(D(r.after.pair.a), D(r.before.pair.a), tolerance);
    EXPECT_NEAR(D(r.after.pair.U1), D(r.before.pair.U1), tolerance);
    EXPECT_NEAR(D(r.after.radii.r1min), D(r.before.radii.r1min), tolerance);
    EXPECT_NEAR(D(r.after.radii.r1max), D(r.before.radii.r1max), tolerance);
    EXPECT_NEAR(D(r.after.radii.r2min), D(r.before.radii.r2min), tolerance);
    EXPECT_NEAR(D(r.after.radii.r2max), D(r.before.radii.r2max), tolerance);
    EXPECT_EQ(r.after.pair.z2, r.before.pair.z2);
    EXPECT_TRUE(r.printedAfter == r.printedBefore) << FirstDifference(r.printedBefore, r.printedAfter);
  }
}

INSTANTIATE_TEST_SUITE_P(Units, SessionRoundTripTest,
                         ::testing::Values(static_cast<int>(common::UnitsMetric),
                                           static_cast<int>(common::UnitsImperial)),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return info.param == common::UnitsImperial ? std::string("Inch") : std::string("Mm");
                         });

}  // namespace
