// The design data file: one line-oriented text file ("*.vb4") that holds a
// whole design (the noncircular pair and its pitch curve, the spur data of
// the substitute pair, material, load, strength inputs, tool, drawing texts,
// change records, title block and document links). The file has no keys:
// every value stands on a line of its own at a fixed place, so the order of
// the writer is the format, and the reader is its exact inverse.
//
// Works with the calculation records (calc/calc_records.h,
// calc/spur_gear_data.h), the documentation records and their sections
// (app/documentation/change_records.h, app/documentation/document_links.h),
// the values of design_extras.h, the line routines of common/text_file.h
// with the strict reader of data_file_lines.h, and the file checks of
// common/file_checks.h. Reading ends with calc::CalcNoncircularPair.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "common/message_list.h"
#include "common/range_array.h"

namespace app {

// Set by the start-up when the program was started with a design file.
// While it and the archive setting (common::ArchiveFlag) are both set, the
// design can be written only under the name "actual"; without the archive
// setting the first save clears it.
extern std::uint8_t StartedWithFile;

// Writes the current design. The name picks the file: empty, the save
// dialog (on success DataDirectory and CurrentFileName follow the choice);
// the current design's name (CurrentFileName), its file in DataDirectory
// (DesignFilePath), dots of its own and all; other names without '.',
// DataDirectory + name + ".vb4"; with '.', the path itself. An
// existing file is asked about first (CheckOutputFileName). The file is
// written completely or not at all: the previous file stays until the new
// one is complete. Nothing is written while AbortFlag is set on entry, nor
// in archive mode (see StartedWithFile); on
// return AbortFlag tells failure. DataChanged is left to the caller.
void WriteDataFile(const std::string& name);

// WriteDataFile for the current file: without the overwrite question.
void SaveDataFile(const std::string& name);

// Reads a design. The name picks the file like WriteDataFile's (empty: the
// open dialog; without '.': DataDirectory + name + ".vb4", which also
// becomes CurrentFileName). The design in memory changes only when the
// whole file was read: a file that ends early, a number line that is not a
// number, a count outside its list, a whole number outside its field (the
// turns k 1..100, the accuracy grades 0..12, tooth numbers whose z1 * k
// would overflow) or a missing section marker refuses the file with a
// message naming the line, and the current design stays. Design
// inputs the file does not hold take their start values. After a
// successful read the noncircular calculation runs. On return AbortFlag
// tells failure.
void ReadDataFile(const std::string& name);

// The whole design in memory, kept when the object is made: every record
// a read may change, the file name, the data directory, the changed flag,
// the calculation messages and FatalFlag. PutBack restores them (the
// data-set table reads every design of a directory and then returns to the
// user's).
struct DesignSnapshot;
class KeptDesign {
 public:
  KeptDesign();
  ~KeptDesign();
  KeptDesign(const KeptDesign&) = delete;
  KeptDesign& operator=(const KeptDesign&) = delete;
  void PutBack() const;

 private:
  std::unique_ptr<DesignSnapshot> design_;
  std::string fileName_, dataDirectory_;
  std::uint8_t dataChanged_ = 0;
  common::SavedMessages messages_;
};

// The start values of every design input (the records the file holds and
// the inputs it does not hold); the run's control flags (SkipPositionSweep)
// and the picture rotation stay.
void SetDesignInputDefaults();

}  // namespace app
