// The insert transform of block replays: where a block's own coordinates
// land in the picture. The DXF reader (dxf_reader.h) places the entities of
// a part file or of an in-file block with it, and the screen's blocks in
// memory (recorded_blocks.h) are placed the same way, so that both look
// alike. Each insert composes its offset, angle and scales onto the
// transform in force, one nesting level deeper.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "common/real.h"

namespace drawing {

// A file point (x, y) is drawn at the point scaled by sx, sy, turned by
// angle (degrees) about the origin and moved by dx, dy.
struct TDxfInsertTransform {
  Real dx = 0, dy = 0, angle = 0, sx = 1, sy = 1;
};
extern TDxfInsertTransform DxfTransform;
// Files (and in-file blocks) being replayed, one inside the other.
extern std::int32_t DxfNestingLevel;
inline constexpr int MaxDxfNesting = 4;

// A point (x, y) of the block being replayed, placed by the transform in
// force.
void MapDxfPoint(Real x, Real y, Real& xr, Real& yr);
// The pen of a layer name: the pen whose name in CadLayerNames it is (0..5),
// else the name read as a number (0 when it is none).
int DxfLayerPen(const std::string& layer);

// Enters one nesting level with the insert (x, y, angle, sx, sy) composed
// onto the transform in force; false (message, AbortFlag) at a fifth level.
// The caller restores the transform and leaves the level afterwards.
bool EnterDxfInsert(Real x, Real y, Real angle, Real sx, Real sy);

// Runs draw one nesting level deeper, with the insert (x, y, angle, sx, sy)
// composed onto the transform in force and the drawing origin and text
// alignment of the picture set aside; afterwards everything is as before.
// At a fifth level draw is not run (message, AbortFlag).
void DrawWithinDxfInsert(Real x, Real y, Real angle, Real sx, Real sy, const std::function<void()>& draw);

}  // namespace drawing
