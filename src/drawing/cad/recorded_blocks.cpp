// Blocks recorded in memory; see recorded_blocks.h.
#include "drawing/cad/recorded_blocks.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <deque>
#include <utility>
#include <vector>

#include "common/chunked_array.h"
#include "common/kaldvar.h"
#include "common/memo_math.h"
#include "common/number_format.h"
#include "common/numeric_routines.h"
#include "common/text_file.h"
#include "common/text_utils.h"
#include "drawing/cad/cad_output.h"
#include "drawing/cad/cad_state.h"
#include "drawing/cad/insert_transform.h"
#include "drawing/cad/dxf_writer.h"

namespace drawing {

namespace {

// LineOn: a line that starts where the line before it ends (an outline
// drawn as a polyline); only its end is kept, after the end of that line.
enum class Kind : std::uint8_t { Line, LineOn, Circle, Arc, Text, Solid, Insert };

// One entity of a block: its kind, the pen of its layer, its numbers in
// the block's values (from first on; a LineOn's from two places earlier)
// and, for a text or an insert, its text or block name.
struct Item {
  Kind kind = Kind::Line;
  std::int32_t pen = 0;
  std::uint32_t first = 0;
  std::uint32_t text = 0;
};

// Chunked: the gear block of a large pair holds hundreds of thousands of
// lines.
struct Block {
  std::string name;  // upper case
  common::TChunkedArray<Item> items;
  common::TChunkedArray<Real> values;
  std::vector<std::string> texts;
};

// A deque: recording a new block moves none of the others.
std::deque<Block>& Blocks() {
  static std::deque<Block> blocks;
  return blocks;
}

Block* Find(const std::string& name) {
  const std::string key = common::UpperText(name);
  for (Block& b : Blocks())
    if (b.name == key) return &b;
  return nullptr;
}

// A number as a part file holds it: a value that is no number is written
// as 0.
Real Stored(Real v) { return std::isfinite(v) ? v : 0; }

// A text style value as a part file holds it: three significant digits,
// read back as the reader reads them.
Real StyleValue(Real v, Real fallback) {
  Real x = fallback;
  if (!common::ParseRealLine(common::RealToTextDot(v), x)) x = fallback;
  return x;
}

// The recorder: each primitive into the open block, with the pen of the
// layer that a part file would carry (the layer chosen by the last pen).
class Recorder : public CadBackEnd {
 public:
  void Start(Block* block) { block_ = block; }
  void Stop() { block_ = nullptr; }
  bool Recording() const { return block_ != nullptr; }

  void SelectPen(int pen) override { DxfSelectLayer(pen); }
  void Line(Real x1, Real y1, Real x2, Real y2) override {
    if (ContinuesLastLine(Stored(x1), Stored(y1)))
      Add(Kind::LineOn, {x2, y2});
    else
      Add(Kind::Line, {x1, y1, x2, y2});
  }
  void Circle(Real x, Real y, Real r) override { Add(Kind::Circle, {x, y, r}); }
  void Arc(Real x, Real y, Real startAngle, Real endAngle, Real r, Real sweep) override {
    // Kept counter-clockwise, as the part file writes an arc.
    if (sweep < 0) std::swap(startAngle, endAngle);
    Add(Kind::Arc, {x, y, r, startAngle, endAngle});
  }
  void Text(const std::string& text, Real x, Real y) override {
    Add(Kind::Text,
        {x, y, CadDrawing.CadTextHeight, StyleValue(CadDrawing.CadTextWidthFactor, 1),
         StyleValue(CadDrawing.CadTextAngle, 0)},
        &text);
  }
  void Solid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) override {
    Add(Kind::Solid, {x1, y1, x2, y2, x3, y3, x4, y4});
  }
  void InsertBlock(const std::string& name, Real x, Real y, Real angle, Real sx, Real sy) override {
    const std::string trimmed = common::TrimBlanks(name);
    Add(Kind::Insert, {x, y, angle, sx, sy}, &trimmed);
  }

