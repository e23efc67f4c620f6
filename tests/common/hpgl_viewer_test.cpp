// The HP-GL viewer: a plot file with pen moves, circles, labels with the
// umlaut convention, an arc and polyline-encoded data gives its strokes,
// colours and labels record by record in the graphics window's list.
#include "common/hpgl_viewer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "common/graphics_facade.h"
#include "common/kaldvar.h"
#include "platform/scripted_dialogs.h"
#include "support/file_test_support.h"
#include "support/graphics_start.h"
#include "support/process_locale.h"

using namespace common;

namespace {

// HP-GL/2 polyline encoding of one number: sign in the lowest bit, base-64
// digits (base 32 in seven-bit mode) lowest first, the last one from the
// terminating range.
std::string Encode(long long v, bool sevenBit = false) {
  unsigned long long n = static_cast<unsigned long long>(v < 0 ? -v : v) * 2 + (v < 0 ? 1 : 0);
  const unsigned base = sevenBit ? 32 : 64;
  std::string out;
  while (n >= base) {
    out.push_back(static_cast<char>(63 + n % base));
    n /= base;
  }
  out.push_back(static_cast<char>((sevenBit ? 95 : 191) + n));
  return out;
}

class HpglViewerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testsupport::StartGraphicsWindow();
    ClearGraphics();
    GraphHeader(0, 0, 160, 120);
    DisplayList.clear();
  }
};

}  // namespace

TEST_F(HpglViewerTest, StrokesColoursLabelsArcAndEncodedPolylineRecordByRecord) {
  const std::string plot = std::string("\x1b%0BIN;SP1;PU400,400;PD800,400,800,800;PU;CI200;\r\n") +
                           "SP3;SI0.2,0.3;DI0,1;LBGru}n\x03;CS3;LBGru}n\x03;sp7;pa0,0;pd40,0;XY12,34;" + "PE<=" +
                           Encode(4000) + Encode(0) + Encode(400) + Encode(0) + Encode(0) + Encode(-400) +
                           ";AA400,0,90;\x1b%0A";
  PlotPltText(plot);
  ASSERT_GE(DisplayList.size(), 13u);
  const std::vector<std::string> expected = {
      "8;12",        "4;10;10;20;10",    "4;20;10;20;20", "3;20;20;5",     "8;10",
      "9;3;2;0;90",  "6;20;20;Gru}n",    "9;3;2;0;90",    "6;20;20;Gr\xC3\xBCn", "8;15",
      "4;0;0;1;0",   "4;100;0;110;0",    "4;110;0;110;-10"};
  EXPECT_EQ(std::vector<std::string>(DisplayList.begin(), DisplayList.begin() + 13), expected);
  // The arc about (10, 0) from the pen at (110, -10), 90 degrees on.
  ASSERT_EQ(DisplayList.size(), 14u);
  EXPECT_EQ(DisplayList[13].rfind("5;", 0), 0u) << DisplayList[13];
  EXPECT_NEAR(static_cast<double>(PlotViewerState.X), 10 + 10, 1e-9);
  EXPECT_NEAR(static_cast<double>(PlotViewerState.Y), 100, 1e-9);
  EXPECT_EQ(AbortFlag, 0);
}

TEST_F(HpglViewerTest, SevenBitModeFractionalBitsAndLongLabels) {
  PlotPltText("SP2;PE7<=" + Encode(0, true) + Encode(0, true) + Encode(40, true) + Encode(40, true) + ";");
  EXPECT_EQ(DisplayList, (std::vector<std::string>{"8;14", "4;0;0;1;1"}));
  DisplayList.clear();
  PlotPltText("SP5;PE>" + Encode(1) + "<=" + Encode(0) + Encode(0) + Encode(80) + Encode(-80) + ";");
  EXPECT_EQ(DisplayList, (std::vector<std::string>{"8;9", "4;0;0;1;-1"}));
  DisplayList.clear();
  // A label is cut at 255 characters; the commands after it still count.
  PlotPltText("SP1;LB" + std::string(300, 'A') + "\x03PD40,0;");
  ASSERT_EQ(DisplayList.size(), 4u);
  EXPECT_EQ(DisplayList[2], "6;0;0;" + std::string(255, 'A'));
  EXPECT_EQ(DisplayList[3], "4;0;0;1;0");
  EXPECT_EQ(PenColour(7), 15);
  EXPECT_EQ(PenColour(9), 9);
}

