// Quick sheets and the redraw after a calculation; see quick_sheets.h.
#include "drawing/quick_sheets.h"

#include <algorithm>
#include <string>

#include "calc/calc_records.h"
#include "calc/pitch_radius_table.h"
#include "calc/spur_gear_data.h"
#include "common/kaldvar.h"
#include "common/message_help.h"
#include "common/message_list.h"
#include "common/small_dialogs.h"
#include "drawing/cad/cad_blocks.h"
#include "drawing/cad/cad_output.h"
#include "drawing/drawing_frame.h"
#include "drawing/fatal_design_view.h"
#include "drawing/gear_pictures.h"
#include "drawing/phi_diagrams.h"
#include "drawing/polar_diagram.h"
#include "drawing/rotated_frame.h"
#include "drawing/sheet_texts.h"
#include "drawing/text_table.h"
#include "drawing/xy_diagram.h"

namespace drawing {

namespace {

// Where each sheet places its parts (mm on the sheet).
struct TSheetLayout {
  Real scaleDivisor;
  Real gearX, gearY;  // gearX is added to s (r1max + 1.5 mn)
  Real headingX, headingY, headingH;
  Real descriptionX, descriptionY, descriptionH;
  Real tableX, tableY, tableH;
  Real messagesX, messagesY, messagesH, messagesWidth, messagesHeight;
};

const TSheetLayout Layouts[5] = {
    {},
    {4.5L, 0, 40, 2, 117, 2, 2, 104, 1.9L, 80, 119, 2, 80, 42, 2, 44, 42},
    {3.5L, 0, 40, 2, 117, 2, 2, 104, 1.5L, 100, 119, 1.5L, 100, 60, 1.5L, 44, 56},
    {4.0L, 0, 60, 110, 117, 1.25L, 110, 62, 1.2L, 110, 110, 1.2L, 110, 25, 1.2L, 44, 28},
    {1.6L, 24, 180, 24, 280, 2.5L, 306, 186, 2.5L, 306, 284, 2.5L, 246, 284, 2.5L, 24, 50},
};

// The title of the sheet's title block: each text as gear 1's + "/" +
// gear 2's.
TSheetTitle QuickSheetTitle() {
  const auto& g = calc::SpurGearData;
  return {g.DrawingNumber[1] + "/" + g.DrawingNumber[2], g.DrawingName[1] + "/" + g.DrawingName[2],
          g.DrawingName2[1] + "/" + g.DrawingName2[2]};
}

// A diagram in its place on the sheet; one that has nothing to show for
// the drive (no speed, no load) says so in its place.
void PlaceDiagram(int code, Real width, Real height, Real x, Real y) {
  if (common::FatalFlag) return;
  SetDiagramSize(width, height);
  SetDiagramOrigin(x, y);
  DrawPhiDiagram(code);
}

// The lowest y a text of the sheet may take: the frame's bottom edge and a
// margin as high as a small text (the screen writes its footer line into
// the lowest millimetre of sheets 1 to 3).
Real SheetBottom(int sheet) { return sheet == 4 ? SheetBorder(SheetA3).y1 + 1 : 1.5L; }

}  // namespace

TMessageTableRoom MessageTableRoom(Real top, Real h, Real height, Real above, Real bottom, int rows) {
  // Not into what stands above it, with a gap of one row.
  top = std::min(top, above - h);
  // The rows in the height the sheet gives them, at most h high each.
  const Real need = std::min(2 * h * std::max(rows, 1), height);
  // Every row above the sheet's bottom: the table moves up into the free
  // room below what stands above it when its place is too low for its
  // rows; the letters shrink only when that room is too small as well.
  if (top - need < bottom) top = std::max(top, std::min(above - h, bottom + need));
  return {top, std::max<Real>(std::min(height, top - bottom), 0)};
}

Real QuickSheetGearScale(int sheet, Real centreDistance) {
  if (sheet < 1 || sheet > 4 || centreDistance <= 0) return 1;
  return 160 / centreDistance / Layouts[sheet].scaleDivisor;
}

void DrawQuickSheet(std::uint16_t sheet, std::uint16_t device) {
  if (common::FatalFlag) {
    ShowFatalDesign();
    return;
  }
  if (sheet == 0) {
    for (int i = 1; i <= 4; ++i) common::TextLines[i] = "Quick " + std::to_string(i);
    int choice = 1;
    common::SelectFromList("select", 4, choice);
    if (common::AbortFlag) return;
    sheet = static_cast<std::uint16_t>(choice);
  }
  if (sheet < 1 || sheet > 4) return;
  // The gear pair and the diagrams ask for the same radii.
  const calc::PitchRadiusTableScope radii;
  CadOpenOutput(device);
  if (common::AbortFlag) return;
  BeginDiagram();
  BeginPolarDiagram();
  if (sheet == 4)
    DrawFrameSmall(SheetA3);
  else
    CadDefaultFrame();
  CadBeginTables(0);
  CadBeginBlocksSection();
  if (sheet == 4) {
    CadBeginBlock("frame_1");
    DrawDrawingFrame(SheetA3, QuickSheetTitle());
    CadEndBlock();
  }
  CadBeginBlock("gear0");
  SetRotatedFrame(0, 0, 0);
  DrawGearPair(0);
  CadEndBlock();
  CadEndSection();

  const TSheetLayout& l = Layouts[sheet];
  const auto& p = calc::NcPair;
  const Real s = QuickSheetGearScale(sheet, p.a);
  const Real mn = calc::SpurGearData.NormalModule;
  CadInsertLogos();
  if (sheet == 4) CadInsertBlock("frame_1", 0, 0, 0, 1, 1);
  CadInsertBlock("gear0", s * (calc::RadiusExtremes.r1max + 1.5L * mn) + l.gearX, l.gearY, 0, s, s);
  DrawSheetHeading(l.headingH, l.headingX, l.headingY);
  // The description (sheets 3, 4) or the message table (sheets 1, 2) stands
  // below the data table; a table longer than its room pushes it down
  // instead of writing over it.
  const Real tableBottom = DrawGearDataTable(l.tableX, l.tableY, l.tableH);
  Real descriptionY = l.descriptionY;
  if (l.descriptionX == l.tableX) descriptionY = std::min(descriptionY, tableBottom - l.descriptionH);
  const Real descriptionBottom = DrawPitchCurveDescription(l.descriptionX, descriptionY, l.descriptionH);
  // What stands above the message table in its column.
  Real above = 1e9L;
  if (l.messagesX == l.tableX) above = std::min(above, tableBottom);
  if (l.messagesX == l.descriptionX) above = std::min(above, descriptionBottom);
  const TMessageTableRoom room =
      MessageTableRoom(l.messagesY, l.messagesH, l.messagesHeight, above, SheetBottom(sheet),
                       static_cast<int>(common::PairMessages().size()));
  DrawTextTableAt(l.messagesX, room.top, l.messagesH, l.messagesWidth, room.height);
  if (sheet == 3) {
    PlaceDiagram(7, 80, 20, 10, 4);
    PlaceDiagram(3, 80, 20, 10, 95);
  } else if (sheet == 4) {
    PlaceDiagram(7, 160, 32, 50, 16);
    PlaceDiagram(3, 160, 32, 50, 60);
    PlaceDiagram(8, 140, 32, 250, 60);
  }
  CadEndSection();
  CadCloseOutput();
}

void RedrawCurrentView() {
  if (common::AbortFlag) return;
  switch (common::ResultGraphic) {
    case 1: DrawQuickSheet(1, CadDeviceScreen); break;
    case 3:
    case 5: DrawGears(0, CadDeviceScreen); break;
    case 4: ShowDiagrams(15, CadDeviceScreen); break;
    case 6: DrawQuickSheet(4, CadDeviceScreen); break;
    default: DrawQuickSheet(3, CadDeviceScreen); break;
  }
}

}  // namespace drawing
