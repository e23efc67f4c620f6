// The text report writer: every printout of the program (calculation
// reports, tables, the message list) is written through here, line by line,
// onto one of the report devices. Callers write logical items (a page head,
// text lines, value rows of four fields, table rows of up to five columns,
// rules); the writer lays them out as 70-column framed text pages,
// tab-separated lines or an HTML page, counts lines, breaks pages, and at
// the end shows, prints or hands on the result.
//
// Texts handed in are program texts (code page 850, one byte a column, so
// the columns below count characters). The files the writer leaves for
// people (the viewer's copy, the file, TXT and HTML devices) are UTF-8; the
// HTML device escapes &, < and > in every text it writes into the page.
// The report goes through SharedTextFile (text_file.h), with CR LF line
// ends. The screen viewer, the printers and external programs are reached
// through platform/report_viewer.h; the HTML table object is in
// report_tables.h; message explanations in message_explanations.h.
//
// A run: BeginReport, SetReportLayout, SelectOutputDevice,
// WriteReportHeader (first page), rows and lines, WriteReportMessages,
// ShowReportOutput. Every refused dialog and every file error sets
// AbortFlag; the caller tests it and stops.
#pragma once

#include <cstdint>
#include <string>

#include "common/range_array.h"

namespace common {

// The report devices (ReportDeviceCode).
enum ReportDeviceCode : std::uint16_t {
  ReportScreen = 1,         // the screen viewer
  ReportTextPrinter = 2,    // the plain text printer
  ReportFile = 3,           // a text file named by the user
  ReportPrinter = 4,        // the page printer
  ReportWordProcessor = 5,  // the configured external word processor
  ReportTxtFile = 6,        // tab-separated text
  ReportHtmlFile = 7,       // an HTML page
  ReportDosFile = 8,        // the fixed file "OUTDOS.TXT" in the temporary directory
  ReportTxtDataFile = 9,    // tab-separated text, written to the data file's name with ".txt"
};

// The names offered in the device choice, devices 1..7.
extern const RangeArray<std::string, 1, 7> ReportDeviceNames;

// The empty-line marker: a line equal to it is not written.
inline constexpr const char* EmptyLineMarker = "$!$";
// Width of the framed text page.
inline constexpr int ReportWidth = 70;
// Left margin of every line on the page devices (1 to 5 and 8).
inline constexpr int ReportMargin = 7;

// The writer's state. Callers read it; only the writer's routines change
// it, except the two switches AutoNewPage and SinglePagePrinting.
struct TReportState {
  std::string ReportTitle;  // as given; an empty title is shown as ProductCode + "  V" + ProgramVersion
  // Head lines 1 to 4 of BeginReport and the note line 5 of SetReportHeadNote.
  RangeArray<std::string, 1, 5> ReportHeader;
  std::int32_t ReportPageTotal = 0;  // 0: no total in the page number
  RangeArray<std::string, 1, 8> ColumnHeadings;
  std::uint8_t ReportCols6 = 0, ReportCols7 = 0, ReportCols8 = 0;
  int ColSymbol = 35, ColUnit = 44, ColFourth = 51, ColFifth = 62, ColValue = 56;
  std::uint16_t ReportDevice = ReportScreen;
  std::int32_t PageNumber = 0;
  std::int32_t LineCount = 0;  // lines on the current page
  std::int32_t HeaderStyle = 1;
  std::uint8_t SinglePagePrinting = 0;
  std::uint8_t AutoNewPage = 1;
  std::string ReportFileName = "$out.tmp";  // the name shown in heads (the report's destination)
  std::string SpoolFileName;                // the file being written
  std::uint8_t SpoolTemporary = 0;          // it is a file of this run in the temporary directory
  std::uint8_t HtmlTableOpen = 0;
  // The TXT and HTML devices write one head per file, at its top.
  std::uint8_t FileHeadWritten = 0;
  // The last file of the TXT device without a name of the user's: a file
  // of this run in the temporary directory ("$$" + a random part + ".txt").
  std::string TxtFileName;
};
extern TReportState ReportState;

// Unit start: every field to its start value, the layout and titles reset.
void InitReportWriter();

// The rule lines by RuleStyle (70 characters of code page 850, or "$!$").
std::string RuleLineSingle();
std::string RuleLineDouble();
std::string FrameLineTop();
std::string FrameLineBottom();
std::string FrameLineMiddle();
char FrameChar();

// ---- Set-up -----------------------------------------------------------------

// Stores the titles; PageNumber and LineCount := 0; no head note.
void BeginReport(const std::string& title, const std::string& header1, const std::string& header2,
                 const std::string& header3, const std::string& header4, std::int32_t pageTotal);
// A fifth head line below the four of BeginReport, written (like the fourth)
// only when not empty; BeginReport clears it.
void SetReportHeadNote(const std::string& note);
// Column positions back to 35, 44, 51, 62, value 56; the five column
// headings; the wider-head flags cleared.
void SetReportLayout(const std::string& s1, const std::string& s2, const std::string& s3,
                     const std::string& s4, const std::string& s5);
// The device: TextDevice, or the user's choice when ask is 0 and
// TextDeviceWindow is set; ask other than 0 (and 90) forces that device.
// fileName names the report (empty: the data file's name; without '.':
// ".txt" appended). Opens the report file; a refused dialog or a file that
// cannot be created leaves AbortFlag set.
void SelectOutputDevice(int ask, const std::string& fileName);
std::uint16_t GetOutputDevice();

// ---- Writing ----------------------------------------------------------------

// The page head; page 0 means the next page number, 1 marks the first page.
void WriteReportHeader(std::int32_t page, std::int32_t style);
// The framed line of column headings (used by the head with style 1).
void WriteReportTableHead();
void WriteReportText(const std::string& line);
void WriteReportTextAlt(const std::string& line);
// name at column 1, symbol at 35, unit at 44, value at 56 (ending at
// column 69 when longer; a value longer than the line starts at column 1
// and lengthens the line); then a single rule unless RuleStyle is 4.
void WriteReportValueRow(const std::string& name, const std::string& symbol, const std::string& unit,
                         const std::string& value);
void WriteReportTableRow(const std::string& c1, const std::string& c2, const std::string& c3,
                         const std::string& c4, const std::string& c5);
// The line text at column 1 and "No.: " with the number at column 40, in a
// 64-character line (used as a head line).
std::string WriteReportNumberLine(const std::string& text, const std::string& number);
// One line into the report file: converted to UTF-8; on the page devices
// behind the left margin; in HTML escaped and written as it is; "$!$" is
// never written.
void WriteOutputLine(const std::string& line);
// A program text as HTML page text: UTF-8 with &, < and > escaped.
std::string HtmlEscapedText(const std::string& text);
// The same of a display text (UTF-8: a file's name), unconverted.
std::string HtmlEscapedDisplayText(const std::string& display);
// Writes HTML markup (or any UTF-8 line) unconverted and unescaped.
void WriteMarkupLine(const std::string& line);
// Ends an open HTML table ("</TABLE>").
void CloseHtmlTable();

// ---- Pages ------------------------------------------------------------------

void ReportPageEnd();
void ReportFormFeed();
// New page (page end and a head of the given style) when LineCount exceeds
// max(LinesPerPage - 10, 10).
void ReportCheckPageFull(std::int32_t style);
// Before each text line: acts when LineCount has reached LinesPerPage.
void ReportNewPageIfFull(std::int32_t style);

// ---- Messages and the end -------------------------------------------------

// The messages section with the explanations of every message held.
void WriteReportMessages();
// Paper prompt, first-page head, the messages section and the page end.
void WriteMessagesPage();
// Ends the report and shows, prints, copies or hands on the result.
void ShowReportOutput();
// Ends a report that stopped on the way (a declined prompt, a failed
// write): nothing of it is left, and a failed write is told with the
// file and the system's reason.
void AbandonReportOutput();

// ---- Font style of the printout font ------------------------------------------

// Style codes: bold 1 + italic 2 + underline 4 + strikeout 8.
inline constexpr int FontBold = 1, FontItalic = 2, FontUnderline = 4, FontStrikeOut = 8;
// The words bold, italic, underline, strikeout of the set bits, in that
// order, joined by blanks ("bold italic"); "" for 0 and for codes above 15.
std::string FontStyleName(int code);

}  // namespace common
