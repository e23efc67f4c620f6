// The HP-GL plot-file viewer; see hpgl_viewer.h.
#include "common/hpgl_viewer.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "common/c_locale_numbers.h"
#include "common/graphics_facade.h"
#include "common/help_text.h"
#include "common/kaldvar.h"
#include "common/small_dialogs.h"
#include "platform/file_system.h"

namespace common {

TPlotViewerState PlotViewerState;

namespace {

constexpr Real kUnit = 0.025L;  // millimetres per plotter unit
constexpr char kLabelTerminator = 3;
constexpr std::size_t kMaxLabel = 255;
// The largest magnitude of a number of HP-GL/2, parameter or encoded value
// (2^30 - 1); a larger one is out of range, and its command is left.
constexpr Real kMaxNumber = 1073741823.0L;
// The fractional bits of polyline-encoded numbers: 0 to 26.
constexpr int kMaxFractionalBits = 26;

// Notes a command left undrawn for a number out of range; what: the number
// ("number 1073741824", "pen 256").
void NoteOutOfRange(const std::string& what) {
  auto& s = PlotViewerState;
  if (s.FirstOutOfRange.empty()) s.FirstOutOfRange = what + " in " + s.Command;
  ++s.CommandsCut;
}

// A number as read, shortened for a message.
std::string Shown(const std::string& text) { return text.size() > 24 ? text.substr(0, 21) + "..." : text; }

class PlotReader {
 public:
  explicit PlotReader(const std::string& bytes) : bytes_(bytes) {}

  bool AtEnd() const { return pos_ >= bytes_.size(); }
  int Peek() const { return AtEnd() ? -1 : static_cast<unsigned char>(bytes_[pos_]); }
  int Get() {
    if (AtEnd()) return -1;
    ++PlotViewerState.CharCount;
    return static_cast<unsigned char>(bytes_[pos_++]);
  }

  // Skips to just after the next ';' (or to the end).
  void SkipCommand() {
    while (!AtEnd())
      if (Get() == ';') break;
    PlotViewerState.CommandEnd = 1;
  }

  // The next number of the current command, or false at its end: a ';' is
  // taken and ends the command, a letter (the next mnemonic) or an escape
  // ends it without being taken. Blanks, line ends and ',' separate numbers.
  // A number out of range leaves the rest of the command unread.
  bool Number(Real& value) {
    if (PlotViewerState.CommandEnd) return false;
    while (!AtEnd()) {
      const int c = Peek();
      if (c == ' ' || c == '\r' || c == '\n' || c == '\t' || c == ',') {
        Get();
        continue;
      }
      break;
    }
    const int c = Peek();
    if (c == ';') {
      Get();
      PlotViewerState.CommandEnd = 1;
      return false;
    }
    if (c < 0 || !(std::isdigit(c) || c == '-' || c == '+' || c == '.')) {
      PlotViewerState.CommandEnd = 1;
      return false;
    }
    std::string text;
    while (!AtEnd()) {
      const int d = Peek();
      if (!(std::isdigit(d) || d == '-' || d == '+' || d == '.')) break;
      text.push_back(static_cast<char>(Get()));
    }
    char* end = nullptr;
    const long double parsed = common::CStrtold(text.c_str(), &end);
    if (!(std::fabs(parsed) <= kMaxNumber)) {
      NoteOutOfRange("number " + Shown(text));
      SkipCommand();
      return false;
    }
    value = (end && *end == '\0') ? parsed : 0;
    return true;
  }

  // Skips what is left of the command's parameters.
  void FinishCommand() {
    Real ignored;
    while (Number(ignored)) {
    }
  }

