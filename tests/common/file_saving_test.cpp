// Saving keeps the rules of the file it replaces: permissions judged as a
// user who is not root, links followed, devices and pipes refused at once,
// long names, modes and owners kept, a failed save harmless. The permission
// cases run in a child process as an unprivileged user (unprivileged.h);
// the owner cases need root and run in the test process.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "common/file_checks.h"
#include "common/file_utils.h"
#include "common/kaldvar.h"
#include "common/text_file.h"
#include "platform/file_system.h"
#include "platform/scripted_dialogs.h"
#include "support/file_test_support.h"
#include "support/unprivileged.h"

using namespace common;
using platform::DialogButton;
using platform::ScriptedAnswer;
using testsupport::Findings;
using testsupport::Put;
using testsupport::Slurp;
namespace fs = std::filesystem;

namespace {

struct stat Lstat(const std::string& path) {
  struct stat st {};
  ::lstat(path.c_str(), &st);
  return st;
}

unsigned ModeOf(const std::string& path) { return Lstat(path).st_mode & 07777; }

class FileSavingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetKaldvarDefaults();
    SetWkaldvarDefaults();
    SetProgramIdentity();
    AskBeforeOverwrite = 1;
    AbortFlag = 0;
    // The unprivileged child works in the directory too.
    fs::permissions(dir_.Dir(), fs::perms::all);
  }
  void TearDown() override {
    SharedTextFile.Discard();
    ::umask(022);
  }

  // The whole save of a program text file; true when it succeeded.
  static bool Save(const std::string& path, const std::string& text) {
    AbortFlag = 0;
    SharedTextFile.Assign(path);
    RewriteFileChecked(SharedTextFile);
    if (AbortFlag) return false;
    WriteTextLine(text);
    CloseFileChecked(SharedTextFile);
    return AbortFlag == 0;
  }

  std::string LastMessage() const { return dialogs_.Asked().empty() ? "" : dialogs_.Asked().back().text; }

  // Names in the directory other than the given one (left-over or
  // temporary files).
  std::vector<std::string> Others(const std::string& except) const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_.Dir()))
      if (entry.path().filename() != except) names.push_back(entry.path().string());
    return names;
  }

  void ExpectChildPassed(const testsupport::ChildReport& report) {
    if (report.skipped) GTEST_SKIP() << report.text;
    EXPECT_EQ(report.text, "");
  }

  platform::ScriptedDialogs dialogs_;
  platform::ScopedDialogs scope_{dialogs_};
  testsupport::ScratchDirectory dir_{"file_saving"};
};

}  // namespace

