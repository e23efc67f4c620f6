// The screen device (3): the primitives drawn in the graphics window through
// its procedural facade (common/graphics_facade.h). Blocks are recorded in
// memory and replayed at each insert (recorded_blocks.h); the logos are
// placed here.
#include <cmath>

#include "common/cad_settings.h"
#include "common/graphics_facade.h"
#include "common/graphics_window.h"
#include "drawing/cad/cad_back_ends.h"
#include "drawing/cad/cad_blocks.h"
#include "drawing/cad/cad_state.h"
#include "drawing/cad/recorded_blocks.h"

namespace drawing {

using common::CadSettings;

namespace {

// The largest coordinate (mm) the screen draws, as the STL file holds: a
// picture reaching beyond 1000 km is no drawing of a gear, and the window's
// pixel mapping would shrink it to nothing. Beyond it the picture stops
// with a message instead of ending empty without a word.
constexpr Real ScreenCoordinateLimit = 1e9L;

class ScreenDevice : public CadBackEnd {
 public:
  Real CoordinateLimit() const override { return ScreenCoordinateLimit; }
  bool RecordsBlocksAsFiles() const override { return true; }
  bool RecordsBlocksInMemory() const override { return true; }
  bool PlacesLogos() const override { return true; }

  void Open() override {
    DeleteRecordedBlocks();
    common::ClearGraphics();
    common::WaitCursor();
  }
  void Close() override {
    // What the printout dialog proposes depends on what is on the screen.
    if (CadDrawing.SheetFrameDrawn || CadDrawing.DrawingSheetFormat >= 2)
      common::PrintPictureKind = common::PictureSheet;
    else
      common::PrintPictureKind = CadDrawing.DrawingSheetFormat == 1 ? common::PictureDiagram : common::PictureDrawing;
    common::GraphClearViewPort();
    common::NormalCursor();
    DeleteRecordedBlockFiles();
    DeleteRecordedBlocks();
  }
  // A stopped picture shows what was drawn up to the figure that stopped
  // it; the blocks and the busy cursor go as after any picture.
  void Abandon() override {
    common::GraphClearViewPort();
    common::NormalCursor();
    DeleteRecordedBlockFiles();
    DeleteRecordedBlocks();
  }
  void DrawingFrame(Real x1, Real y1, Real x2, Real y2) override { common::GraphHeader(x1, y1, x2, y2); }
  void BeginEntities() override {
    common::GraphClearViewPort();
    common::GraphLineStyle(0);
  }

  void SelectPen(int pen) override {
    const int mode = CadSettings.CadLineMode;
    if (pen <= 5 && mode == 0) {
      common::GraphLineStyle(pen == 1 ? 2 : pen == 2 ? 3 : 0);
      common::GraphDosColor(CadSettings.CadLayerColours[pen]);
    } else {
      if (mode == 0) common::GraphLineStyle(0);
      if (mode != 2 && pen >= 16 && pen <= 31) common::GraphDosColor(CadSettings.CadPenColours[pen]);
      if (mode == 2 && pen == 0) common::GraphDosColor(0);
    }
    int width = 1;
    if (pen >= 1 && pen <= 5) width = CadSettings.CadLayerLineWidths[pen];
    if (pen >= 16 && pen <= 31 && CadSettings.CadPenWidths[pen] >= 2 && CadSettings.CadPenWidths[pen] <= 50)
      width = CadSettings.CadPenWidths[pen];
    // The erasing pen of an animation is wider than the lines it removes,
    // so that their smoothed edges go with them; the pens of the picture
    // drawn with it change neither its colour nor its width.
    if (mode == 2) {
      if (pen == 0) common::GraphLineWidth(3);
      return;
    }
    common::GraphLineWidth(width);
  }
  // The screen's pixels are square (one millimetre is as many pixels
  // across as down): a slanted text runs at its own angle along the lines
  // it labels, without a correction.
  void TextSizeChanged(int font, Real width) override {
    common::GraphTextStyle(font, CadDrawing.CadTextAngle, CadDrawing.CadTextHeight, 0.95L * width);
  }
  void SetPenStyle(int style) override { common::GraphLineStyle(style); }
  void Delay(int milliseconds) override { common::GraphSleep(milliseconds); }

  void Line(Real x1, Real y1, Real x2, Real y2) override { common::GraphLine(x1, y1, x2, y2); }
  void Circle(Real x, Real y, Real r) override { common::GraphCircle(x, y, r); }
  void Arc(Real x, Real y, Real startAngle, Real endAngle, Real r, Real sweep) override {
    common::GraphArc(x, y, startAngle, endAngle, r, sweep);
  }
  void Text(const std::string& text, Real x, Real y) override { common::GraphText(x, y, text); }
  void Solid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) override {
    // The outline of a SOLID runs through its corners 1, 2, 4, 3.
    common::GraphSolid(x1, y1, x2, y2, x4, y4, x3, y3);
  }
};

}  // namespace

CadBackEnd& ScreenBackEnd() {
  static ScreenDevice device;
  return device;
}

}  // namespace drawing