 private:
  const std::string& bytes_;
  std::size_t pos_ = 0;
};

void LineInPen(Real x1, Real y1, Real x2, Real y2) {
  GraphColor(PenColour(PlotViewerState.PenNumber));
  GraphLine(x1, y1, x2, y2);
}

// A coordinate list: each pair becomes the pen position, a line from the
// previous one while the pen is down.
void MoveAbsolute(PlotReader& in) {
  auto& s = PlotViewerState;
  Real x = 0, y = 0;
  while (in.Number(x)) {
    if (!in.Number(y)) break;
    x *= kUnit;
    y *= kUnit;
    if (s.PenDown) LineInPen(s.X, s.Y, x, y);
    s.X = x;
    s.Y = y;
  }
}

void Label(PlotReader& in) {
  auto& s = PlotViewerState;
  std::string text;
  while (!in.AtEnd()) {
    const int c = in.Get();
    if (c == kLabelTerminator) break;
    if (text.size() >= kMaxLabel) continue;  // cut at 255, read on to the terminator
    if (c == '}' && s.CharacterSet == 3) {
      // Character set 3 writes an umlaut as the letter followed by '}'.
      if (!text.empty()) {
        char& last = text.back();
        switch (last) {
          case 'a': last = static_cast<char>(132); break;
          case 'o': last = static_cast<char>(148); break;
          case 'u': last = static_cast<char>(129); break;
          case 'A': last = static_cast<char>(142); break;
          case 'O': last = static_cast<char>(153); break;
          case 'U': last = static_cast<char>(154); break;
          default: break;
        }
      }
      continue;
    }
    text.push_back(static_cast<char>(c));
  }
  const Real direction = std::atan2(s.LabelRise, s.LabelRun) * 180 / std::numbers::pi_v<Real>;
  GraphColor(PenColour(s.PenNumber));
  GraphTextStyle(0, direction, s.CharHeight * 10, s.CharWidth * 10);
  GraphText(s.X, s.Y, text);
}

void ArcAbsolute(PlotReader& in) {
  auto& s = PlotViewerState;
  Real cx = 0, cy = 0, sweep = 0;
  if (!in.Number(cx) || !in.Number(cy) || !in.Number(sweep)) {
    in.FinishCommand();
    return;
  }
  in.FinishCommand();  // the chord tolerance is not needed
  cx *= kUnit;
  cy *= kUnit;
  const Real pi = std::numbers::pi_v<Real>;
  const Real radius = std::hypot(s.X - cx, s.Y - cy);
  const Real start = std::atan2(s.Y - cy, s.X - cx) * 180 / pi;
  Real end = start + sweep;
  const Real endX = cx + radius * std::cos(end * pi / 180), endY = cy + radius * std::sin(end * pi / 180);
  if (s.PenDown && radius > 0) {
    if (end < start) end += 360;
    GraphColor(PenColour(s.PenNumber));
    GraphArc(cx, cy, start, end, radius, sweep);
  }
  s.X = endX;
  s.Y = endY;
}

// Polyline encoded: base-64 numbers (base 32 after '7'), least significant
// digit first, the last digit from the terminating range; the lowest bit of
// the value is the sign. Flags: '<' the next point is a pen-up move, '='
// the next point is absolute, '>' the next number gives fractional bits,
// ':' the next number selects a pen, '7' seven-bit mode. A number out of
// range (beyond 2^30 - 1, fractional bits beyond 26, a pen beyond 255)
// leaves the rest of the command undrawn.
void PolylineEncoded(PlotReader& in) {
  auto& s = PlotViewerState;
  bool sevenBit = false, penUpNext = false, absoluteNext = false;
  int fractionalBits = 0;
  s.PenDown = 1;
  enum class Got { Number, End, OutOfRange };
  auto readNumber = [&](long long& value) -> Got {
    std::uint64_t n = 0;
    int shift = 0;
    bool tooLarge = false;
    while (!in.AtEnd()) {
      const int c = in.Peek();
      if (c == ';') return Got::End;
      in.Get();
      int digit = -1;
      bool last = false;
      if (sevenBit) {
        if (c >= 63 && c <= 94) digit = c - 63;
        if (c >= 95 && c <= 126) digit = c - 95, last = true;
      } else {
        if (c >= 63 && c <= 126) digit = c - 63;
        if (c >= 191 && c <= 254) digit = c - 191, last = true;
      }
      if (digit < 0) continue;  // blanks and line ends inside the data
      // Digits beyond the 36th bit only tell that the number is too large.
      if (shift <= 35)
        n += static_cast<std::uint64_t>(digit) << shift;
      else if (digit != 0)
        tooLarge = true;
      if (shift <= 35) shift += sevenBit ? 5 : 6;
      else shift = 36;
      if (last) {
        const std::uint64_t magnitude = n >> 1;
        if (tooLarge || magnitude > static_cast<std::uint64_t>(kMaxNumber)) return Got::OutOfRange;
        value = (n & 1) ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude);
        return Got::Number;
      }
    }
    return Got::End;
  };
  auto isDigitByte = [&](int c) {
    return sevenBit ? (c >= 63 && c <= 126) : ((c >= 63 && c <= 126) || (c >= 191 && c <= 254));
  };
  // The rest of the command is left unread after a number out of range.
  auto outOfRange = [&](const std::string& what) {
    NoteOutOfRange(what);
    in.SkipCommand();
  };
  while (!in.AtEnd()) {
    const int c = in.Peek();
    if (c == ';') {
      in.Get();
      break;
    }
    if (c == '<') { in.Get(); penUpNext = true; continue; }
    if (c == '=') { in.Get(); absoluteNext = true; continue; }
    if (c == '7') { in.Get(); sevenBit = true; continue; }
    if (c == '>' || c == ':') {
      in.Get();
      long long v = 0;
      const Got got = readNumber(v);
      if (got == Got::End) break;
      if (c == '>') {
        if (got == Got::OutOfRange || v < 0 || v > kMaxFractionalBits) {
          outOfRange(got == Got::OutOfRange ? "encoded number" : "fractional bits " + std::to_string(v));
          break;
        }
        fractionalBits = static_cast<int>(v);
      } else {
        if (got == Got::OutOfRange || v < 0 || v > 255) {
          outOfRange(got == Got::OutOfRange ? "encoded number" : "pen " + std::to_string(v));
          break;
        }
        s.PenNumber = static_cast<std::uint8_t>(v);
        GraphColor(PenColour(s.PenNumber));
      }
      continue;
    }
    if (!isDigitByte(c)) {
      in.Get();  // blanks, line ends
      continue;
    }
    long long dx = 0, dy = 0;
    const Got gotX = readNumber(dx);
    const Got gotY = gotX == Got::Number ? readNumber(dy) : gotX;
    if (gotX == Got::OutOfRange || gotY == Got::OutOfRange) {
      outOfRange("encoded number");
      break;
    }
    if (gotY != Got::Number) break;
    const Real unit = kUnit / std::ldexp(1.0L, fractionalBits);
    const Real x = absoluteNext ? dx * unit : s.X + dx * unit;
    const Real y = absoluteNext ? dy * unit : s.Y + dy * unit;
    if (!std::isfinite(x) || !std::isfinite(y)) {
      outOfRange("position");
      break;
    }
    if (!penUpNext && s.PenDown) LineInPen(s.X, s.Y, x, y);
    s.X = x;
    s.Y = y;
    penUpNext = false;
    absoluteNext = false;
  }
  PlotViewerState.CommandEnd = 1;
}

}  // namespace

