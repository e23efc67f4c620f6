// A CSV file as the independent reader (Python's csv module, strict
// dialect, UTF-8 with its byte-order mark) reads it: the rows with their
// cell texts. Used to check the workbooks handed to the spreadsheet program.
#pragma once

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_command.h"

namespace testsupport {

inline bool CsvReaderPresent() {
  return std::system("/usr/bin/python3 -c 'import csv' >/dev/null 2>&1") == 0;
}

struct CsvRead {
  int status = -1;                              // the reader's exit code (0: read)
  bool hadBom = false;                          // the file starts with the UTF-8 byte-order mark
  std::vector<std::vector<std::string>> rows;
};

// The reader (csv_cells.py) hands each cell over hex-encoded, so that any
// text survives the pipe.
inline CsvRead ReadCsv(const std::string& file) {
  CsvRead out;
  const std::string text = RunCommand(std::string("/usr/bin/python3 ") + VOB_SOURCE_DIR +
                                          "/tests/support/csv_cells.py '" + file + "' 2>&1", &out.status);
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream in(line);
    std::string tag;
    in >> tag;
    if (tag == "BOM") {
      int b = 0;
      in >> b;
      out.hadBom = b != 0;
    } else if (tag == "ROW") {
      std::vector<std::string> row;
      for (std::string hex; in >> hex;) {
        std::string cell;
        if (hex != "-")
          for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
            cell += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
        row.push_back(cell);
      }
      out.rows.push_back(row);
    }
  }
  return out;
}

}  // namespace testsupport
