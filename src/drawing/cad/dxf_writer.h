// The DXF writer: group/value lines, the header, the tables, the block and
// entity records, over SharedTextFile (common/text_file.h), which the caller
// has opened. Used for DXF output files (device 1), for the file of the
// external plot utility, and for the part files in which the screen and the
// STL device record their blocks (cad_blocks.cpp). Every line ends with CR
// LF; numbers are written with a point whatever the locale.
#pragma once

#include <string>

#include "common/real.h"
#include "drawing/cad/cad_device.h"

namespace drawing {

// ---- Line level --------------------------------------------------------------
// The group code right-aligned in 3 characters ("  0", "230").
void DxfWriteGroupCode(int code);
void DxfWriteValue(const std::string& text);
// CadDecimals decimals and a point.
void DxfWriteReal(Real value);
void DxfWriteInt(long long value);
// The bulge of an arc piece spanning angle (radians): tan(angle / 4).
Real DxfBulge(Real angle);
// The text of a real value (what DxfWriteReal writes): CadDecimals decimals
// and a point; a value that is no number as 0. The IGES and text CAD files
// write their coordinates with it too, so that every CAD file holds a
// drawing to the same precision.
std::string DxfRealText(Real value);

// ---- Layers ------------------------------------------------------------------
// CadCurrentLayer := "0" for pen 0 and CadLayerNames[pen] for pens 1..5
// while CadLineMode is 0; else the pen number ("7", "16").
void DxfSelectLayer(int pen);
// The layer name of a pen as DxfSelectLayer chooses it.
std::string DxfLayerName(int pen);

// ---- Sections ----------------------------------------------------------------
void DxfWriteHeader(Real x1, Real y1, Real x2, Real y2);
// mode 0: named layers; 1: layers "0".."15"; 2: named layers and "16".."31".
void DxfWriteTables(int mode);
void DxfBeginBlocksSection();
void DxfBeginEntities();
void DxfEndSection();
void DxfBeginBlock(const std::string& name);
void DxfEndBlock();
// The end record "EOF"; then the file is closed (a failed close sets
// AbortFlag and keeps a previous file of the name).
void DxfWriteEof();

// ---- Entities (on CadCurrentLayer; the colour comes from the layer) ----------
void DxfLine(Real x1, Real y1, Real x2, Real y2);
void DxfCircle(Real x, Real y, Real r);
// Written counter-clockwise: a negative sweep exchanges the two angles.
void DxfArc(Real x, Real y, Real a1, Real a2, Real r, Real sweep);
// Text with the size, angle and slant of the drawing state; converted for
// the file (TextForCadFile) when convert is set.
void DxfText(const std::string& text, Real x, Real y, bool convert = true);
void DxfSolid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4);
void DxfInsert(const std::string& name, Real x, Real y, Real angle, Real sx, Real sy);
void DxfWritePolyline(int flags);
void DxfVertex(Real x, Real y, Real bulge);
void DxfSeqEnd();

// The DXF back end: every primitive as its DXF entity into SharedTextFile.
// The DXF file device (1) adds the file naming and the end record; the plot
// utility's device derives from it, and the part files of recorded blocks
// are written by an instance that leaves texts unconverted (they are
// replayed on the screen, which converts them itself).
class DxfBackEnd : public CadBackEnd {
 public:
  explicit DxfBackEnd(bool convertTexts = true) : convertTexts_(convertTexts) {}

  bool WritesNativePolylines() const override { return true; }
  void DrawingFrame(Real x1, Real y1, Real x2, Real y2) override;
  void BeginTables(int mode) override;
  void BeginBlocksSection() override;
  void BeginBlock(const std::string& name) override;
  void EndBlock() override;
  void EndSection() override;
  void BeginEntities() override;
  void SelectPen(int pen) override;
  void Line(Real x1, Real y1, Real x2, Real y2) override;
  void Circle(Real x, Real y, Real r) override;
  void Arc(Real x, Real y, Real startAngle, Real endAngle, Real r, Real sweep) override;
  void Text(const std::string& text, Real x, Real y) override;
  void Solid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) override;
  void InsertBlock(const std::string& name, Real x, Real y, Real angle, Real sx, Real sy) override;
  void PolylineBegin(int flags) override;
  void PolylineVertex(Real x, Real y, Real bulge) override;
  void PolylineEnd() override;

 private:
  bool convertTexts_;
};

// The writer of recorded block part files (texts unconverted).
DxfBackEnd& DxfBlockRecorder();

}  // namespace drawing
