// The text report writer; see report_writer.h.
#include "common/report_writer.h"

#include <algorithm>
#include <optional>

#include "common/code_page.h"
#include "common/date_time.h"
#include "common/file_checks.h"
#include "common/file_dialogs.h"
#include "common/file_utils.h"
#include "common/kaldvar.h"
#include "common/message_help.h"
#include "common/message_list.h"
#include "common/number_format.h"
#include "common/text_file.h"
#include "common/text_utils.h"
#include "platform/clock.h"
#include "platform/report_viewer.h"
#include "platform/temporary_files.h"
#include "platform/user_dialogs.h"

namespace common {

const RangeArray<std::string, 1, 7> ReportDeviceNames = [] {
  RangeArray<std::string, 1, 7> names;
  names[1] = "Screen";
  names[2] = "Text printer";
  names[3] = "File";
  names[4] = "Windows printer";
  names[5] = "external word processor";
  names[6] = "TXT File";
  names[7] = "HTML File";
  return names;
}();

TReportState ReportState;

namespace {

// Where the answer of the report in progress begins: what was said before
// answered an earlier request.
std::uint64_t ReportAnswerMark = 0;

constexpr char kFormFeed = '\f';
// The code page 850 box characters of the framed page.
constexpr char kBoxSingle = static_cast<char>(196);
constexpr char kBoxDouble = static_cast<char>(205);
constexpr char kBoxVertical = static_cast<char>(186);
constexpr char kBoxTopLeft = static_cast<char>(201), kBoxTopRight = static_cast<char>(187);
constexpr char kBoxBottomLeft = static_cast<char>(200), kBoxBottomRight = static_cast<char>(188);
constexpr char kBoxMiddleLeft = static_cast<char>(204), kBoxMiddleRight = static_cast<char>(185);
// Explanation texts longer than this are broken into lines of kExplanationWidth.
constexpr std::size_t kExplanationLimit = 72;
constexpr std::size_t kExplanationWidth = 64;

TReportState& S() { return ReportState; }

bool TabDevice() { return S().ReportDevice == ReportTxtFile || S().ReportDevice == ReportTxtDataFile; }
bool HtmlDevice() { return S().ReportDevice == ReportHtmlFile; }
bool PageDevice() { return !TabDevice() && !HtmlDevice(); }

std::string ProgramIdText() { return ProductCode + " V" + ProgramVersion; }

std::string FrameRule(char plain, char left, char fill, char right) {
  switch (RuleStyle) {
    case 1:
      return std::string(ReportWidth, plain);
    case 2:
      return left + std::string(ReportWidth - 2, fill) + right;
    case 3:
      return std::string(ReportWidth, ' ');
    default:
      return EmptyLineMarker;
  }
}

// Overwrites line from the 1-based column with text; a text running past
// the end lengthens the line, so nothing is cut.
void Place(std::string& line, const std::string& text, int column) {
  if (column < 1) column = 1;
  const std::size_t start = static_cast<std::size_t>(column - 1);
  if (line.size() < start + text.size()) line.resize(start + text.size(), ' ');
  line.replace(start, text.size(), text);
}

// Builds a line field by field, left to right: each text goes to its column
// unless the text before it reaches that far; then it follows one blank
// after it. So a long label pushes the fields after it right instead of
// being overwritten, and the line lengthens as needed.
class RowLine {
 public:
  explicit RowLine(std::string line) : line_(std::move(line)) {}
  void Put(const std::string& text, int column) {
    if (text.empty()) return;
    if (end_ > 0) column = std::max(column, end_ + 2);
    Place(line_, text, column);
    end_ = column + static_cast<int>(text.size()) - 1;
  }
  const std::string& Line() const { return line_; }

