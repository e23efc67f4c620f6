// Memo values as text: reading a memo into the memo-line buffer (lines
// broken at the line width, hard and soft returns recorded), writing a text
// or the line buffer back as a memo, and the text-file view of one memo
// (MemoTextFile) through which callers read and write a memo line by line.
// A text read and written back keeps its bytes (less trailing blanks): each
// line is written with the end it was read with, a line broken at the width
// with none, so wrapping never turns into a hard break.
// The text is the engine's text (ISO 8859-1); the memo file holds it in the
// table's code page and through the table's translation procedures.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dbase {

// Line ends recorded in MemoLineEnds.
inline constexpr std::uint8_t kHardReturn = 13;
inline constexpr std::uint8_t kSoftReturn = 141;
inline constexpr std::uint8_t kNoLineEnd = 0;
// The line width when MemoWidthOn is off.
inline constexpr std::size_t kDefaultMemoLineWidth = 253;

// The memo-line buffer, one for all work areas.
extern std::vector<std::string> MemoLines;
extern std::vector<std::uint8_t> MemoLineEnds;
extern int MemoLineCount;
// The last GetMemo dropped lines beyond MaxMemoLines.
extern bool MemoLinesDropped;

// The line width now in force.
std::size_t MemoLineWidth();

// Reads the memo at block of the current area into the line buffer; a line
// limit above 0 stops after that many lines, and lines beyond MaxMemoLines
// are dropped. Block 0 gives one empty line.
// The record number only names the record in error texts.
bool GetMemo(std::int32_t block, int lineLimit = 0);
// Stores a text as a new memo; its first block, 0 for an empty text or on
// failure.
std::int32_t AddMemo(const std::string& text);
// Writes the line buffer back as the memo that began at block; the new first
// block (dBASE IV keeps the block when the memo still fits), 0 when nothing
// was written. A buffer that GetMemo filled from that memo only up to
// MaxMemoLines is refused (error 1005): writing it would drop the rest.
std::int32_t CloseMemo(std::int32_t block);

// The stored text of the memo at block, whole (false when it cannot be
// read; block 0 gives an empty text).
bool ReadMemoText(std::int32_t block, std::string& text);
// The memo at block as the lines a reader of the text-file view sees.
bool ReadMemoTextLines(std::int32_t block, std::vector<std::string>& lines);

// The text-file view of one memo of the current area. The caller's block
// variable names the memo and receives the new block when an output file is
// closed. Operations answer 0 or an I/O result code.
class MemoTextFile {
 public:
  // Binds to the current area's memo file: 215 without a table, 1019
  // without a memo file (recorded), 0 when bound.
  int Assign(std::int32_t* blockVariable);
  int Reset();    // input: 100 when the memo cannot be read
  int Rewrite();  // output from an empty memo
  // Output after the memo's last line; 101 for a memo longer than
  // MaxMemoLines lines, which could not be written back whole.
  int Append();
  // The next line (wrapped lines joined); false at the end.
  bool ReadLine(std::string& line);
  bool Eof() const;
  // Text with CR or LF in it ends lines there; 101 when the text needs more
  // than MaxMemoLines lines (what came before is kept).
  int Write(const std::string& text);
  int WriteLine(const std::string& text);
  // An output file is stored (CloseMemo) and the variable set; 101 when
  // lines were pending but nothing could be written.
  int Close();

 private:
  enum class Mode { Closed, Input, Output };
  int area_ = 0;
  std::int32_t* block_ = nullptr;
  Mode mode_ = Mode::Closed;
  std::vector<std::string> lines_;
  std::vector<std::uint8_t> ends_;
  std::size_t next_ = 0;
  std::string pending_;
  bool afterCr_ = false;
};

}  // namespace dbase
