// Outputs the system refuses: Settings > Save, the session file written at
// exit and the table window's delimited export, under a file-size limit,
// over an immutable file, into an immutable folder and onto a read-only
// file system (each in a child process of its own). The old file keeps its
// bytes and the message names the file and the system's own reason.
#include <gtest/gtest.h>

#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <iostream>
#include <set>

#include "common/config_file.h"
#include "common/session_file.h"
#include "dbase/engine/delimited_text.h"
#include "support/app_tables.h"

namespace {

bool Chattr(const std::string& flag, const std::string& path) {
  return std::system(("chattr " + flag + " " + testsupport::Quoted(path) + " 2>/dev/null").c_str()) == 0;
}

class RefusedOutputs : public testsupport::AppTables {};

TEST_F(RefusedOutputs, KeepTheOldFileAndNameTheSystemsReason) {
  ShipTable("v1toolx.dbf");
  common::SetProgramIdentity();
  const std::string out = Path("out"), old = "the old file\r\n";
  std::filesystem::create_directory(out);
  common::ConfigDirectory = out;
  common::RecentFiles[1] = Path(std::string(400, 'd') + ".vb4");
  const auto said = [&] { return dialogs_.Asked().empty() ? std::string() : dialogs_.Asked().back().text; };
  const std::vector<std::pair<std::string, std::function<std::string()>>> writers = {
      {"vob4.cfg", [&] { common::WriteConfigFile(); return said(); }},
      {"vob4.cff", [&] { common::WriteSessionFile(); return said(); }},
      {"mat.txt", [&] { dbase::CopyToDelimitedFile(out + "/mat.txt"); return LastReport(); }}};
  ASSERT_TRUE(dbase::Use(Path("dbf/v1toolx.dbf")));
  // The reason the message must give, and how the child makes it (false:
  // the system gives no way, such as no root for chattr).
  const std::vector<std::pair<std::string, std::function<bool(const std::string&)>>> failures = {
      {"File too large", [](const std::string&) {
         const rlimit limit{300, 300};  // above the message, below every file written
         return ::signal(SIGXFSZ, SIG_IGN) != SIG_ERR && ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
       }},
      {"Operation not permitted", [](const std::string& file) { return Chattr("+i", file); }},
      {"Operation not permitted", [&](const std::string&) { return Chattr("+i", out); }},
      {"Read-only file system", [&, uid = ::getuid(), gid = ::getgid()](const std::string& file) {
         // A user and mount namespace in which the folder is a small file
         // system of its own, made read-only once the old file is in it.
         if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return false;
         testsupport::Put("/proc/self/setgroups", "deny");
         testsupport::Put("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1");
         testsupport::Put("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1");
         return ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                ::mount("tmpfs", out.c_str(), "tmpfs", 0, "size=64k") == 0 && (testsupport::Put(file, old), true) &&
                ::mount(nullptr, out.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
       }}};
  const std::set<std::filesystem::path> outputs = {"vob4.cfg", "vob4.cff", "mat.txt"};
  for (const auto& [name, write] : writers) {
    for (const auto& [reason, make] : failures) {
      const std::string file = out + "/" + name, when = name + ", " + reason;
      testsupport::Put(file, old);
      std::filesystem::remove(Path("said"));  // the child's message, beside the folder it may mount
      std::fflush(nullptr);
      const pid_t child = ::fork();
      if (child == 0) {
        if (!make(file)) std::_Exit(77);
        common::AbortFlag = 0;
        testsupport::Put(Path("said"), write() + (testsupport::Slurp(file) == old ? "" : "\nchanged"));
        std::_Exit(0);
      }
      int code = 0;
      ::waitpid(child, &code, 0);
      const std::string text = testsupport::Slurp(Path("said"));
      Chattr("-i", out), Chattr("-i", file);
      if (WEXITSTATUS(code) == 77) { std::cout << "not on this system: " << when << "\n"; continue; }
      EXPECT_NE(text.find(file), std::string::npos) << when << ": " << text;
      EXPECT_NE(text.find(reason), std::string::npos) << when << ": " << text;
      EXPECT_EQ(text.find("changed"), std::string::npos) << when;  // the child saw the old file after
      for (const auto& left : std::filesystem::directory_iterator(out))  // and no temporary file
        EXPECT_TRUE(outputs.contains(left.path().filename())) << when << ": " << left.path();
    }
  }
}

}  // namespace
