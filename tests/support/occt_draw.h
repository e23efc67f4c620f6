// OpenCASCADE's command interpreter (occt-draw), the independent reader of
// the IGES and STEP files: a Tcl script run in batch mode; and what its
// STEP reader makes of a file (shapes counted, checked, measured).
#pragma once

#include <algorithm>
#include <filesystem>
#include <future>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "support/file_test_support.h"
#include "support/run_command.h"

namespace testsupport {

inline constexpr const char* OcctDraw = "/usr/bin/occt-draw";

inline bool OcctDrawPresent() { return std::filesystem::exists(OcctDraw); }

// A path as one word of the interpreter's script, whatever blanks it holds.
inline std::string TclWord(const std::string& path) { return "{" + path + "}"; }

// The interpreter loads its parts by their unversioned library names,
// which only the development packages link; links in workDir stand in for
// those that are missing. Answers their folder.
inline std::string OcctLibraryLinks(const std::string& workDir) {
  const std::string links = workDir + "/occt";
  if (!std::filesystem::exists(links)) {
    std::filesystem::create_directories(links);
    for (const auto& entry : std::filesystem::directory_iterator("/usr/lib/x86_64-linux-gnu")) {
      const std::string name = entry.path().filename().string();
      const auto so = name.find(".so.");
      if (name.rfind("libTK", 0) == 0 && so != std::string::npos && name.find('.', so + 4) == std::string::npos)
        std::filesystem::create_symlink(entry.path(), links + "/" + name.substr(0, so + 3));
    }
  }
  return links;
}

// Runs the script in the interpreter, in workDir; answers everything it
// printed (standard output and errors). Runs at once in one directory need
// scripts of their own names.
inline std::string RunOcctDraw(const std::string& workDir, const std::string& script,
                               const std::string& scriptName = "read.tcl") {
  const std::string links = OcctLibraryLinks(workDir);
  const std::string file = workDir + "/" + scriptName;
  Put(file, script);
  return RunCommand("LD_LIBRARY_PATH=" + Quoted(links) + " " + OcctDraw + " -b -f " + Quoted(file) + " 2>&1");
}

// A STEP file as the interpreter's STEP reader transfers it: the shapes of
// each kind, whether the shape check finds it valid, the volume of its
// solids as the interpreter integrates it by default (no adaptive
// integration asked for), and what the check of the Boolean operations'
// arguments finds (among others, surfaces and curves that are only C0:
// kinks inside a face, which meshers and offsets fail on).
struct StepShape {
  std::string output;  // all the interpreter printed
  int solids = -1, shells = -1, faces = -1, wires = -1, edges = -1, vertices = -1;
  bool valid = false;
  bool bopValid = false;  // the arguments' check found nothing
  bool c0 = false;        // it found shapes of continuity C0
  double volume = -1;
  double box[6] = {0, 0, 0, 0, 0, 0};  // xmin, ymin, zmin, xmax, ymax, zmax (within 1e-7)
  double shortestEdge = -1;            // when asked for: the length of the shortest edge
  // When asked for: the solids and the volume of the common with each of
  // the half-spaces x > 0 and x < 0, as a user who sections a part along
  // the axis at the origin makes them (a box on one side of the plane).
  int halfSolids[2] = {-1, -1};
  double halfVolumes[2] = {-1, -1};
};

// What is asked of a STEP file besides its shapes, check and volume. The
// arguments' check (bopargcheck) leaves out the self-interference, tangent
// faces and close vertices tests, which take long on a large gear.
struct StepReading {
  bool bopCheck = true;
  bool edgeLengths = false;  // each edge measured
  bool halves = false;       // the commons with the half-spaces x > 0 and x < 0
};

// The interpreter's commands that read one file and print what StepShape
// holds, after a line "@@FILE <label>".
inline std::string StepShapeScript(const std::string& stepFile, const std::string& label, const StepReading& asked) {
  std::string script = "puts \"@@FILE " + label + "\"\n"
                       "testreadstep " + TclWord(stepFile) + " s\n"
                       "puts \"COUNTS [nbshapes s]\"\n"
                       "puts \"CHECK [checkshape s]\"\n"
                       "puts \"VOLUME [vprops s -full]\"\n"
                       "puts \"BOX [bounding s]\"\n";
  if (asked.bopCheck) script += "puts \"BOP [bopargcheck s /ITV #F]\"\n";
  if (asked.edgeLengths)
    script += "set shortest 1e100\n"
              "foreach e [explode s e] {\n"
              "  regexp {Mass :\\s+(\\S+)} [lprops $e] -> l\n"
              "  if {$l < $shortest} {set shortest $l}\n"
              "}\n"
              "puts \"SHORTEST $shortest\"\n";
  if (asked.halves)
    script += "foreach x {0 -1e5} {\n"
              "  box half $x -1e5 -1e5 1e5 2e5 2e5\n"
              "  bcommon part s half\n"
              "  set n 0; set v 0\n"
              "  regexp {SOLID\\s+:\\s+(\\d+)} [nbshapes part] -> n\n"
              "  regexp {Mass :\\s+(\\S+)} [vprops part] -> v\n"
              "  puts \"HALF $n $v\"\n"
              "}\n";
  return script;
}

// What the interpreter printed of one file (StepShapeScript).
inline StepShape ParseStepShape(const std::string& output) {
  StepShape shape;
  shape.output = output;
  const auto count = [&](const char* kind) {
    std::smatch found;
    const std::regex pattern(std::string("\\b") + kind + " +: +(\\d+)");
    return std::regex_search(shape.output, found, pattern) ? std::stoi(found[1]) : -1;
  };
  shape.solids = count("SOLID");
  shape.shells = count("SHELL");
  shape.faces = count("FACE");
  shape.wires = count("WIRE");
  shape.edges = count("EDGE");
  shape.vertices = count("VERTEX");
  shape.valid = shape.output.find("CHECK This shape seems to be valid") != std::string::npos;
  shape.bopValid = shape.output.find("BOP Shape(s) seem(s) to be valid for BOP") != std::string::npos;
  shape.c0 = std::regex_search(shape.output, std::regex("Continuity C0 *: *YES"));
  std::smatch found;
  if (std::regex_search(shape.output, found, std::regex("Mass : +([-0-9.e+]+)"))) shape.volume = std::stod(found[1]);
  if (std::regex_search(shape.output, found, std::regex("SHORTEST ([-0-9.e+]+)"))) shape.shortestEdge = std::stod(found[1]);
  if (std::regex_search(shape.output, found, std::regex("BOX ((\\S+ ){5}\\S+)"))) {
    std::istringstream box(found[1].str());
    for (double& v : shape.box) box >> v;
  }
  const std::regex half("HALF (\\d+) ([-0-9.e+]+)");
  int k = 0;
  for (auto it = std::sregex_iterator(output.begin(), output.end(), half); it != std::sregex_iterator() && k < 2;
       ++it, ++k) {
    shape.halfSolids[k] = std::stoi((*it)[1]);
    shape.halfVolumes[k] = std::stod((*it)[2]);
  }
  return shape;
}

// Several STEP files read by the interpreter, each as StepShapeScript
// says, in `processes` runs at once (the files shared out among them).
inline std::vector<StepShape> ReadStepShapes(const std::string& workDir, const std::vector<std::string>& stepFiles,
                                             const StepReading& asked, int processes = 1) {
  const std::size_t runs = static_cast<std::size_t>(std::max(1, processes));
  std::vector<std::future<std::string>> outputs;
  // (The links the runs share are made before they start.)
  OcctLibraryLinks(workDir);
  for (std::size_t run = 0; run < runs; ++run) {
    std::string script = "pload DATAEXCHANGE\npload MODELING\n";
    for (std::size_t i = run; i < stepFiles.size(); i += runs) script += StepShapeScript(stepFiles[i], std::to_string(i), asked);
    script += "puts \"@@FILE end\"\nexit\n";
    outputs.push_back(std::async(std::launch::async, [=] {
      return RunOcctDraw(workDir, script, "read" + std::to_string(run) + ".tcl");
    }));
  }
  std::vector<StepShape> shapes(stepFiles.size());
  for (auto& future : outputs) {
    const std::string all = future.get();
    // Each file's part runs from its line "@@FILE <index>" to the next.
    const std::regex mark("@@FILE (\\d+)\n");
    for (auto it = std::sregex_iterator(all.begin(), all.end(), mark); it != std::sregex_iterator(); ++it) {
      const std::size_t from = static_cast<std::size_t>(it->position() + it->length());
      const std::size_t to = all.find("@@FILE ", from);
      shapes[std::stoul((*it)[1])] = ParseStepShape(all.substr(from, to == std::string::npos ? to : to - from));
    }
  }
  return shapes;
}

// One STEP file; with bopCheck false the arguments' check is left out,
// with edgeLengths each edge is measured too.
inline StepShape ReadStepShape(const std::string& workDir, const std::string& stepFile, bool bopCheck = true,
                               bool edgeLengths = false) {
  return ReadStepShapes(workDir, {stepFile}, {bopCheck, edgeLengths, false}).front();
}

}  // namespace testsupport
