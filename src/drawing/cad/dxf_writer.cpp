// The DXF writer; see dxf_writer.h.
//
// The files carry no version variable, so readers take them as R12. Arcs are
// always written counter-clockwise and without an extrusion direction:
// other readers take a negative extrusion z as a mirrored coordinate system,
// which turned clockwise arcs into their mirror images.
#include "drawing/cad/dxf_writer.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "common/cad_settings.h"
#include "common/code_page.h"
#include "common/file_checks.h"
#include "common/kaldvar.h"
#include "common/number_format.h"
#include "common/text_file.h"
#include "common/text_utils.h"
#include "drawing/cad/cad_back_ends.h"
#include "drawing/cad/cad_colours.h"
#include "drawing/cad/cad_output.h"
#include "drawing/cad/cad_state.h"

namespace drawing {

using common::CadSettings;

namespace {

// Decimals of a real value: the setting, kept within what a reader accepts.
int Decimals() { return std::clamp<int>(CadSettings.CadDecimals, 0, 18); }

void Pair(int code, const std::string& value) {
  DxfWriteGroupCode(code);
  DxfWriteValue(value);
}

void RealPair(int code, Real value) {
  DxfWriteGroupCode(code);
  DxfWriteReal(value);
}

// Text-style reals of TEXT entities: 3 significant digits and a point.
void StylePair(int code, Real value) { Pair(code, common::RealToTextDot(value)); }

void EntityHead(const std::string& name) {
  Pair(0, name);
  Pair(8, CadDrawing.CadCurrentLayer);
}

void DxfLtypeEntry(const std::string& name, const std::string& description) {
  Pair(0, "LTYPE");
  Pair(2, name);
  Pair(70, "64");
  Pair(3, description);
  Pair(72, "65");
}

// One entry of the LAYER table. colour is a CAD colour number; the entry
// gets the DXF colour nearest to the screen's colour for it.
struct LayerEntry {
  std::string name;
  int colour = 1;
  std::string lineType = "CONTINUOUS";
};

void DxfLayerEntry(const LayerEntry& layer) {
  Pair(0, "LAYER");
  Pair(2, layer.name);
  Pair(70, "0");
  DxfWriteGroupCode(62);
  DxfWriteInt(CadSettings.LayerMonochrome ? 1 : DxfColourNumber(layer.colour));
  Pair(6, layer.lineType);
}

// The layers of a drawing: those of the mode, then every other layer a pen
// can draw on (DxfLayerName), so that each entity's layer is defined
// whatever pen and line mode the picture chooses. A layer named twice keeps
// its first entry.
std::vector<LayerEntry> TableLayers(int mode) {
  std::vector<LayerEntry> layers;
  const auto add = [&layers](const std::string& name, int colour, const std::string& lineType = "CONTINUOUS") {
    for (const LayerEntry& layer : layers)
      if (layer.name == name) return;
    layers.push_back({name, colour, lineType});
  };
  if (mode == 1) {
    for (int n = 0; n <= 15; ++n) add(std::to_string(n), n + 1);
  } else {
    add("0", CadSettings.CadLayerColours[0]);
    add(CadSettings.CadLayerNames[1], CadSettings.CadLayerColours[1], "DASHDOT");
    add(CadSettings.CadLayerNames[2], CadSettings.CadLayerColours[2], "DASHED");
    for (int n = 3; n <= 5; ++n) add(CadSettings.CadLayerNames[n], CadSettings.CadLayerColours[n]);
  }
  // The pen numbers: pens 16..31 in their own colours, the others in the
  // colour of their number (as an IGES file colours them).
  for (int n = 0; n <= 31; ++n) add(std::to_string(n), n >= 16 ? CadSettings.CadPenColours[n] : n % 16 + 1);
  return layers;
}

// A text as DXF reads it: a caret followed by a character stands for a
// control character ("^J" is a line feed), and a caret followed by a blank
// for the caret itself. So a text holding a line break (a design's file
// name in the drawing head) stays one value line.
std::string DxfTextValue(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    if (static_cast<unsigned char>(c) < 32) {
      out.push_back('^');
      out.push_back(static_cast<char>(c + '@'));
      continue;
    }
    out.push_back(c);
    if (c == '^') out.push_back(' ');
  }
  return out;
}

}  // namespace

// ---- Line level ----------------------------------------------------------------

void DxfWriteGroupCode(int code) {
  const std::string text = std::to_string(code);
  common::WriteTextLine(text.size() < 3 ? std::string(3 - text.size(), ' ') + text : text);
}
void DxfWriteValue(const std::string& text) { common::WriteTextLine(text); }
std::string DxfRealText(Real value) {
  // A value that is no number would make the file unreadable.
  if (!std::isfinite(value)) value = 0;
  return common::FixedPointText(value, Decimals());
}
void DxfWriteReal(Real value) { common::WriteTextLine(DxfRealText(value)); }
void DxfWriteInt(long long value) { common::WriteTextLine(std::to_string(value)); }
Real DxfBulge(Real angle) { return std::tan(angle / 4); }

