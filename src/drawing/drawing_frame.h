// The frame of a technical drawing sheet A1 to A4: trimmed sheet outline,
// drawing border with grid reference zones and millimetre graduation, the
// title block (its layout by FrameStyle), the revision table of the change
// records, the notice on the protection of the document and the footer
// texts. Everything goes through the primitives of the drawing interface
// (cad_output.h), so the frame looks alike on the screen and in every CAD
// file. Customer parts of the title block ("$logo_1.dx$", "$head_0.dx$",
// "$insert_3.dx$", ...) are DXF files the user keeps in the temporary
// directory; they are placed when present and never deleted.
//
//   DrawFrameSmall(3);                       // head of an A3 sheet
//   ... CadBeginBlock("frame_1");
//   DrawDrawingFrame(3, {"12-001/12-002", "Drive", "Cam"});
#pragma once

#include <string>

#include "common/real.h"

namespace drawing {

// Sheet codes: 1 A1, 2 A2, 3 A3 (landscape), 4 A4 (portrait); mm.
enum SheetCode : int { SheetA1 = 1, SheetA2 = 2, SheetA3 = 3, SheetA4 = 4 };

// The texts of the title block that the caller hands in.
struct TSheetTitle {
  std::string Identifier;  // drawing number
  std::string Title;
  std::string Subtitle;    // supplementary title
};

struct TSheetRect {
  Real x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// The sheet's trimmed outline and its drawing border (with the border
// variant of FrameStyle and FrameVariant on A3 and A4).
TSheetRect SheetOutline(int sheet);
TSheetRect SheetBorder(int sheet);
// Width and height of the title block of the current FrameStyle.
Real TitleBlockWidth();
Real TitleBlockHeight();

// The whole frame of a sheet: outline, border, title block, protection
// notice, revision table, zones and footer texts.
void DrawDrawingFrame(int sheet, const TSheetTitle& title = {});
// The title block with its origin at the lower left corner of the block
// (the caller sets the drawing origin there), then the part files.
void DrawTitleBlock(int sheet, const TSheetTitle& title = {});
// The revision table on top of the title block (block origin as above):
// only with the changes-block frame option and change records.
void DrawRevisionTable(int sheet);
// The five-line notice in the left margin of A3 and A4 sheets.
void DrawProtectionNotice(int sheet);
// Grid references along the border edges and the graduation along its
// bottom and left edges.
void DrawFrameZones(int columns, int rows, const TSheetRect& border);
// Revision index n (1 = first) by RevisionIndexStyle: a, b ...; 1, 2 ...;
// A, B ...; or nothing.
std::string RevisionIndexText(int n);
// The drawing head of an A3 (3) or A4 (4) sheet for the quick sheets; other
// codes do nothing.
void DrawFrameSmall(int sheet);

// Whether the drawing border uses the narrow ISO 7200 variant.
bool IsoBorderVariant(int sheet);
// The number of revision rows the table shows (at most 8).
int RevisionRowCount();

}  // namespace drawing
