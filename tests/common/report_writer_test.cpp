// The report writer end to end: one report with a head, value rows, gear
// rows, a table and the messages section, written to the file, TXT and
// HTML devices and compared byte for byte with golden files (date and time
// fixed through the platform clock); the hand-over to the viewer, the
// printers and the external programs; page breaks; over-long values.
#include "common/report_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "common/kaldvar.h"
#include "common/message_explanations.h"
#include "common/message_list.h"
#include "common/report_tables.h"
#include "platform/clock.h"
#include "platform/report_viewer.h"
#include "platform/scripted_dialogs.h"
#include "support/file_test_support.h"
#include "support/golden_files.h"
#include "support/report_test_support.h"

namespace fs = std::filesystem;
using platform::RecordedReport;
using platform::ScriptedAnswer;
using testsupport::Slurp;

namespace {

constexpr char kDegree[] = "\xF8";       // code page 850 degree sign
constexpr char kMicroMetre[] = "\xE6m";  // code page 850 micro sign + m

// A head line of the screen device with rule style 1: margin, frame, the
// text at column 4, `right` ending at column 68, frame at column 70.
std::string HeadLine(const std::string& text, const std::string& right = "") {
  std::string line = "*" + std::string(68, ' ') + "*";
  line.replace(3, text.size(), text);
  line.replace(68 - right.size(), right.size(), right);
  return std::string(7, ' ') + line;
}

class ReportWriterTest : public ::testing::Test {
 protected:
  ReportWriterTest() {
    common::PltDirectory = env_.dir.Dir().string();
    common::DataDirectory.clear();
    common::CurrentFileName = "demo";
  }

  // The sample report: every kind of item the writer lays out.
  void WriteSample(int device, const std::string& name = "demo") {
    common::BeginReport("", "Gear pair <demo> & test", "second head line", "", "", 0);
    common::SetReportLayout("", "Symbol", "Unit", "gear 1", "gear 2");
    common::SelectOutputDevice(device, name);
    ASSERT_EQ(common::AbortFlag, 0);
    common::WriteReportHeader(1, 1);
    common::WriteReportValueRow("Centre distance", "a", "mm", "  100.000");
    common::WriteReportValueRow("Pressure angle", "alpha", kDegree, "20.0");
    common::WriteReportValueRow("Pitch deviation", "fpe", kMicroMetre, "12");
    common::WriteReportValueRow("Twenty characters", "x", "", "12345678901234567890");
    common::WriteReportTableRow("Tip diameter", "da", "mm", "105.000", "210.000");
    common::WriteReportTableRow("Only gear 2", "x", "", "", "0.250");
    common::WriteReportText("Text with <markup> & an ampersand");
    common::WriteReportText(common::RuleLineDouble());
    common::HtmlTable table({5, 10, 10, 30}, {"  i", " phi 0", " phi n", "  f (phi)"});
    table.HtmlTableSetRowRules(false);
    table.HtmlTableRow({"1", "0.0", "180.0", "50+10*SIN(X)<60"});
    table.HtmlTableRow({"2", "180.0", "360.0", "50"});
    table.HtmlTableEnd();
    const common::CalculationMessagesScope calculating;  // the remarks are the calculation's
    common::AddErrorMessage("Warning: tip < root & more");
    common::AddErrorMessage("Error  : a message without an explanation");
    common::WriteReportMessages();
    common::ShowReportOutput();
  }

  void WriteExplanationFile() {
    testsupport::Put(dir_.Path("vob4.err"),
                     "Warning: tip < root & more\r\n"
                     "The tip circle of one gear lies inside the root circle of the other; this origin text is "
                     "long enough to be broken into several lines of the report.\r\n"
                     "Reduce the profile shift.\r\n");
  }

  // The names of the directory's entries that begin with prefix.
  std::vector<std::string> EntriesStartingWith(const std::string& prefix) const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_.Dir())) {
      const std::string name = entry.path().filename().string();
      if (name.rfind(prefix, 0) == 0) names.push_back(name);
    }
    return names;
  }

  testsupport::ReportTestEnvironment env_{"report_writer"};
  const testsupport::ScratchDirectory& dir_ = env_.dir;
  platform::ScriptedDialogs& dialogsObject_ = env_.dialogs;
  platform::RecordingReportViewer& viewerObject_ = env_.viewer;
};