int PenColour(int pen) {
  switch (pen) {
    case 1: return 12;
    case 2: return 14;
    case 3: return 10;
    case 4: return 11;
    case 5: return 9;
    case 6: return 13;
    case 7: return 15;
    default: return pen;
  }
}

void PlotPltText(const std::string& bytes) {
  PlotViewerState = TPlotViewerState{};
  auto& s = PlotViewerState;
  PlotReader in(bytes);
  while (!in.AtEnd() && !AbortFlag) {
    const int c = in.Get();
    if (c == ';' || c == ' ' || c == '\r' || c == '\n' || c == '\t' || c == ',') continue;
    if (c == 27) {  // a printer control sequence
      in.SkipCommand();
      continue;
    }
    if (!std::isalpha(c) || !std::isalpha(in.Peek())) {
      in.SkipCommand();
      continue;
    }
    const char a = static_cast<char>(std::toupper(c));
    const char b = static_cast<char>(std::toupper(in.Get()));
    const std::string command{a, b};
    s.Command = command;
    s.CommandEnd = 0;
    Real v = 0, w = 0;
    if (command == "PU" || command == "PD") {
      s.PenDown = command == "PD" ? 1 : 0;
      MoveAbsolute(in);
    } else if (command == "SP") {
      s.PenNumber = in.Number(v) ? static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v) : 1;
      in.FinishCommand();
      GraphColor(PenColour(s.PenNumber));
    } else if (command == "PA") {
      MoveAbsolute(in);
    } else if (command == "CI") {
      if (in.Number(v)) {
        GraphColor(PenColour(s.PenNumber));
        GraphCircle(s.X, s.Y, std::fabs(v) * kUnit);
      }
      in.FinishCommand();
    } else if (command == "SI") {
      if (in.Number(v) && in.Number(w)) {
        s.CharWidth = v;
        s.CharHeight = w;
      }
      in.FinishCommand();
    } else if (command == "DI") {
      if (in.Number(v) && in.Number(w) && (v != 0 || w != 0)) {
        s.LabelRun = v;
        s.LabelRise = w;
      }
      in.FinishCommand();
    } else if (command == "LB") {
      Label(in);
    } else if (command == "AA") {
      ArcAbsolute(in);
    } else if (command == "PE") {
      PolylineEncoded(in);
    } else if (command == "CS") {
      if (in.Number(v)) s.CharacterSet = v;
      in.FinishCommand();
    } else {
      in.SkipCommand();
    }
  }
}

void PlotPltFile(const std::string& fileName) {
  CheckFileExists(fileName);
  if (AbortFlag) return;
  WaitCursor();
  std::string bytes;
  std::error_code ec;
  if (auto file = platform::Files().OpenRead(fileName, ec)) {
    char buffer[65536];
    while (true) {
      const std::ptrdiff_t n = file->Read(buffer, sizeof buffer, ec);
      if (n <= 0) break;
      bytes.append(buffer, static_cast<std::size_t>(n));
    }
  }
  PlotPltText(bytes);
  AbortFlag = 0;
  NormalCursor();
  const auto& s = PlotViewerState;
  if (s.CommandsCut > 0)
    ShowError("Plot file " + fileName + ": " + s.FirstOutOfRange + " out of range; " + std::to_string(s.CommandsCut) +
              (s.CommandsCut == 1 ? " command" : " commands") + " not drawn");
}

void InstallPlotFileViewer() { SetPlotFileDrawer([](const std::string& plotFile) { PlotPltFile(plotFile); }); }

}  // namespace common
