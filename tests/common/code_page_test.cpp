#include "common/code_page.h"

#include <gtest/gtest.h>

#include <set>

#include "common/kaldvar.h"

using namespace common;

namespace {

class CodePage : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override { Reset(); }
  static void Reset() {
    AsciiTextMode = false;
    CadTextMode = 2;
  }
};

std::string AllCodes() {
  std::string all;
  for (int c = 0; c < 256; ++c) all.push_back(static_cast<char>(c));
  return all;
}

}  // namespace

TEST_F(CodePage, TableIsCompleteAndOneToOne) {
  std::set<char32_t> seen;
  for (int c = 0; c < 128; ++c) EXPECT_EQ(Cp850ToUnicode(static_cast<std::uint8_t>(c)), static_cast<char32_t>(c));
  for (int c = 0; c < 256; ++c) seen.insert(Cp850ToUnicode(static_cast<std::uint8_t>(c)));
  EXPECT_EQ(seen.size(), 256u);
  EXPECT_EQ(Cp850ToUnicode(0x81), U'\u00FC');  // ü
  EXPECT_EQ(Cp850ToUnicode(0xE1), U'\u00DF');  // ß
  EXPECT_EQ(Cp850ToUnicode(0xF8), U'\u00B0');  // °
  EXPECT_EQ(Cp850ToUnicode(0xFD), U'\u00B2');  // ²
  EXPECT_EQ(Cp850ToUnicode(0xE6), U'\u00B5');  // µ
  EXPECT_EQ(Cp850ToUnicode(0xF1), U'\u00B1');  // ±
  EXPECT_EQ(Cp850ToUnicode(0xC4), U'\u2500');  // ─
  EXPECT_EQ(Cp850ToUnicode(0xD5), U'\u0131');  // dotless i
  EXPECT_EQ(Cp850ToUnicode(0xFF), U'\u00A0');
}

TEST_F(CodePage, DisplayTextIsUtf8AndConvertsBack) {
  EXPECT_EQ(OemToDisplayText("Z\x84hne 20\xF8 \xF1 1 mm\xFD"), "Zähne 20° ± 1 mm²");
  EXPECT_EQ(AnsiToOemText("Zähne 20° ± 1 mm²"), "Z\x84hne 20\xF8 \xF1 1 mm\xFD");
  EXPECT_EQ(AnsiToOemText(OemToDisplayText(AllCodes())), AllCodes());
  EXPECT_EQ(AnsiToOemBuffer(OemToAnsiBuffer(AllCodes())), AllCodes());
  // Characters that code page 850 lacks and malformed UTF-8.
  EXPECT_EQ(AnsiToOemText("a€b"), "a?b");
  EXPECT_EQ(AnsiToOemText("a\xFF" "b\xC3"), "a?b?");
  EXPECT_EQ(AnsiToOemText("\xC0\x80"), "??");  // overlong form of NUL
  EXPECT_EQ(AnsiToOemText("\xF0\x9F\x98\x80"), "?");
  EXPECT_EQ(AnsiToDisplayText("Zähne"), "Zähne");
}

TEST_F(CodePage, LongTextsAreConvertedWhole) {
  const std::string longText(300, '\x81');
  EXPECT_EQ(OemToDisplayText(longText).size(), 600u);
  EXPECT_EQ(AnsiToOemText(OemToDisplayText(longText)), longText);
  AsciiTextMode = true;
  std::string expected;
  for (int i = 0; i < 300; ++i) expected += "ue";
  EXPECT_EQ(OemToDisplayText(longText), expected);
  EXPECT_EQ(OemToDisplayText(std::string(255, 'x')), std::string(255, 'x'));
}

TEST_F(CodePage, AsciiModeTransliteratesAndDrawsBoxesWithAscii) {
  AsciiTextMode = true;
  EXPECT_EQ(OemToDisplayText("T = 20\xF8 \xF1 1"), "T = 20deg +/- 1");
  EXPECT_EQ(OemToDisplayText("\xDA\xC4\xC4\xBF\n\xB3  \xB3\n\xC0\xCD\xCD\xD9"), "+--+\n|  |\n+--+");
  EXPECT_EQ(OemToDisplayText("Gr\x94\xE1" "e \x81\x84\x8E\x99\x9A\x82\xA0\xA3\xA4 \xE6m mm\xFD"),
            "Groesse ueaeAeOeUeeaun um mm2");
  // Letters outside the transliteration keep their meaning in the display set.
  EXPECT_EQ(OemToDisplayText("\x86\xA1\xA2\xFC"), "åíó³");
  EXPECT_EQ(OemToDisplayText("a|b"), "a|b");
  // Letters beside the box codes stay letters; every box code is drawn.
  EXPECT_EQ(OemToDisplayText("S\xC6o Jo\xC6o | \xB5ngel \xD6\xC7"), "São João | Ángel ÍÃ");
  EXPECT_EQ(OemToDisplayText("\xC1\xC2\xCA\xCB"), "++++");  // the line ┴┬╩╦
  EXPECT_EQ(OemToDisplayText("\xB3\xB4\xB9\xBA\xC3\xC5\xCC"), "|||||||");
  EXPECT_EQ(OemToDisplayText("\xBB\xBC\xBF\xC0\xC8\xC9\xCE\xD9\xDA"), "+++++++++");
  EXPECT_EQ(OemToDisplayText("\xB6\xB7\xB8\xBD\xBE\xC7\xD1\xD2\xD3\xD4\xD6\xD7\xE0"), "ÂÀ©¢¥ÃÐÊËÈÍÎÓ");
  EXPECT_EQ(TransliterateOemToAscii("\xFE\xB3|"), "\xFE\xB3|");  // other characters copied
  // OemBoxToAnsi outside ASCII mode keeps umlauts as letters.
  AsciiTextMode = false;
  EXPECT_EQ(OemBoxToAnsi("\x81\xC5\xCD"), "ü|-");
  EXPECT_EQ(OemBoxToAnsi("\xFE"), "■");
}

TEST_F(CodePage, TextForOutputModeFollowsCadTextMode) {
  const std::string text = "20\xF8";
  CadTextMode = 1;
  EXPECT_EQ(TextForOutputMode(text), text);
  CadTextMode = 2;
  EXPECT_EQ(TextForOutputMode(text), "20°");
  CadTextMode = 3;
  EXPECT_EQ(TextForOutputMode(text), "20deg");
  CadTextMode = 7;
  EXPECT_EQ(TextForOutputMode(text), text);
}
