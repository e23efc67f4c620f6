// Delimited text export and import.
#include "dbase/engine/delimited_text.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <vector>

#include "dbase/common/text_routines.h"
#include "dbase/engine/date_display.h"
#include "dbase/engine/dbf_file.h"
#include "dbase/engine/dbf_layout.h"
#include "dbase/engine/dbf_native.h"
#include "dbase/engine/delimited_reader.h"
#include "dbase/engine/engine_code_page.h"
#include "dbase/engine/engine_settings.h"
#include "dbase/engine/error_codes.h"
#include "dbase/engine/file_names.h"
#include "dbase/engine/import_refusals.h"
#include "dbase/engine/logical_text.h"
#include "dbase/engine/navigation.h"
#include "dbase/engine/os_errors.h"
#include "dbase/engine/progress_windows.h"
#include "dbase/engine/record_changes.h"
#include "dbase/engine/work_areas.h"
#include "platform/file_system.h"

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
          // Unquoted, a line end inside the text would split the record
          // and a 0x1A end the data there: they are written as blanks.
          // (Quoted, the import takes both as characters of the text.)
          std::string text = TzTrimRight(raw);
          for (char& c : text) {
            if (c == '\r' || c == '\n' || c == static_cast<char>(layout::kDefaultEndOfFile)) c = ' ';
          }
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

// Why a line is refused (empty: taken).
struct Refusal {
  std::string why;
};

// Fills the current area's native buffer from the fields of a record of the
// file (UTF-8): C, D, F, L and N fields take the next field each, in table
// order. A line of other fields than the table takes, and a field whose
// value its table field cannot hold as the file gives it, refuse the
// record. Refusals name values as the file has them.
Refusal FieldsToRecord(WorkArea& area, const std::vector<std::string>& texts) {
  // A line of other fields than the table's (another delimiter, a column
  // missing) would put its values into the wrong fields. Empty fields after
  // the last are no values (a memo field in last place leaves one).
  const auto takes = static_cast<std::size_t>(std::count_if(area.table.fields.begin(), area.table.fields.end(),
                                                            [](const FieldDef& f) { return TakesToken(f.type); }));
  std::size_t holds = texts.size();
  while (holds > takes && TzAllTrim(texts[holds - 1]).empty()) --holds;
  if (holds != takes) {
    return {"it holds " + std::to_string(holds) + (holds == 1 ? " field" : " fields") + ", the table takes " +
                    std::to_string(takes)};
  }
  std::size_t next = 0;
  for (int i = 0; i < area.table.FieldCount(); ++i) {
    const FieldDef& field = area.table.fields[static_cast<std::size_t>(i)];
    if (!TakesToken(field.type)) continue;
    const std::string& given = texts[next++];
    // Each value is judged as the file gives it, before the conversion to
    // the table's text could turn a character it lacks into '?': a line
    // that is no UTF-8, or a text with such a character, is refused, and a
    // check mark is no logical value rather than an unknown one.
    std::string token;
    std::string lost;
    const Utf8Loss loss = Utf8ToAnsiChecked(given, token, lost);
    if (loss == Utf8Loss::NotUtf8) return {"Field " + field.name + ": " + lost + " is not UTF-8 text"};
    std::uint8_t* address = area.FieldAddressOf(i);
    switch (field.type) {
      case 'C':
        if (loss != Utf8Loss::None) {
          return {"Field " + field.name + ": " + TzTrimRight(given) + " holds " + lost +
                  ", which the table's code page lacks"};
        }
        if (!PutCharacterText(field, address, token)) return {DoesNotFitText(field, TzTrimRight(given))};
        break;
      case 'D': {
        // Eight digits are the stored form, anything else a display date;
        // a text that is neither refuses the line rather than being kept
        // as an empty date.
        std::string stored;
        if (!ReadDateText(given, stored)) return {"Field " + field.name + ": " + TzAllTrim(given) + " is not a date"};
        PutNativeString(address, NativeFieldSize(field), StoredDateToNative(stored));
        break;
      }
      case 'N':
      case 'F': {
        // No number is stored blank, as the export writes a blank field.
        if (TzAllTrim(given).empty()) {
          KeepAsRead(area.table, i);
          break;
        }
        const NumberStore stored = PutNumberText(field, address, given);
        if (stored != NumberStore::Stored) return {RefusedNumberText(field, TzAllTrim(given), stored)};
        break;
      }
      case 'L':
        // Unknown ("?" or nothing) is stored blank, as dBASE keeps it.
        switch (ReadLogicalText(given)) {
          case LogicalReading::True:
            address[0] = 1;
            break;
          case LogicalReading::False:
            address[0] = 0;
            break;
          case LogicalReading::Unknown:
            KeepAsRead(area.table, i);
            break;
          case LogicalReading::NotLogical:
            return {NotLogicalText(field.name, given)};
        }
        break;
      default:
        break;
    }
  }
  return {};
}

