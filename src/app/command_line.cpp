// The command-line mode; see command_line.h.
#include "app/command_line.h"

#include <ostream>

#include "app/data_file.h"
#include "app/entry_points.h"
#include "app/printouts/gear_printout.h"
#include "common/code_page.h"
#include "common/design_documentation.h"
#include "common/file_checks.h"
#include "common/file_utils.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "common/number_format.h"
#include "common/text_utils.h"
#include "drawing/cad/cad_device.h"
#include "drawing/cad/cad_output.h"
#include "platform/file_system.h"
#include "platform/user_dialogs.h"

namespace app {

namespace {

bool IsOption(const std::string& param, std::initializer_list<const char*> options) {
  for (const char* option : options)
    if (param == option) return true;
  return false;
}

bool IsCadSwitch(const std::string& param) {
  const std::string head = common::UpperText(param.substr(0, 4));
  return head == "/CAD" || head == "-CAD";
}

// The switches that choose what the run does.
bool IsModeSwitch(const std::string& param) {
  return IsOption(param, {"/I", "/i", "-I", "-i", "/E", "/e", "/G"}) || IsCadSwitch(param);
}

// The calculation messages, for a run that has no one to show them to.
void PrintMessages(std::ostream& err) {
  for (const std::string& text : common::PairMessages()) err << common::OemToDisplayText(text) << "\n";
}

// A failure text as one line of at most MaxReasonLength characters: a
// damaged file may quote a line of any length.
constexpr std::size_t MaxReasonLength = 200;

std::string OneLineReason(const std::string& text) {
  // The file's name as the user gave it (UTF-8), a quoted line of the
  // design as the file holds it (code page 850).
  std::string reason = common::MixedToDisplayText(text);
  for (char& c : reason)
    if (c == '\r' || c == '\n') c = ' ';
  if (reason.size() > MaxReasonLength) {
    // Cut between characters, never inside one.
    std::size_t cut = MaxReasonLength - 3;
    while (cut > 0 && (static_cast<unsigned char>(reason[cut]) & 0xC0) == 0x80) --cut;
    reason = reason.substr(0, cut) + "...";
  }
  return reason;
}

// What failed, for a message that ends in it: the last file failure (it
// names the file and the reason), or the file alone when none was noted.
std::string FailedFile(const std::string& file) {
  const std::string& failure = common::LastFileFailure();
  return failure.empty() ? " " + file : ": " + OneLineReason(failure);
}

// Reads the design of a batch run; the current file name becomes its bare
// name, so the outputs are named after it in the working directory. A
// refused file is named with the reason: not there, a directory, not a
// design file (the reader's line and what it expected there), cut short.
bool ReadBatchDesign(const CommandLine& line, std::ostream& err, std::string& designPath) {
  // The file ReadDataFile reads: a name without '.' is a design of the
  // data directory.
  designPath = line.fileName.find('.') == std::string::npos
                   ? common::DesignFilePath(common::DataDirectory, line.fileName + "." + common::DataFileExtension)
                   : line.fileName;
  common::AbortFlag = 0;
  common::ClearFileFailure();
  if (line.fileName.empty()) {
    err << common::ProgramName << ": cannot read the design file: its name is empty\n";
    return false;
  }
  ReadDataFile(line.fileName);
  if (common::AbortFlag) {
    err << common::ProgramName << ": cannot read the design file" << FailedFile(line.fileName) << "\n";
    return false;
  }
  // The outputs are named after the design without its file's extension:
  // ".vb4" and nothing more ("pump.v1.vb4" writes "pump.v1.txt"), or the
  // extension of a design file named otherwise.
  common::CurrentFileName = common::DesignStem(line.fileName) != line.fileName
                                ? common::BareDesignName(line.fileName)
                                : common::KeptDesignName(common::BareFileName(line.fileName));
  common::DataDirectory.clear();
  return true;
}

// The file a batch output of the extension is written to: the design's
// bare name with the extension in the working directory (the report
// writer's TXT device 9 and the CAD output's batch naming name it so).
std::string BatchOutputName(const std::string& extension) {
  return common::DesignOutputName(common::CurrentFileName, extension);
}

// True (with the message) when the output would be the design file itself,
// by its name or by another name (a link, a path of its own): writing it
// would replace the design by the printout or the drawing.
bool OutputIsTheDesign(const CommandLine& line, const std::string& designPath, const std::string& output,
                       std::ostream& err) {
  if (!platform::SameFile(designPath, output)) return false;
  err << common::ProgramName << ": the output " << output << " is the design file " << line.fileName
      << " itself: nothing was written\n";
  return true;
}

// What the calculation found in a design it could rate (warnings and
// errors of the pair), one line each, before the output is made.
void PrintCalculationMessages(std::ostream& err) {
  for (const std::string& text : common::PairMessages())
    err << common::ProgramName << ": " << OneLineReason(text) << "\n";
}

bool FatalDesign(std::ostream& err) {
  if (!common::FatalFlag) return false;
  err << common::ProgramName << ": the calculation of " << common::CurrentFileName << " failed:\n";
  PrintMessages(err);
  return true;
}

// What a writer or the printout says while a batch output is made (a box
// nobody sees, a text added to the message list), for standard error: in
// the order said, each text once (a box's text and the same text with its
// kind in the list are one), with whether a file failure had been noted by
// then: what follows a failed write is that failure told once more.
class OutputMessages {
 public:
  OutputMessages() : listening_([this](const std::string& text) { Hear(text); }) {}

