// Path pieces, directory tests, copies (complete or not at all, failures
// reported), text shortening and the demonstration texts.
#include "common/file_utils.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/demo_text.h"
#include "common/kaldvar.h"
#include "platform/file_system.h"
#include "support/file_test_support.h"

using namespace common;
namespace fs = std::filesystem;
using testsupport::Slurp;

namespace {

class FileUtilsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetKaldvarDefaults();
    SetWkaldvarDefaults();
    SetProgramIdentity();
  }
  testsupport::ScratchDirectory dir_{"file_utils"};
};

}  // namespace

TEST(PathPieces, SeparatorRulesAndNames) {
  EXPECT_EQ(AddBackslash(""), "");
  EXPECT_EQ(AddBackslash(" /home/u "), "/home/u/");
  EXPECT_EQ(AddBackslash("/dir9"), "/dir9/");
  EXPECT_EQ(AddBackslash("/home/u/"), "/home/u/");
  EXPECT_EQ(AddBackslash2("C:"), "C:/");
  for (const char* extended : {"C:", "a.", "a-", "a~", "a\\", "a[", "a!", "a)", "a;", "aZ", "a_", "az", "Fu\xC3\x9F"})
    EXPECT_EQ(AddBackslash(extended), std::string(extended) + "/");
  EXPECT_EQ(RemoveBackslash(" /a/b/ "), "/a/b");
  EXPECT_EQ(RemoveBackslash("/"), "/");
  EXPECT_EQ(FileDirPart("/a/b/c.vb4"), "/a/b/");
  EXPECT_EQ(FileDirPart("c.vb4"), "");
  EXPECT_EQ(DrivePart("C:/x"), "");
  EXPECT_EQ(BareFileName("/a/b.d/name.two.vb4"), "name.two");
  EXPECT_EQ(BareFileName("/a/b.d/name"), "name");
  EXPECT_EQ(PathNoExt("/a/b/c.vb4"), "/a/b/c");
  EXPECT_EQ(TextAfterDot("a.b.c"), "b.c");
  EXPECT_EQ(TextAfterDot("abc"), "");
  std::string t = "  x y  ";
  TrimInPlace(t);
  EXPECT_EQ(t, "x y");
}

TEST(PathPieces, ShortenTextAndMasks) {
  const std::string path(60, 'p');
  const std::string s = ShortenText(path.substr(0, 30) + std::string(30, 'q'), 40);
  EXPECT_EQ(s, std::string(17, 'p') + " ... " + std::string(18, 'q'));
  EXPECT_EQ(ShortenText("short", 40), "short");
  EXPECT_EQ(ShortenText("abcdefghij", 4), " ... j");  // m never negative
  EXPECT_TRUE(MatchesFileMask("MAT.DBF", "*.dbf"));
  EXPECT_TRUE(MatchesFileMask("noext", "*.*"));
  EXPECT_TRUE(MatchesFileMask("a1.txt", "a?.txt"));
  EXPECT_FALSE(MatchesFileMask("a12.txt", "a?.txt"));
  EXPECT_FALSE(MatchesFileMask("x.dbf.bak", "*.dbf"));
}

TEST_F(FileUtilsTest, DirectoryTests) {
  EXPECT_TRUE(DirectoryWritable(dir_.Dir().string()));
  EXPECT_FALSE(DirectoryWritable(dir_.Path("missing")));
  EXPECT_TRUE(DirectoryReachable(dir_.Dir().string() + "/"));
  EXPECT_FALSE(DirectoryReachable(dir_.Path("missing")));
  EXPECT_FALSE(DirectoryHasEntries(dir_.Dir().string()));  // empty
  EXPECT_FALSE(DirectoryHasEntries(dir_.Path("missing")));
  { std::ofstream(dir_.Path("x.$$$")) << "user data"; }
  EXPECT_TRUE(DirectoryHasEntries(dir_.Dir().string()));
  // The writability test never touches an existing file of its probe name.
  EXPECT_TRUE(DirectoryWritable(dir_.Dir().string()));
  EXPECT_EQ(Slurp(dir_.Path("x.$$$")), "user data");
  EXPECT_TRUE(FileCanOpen(dir_.Path("x.$$$")));
  EXPECT_FALSE(FileCanOpen(dir_.Dir().string()));
  EXPECT_TRUE(HasAttr(dir_.Dir().string(), AttrDirectory));
  EXPECT_TRUE(HasAttr(dir_.Path("x.$$$"), AttrArchive));
  EXPECT_FALSE(HasAttr(dir_.Path("x.$$$"), AttrDirectory | AttrArchive));
  EXPECT_FALSE(HasAttr(dir_.Path("none"), 0));
  DeleteFileQuiet(dir_.Path("x.$$$"));
  EXPECT_FALSE(fs::exists(dir_.Path("x.$$$")));
  DeleteFileQuiet(dir_.Path("none"));  // nothing reported
}