TEST_F(FileSavingTest, FilesTheUserMayNotWriteAreRefusedAndUnchanged) {
  const std::string readOnly = dir_.Path("read_only.vb4");
  const std::string foreign = dir_.Path("foreign.vb4");
  const std::string lockedDir = dir_.Path("locked");
  // Made by root, they are another user's to the child; a suite that does
  // not run as root makes them read-only to their owner as well.
  const bool root = ::geteuid() == 0;
  Put(foreign, "root's\r\n");
  ::chmod(foreign.c_str(), root ? 0644 : 0444);
  fs::create_directory(lockedDir);
  Put(lockedDir + "/shared.vb4", "shared\r\n");
  ::chmod((lockedDir + "/shared.vb4").c_str(), 0666);
  ::chmod(lockedDir.c_str(), root ? 0755 : 0555);
  const struct stat foreignBefore = Lstat(foreign);

  ExpectChildPassed(testsupport::RunUnprivileged([&] {
    Findings f;
    Put(readOnly, "old\r\n");
    ::chmod(readOnly.c_str(), 0444);

    // The save itself: "file write error" with the file and the reason, the
    // file as it was.
    f.Check(!Save(readOnly, "new"), "a read-only file was saved");
    f.Check(LastMessage() == "file write error: " + readOnly + ": Permission denied", "message: " + LastMessage());
    f.Check(Slurp(readOnly) == "old\r\n", "the read-only file changed");
    f.Check(ModeOf(readOnly) == 0444, "the read-only file's mode changed");

    // The output-name probe refuses it before asking to overwrite it.
    const std::size_t asked = dialogs_.Asked().size();
    AbortFlag = 0;
    CheckOutputFileName(readOnly);
    f.Check(AbortFlag == 1, "the probe passed a read-only file");
    f.Check(dialogs_.Asked().size() == asked + 1, "the probe asked a question before refusing");
    f.Check(LastMessage() == "invalid file name: " + readOnly + ": Permission denied", "probe message: " + LastMessage());

    // The configuration writer's retry question, then Cancel.
    AbortFlag = 0;
    dialogs_.Then(ScriptedAnswer::Press(DialogButton::Cancel));
    SharedTextFile.Assign(readOnly);
    RewriteFileRetry(SharedTextFile);
    f.Check(AbortFlag == 1, "retry: no abort");
    f.Check(dialogs_.Asked().back().buttons == platform::MessageButtons::RetryCancel, "retry: not asked");

    // Another user's file in a directory everyone may write.
    f.Check(!Save(foreign, "mine"), "another user's read-only file was replaced");
    f.Check(Slurp(foreign) == "root's\r\n", "another user's file changed");

    // A file that may be written, in a directory that may not: nothing can
    // be put in its place.
    f.Check(!Save(lockedDir + "/shared.vb4", "new"), "saved into a locked directory");
    f.Check(Slurp(lockedDir + "/shared.vb4") == "shared\r\n", "the file of the locked directory changed");
    AbortFlag = 0;
    CheckOutputFileName(lockedDir + "/new.vb4");
    f.Check(AbortFlag == 1, "the probe passed a locked directory");

    // A writable file of the user's own is saved, and nothing is left over.
    f.Check(Save(dir_.Path("own.vb4"), "own"), "the user's own file was refused");
    f.Check(Slurp(dir_.Path("own.vb4")) == "own\r\n", "own file contents");
    return f.Text();
  }));
  EXPECT_EQ(Slurp(foreign), "root's\r\n");
  EXPECT_EQ(Lstat(foreign).st_uid, foreignBefore.st_uid);
  EXPECT_EQ(Lstat(foreign).st_ino, foreignBefore.st_ino);
  EXPECT_EQ(dir_.Entries(), 4u);  // read_only, foreign, locked, own: no temporary file
  ::chmod(lockedDir.c_str(), 0755);  // so that the directory can be cleared
}

TEST_F(FileSavingTest, LinksAreFollowedAndStayLinks) {
  ExpectChildPassed(testsupport::RunUnprivileged([&] {
    Findings f;
    fs::create_directory(dir_.Path("real"));
    Put(dir_.Path("real/design.vb4"), "old\r\n");
    ::chmod(dir_.Path("real/design.vb4").c_str(), 0640);
    // A link to a link, through a linked directory.
    fs::create_directory_symlink("real", dir_.Path("dirlink"));
    fs::create_symlink("dirlink/design.vb4", dir_.Path("inner.vb4"));
    fs::create_symlink(dir_.Path("inner.vb4"), dir_.Path("outer.vb4"));

    AbortFlag = 0;
    AskBeforeOverwrite = 0;
    CheckOutputFileName(dir_.Path("outer.vb4"));
    f.Check(AbortFlag == 0, "the probe refused a link to a file");
    f.Check(Save(dir_.Path("outer.vb4"), "new"), "saving through links failed");
    f.Check(Slurp(dir_.Path("real/design.vb4")) == "new\r\n", "the linked file kept the old contents");
    f.Check(S_ISLNK(Lstat(dir_.Path("outer.vb4")).st_mode), "the outer link became a file");
    f.Check(S_ISLNK(Lstat(dir_.Path("inner.vb4")).st_mode), "the inner link became a file");
    f.Check(S_ISLNK(Lstat(dir_.Path("dirlink")).st_mode), "the directory link changed");
    f.Check(ModeOf(dir_.Path("real/design.vb4")) == 0640, "the target's mode changed");
    f.Check(fs::directory_iterator(dir_.Path("real"))->path().filename() == "design.vb4" &&
                std::distance(fs::directory_iterator(dir_.Path("real")), fs::directory_iterator()) == 1,
            "something was left beside the target");

    // A link that leads nowhere, and a loop of links: refused, nothing made.
    fs::create_symlink("missing/none.vb4", dir_.Path("dangling.vb4"));
    fs::create_symlink("nowhere.vb4", dir_.Path("dangling2.vb4"));
    fs::create_symlink("loop_b", dir_.Path("loop_a"));
    fs::create_symlink("loop_a", dir_.Path("loop_b"));
    for (const char* name : {"dangling.vb4", "dangling2.vb4", "loop_a"}) {
      f.Check(!Save(dir_.Path(name), "x"), std::string("saved through ") + name);
      f.Check(LastMessage().rfind("file write error: " + dir_.Path(name) + ": ", 0) == 0,
              std::string(name) + ": " + LastMessage());
      AbortFlag = 0;
      CheckOutputFileName(dir_.Path(name));
      f.Check(AbortFlag == 1, std::string("the probe passed ") + name);
      f.Check(S_ISLNK(Lstat(dir_.Path(name)).st_mode), std::string(name) + " is no longer a link");
    }
    f.Check(!fs::exists(fs::symlink_status(dir_.Path("nowhere.vb4"))), "a dangling link's target was created");
    return f.Text();
  }));
}

