// Splitting a delimited text file into records and their fields, by one rule
// for the whole file: a field that begins with the quote character (after
// blanks and tabs) is a quoted text, which holds the delimiter, line ends
// and 0x1A as they are and a doubled quote character as one; anywhere else
// a quote character is a character of the text (5" pipe). Outside quoted
// texts a CR, a LF or CR LF ends a record and 0x1A ends the data.
// A quoted text that runs over a line end must close before the end of the
// file, within the line limit and followed only by blanks up to the next
// delimiter or line end; otherwise its quote was never closed: the line it
// opened on is refused by its number and reading goes on with the next
// line. A UTF-8 byte-order mark at the start of the file is skipped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace dbase {

// One record as the file gives it.
struct DelimitedRecord {
  enum class Fault { None, TooLong, UnclosedQuote };
  // The fields' texts in the file's bytes, quotes removed.
  std::vector<std::string> fields;
  // The file's line the record begins on (from 1).
  std::int64_t line = 0;
  Fault fault = Fault::None;
  // The file offset after the record and its line end.
  std::int64_t end = 0;
};

class DelimitedReader {
 public:
  // A record longer than lineLimit characters (UTF-8 sequences) or
  // byteLimit bytes is refused as too long; 0 as the quote character: no
  // quoting.
  DelimitedReader(int fd, char delimiter, char quote, std::size_t lineLimit, std::size_t byteLimit);

  // The next record that is not an empty line; false at the end of the data
  // (or after a read error: ReadError() is its errno value).
  bool Next(DelimitedRecord& record);
  int ReadError() const { return readError_; }

 private:
  bool Get(char& c);
  bool Peek(char& c);
  void Seek(std::int64_t offset);

  int fd_;
  char delimiter_;
  char quote_;
  std::size_t lineLimit_;
  std::size_t byteLimit_;
  std::string block_;
  std::size_t at_ = 0;           // next byte in block_
  std::int64_t blockOffset_ = 0;  // file offset of block_[0]
  std::int64_t line_ = 1;
  bool ended_ = false;
  int readError_ = 0;
};

}  // namespace dbase
