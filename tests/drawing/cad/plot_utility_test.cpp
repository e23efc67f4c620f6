// The plot utility: the command lines of its form (defaults and variants),
// the question sequence reached from the device choice with its batch
// script for long lines, and device 4 end to end: the DXF file in the
// temporary directory and the utility started from its command line, or
// the message when it is missing.
#include "drawing/cad/plot_utility.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

#include "drawing/drawing_test_support.h"
#include "support/run_command.h"
#include "platform/program_start.h"

using namespace drawing;
using drawingtest::DrawingTest;
using platform::ScriptedAnswer;

namespace {

class PlotUtilityTest : public DrawingTest {
 protected:
  PlotUtilityTest() : DrawingTest("plot_utility") {}
  void SetUp() override {
    DrawingTest::SetUp();
    common::MessagesEnabled = 1;
    common::ProgramName = "vob4";
  }
};

TEST_F(PlotUtilityTest, FormCommandLines) {
  common::TempDirectory = "/tmp/work";
  TPlotFormSettings form = DefaultPlotFormSettings();
  EXPECT_EQ(BuildPlotCommandLine(form), "/tramlin/wtramlin /tmp/work/tramlin /CHPL");

  // Serial on COM 2, fitted to the sheet, turned.
  form.Interface = 0;
  form.Com = "2";
  form.Scale = "0";
  form.Rotate = true;
  EXPECT_EQ(BuildPlotCommandLine(form), "/tramlin/wtramlin /tmp/work/tramlin /CHPL /D1 /P2 /M* /R");

  // Into a file, PostScript with its font, shifted, scaled as typed.
  form = DefaultPlotFormSettings();
  form.OutputCode = 1;
  form.PsFont = PostScriptFontNames[4];
  form.Interface = 2;
  form.OutputDirectory = "/plots/";
  form.Scale = "2.5";
  form.XShift = "-10";
  form.YShift = "abc";  // no number: 0, not written
  form.TextFactor = "0.8";
  EXPECT_EQ(BuildPlotCommandLine(form),
            "/tramlin/wtramlin /plots/tramlin /CPS /D3 /F/plots/tramlin /M2.5 /X-10 /B0.8 /THelvetica");
  // The parallel port other than 1; no output code chosen.
  form = DefaultPlotFormSettings();
  form.Lpt = "3";
  form.OutputCode = -1;
  EXPECT_EQ(BuildPlotCommandLine(form), "/tramlin/wtramlin /tmp/work/tramlin /C /P3");

  // Paths with blanks are kept whole in quotes, and the line's words are
  // those paths again.
  common::TempDirectory = "/tmp/a b";
  form = DefaultPlotFormSettings();
  form.ProgramPath = "/opt/my plot/wtramlin";
  form.Interface = 2;
  const std::string line = BuildPlotCommandLine(form);
  EXPECT_EQ(line, "\"/opt/my plot/wtramlin\" \"/tmp/a b/tramlin\" /CHPL /D3 /F\"/tmp/a b/tramlin\"");
  EXPECT_EQ(platform::CommandLineWords(line),
            (std::vector<std::string>{"/opt/my plot/wtramlin", "/tmp/a b/tramlin", "/CHPL", "/D3", "/F/tmp/a b/tramlin"}));
  EXPECT_EQ(platform::CommandLineWords("  a\t\"\" \"b c\"d  "), (std::vector<std::string>{"a", "", "b cd"}));

  EXPECT_STREQ(PostScriptFontNames[0], "Times-Roman");
  EXPECT_STREQ(PostScriptFontNames[34], "other fonts");
}

// Answers for the questions after the program directory: HPL, parallel on
// LPT 1, scale 1, no turn, no shift, text factor 1.
void AnswerPlainSettings(platform::ScriptedDialogs& dialogs) {
  dialogs.Then(ScriptedAnswer::Choose(0))
      .Then(ScriptedAnswer::Choose(1))
      .Then(ScriptedAnswer::Enter("1"))
      .Then(ScriptedAnswer::Enter("1"))
      .Then(ScriptedAnswer::Choose(1))
      .Then(ScriptedAnswer::Enter("0"))
      .Then(ScriptedAnswer::Enter("0"))
      .Then(ScriptedAnswer::Enter("1"));
}

TEST_F(PlotUtilityTest, QuestionSequenceFromTheDeviceChoiceAndTheBatchScript) {
  struct InDirectory {
    explicit InDirectory(const std::filesystem::path& dir) { std::filesystem::current_path(dir); }
    ~InDirectory() { std::filesystem::current_path(cwd); }
    std::filesystem::path cwd = std::filesystem::current_path();
  } inScratch(scratch_.Dir());
  common::TempDirectory = "t";
  // Program directories whose command lines are 60 and 61 characters long.
  const std::string dir60(35, 'd'), dir61(36, 'd');
  for (const std::string& dir : {dir60, dir61}) {
    std::filesystem::create_directory(dir);
    testsupport::Put(dir + "/wtramlin.exe", "");
  }
  auto& settings = common::CadSettings;

  // Device 4 with "0" as its line: the questions build it.
  dialogs_.Then(ScriptedAnswer::Choose(3)).Then(ScriptedAnswer::Enter("0"));
  dialogs_.Then(ScriptedAnswer::Choose(0))          // WTRAMLIN
      .Then(ScriptedAnswer::Enter("missing"))       // no program there: asked again
      .Then(ScriptedAnswer::Enter(dir60));
  AnswerPlainSettings(dialogs_);
  SelectCadDevice();
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(CadDevice, CadDevicePlot);
  EXPECT_EQ(settings.PlotCommandLines[1], dir60 + "/WTRAMLIN t/tramlin /CHPL");
  EXPECT_EQ(settings.PlotCommandLines[1].size(), 60u);
  bool refused = false;
  for (const auto& asked : dialogs_.Asked())
    if (asked.text.find("missing/wtramlin.exe") != std::string::npos) refused = true;
  EXPECT_TRUE(refused) << "the missing program was not reported";

  // One character more: the line goes into a script, after a name with a
  // dot was refused.
  std::string line = "C:\\TRAMLIN\\WTRAMLIN TRAMLIN.DXF /M1.0";
  dialogs_.Then(ScriptedAnswer::Choose(0)).Then(ScriptedAnswer::Enter(dir61));
  AnswerPlainSettings(dialogs_);
  dialogs_.Then(ScriptedAnswer::Enter("plot.sh"))
      .Then(ScriptedAnswer::Enter("plot"));
  const std::size_t before = dialogs_.Asked().size();
  ConfigurePlotUtility(line);
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(line, "plot.BAT");
  const auto& asked = dialogs_.Asked();
  ASSERT_GE(asked.size(), before + 2);
  EXPECT_EQ(asked[before + 1].initial, "C:\\TRAMLIN") << "the program directory starts from the line in use";
  bool told = false;
  for (std::size_t i = before; i < asked.size(); ++i)
    if (asked[i].text == "command line too long, A batch file will be created.") told = true;
  EXPECT_TRUE(told);
  EXPECT_EQ(testsupport::Slurp("plot.BAT"), "#!/bin/sh\n" + dir61 + "/WTRAMLIN t/tramlin /CHPL\n");
  EXPECT_NE(std::filesystem::status("plot.BAT").permissions() & std::filesystem::perms::owner_exec,
            std::filesystem::perms::none);

  // Cancel in the middle keeps the line.
  dialogs_.Then(ScriptedAnswer::Choose(0)).Then(ScriptedAnswer::Enter(dir60)).Then(ScriptedAnswer::Cancel());
  ConfigurePlotUtility(line);
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(line, "plot.BAT");
}

TEST_F(PlotUtilityTest, DeviceWritesTheDxfFileAndStartsTheUtility) {
  auto& settings = common::CadSettings;
  const std::string dxf = scratch_.Path("tramlin.dxf");
  std::vector<std::string> started;
  {
    platform::ScopedCommandStarter starter([&](const std::string& line) {
      started.push_back(line);
      return platform::StartResult{};
    });
    settings.PlotCommandLines[2] = "/opt/plot/wtramlin " + dxf + " /CPS";
    settings.PlotCommandIndex = 2;
    CadOpenOutput(CadDevicePlot);
    EXPECT_EQ(settings.CadFileName, dxf);
    CadDrawingFrame(0, 0, 160, 120, 0);
    CadBeginTables(0);
    CadInsertLogos();
    CadLine(0, 0, 10, 10);
    CadEndSection();
    CadCloseOutput();
  }
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(started[0], "/opt/plot/wtramlin " + dxf + " /CPS");
  const std::string written = testsupport::Slurp(dxf);
  EXPECT_NE(written.find("LINE\r\n  8\r\n0\r\n 10\r\n0.000000"), std::string::npos);
  EXPECT_EQ(written.substr(written.size() - 10), "  0\r\nEOF\r\n");

  // The utility really started: a script that records its arguments.
  const std::string script = scratch_.Path("fakeplot");
  const std::string record = scratch_.Path("arguments.txt");
  testsupport::Put(script, "#!/bin/sh\necho \"$@\" > " + testsupport::Quoted(record + ".part") + " && mv " +
                               testsupport::Quoted(record + ".part") + " " + testsupport::Quoted(record) + "\n");
  std::filesystem::permissions(script, std::filesystem::perms::owner_all);
  // Paths with blanks (a temporary directory of "/tmp/a b") in quotes.
  settings.PlotCommandLines[2] =
      platform::CommandLineWord(script) + " " + platform::CommandLineWord(dxf) + " /CHPL /R";
  CadOpenOutput(CadDevicePlot);
  CadLine(0, 0, 5, 5);
  CadCloseOutput();
  for (int i = 0; i < 200 && !std::filesystem::exists(record); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  EXPECT_EQ(testsupport::Slurp(record), dxf + " /CHPL /R\n");
  EXPECT_TRUE(dialogs_.Asked().empty());

  // A utility that is not there: the message, and the file stays.
  std::filesystem::remove(dxf);
  settings.PlotCommandLines[2] =
      platform::CommandLineWord(scratch_.Path("nowhere/wtramlin")) + " " + platform::CommandLineWord(dxf);
  CadOpenOutput(CadDevicePlot);
  CadLine(0, 0, 5, 5);
  CadCloseOutput();
  ASSERT_EQ(dialogs_.Asked().size(), 1u);
  EXPECT_EQ(dialogs_.Asked()[0].text, "file not found");
  EXPECT_TRUE(std::filesystem::exists(dxf));
}

}  // namespace