std::string LineName(const DelimitedRecord& record) { return "Line " + std::to_string(record.line); }

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
  // Written beside the file and put in its place only when complete: a
  // full disk or a file-size limit leaves the previous file as it was.
  platform::ReplacingFile file;
  std::error_code ec;
  auto fail = [&] {
    file.Discard();
    SetError(OsErrorCode(ec.value(), true), "Error writing " + name + " [CopyToDelimitedFile]");
  };
  if (!file.Open(name, ec)) {
    fail();
    return 0;
  }
  std::int64_t written = 0;
  std::string block;
  GoTop();
  while (TzError == 0 && !area->table.eof) {
    block += AnsiToUtf8(DelimitedLine(area->table));
    block += "\r\n";
    ++written;
    if (block.size() >= kBlockSize) {
      if (!file.Write(block, ec)) {
        fail();
        return written;
      }
      block.clear();
    }
    Skip(1);
  }
  if (TzError != 0) {
    file.Discard();
    return written;
  }
  block.push_back(static_cast<char>(layout::kDefaultEndOfFile));
  if (!file.Write(block, ec) || !file.Commit(ec)) fail();
  return written;
}

std::int64_t AppendFromDelimitedFile(const std::string& fileName, bool showProgress, std::int64_t* refusedLines) {
  if (refusedLines != nullptr) *refusedLines = 0;
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
  auto advanceTo = [&](std::int64_t position) {
    if (!progress || position <= counted) return;
    for (std::int64_t k = counted / bytesPerStep; k < position / bytesPerStep; ++k) progress->Step();
    counted = position;
  };
  // Every line the engine writes for this table is taken whole, whatever
  // LineBufferSize says; a longer line is refused, never cut.
  const std::size_t lineLimit = std::max<std::size_t>({1, LineBufferSize, LongestExportLine(area->table)});
  // A line of lineLimit characters is at most this many bytes of UTF-8; a
  // line of stray continuation bytes is refused by this count.
  const std::size_t byteLimit = lineLimit * 4;
  DelimitedReader reader(file.fd, Delimiter, QuoteChar, lineLimit, byteLimit);
  ImportRefusals refusals("line");
  std::int64_t appended = 0;
  bool stopped = false;
  DelimitedRecord record;
  while (reader.Next(record)) {
    advanceTo(record.end);
    switch (record.fault) {
      case DelimitedRecord::Fault::TooLong:
        refusals.Add(LineName(record) + " is longer than " + std::to_string(lineLimit) + " characters or " +
                              std::to_string(byteLimit) + " bytes");
        continue;
      case DelimitedRecord::Fault::UnclosedQuote:
        refusals.Add(LineName(record) + ": a quote character opens a text that is never closed");
        continue;
      case DelimitedRecord::Fault::None:
        break;
    }
    ClearRecord();
    const Refusal refused = FieldsToRecord(*area, record.fields);
    if (!refused.why.empty()) {
      refusals.Add(LineName(record) + ": " + refused.why);
      continue;
    }
    // A record the table does not take (a full disk, a lock) ends the
    // import; its error is reported.
    if (!Append()) {
      stopped = true;
      break;
    }
    ++appended;
  }
  if (reader.ReadError() != 0) {
    SetError(OsErrorCode(reader.ReadError()), "Error reading " + name + " [AppendFromDelimitedFile]");
  } else if (!stopped) {
    refusals.ReportUnder(kLinesRefused, name, appended, "[AppendFromDelimitedFile]");
  }
  if (refusedLines != nullptr) *refusedLines = refusals.Count();
  return appended;
}

}  // namespace dbase