// ---- Layers --------------------------------------------------------------------

std::string DxfLayerName(int pen) {
  if (CadSettings.CadLineMode == 0 && pen >= 0 && pen <= 5)
    return pen == 0 ? std::string("0") : CadSettings.CadLayerNames[pen];
  return std::to_string(pen);
}

void DxfSelectLayer(int pen) { CadDrawing.CadCurrentLayer = DxfLayerName(pen); }

// ---- Sections ------------------------------------------------------------------

void DxfWriteHeader(Real x1, Real y1, Real x2, Real y2) {
  Pair(0, "SECTION");
  Pair(2, "HEADER");
  const char* names[4] = {"$EXTMIN", "$EXTMAX", "$LIMMIN", "$LIMMAX"};
  for (int i = 0; i < 4; ++i) {
    Pair(9, names[i]);
    RealPair(10, i % 2 == 0 ? x1 : x2);
    RealPair(20, i % 2 == 0 ? y1 : y2);
  }
  Pair(9, "$LTSCALE");
  Pair(40, "15");
  // Every coordinate is in millimetres, in the imperial system too (only
  // the texts show inches): the drawing units say so, and the measurement
  // system chooses the reader's line types and hatch patterns.
  Pair(9, "$INSUNITS");
  Pair(70, "4");
  Pair(9, "$MEASUREMENT");
  Pair(70, common::UnitSystem == common::UnitsImperial ? "0" : "1");
  Pair(0, "ENDSEC");
}

void DxfWriteTables(int mode) {
  Pair(0, "SECTION");
  Pair(2, "TABLES");
  Pair(0, "TABLE");
  Pair(2, "LTYPE");
  Pair(70, mode == 1 ? "17" : mode == 2 ? "23" : "6");
  DxfLtypeEntry("CONTINUOUS", "Ausgezogene Linie");
  Pair(73, "0");
  Pair(40, "0.0");
  DxfLtypeEntry("DASHDOT", "--. --. --.-");
  Pair(73, "4");
  Pair(40, "1.0");
  Pair(49, "0.5");
  Pair(49, "-0.25");
  Pair(49, "0.0");
  Pair(49, "-0.25");
  DxfLtypeEntry("DASHED", "- - - - - - ");
  Pair(73, "2");
  Pair(40, "0.375");
  Pair(49, "0.25");
  Pair(49, "-0.125");
  Pair(0, "ENDTAB");
  Pair(0, "TABLE");
  Pair(2, "LAYER");
  const std::vector<LayerEntry> layers = TableLayers(mode);
  DxfWriteGroupCode(70);
  DxfWriteInt(static_cast<long long>(layers.size()));
  for (const LayerEntry& layer : layers) DxfLayerEntry(layer);
  Pair(0, "ENDTAB");
  Pair(0, "TABLE");
  Pair(2, "STYLE");
  Pair(70, "1");
  Pair(0, "STYLE");
  Pair(2, "STANDARD");
  Pair(70, "0");
  Pair(40, "0.0");
  Pair(41, "1.0");
  Pair(50, "0.0");
  Pair(71, "0");
  Pair(42, "3.5");
  Pair(3, common::UpperText(CadSettings.CadTextFont));
  Pair(4, "");
  // The end of the style table has always been written with its group code
  // unpadded; readers take it the same.
  DxfWriteValue("0");
  DxfWriteValue("ENDTAB");
  Pair(0, "ENDSEC");
}

void DxfBeginBlocksSection() {
  Pair(0, "SECTION");
  Pair(2, "BLOCKS");
}

void DxfBeginEntities() {
  Pair(0, "SECTION");
  Pair(2, "ENTITIES");
}

void DxfEndSection() { Pair(0, "ENDSEC"); }

void DxfBeginBlock(const std::string& name) {
  EntityHead("BLOCK");
  Pair(2, name);
  Pair(70, "0");
  Pair(10, "0.0");
  Pair(20, "0.0");
}

void DxfEndBlock() { Pair(0, "ENDBLK"); }

void DxfWriteEof() {
  Pair(0, "EOF");
  common::CloseFileChecked(common::SharedTextFile);
}

// ---- Entities --------------------------------------------------------------------

void DxfLine(Real x1, Real y1, Real x2, Real y2) {
  EntityHead("LINE");
  RealPair(10, x1);
  RealPair(20, y1);
  RealPair(11, x2);
  RealPair(21, y2);
}

void DxfCircle(Real x, Real y, Real r) {
  EntityHead("CIRCLE");
  RealPair(10, x);
  RealPair(20, y);
  RealPair(40, r);
}