TEST_F(FileUtilsTest, CopiesAreCompleteOrReported) {
  const std::string block(8192, 'b');
  { std::ofstream(dir_.Path("exact.bin"), std::ios::binary) << block; }
  fs::create_directories(dir_.Path("to"));
  EXPECT_TRUE(CopyFileTo(dir_.Path("exact.bin"), dir_.Path("to")));
  EXPECT_EQ(Slurp(dir_.Path("to/exact.bin")), block);
  EXPECT_FALSE(CopyFileTo(dir_.Path("none.bin"), dir_.Path("to/none.bin")));
  EXPECT_FALSE(fs::exists(dir_.Path("to/none.bin")));

  AbortFlag = 0;
  CopyFileBinary(dir_.Path("exact.bin"), dir_.Path("copy.bin"));
  EXPECT_EQ(AbortFlag, 0);
  EXPECT_EQ(Slurp(dir_.Path("copy.bin")), block);
  CopyFileBinary(dir_.Path("exact.bin"), dir_.Path("nodir/copy.bin"));
  EXPECT_EQ(AbortFlag, 1);

  // Matching files: none found, all copied, one failing.
  fs::create_directories(dir_.Path("src"));
  fs::create_directories(dir_.Path("dst"));
  CopyMatchingFiles("*.dbf", dir_.Path("src"), dir_.Path("dst"));
  EXPECT_EQ(AbortFlag, 1);
  { std::ofstream(dir_.Path("src/a.dbf")) << "A"; }
  { std::ofstream(dir_.Path("src/B.DBF")) << "B"; }
  { std::ofstream(dir_.Path("src/c.txt")) << "C"; }
  CopyMatchingFiles("*.dbf", dir_.Path("src"), dir_.Path("dst"));
  EXPECT_EQ(AbortFlag, 0);
  EXPECT_EQ(Slurp(dir_.Path("dst/a.dbf")), "A");
  EXPECT_EQ(Slurp(dir_.Path("dst/B.DBF")), "B");
  EXPECT_FALSE(fs::exists(dir_.Path("dst/c.txt")));
  CopyMatchingFiles("*.dbf", dir_.Path("src"), dir_.Path("nodst"));
  EXPECT_EQ(AbortFlag, 1);

  // Text conversion: code page 850 lines become UTF-8 with CR LF.
  AbortFlag = 0;
  { std::ofstream(dir_.Path("r.txt"), std::ios::binary) << "Gr\x94\xE1" "e\n20\xF8\r\n"; }
  CopyTextFileConverted(dir_.Path("r.txt"), dir_.Path("r.utf8"));
  EXPECT_EQ(AbortFlag, 0);
  EXPECT_EQ(Slurp(dir_.Path("r.utf8")), "Gr\xC3\xB6\xC3\x9F" "e\r\n20\xC2\xB0\r\n");
  CopyTextFileConverted(dir_.Path("none.txt"), dir_.Path("r2.utf8"));
  EXPECT_EQ(AbortFlag, 1);
  EXPECT_FALSE(fs::exists(dir_.Path("r2.utf8")));

  // Deleting by mask.
  DeleteFiles(dir_.Path("dst"), "*.DBF");
  EXPECT_FALSE(fs::exists(dir_.Path("dst/a.dbf")));
  EXPECT_FALSE(fs::exists(dir_.Path("dst/B.DBF")));
}

