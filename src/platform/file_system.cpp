// Native file operations over the C library streams and the POSIX calls
// for status, links, modes and owners; the rules of a save (ReplacingFile);
// see file_system.h.
#include "platform/file_system.h"
#include "platform/temporary_files.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <random>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

std::error_code LastError() { return std::error_code(errno ? errno : EIO, std::generic_category()); }

class NativeInputFile : public InputFile {
 public:
  explicit NativeInputFile(std::FILE* file) : file_(file) {}
  ~NativeInputFile() override { std::fclose(file_); }

  std::ptrdiff_t Read(char* buffer, std::size_t size, std::error_code& ec) override {
    errno = 0;
    std::size_t n = std::fread(buffer, 1, size, file_);
    if (n < size && std::ferror(file_)) {
      ec = LastError();
      return -1;
    }
    return static_cast<std::ptrdiff_t>(n);
  }

 private:
  std::FILE* file_;
};

class NativeOutputFile : public OutputFile {
 public:
  explicit NativeOutputFile(std::FILE* file) : file_(file) {}
  ~NativeOutputFile() override {
    if (file_) std::fclose(file_);
  }

  bool Write(std::string_view bytes, std::error_code& ec) override {
    if (!file_) {
      ec = std::make_error_code(std::errc::bad_file_descriptor);
      return false;
    }
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
      ec = LastError();
      return false;
    }
    return true;
  }

  bool Close(std::error_code& ec) override {
    if (!file_) return true;
    errno = 0;
    bool ok = std::fflush(file_) == 0;
    // A completed file must be on the disk before it replaces the old one.
    if (ok) ok = ::fsync(fileno(file_)) == 0;
    if (!ok) ec = LastError();
    errno = 0;
    if (std::fclose(file_) != 0 && ok) {
      ok = false;
      ec = LastError();
    }
    file_ = nullptr;
    return ok;
  }

 private:
  std::FILE* file_;
};

std::unique_ptr<OutputFile> OpenOutput(const std::string& path, const char* mode, std::error_code& ec) {
  errno = 0;
  std::FILE* file = std::fopen(path.c_str(), mode);
  if (!file) {
    ec = LastError();
    return nullptr;
  }
  return std::make_unique<NativeOutputFile>(file);
}

// A stream over an open descriptor; on failure the descriptor is closed.
std::FILE* StreamOf(int fd, const char* mode, std::error_code& ec) {
  std::FILE* file = ::fdopen(fd, mode);
  if (!file) {
    ec = LastError();
    ::close(fd);
  }
  return file;
}

FileSystem& Native() {
  static FileSystem native;
  return native;
}

FileSystem*& Installed() {
  static FileSystem* installed = nullptr;
  return installed;
}

}  // namespace

namespace {

class FileKindCategory : public std::error_category {
 public:
  const char* name() const noexcept override { return "file kind"; }
  std::string message(int) const override { return "not a regular file"; }
};

}  // namespace

std::error_code NotARegularFile() {
  static const FileKindCategory category;
  return {1, category};
}

std::unique_ptr<InputFile> FileSystem::OpenRead(const std::string& path, std::error_code& ec) {
  // Opened without waiting, then looked at: only a regular file is read.
  errno = 0;
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    ec = LastError();
    return nullptr;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ec = S_ISDIR(st.st_mode) ? std::make_error_code(std::errc::is_a_directory) : NotARegularFile();
    ::close(fd);
    return nullptr;
  }
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  std::FILE* file = StreamOf(fd, "rb", ec);
  if (!file) return nullptr;
  return std::make_unique<NativeInputFile>(file);
}

std::unique_ptr<OutputFile> FileSystem::Create(const std::string& path, std::error_code& ec) {
  return OpenOutput(path, "wb", ec);
}

