// Drawing frame, title block, revision table and protection notice; see
// drawing_frame.h.
#include "drawing/drawing_frame.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "common/cad_settings.h"
#include "common/code_page.h"
#include "common/date_time.h"
#include "common/design_documentation.h"
#include "common/file_utils.h"
#include "common/graphics_facade.h"
#include "common/kaldvar.h"
#include "common/number_format.h"
#include "common/text_utils.h"
#include "drawing/cad/cad_blocks.h"
#include "drawing/cad/cad_output.h"
#include "drawing/cad/cad_state.h"

namespace drawing {

using common::CadSettings;

namespace {

constexpr int PenBorder = 0;
constexpr int PenRules = 17;
constexpr int PenTexts = 18;
constexpr int MaxRevisionRows = 8;
constexpr Real RevisionRowHeight = 3.5L;

bool FrameOption(int option) { return CadSettings.CadFrameOptions[option] != 0; }

int Style() {
  const int style = common::FrameStyle;
  return style <= 3 ? style : 2;
}

void Label(const std::string& text, Real x, Real y) {
  SetCadTextSize(2, 0, 1.6L, 1.3L);
  CadText(text, x, y);
}

void Value(const std::string& text, Real x, Real y) {
  SetCadTextSize(2, 0, 2.5L, 1.8L);
  CadText(text, x, y);
}

// A value fitted into the field width with the given height and width.
void FittedValue(const std::string& text, Real x, Real y, Real height, Real width, Real fieldWidth) {
  if (common::TrimBlanks(text).empty()) return;
  CadTextFitted(2, text, 0, height, width, fieldWidth);
  CadText(text, x, y);
}

// A name and a date of one title row as one value; an empty part is left
// out, so that an empty pair leaves the field empty.
std::string NameAndDate(int nameIndex, int dateIndex) {
  const std::string name = common::TrimBlanks(common::TitleBlock.Texts[nameIndex]);
  const std::string date = common::TrimBlanks(common::TitleBlock.Texts[dateIndex]);
  if (name.empty()) return date;
  if (date.empty()) return name;
  return name + "  " + date;
}

const std::string& TitleText(int index) { return common::TitleBlock.Texts[index]; }

// Title-block parts and the logo are DXF files replayed at their insert;
// only the screen replays them (a written insert of a block that the file
// does not define would leave the CAD file unreadable).
bool PlacesPartFiles() { return CadDevice == CadDeviceScreen; }

void InsertPart(const std::string& block, Real x, Real y) {
  if (PartFileExists("$" + block + ".dx$")) CadInsertBlockAtOrigin(block, x, y, 0, 1, 1);
}

// ---- Title-block styles -----------------------------------------------------------

void DrawIsoStyle2() {
  SetCadColor(PenRules);
  CadRectangle(0, 0, 180, 36);
  CadLine(74, 0, 74, 36);
  CadLine(0, 27, 180, 27);
  CadLine(74, 18, 180, 18);
  CadLine(128, 0, 128, 27);
  CadLine(128, 9, 180, 9);
  for (Real x : {136.0L, 160.0L, 170.0L}) CadLine(x, 0, x, 9);
  for (Real x : {31.0L, 116.0L, 158.0L}) CadLine(x, 27, x, 36);
  SetCadColor(PenTexts);
  Label("Responsible dept.", 1, 33.5L);
  Label("Technical reference", 32, 33.5L);
  Label("Created by", 75, 33.5L);
  Label("Approved by", 117, 33.5L);
  Label("Document type", 75, 24.5L);
  Label("Document status", 129, 24.5L);
  Label("Title, Supplementary title", 75, 15.5L);
  Label("Rev.", 129, 6.5L);
  Label("Date of issue", 137, 6.5L);
  Label("Lang.", 161, 6.5L);
  Label("Page", 171, 6.5L);
  FittedValue(TitleText(common::TitleResponsibleDept), 2, 29, 2.5L, 1.8L, 28);
  FittedValue(NameAndDate(common::TitleThirdName, common::TitleThirdDate), 33, 29, 2.5L, 1.8L, 41);
  FittedValue(NameAndDate(common::TitleFirstName, common::TitleFirstDate), 76, 29, 2.5L, 1.8L, 39);
  FittedValue(NameAndDate(common::TitleSecondName, common::TitleSecondDate), 118, 29, 2.5L, 1.8L, 39);
  FittedValue(TitleText(common::TitleDocumentType), 76, 20, 2.5L, 1.8L, 51);
  FittedValue(TitleText(common::TitleDocumentStatus), 130, 20, 2.5L, 1.8L, 49);
}

void DrawIsoStyle1() {
  SetCadColor(PenRules);
  CadRectangle(0, 0, 180, 27);
  CadLine(74, 0, 74, 27);
  CadLine(0, 18, 180, 18);
  CadLine(128, 0, 128, 18);
  CadLine(128, 9, 180, 9);
  for (Real x : {136.0L, 160.0L, 170.0L}) CadLine(x, 0, x, 9);
  CadLine(31, 0, 31, 27);
  CadLine(135, 18, 135, 27);
  CadLine(31, 9, 74, 9);
  SetCadColor(PenTexts);
  Label("Responsible dept.", 1, 24.5L);
  Label("Technical reference", 32, 24.5L);
  Label("Document type", 75, 24.5L);
  Label("Document status", 136, 24.5L);
  Label("Created by", 32, 15.5L);
  Label("Title, Supplementary title", 75, 15.5L);
  Label("Approved by", 32, 6.5L);
  Label("Rev.", 129, 6.5L);
  Label("Date of issue", 137, 6.5L);
  Label("Lang.", 161, 6.5L);
  Label("Page", 171, 6.5L);
  FittedValue(NameAndDate(common::TitleFirstName, common::TitleFirstDate), 33, 11, 2.5L, 1.8L, 40);
  FittedValue(NameAndDate(common::TitleSecondName, common::TitleSecondDate), 33, 2, 2.5L, 1.8L, 40);
  FittedValue(TitleText(common::TitleResponsibleDept), 2, 20, 2.5L, 1.8L, 28);
  FittedValue(NameAndDate(common::TitleThirdName, common::TitleThirdDate), 33, 20, 2.5L, 1.8L, 40);
  FittedValue(TitleText(common::TitleDocumentType), 76, 20, 2.5L, 1.8L, 58);
  FittedValue(TitleText(common::TitleDocumentStatus), 138, 20, 2.5L, 1.8L, 41);
}

// The fields that styles 1 and 2 share: identifier, titles, revision letter,
// date of issue and language.
void DrawIsoCommonValues(const TSheetTitle& title) {
  SetCadColor(PenTexts);
  FittedValue(title.Identifier, 130, 12, 3.5L, 2.5L, 48);
  FittedValue(title.Title, 76, 8.5L, 3.5L, 2.5L, 50);
  FittedValue(title.Subtitle, 76, 2.5L, 2.5L, 1.8L, 50);
  const int count = std::min<int>(common::ChangeRecords.Count, 25);
  Value(std::string(1, static_cast<char>('A' + count)), 130, 2);
  Value(common::TodayIsoText(), 138, 2);
  Value("en", 162, 2);
}

// The older block with change rows (style 0, and style 3 with its upper
// band).
void DrawChangeRowStyle(const TSheetTitle& title, bool withBand) {
  const Real w = 187.2L;
  const Real h = withBand ? 55.25L : 38.25L;
  const Real row = 4.25L;
  SetCadColor(PenRules);
  CadRectangle(0, 0, w, h);
  CadLine(0, row, w, row);
  CadLine(54.6L, 17, w, 17);
  CadLine(54.6L, 0, 54.6L, h);
  CadLine(98.8L, 0, 98.8L, h);
  for (Real x : {7.8L, 33.8L, 46.8L}) CadLine(x, 0, x, h);
  for (Real y = 2 * row; y < h - 0.01L; y += row) CadLine(0, y, 54.6L, y);
  // The approval rows: header, "Compl.", "Check", "Stand." and the release
  // row down to the line y = 17.
  for (int i = 0; i < 4; ++i) CadLine(54.6L, 34 - i * row, 98.8L, 34 - i * row);
  CadLine(65, 17, 65, 38.25L);
  CadLine(80.6L, 17, 80.6L, 38.25L);
  if (withBand) {
    CadLine(98.8L, 48.875L, w, 48.875L);
    CadLine(150.8L, 48.875L, 150.8L, h);
  }
  SetCadColor(PenTexts);
  Label("Cond.", 1, 1);
  Label("Modification", 8.8L, 1);
  Label("Date", 34.8L, 1);
  Label("Name", 47.8L, 1);
  Label("Date", 66, 35);
  Label("Name", 81.6L, 35);
  const std::string rows[4] = {"Compl.", "Check", "Stand.", CadSettings.CadApprovalText};
  const int dates[4] = {common::TitleFirstDate, common::TitleSecondDate, common::TitleThirdDate,
                        common::TitleFourthDate};
  for (int i = 0; i < 4; ++i) {
    const Real y = 35 - (i + 1) * row;
    Label(rows[i], 55.6L, y);
    FittedValue(TitleText(dates[i]), 65.6L, y, 2.5L, 1.8L, 14.4L);
    FittedValue(TitleText(dates[i] + 1), 81.2L, y, 2.5L, 1.8L, 17);
  }
  Label("Replacement for ", 99.8L, 1);
  FittedValue(TitleText(common::TitleReplacementFor), 99.8L + 17, 1, 2.5L, 1.8L, 26);
  Label("Replaced by ", 144, 1);
  FittedValue(TitleText(common::TitleReplacedBy), 144 + 15, 1, 2.5L, 1.8L, 27);
  FittedValue(title.Title, 100.8L, 28.625L, 5, 3.5L, 84);
  FittedValue(title.Identifier, 100.8L, 7.375L, 5, 3.5L, 71);
  FittedValue(title.Subtitle, 100.8L, 20.125L, 3.5L, 2.5L, 84);
  // The change rows, the last records when there are more than fit.
  const int rowsAvailable = static_cast<int>(std::floor((h - row) / row + 0.01L));
  const int count = common::ChangeRecords.Count;
  const int first = std::max(1, count - rowsAvailable + 1);
  for (int n = first; n <= count; ++n) {
    const Real y = row * (n - first + 1) + 1;
    const auto& record = common::ChangeRecords.Records[n];
    Value(RevisionIndexText(n), 1, y);
    FittedValue(record.Modification, 8.8L, y, 2.5L, 1.8L, 24);
    FittedValue(record.Date, 34.8L, y, 2.5L, 1.8L, 11.5L);
    FittedValue(record.Responsible, 47.8L, y, 2.5L, 1.8L, 6.3L);
  }
}

// Where the logo goes in the field the style leaves free.
void LogoPosition(Real& x, Real& y) {
  switch (Style()) {
    case 0: x = 55.6L; y = 5.25L; break;
    case 1: x = 1; y = 1; break;
    case 3: x = 99.8L; y = 49.5L; break;
    default: x = 1; y = 1; break;
  }
}

// Line breaks of a change description become blanks on the one row.
std::string OneLine(const std::string& text) {
  std::string line;
  for (char c : text) line += (c == '\r' || c == '\n') ? ' ' : c;
  return line;
}

}  // namespace

bool IsoBorderVariant(int sheet) {
  const int style = Style();
  return (sheet == SheetA3 || sheet == SheetA4) && common::FrameVariant == 1 && (style == 1 || style == 2);
}

TSheetRect SheetOutline(int sheet) {
  switch (sheet) {
    case SheetA1: return {0, 0, 841, 594};
    case SheetA2: return {0, 0, 594, 420};
    case SheetA4: return {0, 0, 210, 297};
    default: return {0, 0, 420, 297};
  }
}

TSheetRect SheetBorder(int sheet) {
  if (IsoBorderVariant(sheet)) return sheet == SheetA4 ? TSheetRect{17.9L, 5, 205.1L, 292} : TSheetRect{15, 5, 415, 292};
  switch (sheet) {
    case SheetA1: return {20, 10, 831, 574};
    case SheetA2: return {20, 10, 584, 400};
    case SheetA4: return {20, 10, 200, 287};
    default: return {20, 10, 410, 287};
  }
}

Real TitleBlockWidth() { return (Style() == 0 || Style() == 3) ? 187.2L : 180; }

Real TitleBlockHeight() {
  switch (Style()) {
    case 0: return 38.25L;
    case 1: return 27;
    case 3: return 55.25L;
    default: return 36;
  }
}

int RevisionRowCount() {
  if (!FrameOption(common::FrameOptChanges)) return 0;
  return std::min<int>(common::ChangeRecords.Count, MaxRevisionRows);
}

std::string RevisionIndexText(int n) {
  if (n < 1) return {};
  const int letter = std::min(n, 26) - 1;
  switch (common::RevisionIndexStyle) {
    case 0: return std::string(1, static_cast<char>('a' + letter));
    case 1: return common::IntToText(n);
    case 2: return std::string(1, static_cast<char>('A' + letter));
    default: return {};
  }
}

void DrawTitleBlock(int sheet, const TSheetTitle& title) {
  switch (Style()) {
    case 0: DrawChangeRowStyle(title, false); break;
    case 3: DrawChangeRowStyle(title, true); break;
    case 1: DrawIsoStyle1(); DrawIsoCommonValues(title); break;
    default: DrawIsoStyle2(); DrawIsoCommonValues(title); break;
  }
  if (!PlacesPartFiles()) return;
  const int rows = RevisionRowCount();
  const Real headY = TitleBlockHeight() + (rows > 0 ? RevisionRowHeight * (rows + 1) : 0);
  if (FrameOption(common::FrameOptHeadParts)) {
    InsertPart("head_0", 0, headY);
    if (sheet == SheetA4) InsertPart("head_4", 0, headY);
    if (sheet == SheetA3) InsertPart("head_3", 0, headY);
  }
  if (FrameOption(common::FrameOptInsertParts)) {
    InsertPart("insert_0", 0, 0);
    if (sheet == SheetA4) InsertPart("insert_4", 0, 0);
    if (sheet == SheetA3) InsertPart("insert_3", 0, 0);
  }
  if (!FrameOption(common::FrameOptLogo)) {
    Real x = 0, y = 0;
    LogoPosition(x, y);
    InsertPart("logo_1", x, y);
  }
}

void DrawRevisionTable(int sheet) {
  (void)sheet;
  const int rows = RevisionRowCount();
  if (rows == 0) return;
  const Real w = TitleBlockWidth();
  const Real y0 = TitleBlockHeight();
  const Real top = y0 + RevisionRowHeight * (rows + 1);
  const Real columns[] = {0, 10, 30, 44, 84, w};
  SetCadColor(PenRules);
  CadRectangle(0, y0, w, top);
  for (int i = 1; i <= rows; ++i) CadLine(0, y0 + i * RevisionRowHeight, w, y0 + i * RevisionRowHeight);
  for (int c = 1; c < 5; ++c) CadLine(columns[c], y0, columns[c], top);
  SetCadColor(PenTexts);
  const char* headers[] = {"Index", "Date", "Name", "Modification", "Description"};
  for (int c = 0; c < 5; ++c) Label(headers[c], columns[c] + 1, y0 + 1);
  // The latest records, the newest on top.
  const int count = common::ChangeRecords.Count;
  const int first = count - rows + 1;
  for (int n = first; n <= count; ++n) {
    const auto& record = common::ChangeRecords.Records[n];
    const Real y = y0 + RevisionRowHeight * (n - first + 1) + 0.8L;
    const std::string cells[] = {RevisionIndexText(n), record.Date, record.Responsible, record.Modification,
                                 OneLine(record.Description)};
    for (int c = 0; c < 5; ++c) FittedValue(cells[c], columns[c] + 1, y, 2, 1.4L, columns[c + 1] - columns[c] - 2);
  }
}

namespace {

// Where the grid references go: in the margin outside the border. The
// narrow margins of the border variant (5 mm at the bottom, 15 mm left)
// take smaller labels nearer the border and shorter ticks, so that the
// footer texts below them and the protection notice beside them stay clear.
struct ZoneLayout {
  Real tick = 3;         // length of the field ticks outside the border
  Real labelHeight = 2.5;
  Real labelOffset = 2.5;  // from the border to the middle of a label
};

ZoneLayout ZonesOf(int sheet) {
  if (IsoBorderVariant(sheet)) return {2, 1.8L, 1.5L};
  return {};
}

// The footer texts: height and base line.
struct FooterLayout {
  Real height = 1.5L;
  Real y = 1;
};

FooterLayout FooterOf(int sheet) {
  if (IsoBorderVariant(sheet)) return {1.2L, 0.8L};
  return {};
}

void DrawZones(int columns, int rows, const TSheetRect& border, const ZoneLayout& zones) {
  const Real w = border.x2 - border.x1, h = border.y2 - border.y1;
  SetCadColor(PenRules);
  if (!FrameOption(common::FrameOptFieldStyle) && columns > 0 && rows > 0) {
    const Real fw = w / columns, fh = h / rows;
    SetCadTextSize(2, 0, zones.labelHeight, 0);
    SetCadTextAlign(1, 1);
    for (int c = 0; c <= columns; ++c) {
      const Real x = border.x1 + c * fw;
      CadLine(x, border.y1, x, border.y1 - zones.tick);
      CadLine(x, border.y2, x, border.y2 + zones.tick);
      if (c == columns) break;
      const std::string label = common::IntToText(c + 1);
      CadText(label, x + fw / 2, border.y1 - zones.labelOffset);
      CadText(label, x + fw / 2, border.y2 + zones.labelOffset);
    }
    for (int r = 0; r <= rows; ++r) {
      const Real y = border.y2 - r * fh;
      CadLine(border.x1, y, border.x1 - zones.tick, y);
      CadLine(border.x2, y, border.x2 + zones.tick, y);
      if (r == rows) break;
      const std::string label(1, static_cast<char>('A' + std::min(r, 25)));
      CadText(label, border.x1 - zones.labelOffset, y - fh / 2);
      CadText(label, border.x2 + zones.labelOffset, y - fh / 2);
    }
    SetCadTextAlign(0, 0);
  }
  if (FrameOption(common::FrameOptMmScale)) return;
  // The graduation inside the border, along the bottom edge up to the title
  // block and along the left edge.
  const Real bottomEnd = border.x2 - TitleBlockWidth();
  SetCadTextSize(2, 0, 1.2L, 0);
  SetCadTextAlign(1, 0);
  for (int mm = 5; border.x1 + mm <= bottomEnd; mm += 5) {
    const bool tenth = mm % 10 == 0;
    const Real x = border.x1 + mm;
    CadLine(x, border.y1, x, border.y1 + (tenth ? 2 : 1));
    if (tenth) CadText(common::IntToText(mm), x, border.y1 + 2.4L);
  }
  SetCadTextSize(2, 90, 1.2L, 0);
  for (int mm = 5; border.y1 + mm <= border.y2; mm += 5) {
    const bool tenth = mm % 10 == 0;
    const Real y = border.y1 + mm;
    CadLine(border.x1, y, border.x1 + (tenth ? 2 : 1), y);
    if (tenth) CadText(common::IntToText(mm), border.x1 + 3.6L, y);
  }
  SetCadTextAlign(0, 0);
}

}  // namespace

void DrawProtectionNotice(int sheet) {
  if (sheet != SheetA3 && sheet != SheetA4) return;
  if (FrameOption(common::FrameOptProtectionNotice)) return;
  static const char* const lines[5] = {
      "Copying of this document and giving it to other and the use",
      "or communication of the contents therof, are forbidden with-",
      "out express authority. Offenders are liable to the payment",
      "of damages. All rights are reserved in the event of the grant",
      "of a patent or the registration of a utility model or design.",
  };
  const TSheetRect border = SheetBorder(sheet);
  // Turned by 90 degrees the letters stand left of their base line. The
  // five lines fill the margin up to the grid references: 2.7 apart in the
  // wide margin, closer in the narrow one of the border variant.
  const bool narrow = IsoBorderVariant(sheet);
  const Real first = narrow ? 2.7L : 4.5L;
  const Real pitch = narrow ? 2.2L : 2.7L;
  SetCadColor(PenTexts);
  SetCadTextSize(2, 90, 1.5L, 0);
  for (int i = 0; i < 5; ++i) CadText(lines[i], first + i * pitch, border.y1 + 5);
}

void DrawFrameZones(int columns, int rows, const TSheetRect& border) {
  DrawZones(columns, rows, border, ZoneLayout{});
}

void DrawDrawingFrame(int sheet, const TSheetTitle& title) {
  CadDrawing.SheetFrameDrawn = 1;
  const TSheetRect border = SheetBorder(sheet);
  const TSheetRect outline = SheetOutline(sheet);
  SetCadColor(PenBorder);
  CadRectangle(border.x1, border.y1, border.x2, border.y2);
  SetCadColor(PenRules);
  CadRectangle(outline.x1, outline.y1, outline.x2, outline.y2);
  // Title block and revision table in block coordinates at the lower right
  // corner of the border.
  const Real originX = CadDrawing.CadOriginX, originY = CadDrawing.CadOriginY;
  CadSetOrigin(originX + border.x2 - TitleBlockWidth(), originY + border.y1);
  DrawTitleBlock(sheet, title);
  CadSetOrigin(originX, originY);
  DrawProtectionNotice(sheet);
  CadSetOrigin(originX + border.x2 - TitleBlockWidth(), originY + border.y1);
  DrawRevisionTable(sheet);
  CadSetOrigin(originX, originY);
  const Real w = border.x2 - border.x1, h = border.y2 - border.y1;
  DrawZones(std::max(1, static_cast<int>(std::lround(static_cast<double>(w / 50)))),
                 std::max(1, static_cast<int>(std::lround(static_cast<double>(h / 50)))), border, ZonesOf(sheet));
  // The footer below the grid references.
  const FooterLayout footer = FooterOf(sheet);
  SetCadColor(PenTexts);
  SetCadTextSize(2, 0, footer.height, 1.2L * footer.height / 1.5L);
  if (!FrameOption(common::FrameOptFileName))
    CadText(common::ShortenText(common::AnsiToOemText(common::DataFileName()), 150), 20, footer.y);
  if (!FrameOption(common::FrameOptDate))
    CadText(common::TodayText() + " " + common::TimeText(), sheet == SheetA4 ? 186 : outline.x2 - 25, footer.y);
  if (!FrameOption(common::FrameOptMakerTitle)) {
    SetCadTextSize(2, 0, 3.5L, 3.0L);
    CadText("KALDRIM   " + common::ProgramTitle + "  V" + common::ProgramVersion, 1, 300);
  }
}

void DrawFrameSmall(int sheet) {
  if (sheet != SheetA3 && sheet != SheetA4) return;
  const TSheetRect outline = SheetOutline(sheet);
  // Set first: the sheet's frame writes the file name and date itself, so
  // the screen's footer line stays off (it would run over them and over
  // the grid references).
  CadDrawing.DrawingSheetFormat = sheet == SheetA3 ? 3 : 2;
  CadDrawingFrame(outline.x1, outline.y1, outline.x2, outline.y2, 1.0L);
  CadDrawing.SheetFrameDrawn = 1;
}

}  // namespace drawing
