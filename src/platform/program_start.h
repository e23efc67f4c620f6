// Starting an external program from a command line, without a window and
// without waiting for it: the plot utility that prints the DXF file of a
// drawing, the programs of a design's document links. The command line is
// the program (its first blank-separated word) and its arguments (the
// further words); a part in double quotes holds its blanks ("/tmp/a
// b/tramlin.dxf", /F"/a b/out"), the quotes themselves are no part of the
// word. A shell script named as the program runs through its first line. Also opening a document with the program the desktop
// associates with it (the document links' files).
//
// Tests install a starter and an opener that record instead.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace platform {

enum class StartOutcome {
  Started,
  NotFound,     // no such program, or it may not be run
  OutOfMemory,  // the system could not make the process
  Failed,       // any other failure; error holds the system's code
};

struct StartResult {
  StartOutcome outcome = StartOutcome::Started;
  int error = 0;
};

StartResult StartCommandLine(const std::string& commandLine);

// The words of a command line as StartCommandLine takes them.
std::vector<std::string> CommandLineWords(const std::string& commandLine);
// The text as one word of a command line: in double quotes when it holds a
// blank (and is not in quotes already), else as it is.
std::string CommandLineWord(const std::string& text);

using CommandStarter = std::function<StartResult(const std::string& commandLine)>;
// Installs a starter; an empty function returns to the system's.
void SetCommandStarter(CommandStarter starter);

// Installs a starter for the lifetime of the object (tests).
class ScopedCommandStarter {
 public:
  explicit ScopedCommandStarter(CommandStarter starter);
  ~ScopedCommandStarter();
  ScopedCommandStarter(const ScopedCommandStarter&) = delete;
  ScopedCommandStarter& operator=(const ScopedCommandStarter&) = delete;

 private:
  CommandStarter previous_;
};

// Opens the document (a file path or a web address, taken whole, blanks
// included) with the program associated with it. The system's opener hands
// it to "xdg-open" and waits a moment for its answer: a refusal (no such
// file, no program for it) is NotFound, a failed program Failed; an opener
// still running counts as started. An empty path opens nothing (NotFound).
StartResult OpenDocument(const std::string& path);

using DocumentOpener = std::function<StartResult(const std::string& path)>;
// Installs an opener (the windowing start-up: the desktop's); an empty
// function returns to the system's.
void SetDocumentOpener(DocumentOpener opener);

// Installs an opener for the lifetime of the object (tests).
class ScopedDocumentOpener {
 public:
  explicit ScopedDocumentOpener(DocumentOpener opener);
  ~ScopedDocumentOpener();
  ScopedDocumentOpener(const ScopedDocumentOpener&) = delete;
  ScopedDocumentOpener& operator=(const ScopedDocumentOpener&) = delete;

 private:
  DocumentOpener previous_;
};

}  // namespace platform
