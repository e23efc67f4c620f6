// Program start without a configuration file and without the default
// design: the start leaves no AbortFlag behind (it would silently stop the
// first save).
#include "app/start_up.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/data_file.h"
#include "common/kaldvar.h"
#include "platform/scripted_dialogs.h"
#include "support/file_test_support.h"

namespace fs = std::filesystem;

TEST(StartUp, WithoutConfigurationTheFirstSaveWorks) {
  const testsupport::ScratchDirectory dir("start_up");
  const fs::path previous = fs::current_path();
  fs::current_path(dir.Dir());

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
  EXPECT_TRUE(fs::exists(dir.Path("saved.vb4")));

  fs::current_path(previous);
}