TEST_F(ReportWriterTest, FileDeviceMatchesGoldenPageLayout) {
  WriteExplanationFile();
  common::RuleStyle = 2;  // box-drawing frames and rules
  common::LinesPerPage = 24;
  dialogsObject_.Then(ScriptedAnswer::File("demo_report.txt"));
  WriteSample(common::ReportFile);
  ASSERT_EQ(common::AbortFlag, 0);
  const std::string bytes = Slurp(dir_.Path("demo_report.txt"));
  testsupport::ExpectGolden(bytes, "report_writer/file_device.txt");
  // The file is the result: no spool file and no copy of it is left.
  EXPECT_TRUE(EntriesStartingWith("outwin").empty());
  EXPECT_TRUE(EntriesStartingWith("$").empty());
  EXPECT_EQ(bytes.find('\xC9'), std::string::npos) << "code page 850 bytes reached the file";
  EXPECT_NE(bytes.find("\xE2\x95\x94"), std::string::npos) << "the top-left double frame corner as UTF-8";
  EXPECT_NE(bytes.find('\f'), std::string::npos) << "24 lines a page must break the page";
}

TEST_F(ReportWriterTest, TxtDeviceMatchesGoldenTabLayout) {
  WriteExplanationFile();
  // The page reads the explanations once; a lookup after it again (the explanation form may rewrite them).
  struct CountingReads : platform::FileSystem {
    int reads = 0;
    std::unique_ptr<platform::InputFile> OpenRead(const std::string& path, std::error_code& ec) override {
      reads += path.ends_with(".err");
      return platform::FileSystem::OpenRead(path, ec);
    }
  } files;
  const platform::ScopedFileSystem counting(files);
  WriteSample(common::ReportTxtFile);
  ASSERT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(files.reads, 1);
  // A file of the run's own in the temporary directory, and nothing else.
  const std::string file = common::ReportState.TxtFileName;
  EXPECT_EQ(fs::path(file).parent_path(), dir_.Dir());
  EXPECT_EQ(EntriesStartingWith("$"), std::vector<std::string>{fs::path(file).filename().string()});
  EXPECT_EQ(fs::path(file).extension(), ".txt");
  const std::string bytes = Slurp(file);
  testsupport::ExpectGolden(bytes, "report_writer/txt_device.txt");
  EXPECT_EQ(bytes.find("-----"), std::string::npos) << "TXT output holds no rules";
  fs::remove(dir_.Path("vob4.err"));
  EXPECT_EQ(common::GetMessageHelpText(1), "");
}

TEST_F(ReportWriterTest, HtmlDeviceMatchesGoldenAndIsTidy) {
  WriteExplanationFile();
  dialogsObject_.Then(ScriptedAnswer::File("demo.htm"));
  WriteSample(common::ReportHtmlFile);
  ASSERT_EQ(common::AbortFlag, 0);
  const std::string bytes = Slurp(dir_.Path("demo.htm"));
  testsupport::ExpectGolden(bytes, "report_writer/html_device.htm");
  EXPECT_NE(bytes.find("charset=utf-8"), std::string::npos);
  EXPECT_NE(bytes.find("tip &lt; root &amp; more"), std::string::npos);
  EXPECT_EQ(bytes.find("<markup>"), std::string::npos);

  if (std::system("command -v tidy >/dev/null 2>&1") != 0) GTEST_SKIP() << "tidy is not installed";
  const std::string report = dir_.Path("tidy.out");
  const int rc = std::system(("tidy -q -e '" + dir_.Path("demo.htm") + "' >'" + report + "' 2>&1").c_str());
  // tidy exits 2 on errors, 1 on warnings only.
  EXPECT_LT(WEXITSTATUS(rc), 2) << Slurp(report);
  EXPECT_EQ(Slurp(report).find("Error:"), std::string::npos) << Slurp(report);
}

TEST_F(ReportWriterTest, DataFileTxtDeviceLeavesOnlyTheCopyBeside) {
  WriteSample(common::ReportTxtDataFile, "");
  ASSERT_EQ(common::AbortFlag, 0);
  EXPECT_TRUE(fs::exists(dir_.Path("demo.txt")));
  for (const auto& entry : fs::directory_iterator(dir_.Dir()))
    EXPECT_EQ(entry.path().filename().string().find("$$"), std::string::npos) << entry.path();
  // Without an explanation file the messages stand alone.
  EXPECT_NE(Slurp(dir_.Path("demo.txt")).find("Error  : a message without an explanation\t\t\r\n"), std::string::npos);
}

