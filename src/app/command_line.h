// The command line: a design file with "/I" writes its text printout, with
// "/CADi:j" the CAD file of drawing j in format i, "?" or "/?" shows the
// usage text; these batch paths run without a window and end the program
// with an exit code. Otherwise the design is read for interactive work.
// main() decides on the batch paths before any window exists.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace app {

struct CommandLine {
  enum class Kind {
    None,          // no parameter: normal start
    Usage,         // "?" or "/?"
    TextPrintout,  // file "/I"
    CadOutput,     // file "/CADi:j"
    NoRead,        // file "/E" or "/G": normal start, the file is not read
    OpenFile,      // file [anything else]: read for interactive work
  };
  Kind kind = Kind::None;
  std::string fileName;
  int format = 0;   // i of "/CADi:j": its one digit
  int drawing = 0;  // j of "/CADi:j"
};

// The command line's meaning (parameters without the program name).
CommandLine ParseCommandLine(const std::vector<std::string>& params);

// True for the paths that write their output and end: usage, /I, /CAD.
bool IsBatchRun(const CommandLine& line);

// Exit codes of the batch paths.
enum ExitCode : int {
  ExitDone = 0,        // written (or nothing asked for)
  ExitUnreadable = 1,  // the design file cannot be read
  ExitFailed = 2,      // fatal calculation, refused format, failed output,
                       // output that would be the design file itself
};

// Runs a batch path after the program start-up: no dialog or message box
// appears; results and failures are reported on out and err, each failure
// in one line that says why (the file's reason, the reader's refusal, the
// system's reason of a failed write). The output is never written over
// the design file: an output that is the same file (after links, by device
// and inode) is refused with exit code 2. display: a screen is there, so
// the usage text is also shown in its form.
int RunBatch(const CommandLine& line, std::ostream& out, std::ostream& err, bool display);

// The interactive start with a file: a name without '.' ends the program
// (exit 0) after a message; otherwise the design is read, and when that
// fails and the name is no usable file name either, the program ends (exit
// 0). Nothing when the program goes on.
std::optional<int> OpenStartFile(const CommandLine& line);

// The 20 lines of the usage text.
std::vector<std::string> UsageText();

// CAD output of drawing j (1..5 gear pictures, 6..19 diagrams 1..14) in
// format i through the drawing entry points (entry_points.h); other
// drawings write nothing (and say so on err). False when the output failed or the drawing is
// not part of the program yet.
bool CadBatchOutput(int format, int drawing, std::ostream& err);

}  // namespace app
