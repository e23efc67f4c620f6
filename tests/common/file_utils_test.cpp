// Path pieces, directory tests, copies (complete or not at all, failures
// reported), text shortening and the demonstration texts.
#include "common/file_utils.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "common/demo_text.h"
#include "common/kaldvar.h"
#include "platform/file_system.h"

using namespace common;
namespace fs = std::filesystem;

namespace {

std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

class FileUtilsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetKaldvarDefaults();
    SetWkaldvarDefaults();
    SetProgramIdentity();
    dir_ = fs::temp_directory_path() / ("h6_file_utils_" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string P(const std::string& name) { return (dir_ / name).string(); }
  fs::path dir_;
};

}  // namespace

TEST(PathPieces, SeparatorRulesAndNames) {
  EXPECT_EQ(AddBackslash(""), "");
  EXPECT_EQ(AddBackslash(" /home/u "), "/home/u/");
  EXPECT_EQ(AddBackslash("/dir9"), "/dir9/");
  EXPECT_EQ(AddBackslash("/home/u/"), "/home/u/");
  EXPECT_EQ(AddBackslash("C:"), "C:");
  EXPECT_EQ(AddBackslash2("C:"), "C:/");
  for (const char* unchanged : {"a.", "a-", "a\\", "a*", "a["}) EXPECT_EQ(AddBackslash(unchanged), unchanged);
  for (const char* extended : {"a!", "a)", "a;", "aZ", "a_", "az"})
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
  EXPECT_TRUE(DirectoryWritable(dir_.string()));
  EXPECT_FALSE(DirectoryWritable(P("missing")));
  EXPECT_TRUE(DirectoryReachable(dir_.string() + "/"));
  EXPECT_FALSE(DirectoryReachable(P("missing")));
  EXPECT_FALSE(DirectoryHasEntries(dir_.string()));  // empty
  EXPECT_FALSE(DirectoryHasEntries(P("missing")));
  { std::ofstream(dir_ / "x.$$$") << "user data"; }
  EXPECT_TRUE(DirectoryHasEntries(dir_.string()));
  // The writability test never touches an existing file of its probe name.
  EXPECT_TRUE(DirectoryWritable(dir_.string()));
  EXPECT_EQ(Slurp(dir_ / "x.$$$"), "user data");
  EXPECT_TRUE(FileCanOpen(P("x.$$$")));
  EXPECT_FALSE(FileCanOpen(dir_.string()));
  EXPECT_TRUE(HasAttr(dir_.string(), AttrDirectory));
  EXPECT_TRUE(HasAttr(P("x.$$$"), AttrArchive));
  EXPECT_FALSE(HasAttr(P("x.$$$"), AttrDirectory | AttrArchive));
  EXPECT_FALSE(HasAttr(P("none"), 0));
  DeleteFileQuiet(P("x.$$$"));
  EXPECT_FALSE(fs::exists(dir_ / "x.$$$"));
  DeleteFileQuiet(P("none"));  // nothing reported
}

TEST_F(FileUtilsTest, CopiesAreCompleteOrReported) {
  const std::string block(8192, 'b');
  { std::ofstream(dir_ / "exact.bin", std::ios::binary) << block; }
  fs::create_directories(dir_ / "to");
  EXPECT_TRUE(CopyFileTo(P("exact.bin"), P("to")));
  EXPECT_EQ(Slurp(dir_ / "to" / "exact.bin"), block);
  EXPECT_FALSE(CopyFileTo(P("none.bin"), P("to/none.bin")));
  EXPECT_FALSE(fs::exists(dir_ / "to" / "none.bin"));

  AbortFlag = 0;
  CopyFileBinary(P("exact.bin"), P("copy.bin"));
  EXPECT_EQ(AbortFlag, 0);
  EXPECT_EQ(Slurp(dir_ / "copy.bin"), block);
  CopyFileBinary(P("exact.bin"), P("nodir/copy.bin"));
  EXPECT_EQ(AbortFlag, 1);

  // Matching files: none found, all copied, one failing.
  fs::create_directories(dir_ / "src");
  fs::create_directories(dir_ / "dst");
  CopyMatchingFiles("*.dbf", P("src"), P("dst"));
  EXPECT_EQ(AbortFlag, 1);
  { std::ofstream(dir_ / "src" / "a.dbf") << "A"; }
  { std::ofstream(dir_ / "src" / "B.DBF") << "B"; }
  { std::ofstream(dir_ / "src" / "c.txt") << "C"; }
  CopyMatchingFiles("*.dbf", P("src"), P("dst"));
  EXPECT_EQ(AbortFlag, 0);
  EXPECT_EQ(Slurp(dir_ / "dst" / "a.dbf"), "A");
  EXPECT_EQ(Slurp(dir_ / "dst" / "B.DBF"), "B");
  EXPECT_FALSE(fs::exists(dir_ / "dst" / "c.txt"));
  CopyMatchingFiles("*.dbf", P("src"), P("nodst"));
  EXPECT_EQ(AbortFlag, 1);

  // Text conversion: code page 850 lines become UTF-8 with CR LF.
  AbortFlag = 0;
  { std::ofstream(dir_ / "r.txt", std::ios::binary) << "Gr\x94\xE1" "e\n20\xF8\r\n"; }
  CopyTextFileConverted(P("r.txt"), P("r.utf8"));
  EXPECT_EQ(AbortFlag, 0);
  EXPECT_EQ(Slurp(dir_ / "r.utf8"), "Gr\xC3\xB6\xC3\x9F" "e\r\n20\xC2\xB0\r\n");
  CopyTextFileConverted(P("none.txt"), P("r2.utf8"));
  EXPECT_EQ(AbortFlag, 1);
  EXPECT_FALSE(fs::exists(dir_ / "r2.utf8"));

  // Deleting by mask.
  DeleteFiles(P("dst"), "*.DBF");
  EXPECT_FALSE(fs::exists(dir_ / "dst" / "a.dbf"));
  EXPECT_FALSE(fs::exists(dir_ / "dst" / "B.DBF"));
}

TEST_F(FileUtilsTest, DemoTexts) {
  PltDirectory = dir_.string();
  char c1 = 'x', c2 = 'x';
  std::string text;
  GetDemoText(1, c1, c2, text);
  EXPECT_EQ(text, "Demo file " + dir_.string() + "/vob4.dem not found !");

  {
    std::ofstream out(dir_ / "VOB4.DEM", std::ios::binary);
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