 private:
  int LayerPen() {
    if (CadDrawing.CadCurrentLayer != layer_ || !layerKnown_) {
      layer_ = CadDrawing.CadCurrentLayer;
      pen_ = DxfLayerPen(layer_);
      layerKnown_ = true;
    }
    return pen_;
  }
  // Whether the last entity is a line that ends at (x, y), bit for bit.
  bool ContinuesLastLine(Real x, Real y) const {
    if (!block_ || block_->items.empty()) return false;
    const Kind last = block_->items.back().kind;
    const auto& v = block_->values;
    return (last == Kind::Line || last == Kind::LineOn) && common::memo_detail::SameArgument(v[v.size() - 2], x) &&
           common::memo_detail::SameArgument(v.back(), y);
  }
  void Add(Kind kind, std::initializer_list<Real> values, const std::string* text = nullptr) {
    if (!block_) return;
    Item item;
    item.kind = kind;
    item.pen = LayerPen();
    item.first = static_cast<std::uint32_t>(block_->values.size());
    for (const Real v : values) block_->values.push_back(Stored(v));
    if (text) {
      item.text = static_cast<std::uint32_t>(block_->texts.size());
      block_->texts.push_back(*text);
    }
    block_->items.push_back(item);
  }

  Block* block_ = nullptr;
  std::string layer_;
  int pen_ = 0;
  bool layerKnown_ = false;
};

Recorder& TheRecorder() {
  static Recorder recorder;
  return recorder;
}

// The block's entities drawn as the DXF reader draws those of a part file.
void Draw(const Block& block, const NestedBlockInsert& insertNested) {
  const TDxfInsertTransform& t = DxfTransform;
  for (std::size_t i = 0; i < block.items.size() && !common::AbortFlag; ++i) {
    const Item& item = block.items[i];
    // The entity's numbers (at most eight; a LineOn's start with the end of
    // the line before it).
    Real v[8];
    const std::size_t base = item.kind == Kind::LineOn ? item.first - 2 : item.first;
    const std::size_t count = std::min<std::size_t>(8, block.values.size() - base);
    for (std::size_t k = 0; k < count; ++k) v[k] = block.values[base + k];
    Real x[4], y[4];
    switch (item.kind) {
      case Kind::Line:
      case Kind::LineOn:
        MapDxfPoint(v[0], v[1], x[0], y[0]);
        MapDxfPoint(v[2], v[3], x[1], y[1]);
        SetCadColor(item.pen);
        CadLine(x[0], y[0], x[1], y[1]);
        break;
      case Kind::Circle:
        MapDxfPoint(v[0], v[1], x[0], y[0]);
        SetCadColor(item.pen);
        CadCircle(x[0], y[0], v[2] * t.sx);
        break;
      case Kind::Arc: {
        MapDxfPoint(v[0], v[1], x[0], y[0]);
        const Real sweep = common::AngleDiff360(v[3], v[4], 1);
        SetCadColor(item.pen);
        CadArc(x[0], y[0], v[3] + t.angle, v[4] + t.angle, v[2] * t.sx, sweep);
        break;
      }
      case Kind::Text:
        MapDxfPoint(v[0], v[1], x[0], y[0]);
        SetCadColor(item.pen);
        SetCadTextSize(0, t.angle + v[4], t.sy * v[2], t.sx * v[3] * v[2]);
        CadText(block.texts[item.text], x[0], y[0]);
        break;
      case Kind::Solid:
        for (int k = 0; k < 4; ++k) MapDxfPoint(v[2 * k], v[2 * k + 1], x[k], y[k]);
        SetCadColor(item.pen);
        CadSolid(x[0], y[0], x[1], y[1], x[2], y[2], x[3], y[3]);
        break;
      case Kind::Insert:
        insertNested(block.texts[item.text], v[0], v[1], v[2], v[3], v[4]);
        SetCadColor(item.pen);
        break;
    }
  }
}

}  // namespace

void BeginRecordedBlock(const std::string& name) {
  Block* block = Find(name);
  if (!block) block = &Blocks().emplace_back();
  *block = Block{common::UpperText(name), {}, {}, {}};
  TheRecorder().Start(block);
}

void EndRecordedBlock() { TheRecorder().Stop(); }

bool RecordingBlock() { return TheRecorder().Recording(); }

CadBackEnd& RecordedBlockTarget() { return TheRecorder(); }

bool ReplayRecordedBlock(const std::string& name, Real x, Real y, Real angle, Real sx, Real sy,
                         const NestedBlockInsert& insertNested) {
  if (!CurrentCadBackEnd().RecordsBlocksInMemory()) return false;
  const Block* block = Find(name);
  if (!block) return false;
  DrawWithinDxfInsert(x, y, angle, sx, sy, [&] { Draw(*block, insertNested); });
  return true;
}

void DeleteRecordedBlocks() {
  TheRecorder().Stop();
  Blocks().clear();
}

}  // namespace drawing
