// The column layout of the data grid (dbase/ui/tz_grid.h) as it is stored
// with a form: the list "savedColumns" of key=value strings, one group per
// column, read into column records (field, width, colours, fonts,
// alignment, read-only, title). Colours are 0x00BBGGRR values; the system
// colours carry kSystemColourFlag and the system colour's index.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace dbase {

using TColor = std::uint32_t;
inline constexpr TColor kSystemColourFlag = 0xFF000000u;
inline constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                        clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                        clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                        clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF;
inline constexpr TColor clWindow = kSystemColourFlag | 5, clWindowText = kSystemColourFlag | 8,
                        clHighlight = kSystemColourFlag | 13, clHighlightText = kSystemColourFlag | 14,
                        clBtnFace = kSystemColourFlag | 15, clGrayText = kSystemColourFlag | 17;

// A colour from its name ("clRed", any case) or its number (decimal, or
// hexadecimal after '$' or "0x"); nothing for any other text.
std::optional<TColor> ColourFromText(const std::string& text);

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

struct TGridFont {
  std::string name;
  TColor colour = clWindowText;
  int size = 8;
  bool bold = false, italic = false, underline = false, strikeOut = false;
};

struct TGridColumn {
  std::string fieldName;
  int width = -1;  // -1: the field's width
  std::optional<TColor> colour;
  std::optional<TGridFont> font;
  TAlignment alignment = TAlignment::taLeftJustify;
  bool alignmentSet = false;
  bool readOnly = false;
  std::optional<TColor> titleColour;
  std::optional<std::string> titleCaption;
  TAlignment titleAlignment = TAlignment::taLeftJustify;
  std::optional<TGridFont> titleFont;
};

// Reads a "savedColumns" list into the grid's columns. A grid whose only
// column is the empty placeholder (no field, no title) starts without
// columns. "cvColumn=n" adds columns until column n (from 0) exists and
// makes it the current one; the other keys set the current column's
// properties; strings before the first "cvColumn" are ignored. A column
// number or width that is not a number throws std::invalid_argument.
void ReadSavedColumns(std::vector<TGridColumn>& columns, const std::vector<std::string>& saved);

// A font value "name,colour,number": the low 8 bits of the number are the
// size, 0x100 bold, 0x200 italic, 0x400 underline, 0x800 strike-out; a
// colour that is not valid leaves the colour as it was.
TGridFont FontFromText(const std::string& text, TGridFont font = TGridFont{});

}  // namespace dbase