std::unique_ptr<OutputFile> FileSystem::CreateNew(const std::string& path, std::error_code& ec) {
  const EndingSignalsHeld held;
  errno = 0;
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
  if (fd < 0) {
    ec = LastError();
    return nullptr;
  }
  std::FILE* file = StreamOf(fd, "wb", ec);
  if (!file) {
    ::unlink(path.c_str());
    return nullptr;
  }
  // Every file created exclusively is a temporary one (a spool beside an
  // output, a file of the temporary directory) until renamed or removed.
  RememberTemporaryFile(path);
  return std::make_unique<NativeOutputFile>(file);
}

bool FileSystem::Rename(const std::string& from, const std::string& to, std::error_code& ec) {
  errno = 0;
  if (std::rename(from.c_str(), to.c_str()) != 0) {
    ec = LastError();
    return false;
  }
  ForgetTemporaryFile(from);
  return true;
}

bool FileSystem::Remove(const std::string& path, std::error_code& ec) {
  errno = 0;
  if (std::remove(path.c_str()) != 0) {
    ec = LastError();
    return false;
  }
  ForgetTemporaryFile(path);
  return true;
}

bool FileSystem::Status(const std::string& path, FileStatus& status, std::error_code& ec) {
  status = FileStatus{};
  struct stat st {};
  errno = 0;
  if (::lstat(path.c_str(), &st) != 0) {
    if (errno == ENOENT) return true;
    ec = LastError();
    return false;
  }
  if (S_ISREG(st.st_mode))
    status.kind = FileStatus::Kind::Regular;
  else if (S_ISDIR(st.st_mode))
    status.kind = FileStatus::Kind::Directory;
  else if (S_ISLNK(st.st_mode))
    status.kind = FileStatus::Kind::SymbolicLink;
  else
    status.kind = FileStatus::Kind::Other;
  status.mode = static_cast<unsigned>(st.st_mode & 07777);
  status.owner = static_cast<long long>(st.st_uid);
  status.group = static_cast<long long>(st.st_gid);
  return true;
}

bool FileSystem::ReadLink(const std::string& path, std::string& target, std::error_code& ec) {
  std::vector<char> buffer(256);
  for (;;) {
    errno = 0;
    const ssize_t n = ::readlink(path.c_str(), buffer.data(), buffer.size());
    if (n < 0) {
      ec = LastError();
      return false;
    }
    if (static_cast<std::size_t>(n) < buffer.size()) {
      target.assign(buffer.data(), static_cast<std::size_t>(n));
      return true;
    }
    buffer.resize(buffer.size() * 2);
  }
}

bool FileSystem::MayWrite(const std::string& path, std::error_code& ec) {
  errno = 0;
  if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0) return true;
  ec = LastError();
  return false;
}

bool FileSystem::SetMode(const std::string& path, unsigned mode, std::error_code& ec) {
  errno = 0;
  if (::chmod(path.c_str(), static_cast<mode_t>(mode & 07777)) != 0) {
    ec = LastError();
    return false;
  }
  return true;
}

bool FileSystem::SetOwner(const std::string& path, long long owner, long long group, std::error_code& ec) {
  errno = 0;
  if (::chown(path.c_str(), static_cast<uid_t>(owner), static_cast<gid_t>(group)) != 0) {
    ec = LastError();
    return false;
  }
  return true;
}

unsigned FileSystem::NewFileMode() {
  // The umask can only be read by setting it; the program has one thread.
  const mode_t mask = ::umask(022);
  ::umask(mask);
  return 0666u & ~static_cast<unsigned>(mask);
}

FileSystem& Files() {
  FileSystem* installed = Installed();
  return installed ? *installed : Native();
}

FileSystem* SetFileSystem(FileSystem* files) {
  FileSystem* previous = Installed();
  Installed() = files;
  return previous;
}

