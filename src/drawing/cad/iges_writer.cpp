// The IGES writer and its back end; see iges_writer.h.
#include "drawing/cad/iges_writer.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <system_error>

#include "common/cad_settings.h"
#include "common/code_page.h"
#include "common/file_checks.h"
#include "common/file_utils.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "common/numeric_routines.h"
#include "common/text_utils.h"
#include "drawing/cad/cad_back_ends.h"
#include "drawing/cad/cad_colours.h"
#include "drawing/cad/cad_output.h"
#include "drawing/cad/cad_state.h"
#include "drawing/cad/dxf_writer.h"
#include "platform/clock.h"

namespace drawing {

using common::CadSettings;

TIgesState IgesState;

namespace {

// Columns 1..64 of a P record hold the parameters.
constexpr std::size_t ParamColumns = 64;

// The parameter work file.
common::TextFile& ParamFile() {
  static common::TextFile file;
  return file;
}

// The name of the parameter work file of the output being written: a new
// file of its own in the temporary directory, so that no file of the user's
// (a "KALDIGES.$$$" beside the design, say) is written over or erased.
std::string& ParamFileName() {
  static std::string name;
  return name;
}

int* Counter(char letter) {
  switch (letter) {
    case 'S': return &IgesState.RecordsS;
    case 'G': return &IgesState.RecordsG;
    case 'D': return &IgesState.RecordsD;
    case 'P': return &IgesState.RecordsP;
    case 'T': return &IgesState.RecordsT;
    default: return nullptr;
  }
}

std::string RightAligned(const std::string& text, std::size_t width) {
  return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

// A D record field: 8 characters, right-aligned.
std::string Field(const std::string& text) { return RightAligned(text, 8); }
std::string Field(int value) { return Field(std::to_string(value)); }

// A matrix entry: enough decimals that a turned block lands where it was
// placed, with a point.
std::string MatrixNumber(Real value) {
  if (std::fabs(value) < 1e-12L) value = 0;
  return common::FixedPointText(value, 9);
}

// Breaks a parameter text into the pieces of its records: after the last
// comma within the 64 columns; hard at 64 where there is none, and always
// hard inside a Hollerith string, whose characters a reader counts across
// the record boundary (blanks added there would become part of it).
std::vector<std::string> ParamPieces(const std::string& text) {
  // Marks the positions that lie inside a Hollerith string.
  std::vector<bool> inString(text.size(), false);
  for (std::size_t i = 0; i < text.size();) {
    const bool fieldStart = i == 0 || text[i - 1] == ',';
    std::size_t j = i;
    while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) ++j;
    if (fieldStart && j > i && j - i <= 6 && j < text.size() && text[j] == 'H') {
      const std::size_t length = std::stoul(text.substr(i, j - i));
      for (std::size_t k = j + 1; k < text.size() && k <= j + length; ++k) inString[k] = true;
      i = j + 1 + length;
    } else {
      i = j > i ? j : i + 1;
    }
  }
  std::vector<std::string> pieces;
  std::size_t start = 0;
  while (text.size() - start > ParamColumns) {
    std::size_t cut = start + ParamColumns;  // hard break: no comma to break after
    for (std::size_t k = start + ParamColumns; k > start; --k) {
      if (text[k - 1] == ',' && !inString[k - 1]) {
        cut = k;
        break;
      }
    }
    pieces.push_back(text.substr(start, cut - start));
    start = cut;
  }
  pieces.push_back(text.substr(start));
  return pieces;
}

// Starts an entity: its D pointer, and its membership of an open subfigure
// definition.
void BeginEntity() {
  IgesState.IgesEntityLines = 0;
  IgesState.IgesCurrentDE += 2;
  if (IgesState.IgesInBlock) IgesState.Members.push_back(IgesState.IgesCurrentDE);
}

void Param(const std::string& text) { IgesWriteParam(text, IgesState.IgesCurrentDE); }

void DirLine1(int type, const std::string& transform) {
  const std::string text = Field(type) + Field(IgesState.IgesParamLine) +
                           // The structure field: no structure entity.
                           Field(0) + Field(IgesState.IgesLineFont) + Field(IgesState.IgesColour) + Field("") +
                           Field(transform) + Field("") + Field(IgesState.IgesInBlock ? "00010000" : "00000000");
  IgesWriteRecord(common::SharedTextFile, text, "", 'D');
}

void DirLine2(int type, const std::string& form, const std::string& label) {
  const std::string text = Field(type) + Field("") + Field(IgesState.IgesColour) + Field(IgesState.IgesEntityLines) +
                           Field(form) + Field("") + Field("") + Field(label) + Field("");
  IgesWriteRecord(common::SharedTextFile, text, "", 'D');
  IgesState.IgesParamLine += IgesState.IgesEntityLines;
}

void DirLines(int type, const std::string& transform, const std::string& form = "") {
  DirLine1(type, transform);
  DirLine2(type, form, "");
}

}  // namespace

// ---- Records ------------------------------------------------------------------------

std::string IgesRecord(const std::string& text, const std::string& field, char letter) {
  int* counter = Counter(letter);
  if (!counter) return {};
  ++*counter;
  const std::string right = field.substr(0, 72);
  std::string columns = text.substr(0, 72 - right.size());
  columns += std::string(72 - columns.size() - right.size(), ' ') + right;
  char sequence[16];
  std::snprintf(sequence, sizeof sequence, "%c%07d", letter, *counter);
  return columns + sequence;
}

void IgesWriteRecord(common::TextFile& file, const std::string& text, const std::string& field, char letter) {
  const std::string record = IgesRecord(text, field, letter);
  if (record.empty()) return;
  if (!file.Write(record + "\r\n")) common::AbortFlag = 1;
}

// A control character (a line feed in a design's file name) would break the
// 80-column record that holds the string: it is written as a blank.
std::string Hollerith(const std::string& text) {
  return std::to_string(text.size()) + "H" + common::PrintableText(text);
}

std::string IgesNumber(Real value) { return DxfRealText(value); }

// ---- File --------------------------------------------------------------------------

void IgesReset() { IgesState = TIgesState{}; }

void IgesBegin() {
  IgesReset();
  common::TextFile& file = ParamFile();
  if (file.IsOpen()) file.Discard();
  if (!ParamFileName().empty()) common::DeleteFileQuiet(ParamFileName());
  ParamFileName() = common::NewTemporaryFile("KALDIGES", ".$$$");
  if (ParamFileName().empty()) {
    common::ShowNotedFileFailure("file write error");
    return;
  }
  file.Assign(ParamFileName());
  std::error_code ec;
  if (file.Rewrite(ec)) return;
  common::ShowFileFailure("file write error", ParamFileName(), ec);
  common::AbortFlag = 1;
}

void IgesWriteStartGlobal(const std::string& fileName, Real maxCoordinate) {
  // One head per file: a picture that drew before its frame got its head
  // then, and a second one would break the sections apart.
  if (IgesState.HeadWritten) return;
  if (IgesState.RecordsD == 0 && IgesState.RecordsP == 0 && IgesState.Blocks.empty()) IgesReset();
  IgesState.HeadWritten = true;
  common::TextFile& out = common::SharedTextFile;
  IgesWriteRecord(out, "IGES-Datei generiert von " + common::ProgramName, "", 'S');
  IgesWriteRecord(out, "Uebersetzer von KALDRIM, Uebersetzerversion 3.1", "", 'S');
  IgesWriteRecord(out, common::ProductCode, "", 'S');

  const std::string name = fileName.size() > 30 ? common::AbbreviateText(fileName, 30) : fileName;
  // The moment of writing, as IGES gives it: YYMMDD.HHNNSS.
  const platform::LocalDateTime now = platform::Now();
  char moment[32];
  std::snprintf(moment, sizeof moment, "%02d%02d%02d.%02d%02d%02d", now.year % 100, now.month, now.day, now.hour,
                now.minute, now.second);
  IgesWriteRecord(out,
                  ",," + Hollerith("FILE") + "," + Hollerith(name) + "," +
                      Hollerith(common::ProgramName + " V" + common::ProgramVersion) + ",,",
                  "", 'G');
  IgesWriteRecord(out, "16,38,6,99,15,", "", 'G');
  IgesWriteRecord(out, Hollerith(name) + ",1.0,2," + Hollerith("MM") + ",32767,3.2767D1,", "", 'G');
  IgesWriteRecord(out, Hollerith(moment) + ",1.0D-8," + IgesNumber(maxCoordinate) + ",", "",
                  'G');
  IgesWriteRecord(out, Hollerith("Vemke") + "," + Hollerith("KALDRIM") + ",4,0;", "", 'G');
}

void IgesWriteParam(const std::string& text, int dePointer) {
  for (const std::string& piece : ParamPieces(text)) {
    IgesWriteRecord(ParamFile(), piece, std::to_string(dePointer), 'P');
    ++IgesState.IgesEntityLines;
  }
}

// ---- Entities ------------------------------------------------------------------------

void IgesLine(Real x1, Real y1, Real x2, Real y2) {
  BeginEntity();
  Param("110," + IgesNumber(x1) + "," + IgesNumber(y1) + ",0.0," + IgesNumber(x2) + "," + IgesNumber(y2) + ",0.0;");
  DirLines(110, "");
}

void IgesArc(Real xc, Real yc, Real xs, Real ys, Real xe, Real ye) {
  BeginEntity();
  Param("100,0.0," + IgesNumber(xc) + "," + IgesNumber(yc) + "," + IgesNumber(xs) + "," + IgesNumber(ys) + "," +
        IgesNumber(xe) + "," + IgesNumber(ye) + ";");
  DirLines(100, "0");
}

void IgesCircle(Real xc, Real yc, Real r) { IgesArc(xc, yc, xc + r, yc, xc + r, yc); }

void IgesPolyline(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) {
  BeginEntity();
  const auto pair = [](Real x, Real y) { return IgesNumber(x) + "," + IgesNumber(y); };
  Param("106,1,5,0.0," + pair(x1, y1) + ",");
  Param(pair(x4, y4) + ",");
  Param(pair(x3, y3) + ",");
  Param(pair(x2, y2) + ",");
  Param(pair(x1, y1) + ";");
  DirLines(106, "0", "11");
}

void IgesNote(const std::string& text, Real x, Real y) {
  const std::string fileText = common::TextForCadFile(text);
  const Real height = CadDrawing.CadTextHeight;
  const Real boxWidth = CadDrawing.CadTextWidthFactor * height * static_cast<Real>(fileText.size());
  BeginEntity();
  Param("212,1," + std::to_string(fileText.size()) + "," + IgesNumber(boxWidth) + "," + IgesNumber(height) + ",1,," +
        MatrixNumber(common::DegToRad(CadDrawing.CadTextAngle)) + ",0,0," + IgesNumber(x) + "," + IgesNumber(y) +
        ",0.0,");
  Param(Hollerith(fileText) + ";");
  DirLines(212, "0");
}

void IgesBeginSubfigure(const std::string& name) {
  IgesState.Blocks.push_back({name, 0});
  IgesState.IgesInBlock = true;
  IgesState.Members.clear();
}

void IgesSubfigureDef() {
  if (!IgesState.IgesInBlock) return;
  IgesState.IgesInBlock = false;
  TIgesState::Block& block = IgesState.Blocks.back();
  IgesState.IgesEntityLines = 0;
  IgesState.IgesCurrentDE += 2;
  block.dePointer = IgesState.IgesCurrentDE;
  const std::vector<int>& members = IgesState.Members;
  std::string piece = "308,0," + Hollerith(block.name) + "," + std::to_string(members.size()) + ",";
  std::vector<std::string> pieces;
  for (std::size_t i = 0; i < members.size(); ++i) {
    if (i > 0 && i % 12 == 0) {
      pieces.push_back(piece);
      piece.clear();
    }
    piece += std::to_string(members[i]) + ",";
  }
  piece.back() = ';';
  pieces.push_back(piece);
  for (const std::string& p : pieces) Param(p);
  DirLines(308, "");
  IgesState.Members.clear();
}

int IgesFindBlock(const std::string& name) {
  // A name defined twice: the later definition holds, as in a DXF file.
  for (auto it = IgesState.Blocks.rbegin(); it != IgesState.Blocks.rend(); ++it)
    if (it->name == name && it->dePointer > 0) return it->dePointer;
  return 0;
}

void IgesSubfigureInstance(const std::string& name, Real x, Real y, Real angle, Real scale) {
  const int block = IgesFindBlock(name);
  if (block == 0) {
    common::AddErrorMessage("Blockname " + name + " not found !");
    return;
  }
  const std::string scaleText = scale == 1 || !(scale > 0) ? std::string("1.0") : MatrixNumber(scale);
  if (angle == 0) {
    BeginEntity();
    Param("408," + std::to_string(block) + "," + IgesNumber(x) + "," + IgesNumber(y) + ",0.0," + scaleText + ";");
    DirLines(408, "");
    return;
  }
  const Real a = common::DegToRad(angle);
  const Real c = std::cos(a), s = std::sin(a);
  BeginEntity();
  const int matrix = IgesState.IgesCurrentDE;
  Param("124," + MatrixNumber(c) + "," + MatrixNumber(-s) + ",0.0," + IgesNumber(x) + "," + MatrixNumber(s) + "," +
        MatrixNumber(c) + ",0.0," + IgesNumber(y) + "," + "0.0,0.0,1.0,0.0;");
  DirLines(124, "");
  BeginEntity();
  Param("408," + std::to_string(block) + ",0.0,0.0,0.0," + scaleText + ";");
  DirLines(408, std::to_string(matrix));
}

void IgesSetColour(int pen) {
  const int mode = CadSettings.CadLineMode;
  if (mode == 0 && pen >= 0 && pen <= 5) {
    IgesState.IgesColour = IgesColourNumber(pen == 0 ? 7 : CadSettings.CadLayerColours[pen]);
    IgesState.IgesLineFont = pen == 1 ? 4 : pen == 2 ? 2 : 1;
  } else if (mode == 0 && pen >= 16 && pen <= 31) {
    IgesState.IgesColour = IgesColourNumber(CadSettings.CadPenColours[pen]);
    IgesState.IgesLineFont = 1;
  } else {
    IgesState.IgesColour = IgesColourNumber(pen % 16 + 1);
    if (mode == 0) IgesState.IgesLineFont = 1;
  }
}

void IgesAssembleFile() {
  common::TextFile& params = ParamFile();
  const std::string paramName = ParamFileName();
  // The parameter records are the file's body: when they could not all be
  // written (a full or missing temporary directory), the output is given
  // up and the previous file stays, and the user is told the work file and
  // the system's reason.
  const auto giveUp = [&](const std::error_code& ec) {
    common::SharedTextFile.Discard();
    params.Discard();
    if (!paramName.empty()) common::DeleteFileQuiet(paramName);
    ParamFileName().clear();
    common::ShowFileFailure(ec == std::errc::no_space_on_device ? "disk full" : "file write error",
                            paramName, ec);
    common::AbortFlag = 1;
  };
  std::error_code ec;
  if (paramName.empty() || (params.IsOpen() && !params.Close(ec))) {
    giveUp(ec ? ec : std::make_error_code(std::errc::io_error));
    return;
  }
  params.Assign(paramName);
  if (!params.Reset(ec)) {
    giveUp(ec);
    return;
  }
  std::string line;
  while (!params.Eof()) {
    if (!params.ReadLine(line)) {
      giveUp(std::make_error_code(std::errc::io_error));
      return;
    }
    common::WriteTextLine(line);
  }
  params.Close(ec);
  common::DeleteFileQuiet(paramName);
  ParamFileName().clear();
  char terminate[40];
  std::snprintf(terminate, sizeof terminate, "S%07dG%07dD%07dP%07d", IgesState.RecordsS, IgesState.RecordsG,
                IgesState.RecordsD, IgesState.RecordsP);
  IgesWriteRecord(common::SharedTextFile, terminate, "", 'T');
  common::CloseFileChecked(common::SharedTextFile);
}

void IgesAbandon() {
  ParamFile().Discard();
  if (!ParamFileName().empty()) common::DeleteFileQuiet(ParamFileName());
  ParamFileName().clear();
}

// ---- Back end ------------------------------------------------------------------------

namespace {

class IgesDevice : public CadBackEnd {
 public:
  std::string FileExtension() const override { return "igs"; }
  bool OpensAfterOutput() const override { return true; }
  void Open() override {
    OpenCadOutputFile();
    if (common::AbortFlag == 0) IgesBegin();
  }
  void Close() override {
    Head();
    IgesAssembleFile();
  }
  void Abandon() override { IgesAbandon(); }
  void DrawingFrame(Real x1, Real y1, Real x2, Real y2) override {
    IgesWriteStartGlobal(common::BareFileName(CadSettings.CadFileName), std::max(x2, y2));
  }
  void BeginBlock(const std::string& name) override { IgesBeginSubfigure(name); }
  void EndBlock() override {
    Head();
    IgesSubfigureDef();
  }
  void SelectPen(int pen) override { IgesSetColour(pen); }
  void Line(Real x1, Real y1, Real x2, Real y2) override {
    Head();
    IgesLine(x1, y1, x2, y2);
  }
  void Circle(Real x, Real y, Real r) override {
    Head();
    IgesCircle(x, y, r);
  }
  void Arc(Real x, Real y, Real startAngle, Real endAngle, Real r, Real sweep) override {
    Head();
    const Real a1 = common::DegToRad(startAngle), a2 = common::DegToRad(endAngle);
    const Real xs = x + r * std::cos(a1), ys = y + r * std::sin(a1);
    const Real xe = x + r * std::cos(a2), ye = y + r * std::sin(a2);
    if (sweep >= 0)
      IgesArc(x, y, xs, ys, xe, ye);
    else
      IgesArc(x, y, xe, ye, xs, ys);
  }
  void Text(const std::string& text, Real x, Real y) override {
    Head();
    IgesNote(text, x, y);
  }
  void Solid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) override {
    Head();
    IgesPolyline(x1, y1, x2, y2, x3, y3, x4, y4);
  }
  void InsertBlock(const std::string& name, Real x, Real y, Real angle, Real sx, Real sy) override {
    Head();
    IgesSubfigureInstance(name, x, y, angle, sx);
  }

 private:
  // A picture drawn without a drawing frame still gets its S and G records
  // before the first D record.
  static void Head() {
    if (IgesState.HeadWritten) return;
    IgesWriteStartGlobal(common::BareFileName(CadSettings.CadFileName),
                         std::max(CadSettings.CadDrawingArea[2], CadSettings.CadDrawingArea[4]));
  }
};

}  // namespace

CadBackEnd& IgesBackEnd() {
  static IgesDevice device;
  return device;
}

}  // namespace drawing
