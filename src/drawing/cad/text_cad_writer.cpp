// The text CAD writer and its back end; see text_cad_writer.h.
#include "drawing/cad/text_cad_writer.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <utility>

#include "common/cad_settings.h"
#include "common/code_page.h"
#include "common/file_checks.h"
#include "common/kaldvar.h"
#include "common/numeric_routines.h"
#include "common/text_file.h"
#include "common/text_utils.h"
#include "drawing/cad/cad_back_ends.h"
#include "drawing/cad/cad_output.h"
#include "drawing/cad/dxf_writer.h"

namespace drawing {

namespace {

void Record(const std::string& keyword, std::initializer_list<std::string> fields) {
  std::string line = keyword;
  for (const std::string& field : fields) line += "\t" + field;
  common::WriteTextLine(line);
}

}  // namespace

std::string TxtNumber(Real x) {
  std::string text = DxfRealText(x);
  if (text.size() < 3) text.insert(0, 3 - text.size(), ' ');
  if (common::DecimalSign == 2) text = common::PointToComma(text);
  return text;
}

void TxtLine(Real x1, Real y1, Real x2, Real y2) {
  Record("LINE", {TxtNumber(x1), TxtNumber(y1), TxtNumber(x2), TxtNumber(y2)});
}

void TxtCircle(Real x, Real y, Real r) { Record("CIRCLE", {TxtNumber(x), TxtNumber(y), TxtNumber(r)}); }

void TxtArc(Real x, Real y, Real a1, Real a2, Real r) {
  if (common::SameReal(a1, a2) || (common::SameReal(a1, 0) && common::SameReal(a2, 360)) ||
      (common::SameReal(a1, 360) && common::SameReal(a2, 0))) {
    TxtCircle(x, y, r);
    return;
  }
  Record("ARC", {TxtNumber(x), TxtNumber(y), TxtNumber(r), TxtNumber(a1), TxtNumber(a2)});
}

void TxtText(const std::string& text, Real x, Real y) {
  Record("TEXT", {TxtNumber(x), TxtNumber(y), common::TextForCadFile(text)});
}

void TxtSolid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) {
  Record("SOLID", {TxtNumber(x1), TxtNumber(y1), TxtNumber(x2), TxtNumber(y2), TxtNumber(x3), TxtNumber(y3),
                   TxtNumber(x4), TxtNumber(y4)});
}

void TxtInsert(const std::string& name, Real x, Real y, Real angle, Real sx, Real sy) {
  Record("INSERT", {name, TxtNumber(x), TxtNumber(y), TxtNumber(angle), TxtNumber(sx), TxtNumber(sy)});
}

void TxtMinMax(Real xmin, Real ymin, Real xmax, Real ymax) {
  Record("MINMAX", {TxtNumber(xmin), TxtNumber(ymin), TxtNumber(xmax), TxtNumber(ymax)});
}

void TxtBeginBlock(const std::string& name) { Record("BLOCK", {name}); }
void TxtEndBlock() { common::WriteTextLine("END OF BLOCK"); }
void TxtBeginBlocksSection() { common::WriteTextLine("SECTION BLOCKS"); }
void TxtBeginEntities() { common::WriteTextLine("SECTION ENTITIES"); }

void TxtWriteEof() {
  common::WriteTextLine("EOF");
  common::CloseFileChecked(common::SharedTextFile);
}

void TxtColour(int pen) { DxfSelectLayer(pen); }

namespace {

class TextCadDevice : public CadBackEnd {
 public:
  std::string FileExtension() const override { return "txt"; }
  bool OpensAfterOutput() const override { return true; }
  void Open() override { OpenCadOutputFile(); }
  void Close() override { TxtWriteEof(); }
  void DrawingFrame(Real x1, Real y1, Real x2, Real y2) override { TxtMinMax(x1, y1, x2, y2); }
  void BeginBlocksSection() override { TxtBeginBlocksSection(); }
  void BeginBlock(const std::string& name) override { TxtBeginBlock(name); }
  void EndBlock() override { TxtEndBlock(); }
  void BeginEntities() override { TxtBeginEntities(); }
  void SelectPen(int pen) override { TxtColour(pen); }
  void Line(Real x1, Real y1, Real x2, Real y2) override { TxtLine(x1, y1, x2, y2); }
  void Circle(Real x, Real y, Real r) override { TxtCircle(x, y, r); }
  void Arc(Real x, Real y, Real startAngle, Real endAngle, Real r, Real sweep) override {
    // The record has no sense of direction; readers take it counter-clockwise
    // like a DXF arc, so a clockwise arc is written from its end.
    if (sweep < 0) std::swap(startAngle, endAngle);
    TxtArc(x, y, startAngle, endAngle, r);
  }
  void Text(const std::string& text, Real x, Real y) override { TxtText(text, x, y); }
  void Solid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) override {
    TxtSolid(x1, y1, x2, y2, x3, y3, x4, y4);
  }
  void InsertBlock(const std::string& name, Real x, Real y, Real angle, Real sx, Real sy) override {
    TxtInsert(name, x, y, angle, sx, sy);
  }
};

}  // namespace

CadBackEnd& TextCadBackEnd() {
  static TextCadDevice device;
  return device;
}

}  // namespace drawing
