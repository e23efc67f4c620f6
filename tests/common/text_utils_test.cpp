#include "common/text_utils.h"

#include <gtest/gtest.h>

#include "common/kaldvar.h"
#include "common/text_wrap.h"

using namespace common;

TEST(TextUtils, CaseCutAndPad) {
  EXPECT_EQ(UpperText("abc\x81z1"), "ABC\x81Z1");  // only ASCII letters change
  EXPECT_EQ(LowerText("ABC\x9AZ"), "abc\x9Az");
  EXPECT_EQ(LeftText("abcdef", 3), "abc");
  EXPECT_EQ(LeftText("ab", 5), "ab");
  EXPECT_EQ(RightText("abcdef", 2), "ef");
  EXPECT_EQ(RightText("ab", 5), "ab");
  EXPECT_EQ(PadRightText("abc", 5), "abc  ");
  EXPECT_EQ(PadRightText("abcdef", 4), "abcd");
  EXPECT_EQ(PadLeftText("  ab ", 4), "  ab");
  EXPECT_EQ(PadLeftText(" abcdef", 3), "abc");
  EXPECT_EQ(TrimBlanks("  a b  "), "a b");
  EXPECT_EQ(TrimBlanks("    "), "");
  EXPECT_EQ(TrimBlanks("\ta "), "\ta");  // only the blank counts
  EXPECT_EQ(RemoveBlanks(" a b c "), "abc");
  std::string t = "1 2";
  RemoveBlanksInPlace(t);
  EXPECT_EQ(t, "12");
}

TEST(TextUtils, ReplaceCountSearch) {
  std::string t = "a.b.c";
  ReplaceChar('.', ';', t);
  EXPECT_EQ(t, "a;b;c");
  EXPECT_EQ(PointToComma("1.5"), "1,5");
  EXPECT_EQ(CommaToPoint("1,5,6"), "1.5.6");
  EXPECT_EQ(CountChar('\\', "C:\\a\\b"), 2);
  EXPECT_EQ(LastSubTextPos("\\", "C:\\dir\\file.vb4"), 7);
  EXPECT_EQ(LastSubTextPos("\\", "file"), 0);
  EXPECT_EQ(LastSubTextPos("aa", "aaa"), 1);  // forward search behind each hit
  EXPECT_EQ(LastSubTextPos("", "abc"), 0);
}

TEST(TextUtils, AbbreviateAndPlace) {
  const std::string name = "ABCDEFGHIJKLMNOPQRST";  // 20 characters
  EXPECT_EQ(AbbreviateText(name, 12), "ABCD__QRST");
  EXPECT_EQ(AbbreviateText(name, 21), name);
  EXPECT_EQ(AbbreviateText(name, 20), "ABCDEFGH__MNOPQRST");
  EXPECT_EQ(AbbreviateText(name, 10), "ABCDEFGHIJ");
  EXPECT_EQ(AbbreviateText("", 0), "");

  std::string line(10, '.');
  PutTextAt("abc", line, 1);
  EXPECT_EQ(line, "abc.......");
  PutTextAt("xyz", line, 8);  // ends exactly at the line end
  EXPECT_EQ(line, "abc....xyz");
  PutTextAt("12", line, 10);  // would run past the end
  PutTextAt("12", line, 0);
  EXPECT_EQ(line, "abc....xyz");
  EXPECT_EQ(line.size(), 10u);
}

TEST(TextUtils, SmallCharacterHelpers) {
  EXPECT_EQ(AddPlusSign("1.5"), "+1.5");
  EXPECT_EQ(AddPlusSign("-1.5"), "-1.5");
  EXPECT_EQ(IndexToLetter(1), 'A');
  EXPECT_EQ(IndexToLetter(26), 'Z');
  EXPECT_TRUE(IsYesChar('J'));
  EXPECT_TRUE(IsYesChar('Y'));
  EXPECT_FALSE(IsYesChar('j'));
  EXPECT_FALSE(IsYesChar('N'));
  EXPECT_EQ(YesNoChar(true), 'J');
  EXPECT_EQ(YesNoChar(false), 'N');
  const char* argv[] = {"vob4", "design.vb4", "/nogui"};
  SetCommandLineParams(3, argv);
  EXPECT_TRUE(HasCommandLineParam("/NOGUI"));
  EXPECT_TRUE(HasCommandLineParam("DESIGN.VB4"));
  EXPECT_FALSE(HasCommandLineParam("vob4"));  // the program name is no parameter
  EXPECT_FALSE(HasCommandLineParam("/I"));
  SetCommandLineParams({});
  EXPECT_FALSE(HasCommandLineParam("/NOGUI"));
}

TEST(TextWrap, BreaksAtTheLastBreakCharacter) {
  WrappedLines.fill(std::string(64, ' '));
  int widest = 0;
  int count = 0;
  WrapText("alpha beta gamma delta", ' ', 12, widest, count);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(WrappedLines[1], "alpha beta ");
  EXPECT_EQ(WrappedLines[2], "gamma delta");
  EXPECT_EQ(WrappedLines[3], std::string(64, ' '));  // lines beyond count stay
  EXPECT_EQ(widest, 11);

  // A break character only at position `width` is not used (search starts
  // at width - 1); without one the line is cut hard.
  WrapText("ab cdef gh", ' ', 8, widest, count);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(WrappedLines[1], "ab ");
  EXPECT_EQ(WrappedLines[2], "cdef gh");
  WrapText("abcdefghij", ' ', 4, widest, count);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(WrappedLines[3], "ij");
  EXPECT_EQ(widest, 4);

  WrapText("", ' ', 10, widest, count);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(WrappedLines[1], "");
  EXPECT_EQ(widest, 1);
}

TEST(TextWrap, NeverWritesPastFiveLines) {
  WrappedLines.fill(std::string(64, ' '));
  int widest = 0;
  int count = 0;
  WrapText(std::string(100, 'x'), ' ', 10, widest, count);
  EXPECT_EQ(count, 5);
  for (int i = 1; i <= 5; ++i) EXPECT_EQ(WrappedLines[i], std::string(10, 'x'));
  WrapText("abc", ' ', 0, widest, count);  // a zero width still ends
  EXPECT_EQ(count, 3);
  EXPECT_EQ(WrappedLines[1], "a");
}
