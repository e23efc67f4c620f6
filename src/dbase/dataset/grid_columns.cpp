// Reading the stored column layout of the data grid; see grid_columns.h.
#include "dbase/dataset/grid_columns.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <stdexcept>
#include <utility>

namespace dbase {

namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// A whole number, as the form reader converts it: anything else is a
// conversion error.
long long Number(const std::string& text) {
  const std::string t = Trimmed(text);
  std::size_t used = 0;
  long long value = 0;
  try {
    if (t.size() > 1 && t[0] == '$')
      value = std::stoll(t.substr(1), &used, 16), ++used;
    else if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X'))
      value = std::stoll(t.substr(2), &used, 16), used += 2;
    else
      value = std::stoll(t, &used, 10);
  } catch (const std::exception&) {
    used = 0;
  }
  if (t.empty() || used != t.size()) throw std::invalid_argument("'" + text + "' is not a valid integer value");
  return value;
}

TAlignment AlignmentFromText(const std::string& text) {
  const std::string t = Lower(Trimmed(text));
  if (t == "tarightjustify") return TAlignment::taRightJustify;
  if (t == "tacenter") return TAlignment::taCenter;
  return TAlignment::taLeftJustify;
}

// The keys in the order they are recognised (by prefix).
enum class Key { Column, Colour, Width, Font, Alignment, ReadOnly, TitleColour, TitleCaption, TitleAlignment,
                 TitleFont, FieldName };
const std::array<std::pair<const char*, Key>, 11> kKeys = {{
    {"cvColumn", Key::Column},
    {"cvColorStr", Key::Colour},
    {"cvWidthStr", Key::Width},
    {"cvFontStr", Key::Font},
    {"cvAlignmentStr", Key::Alignment},
    {"cvReadOnlyStr", Key::ReadOnly},
    {"cvTitleColorStr", Key::TitleColour},
    {"cvTitleCaptionStr", Key::TitleCaption},
    {"cvTitleAlignmentStr", Key::TitleAlignment},
    {"cvTitleFontStr", Key::TitleFont},
    {"cvFieldNameStr", Key::FieldName},
}};

Key KeyOf(const std::string& key) {
  for (const auto& [prefix, k] : kKeys)
    if (key.rfind(prefix, 0) == 0) return k;
  return Key::Column;
}

}  // namespace

std::optional<TColor> ColourFromText(const std::string& text) {
  static const std::array<std::pair<const char*, TColor>, 22> names = {{
      {"clblack", clBlack},         {"clmaroon", clMaroon},     {"clgreen", clGreen},
      {"clolive", clOlive},         {"clnavy", clNavy},         {"clpurple", clPurple},
      {"clteal", clTeal},           {"clgray", clGray},         {"clsilver", clSilver},
      {"clred", clRed},             {"cllime", clLime},         {"clyellow", clYellow},
      {"clblue", clBlue},           {"clfuchsia", clFuchsia},   {"claqua", clAqua},
      {"clwhite", clWhite},         {"clwindow", clWindow},     {"clwindowtext", clWindowText},
      {"clhighlight", clHighlight}, {"clhighlighttext", clHighlightText}, {"clbtnface", clBtnFace},
      {"clgraytext", clGrayText},
  }};
  const std::string t = Lower(Trimmed(text));
  for (const auto& [name, colour] : names)
    if (t == name) return colour;
  try {
    return static_cast<TColor>(Number(t));
  } catch (const std::invalid_argument&) {
    return std::nullopt;
  }
}

TGridFont FontFromText(const std::string& text, TGridFont font) {
  std::vector<std::string> items;
  std::size_t start = 0;
  for (std::size_t comma; (comma = text.find(',', start)) != std::string::npos; start = comma + 1)
    items.push_back(text.substr(start, comma - start));
  items.push_back(text.substr(start));
  if (!items.empty()) font.name = Trimmed(items[0]);
  if (items.size() > 1)
    if (const auto colour = ColourFromText(items[1])) font.colour = *colour;
  if (items.size() > 2) {
    const long long bits = Number(items[2]);
    font.size = static_cast<int>(bits & 0xFF);
    font.bold = (bits & 0x100) != 0;
    font.italic = (bits & 0x200) != 0;
    font.underline = (bits & 0x400) != 0;
    font.strikeOut = (bits & 0x800) != 0;
  }
  return font;
}

void ReadSavedColumns(std::vector<TGridColumn>& columns, const std::vector<std::string>& saved) {
  if (columns.size() == 1 && columns[0].fieldName.empty() &&
      (!columns[0].titleCaption || columns[0].titleCaption->empty()))
    columns.clear();
  // The whole list is read into a copy, so that a conversion error leaves
  // the grid's columns as they were.
  std::vector<TGridColumn> result = columns;
  std::optional<std::size_t> current;
  std::size_t next = 0;
  for (const std::string& line : saved) {
    const std::size_t eq = line.find('=');
    const std::string key = eq == std::string::npos ? line : line.substr(0, eq);
    const std::string value = eq == std::string::npos ? std::string() : line.substr(eq + 1);
    const Key k = KeyOf(key);
    if (k == Key::Column) {
      const long long n = Number(value);
      // A column number before the one read last continues after it.
      const std::size_t index = n < 0 ? next : std::max(static_cast<std::size_t>(n), next);
      while (result.size() <= index) result.emplace_back();
      current = index;
      next = index + 1;
      continue;
    }
    if (!current) continue;
    TGridColumn& c = result[*current];
    switch (k) {
      case Key::Colour:
        if (const auto colour = ColourFromText(value)) c.colour = *colour;
        break;
      case Key::Width: c.width = static_cast<int>(Number(value)); break;
      case Key::Font: c.font = FontFromText(value, c.font.value_or(TGridFont{})); break;
      case Key::Alignment:
        c.alignment = AlignmentFromText(value);
        c.alignmentSet = true;
        break;
      case Key::ReadOnly: c.readOnly = Lower(Trimmed(value)) == "true"; break;
      case Key::TitleColour:
        if (const auto colour = ColourFromText(value)) c.titleColour = *colour;
        break;
      case Key::TitleCaption: c.titleCaption = value; break;
      case Key::TitleAlignment: c.titleAlignment = AlignmentFromText(value); break;
      case Key::TitleFont: c.titleFont = FontFromText(value, c.titleFont.value_or(TGridFont{})); break;
      case Key::FieldName: c.fieldName = Trimmed(value); break;
      case Key::Column: break;
    }
  }
  columns = std::move(result);
}

}  // namespace dbase
