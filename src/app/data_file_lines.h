// Strict reading of the lines of a design data file (data_file.cpp and the
// sections of the documentation records, app/documentation/change_records.cpp
// and app/documentation/document_links.cpp). The common line
// readers of text_file.h take an unreadable number as 0 and read empty
// lines past the end of a file; a design read that way would silently
// differ from the one saved. This reader counts the lines and stops at the
// first one that does not fit: a number line that is not a number, a whole
// number out of its field's range, a count outside its record, a missing
// section marker or the end of the file. The first fault is kept as a
// message naming the file and the line; every later read does nothing.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "common/real.h"
#include "common/text_utils.h"

namespace app {

// A text as written on a line of its own: CR and LF as blanks (the
// single-line fields never hold them when entered through the dialogs).
using common::OneLineText;

// A line of the file as a message quotes it: at most its first 60
// characters, "..." after a cut one, control characters as blanks (a
// damaged file may hold a line of millions of bytes, or binary bytes that
// would garble the message box).
std::string QuotedLineText(const std::string& text);

class DataFileLines {
 public:
  // The longest line the file may hold, well beyond its longest field (a
  // formula of 4096 characters, a document path as long as the system
  // allows, a change record of its bounded fields).
  static constexpr std::size_t LongestLine = 65536;

  // Reads common::SharedTextFile, which the caller has opened; fileName is
  // used in the messages only.
  explicit DataFileLines(std::string fileName);

  bool Failed() const { return failed_; }
  const std::string& Message() const { return message_; }
  int LineNumber() const { return lineNumber_; }

  // One text line, unchanged (code page 850 bytes).
  void ReadText(std::string& text);
  // A line that is skipped whatever it holds (rules between records).
  void Skip();
  // A line that must read exactly marker (trailing blanks ignored).
  void ExpectMarker(const std::string& marker);
  // The start of an optional section: false at the end of the file (no
  // fault); otherwise reads the line and tells whether it is marker
  // (trailing blanks ignored).
  bool OptionalMarker(const std::string& marker);
  // A real: blanks trimmed, ',' read as '.', exponent form accepted.
  void ReadReal(Real& x);
  // A whole number within lo..hi (the range of the field it goes to).
  void ReadWhole(long long& n, long long lo, long long hi);
  template <class Int>
  void ReadInt(Int& n) {
    long long value = 0;
    ReadWhole(value, std::numeric_limits<Int>::min(), std::numeric_limits<Int>::max());
    if (!failed_) n = static_cast<Int>(value);
  }
  // The count of a list, 0..max; what names the list in the message.
  void ReadCount(int& n, int max, const std::string& what);
  // "TRUE" in any letter case is true, any other text false.
  void ReadBool(bool& flag);
  // The first character of the line; 'N' for an empty line.
  void ReadChar(char& c);
  // The texts of a line of '|'-terminated fields; a line with fewer fields
  // gives empty texts for the missing ones.
  void ReadFields(std::vector<std::string>& fields, int count);

  // Checks of values taken from inside a line (fields): the same messages.
  bool FieldReal(const std::string& text, Real& x);
  bool FieldCount(const std::string& text, int& n, int max, const std::string& what);

  // Refuses the file with a message of the caller's own.
  void Fail(const std::string& reason);

 private:
  bool NextLine(std::string& line);

  std::string fileName_;
  int lineNumber_ = 0;
  bool failed_ = false;
  std::string message_;
};

}  // namespace app
