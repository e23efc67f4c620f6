// Shared set-up of the drawing tests: clean settings and drawing state, a
// scratch temporary directory, scripted dialogs that name the output file,
// a test picture that uses every primitive and a block, and a back end that
// logs what it receives (installed as the screen, so that blocks are
// recorded into part files and replayed as on the screen).
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "calc/calc_records.h"
#include "calc/noncircular_pair.h"
#include "calc/spur_gear_data.h"
#include "common/cad_settings.h"
#include "common/design_documentation.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "common/text_file.h"
#include "drawing/cad/cad_blocks.h"
#include "drawing/cad/cad_device.h"
#include "drawing/cad/cad_output.h"
#include "drawing/cad/cad_state.h"
#include "drawing/reference_designs.h"
#include "platform/scripted_dialogs.h"
#include "support/file_test_support.h"

namespace drawingtest {

class DrawingTest : public ::testing::Test {
 protected:
  explicit DrawingTest(const std::string& stem = "drawing") : scratch_(stem), scoped_(dialogs_) {}

  void SetUp() override {
    common::SetKaldvarDefaults();
    common::SetWkaldvarDefaults();
    common::InitCadSettings();
    common::ClearErrorMessages();
    drawing::InitCadDrawingState();
    common::CadBatchNaming = false;
    drawing::CadDevice = drawing::CadDeviceScreen;
    common::TempDirectory = scratch_.Dir().string();
  }
  void TearDown() override {
    common::SharedTextFile.Discard();
    drawing::DeleteRecordedBlockFiles();
  }

  // Opens an output on device with the save dialog answered by name (in the
  // scratch directory); returns the full name the dialog gave.
  std::string Open(drawing::CadDeviceCode device, const std::string& name) {
    const std::string path = scratch_.Path(name);
    dialogs_.Then(platform::ScriptedAnswer::File(path));
    drawing::CadOpenOutput(device);
    return path;
  }

  // The picture drawn by fn on device into the file name; returns the bytes.
  std::string Write(drawing::CadDeviceCode device, const std::string& name, const std::function<void()>& fn) {
    Open(device, name);
    EXPECT_EQ(common::AbortFlag, 0);
    fn();
    drawing::CadCloseOutput();
    return testsupport::Slurp(common::CadSettings.CadFileName);
  }

  testsupport::ScratchDirectory scratch_;
  platform::ScriptedDialogs dialogs_;
  platform::ScopedDialogs scoped_;
};

// A picture with lines, arcs of both senses, a circle, texts (one centred,
// one at an angle), a solid, a polyline with an arc piece, a block that is
// defined once and inserted turned and scaled, and a text with an umlaut
// (code page 850).
inline void DrawTestPicture() {
  using namespace drawing;
  CadDrawingFrame(0, 0, 160, 120, 0);
  CadBeginTables(0);
  CadBeginBlocksSection();
  SetCadColor(2);
  CadBeginBlock("MARK");
  CadLine(-2, 0, 2, 0);
  CadLine(0, -2, 0, 2);
  CadCircle(0, 0, 1.5L);
  CadEndBlock();
  CadEndSection();
  CadInsertLogos();
  SetCadColor(0);
  CadRectangle(10, 10, 150, 110);
  SetCadColor(1);
  CadLine(20, 20, 60, 40);
  SetCadColor(19);
  CadArc(80, 60, 0, 90, 20, 90);
  SetCadColor(21);
  CadArc(80, 60, 90, 0, 15, -90);
  SetCadColor(3);
  CadCircle(40, 80, 10);
  SetCadColor(4);
  SetCadTextSize(0, 0, 3.5L, 2.45L);
  CadText("Gear 1", 20, 100);
  SetCadTextAlign(1, 0);
  CadText("centred", 80, 100);
  SetCadTextAlign(0, 0);
  SetCadTextSize(0, 30, 5, 0);
  CadText("angled", 100, 20);
  SetCadColor(5);
  CadSolid(20, 50, 30, 50, 20, 55, 30, 55);
  SetCadColor(26);
  CadPolylineBegin(0);
  CadPolylineVertex(100, 40, 0);
  CadPolylineVertex(120, 40, std::numbers::pi_v<Real> / 2);
  CadPolylineVertex(130, 50, 0);
  CadPolylineVertex(140, 70, 0);
  CadPolylineEnd();
  SetCadColor(17);
  CadInsertBlock("MARK", 120, 90, 30, 2, 2);
  SetCadTextSize(0, 0, 2.5L, 0);
  CadText("Z\x84hne", 5, 5);
  CadEndSection();
}

// One figure a back end received, with the pen in force. Arcs are kept
// counter-clockwise (start and end exchanged for a negative sweep), as every
// file writes them.
struct Figure {
  std::string kind;
  int pen = 0;
  std::vector<Real> values;
  std::string text;
};

class LoggingBackEnd : public drawing::CadBackEnd {
 public:
  bool RecordsBlocksAsFiles() const override { return true; }
  void SelectPen(int pen) override { pen_ = pen; }
  void Line(Real x1, Real y1, Real x2, Real y2) override { Add("LINE", {x1, y1, x2, y2}); }
  void Circle(Real x, Real y, Real r) override { Add("CIRCLE", {x, y, r}); }
  void Arc(Real x, Real y, Real a1, Real a2, Real r, Real sweep) override {
    if (sweep < 0) std::swap(a1, a2);
    Add("ARC", {x, y, r, Wrap(a1), Wrap(a2), std::fabs(sweep)});
  }
  void Text(const std::string& text, Real x, Real y) override {
    Add("TEXT", {x, y, drawing::CadDrawing.CadTextHeight, Wrap(drawing::CadDrawing.CadTextAngle)}, text);
  }
  void Solid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) override {
    Add("SOLID", {x1, y1, x2, y2, x3, y3, x4, y4});
  }
  void InsertBlock(const std::string& name, Real x, Real y, Real angle, Real sx, Real sy) override {
    Add("INSERT", {x, y, angle, sx, sy}, name);
  }

  std::vector<Figure> figures;

 private:
  static Real Wrap(Real a) {
    Real w = std::fmod(a, 360.0L);
    if (w < 0) w += 360;
    if (w > 360 - 1e-6L) w = 0;
    return w;
  }
  void Add(const char* kind, std::vector<Real> values, const std::string& text = {}) {
    figures.push_back(Figure{kind, pen_, std::move(values), text});
  }
  int pen_ = 0;
};

// The figures as text, numbers to 3 decimals (for messages and plain
// comparisons of small pictures).
inline std::string Describe(const std::vector<Figure>& figures) {
  std::ostringstream out;
  for (const Figure& f : figures) {
    out << f.kind << " pen " << f.pen;
    for (const Real v : f.values) {
      char buffer[40];
      std::snprintf(buffer, sizeof buffer, " %.3Lf", std::fabs(v) < 5e-4L ? 0.0L : v);
      out << buffer;
    }
    if (!f.text.empty()) out << " \"" << f.text << "\"";
    out << "\n";
  }
  return out.str();
}

}  // namespace drawingtest