// The program's temporary files: in the configured directory, or where
// none is configured in the system's (TMPDIR, else /tmp), never in the
// working directory; each under a name of its own, created exclusively and
// readable by the user only, so that a file or link someone put under a
// name first is never used.
TEST_F(FileUtilsTest, TemporaryFilesHaveNamesOfTheirOwn) {
  const char* previous = std::getenv("TMPDIR");
  const std::string kept = previous ? previous : "";
  ::setenv("TMPDIR", dir_.Path("system").c_str(), 1);
  fs::create_directory(dir_.Path("system"));
  TempDirectory = "  ";
  EXPECT_EQ(TemporaryDirectory(), dir_.Path("system") + "/");
  ::unsetenv("TMPDIR");
  EXPECT_EQ(TemporaryDirectory(), "/tmp/");
  ::setenv("TMPDIR", dir_.Path("system").c_str(), 1);

  std::vector<std::string> names;
  for (int i = 0; i < 20; ++i) {
    const std::string name = NewTemporaryFile("$$", ".txt");
    ASSERT_FALSE(name.empty());
    EXPECT_EQ(fs::path(name).parent_path(), fs::path(dir_.Path("system")));
    const std::string file = fs::path(name).filename().string();
    EXPECT_EQ(file.substr(0, 2), "$$");
    EXPECT_EQ(fs::path(name).extension(), ".txt");
    EXPECT_EQ(fs::file_size(name), 0u);
    EXPECT_EQ(fs::status(name).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(std::count(names.begin(), names.end(), name), 0) << "a name is never given twice";
    names.push_back(name);
  }
  // A configured directory is taken as it is.
  TempDirectory = dir_.Path("configured");
  fs::create_directory(TempDirectory);
  EXPECT_EQ(fs::path(NewTemporaryFile("$kaltemp", ".ndx")).parent_path(), fs::path(TempDirectory));
  // One that cannot hold files gives no name.
  TempDirectory = dir_.Path("missing");
  EXPECT_EQ(NewTemporaryFile("$xls", ".csv"), "");
  if (previous) ::setenv("TMPDIR", kept.c_str(), 1); else ::unsetenv("TMPDIR");
}

// Two names of one file, after links, are the same file; a copy is not,
// and a name that does not exist yet is never the same as another.
TEST_F(FileUtilsTest, SameFileFollowsLinks) {
  testsupport::Put(dir_.Path("a.vb4"), "design");
  fs::create_symlink("a.vb4", dir_.Path("link.txt"));
  fs::create_hard_link(dir_.Path("a.vb4"), dir_.Path("hard.dxf"));
  fs::copy_file(dir_.Path("a.vb4"), dir_.Path("copy.vb4"));
  EXPECT_TRUE(platform::SameFile(dir_.Path("a.vb4"), dir_.Path("a.vb4")));
  EXPECT_TRUE(platform::SameFile(dir_.Path("a.vb4"), dir_.Path("link.txt")));
  EXPECT_TRUE(platform::SameFile(dir_.Path("hard.dxf"), dir_.Path("link.txt")));
  EXPECT_TRUE(platform::SameFile(dir_.Path("a.vb4"), dir_.Dir().string() + "/./a.vb4"));
  EXPECT_FALSE(platform::SameFile(dir_.Path("a.vb4"), dir_.Path("copy.vb4")));
  EXPECT_FALSE(platform::SameFile(dir_.Path("a.vb4"), dir_.Path("new.txt")));
  fs::create_symlink("nowhere", dir_.Path("dangling.txt"));
  EXPECT_FALSE(platform::SameFile(dir_.Path("dangling.txt"), dir_.Path("dangling.txt")));
}

// A design file of any name (".vb4" alone too) read as chosen is saved back
// to itself; a name not there gets the extension, as one typed to save.
TEST_F(FileUtilsTest, ADesignFileReadIsTheFileSaved) {
  for (const std::string stem : {"", "pump", "pump.v1", "Zähne ü", "PUMP", "d.vb4"})
    for (const std::string extension : {".vb4", ".VB4", ".bak", ".vb4.bak", ""}) {
      const std::string path = dir_.Path(stem + extension);
      if (stem + extension == "") continue;
      testsupport::Put(path, "x");
      EXPECT_EQ(DesignFilePath(FileDirPart(path), DesignNameOfFile(path)), path);
      EXPECT_EQ(NameToRead(path, "vb4"), path);
      fs::remove(path);
      EXPECT_EQ(NameToRead(path, "vb4"), NameWithExtension(path, "vb4"));
    }
  EXPECT_EQ(NameWithExtension("t.HTML", "htm;html") + NameWithExtension("t", "htm;html"), "t.HTMLt.htm");
}

TEST_F(FileUtilsTest, DemoTexts) {
  PltDirectory = dir_.Dir().string();
  char c1 = 'x', c2 = 'x';
  std::string text;
  GetDemoText(1, c1, c2, text);
  EXPECT_EQ(text, "Demo file " + dir_.Dir().string() + "/vob4.dem not found !");

  {
    std::ofstream out(dir_.Path("VOB4.DEM"), std::ios::binary);
    out << "head 1\r\nhead 2\r\n";
    for (int i = 1; i <= 3; ++i) out << "title " << i << "\r\n" << "A" << i << "\r\n" << "text " << i << "\r\n\r\n";
  }
  GetDemoText(3, c1, c2, text);
  EXPECT_EQ(c1, 'A');
  EXPECT_EQ(c2, '3');
  EXPECT_EQ(text, "text 3");
  GetDemoText(4, c1, c2, text);
  EXPECT_EQ(c1, '0');
  EXPECT_EQ(c2, '0');
  EXPECT_EQ(text, "Demo text No.4 not exists !");
}