 private:
  std::string line_;
  int end_ = 0;  // last column written
};

// A line of the page width with the frame character at both ends.
std::string FramedLine() {
  std::string line(ReportWidth, ' ');
  line.front() = FrameChar();
  line.back() = FrameChar();
  return line;
}

void WriteRaw(const std::string& bytes) { WriteTextLine(bytes); }

// A display line of a page device, behind the left margin.
void WriteDisplayLine(const std::string& display) { WriteRaw(std::string(ReportMargin, ' ') + display); }

// A file's name as a head shows it: the file system's text, never converted
// again as a program text, on one line (a name may hold a line feed); only
// while AsciiTextMode asks for plain ASCII is it transliterated like the
// program's texts.
std::string HeadFileName(const std::string& name) {
  const std::string line = PrintableText(name);
  return AsciiTextMode ? OemToDisplayText(AnsiToOemText(line)) : line;
}

// The characters of a display text (UTF-8): the columns it takes.
std::size_t DisplayColumns(const std::string& display) {
  return static_cast<std::size_t>(
      std::count_if(display.begin(), display.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// The framed head line that holds a file's name (a display text) at column
// 4: the frame in the program's code page, converted, round the name as it
// is.
std::string FramedNameLine(const std::string& name) {
  const std::size_t columns = DisplayColumns(name);
  std::string line = FramedLine();
  if (line.size() < 3 + columns) line.resize(3 + columns, ' ');
  return OemToDisplayText(line.substr(0, 3)) + name + OemToDisplayText(line.substr(3 + columns));
}

void OpenHtmlTable() {
  if (S().HtmlTableOpen) return;
  WriteMarkupLine("<TABLE BORDER = \"2\" WIDTH= \"100%\">");
  S().HtmlTableOpen = 1;
}

bool IsRule(const std::string& line) {
  return line == RuleLineSingle() || line == RuleLineDouble() || line == EmptyLineMarker;
}

// Yes/no question as a radio choice preselecting the given answer; nothing
// when cancelled.
std::optional<bool> AskYesNoQuestion(const std::string& question, bool preselectYes) {
  platform::ChoiceRequest request;
  request.caption = "Input";
  request.prompt = OemToDisplayText(question);
  request.groupCaption = "Select";
  request.items = {"&Yes", "&No"};
  request.preselected = preselectYes ? 0 : 1;
  request.style = platform::ChoiceStyle::Radio;
  const std::optional<int> answer = platform::Dialogs().ChooseItem(request);
  if (!answer) return std::nullopt;
  return *answer == 0;
}

// The user's device from the seven names; nothing when cancelled.
std::optional<int> ChooseDevice(int preselected) {
  platform::ChoiceRequest request;
  request.caption = "Select";
  request.prompt = "Device";
  request.groupCaption = "Select";
  for (int i = 1; i <= 7; ++i) request.items.push_back(OemToDisplayText(ReportDeviceNames[i]));
  request.preselected = (preselected >= 1 && preselected <= 7) ? preselected - 1 : 0;
  request.style = platform::ChoiceStyle::Radio;
  const std::optional<int> answer = platform::Dialogs().ChooseItem(request);
  if (!answer) return std::nullopt;
  return *answer + 1;
}

// A save dialog for the report file; nothing when cancelled.
std::optional<std::string> AskReportFileName(const std::string& preset, const std::string& extension) {
  platform::FileNameRequest request;
  request.caption = "Save";
  request.directory = DataDirectory;
  request.fileName = preset;
  request.filter = "*." + extension + "|*." + extension;
  request.extension = extension;
  return AskOutputFile(request);
}

// name with its extension replaced by extension.
std::string WithExtension(const std::string& name, const std::string& extension) {
  const std::size_t slash = name.find_last_of('/');
  const std::size_t dot = name.find_last_of('.');
  const bool hasExt = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  return (hasExt ? name.substr(0, dot) : name) + "." + extension;
}

// Opens the report file for writing through SharedTextFile; false when it
// cannot be created (the caller tells the user). The lines go to a file of
// a name of its own beside it, readable by the user only, which takes the
// file's place, with the file's final mode, only when the report is
// complete.
bool OpenSpool(const std::string& name) {
  SharedTextFile.Assign(name);
  std::error_code ec;
  if (!SharedTextFile.Rewrite(ec)) {
    NoteFileFailure(name, ec);
    return false;
  }
  S().SpoolFileName = name;
  S().SpoolTemporary = 0;
  return true;
}

// An output given up (cancelled, failed): the spool is discarded, and a
// spool of the temporary directory goes with it; the user's file is never
// touched.
void DropSpool() {
  if (SharedTextFile.IsOpen() && SharedTextFile.CurrentMode() == TextFile::Mode::Writing) SharedTextFile.Discard();
  if (!S().SpoolTemporary) return;
  DeleteFileQuiet(S().SpoolFileName);
  if (S().TxtFileName == S().SpoolFileName) S().TxtFileName.clear();
  S().SpoolTemporary = 0;
}

// A report file of this run in the temporary directory, under a name
// nobody else has (prefix, a random part, suffix), readable by the user
// only; false when none can be made.
bool OpenTemporarySpool(const std::string& prefix, const std::string& suffix) {
  // A name that cannot be made is noted with the system's reason.
  const std::string name = NewTemporaryFile(prefix, suffix);
  if (name.empty()) return false;
  if (OpenSpool(name)) {
    S().SpoolTemporary = 1;
    return true;
  }
  DeleteFileQuiet(name);
  return false;
}

bool OpenTempSpool() { return OpenTemporarySpool("$OUT", ".TMP"); }

// The user names the report file; false with AbortFlag set when refused.
// On success the file is the report's name and is opened (opened tells).
bool OpenChosenFile(const std::string& preset, const std::string& extension, bool& opened) {
  const std::optional<std::string> chosen = AskReportFileName(preset, extension);
  if (!chosen || chosen->empty()) {
    AbortFlag = 1;
    return false;
  }
  ReportState.ReportFileName = *chosen;
  opened = OpenSpool(*chosen);
  return true;
}

// The lines of a UTF-8 text file; false when it cannot be read.
bool ReadLines(const std::string& name, std::vector<std::string>& lines) {
  TextFile file;
  file.Assign(name);
  std::error_code ec;
  if (!file.Reset(ec)) return false;
  std::string line;
  while (!file.Eof()) {
    if (!file.ReadLine(line)) return false;
    lines.push_back(line);
  }
  return true;
}

// Breaks a text into lines of at most width characters at blanks (hard
// where a word is longer); nothing is dropped.
std::vector<std::string> BreakAtBlanks(const std::string& text, std::size_t width) {
  std::vector<std::string> lines;
  std::string rest = text;
  while (rest.size() > width) {
    std::size_t cut = rest.rfind(' ', width);
    if (cut == std::string::npos || cut == 0) {
      lines.push_back(rest.substr(0, width));
      rest.erase(0, width);
      continue;
    }
    lines.push_back(rest.substr(0, cut));
    rest.erase(0, cut + 1);
  }
  lines.push_back(rest);
  return lines;
}

void WriteExplanation(const std::string& text) {
  if (text.size() <= kExplanationLimit) {
    WriteReportText(text);
    return;
  }
  for (const std::string& line : BreakAtBlanks(text, kExplanationWidth)) WriteReportText(line);
}

// Reports that an external program is missing.
void ReportNotFound(const std::string& path) { ShowFileError(path + " not found"); }

}  // namespace

// ---- Rules ---------------------------------------------------------------------

std::string RuleLineSingle() { return FrameRule('-', kBoxSingle, kBoxSingle, kBoxSingle); }
std::string RuleLineDouble() { return FrameRule('=', kBoxDouble, kBoxDouble, kBoxDouble); }
std::string FrameLineTop() { return FrameRule('*', kBoxTopLeft, kBoxDouble, kBoxTopRight); }
std::string FrameLineBottom() { return FrameRule('*', kBoxBottomLeft, kBoxDouble, kBoxBottomRight); }
std::string FrameLineMiddle() { return FrameRule('*', kBoxMiddleLeft, kBoxDouble, kBoxMiddleRight); }

char FrameChar() {
  switch (RuleStyle) {
    case 1: return '*';
    case 2: return kBoxVertical;
    default: return ' ';
  }
}

// ---- Set-up ----------------------------------------------------------------------

void InitReportWriter() {
  ReportState = TReportState{};
  BeginReport("", "", "", "", "", 0);
  SetReportLayout("", "Symbol", "Unit", "1", "2");
}

void BeginReport(const std::string& title, const std::string& header1, const std::string& header2,
                 const std::string& header3, const std::string& header4, std::int32_t pageTotal) {
  S().ReportTitle = title.empty() ? ProductCode + "  V" + ProgramVersion : title;
  S().ReportHeader[1] = header1;
  S().ReportHeader[2] = header2;
  S().ReportHeader[3] = header3;
  S().ReportHeader[4] = header4;
  S().ReportHeader[5].clear();
  S().ReportPageTotal = pageTotal;
  S().PageNumber = 0;
  S().LineCount = 0;
  ReportAnswerMark = AnswerMark();
}

void SetReportHeadNote(const std::string& note) { S().ReportHeader[5] = note; }

void SetReportLayout(const std::string& s1, const std::string& s2, const std::string& s3,
                     const std::string& s4, const std::string& s5) {
  S().ColSymbol = 35;
  S().ColUnit = 44;
  S().ColFourth = 51;
  S().ColFifth = 62;
  S().ColValue = 56;
  for (int i = 1; i <= 8; ++i) S().ColumnHeadings[i].clear();
  S().ColumnHeadings[1] = s1;
  S().ColumnHeadings[2] = s2;
  S().ColumnHeadings[3] = s3;
  S().ColumnHeadings[4] = s4;
  S().ColumnHeadings[5] = s5;
  S().ReportCols6 = 0;
  S().ReportCols7 = 0;
  S().ReportCols8 = 0;
}

void SelectOutputDevice(int ask, const std::string& fileName) {
  // Named after the design unless told otherwise: its whole name, dots and
  // all, with ".txt".
  std::string name = fileName.empty() ? DesignOutputName(CurrentFileName, "txt") : fileName;
  if (name.find('.') == std::string::npos) name += ".txt";

  int device = TextDevice;
  if (ask == 0 && TextDeviceWindow) {
    const std::optional<int> chosen = ChooseDevice(device);
    if (!chosen) {
      AbortFlag = 1;
      return;
    }
    device = *chosen;
  } else if (ask != 0 && ask != 90) {
    device = ask;
  }
  if (device < 0 || device > 9) device = ReportScreen;
  // Every printout carries the date and time in its head: none leaves the
  // program (file, printer, another program) with the clock's moment when
  // the setting meant to fix it is wrong. The screen shows the clock's.
  if (const std::string problem = platform::SourceDateEpochProblem();
      !problem.empty() && device != 0 && device != ReportScreen) {
    NoteFileFailure(problem);
    ShowFileError(problem + ": printout not written");
    AbortFlag = 1;
    return;
  }
  S().ReportDevice = static_cast<std::uint16_t>(device == 0 ? ReportScreen : device);
  S().HtmlTableOpen = 0;
  S().FileHeadWritten = 0;
  S().ReportFileName = name;

  bool opened = false;
  switch (device) {
    case ReportTextPrinter: {
      // Asked before any file is made: a cancel leaves nothing behind.
      const std::optional<bool> single = AskYesNoQuestion("single page printing ?", S().SinglePagePrinting != 0);
      if (!single) {
        AbortFlag = 1;
        return;
      }
      S().SinglePagePrinting = *single ? 1 : 0;
      opened = OpenTempSpool();
      if (!opened) break;
      // The printer's set-up sequence, when one is kept, goes first.
      std::vector<std::string> setup;
      if (FileCanOpen("TEXT.KLP") && ReadLines("TEXT.KLP", setup))
        for (const std::string& line : setup) WriteRaw(line);
      break;
    }
    case ReportFile:
      if (!OpenChosenFile(WithExtension(name, "txt"), "txt", opened)) return;
      break;
    case ReportTxtFile:
    case ReportTxtDataFile:
      S().ReportFileName = WithExtension(name, "txt");
      if (TextDeviceWindow && device == ReportTxtFile) {
        if (!OpenChosenFile(S().ReportFileName, "txt", opened)) return;
      } else if (device == ReportTxtDataFile) {
        // Written in place under the design's name: the file appears
        // complete or not at all, and no fixed spool name is needed.
        opened = OpenSpool(S().ReportFileName);
      } else {
        S().TxtFileName.clear();
        opened = OpenTemporarySpool("$$", ".txt");
        if (opened) S().TxtFileName = S().SpoolFileName;
      }
      break;
    case ReportHtmlFile:
      S().ReportFileName = WithExtension(name, "htm");
      if (!HtmlBrowserPath.empty()) {
        opened = OpenTemporarySpool(ProgramName, ".htm");
      } else if (!OpenChosenFile(S().ReportFileName, "htm", opened)) {
        return;
      }
      break;
    case ReportDosFile:
      opened = OpenSpool(TemporaryDirectory() + "OUTDOS.TXT");
      break;
    default:  // screen, page printer, word processor
      S().SinglePagePrinting = 0;
      opened = OpenTempSpool();
      break;
  }
  if (!opened) {
    // The file and the system's reason, as noted when the open failed.
    ShowNotedFileFailure("file write error");
    return;
  }
  S().PageNumber = 0;
  S().LineCount = 0;
}

std::uint16_t GetOutputDevice() { return S().ReportDevice; }

// ---- Writing -------------------------------------------------------------------------

std::string HtmlEscapedText(const std::string& text) { return HtmlEscapedDisplayText(OemToDisplayText(text)); }

std::string HtmlEscapedDisplayText(const std::string& display) {
  std::string out;
  out.reserve(display.size());
  for (char c : display) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      default: out += c;
    }
  }
  return out;
}

void WriteMarkupLine(const std::string& line) { WriteRaw(line); }

void WriteOutputLine(const std::string& line) {
  if (line == EmptyLineMarker) return;
  if (HtmlDevice()) {
    WriteRaw(HtmlEscapedText(line));
  } else if (TabDevice()) {
    WriteRaw(OemToDisplayText(line));
  } else {
    WriteDisplayLine(OemToDisplayText(line));
  }
}

void CloseHtmlTable() {
  if (!S().HtmlTableOpen) return;
  if (HtmlDevice()) WriteMarkupLine("</TABLE>");
  S().HtmlTableOpen = 0;
}

void WriteReportHeader(std::int32_t page, std::int32_t style) {
  if (AbortFlag) return;
  const bool firstPage = page == 1 || (page == 0 && S().PageNumber == 0);
  if (TabDevice()) {
    ++S().PageNumber;
    if (!firstPage || S().FileHeadWritten) return;
    S().FileHeadWritten = 1;
    WriteOutputLine(ProgramIdText() + "\t" + TodayText() + "\t" + TimeText());
    WriteRaw(HeadFileName(S().ReportFileName));
    // The fourth and fifth lines (a title set by the caller, the head note)
    // only when they hold text, as on the page devices.
    for (int i = 1; i <= 5; ++i)
      if (i <= 3 || !S().ReportHeader[i].empty()) WriteOutputLine(S().ReportHeader[i]);
    WriteOutputLine(" ");
    return;
  }
  if (HtmlDevice()) {
    ++S().PageNumber;
    if (!firstPage || S().FileHeadWritten) return;
    S().FileHeadWritten = 1;
    WriteMarkupLine("<!DOCTYPE html>");
    WriteMarkupLine("<!-- " + HtmlEscapedDisplayText(HeadFileName(S().ReportFileName)) + " -->");
    WriteMarkupLine("<HTML>");
    WriteMarkupLine("<head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\"><title>" +
                    HtmlEscapedText(ProgramIdText()) + "</title></head>");
    WriteMarkupLine("<BODY BGCOLOR=\"C0C0C0\">");
    WriteMarkupLine("<hr>");
    WriteMarkupLine("<h4>" + HtmlEscapedText(ProgramIdText()) + "</h4>");
    WriteMarkupLine("<hr>");
    for (int i = 1; i <= 5; ++i)
      if (i <= 4 || !S().ReportHeader[i].empty())
        WriteMarkupLine("<h5>" + HtmlEscapedText(S().ReportHeader[i]) + "</h5>");
    WriteMarkupLine("<hr>");
    return;
  }

  if (S().SinglePagePrinting) {
    const std::optional<bool> go = AskYesNoQuestion("Insert paper.  Continue ?", true);
    if (!go || !*go) {
      AbortFlag = 1;
      return;
    }
  }
  if (HeaderMode == 2 && !firstPage) {
    WriteOutputLine("");
    return;
  }
  // Without rules a head is written only under a page at least half full;
  // the first page always gets its head.
  if (RuleStyle == 4 && !firstPage && S().LineCount < LinesPerPage / 2) return;

  S().PageNumber = page == 0 ? S().PageNumber + 1 : page;
  S().LineCount = 0;
  S().HeaderStyle = style;
  const int spaceLines = HeaderSpaceLines + (RuleStyle == 4 ? 1 : 0);
  for (int i = 0; i < spaceLines; ++i) WriteOutputLine("");
  WriteOutputLine(FrameLineTop());

  std::string line = FramedLine();
  Place(line, S().ReportTitle, 4);
  if (HeaderMode != 2) {
    if (S().ReportPageTotal != 0)
      Place(line, "pg." + IntToTextWidth(S().PageNumber, 2) + "/" + IntToTextWidth(S().ReportPageTotal, 2), 60);
    else
      Place(line, "pg." + IntToTextWidth(S().PageNumber, 2), 64);
  }
  WriteOutputLine(line);

  line = FramedLine();
  Place(line, TodayText(), 53);
  Place(line, TimeText(), 64);
  WriteOutputLine(line);

  std::string dataName = HeadFileName(DesignFileName(CurrentFileName));
  // A design not yet named has no file to name: the line stays empty rather
  // than showing a directory alone.
  if (!BareNameFlag && !dataName.empty()) {
    const std::string withDir = DataDirectory.empty() ? dataName : HeadFileName(AddBackslash(DataDirectory)) + dataName;
    if (DisplayColumns(withDir) <= static_cast<std::size_t>(ReportWidth - 4)) dataName = withDir;
  }
  WriteDisplayLine(FramedNameLine(dataName));

  WriteOutputLine(FrameLineMiddle());
  for (int i = 1; i <= 5; ++i) {
    if (i >= 4 && S().ReportHeader[i].empty()) continue;
    line = FramedLine();
    Place(line, S().ReportHeader[i], 4);
    WriteOutputLine(line);
  }
  if (style == 1) {
    WriteOutputLine(FrameLineMiddle());
    WriteReportTableHead();
  } else {
    WriteOutputLine(FrameLineBottom());
  }
}

void WriteReportTableHead() {
  static const int k5[] = {3, 35, 44, 51, 62};
  static const int k6[] = {3, 35, 44, 49, 56, 63};
  static const int k7[] = {3, 35, 44, 45, 52, 59, 66};
  static const int k8[] = {3, 35, 44, 43, 49, 55, 61, 67};
  const int* columns = k5;
  int count = 5;
  if (S().ReportCols8) {
    columns = k8;
    count = 8;
  } else if (S().ReportCols7) {
    columns = k7;
    count = 7;
  } else if (S().ReportCols6) {
    columns = k6;
    count = 6;
  }
  std::string line = FramedLine();
  for (int i = 0; i < count; ++i) Place(line, S().ColumnHeadings[i + 1], columns[i]);
  WriteOutputLine(line);
  WriteOutputLine(FrameLineBottom());
  WriteOutputLine("");
}

void WriteReportText(const std::string& line) {
  if (AbortFlag) return;
  if (TabDevice()) {
    if (!IsRule(line)) WriteOutputLine(line);
    return;
  }
  if (HtmlDevice()) {
    CloseHtmlTable();
    ++S().LineCount;
    if (IsRule(line)) return;
    WriteMarkupLine("<br>" + HtmlEscapedText(line));
    return;
  }
  if (line == EmptyLineMarker) return;
  ++S().LineCount;
  ReportNewPageIfFull(S().HeaderStyle);
  WriteOutputLine(line);
}

void WriteReportTextAlt(const std::string& line) { WriteReportText(line); }

void WriteReportValueRow(const std::string& name, const std::string& symbol, const std::string& unit,
                         const std::string& value) {
  if (AbortFlag) return;
  if (TabDevice()) {
    WriteOutputLine(name + "\t" + symbol + "\t" + unit + "\t" + value);
    return;
  }
  if (HtmlDevice()) {
    OpenHtmlTable();
    WriteMarkupLine("<TR><TD>" + HtmlEscapedText(name) + "</TD><TD>" + HtmlEscapedText(symbol) + "</TD><TD>" +
                    HtmlEscapedText(unit) + "</TD><TD><DIV ALIGN=RIGHT>" + HtmlEscapedText(value) + "</DIV></TD></TR>");
    return;
  }
  RowLine row(std::string(ReportWidth, ' '));
  row.Put(name, 1);
  row.Put(symbol, S().ColSymbol);
  row.Put(unit, S().ColUnit);
  // Values end at column 69 at the latest; a longer one starts further left
  // (over the fields before it), at column 1 when it is longer than that,
  // lengthening the line: no value is cut.
  std::string v = value;
  const int room = ReportWidth - S().ColValue;
  if (static_cast<int>(v.size()) > room) v = TrimBlanks(v);
  std::string line;
  if (static_cast<int>(v.size()) <= room) {
    row.Put(v, S().ColValue);
    line = row.Line();
  } else {
    line = row.Line();
    Place(line, v, std::max(1, ReportWidth - static_cast<int>(v.size())));
  }
  WriteReportText(line);
  if (RuleStyle != 4) WriteReportText(RuleLineSingle());
}

void WriteReportTableRow(const std::string& c1, const std::string& c2, const std::string& c3,
                         const std::string& c4, const std::string& c5) {
  if (AbortFlag) return;
  if (TabDevice()) {
    WriteOutputLine(c1 + "\t" + c2 + "\t" + c3 + "\t" + c4 + "\t" + c5);
    return;
  }
  if (HtmlDevice()) {
    OpenHtmlTable();
    WriteMarkupLine("<TR><TD>" + HtmlEscapedText(c1) + "</TD><TD>" + HtmlEscapedText(c2) + "</TD><TD>" + HtmlEscapedText(c3) +
                    "</TD><TD>" + HtmlEscapedText(c4) + "</TD><TD>" + HtmlEscapedText(c5) + "</TD></TR>");
    return;
  }
  RowLine row(std::string(ReportWidth, ' '));
  row.Put(c1, 1);
  row.Put(c2, S().ColSymbol);
  row.Put(c3, S().ColUnit);
  const bool standard = S().ColFourth == 51;
  row.Put(c4, standard ? 51 : 47);
  row.Put(c5, standard ? 62 : 57);
  WriteReportText(row.Line());
  if (RuleStyle != 4) WriteReportText(RuleLineSingle());
}

std::string WriteReportNumberLine(const std::string& text, const std::string& number) {
  std::string line(64, ' ');
  Place(line, "No.: " + number, 40);
  Place(line, text, 1);
  return line;
}

// ---- Pages ---------------------------------------------------------------------------------

void ReportPageEnd() {
  if (!PageDevice()) {
    CloseHtmlTable();
    return;
  }
  if (RuleStyle == 4 && S().LineCount < LinesPerPage / 2) return;
  ReportFormFeed();
}

void ReportFormFeed() {
  if (!PageDevice()) {
    CloseHtmlTable();
    return;
  }
  WriteRaw(std::string(1, kFormFeed));
  S().LineCount = 0;
}

void ReportCheckPageFull(std::int32_t style) {
  if (AbortFlag) return;
  if (S().LineCount <= std::max(LinesPerPage - 10, 10)) return;
  ReportPageEnd();
  WriteReportHeader(0, style);
}

void ReportNewPageIfFull(std::int32_t style) {
  if (S().LineCount < LinesPerPage) return;
  if (HeaderMode == 2) {
    WriteRaw(std::string(1, kFormFeed));
    S().LineCount = 0;
    return;
  }
  ReportPageEnd();
  if (!S().AutoNewPage) return;
  WriteReportHeader(0, style);
  if (AbortFlag) return;
  ++S().LineCount;
  WriteOutputLine("");
}

// ---- Messages and the end --------------------------------------------------------------

void WriteReportMessages() {
  // The pair's findings: what answered another request (an output
  // refused) is no part of a printout.
  const std::vector<std::string>& messages = PairMessages();
  if (AbortFlag || messages.empty()) return;
  // Each message's origin and remedy from one reading of the file.
  const ExplanationsKept explanations;
  WriteReportText("");
  WriteReportText("");
  WriteReportText("REMARKS, WARNINGS AND ERROR MESSAGES");
  if (!TabDevice()) {
    WriteReportText(RuleLineDouble());
    WriteReportText("");
    WriteReportText(RuleLineSingle());
  }
  for (const std::string& message : messages) {
    const MessageOriginRemedy explained = ExplainMessage(message);
    if (TabDevice()) {
      WriteOutputLine(message + "\t" + explained.origin + "\t" + explained.remedy);
    } else if (HtmlDevice()) {
      OpenHtmlTable();
      for (const std::string& text : {message, explained.origin, explained.remedy})
        WriteMarkupLine("<TR><TD>" + HtmlEscapedText(text) + "</TD></TR>");
      CloseHtmlTable();
      WriteReportText("");
    } else {
      WriteReportText(message);
      WriteExplanation(explained.origin);
      WriteExplanation(explained.remedy);
      if (RuleStyle != 4) WriteReportText(RuleLineSingle());
    }
  }
}

void WriteMessagesPage() {
  if (PairMessages().empty()) return;
  if (PageDevice() && S().SinglePagePrinting) {
    const std::optional<bool> go = AskYesNoQuestion("Insert paper.  Continue ?", true);
    if (!go || !*go) {
      AbortFlag = 1;
      return;
    }
  }
  WriteReportHeader(1, 0);
  WriteReportMessages();
  ReportPageEnd();
}

void AbandonReportOutput() {
  // A failed write leaves no half report behind, and says why.
  if (SharedTextFile.CurrentMode() == TextFile::Mode::Writing) AbandonFileChecked(SharedTextFile);
  DropSpool();
}

void ShowReportOutput() {
  const std::uint16_t device = S().ReportDevice;
  if (SharedTextFile.IsOpen() && SharedTextFile.CurrentMode() == TextFile::Mode::Writing) {
    const bool printerPageOpen = device == ReportTextPrinter && HeaderMode == 2 && S().LineCount > 0;
    const bool rulelessPageOpen = RuleStyle == 4 && S().LineCount > 0 && PageDevice();
    if (printerPageOpen || rulelessPageOpen) ReportFormFeed();
    CloseHtmlTable();
    if (device == ReportHtmlFile) {
      WriteMarkupLine("</BODY>");
      WriteMarkupLine("</HTML>");
    }
    if (AbortFlag) {
      AbandonReportOutput();
      return;
    }
    CloseFileChecked(SharedTextFile);
  }
  if (AbortFlag) {
    DropSpool();
    return;
  }
  // A printout made is the latest answer: an earlier refusal goes.
  RetireAnswersBefore(ReportAnswerMark);

  const std::string spool = S().SpoolFileName;
  // The copy the viewer or the word processor opens: a text file of this
  // run's own in the temporary directory.
  std::string viewerCopy;
  auto copyForViewer = [&]() {
    viewerCopy = NewTemporaryFile("outwin", ".txt");
    if (viewerCopy.empty()) {
      ShowNotedFileFailure("file write error");
      return false;
    }
    std::error_code ec;
    if (!CopyFileTo(spool, viewerCopy, ec)) {
      DeleteFileQuiet(viewerCopy);
      ShowFileFailure(ec == std::errc::no_space_on_device ? "disk full" : "file write error", viewerCopy, ec);
      viewerCopy.clear();
      AbortFlag = 1;
      return false;
    }
    return true;
  };
  auto document = [&](const std::string& file, const std::string& caption) {
    platform::ReportDocument doc;
    doc.caption = caption;
    if (!ReadLines(file, doc.lines)) {
      ShowFileError(file + " not found !");
      AbortFlag = 1;
    }
    return doc;
  };

  switch (device) {
    case ReportTextPrinter: {
      const platform::ReportDocument doc = document(spool, CurrentFileName);
      if (!AbortFlag) platform::Viewer().PrintReport(doc, platform::ReportPrinter::TextPrinter);
      DeleteFileQuiet(spool);
      break;
    }
    case ReportFile:
    case ReportDosFile:
      // The file is the result; nothing else is left behind.
      break;
    case ReportPrinter: {
      const platform::ReportDocument doc = document(spool, CurrentFileName);
      if (!AbortFlag) platform::Viewer().PrintReport(doc, platform::ReportPrinter::PagePrinter);
      DeleteFileQuiet(spool);
      break;
    }
    case ReportWordProcessor:
      if (!FileCanOpen(WordProcessorPath)) {
        ReportNotFound(WordProcessorPath);
      } else if (copyForViewer() && !platform::Viewer().StartProgram(WordProcessorPath, viewerCopy)) {
        ReportNotFound(WordProcessorPath);
        DeleteFileQuiet(viewerCopy);
      } else if (!viewerCopy.empty()) {
        // Handed over: the program's end, however it comes, leaves it.
        platform::ForgetTemporaryFile(viewerCopy);
      }
      // A copy handed to the word processor stays for it to open.
      DeleteFileQuiet(spool);
      break;
    case ReportTxtFile:
    case ReportTxtDataFile:
      // Written in place: the user's file, the design's name with ".txt",
      // or the TXT file of this run in the temporary directory.
      break;
    case ReportHtmlFile:
      if (HtmlBrowserPath.empty()) break;
      // A page no browser opens is no file of the user's: it goes.
      if (!FileCanOpen(HtmlBrowserPath) || !platform::Viewer().StartProgram(HtmlBrowserPath, spool)) {
        ReportNotFound(HtmlBrowserPath);
        DeleteFileQuiet(spool);
      }
      break;
    default: {  // screen
      if (copyForViewer()) {
        const platform::ReportDocument doc = document(viewerCopy, ProductCode + "    " + viewerCopy);
        if (!AbortFlag) platform::Viewer().ShowReport(doc);
        // The viewer holds its own lines and has closed: the copy is no
        // file of the user's and must not be left behind.
        DeleteFileQuiet(viewerCopy);
      }
      DeleteFileQuiet(spool);
      break;
    }
  }
}

// ---- Font style ---------------------------------------------------------------------------

std::string FontStyleName(int code) {
  if (code <= 0 || code > 15) return "";
  static const char* const kWords[] = {"bold", "italic", "underline", "strikeout"};
  std::string name;
  for (int bit = 0; bit < 4; ++bit) {
    if (!(code & (1 << bit))) continue;
    if (!name.empty()) name += ' ';
    name += kWords[bit];
  }
  return name;
}

}  // namespace common
