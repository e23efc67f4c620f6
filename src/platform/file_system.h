// The file operations through which the core's text files are read and
// written (text_file.cpp, file_checks.cpp, file_utils.cpp). They are
// reached through one replaceable object so that tests can make a write,
// a close or a rename fail: a read-only directory does not stop a process
// running as root, and a full disk cannot be arranged in a test.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>

namespace platform {

class InputFile {
 public:
  virtual ~InputFile() = default;
  // Reads up to size bytes; returns the count (0 at the end), or -1 on a
  // read error (ec set).
  virtual std::ptrdiff_t Read(char* buffer, std::size_t size, std::error_code& ec) = 0;
};

class OutputFile {
 public:
  virtual ~OutputFile() = default;
  // Writes all bytes; false (ec set) when they could not all be written.
  virtual bool Write(std::string_view bytes, std::error_code& ec) = 0;
  // Flushes to the disk and closes; false (ec set) when data may be lost.
  // Destroying an open file closes it without reporting.
  virtual bool Close(std::error_code& ec) = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Opens an existing file for reading; nullptr (ec set) on failure.
  virtual std::unique_ptr<InputFile> OpenRead(const std::string& path, std::error_code& ec);
  // Creates or truncates a file for writing; nullptr (ec set) on failure.
  virtual std::unique_ptr<OutputFile> Create(const std::string& path, std::error_code& ec);
  // Creates a file that does not exist yet (fails when it exists).
  virtual std::unique_ptr<OutputFile> CreateNew(const std::string& path, std::error_code& ec);
  // Replaces `to` by `from` in one step (same directory).
  virtual bool Rename(const std::string& from, const std::string& to, std::error_code& ec);
  virtual bool Remove(const std::string& path, std::error_code& ec);
};

// The file system in use; the native one unless a test installed another.
FileSystem& Files();

// Installs a file system (not owned); nullptr returns to the native one.
// Returns the previous one (nullptr for the native one).
FileSystem* SetFileSystem(FileSystem* files);

class ScopedFileSystem {
 public:
  explicit ScopedFileSystem(FileSystem& files) : previous_(SetFileSystem(&files)) {}
  ~ScopedFileSystem() { SetFileSystem(previous_); }
  ScopedFileSystem(const ScopedFileSystem&) = delete;
  ScopedFileSystem& operator=(const ScopedFileSystem&) = delete;

 private:
  FileSystem* previous_;
};

// A new version of a file, written beside it under a temporary name and put
// in its place only when complete: a failed or abandoned write leaves the
// previous file as it was. All operations go through Files().
class ReplacingFile {
 public:
  ReplacingFile() = default;
  ~ReplacingFile() { Discard(); }
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  // Creates the temporary file in the target's directory; false (ec set)
  // when it cannot be created (directory missing, not writable, ...).
  bool Open(const std::string& target, std::error_code& ec);
  bool IsOpen() const { return out_ != nullptr; }
  bool Write(std::string_view bytes, std::error_code& ec);
  // Closes the temporary file and renames it over the target; on any
  // failure the temporary file is removed and the target is untouched.
  bool Commit(std::error_code& ec);
  // Closes and removes the temporary file; the target is untouched.
  void Discard();

 private:
  std::string target_;
  std::string temp_;
  std::unique_ptr<OutputFile> out_;
};

// The name of an existing file in directory whose name equals name but for
// letter case (the program's own files were named in varying case); the
// exact name when it exists or when none matches. directory may be empty
// (current directory) and ends with or without '/'.
std::string FindFileAnyCase(const std::string& directory, const std::string& name);

}  // namespace platform
