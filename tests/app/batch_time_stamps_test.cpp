// The moment written into files from the command line: SOURCE_DATE_EPOCH
// fixes the IGES global section's date and time of day and the STEP
// header's UTC stamp; set to no usable moment it refuses every output that
// carries a stamp, with its reason on standard error and no file, while an
// STL file, which carries none, is written. The IGES writer's parameter
// work file has a name of its own: a user's "KALDIGES.$$$" beside the
// design, in the very temporary directory, survives an IGES run.
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <string>

#include "support/batch_runs.h"

namespace fs = std::filesystem;

namespace {

using testsupport::RunProgramIn;
using testsupport::ScratchDirectory;

// The record of the file that ends with the sequence field (e.g. "G0000004").
std::string Record(const std::string& file, const std::string& sequence) {
  const std::size_t at = file.find(sequence);
  return at == std::string::npos || at < 72 ? std::string() : file.substr(at - 72, 80);
}

TEST(BatchTimeStamps, SourceDateEpochFixesIgesAndStepStamps) {
  const ScratchDirectory dir("stamps");
  fs::copy_file(std::string(VOB_SOURCE_DIR) + "/resources/null.vb4", dir.Path("x.vb4"));
  int exitCode = -1;
  RunProgramIn(dir, "x.vb4 /CAD2:1", exitCode, "SOURCE_DATE_EPOCH=1700000000");
  ASSERT_EQ(exitCode, 0);
  const std::string iges = testsupport::Slurp(dir.Path("x.igs"));
  EXPECT_EQ(Record(iges, "G0000004").substr(0, 17), "13H231114.221320,") << Record(iges, "G0000004");
  RunProgramIn(dir, "x.vb4 /CAD7:5", exitCode, "SOURCE_DATE_EPOCH=1700000000");
  ASSERT_EQ(exitCode, 0);
  EXPECT_NE(testsupport::Slurp(dir.Path("x.stp")).find("'2023-11-14T22:13:20Z'"), std::string::npos);

  // Without it the date and time of day are the local clock's at the run
  // (no constant time of day).
  const std::time_t before = std::time(nullptr);
  RunProgramIn(dir, "x.vb4 /CAD2:1", exitCode, "-u SOURCE_DATE_EPOCH");
  const std::time_t after = std::time(nullptr);
  ASSERT_EQ(exitCode, 0);
  const std::string stamp = Record(testsupport::Slurp(dir.Path("x.igs")), "G0000004").substr(0, 16);
  bool matched = false;
  for (std::time_t t = before; t <= after && !matched; ++t) {
    std::tm local{};
    localtime_r(&t, &local);
    char expected[32];
    std::strftime(expected, sizeof expected, "13H%y%m%d.%H%M%S", &local);
    matched = stamp == expected;
  }
  EXPECT_TRUE(matched) << stamp;
}

TEST(BatchTimeStamps, SourceDateEpochOfNoUsableMomentRefusesStampedOutputs) {
  const ScratchDirectory dir("stamps_bad");
  fs::copy_file(std::string(VOB_SOURCE_DIR) + "/resources/null.vb4", dir.Path("x.vb4"));
  for (const auto& [value, reason] :
       {std::pair<std::string, std::string>{"abc", "SOURCE_DATE_EPOCH \"abc\" is not a number of seconds since 1970"},
        std::pair<std::string, std::string>{"99999999999999", "SOURCE_DATE_EPOCH 99999999999999 lies beyond the year 9999"}}) {
    SCOPED_TRACE(value);
    const std::string env = "SOURCE_DATE_EPOCH=" + value;
    for (const auto& [format, extension] : {std::pair<std::string, std::string>{"1", "dxf"}, {"2", "igs"},
                                            {"5", "txt"}, {"7", "stp"}}) {
      int exitCode = -1;
      const std::string said = RunProgramIn(dir, "x.vb4 /CAD" + format + ":1", exitCode, env);
      EXPECT_EQ(exitCode, 2) << said;
      EXPECT_NE(said.find(reason + ": x." + extension + " not written"), std::string::npos) << said;
      EXPECT_FALSE(fs::exists(dir.Path("x." + extension)));
    }
    int exitCode = -1;
    const std::string said = RunProgramIn(dir, "x.vb4 /I", exitCode, env);
    EXPECT_EQ(exitCode, 2) << said;
    EXPECT_NE(said.find(reason), std::string::npos) << said;
    EXPECT_FALSE(fs::exists(dir.Path("x.txt")));
    // An STL file carries no moment.
    RunProgramIn(dir, "x.vb4 /CAD6:1", exitCode, env);
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(fs::exists(dir.Path("x.stl")));
    fs::remove(dir.Path("x.stl"));
  }
  EXPECT_EQ(dir.Entries(), 1u) << "a refused run left a file behind";
}

TEST(BatchTimeStamps, UsersKaldigesFileSurvivesAnIgesRun) {
  const ScratchDirectory dir("kaldiges");
  fs::copy_file(std::string(VOB_SOURCE_DIR) + "/resources/null.vb4", dir.Path("x.vb4"));
  testsupport::Put(dir.Path("KALDIGES.$$$"), "the user's own file\r\n");
  // The design's folder is the temporary directory too.
  int exitCode = -1;
  const std::string said = RunProgramIn(dir, "x.vb4 /CAD2:1", exitCode, "TMPDIR='" + dir.Dir().string() + "'");
  ASSERT_EQ(exitCode, 0) << said;
  EXPECT_EQ(testsupport::Slurp(dir.Path("KALDIGES.$$$")), "the user's own file\r\n");
  const std::string iges = testsupport::Slurp(dir.Path("x.igs"));
  EXPECT_NE(iges.find("P0000001"), std::string::npos);
  EXPECT_EQ(iges.find("the user's own file"), std::string::npos);
  // Nothing of the work file is left.
  EXPECT_EQ(dir.Entries(), 3u);
}

}  // namespace
