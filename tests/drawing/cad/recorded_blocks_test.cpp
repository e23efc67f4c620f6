// The screen's blocks kept in memory draw what their part files drew: for
// several views (a block of every entity kind inserted turned, scaled, at
// the origin, in the erasing pen and from a user's part file; quick sheets
// 1, 3 and 4 of a rated design; the animation with blocks) the display list
// of the screen recording its blocks in memory is the one of the screen
// recording them into part files, record by record, every number within
// the precision the part file carried.
#include "drawing/cad/recorded_blocks.h"

#include <cmath>
#include <filesystem>
#include <functional>

#include "calc/calc_records.h"
#include "calc/noncircular_pair.h"
#include "calc/spur_gear_data.h"
#include "common/graphics_facade.h"
#include "common/graphics_window.h"
#include "drawing/cad/cad_back_ends.h"
#include "drawing/gear_animation.h"
#include "drawing/quick_sheets.h"
#include "drawing/drawing_test_support.h"
#include "platform/clock.h"

namespace {

using namespace drawing;

// The screen device with its blocks in memory or, as before, in part files:
// every call goes to the screen's own back end. At the close it notes
// whether any part file of a recorded block was there.
class Screen : public CadBackEnd {
 public:
  explicit Screen(bool inMemory) : inMemory_(inMemory) {}
  bool sawPartFiles = false;

  bool RecordsBlocksAsFiles() const override { return screen_.RecordsBlocksAsFiles(); }
  bool RecordsBlocksInMemory() const override { return inMemory_; }
  bool WritesNativePolylines() const override { return screen_.WritesNativePolylines(); }
  bool PlacesLogos() const override { return screen_.PlacesLogos(); }
  void Open() override { screen_.Open(); }
  void Close() override {
    for (const auto& entry : std::filesystem::directory_iterator(common::TempDirectory)) {
      const std::string name = entry.path().filename().string();
      if (name != "$USERPART.dx$" && entry.path().extension() == ".dx$") sawPartFiles = true;
    }
    screen_.Close();
  }
  void DrawingFrame(Real x1, Real y1, Real x2, Real y2) override { screen_.DrawingFrame(x1, y1, x2, y2); }
  void BeginTables(int mode) override { screen_.BeginTables(mode); }
  void BeginBlocksSection() override { screen_.BeginBlocksSection(); }
  void BeginBlock(const std::string& name) override { screen_.BeginBlock(name); }
  void EndBlock() override { screen_.EndBlock(); }
  void EndSection() override { screen_.EndSection(); }
  void BeginEntities() override { screen_.BeginEntities(); }
  void SelectPen(int pen) override { screen_.SelectPen(pen); }
  void TextSizeChanged(int font, Real width) override { screen_.TextSizeChanged(font, width); }
  void SetPenStyle(int style) override { screen_.SetPenStyle(style); }
  void Delay(int milliseconds) override { screen_.Delay(milliseconds); }
  void Line(Real x1, Real y1, Real x2, Real y2) override { screen_.Line(x1, y1, x2, y2); }
  void Circle(Real x, Real y, Real r) override { screen_.Circle(x, y, r); }
  void Arc(Real x, Real y, Real a1, Real a2, Real r, Real sweep) override { screen_.Arc(x, y, a1, a2, r, sweep); }
  void Text(const std::string& text, Real x, Real y) override { screen_.Text(text, x, y); }
  void Solid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) override {
    screen_.Solid(x1, y1, x2, y2, x3, y3, x4, y4);
  }

 private:
  CadBackEnd& screen_ = ScreenBackEnd();
  bool inMemory_;
};

class RecordedBlocks : public drawingtest::DrawingTest {
 protected:
  RecordedBlocks() : DrawingTest("recorded_blocks") {}
  void SetUp() override {
    DrawingTest::SetUp();
    calc::InitGearData();
    calc::SetSpurGearDefaults();
    calc::SetNoncircularDefaults();
    auto& g = calc::SpurGearData;
    g.P = 10;
    g.n[1] = 1000;
    g.CalcMethod = 1;
    g.DrawingName[1] = "Drive";
    g.DrawingName[2] = "Cam";
    common::InitGraphDisplayList();
    calc::CalcNoncircularPair();
    ASSERT_EQ(common::FatalFlag, 0);
  }
  void TearDown() override {
    AnimationFormView() = nullptr;
    DrawingTest::TearDown();
  }

  // The display list of the picture on the screen with its blocks in
  // memory or in part files, from the same start.
  std::vector<std::string> Draw(const std::function<void()>& picture, bool inMemory) {
    const platform::ScopedClock clock({2026, 5, 4, 10, 20, 30, 0});
    InitCadDrawingState();
    common::InitGraphDisplayList();
    common::ClearErrorMessages();
    Screen screen(inMemory);
    {
      const ScopedCadBackEnd scoped(CadDeviceScreen, screen);
      picture();
    }
    EXPECT_EQ(common::AbortFlag, 0);
    EXPECT_EQ(screen.sawPartFiles, !inMemory) << (inMemory ? "a part file was written" : "no part file was written");
    return common::DisplayList.Texts();
  }

