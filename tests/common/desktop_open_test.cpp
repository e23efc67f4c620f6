// Documents and web pages handed to the desktop's programs: a document no
// program opens, a missing file and a program that is not there each end
// with a message instead of nothing happening.
#include "common/desktop_open.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/kaldvar.h"
#include "platform/program_start.h"
#include "platform/scripted_dialogs.h"
#include "support/file_test_support.h"

namespace {

class DesktopOpenTest : public ::testing::Test {
 protected:
  void SetUp() override { common::AbortFlag = 0; }
  std::string LastMessage() const {
    return dialogs_.Asked().empty() ? std::string() : dialogs_.Asked().back().text;
  }
  platform::ScriptedDialogs dialogs_;
  platform::ScopedDialogs scoped_{dialogs_};
};

TEST_F(DesktopOpenTest, AnOpenedDocumentSaysNothing) {
  std::vector<std::string> opened;
  platform::ScopedDocumentOpener opener([&](const std::string& path) {
    opened.push_back(path);
    return platform::StartResult{};
  });
  EXPECT_TRUE(common::OpenWithDesktop("http://example.org/vob4_e.htm"));
  EXPECT_EQ(opened, std::vector<std::string>{"http://example.org/vob4_e.htm"});
  EXPECT_TRUE(dialogs_.Asked().empty());
  EXPECT_EQ(common::AbortFlag, 0);
}

TEST_F(DesktopOpenTest, NoProgramForTheDocumentIsSaid) {
  platform::ScopedDocumentOpener opener(
      [](const std::string&) { return platform::StartResult{platform::StartOutcome::NotFound, 3}; });
  EXPECT_FALSE(common::OpenWithDesktop("/home/user/gear 1.dxf"));
  EXPECT_EQ(LastMessage(), "No program opens /home/user/gear 1.dxf !");
  EXPECT_EQ(common::AbortFlag, 1);
}

// The system's opener: a file that is not there is refused at once.
TEST_F(DesktopOpenTest, TheSystemOpenerRefusesAMissingFile) {
  if (std::system("command -v xdg-open >/dev/null 2>&1") != 0) GTEST_SKIP() << "no xdg-open";
  const testsupport::ScratchDirectory dir("desktop_open");
  const std::string missing = dir.Path("not there.txt");
  const platform::StartResult result = platform::OpenDocument(missing);
  EXPECT_EQ(result.outcome, platform::StartOutcome::NotFound);
  EXPECT_FALSE(common::OpenWithDesktop(missing));
  EXPECT_EQ(LastMessage(), "No program opens " + missing + " !");
  EXPECT_EQ(platform::OpenDocument("").outcome, platform::StartOutcome::NotFound);
}

TEST_F(DesktopOpenTest, AProgramThatIsNotThereIsSaid) {
  EXPECT_FALSE(common::StartProgramLine("/no/such/program", "/home/user/gear.txt"));
  EXPECT_EQ(LastMessage(), "Program /no/such/program could not be started !");
  EXPECT_EQ(common::AbortFlag, 1);
  std::vector<std::string> started;
  platform::ScopedCommandStarter starter([&](const std::string& line) {
    started.push_back(line);
    return platform::StartResult{};
  });
  common::AbortFlag = 0;
  EXPECT_TRUE(common::StartProgramLine("xdg-open", ""));
  EXPECT_EQ(started, std::vector<std::string>{"xdg-open "});
}

}  // namespace
