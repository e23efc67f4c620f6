// Delimited text export and import.
#include "dbase/engine/delimited_text.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <memory>

#include "dbase/common/text_routines.h"
#include "dbase/engine/date_display.h"
#include "dbase/engine/dbf_file.h"
#include "dbase/engine/dbf_layout.h"
#include "dbase/engine/dbf_native.h"
#include "dbase/engine/engine_code_page.h"
#include "dbase/engine/engine_settings.h"
#include "dbase/engine/error_codes.h"
#include "dbase/engine/file_names.h"
#include "dbase/engine/navigation.h"
#include "dbase/engine/os_errors.h"
#include "dbase/engine/progress_windows.h"
#include "dbase/engine/record_changes.h"
#include "dbase/engine/work_areas.h"

namespace dbase {

char Delimiter = ',';
char QuoteChar = '"';
std::uint16_t LineBufferSize = 2048;

namespace {

constexpr std::size_t kBlockSize = 65520;

bool TakesToken(char type) {
  return type == 'C' || type == 'D' || type == 'F' || type == 'L' || type == 'N';
}

// The line of the current record from its record text.
std::string DelimitedLine(const DbfTable& table) {
  std::string line;
  const int count = table.FieldCount();
  for (int i = 0; i < count; ++i) {
    const FieldDef& field = table.fields[static_cast<std::size_t>(i)];
    const std::string raw = table.record.substr(field.offset, field.length);
    switch (field.type) {
      case 'C':
        if (QuoteChar != '\0') {
          // A quote character inside the text is doubled, so that the
          // import takes it as text.
          line.push_back(QuoteChar);
          for (const char c : TzTrimRight(raw)) {
            if (c == QuoteChar) line.push_back(c);
            line.push_back(c);
          }
          line.push_back(QuoteChar);
        } else {
          // Unquoted, a line end inside the text would split the record:
          // it is written as a blank.
          std::string text = TzTrimRight(raw);
          std::replace(text.begin(), text.end(), '\r', ' ');
          std::replace(text.begin(), text.end(), '\n', ' ');
          line += text;
        }
        break;
      case 'D':
        line += TzTrimRight(raw.substr(0, 8));
        break;
      case 'N':
      case 'F':
        line += TzTrimLeft(raw);
        break;
      case 'L':
        line += raw.substr(0, 1);
        break;
      default:
        continue;  // memo and other fields: nothing, and no delimiter
    }
    if (i + 1 < count) line += Delimiter;
  }
  return line;
}

// The next token of a line from pos on. Leading blanks and tabs are skipped,
// except the delimiter itself: with a tab or a blank as the delimiter an
// empty field is an empty token.
std::string NextToken(const std::string& line, std::size_t& pos) {
  while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t') && line[pos] != Delimiter) ++pos;
  std::string token;
  bool quoted = false;
  for (; pos < line.size(); ++pos) {
    const char c = line[pos];
    if (QuoteChar != '\0' && c == QuoteChar) {
      // Inside quotes a doubled quote character is one of the text.
      if (quoted && pos + 1 < line.size() && line[pos + 1] == QuoteChar) {
        token.push_back(c);
        ++pos;
        continue;
      }
      quoted = !quoted;
      continue;
    }
    if (!quoted && c == Delimiter) {
      ++pos;
      break;
    }
    token.push_back(c);
  }
  return token;
}

bool AllDigits(const std::string& text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Fills the current area's native buffer from a line (engine text). A
// number a field cannot hold refuses the line: the refusal's text, empty
// when every field took its token.
std::string LineToRecord(WorkArea& area, const std::string& line) {
  std::size_t pos = 0;
  for (int i = 0; i < area.table.FieldCount(); ++i) {
    const FieldDef& field = area.table.fields[static_cast<std::size_t>(i)];
    if (!TakesToken(field.type)) continue;
    const std::string token = NextToken(line, pos);
    std::uint8_t* address = area.FieldAddressOf(i);
    const std::size_t capacity = NativeFieldSize(field);
    switch (field.type) {
      case 'C':
        PutNativeString(address, capacity, token.substr(0, field.length));
        break;
      case 'D': {
        const std::string text = TzAllTrim(token);
        // Eight digits are the stored form; anything else a display date.
        const std::string stored = AllDigits(text) ? text.substr(0, 8) : NativeDateToStored(text.substr(0, 10));
        PutNativeString(address, capacity, StoredDateToNative(stored.size() == 8 ? stored : std::string(8, ' ')));
        break;
      }
      case 'N':
      case 'F': {
        const std::string text = TzAllTrim(token);
        if (!PutNumberText(field, address, text)) return WholeNumberOverflowText(field.name, text);
        break;
      }
      case 'L': {
        const std::string text = TzAllTrim(token);
        address[0] = !text.empty() && std::string("TtYy").find(text[0]) != std::string::npos ? 1 : 0;
        break;
      }
      default:
        break;
    }
  }
  return {};
}

// The longest line (in characters) that CopyToDelimitedFile writes for a
// record of the table: every character of a quoted text may be doubled.
std::size_t LongestExportLine(const DbfTable& table) {
  std::size_t length = 0;
  for (const FieldDef& field : table.fields) {
    if (field.type == 'C') {
      length += QuoteChar != '\0' ? 2u * field.length + 2u : field.length;
    } else if (TakesToken(field.type)) {
      length += field.length;
    }
    ++length;  // the delimiter
  }
  return length;
}

struct FileCloser {
  int fd;
  ~FileCloser() {
    if (fd >= 0) ::close(fd);
  }
};

}  // namespace

std::int64_t CopyToDelimitedFile(const std::string& fileName) {
  WorkArea* area = BeginCommand("CopyToDelimitedFile");
  if (area == nullptr || area->table.isVirtual) return 0;
  const std::string name = ExistingOrNewName(fileName, "TXT", true);
  FileCloser file{::open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644)};
  if (file.fd < 0) {
    SetError(OsErrorCode(errno, true), "Error writing " + name + " [CopyToDelimitedFile]");
    return 0;
  }
  std::int64_t written = 0;
  std::int64_t offset = 0;
  std::string block;
  auto flush = [&]() {
    const int err = WriteBytesAt(file.fd, block.data(), block.size(), offset);
    offset += static_cast<std::int64_t>(block.size());
    block.clear();
    if (err != 0) SetError(OsErrorCode(err, true), "Error writing " + name + " [CopyToDelimitedFile]");
    return err == 0;
  };
  GoTop();
  while (TzError == 0 && !area->table.eof) {
    block += AnsiToUtf8(DelimitedLine(area->table));
    block += "\r\n";
    ++written;
    if (block.size() >= kBlockSize && !flush()) return written;
    Skip(1);
  }
  block.push_back(static_cast<char>(layout::kDefaultEndOfFile));
  flush();
  if (::close(file.fd) != 0 && TzError == 0) {
    SetError(OsErrorCode(errno, true), "Error writing " + name + " [CopyToDelimitedFile]");
  }
  file.fd = -1;
  return written;
}

std::int64_t AppendFromDelimitedFile(const std::string& fileName, bool showProgress) {
  WorkArea* area = BeginCommand("AppendFromDelimitedFile");
  if (area == nullptr) return 0;
  const std::string name = ExistingOrNewName(fileName, "TXT", true);
  FileCloser file{::open(name.c_str(), O_RDONLY | O_CLOEXEC)};
  if (file.fd < 0) {
    SetError(OsErrorCode(errno), "Failure to open " + name + " [AppendFromDelimitedFile]");
    return 0;
  }
  struct stat info {};
  const std::int64_t size = ::fstat(file.fd, &info) == 0 ? info.st_size : 0;
  std::unique_ptr<TTzProgress100> progress;
  if (showProgress) progress = std::make_unique<TTzProgress100>("Appending...");
  // One step per hundredth of the file (per byte for files of at most 100).
  const std::int64_t bytesPerStep = std::max<std::int64_t>(1, size / TTzProgress100::kMarks);
  std::int64_t counted = 0;
  auto advance = [&](std::int64_t bytes) {
    if (!progress) return;
    const std::int64_t before = counted / bytesPerStep;
    counted += bytes;
    for (std::int64_t k = before; k < counted / bytesPerStep; ++k) progress->Step();
  };
  std::int64_t appended = 0;
  std::string block(kBlockSize, '\0');
  // Every line the engine writes for this table is taken whole, whatever
  // LineBufferSize says; a longer line is refused, never cut.
  const std::size_t lineLimit = std::max<std::size_t>({1, LineBufferSize, LongestExportLine(area->table)});
  // A line of lineLimit characters is at most this many bytes of UTF-8; a
  // line of stray continuation bytes is refused by this count.
  const std::size_t byteLimit = lineLimit * 4;
  std::string line;
  std::size_t characters = 0;  // of the line (UTF-8 sequences)
  std::size_t bytes = 0;       // of the line
  // A quoted text that opens a field may hold line ends (the export writes
  // a text's own line ends so); a quote character inside an unquoted text
  // (5" pipe) opens nothing, so that such a line still ends at its end.
  bool quoted = false;
  bool fieldStart = true;   // only blanks and tabs since the line or the delimiter began
  bool justClosed = false;  // the byte before closed a quote: a second one is a doubled quote
  std::int64_t lineNumber = 1;
  std::int64_t offset = 0;
  bool afterCr = false;
  bool ended = false;
  auto finishLine = [&]() {
    advance(static_cast<std::int64_t>(line.size()) + 1);
    bool ok = true;
    const std::string where = "Line " + std::to_string(lineNumber) + " of " + name;
    if (characters > lineLimit || bytes > byteLimit) {
      SetError(266, where + " is longer than " + std::to_string(lineLimit) + " characters or " +
                        std::to_string(byteLimit) + " bytes; nothing of it is appended [AppendFromDelimitedFile]");
      ok = false;
    } else if (!line.empty()) {
      ClearRecord();
      const std::string refused = LineToRecord(*area, Utf8ToAnsi(line));
      if (!refused.empty()) {
        SetError(205, where + ": " + refused + "; nothing of it is appended [AppendFromDelimitedFile]");
        ok = false;
      } else {
        ok = Append();
        if (ok) ++appended;
      }
    }
    line.clear();
    characters = 0;
    bytes = 0;
    quoted = false;
    fieldStart = true;
    justClosed = false;
    ++lineNumber;
    return ok;
  };
  while (!ended) {
    const std::int64_t got = ReadBytesAt(file.fd, block.data(), block.size(), offset);
    if (got < 0) {
      SetError(OsErrorCode(errno), "Error reading " + name + " [AppendFromDelimitedFile]");
      break;
    }
    if (got == 0) break;
    offset += got;
    for (std::int64_t i = 0; i < got && !ended; ++i) {
      const char c = block[static_cast<std::size_t>(i)];
      if (c == static_cast<char>(layout::kDefaultEndOfFile)) {
        ended = true;
        break;
      }
      if (c == '\n' && afterCr && !quoted) {
        afterCr = false;
        advance(1);
        continue;
      }
      afterCr = c == '\r';
      if ((c == '\r' || c == '\n') && !quoted) {
        if (!finishLine()) ended = true;
        continue;
      }
      if (QuoteChar != '\0' && c == QuoteChar) {
        const bool opens = !quoted && (fieldStart || justClosed);
        justClosed = quoted;
        quoted = opens;
        fieldStart = false;
      } else {
        justClosed = false;
        if (!quoted && c == Delimiter) {
          fieldStart = true;
        } else if (c != ' ' && c != '\t') {
          fieldStart = false;
        }
      }
      if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;
      ++bytes;
      // A line past the limit is refused whole: its bytes need not be kept.
      if (characters <= lineLimit && bytes <= byteLimit) line.push_back(c);
    }
  }
  if (!line.empty() && TzError == 0) finishLine();
  return appended;
}

}  // namespace dbase
