// The command line: a design file with "/I" writes its text printout, with
// "/CADi:j" the CAD file of drawing j in format i (the switch may stand
// before or after the file name), "?", "/?" or "-?" shows the usage text;
// these batch paths run without a window and end the program with an exit
// code. Otherwise the design is read for interactive work. main() decides
// on the batch paths before any window exists, and ends a run that needs
// the window where there is no display to show it on.
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
  bool fileGiven = false;   // a design file was named (it may be "")
  int format = 0;           // i of "/CADi:j": its one digit
  int drawing = 0;          // j of "/CADi:j"; 0 when it reads as no number
  std::string drawingText;  // j as written, for a drawing that does not exist
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
  ExitUsage = 3,       // "/I" or "/CADi:j" without a design file
  ExitNoDisplay = 4,   // the window is needed and there is no display
};

// The one line on standard error of a run that needs the window where
// there is no display; it names the switches that run without one. failed:
// the display that was set and could not be opened, and why; empty when
// none is set.
std::string NoDisplayText(const std::string& failed = "");

// Runs a batch path after the program start-up: no dialog or message box
// appears; results and failures are reported on out and err, each failure
// in one line that says why (the file's reason, the reader's refusal, the
// system's reason of a failed write). The output is never written over
// the design file: an output that is the same file (after links, by device
// and inode) is refused with exit code 2. display: a screen is there, so
// the usage text is also shown in its form. A batch switch without a
// design file writes the usage text on err (exit code 3). Whatever a
// writer or the printout says while the output is made (a message box
// nobody would see, a text added to the message list) is printed on err.
int RunBatch(const CommandLine& line, std::ostream& out, std::ostream& err, bool display);

// The interactive start with a file: a name without '.' ends the program
// (exit 0) after a message; otherwise the design is read, and when that
// fails and the name is no usable file name either, the program ends (exit
// 0). Nothing when the program goes on.
std::optional<int> OpenStartFile(const CommandLine& line);

// Shows the usage text in its form (which waits until it is closed).
void ShowUsageForm();

// The 19 lines of the usage text.
std::vector<std::string> UsageText();

// CAD output of drawing j (1..5 gear pictures, 6..19 diagrams 1..14) in
// format i through the drawing entry points (entry_points.h); other
// drawings write nothing (and say so on err, naming the drawing as
// drawingText, the number as written, when given). False when the output
// failed. What the writer says on the way is printed on err.
bool CadBatchOutput(int format, int drawing, std::ostream& err, const std::string& drawingText = "");

}  // namespace app