TEST_F(ReportWriterTest, ScreenPrinterAndWordProcessorGetTheFinishedReport) {
  WriteSample(common::ReportScreen);
  ASSERT_EQ(viewerObject_.Recorded().size(), 1u);
  const RecordedReport& shown = viewerObject_.Recorded()[0];
  EXPECT_EQ(shown.kind, RecordedReport::Kind::Shown);
  // The viewer's copy is a file of the run's own in the temporary directory.
  const std::string copyPrefix = "VOB4    " + dir_.Path("outwin");
  EXPECT_EQ(shown.report.caption.substr(0, copyPrefix.size()), copyPrefix);
  ASSERT_GT(shown.report.lines.size(), 10u);
  EXPECT_EQ(shown.report.lines[0], "       " + std::string(70, '*'));
  EXPECT_EQ(shown.report.lines[5], HeadLine("Gear pair <demo> & test"));
  EXPECT_TRUE(EntriesStartingWith("$OUT").empty()) << "the spool file is removed";
  EXPECT_TRUE(EntriesStartingWith("outwin").empty()) << "the viewer's copy is removed once it is closed";

  viewerObject_.Clear();
  WriteSample(common::ReportPrinter);
  ASSERT_EQ(viewerObject_.Recorded().size(), 1u);
  EXPECT_EQ(viewerObject_.Recorded()[0].kind, RecordedReport::Kind::Printed);
  EXPECT_EQ(viewerObject_.Recorded()[0].printer, platform::ReportPrinter::PagePrinter);
  EXPECT_EQ(viewerObject_.Recorded()[0].report.lines, shown.report.lines);

  // The word processor: missing, it is named in a message; present, it is
  // started on the viewer's copy.
  viewerObject_.Clear();
  common::WordProcessorPath = dir_.Path("nowhere/writer");
  WriteSample(common::ReportWordProcessor);
  EXPECT_TRUE(viewerObject_.Recorded().empty());
  ASSERT_FALSE(dialogsObject_.Asked().empty());
  EXPECT_EQ(dialogsObject_.Asked().back().text, common::WordProcessorPath + " not found");

  testsupport::Put(dir_.Path("writer"), "#!/bin/sh\n");
  common::WordProcessorPath = dir_.Path("writer");
  WriteSample(common::ReportWordProcessor);
  ASSERT_EQ(viewerObject_.Recorded().size(), 1u);
  EXPECT_EQ(viewerObject_.Recorded()[0].kind, RecordedReport::Kind::ProgramStarted);
  // The copy stays for the word processor to open: readable by the user
  // only, under a name of its own.
  const std::string handed = viewerObject_.Recorded()[0].argument;
  EXPECT_EQ(handed.substr(0, dir_.Path("outwin").size()), dir_.Path("outwin"));
  EXPECT_EQ(Slurp(handed).substr(0, 7), "       ");
  EXPECT_EQ(fs::status(handed).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(EntriesStartingWith("outwin"), std::vector<std::string>{fs::path(handed).filename().string()});
}

TEST_F(ReportWriterTest, TextPrinterAsksForSinglePagesAndPromptsEachPage) {
  dialogsObject_.Then(ScriptedAnswer::Choose(0));  // single page printing: yes
  dialogsObject_.Then(ScriptedAnswer::Choose(1));  // insert paper, continue: no
  common::BeginReport("", "", "", "", "", 0);
  common::SelectOutputDevice(common::ReportTextPrinter, "demo");
  ASSERT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(common::ReportState.SinglePagePrinting, 1);
  common::WriteReportHeader(1, 1);
  EXPECT_EQ(common::AbortFlag, 1);
  ASSERT_EQ(dialogsObject_.Asked().size(), 2u);
  EXPECT_EQ(dialogsObject_.Asked()[1].text, "Insert paper.  Continue ?");
  common::ShowReportOutput();
  EXPECT_TRUE(viewerObject_.Recorded().empty()) << "an abandoned report is not printed";
}

// A report given up leaves no spool in the temporary directory: cancelled
// at the single-page question (asked before any file is made), abandoned
// after a cancelled page, or on the screen after lines were written.
TEST_F(ReportWriterTest, AReportGivenUpLeavesNoSpool) {
  const std::string tmp = dir_.Path("tmp");
  fs::create_directories(tmp);
  common::TempDirectory = tmp;
  dialogsObject_.Then(ScriptedAnswer::Cancel());
  common::BeginReport("", "", "", "", "", 0);
  common::SelectOutputDevice(common::ReportTextPrinter, "demo");
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_TRUE(fs::is_empty(tmp));

  common::AbortFlag = 0;
  dialogsObject_.Then(ScriptedAnswer::Choose(0));
  dialogsObject_.Then(ScriptedAnswer::Choose(1));
  common::SelectOutputDevice(common::ReportTextPrinter, "demo");
  ASSERT_EQ(common::AbortFlag, 0);
  common::WriteReportHeader(1, 1);
  common::ShowReportOutput();
  EXPECT_TRUE(fs::is_empty(tmp));

  common::AbortFlag = 0;
  common::SelectOutputDevice(common::ReportScreen, "demo");
  ASSERT_EQ(common::AbortFlag, 0);
  common::WriteReportHeader(1, 1);
  common::WriteReportText("a line");
  common::AbortFlag = 1;
  common::AbandonReportOutput();
  EXPECT_TRUE(fs::is_empty(tmp));
  EXPECT_TRUE(viewerObject_.Recorded().empty());
  common::TempDirectory = dir_.Dir().string();
}

TEST_F(ReportWriterTest, PagesBreakAtLinesPerPageWithAFreshHead) {
  common::LinesPerPage = 12;
  common::BeginReport("", "", "", "", "", 0);
  common::SelectOutputDevice(common::ReportScreen, "demo");
  common::WriteReportHeader(1, 0);
  for (int i = 0; i < 10; ++i) common::WriteReportText("line");
  common::ReportCheckPageFull(0);
  EXPECT_EQ(common::ReportState.PageNumber, 1) << "10 lines do not exceed max(12 - 10, 10)";
  common::WriteReportText("line");
  common::ReportCheckPageFull(0);
  EXPECT_EQ(common::ReportState.PageNumber, 2);
  EXPECT_EQ(common::ReportState.LineCount, 0);
  // Automatic breaks: the 12th line on a page starts page 3 behind a form feed.
  for (int i = 0; i < 12; ++i) common::WriteReportText("text");
  EXPECT_EQ(common::ReportState.PageNumber, 3);
  common::ShowReportOutput();
  const auto& lines = viewerObject_.Recorded().at(0).report.lines;
  int formFeeds = 0;
  for (const auto& line : lines) formFeeds += line == "\f";
  EXPECT_EQ(formFeeds, 2);
  EXPECT_NE(std::find(lines.begin(), lines.end(), HeadLine("VOB4  V5.2", "pg. 3")),
            lines.end());
}

// The head names the design's file with its directory, as the file system
// names it (letters beyond ASCII too, in the frame's columns); an unnamed
// design leaves that line empty instead of showing the directory alone.
TEST_F(ReportWriterTest, HeadNamesTheFileOrNothing) {
  common::DataDirectory = "/data/designs";
  for (const std::string name : {"demo", "", "Zähne ü 2", "Łódź 2"}) {
    common::CurrentFileName = name;
    viewerObject_.Clear();
    common::BeginReport("", "", "", "", "", 0);
    common::SelectOutputDevice(common::ReportScreen, "demo");
    common::WriteReportHeader(1, 0);
    common::ShowReportOutput();
    const auto& lines = viewerObject_.Recorded().at(0).report.lines;
    ASSERT_GT(lines.size(), 4u);
    const std::string file = name.empty() ? "" : "/data/designs/" + name + ".vb4";
    // Each letter beyond ASCII is two bytes in one column.
    const auto extraBytes = std::count_if(file.begin(), file.end(), [](char c) { return (c & 0xC0) == 0x80; });
    std::string expected = HeadLine(std::string(file.size() - extraBytes, '#'));
    expected.replace(10, file.size() - extraBytes, file);
    EXPECT_EQ(lines[3], expected) << name;
    // The TXT and HTML heads name their own files so, a line feed as a blank.
    dialogsObject_.Then(ScriptedAnswer::File(name + "\n.htm"));
    for (const int device : {common::ReportTxtFile, common::ReportHtmlFile}) {
      common::SelectOutputDevice(device, "");
      common::WriteReportHeader(1, 0);
      common::ShowReportOutput();
    }
    EXPECT_EQ(testsupport::SplitLines(Slurp(common::ReportState.TxtFileName)).at(1), name + ".txt");
    EXPECT_EQ(testsupport::SplitLines(Slurp(dir_.Path(name + "\n.htm"))).at(1), "<!-- " + name + " .htm -->");
  }
  common::DataDirectory.clear();
  common::CurrentFileName = "demo";
}

// Head lines 4 and 5 (a title the caller sets, the head note) stand in
// the head only when they hold text, on the page and on the TXT devices
// alike; BeginReport clears the note.
TEST_F(ReportWriterTest, FourthHeadLineAndHeadNoteWhenNotEmpty) {
  common::BeginReport("", "first", "second", "third", "phi = 12", 0);
  common::SetReportHeadNote("a note");
  common::SelectOutputDevice(common::ReportScreen, "demo");
  common::WriteReportHeader(1, 0);
  common::ShowReportOutput();
  auto lines = viewerObject_.Recorded().at(0).report.lines;
  for (const std::string text : {"third", "phi = 12", "a note"})
    EXPECT_NE(std::find(lines.begin(), lines.end(), HeadLine(text)), lines.end()) << text;

  common::BeginReport("", "first", "second", "third", "phi = 12", 0);
  common::SetReportHeadNote("a note");
  common::SelectOutputDevice(common::ReportTxtFile, "demo");
  common::WriteReportHeader(1, 0);
  common::WriteReportText("body");
  common::ShowReportOutput();
  ASSERT_EQ(common::AbortFlag, 0);
  std::string txt;
  for (const auto& entry : fs::directory_iterator(dir_.Dir()))
    if (entry.path().filename().string().rfind("$$", 0) == 0) txt = Slurp(entry.path().string());
  EXPECT_NE(txt.find("first\r\nsecond\r\nthird\r\nphi = 12\r\na note\r\n \r\nbody"), std::string::npos) << txt;

  // Without them the head has its three lines, as before.
  viewerObject_.Clear();
  common::BeginReport("", "first", "second", "third", "", 0);
  common::SelectOutputDevice(common::ReportScreen, "demo");
  common::WriteReportHeader(1, 0);
  common::ShowReportOutput();
  lines = viewerObject_.Recorded().at(0).report.lines;
  EXPECT_EQ(std::find(lines.begin(), lines.end(), HeadLine("a note")), lines.end());
  EXPECT_EQ(std::find(lines.begin(), lines.end(), HeadLine("")), lines.end());
}

TEST_F(ReportWriterTest, RuleStyleFourAndOverlongValues) {
  common::RuleStyle = 4;
  common::BeginReport("", "", "", "", "", 0);
  common::SelectOutputDevice(common::ReportScreen, "demo");
  common::WriteReportValueRow("Name", "s", "u", "1.5");
  common::WriteReportText(common::EmptyLineMarker);
  common::WriteReportValueRow("Long", "s", "u", std::string(80, '7'));
  common::ShowReportOutput();
  const auto& lines = viewerObject_.Recorded().at(0).report.lines;
  // No rules and no marker lines with rule style 4; the last page closed.
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[2], "\f");
  EXPECT_EQ(lines[0].substr(7 + 55, 3), "1.5");
  EXPECT_EQ(lines[1], "       " + std::string(80, '7')) << "a value longer than the line is kept whole";

  // A label running into the symbol column pushes the symbol on instead of
  // being covered by it.
  common::RuleStyle = 4;
  common::SelectOutputDevice(common::ReportScreen, "demo");
  common::WriteReportTableRow("transverse load factor (tooth root)", "KF-alpha", "", "1.10", "");
  common::ShowReportOutput();
  EXPECT_EQ(viewerObject_.Recorded().back().report.lines.at(0),
            "       transverse load factor (tooth root) KF-alpha" + std::string(6, ' ') + "1.10" + std::string(16, ' '));
}

