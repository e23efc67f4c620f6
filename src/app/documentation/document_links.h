// The five outside documents a design points to, each a program and a file
// (a text, a drawing, a picture), with their start values and their section
// of the design data file. The document-links dialog edits and starts them;
// the data file (app/data_file.cpp) saves and restores them with the
// design.
// The texts are kept as entered, without code-page conversion.
#pragma once

#include <string>

#include "common/range_array.h"

namespace app {

class DataFileLines;

struct TDocumentLink {
  std::string Program;  // program file or command
  std::string File;     // document path
};

inline constexpr int DocumentLinkCount = 5;
extern RangeArray<TDocumentLink, 1, DocumentLinkCount> DocumentLinks;

// Start-up: every file empty; every program "xdg-open", the desktop's
// opener.
void InitDocumentLinks();

// The documents section of the data file: marker, the count 5, a rule, then
// per link its program, its file and a rule.
void WriteDocumentsSection();
void ReadDocumentsSection(DataFileLines& lines);

}  // namespace app