  // Both lists the same record by record: codes, colours, styles, widths
  // and texts alike, the numbers within what the part file's six decimals
  // move them (and the last of the eight digits of the record's text).
  static void ExpectSameRecords(const std::vector<std::string>& fromFiles, const std::vector<std::string>& inMemory,
                                std::size_t least) {
    ASSERT_EQ(fromFiles.size(), inMemory.size());
    EXPECT_GE(fromFiles.size(), least);
    int differing = 0;
    for (std::size_t i = 0; i < fromFiles.size(); ++i) {
      const common::TDisplayRecord a = common::ParseDisplayRecord(fromFiles[i]);
      const common::TDisplayRecord b = common::ParseDisplayRecord(inMemory[i]);
      bool same = a.code == b.code && a.count == b.count && a.hasText == b.hasText && a.text == b.text;
      for (std::size_t k = 0; same && k < a.count; ++k)
        same = std::fabs(a.values[k] - b.values[k]) <= 2e-6L + 2e-7L * std::fabs(a.values[k]);
      if (!same && ++differing <= 5) ADD_FAILURE() << "record " << i << ": " << fromFiles[i] << " / " << inMemory[i];
    }
    EXPECT_EQ(differing, 0);
  }

  void ExpectSameOnBothWays(const std::function<void()>& picture, std::size_t least) {
    const std::vector<std::string> fromFiles = Draw(picture, false);
    const std::vector<std::string> inMemory = Draw(picture, true);
    ExpectSameRecords(fromFiles, inMemory, least);
  }
};

TEST_F(RecordedBlocks, EveryEntityKindTurnedScaledNestedAndErased) {
  // A part file of the user that places a recorded block and a line.
  testsupport::Put(scratch_.Path("$USERPART.dx$"),
                   "  0\r\nINSERT\r\n  8\r\n2\r\n  2\r\nMARK\r\n 10\r\n1.5\r\n 20\r\n2.5\r\n 50\r\n45.0\r\n"
                   "  0\r\nLINE\r\n  8\r\n0\r\n 10\r\n0.0\r\n 20\r\n0.0\r\n 11\r\n4.0\r\n 21\r\n1.0\r\n  0\r\nEOF\r\n");
  const auto picture = [] {
    CadOpenOutput(CadDeviceScreen);
    CadDrawingFrame(0, 0, 160, 120, 0);
    CadBeginTables(0);
    CadBeginBlocksSection();
    SetCadColor(3);
    CadBeginBlock("MARK");
    CadLine(-2, 0, 2, 0);
    CadCircle(0, 0, 1.5L);
    CadEndBlock();
    CadBeginBlock("Part");
    SetCadColor(19);
    CadLine(0, 0, 10.123456789L, 3.3333333333L);
    // A line that goes on from the last one's end, in another pen.
    SetCadColor(20);
    CadLine(10.123456789L, 3.3333333333L, 12, 1);
    SetCadColor(1);
    CadArc(5, 5, 10, 80, 4.4444444444L, 70);
    SetCadColor(21);
    CadArc(5, 5, 80, 10, 3.3L, -70);
    SetCadColor(2);
    SetCadTextSize(0, 33.3333L, 2.5L, 1.7777L);
    CadText("angled \x84", 1, 2);
    SetCadTextAlign(1, 0);
    SetCadTextSize(0, 0, 3, 0);
    CadText("centred", 8, 9);
    SetCadTextAlign(0, 0);
    SetCadColor(5);
    CadSolid(0, 0, 2, 0, 0, 1, 2, 1);
    SetCadColor(26);
    CadInsertBlock("MARK", 7, 7, 15, 0.5L, 0.5L);
    CadLine(1, 1, 2, 2);
    CadEndBlock();
    CadEndSection();
    CadInsertLogos();
    SetCadColor(4);
    CadInsertBlock("PART", 20, 30, 0, 1, 1);
    CadSetOrigin(5, 5);
    CadInsertBlockAtOrigin("part", 80, 60, 33, 2.5L, 1.5L);
    CadSetOrigin(0, 0);
    SetCadLineMode(2);
    SetCadColor(0);
    CadInsertBlock("PART", 20, 30, 0, 1, 1);
    SetCadLineMode(0);
    CadInsertBlock("USERPART", 100, 20, 10, 3, 3);
    SetCadColor(17);
    CadLine(0, 0, 1, 1);
    CadEndSection();
    CadCloseOutput();
  };
  ExpectSameOnBothWays(picture, 60);
}

TEST_F(RecordedBlocks, QuickSheetsOfARatedDesign) {
  for (const std::uint16_t sheet : {1, 3, 4}) {
    SCOPED_TRACE(sheet);
    ExpectSameOnBothWays([sheet] { DrawQuickSheet(sheet, CadDeviceScreen); }, 2500);
  }
}

TEST_F(RecordedBlocks, AnimationWithBlocks) {
  AnimationFormView() = [](TForm_vob1ani& form) {
    form.Edit_steps = "3";
    form.Edit_pause = "0";
    form.Button_okClick();
  };
  ExpectSameOnBothWays([] { AnimateGears2(2); }, 5000);
}

}  // namespace
