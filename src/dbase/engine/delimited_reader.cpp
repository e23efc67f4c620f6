// The records and fields of a delimited text file.
#include "dbase/engine/delimited_reader.h"

#include <cerrno>

#include "dbase/engine/dbf_file.h"

namespace dbase {

namespace {

constexpr std::size_t kBlockSize = 65520;
// Outside quoted texts the end of the data (the export writes it after the
// last line).
constexpr char kEndOfData = 0x1A;

}  // namespace

DelimitedReader::DelimitedReader(int fd, char delimiter, char quote, std::size_t lineLimit, std::size_t byteLimit)
    : fd_(fd), delimiter_(delimiter), quote_(quote), lineLimit_(lineLimit), byteLimit_(byteLimit) {}

void DelimitedReader::Seek(std::int64_t offset) {
  block_.clear();
  at_ = 0;
  blockOffset_ = offset;
}

bool DelimitedReader::Peek(char& c) {
  if (at_ >= block_.size()) {
    if (readError_ != 0) return false;
    blockOffset_ += static_cast<std::int64_t>(block_.size());
    block_.resize(kBlockSize);
    at_ = 0;
    const std::int64_t got = ReadBytesAt(fd_, block_.data(), block_.size(), blockOffset_);
    if (got < 0) readError_ = errno != 0 ? errno : EIO;
    block_.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    if (block_.empty()) return false;
  }
  c = block_[at_];
  return true;
}

bool DelimitedReader::Get(char& c) {
  if (!Peek(c)) return false;
  ++at_;
  return true;
}

bool DelimitedReader::Next(DelimitedRecord& record) {
  record = DelimitedRecord{};
  if (ended_) return false;
  // The byte-order mark that spreadsheet programs put before UTF-8 text is
  // no character of the first field.
  if (blockOffset_ == 0 && at_ == 0) {
    char c;
    if (Peek(c) && c == '\xEF' && block_.compare(0, 3, "\xEF\xBB\xBF") == 0) at_ = 3;
  }
  enum class State { FieldStart, Plain, Quoted, QuoteSeen, Closed };
  State state = State::FieldStart;
  std::string field;
  std::size_t characters = 0;
  std::size_t bytes = 0;
  bool tooLong = false;
  // The current field's quoted text ran over a line end: where reading goes
  // on when its quote turns out never to close.
  bool fieldSpanned = false;
  std::int64_t resumeAt = 0;
  std::int64_t resumeLine = 0;
  bool crBefore = false;  // in a quoted text: the byte before was a CR
  auto position = [this] { return blockOffset_ + static_cast<std::int64_t>(at_); };
  auto done = [&](DelimitedRecord::Fault fault) {
    if (fault == DelimitedRecord::Fault::None && tooLong) fault = DelimitedRecord::Fault::TooLong;
    record.fault = fault;
    if (fault == DelimitedRecord::Fault::None) record.fields.push_back(std::move(field));
    record.end = position();
    return true;
  };
  // The record's quote never closes: its first line is refused and reading
  // goes on with the line after the one the quoted text ran over.
  auto unclosed = [&] {
    record.fields.clear();
    record.fault = DelimitedRecord::Fault::UnclosedQuote;
    record.end = resumeAt;
    Seek(resumeAt);
    line_ = resumeLine;
    ended_ = false;
    return true;
  };
  record.line = line_;
  for (;;) {
    char c;
    if (!Get(c)) {
      ended_ = true;
      if (state == State::Quoted && fieldSpanned) return unclosed();
      if (bytes == 0) return false;
      return done(state == State::Quoted ? DelimitedRecord::Fault::UnclosedQuote : DelimitedRecord::Fault::None);
    }
    if (c == kEndOfData && state != State::Quoted) {
      ended_ = true;
      if (bytes == 0) return false;
      return done(DelimitedRecord::Fault::None);
    }
    const bool lineEnd = c == '\r' || c == '\n';
    if (lineEnd && state != State::Quoted) {
      char next;
      if (c == '\r' && Peek(next) && next == '\n') ++at_;
      ++line_;
      if (bytes == 0) {
        record.line = line_;  // an empty line appends nothing
        continue;
      }
      return done(DelimitedRecord::Fault::None);
    }
    ++bytes;
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;
    if (characters > lineLimit_ || bytes > byteLimit_) {
      if (fieldSpanned && state != State::Closed) return unclosed();
      // A line past the limit is refused whole: its bytes need not be kept.
      tooLong = true;
    }
    if (state == State::QuoteSeen) {
      if (c == quote_) {
        // A doubled quote character is one of the text.
        if (!tooLong) field.push_back(c);
        state = State::Quoted;
        continue;
      }
      state = State::Closed;
    }
    switch (state) {
      case State::FieldStart:
        // Leading blanks and tabs are skipped, except the delimiter itself:
        // with a tab or a blank as the delimiter an empty field is empty.
        if ((c == ' ' || c == '\t') && c != delimiter_) continue;
        if (quote_ != '\0' && c == quote_) {
          state = State::Quoted;
          fieldSpanned = false;
          crBefore = false;
          continue;
        }
        state = State::Plain;
        [[fallthrough]];
      case State::Plain:
      case State::Closed:
        if (c == delimiter_) {
          record.fields.push_back(std::move(field));
          field.clear();
          state = State::FieldStart;
          fieldSpanned = false;
          continue;
        }
        // After a quoted text that ran over a line end only blanks may come
        // before the delimiter: anything else shows that its quote was
        // never closed and the quote seen was the next line's.
        if (state == State::Closed && fieldSpanned && c != ' ' && c != '\t') return unclosed();
        if (!tooLong) field.push_back(c);
        continue;
      case State::Quoted:
        if (c == quote_) {
          state = State::QuoteSeen;
          continue;
        }
        if (lineEnd && !(c == '\n' && crBefore)) {
          ++line_;
          if (!fieldSpanned) {
            fieldSpanned = true;
            resumeLine = line_;
            resumeAt = position();
            char next;
            if (c == '\r' && Peek(next) && next == '\n') ++resumeAt;
          }
        }
        crBefore = c == '\r';
        if (!tooLong) field.push_back(c);
        continue;
      case State::QuoteSeen:
        continue;  // handled above
    }
  }
}

}  // namespace dbase
