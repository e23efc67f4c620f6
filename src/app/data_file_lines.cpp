// Strict line reader of the design data file; see data_file_lines.h.
#include "app/data_file_lines.h"

#include <cmath>
#include <utility>

#include "common/text_file.h"
#include "common/text_utils.h"

namespace app {

std::string QuotedLineText(const std::string& text) {
  constexpr std::size_t kShown = 60;
  std::string shown = common::PrintableText(text.substr(0, kShown));
  if (text.size() > kShown) shown += "...";
  return shown;
}

DataFileLines::DataFileLines(std::string fileName) : fileName_(std::move(fileName)) {}

void DataFileLines::Fail(const std::string& reason) {
  if (failed_) return;
  failed_ = true;
  message_ = fileName_ + ", line " + std::to_string(lineNumber_) + ": " + reason;
}

bool DataFileLines::NextLine(std::string& line) {
  line.clear();
  if (failed_) return false;
  ++lineNumber_;
  // A file that ends early is refused: the common reader would hand out
  // empty lines, which read as zeros and empty texts.
  if (common::SharedTextFile.Eof()) {
    failed_ = true;
    message_ = fileName_ + ": file ends before line " + std::to_string(lineNumber_) + " !";
    return false;
  }
  bool tooLong = false;
  if (!common::SharedTextFile.ReadLine(line, LongestLine, tooLong)) {
    Fail("read error !");
    return false;
  }
  // A damaged file may hold a line of hundreds of megabytes: it is refused
  // when it passes what any line of the format can hold, unread beyond.
  if (tooLong) {
    Fail("line longer than " + std::to_string(LongestLine) + " characters !");
    return false;
  }
  return true;
}

void DataFileLines::ReadText(std::string& text) {
  std::string line;
  if (NextLine(line)) text = std::move(line);
}

void DataFileLines::Skip() {
  std::string line;
  NextLine(line);
}

namespace {
bool IsMarker(const std::string& line, const std::string& marker) {
  const auto end = line.find_last_not_of(" \t");
  return end != std::string::npos && line.substr(0, end + 1) == marker;
}
}  // namespace

void DataFileLines::ExpectMarker(const std::string& marker) {
  std::string line;
  if (!NextLine(line)) return;
  if (!IsMarker(line, marker)) Fail("\"" + marker + "\" expected !");
}

bool DataFileLines::OptionalMarker(const std::string& marker) {
  if (failed_ || common::SharedTextFile.Eof()) return false;
  std::string line;
  return NextLine(line) && IsMarker(line, marker);
}

bool DataFileLines::FieldReal(const std::string& text, Real& x) {
  Real value = 0;
  bool notFinite = false;
  if (!common::ParseRealLine(text, value, &notFinite)) {
    Fail(std::string(notFinite ? "not a finite number" : "not a number") + ": \"" + QuotedLineText(text) + "\" !");
    return false;
  }
  x = value;
  return true;
}

void DataFileLines::ReadReal(Real& x) {
  std::string line;
  if (NextLine(line)) FieldReal(line, x);
}

void DataFileLines::ReadWhole(long long& n, long long lo, long long hi) {
  std::string line;
  if (!NextLine(line)) return;
  Real value = 0;
  if (!FieldReal(line, value)) return;
  if (value != std::trunc(value)) {
    Fail("not a whole number: \"" + QuotedLineText(common::TrimBlanks(line)) + "\" !");
    return;
  }
  if (value < static_cast<Real>(lo) || value > static_cast<Real>(hi)) {
    Fail("value " + QuotedLineText(common::TrimBlanks(line)) + " outside " + std::to_string(lo) + ".." + std::to_string(hi) + " !");
    return;
  }
  n = static_cast<long long>(value);
}

bool DataFileLines::FieldCount(const std::string& text, int& n, int max, const std::string& what) {
  Real value = 0;
  if (!FieldReal(text, value)) return false;
  if (value != std::trunc(value) || value < 0 || value > max) {
    Fail("number of " + what + " " + QuotedLineText(common::TrimBlanks(text)) + " outside 0.." + std::to_string(max) + " !");
    return false;
  }
  n = static_cast<int>(value);
  return true;
}

void DataFileLines::ReadCount(int& n, int max, const std::string& what) {
  std::string line;
  if (NextLine(line)) FieldCount(line, n, max, what);
}

void DataFileLines::ReadBool(bool& flag) {
  std::string line;
  if (NextLine(line)) flag = common::UpperText(line) == "TRUE";
}

void DataFileLines::ReadChar(char& c) {
  std::string line;
  if (NextLine(line)) c = line.empty() ? 'N' : line.front();
}

void DataFileLines::ReadFields(std::vector<std::string>& fields, int count) {
  fields.assign(static_cast<std::size_t>(count), std::string());
  std::string line;
  if (!NextLine(line)) return;
  std::size_t start = 0;
  for (int i = 0; i < count && start <= line.size(); ++i) {
    const std::size_t bar = line.find('|', start);
    if (bar == std::string::npos) {
      fields[static_cast<std::size_t>(i)] = line.substr(start);
      break;
    }
    fields[static_cast<std::size_t>(i)] = line.substr(start, bar - start);
    start = bar + 1;
  }
}

}  // namespace app
