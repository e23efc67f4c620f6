// Outputs the system refuses: Settings > Save, the session file written at
// exit and the table window's delimited export, each under a file-size
// limit, over an immutable file, into an immutable folder and onto a
// read-only file system. The old file keeps its bytes and the message names
// the file and the system's own reason. Each case runs in a child process,
// which sets the limit or mounts a file system of its own.
#include <gtest/gtest.h>

#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <iostream>
#include <string>

#include "common/config_file.h"
#include "common/session_file.h"
#include "dbase/engine/delimited_text.h"
#include "support/app_tables.h"
#include "support/child_report.h"

namespace {

bool PutText(const std::string& file, const std::string& text) {
  std::ofstream out(file, std::ios::binary);
  out << text;
  out.close();
  return static_cast<bool>(out);
}

bool Chattr(const std::string& flag, const std::string& path) {
  return std::system(("chattr " + flag + " " + testsupport::Quoted(path) + " 2>/dev/null").c_str()) == 0;
}

// A user and mount namespace in which dir is a small file system holding
// file with the text, then made read-only.
bool ReadOnlyFileSystem(const std::string& dir, const std::string& file, const std::string& text) {
  const uid_t uid = ::getuid();
  const gid_t gid = ::getgid();
  if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return false;
  PutText("/proc/self/setgroups", "deny");
  return PutText("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") &&
         PutText("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1") &&
         ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
         ::mount("tmpfs", dir.c_str(), "tmpfs", 0, "size=64k") == 0 && PutText(file, text) &&
         ::mount(nullptr, dir.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

class RefusedOutputs : public testsupport::AppTables {};

TEST_F(RefusedOutputs, KeepTheOldFileAndNameTheSystemsReason) {
  ShipTable("v1toolx.dbf");
  common::SetProgramIdentity();
  const std::string out = Path("out");
  std::filesystem::create_directory(out);
  const std::string old = "the old file\r\n";
  const auto said = [&] { return dialogs_.Asked().empty() ? std::string() : dialogs_.Asked().back().text; };
  struct Writer {
    std::string file;
    std::function<std::string()> write;  // the message the user got
  };
  const std::vector<Writer> writers = {
      {"vob4.cfg", [&] { common::ConfigDirectory = out; common::WriteConfigFile(); return said(); }},
      {"vob4.cff", [&] {
         common::ConfigDirectory = out;
         common::RecentFiles[1] = Path(std::string(200, 'd') + ".vb4");
         common::WriteSessionFile();
         return said();
       }},
      {"mat.txt", [&] {
         EXPECT_TRUE(dbase::Use(Path("dbf/v1toolx.dbf")));
         dbase::CopyToDelimitedFile(out + "/mat.txt");
         return LastReport();
       }}};
  struct Failure {
    std::string reason;
    std::function<bool(const std::string& file)> make;  // false: the system gives no such case
  };
  const std::vector<Failure> failures = {
      {"File too large", [](const std::string&) {
         const rlimit limit{100, 100};
         ::signal(SIGXFSZ, SIG_IGN);
         return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
       }},
      {"Operation not permitted", [](const std::string& file) { return Chattr("+i", file); }},
      {"Operation not permitted", [&](const std::string&) { return Chattr("+i", out); }},
      {"Read-only file system", [&](const std::string& file) { return ReadOnlyFileSystem(out, file, old); }}};
  std::string unavailable;
  for (const Writer& writer : writers) {
    for (const Failure& failure : failures) {
      const std::string file = out + "/" + writer.file;
      testsupport::Put(file, old);
      const testsupport::ChildReport child = testsupport::RunInChild([&] {
        if (!failure.make(file)) std::_Exit(77);
        common::AbortFlag = 0;
        return writer.write() + (testsupport::Slurp(file) == old ? "" : "\nchanged");
      });
      const std::string& text = child.text;
      Chattr("-i", out);
      Chattr("-i", file);
      const std::string when = writer.file + ", " + failure.reason;
      if (child.exitCode == 77) {
        unavailable += " [" + when + "]";  // no root for chattr, no namespace for a mount
        continue;
      }
      EXPECT_NE(text.find(file), std::string::npos) << when << ": " << text;
      EXPECT_NE(text.find(failure.reason), std::string::npos) << when << ": " << text;
      EXPECT_EQ(text.find("changed"), std::string::npos) << when;
      EXPECT_EQ(testsupport::Slurp(file), old) << when;
      for (const auto& entry : std::filesystem::directory_iterator(out)) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(name == "vob4.cfg" || name == "vob4.cff" || name == "mat.txt") << when << ": " << name << " left beside";
      }
    }
  }
  // Without root (chattr) or user namespaces (a mount) those cases cannot
  // be made; the file-size limit can be everywhere.
  if (!unavailable.empty()) std::cout << "not on this system:" << unavailable << "\n";
}

}  // namespace
