// Program start without a configuration file and without the default
// design: the start leaves no AbortFlag behind (it would silently stop the
// first save). The user ID asked at the start.
#include "app/start_up.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/data_file.h"
#include "calc/calc_records.h"
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

// With "Enter Password ?" set the interactive start asks for the user ID:
// the user's folder of the program directory becomes the data directory
// and its default design is read; an ID that names no such folder, or a
// cancelled question, ends the program; a design named on the command
// line, or the setting off, asks nothing.
TEST(StartUp, TheUserIdChoosesTheDataDirectory) {
  const testsupport::ScratchDirectory dir("start_up_user");
  const fs::path previous = fs::current_path();
  fs::current_path(dir.Dir());
  fs::create_directory(dir.Path("anna"));
  // Anna's default design has 31 teeth.
  {
    platform::ScriptedDialogs dialogs;
    platform::ScopedDialogs scoped(dialogs);
    char name[] = "vob4";
    char* argv[] = {name, nullptr};
    app::StartUpProgram(1, argv);
    calc::NcPair.z1 = 31;
    common::DataDirectory = dir.Path("anna");
    app::WriteDataFile("null");
    ASSERT_EQ(common::AbortFlag, 0);
  }
  calc::NcPair.z1 = 20;
  common::ProgramDirectory = dir.Dir().string();
  common::EnterUserId = true;
  app::StartedWithFile = 0;

  platform::ScriptedDialogs dialogs;
  platform::ScopedDialogs scoped(dialogs);
  dialogs.Then(platform::ScriptedAnswer::Enter("anna"));
  EXPECT_TRUE(app::AskStartUserId());
  EXPECT_EQ(common::DataDirectory, dir.Path("anna"));
  EXPECT_EQ(calc::NcPair.z1, 31);
  EXPECT_EQ(common::CurrentFileName, "");
  EXPECT_EQ(common::DataChanged, 0);
  ASSERT_FALSE(dialogs.Asked().empty());
  EXPECT_EQ(dialogs.Asked()[0].text, "Enter User ID ...");
  EXPECT_EQ(dialogs.Asked()[0].maxLength, 8);

  for (const char* invalid : {"bert", "..", "anna/x"}) {
    dialogs.ClearRecord();
    dialogs.Then(platform::ScriptedAnswer::Enter(invalid));
    EXPECT_FALSE(app::AskStartUserId()) << invalid;
    bool said = false;
    for (const auto& d : dialogs.Asked()) said = said || d.text == std::string("Invalid user ID ") + invalid + " !";
    EXPECT_TRUE(said) << invalid;
  }
  dialogs.Then(platform::ScriptedAnswer::Cancel());
  EXPECT_FALSE(app::AskStartUserId());

  dialogs.ClearRecord();
  app::StartedWithFile = 1;
  EXPECT_TRUE(app::AskStartUserId());
  app::StartedWithFile = 0;
  common::EnterUserId = false;
  EXPECT_TRUE(app::AskStartUserId());
  EXPECT_TRUE(dialogs.Asked().empty());

  fs::current_path(previous);
}
