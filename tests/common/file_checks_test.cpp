// Checked file routines: their messages, AbortFlag, the overwrite question,
// and the retry loop that must end.
#include "common/file_checks.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/file_utils.h"
#include "common/file_version.h"
#include "common/kaldvar.h"
#include "platform/file_system.h"
#include "platform/scripted_dialogs.h"
#include "support/file_test_support.h"

using namespace common;
using platform::DialogButton;
using platform::ScriptedAnswer;
namespace fs = std::filesystem;
using testsupport::Slurp;

namespace {

// Creating files fails with the given error.
class NoCreate : public platform::FileSystem {
 public:
  explicit NoCreate(std::errc e) : e_(e) {}
  std::unique_ptr<platform::OutputFile> CreateNew(const std::string&, std::error_code& ec) override {
    ++attempts;
    ec = std::make_error_code(e_);
    return nullptr;
  }
  int attempts = 0;

 private:
  std::errc e_;
};

// Renaming fails with a full disk (the last step of a write).
class NoRename : public platform::FileSystem {
 public:
  bool Rename(const std::string&, const std::string&, std::error_code& ec) override {
    ec = std::make_error_code(std::errc::no_space_on_device);
    return false;
  }
};

class FileChecksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetKaldvarDefaults();
    SetWkaldvarDefaults();
    SetProgramIdentity();
    AskBeforeOverwrite = 1;
  }
  void TearDown() override { SharedTextFile.Discard(); }

  platform::ScriptedDialogs dialogs_;
  platform::ScopedDialogs scope_{dialogs_};
  testsupport::ScratchDirectory dir_{"file_checks"};
};

}  // namespace

TEST_F(FileChecksTest, ResetAndAccessChecksReportMissingFiles) {
  ResetFileChecked(SharedTextFile, dir_.Path("none.vb4"));
  EXPECT_EQ(AbortFlag, 1);
  ASSERT_EQ(dialogs_.Asked().size(), 1u);
  EXPECT_EQ(dialogs_.Asked()[0].caption, "Error  : ");
  EXPECT_EQ(dialogs_.Asked()[0].text, "file access error: " + dir_.Path("none.vb4") + ": No such file or directory");

  // With AbortFlag already set nothing is tried.
  ResetFileChecked(SharedTextFile, dir_.Path("none.vb4"));
  EXPECT_EQ(dialogs_.Asked().size(), 1u);

  AbortFlag = 0;
  CheckFileAccess("  " + dir_.Path("none.vb4") + " ");
  EXPECT_EQ(AbortFlag, 1);
  EXPECT_EQ(dialogs_.Asked().back().text, "file " + dir_.Path("none.vb4") + " not found or no access: No such file or directory");

  // Batch mode: the flag, but no box.
  AbortFlag = 0;
  MessagesEnabled = 0;
  CheckFileAccess(dir_.Path("none.vb4"));
  EXPECT_EQ(AbortFlag, 1);
  EXPECT_EQ(dialogs_.Asked().size(), 2u);
}

TEST_F(FileChecksTest, CheckOutputFileName) {
  // A new name in a writable directory passes and leaves nothing behind,
  // with dots of its own as without.
  for (const char* name : {"new.vb4", "a.b.vb4", "d.vb4.vb4"}) {
    CheckOutputFileName(dir_.Path(name));
    EXPECT_EQ(AbortFlag, 0) << name;
  }
  EXPECT_TRUE(dialogs_.Asked().empty());
  EXPECT_EQ(dir_.Entries(), 0u);

  // An existing file: asked, its name shown as the file system holds it;
  // No and Cancel refuse, Yes accepts; the file is never truncated by the
  // check.
  { std::ofstream(dir_.Path("Zähne ü 2.vb4")) << "keep"; }
  const std::string question = dir_.Path("Zähne ü 2.vb4") + " already exists.   overwrite ?";
  dialogs_.Then(ScriptedAnswer::Press(DialogButton::No));
  CheckOutputFileName(dir_.Path("Zähne ü 2.vb4"));
  EXPECT_EQ(AbortFlag, 1);
  EXPECT_EQ(dialogs_.Asked().back().text, question);
  EXPECT_EQ(dialogs_.Asked().back().caption, ProgramTitle);
  EXPECT_EQ(dialogs_.Asked().back().buttons, platform::MessageButtons::YesNoCancel);
  AbortFlag = 0;
  dialogs_.Then(ScriptedAnswer::Press(DialogButton::Yes));
  CheckOutputFileName(dir_.Path("Zähne ü 2.vb4"));
  EXPECT_EQ(AbortFlag, 0);
  EXPECT_EQ(Slurp(dir_.Path("Zähne ü 2.vb4")), "keep");
  EXPECT_EQ(dir_.Entries(), 1u);

  // Not asked when the name contains "actual" or asking is off.
  const std::size_t asked = dialogs_.Asked().size();
  { std::ofstream(dir_.Path("actual.vb4")) << "x"; }
  CheckOutputFileName(dir_.Path("actual.vb4"));
  AskBeforeOverwrite = 0;
  CheckOutputFileName(dir_.Path("Zähne ü 2.vb4"));
  EXPECT_EQ(dialogs_.Asked().size(), asked);
  EXPECT_EQ(AbortFlag, 0);

  // A directory that does not exist, or a directory as name.
  CheckOutputFileName(dir_.Path("nodir/x.vb4"));
  EXPECT_EQ(AbortFlag, 1);
  EXPECT_EQ(dialogs_.Asked().back().text,
            "invalid file name: " + dir_.Path("nodir/x.vb4") + ": No such file or directory");
  AbortFlag = 0;
  CheckOutputFileName(dir_.Dir().string());
  EXPECT_EQ(AbortFlag, 1);
}