TEST_F(HpglViewerTest, FileIsReadAndAMissingFileIsReported) {
  platform::ScriptedDialogs dialogs;
  platform::ScopedDialogs scoped(dialogs);
  const testsupport::ScratchDirectory scratch("hpgl_viewer");
  const std::string name = scratch.Path("hpgl_viewer_test.plt");
  {
    std::ofstream out(name, std::ios::binary);
    out << "IN;SP4;PU0,0;PD4000,0;";
  }
  PlotPltFile(name);
  std::filesystem::remove(name);
  EXPECT_EQ(DisplayList, (std::vector<std::string>{"8;11", "4;0;0;100;0"}));
  EXPECT_EQ(AbortFlag, 0);
  DisplayList.clear();
  PlotPltFile(name + ".missing");
  EXPECT_EQ(AbortFlag, 1);
  EXPECT_TRUE(DisplayList.empty());
  ASSERT_EQ(dialogs.Asked().size(), 1u);
  EXPECT_EQ(dialogs.Asked()[0].text, name + ".missing not found !");
}

// Numbers beyond HP-GL/2's range (2^30 - 1; fractional bits up to 26, pens
// up to 255) leave the rest of their command undrawn, whatever their
// length; the commands after it are read as usual and no coordinate that is
// not finite is recorded.
TEST_F(HpglViewerTest, NumbersOutOfRangeLeaveTheirCommand) {
  const auto finiteRecords = [] {
    for (const std::string& record : DisplayList)
      if (record.find("inf") != std::string::npos || record.find("nan") != std::string::npos) return false;
    return true;
  };
  // Twelve encoded digits: a value of 2^71, far beyond any integer type.
  PlotPltText("PE~~~~~~~~~~~\xfe");
  EXPECT_TRUE(DisplayList.empty());
  EXPECT_EQ(PlotViewerState.X, 0);
  EXPECT_EQ(AbortFlag, 0);

  // The largest value is drawn; one more leaves the command, the next
  // command draws again.
  const auto lines = [] {
    std::vector<std::string> out;
    for (const std::string& record : DisplayList)
      if (record.rfind("8;", 0) != 0) out.push_back(record);
    return out;
  };
  PlotPltText("SP1;PE=" + Encode(1073741823) + Encode(0) + Encode(1073741824) + Encode(0) + ";PD40,0;");
  EXPECT_EQ(lines(), (std::vector<std::string>{"4;0;0;26843546;0", "4;26843546;0;1;0"}));
  EXPECT_NEAR(static_cast<double>(PlotViewerState.X), 1, 1e-9);
  DisplayList.clear();
  PlotPltText("PE>" + Encode(27) + Encode(8) + Encode(8) + ";PE:" + Encode(256) + Encode(8) + Encode(8) +
              ";PE:" + Encode(-1) + ";PD40,0;");
  EXPECT_EQ(lines(), (std::vector<std::string>{"4;0;0;1;0"}));

  // A parameter of a thousand digits and one of 2^30 leave their command
  // (the pen is down since PD, no circle is drawn).
  DisplayList.clear();
  PlotPltText("SP1;PD" + std::string(1000, '9') + ",0,40,40;CI1073741824;PA40,40;PD0,0;");
  EXPECT_EQ(lines(), (std::vector<std::string>{"4;0;0;1;1", "4;1;1;0;0"}));
  EXPECT_TRUE(finiteRecords());

  // Many relative moves at the largest step stay finite.
  DisplayList.clear();
  std::string steps = "PE";
  for (int i = 0; i < 2000; ++i) steps += Encode(1073741823) + Encode(-1073741823);
  PlotPltText(steps + ";");
  EXPECT_EQ(lines().size(), 2000u);
  EXPECT_TRUE(finiteRecords());
  EXPECT_TRUE(std::isfinite(PlotViewerState.X));
}

