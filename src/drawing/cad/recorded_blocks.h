// Blocks that the screen keeps in memory. A device that replays its blocks
// at every insert (cad_blocks.h) records them as DXF part files; the screen
// records them here instead: each primitive of the block with the pen that
// the part file's layer would give, in the block's coordinates. An insert
// replays the block as the DXF reader replays its part file (dxf_reader.h):
// the same transform, pens, origin and text alignment, the same primitives
// on the device, only without writing every number as text and reading it
// back, which took longer than the drawing of a large gear. A TEXT keeps
// the width factor and angle that the part file carries (3 significant
// digits), so that a text looks as it looked from the file.
//
//   BeginRecordedBlock("gear0");  ... primitives to RecordedBlockTarget() ...
//   EndRecordedBlock();
//   ReplayRecordedBlock("gear0", x, y, angle, sx, sy);   // at each insert
//
// The blocks live until the screen's output is opened or closed again
// (DeleteRecordedBlocks).
#pragma once

#include <functional>
#include <string>

#include "common/real.h"
#include "drawing/cad/cad_device.h"

namespace drawing {

// Starts recording the block name, in place of one of that name recorded
// before; what follows goes to RecordedBlockTarget until EndRecordedBlock.
void BeginRecordedBlock(const std::string& name);
void EndRecordedBlock();
bool RecordingBlock();
// The back end that records the primitives into the block being recorded.
CadBackEnd& RecordedBlockTarget();

// Replays the recorded block name (any case) at (x, y), turned by angle
// (degrees) and scaled by sx, sy, relative to the transform in force, as
// ReadDxfFile replays a part file; false when the current device keeps no
// block of that name in memory. A block that inserts another block hands
// that insert to insertNested (name, x, y, angle, sx, sy), the caller's way
// of finding blocks by name, so that this file need not know where named
// blocks come from.
using NestedBlockInsert = std::function<void(const std::string&, Real, Real, Real, Real, Real)>;
bool ReplayRecordedBlock(const std::string& name, Real x, Real y, Real angle, Real sx, Real sy,
                         const NestedBlockInsert& insertNested);

// Forgets every recorded block.
void DeleteRecordedBlocks();

}  // namespace drawing