  // Every text but those the failure line says: the refusal, and what
  // came after a failed write when the line names the file's reason.
  void Print(std::ostream& err, const std::string& refusal = "", bool fileFailed = false) const {
    for (const Said& said : said_) {
      if (fileFailed && said.afterFileFailure) continue;
      if (!refusal.empty() && Core(said.text) == Core(refusal)) continue;
      err << common::ProgramName << ": " << OneLineReason(said.text) << "\n";
    }
  }

 private:
  struct Said {
    std::string text;
    bool afterFileFailure = false;
  };

  static std::string Core(const std::string& text) {
    for (const char* kind : {"Fatal  : ", "Error  : ", "Warning: "})
      if (text.rfind(kind, 0) == 0) return text.substr(std::string(kind).size());
    return text;
  }

  void Hear(const std::string& text) {
    for (const Said& said : said_)
      if (Core(said.text) == Core(text)) return;
    said_.push_back({text, !common::LastFileFailure().empty()});
  }

  std::vector<Said> said_;
  common::ScopedMessageListener listening_;
};

// The file formats of the CAD output that write a file without a question.
bool AcceptedCadFormat(int format) {
  return format == 1 || format == 2 || format == 5 || format == 6 || format == 7;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& params) {
  CommandLine line;
  if (params.empty()) return line;
  if (IsOption(params[0], {"?", "/?", "-?"})) {
    line.kind = CommandLine::Kind::Usage;
    return line;
  }
  // The design file is the first parameter that is none of the program's
  // switches; the first mode switch decides, before or after the file.
  // "/NOGUI" is read where the messages would be shown.
  std::string option;
  bool haveOption = false;
  for (const std::string& param : params) {
    if (IsModeSwitch(param)) {
      if (!haveOption) option = param;
      haveOption = true;
    } else if (common::UpperText(param) != "/NOGUI" && !line.fileGiven) {
      line.fileName = param;
      line.fileGiven = true;
    }
  }
  if (IsOption(option, {"/E", "/e", "/G"})) {
    line.kind = CommandLine::Kind::NoRead;
  } else if (IsOption(option, {"/I", "/i", "-I", "-i"})) {
    line.kind = CommandLine::Kind::TextPrintout;
  } else if (IsCadSwitch(option)) {
    line.kind = CommandLine::Kind::CadOutput;
    // i is the one character after "/CAD", j everything after "/CADi:".
    line.format = option.size() > 4 ? common::TextToInt(option.substr(4, 1)) : 0;
    line.drawingText = option.size() > 6 ? option.substr(6) : "";
    line.drawing = common::TextToInt(line.drawingText);
  } else {
    line.kind = line.fileGiven ? CommandLine::Kind::OpenFile : CommandLine::Kind::None;
  }
  return line;
}

bool IsBatchRun(const CommandLine& line) {
  return line.kind == CommandLine::Kind::Usage || line.kind == CommandLine::Kind::TextPrintout ||
         line.kind == CommandLine::Kind::CadOutput;
}

std::vector<std::string> UsageText() {
  const std::string& program = common::ProgramName;
  const std::string example = "Example: " + program + " test." + common::DataFileExtension;
  return {
      common::ProductCode + " Command Line Mode",
      "",
      program + " Filename [/I] [/CADi:j] [/NOGUI]",
      "",
      "/I       -> TXT file",
      "",
      "/CADi:j  -> CAD File",
      "            i: 1=DXF, 2=IGS, 5=TXT, 6=STL, 7=STEP",
      "            j: index (1,2,3, ..)",
      "",
      "/NOGUI   -> No GUI, exit on fatal error",
      "",
      "",
      "/?       -> Help",
      "",
      "",
      example + "             ->  GUI",
      example + " /I /NOGUI   ->  test.txt",
      example + " /CAD1:1     ->  test.dxf",
  };
}

std::string NoDisplayText(const std::string& failed) {
  const std::string& program = common::ProgramName;
  const std::string why = failed.empty() ? "DISPLAY and WAYLAND_DISPLAY are not set" : failed;
  return program + ": there is no display for the window (" + why + "); without one run " +
         program + " design." + common::DataFileExtension + " /I (text printout) or /CADi:j (CAD file), or " + program +
         " ? (usage)";
}

void ShowUsageForm() {
  std::vector<std::string> text;
  for (const std::string& l : UsageText()) text.push_back(common::OemToDisplayText(l));
  platform::Dialogs().ShowTextPage(common::OemToDisplayText(common::ProductCode), text);
}

int RunBatch(const CommandLine& line, std::ostream& out, std::ostream& err, bool display) {
  // Nobody is there to answer: no message box, no device or overwrite
  // question; CAD files are named after the design.
  common::MessagesEnabled = 0;
  common::AbortFlag = 0;

  if (line.kind == CommandLine::Kind::Usage) {
    // Flushed before the form waits: a script reading the text has it at
    // once.
    for (const std::string& l : UsageText()) out << common::OemToDisplayText(l) << "\n";
    out.flush();
    if (display) ShowUsageForm();
    return ExitDone;
  }

  if (!line.fileGiven) {
    // A batch switch without a design: what the command line looks like.
    err << common::ProgramName << ": " << (line.kind == CommandLine::Kind::TextPrintout ? "/I" : "/CADi:j")
        << " needs a design file\n";
    for (const std::string& l : UsageText()) err << common::OemToDisplayText(l) << "\n";
    return ExitUsage;
  }

  if (line.kind == CommandLine::Kind::TextPrintout) {
    std::string designPath;
    if (!ReadBatchDesign(line, err, designPath)) return ExitUnreadable;
    const std::string output = BatchOutputName("txt");
    if (OutputIsTheDesign(line, designPath, output, err)) return ExitFailed;
    if (FatalDesign(err)) return ExitFailed;
    PrintCalculationMessages(err);
    // Device 9: tab-separated text, written to the design's name with ".txt".
    common::TextDevice = 9;
    common::TextDeviceWindow = false;
    common::ClearFileFailure();
    const OutputMessages messages;
    PrintGearReport(GearReportComplete);
    const bool failed = common::AbortFlag != 0;
    messages.Print(err, "", failed && !common::LastFileFailure().empty());
    if (failed) {
      err << common::ProgramName << ": the printout could not be written" << FailedFile(output) << "\n";
      return ExitFailed;
    }
    return ExitDone;
  }

  if (line.kind == CommandLine::Kind::CadOutput) {
    std::string designPath;
    if (!ReadBatchDesign(line, err, designPath)) return ExitUnreadable;
    if (!AcceptedCadFormat(line.format)) {
      err << common::ProgramName << ": CAD format " << line.format
          << " cannot be written from the command line; use 1 (DXF), 2 (IGES), 5 (TXT), 6 (STL) or 7 (STEP)\n";
      return ExitFailed;
    }
    const std::string extension = drawing::CadBackEndFor(static_cast<drawing::CadDeviceCode>(line.format)).FileExtension();
    if (!extension.empty() && OutputIsTheDesign(line, designPath, BatchOutputName(extension), err)) return ExitFailed;
    if (FatalDesign(err)) return ExitFailed;
    PrintCalculationMessages(err);
    common::CadBatchNaming = true;
    const bool written = CadBatchOutput(line.format, line.drawing, err, line.drawingText);
    common::CadBatchNaming = false;
    return written ? ExitDone : ExitFailed;
  }
  return ExitDone;
}

std::optional<int> OpenStartFile(const CommandLine& line) {
  if (line.kind != CommandLine::Kind::OpenFile) return std::nullopt;
  common::CurrentFileName = line.fileName;
  common::DataDirectory.clear();
  if (line.fileName.find('.') == std::string::npos) {
    common::ShowFileError("extension ." + common::DataFileExtension + " " + "missing");
    return ExitDone;
  }
  // A file that is there but does not read says why; a missing one is
  // quietly taken as the name of a new design.
  const bool exists = common::FileCanOpen(line.fileName);
  common::MessagesEnabled = exists ? 1 : 0;
  common::AbortFlag = 0;
  ReadDataFile(line.fileName);
  const bool read = common::AbortFlag == 0;
  if (read) StartedWithFile = 1;
  // A file of another extension ("pump.bak") is the design's file: it is
  // saved back there, not beside it with the design file's extension.
  if (read && common::DesignFileName(line.fileName) != line.fileName)
    common::CurrentFileName = common::DesignNameOfFile(line.fileName);
  common::MessagesEnabled = 1;
  if (read) return std::nullopt;
  if (exists) {
    // The program goes on with the design it had, unnamed: a save asks
    // for a name instead of putting that design over the unreadable file.
    common::CurrentFileName.clear();
    common::AbortFlag = 0;
    return std::nullopt;
  }
  // A design that cannot be read may still be a name to save under later:
  // the file a save would write is checked ("new.v2" saves "new.v2.vb4"),
  // neither offered to overwrite nor touched.
  common::AbortFlag = 0;
  const std::uint8_t ask = common::AskBeforeOverwrite;
  common::AskBeforeOverwrite = 0;
  common::CheckOutputFileName(common::DesignFileName(line.fileName));
  common::AskBeforeOverwrite = ask;
  if (common::AbortFlag) return ExitDone;
  return std::nullopt;
}

bool CadBatchOutput(int format, int drawing, std::ostream& err, const std::string& drawingText) {
  if (drawing < 1 || drawing > 19) {
    // No such drawing: nothing to write, and the run still counts as done;
    // the user at least learns why no file appeared. The number is told as
    // written: one too large for a number is no drawing either.
    err << common::ProgramName << ": there is no drawing " << (drawingText.empty() ? std::to_string(drawing) : drawingText)
        << "; 1..5 are the gear pictures, 6..19 the diagrams: nothing was written\n";
    return true;
  }
  common::AbortFlag = 0;
  common::ClearFileFailure();
  const OutputMessages messages;
  // The gear pictures 1..5 (gear 1, gear 2, pitch curve 1, pitch curve 2,
  // both pitch curves) and the diagrams 1..14 over the drive angle.
  if (drawing <= 5)
    Entry().DrawGears(drawing, format);
  else
    Entry().ShowDiagrams(drawing - 5, format);
  if (!common::AbortFlag) {
    messages.Print(err);
    return true;
  }
  // No message box is shown here: the reason of a refused output is told.
  const bool refused = drawing::CadOutputRefused();
  const bool fileFailed = !refused && !common::LastFileFailure().empty();
  messages.Print(err, refused ? drawing::CadRefusalMessage() : "", fileFailed);
  err << common::ProgramName << ": drawing " << drawing << " could not be written in format " << format;
  if (refused)
    err << ": " << drawing::CadRefusalMessage();
  else if (fileFailed)
    err << ": " << OneLineReason(common::LastFileFailure());
  err << "\n";
  return false;
}

}  // namespace app