void DxfArc(Real x, Real y, Real a1, Real a2, Real r, Real sweep) {
  if (sweep < 0) std::swap(a1, a2);
  EntityHead("ARC");
  RealPair(10, x);
  RealPair(20, y);
  RealPair(40, r);
  RealPair(50, a1);
  RealPair(51, a2);
}

void DxfText(const std::string& text, Real x, Real y, bool convert) {
  EntityHead("TEXT");
  RealPair(10, x);
  RealPair(20, y);
  RealPair(40, CadDrawing.CadTextHeight);
  // The part files of recorded blocks are replayed by the program's own
  // reader, which takes a text in the program's code page; it reads carets
  // as every reader does.
  Pair(1, DxfTextValue(convert ? common::TextForCadFile(text) : text));
  Pair(7, "STANDARD");
  StylePair(41, CadDrawing.CadTextWidthFactor);
  StylePair(50, CadDrawing.CadTextAngle);
  StylePair(51, CadDrawing.CadTextSlant);
}

void DxfSolid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) {
  EntityHead("SOLID");
  RealPair(10, x1);
  RealPair(20, y1);
  RealPair(11, x2);
  RealPair(21, y2);
  RealPair(12, x3);
  RealPair(22, y3);
  RealPair(13, x4);
  RealPair(23, y4);
}

void DxfInsert(const std::string& name, Real x, Real y, Real angle, Real sx, Real sy) {
  EntityHead("INSERT");
  Pair(2, name);
  RealPair(10, x);
  RealPair(20, y);
  RealPair(41, sx);
  RealPair(42, sy);
  RealPair(50, angle);
}

void DxfWritePolyline(int flags) {
  EntityHead("POLYLINE");
  Pair(66, "1");
  if (flags != 0) {
    DxfWriteGroupCode(70);
    DxfWriteInt(flags);
  }
}

void DxfVertex(Real x, Real y, Real bulge) {
  EntityHead("VERTEX");
  RealPair(10, x);
  RealPair(20, y);
  if (bulge != 0) RealPair(42, bulge);
}

void DxfSeqEnd() { EntityHead("SEQEND"); }

// ---- Back end ----------------------------------------------------------------------

void DxfBackEnd::DrawingFrame(Real x1, Real y1, Real x2, Real y2) { DxfWriteHeader(x1, y1, x2, y2); }
void DxfBackEnd::BeginTables(int mode) { DxfWriteTables(mode); }
void DxfBackEnd::BeginBlocksSection() { DxfBeginBlocksSection(); }
void DxfBackEnd::BeginBlock(const std::string& name) { DxfBeginBlock(name); }
void DxfBackEnd::EndBlock() { DxfEndBlock(); }
void DxfBackEnd::EndSection() { DxfEndSection(); }
void DxfBackEnd::BeginEntities() { DxfBeginEntities(); }
void DxfBackEnd::SelectPen(int pen) { DxfSelectLayer(pen); }
void DxfBackEnd::Line(Real x1, Real y1, Real x2, Real y2) { DxfLine(x1, y1, x2, y2); }
void DxfBackEnd::Circle(Real x, Real y, Real r) { DxfCircle(x, y, r); }
void DxfBackEnd::Arc(Real x, Real y, Real startAngle, Real endAngle, Real r, Real sweep) {
  DxfArc(x, y, startAngle, endAngle, r, sweep);
}
void DxfBackEnd::Text(const std::string& text, Real x, Real y) { DxfText(text, x, y, convertTexts_); }
void DxfBackEnd::Solid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) {
  DxfSolid(x1, y1, x2, y2, x3, y3, x4, y4);
}
void DxfBackEnd::InsertBlock(const std::string& name, Real x, Real y, Real angle, Real sx, Real sy) {
  DxfInsert(name, x, y, angle, sx, sy);
}
void DxfBackEnd::PolylineBegin(int flags) { DxfWritePolyline(flags); }
void DxfBackEnd::PolylineVertex(Real x, Real y, Real bulge) { DxfVertex(x, y, bulge); }
void DxfBackEnd::PolylineEnd() { DxfSeqEnd(); }

DxfBackEnd& DxfBlockRecorder() {
  static DxfBackEnd recorder(false);
  return recorder;
}

namespace {

// Device 1: a DXF file the user names.
class DxfFileDevice : public DxfBackEnd {
 public:
  std::string FileExtension() const override { return "dxf"; }
  bool OpensAfterOutput() const override { return true; }
  void Open() override { OpenCadOutputFile(); }
  void Close() override { DxfWriteEof(); }
};

}  // namespace

CadBackEnd& DxfFileBackEnd() {
  static DxfFileDevice device;
  return device;
}

}  // namespace drawing
