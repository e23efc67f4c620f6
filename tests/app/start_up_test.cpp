// Program start without a configuration file and without the default
// design: the start leaves no AbortFlag behind (it would silently stop the
// first save).
#include "app/start_up.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <unistd.h>

#include "app/data_file.h"
#include "common/kaldvar.h"
#include "platform/scripted_dialogs.h"

namespace fs = std::filesystem;

TEST(StartUp, WithoutConfigurationTheFirstSaveWorks) {
  const fs::path dir = fs::temp_directory_path() / ("r4_start_up_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  const fs::path previous = fs::current_path();
  fs::current_path(dir);

  platform::ScriptedDialogs dialogs;
  platform::ScopedDialogs scoped(dialogs);
  char name[] = "vob4";
  char* argv[] = {name, nullptr};
  app::StartUpProgram(1, argv);
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(common::CurrentFileName, "");
  EXPECT_EQ(common::DataChanged, 0);

  app::WriteDataFile("saved");
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_TRUE(fs::exists(dir / "saved.vb4"));

  fs::current_path(previous);
  fs::remove_all(dir);
}