TEST_F(FileChecksTest, RewriteFileRetryEndsOnCancelAndInBatchMode) {
  NoCreate protectedDisk(std::errc::read_only_file_system);
  platform::ScopedFileSystem files(protectedDisk);
  SharedTextFile.Assign(dir_.Path("vob4.cfg"));

  // Two retries, then Cancel.
  dialogs_.Then(ScriptedAnswer::Press(DialogButton::Retry)).Then(ScriptedAnswer::Press(DialogButton::Retry));
  RewriteFileRetry(SharedTextFile);
  EXPECT_EQ(AbortFlag, 1);
  EXPECT_EQ(protectedDisk.attempts, 3);
  ASSERT_EQ(dialogs_.Asked().size(), 3u);
  EXPECT_EQ(dialogs_.Asked()[0].text, "file write error: " + dir_.Path("vob4.cfg") + ": Read-only file system");
  EXPECT_EQ(dialogs_.Asked()[0].buttons, platform::MessageButtons::RetryCancel);

  // Batch mode: one attempt, no question, even with Retry as the default.
  AbortFlag = 0;
  MessagesEnabled = 0;
  dialogs_.SetDefaultAnswer(ScriptedAnswer::Press(DialogButton::Retry));
  RewriteFileRetry(SharedTextFile);
  EXPECT_EQ(AbortFlag, 1);
  EXPECT_EQ(protectedDisk.attempts, 4);
  EXPECT_EQ(dialogs_.Asked().size(), 3u);
}

TEST_F(FileChecksTest, FailedCloseKeepsOldFile) {
  { std::ofstream(dir_.Path("d.vb4")) << "old"; }
  NoRename noRename;
  platform::ScopedFileSystem files(noRename);
  SharedTextFile.Assign(dir_.Path("d.vb4"));
  RewriteFileChecked(SharedTextFile);
  EXPECT_EQ(AbortFlag, 0);
  WriteTextLine("new");
  CloseFileChecked(SharedTextFile);
  EXPECT_EQ(AbortFlag, 1);
  EXPECT_EQ(dialogs_.Asked().back().text, "disk full: " + dir_.Path("d.vb4") + ": No space left on device");
  EXPECT_EQ(Slurp(dir_.Path("d.vb4")), "old");
  EXPECT_EQ(dir_.Entries(), 1u);
}

TEST(FileVersion, FormatsAndProgramFile) {
  EXPECT_EQ(FormatFileVersion({5, 2, 0, 0}), "5.2");
  EXPECT_EQ(FormatFileVersion({5, 2, 1, 0}), "5.2.1");
  EXPECT_EQ(FormatFileVersion({5, 2, 1, 3}), "5.2.1.3");
  EXPECT_EQ(FormatFileVersion({5, 2, 0, 3}), "5.2");
  SetKaldvarDefaults();
  SetProgramIdentity();
  EXPECT_EQ(FileVersionText(""), "5.2");
  EXPECT_EQ(FileVersionText(" Wvob4.exe "), "5.2");
  EXPECT_EQ(FileVersionText("/usr/bin/vob4"), "5.2");
  EXPECT_EQ(FileVersionText("/bin/sh"), "0");
}
