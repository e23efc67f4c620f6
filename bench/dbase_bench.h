// What the table-engine benchmarks share: a scratch folder of the program
// (made under the temporary directory on first use, named after the
// program and its process, removed with all it holds when the program
// ends), the engine started once with an error procedure that ends the
// program, and a table of parts whose names come in a shuffled order with
// repeats (a character key of 20 bytes).
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "dbase/engine/dbf_native.h"
#include "dbase/engine/engine_settings.h"
#include "dbase/engine/error_codes.h"
#include "dbase/engine/record_changes.h"
#include "dbase/engine/work_areas.h"
#include "dbase/expr/expr_hooks.h"
#include "dbase/index/index_commands.h"

namespace dbasebench {

inline const std::filesystem::path& Dir(const std::string& name) {
  struct Scratch {
    std::filesystem::path path;
    explicit Scratch(const std::string& n)
        : path(std::filesystem::temp_directory_path() / (n + "_" + std::to_string(::getpid()))) {
      std::filesystem::create_directories(path);
    }
    ~Scratch() {
      std::error_code ignored;
      std::filesystem::remove_all(path, ignored);
    }
  };
  static const Scratch scratch(name);
  return scratch.path;
}

inline void StartEngine() {
  static const bool started = [] {
    dbase::ErrorProc = [] {
      std::fprintf(stderr, "%s\n", dbase::LastErrorMessage().c_str());
      std::exit(1);
    };
    dbase::InitTzCommon();
    dbase::InitTzEngine();
    dbase::InstallExprHooks();
    dbase::IndexInit();
    dbase::SetDateFormat(0);
    return true;
  }();
  (void)started;
}

// NAME C(20) "Part <n>" in a shuffled order with repeats, QTY N(8,0) the
// record's place; the table is left closed.
inline void WritePartsTable(const std::string& path, std::int64_t records) {
  dbase::CreateDbf(path, {{"NAME", 'C', 20, 0}, {"QTY", 'N', 8, 0}});
  dbase::Use(path + " EXCLUSIVE");
  std::uint32_t seed = 4711;
  for (std::int64_t i = 0; i < records; ++i) {
    seed = seed * 1664525u + 1013904223u;
    dbase::ClearRecord();
    dbase::PutNativeString(dbase::FieldAddress(1), 21, "Part " + std::to_string(seed % 700000));
    dbase::PutNativeInt32(dbase::FieldAddress(2), static_cast<std::int32_t>(i));
    dbase::Append();
  }
  dbase::Use("");
}

}  // namespace dbasebench