namespace {

constexpr int kMaxLinks = 40;  // as many links as the system itself follows

std::error_code Refused() { return std::make_error_code(std::errc::permission_denied); }

// The path without symbolic links: every link of it, links to links
// included, replaced by what it points to. A last part that does not exist
// is no error unless a link led to it (then there is nothing to save
// through). A link in a sticky, world-writable directory (such as a shared
// temporary directory) that belongs to another user than the directory is
// not followed: anyone may plant such a link to make a save overwrite a
// file of the victim's.
bool ResolveLinks(const std::string& path, std::string& resolved, std::error_code& ec) {
  namespace fs = std::filesystem;
  fs::path start(path);
  if (start.is_relative()) {
    std::error_code cwdError;
    const fs::path cwd = fs::current_path(cwdError);
    if (cwdError) {
      ec = cwdError;
      return false;
    }
    start = cwd / start;
  }
  std::deque<std::string> pending;
  for (const fs::path& part : start.relative_path()) pending.push_back(part.string());
  std::vector<std::string> done;  // components of the link-free prefix
  auto joined = [&](std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) text += "/" + done[i];
    return text.empty() ? std::string("/") : text;
  };
  int links = 0;
  bool lastFromLink = false;
  while (!pending.empty()) {
    const std::string part = pending.front();
    pending.pop_front();
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!done.empty()) done.pop_back();
      continue;
    }
    const bool last = pending.empty();
    done.push_back(part);
    const std::string here = joined(done.size());
    FileStatus status;
    if (!Files().Status(here, status, ec)) return false;
    if (status.kind == FileStatus::Kind::None) {
      if (!last) {
        ec = std::make_error_code(std::errc::no_such_file_or_directory);
        return false;
      }
      if (lastFromLink) {
        ec = std::make_error_code(std::errc::no_such_file_or_directory);
        return false;
      }
      break;
    }
    if (status.kind != FileStatus::Kind::SymbolicLink) {
      if (last) lastFromLink = false;
      continue;
    }
    if (++links > kMaxLinks) {
      ec = std::make_error_code(std::errc::too_many_symbolic_link_levels);
      return false;
    }
    FileStatus dir;
    if (!Files().Status(joined(done.size() - 1), dir, ec)) return false;
    if ((dir.mode & S_ISVTX) && (dir.mode & S_IWOTH) && dir.owner != status.owner) {
      ec = Refused();
      return false;
    }
    std::string target;
    if (!Files().ReadLink(here, target, ec)) return false;
    done.pop_back();
    if (!target.empty() && target.front() == '/') done.clear();
    std::vector<std::string> parts;
    for (const fs::path& p : fs::path(target).relative_path()) parts.push_back(p.string());
    for (auto it = parts.rbegin(); it != parts.rend(); ++it) pending.push_front(*it);
    if (last) lastFromLink = true;
  }
  resolved = joined(done.size());
  return true;
}

// A new file with a short name of its own in directory (empty: the
// current one), created exclusively.
std::unique_ptr<OutputFile> CreateTemporary(const std::string& directory, std::string& temp, std::error_code& ec) {
  static unsigned counter = 0;
  const std::string prefix = ".~vob" + std::to_string(::getpid()) + "_";
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string name = prefix + std::to_string(++counter);
    temp = directory.empty() ? name : (std::filesystem::path(directory) / name).string();
    ec.clear();
    auto out = Files().CreateNew(temp, ec);
    if (out) return out;
    if (ec != std::errc::file_exists) break;
  }
  temp.clear();
  return nullptr;
}

}  // namespace

bool ReplacingFile::Open(const std::string& target, std::error_code& ec) {
  Discard();
  replacesExisting_ = false;
  namespace fs = std::filesystem;
  if (target.empty() || !fs::path(target).has_filename()) {
    ec = std::make_error_code(std::errc::invalid_argument);
    return false;
  }
  std::string resolved;
  if (!ResolveLinks(target, resolved, ec)) return false;
  FileStatus status;
  if (!Files().Status(resolved, status, ec)) return false;
  switch (status.kind) {
    case FileStatus::Kind::None:
      break;
    case FileStatus::Kind::Regular:
      if (!Files().MayWrite(resolved, ec)) return false;
      replacesExisting_ = true;
      break;
    case FileStatus::Kind::Directory:
      ec = std::make_error_code(std::errc::is_a_directory);
      return false;
    default:  // a device, a pipe or a socket is never replaced by a file
      ec = NotARegularFile();
      return false;
  }
  // Beside the target, so that the rename stays within one file system; a
  // hidden name, so that a left-over file after a crash does not pose as
  // a data file.
  std::string temp;
  out_ = CreateTemporary(fs::path(resolved).parent_path().string(), temp, ec);
  if (!out_) {
    replacesExisting_ = false;
    return false;
  }
  target_ = resolved;
  temp_ = temp;
  return true;
}