TEST_F(FileSavingTest, LongNamesAndModesAreKept) {
  ExpectChildPassed(testsupport::RunUnprivileged([&] {
    Findings f;
    // Names up to the file system's limit; the temporary name is short.
    for (std::size_t length : {250u, 255u}) {
      const std::string name = dir_.Path(std::string(length - 4, 'n') + ".vb4");
      AbortFlag = 0;
      CheckOutputFileName(name);
      f.Check(AbortFlag == 0, std::to_string(length) + "-byte name refused by the probe");
      f.Check(Save(name, "long"), std::to_string(length) + "-byte name not saved");
      f.Check(Slurp(name) == "long\r\n", std::to_string(length) + "-byte name contents");
    }

    // Permission bits survive a save.
    for (unsigned mode : {0600u, 0640u, 0664u, 0604u}) {
      const std::string name = dir_.Path("mode" + std::to_string(mode) + ".txt");
      Put(name, "old");
      ::chmod(name.c_str(), mode);
      f.Check(Save(name, "new"), "mode " + std::to_string(mode) + ": not saved");
      f.Check(ModeOf(name) == mode, "mode " + std::to_string(mode) + " became " + std::to_string(ModeOf(name)));
    }

    // A new file: 0666 less the umask.
    ::umask(027);
    f.Check(Save(dir_.Path("new027.txt"), "x") && ModeOf(dir_.Path("new027.txt")) == 0640, "umask 027");
    ::umask(022);
    f.Check(Save(dir_.Path("new022.txt"), "x") && ModeOf(dir_.Path("new022.txt")) == 0644, "umask 022");

    // A private file is never readable by others while it is saved.
    const std::string secret = dir_.Path("secret.txt");
    Put(secret, "old");
    ::chmod(secret.c_str(), 0600);
    AbortFlag = 0;
    SharedTextFile.Assign(secret);
    RewriteFileChecked(SharedTextFile);
    WriteTextLine("new secret");
    bool sawTemporary = false;
    for (const std::string& other : Others("secret.txt")) {
      if (other.find(".~") == std::string::npos) continue;
      sawTemporary = true;
      f.Check((ModeOf(other) & 077) == 0, "the temporary file is open to others: " + std::to_string(ModeOf(other)));
    }
    f.Check(sawTemporary, "no temporary file seen during the save");
    CloseFileChecked(SharedTextFile);
    f.Check(AbortFlag == 0 && ModeOf(secret) == 0600 && Slurp(secret) == "new secret\r\n", "the private file");
    return f.Text();
  }));
}

