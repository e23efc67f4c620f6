// The drawing-name form's data (shown converted for display, stored back in
// the program's code page on OK, untouched on Cancel) and the carrier
// outline on the DXF device.
#include "drawing/drawing_name_form.h"

#include <gtest/gtest.h>

#include "calc/spur_gear_data.h"
#include "common/kaldvar.h"
#include "drawing/outlines/carrier_outline.h"
#include "drawing_test_support.h"

using namespace drawing;
using drawingtest::DrawingTest;

namespace {

class DrawingNamesTest : public DrawingTest {
 protected:
  DrawingNamesTest() : DrawingTest("drawing_names") {}
};

TEST_F(DrawingNamesTest, NamesShownForDisplayAndStoredInTheProgramCodePage) {
  auto& data = calc::SpurGearData;
  data.DrawingName[1] = "Zahnrad 1";
  data.DrawingNumber[2] = "Z-0815";
  data.DrawingName2[2] = "Gro\xe1rad";  // code page 850 sharp s
  common::SheetTexts[1] = "Text one";
  common::SheetTexts[2] = "";
  TDrawingNameEdits edits = DrawingNameEditsFromRecords();
  EXPECT_EQ(edits.DrawingName[1], "Zahnrad 1");
  EXPECT_EQ(edits.DrawingNumber[2], "Z-0815");
  EXPECT_EQ(edits.DrawingName2[2], "Gro\xc3\x9f" "rad");
  EXPECT_EQ(edits.Info1, "Text one");

  // Cancel stores nothing.
  edits.DrawingName[1] = "changed";
  CancelDrawingNameForm();
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(data.DrawingName[1], "Zahnrad 1");

  // OK: an umlaut typed in the form is kept in code page 850 and shown
  // again unchanged.
  edits.DrawingName[2] = "Z\xc3\xa4hne";
  edits.Info2 = "zweite Zeile";
  StoreDrawingNameEdits(edits);
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(data.DrawingName[1], "changed");
  EXPECT_EQ(data.DrawingName[2], "Z\x84hne");
  EXPECT_EQ(common::SheetTexts[2], "zweite Zeile");
  EXPECT_EQ(DrawingNameEditsFromRecords(), edits);

  // Without a window nobody can be asked: the form ends as cancelled.
  common::AbortFlag = 0;
  ShowDrawingNameForm();
  EXPECT_EQ(common::AbortFlag, 1);
  bool shown = false;
  DrawingNameFormShower() = [&] {
    shown = true;
    common::AbortFlag = 0;
  };
  ShowDrawingNameForm();
  DrawingNameFormShower() = nullptr;
  EXPECT_TRUE(shown);
  EXPECT_EQ(common::AbortFlag, 0);
}

TEST_F(DrawingNamesTest, CarrierOutlineIsOnePolylineWithTwoHalfCirclesAndTheBores) {
  const std::string dxf = Write(CadDeviceDxf, "carrier.dxf", [] {
    CadSetOrigin(10, 20);
    DrawArcMark(8, 6, 15, 60);
  });
  const std::string expected =
      "  0\r\nPOLYLINE\r\n  8\r\n5\r\n 66\r\n1\r\n"
      "  0\r\nVERTEX\r\n  8\r\n5\r\n 10\r\n10.000000\r\n 20\r\n35.000000\r\n 42\r\n1.000000\r\n"
      "  0\r\nVERTEX\r\n  8\r\n5\r\n 10\r\n10.000000\r\n 20\r\n5.000000\r\n"
      "  0\r\nVERTEX\r\n  8\r\n5\r\n 10\r\n70.000000\r\n 20\r\n5.000000\r\n 42\r\n1.000000\r\n"
      "  0\r\nVERTEX\r\n  8\r\n5\r\n 10\r\n70.000000\r\n 20\r\n35.000000\r\n"
      "  0\r\nVERTEX\r\n  8\r\n5\r\n 10\r\n10.000000\r\n 20\r\n35.000000\r\n"
      "  0\r\nSEQEND\r\n  8\r\n5\r\n"
      "  0\r\nCIRCLE\r\n  8\r\n5\r\n 10\r\n10.000000\r\n 20\r\n20.000000\r\n 40\r\n8.000000\r\n"
      "  0\r\nCIRCLE\r\n  8\r\n5\r\n 10\r\n70.000000\r\n 20\r\n20.000000\r\n 40\r\n6.000000\r\n"
      "  0\r\nEOF\r\n";
  EXPECT_EQ(dxf, expected);
}

}  // namespace
