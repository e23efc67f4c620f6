// Code page 850 <-> display text (see code_page.h).
//
// The display character set of this platform is UTF-8, so the conversion
// that once went from the DOS to the Windows code page goes from code page
// 850 to UTF-8 here, through the complete table below (IBM code page 850,
// 0x00-0x7F equal to ASCII). The reverse direction looks each code point up
// in the same table. Neither direction has a length limit: a limit would
// silently empty long texts.
#include "common/code_page.h"

#include <array>
#include <unordered_map>

#include "common/kaldvar.h"

namespace common {

namespace {

// Unicode code point of every code page 850 byte, eight per row.
constexpr std::array<char16_t, 256> kCp850 = {
    0x0000, 0x0001, 0x0002, 0x0003, 0x0004, 0x0005, 0x0006, 0x0007,  // 0x00
    0x0008, 0x0009, 0x000A, 0x000B, 0x000C, 0x000D, 0x000E, 0x000F,  // 0x08
    0x0010, 0x0011, 0x0012, 0x0013, 0x0014, 0x0015, 0x0016, 0x0017,  // 0x10
    0x0018, 0x0019, 0x001A, 0x001B, 0x001C, 0x001D, 0x001E, 0x001F,  // 0x18
    0x0020, 0x0021, 0x0022, 0x0023, 0x0024, 0x0025, 0x0026, 0x0027,  // 0x20
    0x0028, 0x0029, 0x002A, 0x002B, 0x002C, 0x002D, 0x002E, 0x002F,  // 0x28
    0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037,  // 0x30
    0x0038, 0x0039, 0x003A, 0x003B, 0x003C, 0x003D, 0x003E, 0x003F,  // 0x38
    0x0040, 0x0041, 0x0042, 0x0043, 0x0044, 0x0045, 0x0046, 0x0047,  // 0x40
    0x0048, 0x0049, 0x004A, 0x004B, 0x004C, 0x004D, 0x004E, 0x004F,  // 0x48
    0x0050, 0x0051, 0x0052, 0x0053, 0x0054, 0x0055, 0x0056, 0x0057,  // 0x50
    0x0058, 0x0059, 0x005A, 0x005B, 0x005C, 0x005D, 0x005E, 0x005F,  // 0x58
    0x0060, 0x0061, 0x0062, 0x0063, 0x0064, 0x0065, 0x0066, 0x0067,  // 0x60
    0x0068, 0x0069, 0x006A, 0x006B, 0x006C, 0x006D, 0x006E, 0x006F,  // 0x68
    0x0070, 0x0071, 0x0072, 0x0073, 0x0074, 0x0075, 0x0076, 0x0077,  // 0x70
    0x0078, 0x0079, 0x007A, 0x007B, 0x007C, 0x007D, 0x007E, 0x007F,  // 0x78
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,  // 0x80
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,  // 0x88
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,  // 0x90
    0x00FF, 0x00D6, 0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192,  // 0x98
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,  // 0xA0
    0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,  // 0xA8
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x00C0,  // 0xB0
    0x00A9, 0x2563, 0x2551, 0x2557, 0x255D, 0x00A2, 0x00A5, 0x2510,  // 0xB8
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3,  // 0xC0
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4,  // 0xC8
    0x00F0, 0x00D0, 0x00CA, 0x00CB, 0x00C8, 0x0131, 0x00CD, 0x00CE,  // 0xD0
    0x00CF, 0x2518, 0x250C, 0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580,  // 0xD8
    0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE,  // 0xE0
    0x00DE, 0x00DA, 0x00DB, 0x00D9, 0x00FD, 0x00DD, 0x00AF, 0x00B4,  // 0xE8
    0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6, 0x00A7, 0x00F7, 0x00B8,  // 0xF0
    0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0,  // 0xF8
};

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

const std::unordered_map<char32_t, char>& UnicodeToCp850() {
  static const std::unordered_map<char32_t, char> map = [] {
    std::unordered_map<char32_t, char> m;
    for (int code = 0; code < 256; ++code) m.emplace(kCp850[static_cast<std::size_t>(code)], static_cast<char>(code));
    return m;
  }();
  return map;
}

// Decodes one UTF-8 sequence at text[i]; advances i. Returns false for a
// malformed sequence (i then advanced by one byte).
bool DecodeUtf8(const std::string& text, std::size_t& i, char32_t& cp) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  std::size_t length = 0;
  char32_t minimum = 0;
  if (lead < 0x80) {
    cp = lead;
    ++i;
    return true;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2;
    cp = lead & 0x1F;
    minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
    cp = lead & 0x0F;
    minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4;
    cp = lead & 0x07;
    minimum = 0x10000;
  } else {
    ++i;
    return false;
  }
  if (i + length > text.size()) {
    ++i;
    return false;
  }
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) {
      ++i;
      return false;
    }
    cp = (cp << 6) | (byte(i + k) & 0x3F);
  }
  if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++i;
    return false;
  }
  i += length;
  return true;
}

// The box-drawing characters of code page 850 in the ASCII display form:
// vertical lines and the vertical junctions become '|', corners, the
// horizontal junctions and the crossing '+', horizontal lines '-'. Only
// these codes: the neighbouring codes of code page 850 are letters (Á, Â,
// À, ã, Ã, Í, ...) and keep their meaning.
char BoxReplacement(unsigned char code) {
  switch (code) {
    case 179: case 180: case 185: case 186: case 195: case 197: case 204:
      return '|';
    case 187: case 188: case 191: case 192: case 193: case 194: case 200:
    case 201: case 202: case 203: case 206: case 217: case 218:
      return '+';
    case 196: case 205:
      return '-';
    default:
      return 0;
  }
}