// The six hostile plot files of the range checks, each read from its file:
// every one ends with one message that names the file, the first number out
// of range with its command and how many commands were left undrawn; the
// figures before it stay. A sound file says nothing.
TEST_F(HpglViewerTest, HostilePlotFilesEndWithTheirMessage) {
  platform::ScriptedDialogs dialogs;
  platform::ScopedDialogs scoped(dialogs);
  struct Hostile {
    std::string name, bytes, says;
    std::size_t lines;  // drawn by the sound commands
  };
  const testsupport::ScratchDirectory scratch("hpgl_hostile");
  const std::vector<Hostile> files = {
      {"digits.plt", "PE~~~~~~~~~~~\xfe;", "encoded number in PE out of range; 1 command not drawn", 0},
      {"encoded.plt", "SP1;PE=" + Encode(1073741824) + Encode(0) + ";PD40,0;",
       "encoded number in PE out of range; 1 command not drawn", 1},
      {"fraction.plt", "PE>" + Encode(27) + Encode(8) + Encode(8) + ";PD40,0;",
       "fractional bits 27 in PE out of range; 1 command not drawn", 1},
      {"pen.plt", "PE:" + Encode(256) + Encode(8) + Encode(8) + ";PE:" + Encode(-1) + ";",
       "pen 256 in PE out of range; 2 commands not drawn", 0},
      {"parameter.plt", "SP1;PD" + std::string(1000, '9') + ",0,40,40;PA40,40;",
       "number 999999999999999999999... in PD out of range; 1 command not drawn", 1},
      {"circle.plt", "SP1;PD40,0;CI1073741824;CI-1073741825;",
       "number 1073741824 in CI out of range; 2 commands not drawn", 1},
  };
  for (const Hostile& file : files) {
    SCOPED_TRACE(file.name);
    const std::string path = scratch.Path(file.name);
    {
      std::ofstream out(path, std::ios::binary);
      out << file.bytes;
    }
    dialogs.ClearRecord();
    DisplayList.clear();
    PlotPltFile(path);
    std::filesystem::remove(path);
    ASSERT_EQ(dialogs.Asked().size(), 1u);
    EXPECT_EQ(dialogs.Asked()[0].text, "Plot file " + path + ": " + file.says);
    EXPECT_EQ(AbortFlag, 0);
    std::size_t lines = 0;
    for (const std::string& record : DisplayList) {
      lines += record.rfind("4;", 0) == 0;
      EXPECT_EQ(record.find("inf"), std::string::npos) << record;
      EXPECT_EQ(record.find("nan"), std::string::npos) << record;
    }
    EXPECT_EQ(lines, file.lines);
  }
  const std::string sound = scratch.Path("sound.plt");
  {
    std::ofstream out(sound, std::ios::binary);
    out << "IN;SP1;PU0,0;PD1073741823,0;CI40;";
  }
  dialogs.ClearRecord();
  PlotPltFile(sound);
  std::filesystem::remove(sound);
  EXPECT_TRUE(dialogs.Asked().empty());
}

// The plot files' numbers have a decimal point whatever the locale: on a
// German desktop (the locale set as the window program's start sets it) an
// inline plot and every shipped picture give the records they give under
// the C locale, their labels and text sizes among them.
TEST_F(HpglViewerTest, PicturesReadTheSameUnderAGermanLocale) {
  const auto plotted = [](const char* locale, const auto& plot) {
    testsupport::ProcessLocale set(locale);
    if (!set.Set()) return std::optional<std::vector<std::string>>();
    ClearGraphics();
    GraphHeader(0, 0, 160, 120);
    DisplayList.clear();
    plot();
    return std::optional<std::vector<std::string>>(DisplayList);
  };
  const auto inline_plot = [] { PlotPltText("SP1;SI0.28,0.40;DI1.5,0.5;PU400.5,400;LBalpha\x03;CI200.25;"); };
  const auto german = plotted(testsupport::kGermanLocale, inline_plot);
  if (!german) GTEST_SKIP() << "the locale " << testsupport::kGermanLocale << " is not installed";
  const auto c = plotted("C", inline_plot);
  EXPECT_EQ(*german, *c);
  ASSERT_GE(c->size(), 3u);
  EXPECT_NE(std::find_if(c->begin(), c->end(), [](const std::string& r) { return r.rfind("6;", 0) == 0; }), c->end());

  platform::ScriptedDialogs dialogs;
  platform::ScopedDialogs scoped(dialogs);
  int pictures = 0;
  for (const auto& entry : std::filesystem::directory_iterator(std::string(VOB_SOURCE_DIR) + "/resources")) {
    if (entry.path().extension() != ".plt") continue;
    ++pictures;
    const auto file = [&] { PlotPltFile(entry.path().string()); };
    const auto inC = plotted("C", file);
    EXPECT_EQ(*plotted(testsupport::kGermanLocale, file), *inC) << entry.path();
    const bool labelled =
        std::any_of(inC->begin(), inC->end(), [](const std::string& r) { return r.rfind("6;", 0) == 0; });
    if (entry.path().filename() == "rack.plt") {
      EXPECT_TRUE(labelled);
    }
  }
  EXPECT_GT(pictures, 0);
  EXPECT_TRUE(dialogs.Asked().empty());
}
