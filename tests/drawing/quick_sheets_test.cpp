// The quick sheets: sheet 4 of a calculated design with change records
// written as DXF and read back strictly by an independent reader (ezdxf),
// with its frame block, title-block texts, revision table and notice; the
// gear block's place and scale on sheet 1; the sheet choice; the redraw of
// the result picture after a calculation.
#include "drawing/quick_sheets.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <set>
#include <filesystem>
#include <regex>

#include "calc/calc_records.h"
#include "calc/noncircular_pair.h"
#include "calc/spur_gear_data.h"
#include "common/date_time.h"
#include "common/graphics_facade.h"
#include "common/message_list.h"
#include "drawing/cad/cad_state.h"
#include "drawing/outlines/tooth_warnings.h"
#include "platform/clock.h"
#include "drawing_test_support.h"
#include "support/dxf_outline.h"
#include "support/dxf_texts.h"

namespace {

namespace fs = std::filesystem;
using drawingtest::Figure;

class QuickSheets : public drawingtest::DrawingTest {
 protected:
  QuickSheets() : DrawingTest("quick_sheets") {}
  void SetUp() override {
    DrawingTest::SetUp();
    calc::InitGearData();
    calc::SetSpurGearDefaults();
    calc::SetNoncircularDefaults();
    common::ChangeRecords = {};
    common::TitleBlock = {};
    common::InitGraphDisplayList();
    auto& g = calc::SpurGearData;
    g.P = 10;
    g.n[1] = 1000;
    g.CalcMethod = 1;
    g.DrawingName[1] = "Drive";
    g.DrawingName[2] = "Cam";
    g.DrawingNumber[1] = "12-001";
    g.DrawingNumber[2] = "12-002";
    g.DrawingName2[1] = "upper";
    g.DrawingName2[2] = "lower";
  }
  void Calculate() {
    calc::CalcNoncircularPair();
    ASSERT_EQ(common::FatalFlag, 0);
  }
  void AddChange(const std::string& modification, const std::string& date, const std::string& name) {
    auto& records = common::ChangeRecords;
    ++records.Count;
    records.Records[records.Count] = {modification, date, name, "changed " + modification};
  }
};

TEST_F(QuickSheets, SheetFourAsDxfHoldsFrameTitleBlockRevisionsAndNotice) {
  if (!testsupport::ReaderPresent()) GTEST_SKIP() << "ezdxf is not installed for /usr/bin/python3";
  calc::SkipPositionSweep = 1;  // the sheet, not the sweep, is under test
  Calculate();
  common::TitleBlock.Texts[common::TitleFirstName] = "Maier";
  common::TitleBlock.Texts[common::TitleFirstDate] = "2026-11-30";
  common::TitleBlock.Texts[common::TitleDocumentStatus] = "released";
  AddChange("bore", "2026-12-01", "MK");
  AddChange("teeth", "2026-12-02", "AB");
  common::CadSettings.CadFrameOptions[common::FrameOptChanges] = 1;

  const std::string file = scratch_.Path("sheet4.dxf");
  dialogs_.Then(platform::ScriptedAnswer::File(file));
  drawing::DrawQuickSheet(4, drawing::CadDeviceDxf);
  ASSERT_EQ(common::AbortFlag, 0);
  const testsupport::DxfTexts dxf = testsupport::ReadDxfTexts(file);
  ASSERT_EQ(dxf.loadStatus, 0) << file;
  EXPECT_EQ(dxf.auditErrors, 0);
  ASSERT_TRUE(dxf.blocks.count("frame_1"));
  ASSERT_TRUE(dxf.blocks.count("gear0"));
  EXPECT_GT(dxf.blocks.at("gear0"), 100) << "the teeth of both gears";

  // The frame placed once at the origin, the gears at the sheet's scale.
  const auto frame = std::find_if(dxf.inserts.begin(), dxf.inserts.end(),
                                  [](const testsupport::DxfInsert& i) { return i.name == "frame_1"; });
  ASSERT_NE(frame, dxf.inserts.end());
  EXPECT_EQ(frame->owner, "*");
  EXPECT_DOUBLE_EQ(frame->x, 0);
  const auto gears = std::find_if(dxf.inserts.begin(), dxf.inserts.end(),
                                  [](const testsupport::DxfInsert& i) { return i.name == "gear0"; });
  ASSERT_NE(gears, dxf.inserts.end());
  const double s = static_cast<double>(160 / calc::NcPair.a / 1.6L);
  EXPECT_NEAR(gears->scale, s, 1e-5);
  EXPECT_NEAR(gears->y, 180, 1e-4);

  // Title-block texts inside the frame block.
  for (const char* text : {"Responsible dept.", "Created by", "Document status", "Maier  2026-11-30", "released",
                           "12-001/12-002", "Drive/Cam", "upper/lower", "C", "en"}) {
    const testsupport::DxfText* t = dxf.Find(text);
    ASSERT_NE(t, nullptr) << text;
    EXPECT_EQ(t->owner, "frame_1") << text;
  }
  EXPECT_NE(dxf.Find(common::TodayIsoText()), nullptr);
  // The revision table with both records.
  for (const char* text : {"Index", "Modification", "Description", "a", "b", "bore", "teeth", "changed teeth", "MK"})
    EXPECT_NE(dxf.Find(text), nullptr) << text;
  // The notice, turned along the left margin.
  const testsupport::DxfText* notice = dxf.Find("of damages. All rights are reserved in the event of the grant");
  ASSERT_NE(notice, nullptr);
  EXPECT_DOUBLE_EQ(notice->rotation, 90);
  // Heading, description and data table in the model space.
  EXPECT_NE(dxf.Find("Drive  12-001  upper"), nullptr);
  EXPECT_TRUE(dxf.HasTextContaining("pitch curve gear 1"));
  EXPECT_NE(dxf.Find(" r nom"), nullptr);
  // The diagrams over the drive angle are drawn below the gears.
  EXPECT_GT(dxf.texts.size(), 150u);
}

TEST_F(QuickSheets, SheetOneInsertsTheGearBlockAtItsScaleAndLeavesNoBlockFiles) {
  EXPECT_NEAR(static_cast<double>(drawing::QuickSheetGearScale(1, 80)), 0.4444444, 1e-6);
  EXPECT_NEAR(static_cast<double>(drawing::QuickSheetGearScale(3, 80)), 0.5, 1e-12);
  calc::SkipPositionSweep = 1;
  Calculate();
  drawingtest::LoggingBackEnd log;
  {
    drawing::ScopedCadBackEnd screen(drawing::CadDeviceScreen, log);
    drawing::DrawQuickSheet(1, drawing::CadDeviceScreen);
  }
  const Real s = 160 / calc::NcPair.a / 4.5L;
  const Real x = s * (calc::RadiusExtremes.r1max + 1.5L * calc::SpurGearData.NormalModule);
  // On the screen the block is replayed: its pitch curve points arrive
  // scaled by s round the insert point (x, 40).
  Real minX = 1e9, maxX = -1e9;
  bool heading = false;
  for (const Figure& f : log.figures) {
    if (f.kind == "TEXT" && f.text == "Drive  12-001  upper") heading = true;
    if (f.kind == "LINE" && f.pen == 19) {
      minX = std::min({minX, f.values[0], f.values[2]});
      maxX = std::max({maxX, f.values[0], f.values[2]});
    }
  }
  EXPECT_TRUE(heading);
  // Gear 1 reaches from its centre x by its largest radius and a tooth.
  EXPECT_NEAR(static_cast<double>(maxX - x), static_cast<double>(s * calc::RadiusExtremes.r1max),
              static_cast<double>(3 * s * calc::SpurGearData.NormalModule));
  EXPECT_GT(static_cast<double>(minX), 0);
  // In a DXF file the block is inserted at the sheet's place and scale.
  if (testsupport::ReaderPresent()) {
    const std::string file = scratch_.Path("sheet1.dxf");
    dialogs_.Then(platform::ScriptedAnswer::File(file));
    drawing::DrawQuickSheet(1, drawing::CadDeviceDxf);
    const testsupport::DxfTexts dxf = testsupport::ReadDxfTexts(file);
    ASSERT_EQ(dxf.loadStatus, 0);
    ASSERT_EQ(dxf.inserts.size(), 1u);
    EXPECT_EQ(dxf.inserts[0].name, "gear0");
    EXPECT_NEAR(dxf.inserts[0].x, static_cast<double>(x), 1e-4);
    EXPECT_NEAR(dxf.inserts[0].y, 40, 1e-9);
    EXPECT_NEAR(dxf.inserts[0].scale, static_cast<double>(s), 1e-6);
    EXPECT_FALSE(dxf.blocks.count("frame_1"));
  }
  // The screen's recorded blocks are gone after the picture.
  drawing::DeleteRecordedBlockFiles();
  for (const auto& entry : fs::directory_iterator(scratch_.Dir()))
    EXPECT_NE(entry.path().extension(), ".dx$") << entry.path();
}

TEST_F(QuickSheets, SheetFourGoesToTheOtherFileDevicesWithItsTitleBlock) {
  calc::SkipPositionSweep = 1;
  Calculate();
  const struct {
    drawing::CadDeviceCode device;
    const char* name;
  } devices[] = {{drawing::CadDeviceIges, "sheet4.igs"}, {drawing::CadDeviceTextCad, "sheet4.txt"}};
  for (const auto& d : devices) {
    const std::string file = scratch_.Path(d.name);
    dialogs_.Then(platform::ScriptedAnswer::File(file));
    drawing::DrawQuickSheet(4, d.device);
    EXPECT_EQ(common::AbortFlag, 0) << d.name;
    const std::string bytes = testsupport::Slurp(file);
    EXPECT_NE(bytes.find("Title, Supplementary title"), std::string::npos) << d.name;
    EXPECT_NE(bytes.find("12-001/12-002"), std::string::npos) << d.name;
  }
}

// A design whose list is full (ellipse 60 x 50 with 7 teeth: twelve lines,
// the last one counting the rest) on each of the four sheets, in the
// primitives every device gets and in the DXF file: every text lies inside
// the sheet's frame, and the table of messages shows all twelve lines
// there. The sheet maps its frame onto the window in one scale across and
// down, so what lies inside the frame lies inside the window at every
// screen size.
TEST_F(QuickSheets, AFullListFitsInsideEverySheet) {
  calc::NcPair.z1 = 7;
  Calculate();
  ASSERT_EQ(common::MsgCount, common::MaxMessages);
  ASSERT_NE(common::MsgText[12].find("list full"), std::string::npos);
  const bool dxfReader = testsupport::ReaderPresent();
  for (int sheet = 1; sheet <= 4; ++sheet) {
    SCOPED_TRACE("Quick " + std::to_string(sheet));
    const double width = sheet == 4 ? 420 : 160, height = sheet == 4 ? 297 : 120;
    // What every text carries: place, height, angle and letter width.
    struct Placed {
      std::string text;
      double x, y, h, letter, angle;
    };
    struct TextLog : drawingtest::LoggingBackEnd {
      std::vector<Placed> texts;
      void Text(const std::string& text, Real x, Real y) override {
        const auto& d = drawing::CadDrawing;
        texts.push_back({text, static_cast<double>(x), static_cast<double>(y), static_cast<double>(d.CadTextHeight),
                         static_cast<double>(d.CadTextWidthFactor * d.CadTextHeight),
                         static_cast<double>(d.CadTextAngle)});
      }
    } log;
    {
      drawing::ScopedCadBackEnd screen(drawing::CadDeviceScreen, log);
      drawing::DrawQuickSheet(static_cast<std::uint16_t>(sheet), drawing::CadDeviceScreen);
    }
    ASSERT_GT(log.texts.size(), 50u);
    std::set<std::string> messages;
    for (const Placed& t : log.texts) {
      // The frame's maker line stands above the sheet's edge by design.
      if (t.text.rfind("KALDRIM   ", 0) == 0) continue;
      const double a = t.angle * std::numbers::pi / 180, c = std::cos(a), s = std::sin(a);
      const double run = t.letter * static_cast<double>(t.text.size());
      // The corners of the text's box: its run along the base line, its
      // height across it.
      for (const auto& [along, across] : {std::pair{0.0, 0.0}, {run, 0.0}, {0.0, t.h}, {run, t.h}}) {
        const double x = t.x + along * c - across * s, y = t.y + along * s + across * c;
        EXPECT_TRUE(x >= -1e-6 && x <= width + 1e-6 && y >= -1e-6 && y <= height + 1e-6)
            << "\"" << t.text << "\" reaches (" << x << ", " << y << ")";
      }
      for (int i = 1; i <= common::MsgCount; ++i)
        if (t.text == " " + common::MsgText[i]) messages.insert(common::MsgText[i]);
    }
    EXPECT_EQ(messages.size(), 12u);
    if (!dxfReader) continue;
    const std::string file = scratch_.Path("sheet" + std::to_string(sheet) + ".dxf");
    dialogs_.Then(platform::ScriptedAnswer::File(file));
    drawing::DrawQuickSheet(static_cast<std::uint16_t>(sheet), drawing::CadDeviceDxf);
    const testsupport::DxfTexts dxf = testsupport::ReadDxfTexts(file);
    ASSERT_EQ(dxf.loadStatus, 0);
    for (int i = 1; i <= common::MsgCount; ++i) {
      // The file writes the degree sign its own way: the text up to it.
      const std::string ascii = " " + common::MsgText[i].substr(0, common::MsgText[i].find('\xF8'));
      const auto row = std::find_if(dxf.texts.begin(), dxf.texts.end(),
                                    [&](const testsupport::DxfText& t) { return t.text.rfind(ascii, 0) == 0; });
      ASSERT_NE(row, dxf.texts.end()) << common::MsgText[i];
      EXPECT_GE(row->y, 0) << common::MsgText[i];
      EXPECT_LE(row->y + row->height, height) << common::MsgText[i];
    }
  }
}

TEST_F(QuickSheets, SheetChoiceAndRefusals) {
  calc::SkipPositionSweep = 1;
  Calculate();
  // Sheet 0 asks; a cancelled choice opens nothing.
  dialogs_.Then(platform::ScriptedAnswer::Cancel());
  drawing::DrawQuickSheet(0, drawing::CadDeviceDxf);
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(common::TextLines[4].substr(0, 7), "Quick 4");
  // With FatalFlag set the messages are shown instead of a sheet.
  // (The message dialog stays silent here; the save dialog is never asked.)
  common::AbortFlag = 0;
  common::MessagesEnabled = 0;
  common::FatalFlag = 1;
  common::AddErrorMessage("Fatal  : test");
  drawing::DrawQuickSheet(1, drawing::CadDeviceDxf);
  EXPECT_EQ(common::AbortFlag, 0);
  for (const auto& entry : fs::directory_iterator(scratch_.Dir()))
    EXPECT_NE(entry.path().extension(), ".dxf") << entry.path();
  common::FatalFlag = 0;
  common::MessagesEnabled = 1;
}

TEST_F(QuickSheets, RedrawShowsThePictureThatResultGraphicNames) {
  calc::SkipPositionSweep = 1;
  Calculate();
  drawingtest::LoggingBackEnd log;
  drawing::ScopedCadBackEnd screen(drawing::CadDeviceScreen, log);
  // The head line carries the time: a minute must not turn over between
  // the pictures compared.
  platform::LocalDateTime now;
  now.year = 2026;
  now.month = 12;
  now.day = 7;
  now.hour = 13;
  now.minute = 12;
  const platform::ScopedClock clock(now);
  auto drawn = [&](int value) {
    common::ResultGraphic = value;
    log.figures.clear();
    drawing::RedrawCurrentView();
    std::string texts;
    for (const Figure& f : log.figures)
      if (f.kind == "TEXT") texts += f.text + "\n";
    return texts;
  };
  const std::string sheet3 = drawn(2);
  ASSERT_FALSE(sheet3.empty());
  EXPECT_EQ(drawn(0), sheet3);
  EXPECT_EQ(drawn(7), sheet3);
  EXPECT_EQ(drawn(-1), sheet3);
  EXPECT_NE(drawn(1), sheet3);
  EXPECT_NE(drawn(6).find("Title, Supplementary title"), std::string::npos) << "sheet 4";
  EXPECT_NE(drawn(3).find("a="), std::string::npos) << "the gear pair";
  // Nothing while AbortFlag is set.
  common::AbortFlag = 1;
  EXPECT_TRUE(drawn(1).empty());
  common::AbortFlag = 0;
}

// No full list shows a note on the tolerances while it leaves out a failed
// rating; a refusal said after it stays off the sheet, which retires it.
TEST_F(QuickSheets, AFullListKeepsTheRatingAboveTheTolerances) {
  drawing::InstallToothWarnings();
  const std::regex note("Warning: (Tsn|q tol|Fr:|fis:).*|Error  : Diametr.*");
  const std::regex rating("(Error  : (Pitting|fatigue)|eps.(alpha|gamma) < 1|Warning: S[HF]<1).*");
  int full = 0;
  for (const std::uint16_t curve : {calc::CurveEllipse, calc::CurveEccentric, calc::CurveSine, calc::CurvePolygon})
    for (const int z1 : {7, 10})
      for (const std::uint16_t method : {1, 4}) {
        SCOPED_TRACE(testing::Message() << curve << " z1 " << z1 << " method " << method);
        SetUp();
        calc::CurveType = curve;
        calc::NcPair.z1 = z1;
        calc::SpurGearData.CalcMethod = method;
        calc::CalcNoncircularPair();
        const std::vector<std::string> pair = common::PairMessages();
        if (pair.empty() || pair.back().rfind("Warning: list full", 0) != 0) continue;
        ++full;
        const auto shown = [&](const std::string& text) { return std::count(pair.begin(), pair.end(), text) > 0; };
        const bool noteShown = std::ranges::any_of(pair, [&](const auto& t) { return std::regex_match(t, note); });
        const auto ratingLeftOut = [&](const auto& m) { return !shown(m.text) && std::regex_match(m.text, rating); };
        EXPECT_FALSE(noteShown && std::ranges::any_of(common::SaidMessages(), ratingLeftOut));
        common::AddErrorMessage("Error  : no STL file written");
        drawingtest::LoggingBackEnd log;
        drawing::ScopedCadBackEnd screen(drawing::CadDeviceScreen, log);
        drawing::DrawQuickSheet(3, drawing::CadDeviceScreen);
        std::vector<std::string> table;
        for (const Figure& f : log.figures)
          if (!f.text.empty() && (shown(f.text.substr(1)) || f.text == " Error  : no STL file written"))
            table.push_back(f.text.substr(1));
        EXPECT_EQ(table, pair);
        EXPECT_TRUE(common::ShownMessagesAreCalculated());
      }
  EXPECT_GE(full, 8) << "too few designs fill the list";
}

}  // namespace
