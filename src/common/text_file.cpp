// Line-oriented text files over SharedTextFile; see text_file.h.
#include "common/text_file.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "common/file_version.h"
#include "common/kaldvar.h"
#include "common/number_format.h"
#include "common/text_utils.h"

namespace common {

TextFile SharedTextFile;

namespace {

constexpr std::size_t ReadBlock = 8192;
constexpr const char* LineEnd = "\r\n";

std::string_view TrimmedView(std::string_view s) {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// Reads one line of SharedTextFile; a failed read sets AbortFlag.
std::string ReadOneLine() {
  std::string line;
  if (!SharedTextFile.ReadLine(line)) AbortFlag = 1;
  return line;
}

// A line stays one line: a line break inside the text (a file's or a
// folder's name may hold one) would shift every later line of the file.
void WriteOneLine(std::string_view text) {
  std::string line = OneLineText(std::string(text));
  line += LineEnd;
  if (!SharedTextFile.Write(line)) AbortFlag = 1;
}

bool ParseInteger(const std::string& line, long long& value) {
  std::string_view s = TrimmedView(line);
  if (!s.empty() && s.front() == '+') {
    s.remove_prefix(1);
    if (!s.empty() && s.front() == '-') return false;
  }
  if (s.empty()) return false;
  auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  return ec == std::errc() && ptr == s.data() + s.size();
}

}  // namespace

// ---- TextFile ----------------------------------------------------------------

TextFile::~TextFile() { Discard(); }

void TextFile::Assign(const std::string& name) {
  if (IsOpen()) {
    std::error_code ignored;
    Close(ignored);
  }
  name_ = name;
}

bool TextFile::Reset(std::error_code& ec) {
  if (IsOpen()) {
    std::error_code ignored;
    Close(ignored);
  }
  ec.clear();
  in_ = platform::Files().OpenRead(name_, ec);
  if (!in_) return false;
  mode_ = Mode::Reading;
  buffer_.clear();
  pos_ = 0;
  atEnd_ = false;
  return true;
}

bool TextFile::Rewrite(std::error_code& ec) {
  if (IsOpen()) {
    std::error_code ignored;
    Close(ignored);
  }
  ec.clear();
  if (!out_.Open(name_, ec)) return false;
  mode_ = Mode::Writing;
  writeFailed_ = false;
  writeError_.clear();
  return true;
}

bool TextFile::Close(std::error_code& ec) {
  ec.clear();
  bool ok = true;
  if (mode_ == Mode::Writing) {
    if (writeFailed_) {
      out_.Discard();
      ec = writeError_ ? writeError_ : std::make_error_code(std::errc::io_error);
      ok = false;
    } else {
      ok = out_.Commit(ec);
    }
  }
  in_.reset();
  buffer_.clear();
  pos_ = 0;
  mode_ = Mode::Closed;
  return ok;
}

void TextFile::Discard() {
  out_.Discard();
  in_.reset();
  buffer_.clear();
  pos_ = 0;
  mode_ = Mode::Closed;
}

bool TextFile::Fill() {
  if (atEnd_ || !in_) return true;
  buffer_.erase(0, pos_);
  pos_ = 0;
  const std::size_t old = buffer_.size();
  buffer_.resize(old + ReadBlock);
  std::error_code ec;
  const std::ptrdiff_t n = in_->Read(buffer_.data() + old, ReadBlock, ec);
  if (n < 0) {
    buffer_.resize(old);
    atEnd_ = true;
    return false;
  }
  buffer_.resize(old + static_cast<std::size_t>(n));
  if (n == 0) atEnd_ = true;
  return true;
}

bool TextFile::Eof() {
  if (mode_ != Mode::Reading) return true;
  if (pos_ < buffer_.size()) return false;
  if (!Fill()) return true;
  return pos_ >= buffer_.size();
}

bool TextFile::ReadLine(std::string& line) {
  bool tooLong = false;
  return ReadLine(line, std::string::npos, tooLong);
}

bool TextFile::ReadLine(std::string& line, std::size_t longest, bool& tooLong) {
  line.clear();
  tooLong = false;
  if (mode_ != Mode::Reading) return false;
  bool ok = true;
  for (;;) {
    if (pos_ >= buffer_.size()) {
      if (atEnd_) return ok;
      if (!Fill()) return false;
      if (pos_ >= buffer_.size()) return ok;
    }
    const std::size_t end = buffer_.find_first_of("\r\n", pos_);
    if (end == std::string::npos) {
      line.append(buffer_, pos_, std::string::npos);
      pos_ = buffer_.size();
      if (line.size() > longest) {
        tooLong = true;
        return true;
      }
      continue;
    }
    line.append(buffer_, pos_, end - pos_);
    pos_ = end + 1;
    if (line.size() > longest) tooLong = true;
    if (buffer_[end] == '\r') {
      // CR LF is one line end; the LF may lie in the next block.
      if (pos_ >= buffer_.size() && !atEnd_) ok = Fill();
      if (pos_ < buffer_.size() && buffer_[pos_] == '\n') ++pos_;
    }
    return ok;
  }
}

bool TextFile::Write(std::string_view bytes) {
  if (mode_ != Mode::Writing) return false;
  if (writeFailed_) return false;
  std::error_code ec;
  if (!out_.Write(bytes, ec)) {
    writeFailed_ = true;
    writeError_ = ec;
    return false;
  }
  return true;
}

// ---- Number texts --------------------------------------------------------------

std::string FixedPointText(Real x, int decimals) { return FixedPointDigits(decimals, x); }

namespace {

// The largest magnitude written on a number line: the 18-digit decimal just
// below LargestNumber. The lines carry 18 significant digits, so a value
// nearer to the limit would be rounded above it and its own file would be
// refused; a finite value beyond the limit (a calculation run away) is
// written as this one, so that every number line of a file reads back.
constexpr Real LargestWritten = 1.79769313486231570e308L;

Real Writable(Real x) { return std::fabs(x) > LargestWritten ? std::copysign(LargestWritten, x) : x; }

}  // namespace

std::string RealLineText(Real x) {
  // A line that reads as no number would make the whole file unreadable;
  // a value that is no number (a failed calculation) is stored as 0.
  if (!std::isfinite(x)) return "0";
  x = Writable(x);
  if (x < 1) {
    const Real whole = std::rint(x);
    // The digits of the whole number itself (no integer type limits it).
    if (std::fabs(x - whole) < 1e-10L) return FixedPointText(whole, 0);
  }
  return FixedPointText(x, 7);
}

bool ParseRealLine(const std::string& line, Real& x, bool* notFinite) {
  if (notFinite) *notFinite = false;
  std::string text(TrimmedView(line));
  for (char& c : text)
    if (c == ',') c = '.';
  std::string_view s = text;
  if (!s.empty() && s.front() == '+') {
    s.remove_prefix(1);
    if (!s.empty() && s.front() == '-') return false;
  }
  if (s.empty()) return false;
  Real value = 0;
  auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (ptr != s.data() + s.size()) return false;
  // from_chars also accepts "inf" and "nan", and reads "1e999" as a long
  // double; a number line never holds more than the program takes.
  if (ec == std::errc::result_out_of_range || (ec == std::errc() && !IsUsableNumber(value))) {
    if (notFinite) *notFinite = true;
    return false;
  }
  if (ec != std::errc()) return false;
  x = value;
  return true;
}

// ---- Reading --------------------------------------------------------------------

void ReadTextLine(std::string& text) { text = ReadOneLine(); }

void ReadFieldsLine(std::string& a, std::string& b, std::string& c, std::string& d) {
  const std::string line = ReadOneLine();
  std::string* fields[4] = {&a, &b, &c, &d};
  std::size_t start = 0;
  for (std::string* field : fields) {
    if (start > line.size()) {
      field->clear();
      continue;
    }
    const std::size_t bar = line.find('|', start);
    if (bar == std::string::npos) {
      *field = line.substr(start);
      start = line.size() + 1;
    } else {
      *field = line.substr(start, bar - start);
      start = bar + 1;
    }
  }
}

void ReadCharLine(char& c) {
  const std::string line = ReadOneLine();
  c = line.empty() ? '\0' : line.front();
}

void ReadIntLine(std::int32_t& n) {
  long long value = 0;
  if (!ParseInteger(ReadOneLine(), value) || value < INT32_MIN || value > INT32_MAX) value = 0;
  n = static_cast<std::int32_t>(value);
}

void ReadIntLine2(std::int32_t& n) { ReadIntLine(n); }

void ReadWordLine(std::uint16_t& n) {
  long long value = 0;
  if (!ParseInteger(ReadOneLine(), value) || value < 0 || value > 65535) value = 0;
  n = static_cast<std::uint16_t>(value);
}

void ReadRealLine(Real& x) {
  Real value = 0;
  if (!ParseRealLine(ReadOneLine(), value)) value = 0;
  x = value;
}

void ReadDoubleLine(double& x) {
  Real value = 0;
  ReadRealLine(value);
  // A value beyond the double range does not convert (the conversion would
  // be undefined, in practice infinite): 0, like any unreadable number.
  if (!(std::fabs(value) <= static_cast<Real>(std::numeric_limits<double>::max()))) value = 0;
  x = static_cast<double>(value);
}

void ReadTrueLine(bool& flag) {
  const std::string line = UpperText(ReadOneLine());
  if (AbortFlag == 0) flag = line == "TRUE";
}

void ReadNotFalseLine(bool& flag) {
  const std::string line = UpperText(ReadOneLine());
  if (AbortFlag == 0) flag = line != "FALSE";
}

// ---- Writing --------------------------------------------------------------------

void WriteTextLine(const std::string& text) { WriteOneLine(text); }
void WriteTextLine2(const std::string& text) { WriteOneLine(text); }

void WriteTextNoEol(const std::string& text) {
  if (!SharedTextFile.Write(text)) AbortFlag = 1;
}

void WriteRealLine(Real x) { WriteOneLine(RealLineText(x)); }
void WriteRealLine14(Real x) { WriteOneLine(std::isfinite(x) ? FixedPointText(Writable(x), 14) : "0"); }
void WriteIntLine(long long n) { WriteOneLine(std::to_string(n)); }
void WriteBoolLine(bool flag) { WriteOneLine(flag ? "TRUE" : "FALSE"); }

void WriteFieldsLine(const std::string& a, const std::string& b, const std::string& c, const std::string& d) {
  WriteOneLine(a + "|" + b + "|" + c + "|" + d + "|");
}

void WriteFieldsLine6(const std::string& a, const std::string& b, const std::string& c, const std::string& d,
                      const std::string& e, const std::string& f) {
  WriteOneLine(a + "|" + b + "|" + c + "|" + d + "|" + e + "|" + f + "|");
}

void WriteFieldsLine8(const std::string& a, const std::string& b, const std::string& c, const std::string& d,
                      const std::string& e, const std::string& f, const std::string& g, const std::string& h) {
  WriteOneLine(a + "|" + b + "|" + c + "|" + d + "|" + e + "|" + f + "|" + g + "|" + h + "|");
}

void WriteFileHeader() {
  const std::string rule(65, '-');
  WriteTextLine(rule);
  WriteTextLine(ProgramTitle + "   V " + FileVersionText("W" + ProgramName + ".exe"));
  WriteTextLine("Version " + ProgramVersion + "    " + ProgramNotice);
  WriteTextLine(rule);
  for (int i = 1; i <= 3; ++i) WriteTextLine(SheetTexts[i]);
}

}  // namespace common
