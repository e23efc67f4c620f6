// Native file operations over the C library streams; see file_system.h.
#include "platform/file_system.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>

#if defined(__unix__) || defined(__APPLE__)
#include <unistd.h>
#endif

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
#if defined(__unix__) || defined(__APPLE__)
    // A completed file must be on the disk before it replaces the old one.
    if (ok) ok = ::fsync(fileno(file_)) == 0;
#endif
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

FileSystem& Native() {
  static FileSystem native;
  return native;
}

FileSystem*& Installed() {
  static FileSystem* installed = nullptr;
  return installed;
}

}  // namespace

std::unique_ptr<InputFile> FileSystem::OpenRead(const std::string& path, std::error_code& ec) {
  std::error_code statError;
  if (std::filesystem::is_directory(path, statError)) {
    ec = std::make_error_code(std::errc::is_a_directory);
    return nullptr;
  }
  errno = 0;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    ec = LastError();
    return nullptr;
  }
  return std::make_unique<NativeInputFile>(file);
}

std::unique_ptr<OutputFile> FileSystem::Create(const std::string& path, std::error_code& ec) {
  return OpenOutput(path, "wb", ec);
}

std::unique_ptr<OutputFile> FileSystem::CreateNew(const std::string& path, std::error_code& ec) {
  return OpenOutput(path, "wbx", ec);
}

bool FileSystem::Rename(const std::string& from, const std::string& to, std::error_code& ec) {
  errno = 0;
  if (std::rename(from.c_str(), to.c_str()) != 0) {
    ec = LastError();
    return false;
  }
  return true;
}

bool FileSystem::Remove(const std::string& path, std::error_code& ec) {
  errno = 0;
  if (std::remove(path.c_str()) != 0) {
    ec = LastError();
    return false;
  }
  return true;
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

bool ReplacingFile::Open(const std::string& target, std::error_code& ec) {
  Discard();
  namespace fs = std::filesystem;
  const fs::path path(target);
  std::error_code statError;
  if (fs::is_directory(path, statError)) {
    ec = std::make_error_code(std::errc::is_a_directory);
    return false;
  }
  if (!path.has_filename()) {
    ec = std::make_error_code(std::errc::invalid_argument);
    return false;
  }
  // Beside the target, so that the rename stays within one file system; a
  // hidden name, so that a left-over file after a crash does not pose as
  // a data file.
  const fs::path dir = path.parent_path();
  const std::string base = "." + path.filename().string() + ".tmp";
  static unsigned counter = 0;
#if defined(__unix__) || defined(__APPLE__)
  const std::string unique = std::to_string(::getpid());
#else
  const std::string unique = "0";
#endif
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = base + unique + "_" + std::to_string(++counter);
    std::string temp = dir.empty() ? name : (dir / name).string();
    ec.clear();
    out_ = Files().CreateNew(temp, ec);
    if (out_) {
      target_ = target;
      temp_ = temp;
      return true;
    }
    if (ec != std::errc::file_exists) return false;
  }
  return false;
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
    // The new version keeps the access rights of the one it replaces.
    std::error_code statError;
    const auto status = std::filesystem::status(target_, statError);
    if (!statError && std::filesystem::exists(status))
      std::filesystem::permissions(temp_, status.permissions(), statError);
    ok = Files().Rename(temp_, target_, ec);
  }
  if (!ok) {
    std::error_code ignored;
    Files().Remove(temp_, ignored);
  }
  temp_.clear();
  target_.clear();
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
