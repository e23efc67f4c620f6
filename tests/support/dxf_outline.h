// The line outlines of a DXF file as the independent reader (ezdxf, through
// tests/support/dxf_outline.py) sees them: the file loaded strictly and
// audited, its entities counted, its lines chained into closed loops; and
// the teeth of a gear outline counted geometrically against its pitch curve.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <sys/wait.h>

#include "support/run_command.h"
#include "common/real.h"

namespace testsupport {

inline const char* const Reader = "/usr/bin/python3";

// What the reader made of a DXF file.
struct DxfOutline {
  int loadStatus = -1;
  int auditErrors = -1;
  std::map<std::string, int> entities;
  int closedComponents = 0;
  int openComponents = 0;
  std::vector<std::vector<std::pair<double, double>>> loops;  // closed ones
};

inline bool ReaderPresent() {
  return std::system("/usr/bin/python3 -c 'import ezdxf' >/dev/null 2>&1") == 0;
}

// One line of the reader's report about a file into out.
inline void ReadOutlineLine(const std::string& line, DxfOutline& out) {
  std::istringstream in(line);
  std::string tag;
  in >> tag;
  if (tag == "AUDIT") {
    in >> out.auditErrors;
  } else if (tag == "ENTITY") {
    std::string type;
    int n = 0;
    in >> type >> n;
    out.entities[type] = n;
  } else if (tag == "COMPONENT") {
    int index = 0, closed = 0;
    in >> index >> closed;
    if (closed) {
      ++out.closedComponents;
      out.loops.emplace_back();
    } else {
      ++out.openComponents;
    }
  } else if (tag == "V" && !out.loops.empty()) {
    double x = 0, y = 0;
    in >> x >> y;
    out.loops.back().emplace_back(x, y);
  } else if (tag == "LOADERROR") {
    ADD_FAILURE() << line;
  }
}

inline std::string ReaderCommand(const std::vector<std::string>& files) {
  std::string command = std::string(Reader) + " " + VOB_SOURCE_DIR + "/tests/support/dxf_outline.py";
  for (const std::string& file : files) command += " '" + file + "'";
  return command + " 2>&1";
}

inline DxfOutline ReadOutline(const std::string& file) {
  DxfOutline out;
  const std::string text = testsupport::RunCommand(ReaderCommand({file}), &out.loadStatus);
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) ReadOutlineLine(line, out);
  return out;
}

// The outlines of many files from one run of the reader, in the order of
// the files; a file that the run did not report on keeps loadStatus -1.
inline std::vector<DxfOutline> ReadOutlines(const std::vector<std::string>& files) {
  std::vector<DxfOutline> outs(files.size());
  const std::string text = testsupport::RunCommand(ReaderCommand(files));
  std::istringstream lines(text);
  std::string line;
  DxfOutline* current = nullptr;
  while (std::getline(lines, line)) {
    std::istringstream in(line);
    std::string tag;
    in >> tag;
    if (tag == "FILE") {
      std::size_t index = 0;
      in >> index;
      current = index >= 1 && index <= outs.size() ? &outs[index - 1] : nullptr;
    } else if (tag == "STATUS") {
      if (current) in >> current->loadStatus;
    } else if (current) {
      ReadOutlineLine(line, *current);
    } else if (tag == "LOADERROR" || tag == "Traceback") {
      ADD_FAILURE() << line;
    }
  }
  return outs;
}

// Teeth of a closed outline round the centre (cx, cy): the outline rises
// above the pitch curve once per tooth (counted with a hysteresis of a
// quarter of the tooth height, so that a flank's points near the curve do
// not count twice). Also the smallest and largest distance from the curve.
struct ToothCount {
  int teeth = 0;
  int falls = 0;
  double lowest = 1e9, highest = -1e9;
};

inline ToothCount CountTeeth(const std::vector<std::pair<double, double>>& loop, double cx, double cy, double band,
                      const std::function<Real(Real)>& pitchRadius) {
  ToothCount c;
  int state = 0;
  for (std::size_t pass = 0; pass < 2; ++pass) {
    for (const auto& [x, y] : loop) {
      const Real phi = std::atan2(y - cy, x - cx);
      const double d = std::hypot(x - cx, y - cy) - static_cast<double>(pitchRadius(phi));
      if (pass == 1) {
        c.lowest = std::min(c.lowest, d);
        c.highest = std::max(c.highest, d);
      }
      if (d > band && state <= 0) {
        if (pass == 1 && state < 0) ++c.teeth;
        state = 1;
      } else if (d < -band && state >= 0) {
        if (pass == 1 && state > 0) ++c.falls;
        state = -1;
      }
    }
  }
  return c;
}

}  // namespace testsupport
