// Every test program runs in a working directory of its own. The program
// keeps its temporary drawing files ("$gear0.dx$" and the like), its
// configuration and session files in the working directory, and ctest runs
// the test cases of all programs side by side in one directory: two cases
// drawing at the same time would otherwise read and delete each other's
// block files.
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

namespace {

constexpr char kPrefix[] = "vob4_cwd_";

// Programs that end without running their destructors (death tests end with
// _exit) leave their directory behind; the next program removes the ones
// whose process is gone.
void RemoveLeftovers(const std::filesystem::path& base) {
  std::error_code ec;
  for (std::filesystem::directory_iterator it(base, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.rfind(kPrefix, 0) != 0) continue;
    const long pid = std::strtol(name.c_str() + sizeof kPrefix - 1, nullptr, 10);
    if (pid <= 0 || (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH)) continue;
    std::error_code ignored;
    std::filesystem::remove_all(it->path(), ignored);
  }
}

// Whether this process is a death test's child, started again by its
// parent: it ends with _exit, so it keeps the parent's directory instead
// of making one it could not remove.
bool DeathTestChild() {
  std::ifstream cmdline("/proc/self/cmdline", std::ios::binary);
  const std::string args((std::istreambuf_iterator<char>(cmdline)), std::istreambuf_iterator<char>());
  return args.find("--gtest_internal_run_death_test") != std::string::npos;
}

class OwnWorkingDirectory {
 public:
  OwnWorkingDirectory() {
    if (DeathTestChild()) return;
    std::error_code ec;
    const std::filesystem::path base = std::filesystem::temp_directory_path(ec);
    const std::filesystem::path parent = ec ? std::filesystem::path("/tmp") : base;
    RemoveLeftovers(parent);
    std::string pattern = parent / (kPrefix + std::to_string(::getpid()) + "_XXXXXX");
    if (::mkdtemp(pattern.data()) == nullptr) return;  // stay where ctest put us
    dir_ = pattern;
    owner_ = ::getpid();
    original_ = std::filesystem::current_path(ec);
    std::filesystem::current_path(dir_, ec);
  }
  ~OwnWorkingDirectory() {
    // A child a test forked leaves the directory to its parent.
    if (dir_.empty() || ::getpid() != owner_) return;
    std::error_code ec;
    if (!original_.empty()) std::filesystem::current_path(original_, ec);
    std::filesystem::remove_all(dir_, ec);  // a destructor must not throw
  }
  OwnWorkingDirectory(const OwnWorkingDirectory&) = delete;
  OwnWorkingDirectory& operator=(const OwnWorkingDirectory&) = delete;

 private:
  std::filesystem::path dir_;
  std::filesystem::path original_;
  pid_t owner_ = 0;
};

const OwnWorkingDirectory ownWorkingDirectory;

}  // namespace