TEST_F(ReportWriterTest, ExplanationsAreSharedByTheFirstFifteenCharacters) {
  WriteExplanationFile();
  common::AddErrorMessage("Warning: tip < root & more");
  common::AddErrorMessage("Warning: tip < another text");
  common::AddErrorMessage("Warning: something else");
  EXPECT_EQ(common::GetMessageHelpText(2), common::GetMessageHelpText(1));
  EXPECT_EQ(common::GetMessageHelpText(3), "no help description available for this error message.");
  std::string remedy = "unchanged";
  common::GetMessageRemedyText(3, remedy);
  EXPECT_EQ(remedy, "unchanged");
  common::GetMessageRemedyText(2, remedy);
  EXPECT_EQ(remedy, "Reduce the profile shift.");
  fs::remove(dir_.Path("vob4.err"));
  EXPECT_EQ(common::GetMessageHelpText(1), "");
}

TEST(ReportWriterNames, FontStyleNamesAndNumberLine) {
  EXPECT_EQ(common::FontStyleName(0), "");
  EXPECT_EQ(common::FontStyleName(3), "bold italic");
  EXPECT_EQ(common::FontStyleName(15), "bold italic underline strikeout");
  EXPECT_EQ(common::FontStyleName(16), "");
  const std::string line = common::WriteReportNumberLine("Gear 1", "4711");
  EXPECT_EQ(line, "Gear 1" + std::string(33, ' ') + "No.: 4711" + std::string(16, ' '));
}

}  // namespace
