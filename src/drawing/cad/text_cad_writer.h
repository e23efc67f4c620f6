// The text CAD writer (device 5): every primitive becomes one line of a
// tab-separated text file that other programs read easily; a record is its
// keyword and its fields, each after one TAB, and ends with CR LF. Writes
// through SharedTextFile (common/text_file.h), opened by CadOpenOutput.
#pragma once

#include <string>

#include "common/real.h"

namespace drawing {

// A number of a record: "Decimals DXF,TXT" decimals, blank-padded to 3
// characters, with a comma when the decimal sign setting is 2.
std::string TxtNumber(Real x);

void TxtLine(Real x1, Real y1, Real x2, Real y2);
void TxtCircle(Real x, Real y, Real r);
// A full turn (a1 = a2, or 0 and 360) is written as a CIRCLE record.
void TxtArc(Real x, Real y, Real a1, Real a2, Real r);
void TxtText(const std::string& text, Real x, Real y);
void TxtSolid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4);
void TxtInsert(const std::string& name, Real x, Real y, Real angle, Real sx, Real sy);
void TxtMinMax(Real xmin, Real ymin, Real xmax, Real ymax);
void TxtBeginBlock(const std::string& name);
void TxtEndBlock();
void TxtBeginBlocksSection();
void TxtBeginEntities();
// "EOF", then the file is closed.
void TxtWriteEof();
// The current layer name as the DXF writer sets it; no record.
void TxtColour(int pen);

}  // namespace drawing
