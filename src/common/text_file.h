// Line-oriented text files: the one shared text-file variable
// SharedTextFile, the one-value-per-line read and write routines over it,
// the '|'-separated field lines and the header block of the design data
// file. Every line file of the program goes through here (data file,
// configuration and session files, report spool, DXF, IGES, text CAD and
// STL writers). The checked open and close routines with their messages are
// in file_checks.h; path and copy utilities in file_utils.h; the files are
// reached through platform/file_system.h.
//
// A failed line sets AbortFlag and the routines go on; callers test the
// flag once after the whole file. Lines are written with CR LF and read
// with CR LF, LF or CR. Reading past the end gives empty lines without an
// error, so callers detect older, shorter files with Eof().
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>

#include "common/kaldvar.h"
#include "common/real.h"
#include "platform/file_system.h"

namespace common {

class TextFile {
 public:
  enum class Mode { Closed, Reading, Writing };

  TextFile() = default;
  ~TextFile();
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;

  // Names the file for the next Reset or Rewrite (closes an open file).
  void Assign(const std::string& name);
  const std::string& Name() const { return name_; }
  Mode CurrentMode() const { return mode_; }
  bool IsOpen() const { return mode_ != Mode::Closed; }

  // Opens the assigned file for reading.
  bool Reset(std::error_code& ec);
  // Opens the assigned file for writing. The lines go to a temporary file
  // beside it; Close puts it in place only when every write succeeded, so
  // the previous file survives a failed or abandoned write.
  bool Rewrite(std::error_code& ec);
  // Closes. For a written file: false (ec set) when a write failed or the
  // file could not be completed; the previous file is then unchanged.
  bool Close(std::error_code& ec);
  // Abandons a write: the temporary file is removed, the previous file
  // stays. A read file is just closed.
  void Discard();

  // Reads one line (without its end) and moves to the next. At the end of
  // the file: empty line, true. false on a read error or when the file is
  // not open for reading.
  bool ReadLine(std::string& line);
  // The same, reading no further than longest characters: a longer line
  // sets tooLong, and line holds its first part only.
  bool ReadLine(std::string& line, std::size_t longest, bool& tooLong);
  // True when no character is left to read (or the file is not open).
  bool Eof();

  // Writes the bytes; false when the file is not open for writing or the
  // write failed (the file then refuses to replace the previous one).
  bool Write(std::string_view bytes);
  bool WriteFailed() const { return writeFailed_; }

 private:
  bool Fill();  // refills the read buffer; false on error

  std::string name_;
  Mode mode_ = Mode::Closed;
  std::unique_ptr<platform::InputFile> in_;
  platform::ReplacingFile out_;
  bool writeFailed_ = false;
  std::error_code writeError_;
  std::string buffer_;
  std::size_t pos_ = 0;
  bool atEnd_ = false;
};

// The one text-file variable of the program; one file at a time.
extern TextFile SharedTextFile;


// ---- Reading (each reads one line of SharedTextFile) ------------------------

void ReadTextLine(std::string& text);
// Four '|'-terminated fields; a field whose '|' is missing takes the rest of
// the line, the ones after it are empty.
void ReadFieldsLine(std::string& a, std::string& b, std::string& c, std::string& d);
// The first character; '\0' for an empty line.
void ReadCharLine(char& c);
// 32-bit integer; a line that does not convert gives 0.
void ReadIntLine(std::int32_t& n);
void ReadIntLine2(std::int32_t& n);
// 16-bit unsigned; a line that does not convert (or lies outside 0..65535)
// gives 0.
void ReadWordLine(std::uint16_t& n);
// Real with any number of decimals, ',' or '.' as decimal sign, exponent
// form accepted; a line that does not convert gives 0.
void ReadRealLine(Real& x);
// The same for a double; a value beyond the double range also gives 0.
void ReadDoubleLine(double& x);
// flag := the line reads "TRUE" (any case); unchanged when AbortFlag is set
// after the read.
void ReadTrueLine(bool& flag);
// flag := the line does not read "FALSE" (any case); unchanged when
// AbortFlag is set after the read.
void ReadNotFalseLine(bool& flag);

// ---- Writing (each writes one line to SharedTextFile) -----------------------
// A CR or LF inside a text is written as a blank, so that the line stays one.

void WriteTextLine(const std::string& text);
void WriteTextLine2(const std::string& text);
void WriteTextNoEol(const std::string& text);
// Whole values below 1 (within 1e-10) as integers ("0", "-2"); every other
// value with exactly 7 decimals and a point ("5.0000000", "0.5000000"),
// whatever the decimal-sign and significant-digits settings, so that files
// read back the same everywhere. Every line written reads back as a
// number: a value that is no number (infinite, NaN) is written as 0, and a
// finite value beyond the 18-digit decimal just below LargestNumber
// (number_format.h) as that decimal with its sign.
void WriteRealLine(Real x);
// Exactly 14 decimals and a point, limited like WriteRealLine.
void WriteRealLine14(Real x);
void WriteIntLine(long long n);
void WriteBoolLine(bool flag);
void WriteFieldsLine(const std::string& a, const std::string& b, const std::string& c, const std::string& d);
void WriteFieldsLine6(const std::string& a, const std::string& b, const std::string& c, const std::string& d,
                      const std::string& e, const std::string& f);
void WriteFieldsLine8(const std::string& a, const std::string& b, const std::string& c, const std::string& d,
                      const std::string& e, const std::string& f, const std::string& g, const std::string& h);
// The seven header lines of the design data file: a rule of 65 '-', the
// program title with the program file's version, "Version " with the
// program version and the notice, a rule, and the three SheetTexts.
void WriteFileHeader();

// ---- Line texts (also used where a value is written into a longer line) -----

// The text WriteRealLine writes.
std::string RealLineText(Real x);
// x with exactly `decimals` decimals and a point, ties rounded away from
// zero, at most 18 significant digits (further positions 0), never
// "-0.000" (FixedPointDigits of number_format.h).
std::string FixedPointText(Real x, int decimals);
// The number a real line holds (every ',' read as '.'); false when the line
// is not a number or not one the program takes (beyond LargestNumber of
// number_format.h: "1e999", "inf", "nan"; notFinite then tells so).
bool ParseRealLine(const std::string& line, Real& x, bool* notFinite = nullptr);

}  // namespace common
