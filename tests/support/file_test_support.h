// File helpers shared by the tests that write and read real files
// (tests/common: text_file, file_utils, file_checks, session_file,
// config_file, config_robustness; tests/app: data_file,
// data_file_robustness, start_up): whole-file bytes, CR LF lines, a
// scratch directory per test, a file system whose disk fills up, and the
// random line damage of the robustness tests.
#pragma once

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <random>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include <unistd.h>

#include "platform/file_system.h"

namespace testsupport {

// The bytes of a file ("" when it cannot be read).
inline std::string Slurp(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Writes the bytes as the whole file.
inline void Put(const std::filesystem::path& p, const std::string& bytes) {
  std::ofstream out(p, std::ios::binary);
  out << bytes;
}

// The lines of bytes that end their lines with CR LF; an unended last line
// counts as a line. allCrLf (when given) tells whether every line, the last
// included, ends with CR LF and no LF stands alone.
inline std::vector<std::string> SplitLines(const std::string& bytes, bool* allCrLf = nullptr) {
  std::vector<std::string> lines;
  bool crlf = true;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = bytes.find("\r\n", start);
    std::string line = bytes.substr(start, end - start);
    if (line.find('\n') != std::string::npos) crlf = false;
    lines.push_back(std::move(line));
    if (end == std::string::npos) {
      crlf = false;
      break;
    }
    start = end + 2;
  }
  if (allCrLf) *allCrLf = crlf;
  return lines;
}

// The first `count` lines (all by default), each ended with CR LF.
inline std::string Joined(const std::vector<std::string>& lines, std::size_t count = std::string::npos) {
  std::string bytes;
  for (std::size_t i = 0; i < count && i < lines.size(); ++i) bytes += lines[i] + "\r\n";
  return bytes;
}

// Output files that fail once `budget` bytes were written (a full disk):
// the bytes up to the budget reach the file, the rest is refused.
class FullDisk : public platform::FileSystem {
 public:
  explicit FullDisk(std::size_t budget) : budget_(budget) {}
  std::unique_ptr<platform::OutputFile> CreateNew(const std::string& path, std::error_code& ec) override {
    auto inner = platform::FileSystem::CreateNew(path, ec);
    if (!inner) return nullptr;
    return std::make_unique<Limited>(std::move(inner), budget_);
  }

 private:
  class Limited : public platform::OutputFile {
   public:
    Limited(std::unique_ptr<platform::OutputFile> inner, std::size_t left) : inner_(std::move(inner)), left_(left) {}
    bool Write(std::string_view bytes, std::error_code& ec) override {
      if (bytes.size() > left_) {
        inner_->Write(bytes.substr(0, left_), ec);
        left_ = 0;
        ec = std::make_error_code(std::errc::no_space_on_device);
        return false;
      }
      left_ -= bytes.size();
      return inner_->Write(bytes, ec);
    }
    bool Close(std::error_code& ec) override { return inner_->Close(ec); }

   private:
    std::unique_ptr<platform::OutputFile> inner_;
    std::size_t left_;
  };
  std::size_t budget_;
};

// A fresh, empty directory under the system's temporary directory for the
// lifetime of the object, removed with all it holds at the end. The process
// id in its name keeps test programs that run at the same time apart.
class ScratchDirectory {
 public:
  explicit ScratchDirectory(const std::string& stem)
      : dir_(std::filesystem::temp_directory_path() / ("vob4_" + stem + "_" + std::to_string(::getpid()))) {
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  ~ScratchDirectory() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);  // a destructor must not throw
  }
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  const std::filesystem::path& Dir() const { return dir_; }
  // The full name of an entry of the directory.
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  // How many entries the directory holds (a failed write must leave no
  // temporary file behind).
  std::size_t Entries() const {
    return static_cast<std::size_t>(
        std::distance(std::filesystem::directory_iterator(dir_), std::filesystem::directory_iterator()));
  }

 private:
  std::filesystem::path dir_;
};

// A caller's own kind of damage for MutateLines: changes `lines` (never
// empty) using rng.
using LineMutation = std::function<void(std::vector<std::string>& lines, std::mt19937& rng)>;

// Damages a file given as its lines in 1 to maxSteps steps, each one of:
// delete a line, double a line, swap two lines, replace a line by up to 40
// random bytes, replace a line by one of oddTexts (twice as likely), or cut
// the file short at a random byte. With `extra`, that mutation is a further
// kind, as likely as the odd texts. Returns the bytes with CR LF line ends.
inline std::string MutateLines(std::vector<std::string> lines, std::mt19937& rng,
                               std::span<const char* const> oddTexts, int maxSteps = 3,
                               const LineMutation& extra = {}) {
  auto index = [&] { return std::uniform_int_distribution<std::size_t>(0, lines.size() - 1)(rng); };
  const int steps = std::uniform_int_distribution<int>(1, maxSteps)(rng);
  const int lastKind = extra ? 8 : 6;
  bool cut = false;
  for (int s = 0; s < steps && !lines.empty(); ++s) {
    switch (std::uniform_int_distribution<int>(0, lastKind)(rng)) {
      case 0:
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(index()));
        break;
      case 1: {
        const std::size_t i = index();
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(i), lines[i]);
        break;
      }
      case 2:
        std::swap(lines[index()], lines[index()]);
        break;
      case 3: {
        std::string bytes(std::uniform_int_distribution<std::size_t>(0, 40)(rng), ' ');
        for (char& c : bytes) c = static_cast<char>(std::uniform_int_distribution<int>(0, 255)(rng));
        lines[index()] = bytes;
        break;
      }
      case 4:
      case 5:
        lines[index()] = oddTexts[std::uniform_int_distribution<std::size_t>(0, oddTexts.size() - 1)(rng)];
        break;
      case 6:
        cut = true;
        break;
      default:
        extra(lines, rng);
        break;
    }
  }
  std::string bytes = Joined(lines);
  if (cut) bytes.resize(std::uniform_int_distribution<std::size_t>(0, bytes.size())(rng));
  return bytes;
}

}  // namespace testsupport
