// OpenCASCADE's command interpreter (occt-draw), the independent reader of
// the IGES and STEP files: a Tcl script run in batch mode; and what its
// STEP reader makes of a file (shapes counted, checked, measured).
#pragma once

#include <filesystem>
#include <regex>
#include <sstream>
#include <string>

#include "support/file_test_support.h"
#include "support/run_command.h"

namespace testsupport {

inline constexpr const char* OcctDraw = "/usr/bin/occt-draw";

inline bool OcctDrawPresent() { return std::filesystem::exists(OcctDraw); }

// A path as one word of the interpreter's script, whatever blanks it holds.
inline std::string TclWord(const std::string& path) { return "{" + path + "}"; }

// Runs the script in the interpreter, in workDir; answers everything it
// printed (standard output and errors).
inline std::string RunOcctDraw(const std::string& workDir, const std::string& script) {
  // The interpreter loads its parts by their unversioned library names,
  // which only the development packages link; links beside the script
  // stand in for those that are missing.
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
  const std::string file = workDir + "/read.tcl";
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
};

// The arguments' check (bopargcheck) leaves out the self-interference,
// tangent faces and close vertices tests, which take long on a large gear;
// with bopCheck false it is left out altogether. With edgeLengths, each
// edge is measured too.
inline StepShape ReadStepShape(const std::string& workDir, const std::string& stepFile, bool bopCheck = true,
                               bool edgeLengths = false) {
  StepShape shape;
  shape.output = RunOcctDraw(workDir, "pload DATAEXCHANGE\n"
                                      "pload MODELING\n"
                                      "testreadstep " + TclWord(stepFile) + " s\n"
                                      "puts \"COUNTS [nbshapes s]\"\n"
                                      "puts \"CHECK [checkshape s]\"\n"
                                      "puts \"VOLUME [vprops s -full]\"\n"
                                      "puts \"BOX [bounding s]\"\n" +
                                      std::string(bopCheck ? "puts \"BOP [bopargcheck s /ITV #F]\"\n" : "") +
                                      std::string(edgeLengths ? "set shortest 1e100\n"
                                                                "foreach e [explode s e] {\n"
                                                                "  regexp {Mass :\\s+(\\S+)} [lprops $e] -> l\n"
                                                                "  if {$l < $shortest} {set shortest $l}\n"
                                                                "}\n"
                                                                "puts \"SHORTEST $shortest\"\n"
                                                              : "") +
                                      "exit\n");
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
  return shape;
}

}  // namespace testsupport