TEST_F(FileSavingTest, DevicesAndPipesAreRefusedAtOnce) {
  const std::string device = dir_.Path("null_device");
  const bool haveDevice = ::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
  const std::string fifo = dir_.Path("pipe.vb4");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
  ::chmod(fifo.c_str(), 0666);

  // Also as root, who could otherwise replace them: the child of this
  // process stays root when it is root, so the test runs both ways.
  auto cases = [&] {
    Findings f;
    std::vector<std::string> names = {fifo, "/dev/null"};
    if (haveDevice) names.push_back(device);
    for (const std::string& name : names) {
      AbortFlag = 0;
      CheckOutputFileName(name);
      f.Check(AbortFlag == 1, "the probe passed " + name);
      f.Check(LastMessage().rfind("invalid file name: " + name + ": ", 0) == 0, name + ": " + LastMessage());
      f.Check(!Save(name, "x"), "saved over " + name);
      f.Check(LastMessage().rfind("file write error: " + name + ": ", 0) == 0, name + ": " + LastMessage());
      // Nor is it read as a file (it would block).
      f.Check(!FileCanOpen(name), name + " opened as a file");
    }
    f.Check(S_ISFIFO(Lstat(fifo).st_mode), "the pipe was replaced");
    f.Check(S_ISCHR(Lstat("/dev/null").st_mode), "/dev/null was replaced");
    if (haveDevice) f.Check(S_ISCHR(Lstat(device).st_mode), "the device node was replaced");
    return f.Text();
  };
  ExpectChildPassed(testsupport::RunUnprivileged(cases, 10));
  if (::geteuid() == 0) {
    // As root, in a child as well so that a hang ends by the alarm.
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::alarm(10);
      ::_exit(cases().empty() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "as root: status " << status;
  }
  EXPECT_EQ(dir_.Entries(), haveDevice ? 2u : 1u);
}

TEST_F(FileSavingTest, FailedSaveLeavesThePreviousFile) {
  ExpectChildPassed(testsupport::RunUnprivileged([&] {
    Findings f;
    const std::string name = dir_.Path("design.vb4");
    Put(name, "previous\r\n");
    ::chmod(name.c_str(), 0640);
    {
      testsupport::FullDisk full(4);
      platform::ScopedFileSystem files(full);
      f.Check(!Save(name, "a longer new version"), "a save onto a full disk passed");
    }
    f.Check(Slurp(name) == "previous\r\n", "the previous file was damaged");
    f.Check(ModeOf(name) == 0640, "the previous file's mode changed");
    f.Check(Others("design.vb4").empty(), "a temporary file was left");
    return f.Text();
  }));
}

TEST_F(FileSavingTest, RootKeepsOwnerAndGroupAndRefusesPlantedLinks) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to give files to another user";
  // Root saves a user's file: it stays the user's.
  const std::string name = dir_.Path("users.vb4");
  Put(name, "old");
  ASSERT_EQ(::chown(name.c_str(), testsupport::kUnprivilegedUser, testsupport::kUnprivilegedGroup), 0);
  ::chmod(name.c_str(), 0640);
  EXPECT_TRUE(Save(name, "new"));
  EXPECT_EQ(Lstat(name).st_uid, testsupport::kUnprivilegedUser);
  EXPECT_EQ(Lstat(name).st_gid, testsupport::kUnprivilegedGroup);
  EXPECT_EQ(ModeOf(name), 0640u);
  EXPECT_EQ(Slurp(name), "new\r\n");

  // A shared, sticky directory: a link that another user planted there is
  // not followed; root's own link is.
  const std::string shared = dir_.Path("shared");
  fs::create_directory(shared);
  ::chmod(shared.c_str(), 01777);
  const std::string victim = dir_.Path("victim.cfg");
  Put(victim, "root's settings");
  fs::create_symlink(victim, shared + "/planted.cfg");
  ASSERT_EQ(::lchown((shared + "/planted.cfg").c_str(), testsupport::kUnprivilegedUser, testsupport::kUnprivilegedGroup), 0);
  EXPECT_FALSE(Save(shared + "/planted.cfg", "overwritten"));
  EXPECT_EQ(Slurp(victim), "root's settings");
  EXPECT_TRUE(fs::is_symlink(shared + "/planted.cfg"));
  AbortFlag = 0;
  CheckOutputFileName(shared + "/planted.cfg");
  EXPECT_EQ(AbortFlag, 1);

  fs::create_symlink(victim, shared + "/own.cfg");
  EXPECT_TRUE(Save(shared + "/own.cfg", "saved"));
  EXPECT_EQ(Slurp(victim), "saved\r\n");
}

// The permission answer comes through the file-system hook as well, for a
// platform where no unprivileged user can be had.
TEST_F(FileSavingTest, HookAnswersWhetherAFileMayBeWritten) {
  class Protected : public platform::FileSystem {
   public:
    bool MayWrite(const std::string&, std::error_code& ec) override {
      ec = std::make_error_code(std::errc::permission_denied);
      return false;
    }
  };
  const std::string name = dir_.Path("design.vb4");
  Put(name, "old");
  Protected protectedFiles;
  platform::ScopedFileSystem files(protectedFiles);
  EXPECT_FALSE(Save(name, "new"));
  EXPECT_EQ(Slurp(name), "old");
  AbortFlag = 0;
  CheckOutputFileName(name);
  EXPECT_EQ(AbortFlag, 1);
  // A new name asks nothing of the permission of a file.
  EXPECT_TRUE(Save(dir_.Path("new.vb4"), "new"));
}