const char* Transliteration(unsigned char code) {
  switch (code) {
    case 129: return "ue";
    case 130: return "e";
    case 132: return "ae";
    case 142: return "Ae";
    case 148: return "oe";
    case 153: return "Oe";
    case 154: return "Ue";
    case 160: return "a";
    case 163: return "u";
    case 164: return "n";
    case 196: case 205: return "-";
    case 225: return "ss";
    case 230: return "u";
    case 241: return "+/-";
    case 248: return "deg";
    case 253: return "2";
    default: return nullptr;
  }
}

}  // namespace

char32_t Cp850ToUnicode(std::uint8_t code) { return kCp850[code]; }

std::string OemToAnsiBuffer(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 4);
  for (const char c : text) AppendUtf8(out, kCp850[static_cast<unsigned char>(c)]);
  return out;
}

std::string AnsiToOemBuffer(const std::string& text) {
  const auto& map = UnicodeToCp850();
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    char32_t cp = 0;
    if (!DecodeUtf8(text, i, cp)) {
      out.push_back('?');
      continue;
    }
    const auto hit = map.find(cp);
    out.push_back(hit != map.end() ? hit->second : '?');
  }
  return out;
}

std::string TransliterateOemToAscii(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const char* replacement = Transliteration(static_cast<unsigned char>(c));
    if (replacement) {
      out += replacement;
    } else {
      out.push_back(c);
    }
  }
  return out;
}

std::string OemBoxToAnsi(const std::string& text) {
  const std::string source = AsciiTextMode ? TransliterateOemToAscii(text) : text;
  std::string out;
  out.reserve(source.size());
  for (const char c : source) {
    const auto code = static_cast<unsigned char>(c);
    if (const char box = BoxReplacement(code)) {
      out.push_back(box);
    } else {
      // Letters and every other character keep their meaning: the same
      // character in the display set (the output must stay valid UTF-8).
      AppendUtf8(out, kCp850[code]);
    }
  }
  return out;
}

std::string ConvertOemText(const std::string& text) {
  if (AsciiTextMode) return OemBoxToAnsi(TransliterateOemToAscii(text));
  return OemToAnsiBuffer(text);
}

std::string OemToDisplayText(const std::string& text) { return ConvertOemText(text); }

namespace {

// The length of the valid UTF-8 sequence of two or more bytes at text[i];
// 0 when none starts there.
std::size_t Utf8SequenceAt(const std::string& text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  std::size_t length = 0;
  char32_t cp = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    cp = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    cp = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    cp = lead & 0x07;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (byte(i + k) & 0x3F);
  }
  // Overlong forms, surrogates and code points beyond Unicode are no UTF-8.
  if ((length == 3 && cp < 0x800) || (length == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
      (cp >= 0xD800 && cp <= 0xDFFF))
    return 0;
  return length;
}

}  // namespace

std::string MixedToDisplayText(const std::string& text) {
  std::string out;
  std::string oem;
  const auto flush = [&] {
    if (oem.empty()) return;
    out += OemToDisplayText(oem);
    oem.clear();
  };
  for (std::size_t i = 0; i < text.size();) {
    if (const std::size_t length = Utf8SequenceAt(text, i)) {
      flush();
      out.append(text, i, length);
      i += length;
    } else {
      oem += text[i++];
    }
  }
  flush();
  return out;
}

std::string AnsiToOemText(const std::string& text) { return AnsiToOemBuffer(text); }

std::string AnsiToDisplayText(const std::string& text) { return text; }

std::string TextForOutputMode(const std::string& text) {
  switch (CadTextMode) {
    case 2:
      return OemToDisplayText(text);
    case 3:
      return TransliterateOemToAscii(text);
    default:
      return text;
  }
}

std::string OemToWindows1252(const std::string& text) {
  // Code page 1252 equals Latin-1 from 0xA0 up; 0x80..0x9F hold a few
  // typographic characters, of which code page 850 has only the florin.
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto code = static_cast<unsigned char>(c);
    const char32_t cp = kCp850[code];
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
      out.push_back(static_cast<char>(cp));
    } else if (cp == 0x0192) {
      out.push_back(static_cast<char>(0x83));
    } else if (const char box = BoxReplacement(code)) {
      out.push_back(box);
    } else {
      out.push_back('?');
    }
  }
  return out;
}

std::string Windows1252ToOem(const std::string& text) {
  const auto& map = UnicodeToCp850();
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto code = static_cast<unsigned char>(c);
    char32_t cp = code;
    if (code == 0x83) {
      cp = 0x0192;
    } else if (code >= 0x80 && code < 0xA0) {
      out.push_back('?');
      continue;
    }
    const auto hit = map.find(cp);
    out.push_back(hit != map.end() ? hit->second : '?');
  }
  return out;
}

std::string TextForCadFile(const std::string& text) {
  switch (CadTextMode) {
    case 2:
      return OemToWindows1252(AsciiTextMode ? TransliterateOemToAscii(text) : text);
    case 3:
      return TransliterateOemToAscii(text);
    default:
      return text;
  }
}

void OemToDisplayText(const std::string& text, std::string& result) { result = OemToDisplayText(text); }
void AnsiToOemText(const std::string& text, std::string& result) { result = AnsiToOemText(text); }
void TransliterateOemToAscii(const std::string& text, std::string& result) {
  result = TransliterateOemToAscii(text);
}
void OemBoxToAnsi(const std::string& text, std::string& result) { result = OemBoxToAnsi(text); }
void AnsiToDisplayText(const std::string& text, std::string& result) { result = AnsiToDisplayText(text); }
void TextForOutputMode(const std::string& text, std::string& result) { result = TextForOutputMode(text); }

}  // namespace common
