// Golden-file comparison: an output is compared byte for byte with a
// committed file under tests/data/golden/. With the environment variable
// VOB_UPDATE_GOLDEN set (to anything but "" or "0"), the expected file is
// rewritten from the output instead and the test passes; review the
// change with `git diff tests/data/golden` before committing it.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/file_test_support.h"

namespace testsupport {

inline bool UpdatingGoldenFiles() {
  const char* flag = std::getenv("VOB_UPDATE_GOLDEN");
  return flag && *flag && std::string(flag) != "0";
}

inline std::filesystem::path GoldenPath(const std::string& name) {
  return std::filesystem::path(VOB_SOURCE_DIR) / "tests" / "data" / "golden" / name;
}

// Compares actual with the golden file `name`; on a difference reports the
// first differing line of both.
inline void ExpectGolden(const std::string& actual, const std::string& name) {
  const std::filesystem::path path = GoldenPath(name);
  if (UpdatingGoldenFiles()) {
    std::filesystem::create_directories(path.parent_path());
    Put(path, actual);
    return;
  }
  ASSERT_TRUE(std::filesystem::exists(path)) << path << " is missing; run with VOB_UPDATE_GOLDEN=1 to create it";
  const std::string expected = Slurp(path);
  if (expected == actual) return;
  const auto want = SplitLines(expected);
  const auto got = SplitLines(actual);
  std::size_t i = 0;
  while (i < want.size() && i < got.size() && want[i] == got[i]) ++i;
  ADD_FAILURE() << name << " differs from the output at line " << (i + 1) << ":\n  expected: "
                << (i < want.size() ? want[i] : "<end>") << "\n  actual:   " << (i < got.size() ? got[i] : "<end>")
                << "\n(" << want.size() << " lines expected, " << got.size()
                << " written; VOB_UPDATE_GOLDEN=1 rewrites the golden file)";
}

}  // namespace testsupport