bool ReplacingFile::Write(std::string_view bytes, std::error_code& ec) {
  if (!out_) {
    ec = std::make_error_code(std::errc::bad_file_descriptor);
    return false;
  }
  return out_->Write(bytes, ec);
}

bool ReplacingFile::Commit(std::error_code& ec) {
  if (!out_) {
    ec = std::make_error_code(std::errc::bad_file_descriptor);
    return false;
  }
  bool ok = out_->Close(ec);
  out_.reset();
  if (ok) {
    // The new version takes the place of the old one in every respect the
    // process may keep: owner and group first (changing them may clear
    // the set-id bits), then the permission bits.
    FileStatus status;
    ok = Files().Status(target_, status, ec);
    if (ok && status.kind == FileStatus::Kind::Regular) {
      std::error_code ownerError;
      if (!Files().SetOwner(temp_, status.owner, status.group, ownerError))
        Files().SetOwner(temp_, -1, status.group, ownerError);  // a group of the user's may still be kept
      ok = Files().SetMode(temp_, status.mode, ec);
    } else if (ok && status.kind == FileStatus::Kind::None) {
      ok = Files().SetMode(temp_, Files().NewFileMode(), ec);
    } else if (ok) {
      // Something other than a file took the target's place meanwhile.
      ec = Refused();
      ok = false;
    }
    if (ok) ok = Files().Rename(temp_, target_, ec);
  }
  if (!ok) {
    std::error_code ignored;
    Files().Remove(temp_, ignored);
  }
  temp_.clear();
  target_.clear();
  replacesExisting_ = false;
  return ok;
}

void ReplacingFile::Discard() {
  if (!out_) return;
  std::error_code ignored;
  out_->Close(ignored);
  out_.reset();
  Files().Remove(temp_, ignored);
  temp_.clear();
  target_.clear();
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa {}, sb {};
  if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

std::string SystemTempDirectory() {
  const char* dir = std::getenv("TMPDIR");
  return dir && *dir ? std::string(dir) : std::string("/tmp");
}

std::string CreateUniqueFile(const std::string& directory, const std::string& prefix, const std::string& suffix,
                             std::error_code& ec) {
  // A name nobody can foresee, so that no one can take it first in a
  // shared directory and make every run fail; created exclusively, so that
  // a file or link planted under it is never written.
  static std::mt19937_64 random{std::random_device{}()};
  static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = prefix;
    for (int i = 0; i < 8; ++i) name += kLetters[pick(random)];
    name += suffix;
    const std::string path = directory.empty() ? name : (std::filesystem::path(directory) / name).string();
    ec.clear();
    auto out = Files().CreateNew(path, ec);
    if (out) {
      std::error_code closeError;
      if (out->Close(closeError)) return path;
      ec = closeError;
      Files().Remove(path, closeError);
      return {};
    }
    if (ec != std::errc::file_exists) return {};
  }
  return {};
}

bool CanCreateFileIn(const std::string& directory, std::error_code& ec) {
  std::string temp;
  auto out = CreateTemporary(directory, temp, ec);
  if (!out) return false;
  std::error_code ignored;
  out->Close(ignored);
  out.reset();
  Files().Remove(temp, ignored);
  return true;
}

std::string FindFileAnyCase(const std::string& directory, const std::string& name) {
  namespace fs = std::filesystem;
  const fs::path dir = directory.empty() ? fs::path(".") : fs::path(directory);
  std::error_code ec;
  if (fs::exists(dir / name, ec)) return name;
  auto lower = [](std::string s) {
    for (char& c : s)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
  };
  const std::string wanted = lower(name);
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::string candidate = it->path().filename().string();
    if (lower(candidate) == wanted) return candidate;
  }
  return name;
}

}  // namespace platform
