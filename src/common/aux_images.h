// The auxiliary-image list: a user-editable list of named pictures (HP-GL
// plot files of the PLT directory) kept in a ".dbh" file, one record per
// line: "picture","text". The list is browsed in its form, each chosen
// picture drawn in the graphics window; records are appended, inserted,
// edited, deleted and moved, and a picture can be sent to a plotter or
// printer file.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace common {

inline constexpr int MaxAuxImages = 130;
inline constexpr int AuxPictureNameLength = 32;

struct AuxImage {
  std::string picture;  // plot file name without ".plt"
  std::string text;
  bool operator==(const AuxImage&) const = default;
};

// PLT directory + the list name in lower case + ".dbh".
std::string AuxImageFileName(const std::string& listName);

// One quoted field of a record line from pos (a leading comma is skipped);
// the field ends at its closing quote or the line end. false, with "DBH file
// error", when the field does not start with a quote (or the line ends).
bool ReadDbhField(const std::string& line, std::size_t& pos, std::string& field);
// The record line: "picture","text".
std::string WriteDbhRecord(const AuxImage& image);

// The records of a list file (at most 130); empty when it cannot be read.
std::vector<AuxImage> ReadAuxImageList(const std::string& fileName);
// Writes the records; the file is replaced only after every record was
// written. false (AbortFlag set, message shown) on failure.
bool WriteAuxImageList(const std::string& fileName, const std::vector<AuxImage>& images);

// The list line of a record: the picture name padded, ": ", the text.
std::string AuxImageLine(const AuxImage& image);
// The commands offered after the n records.
extern const char* const AuxImageCommands[5];

// Runs the list of the given name until the user leaves it.
void RunAuxImages(const std::string& listName);

// The list form: the record lines followed by the five commands, with the
// 1-based entry `selected` shown. It returns the user's step: leave ("OK"),
// choose an entry (a record shows its picture, a command runs), or move the
// selected record one place up or down (the spin button).
struct AuxImageStep {
  enum class Kind { Leave, Choose, MoveUp, MoveDown };
  Kind kind = Kind::Leave;
  int index = 0;  // 1-based entry of Choose, record of MoveUp/MoveDown
};
using AuxImageListView = std::function<AuxImageStep(const std::vector<std::string>& entries, int selected)>;
AuxImageListView SetAuxImageListView(AuxImageListView view);

}  // namespace common
