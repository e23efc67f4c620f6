// The file operations through which the core's text files are read and
// written (text_file.cpp, file_checks.cpp, file_utils.cpp). They are
// reached through one replaceable object so that tests can make a write,
// a close or a rename fail, or answer the questions of a save (may this
// file be written?): a read-only file does not stop a process running as
// root, and a full disk cannot be arranged in a test.
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

// A directory entry itself (a symbolic link is described, not followed).
struct FileStatus {
  enum class Kind { None, Regular, Directory, SymbolicLink, Other };
  Kind kind = Kind::None;  // None: there is no such entry
  unsigned mode = 0;       // permission bits, set-id and sticky bits (07777)
  long long owner = -1;    // user id
  long long group = -1;    // group id
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Opens an existing regular file for reading; nullptr (ec set) on
  // failure. Anything else (a directory, a device, a pipe) is refused
  // without waiting: opening a pipe for reading would block until a
  // writer came.
  virtual std::unique_ptr<InputFile> OpenRead(const std::string& path, std::error_code& ec);
  // Creates or truncates a file for writing; nullptr (ec set) on failure.
  virtual std::unique_ptr<OutputFile> Create(const std::string& path, std::error_code& ec);
  // Creates a file that does not exist yet (fails when it exists), readable
  // and writable by its owner only: the caller gives it its final mode.
  virtual std::unique_ptr<OutputFile> CreateNew(const std::string& path, std::error_code& ec);
  // Replaces `to` by `from` in one step (same directory).
  virtual bool Rename(const std::string& from, const std::string& to, std::error_code& ec);
  virtual bool Remove(const std::string& path, std::error_code& ec);

  // The entry at path without following a final symbolic link; a missing
  // entry is no error (kind None). false (ec set) when it cannot be told.
  virtual bool Status(const std::string& path, FileStatus& status, std::error_code& ec);
  // The text of a symbolic link.
  virtual bool ReadLink(const std::string& path, std::string& target, std::error_code& ec);
  // Whether the process may write the existing file, judged with its
  // effective user and group ids; false with the system's reason in ec
  // ("Permission denied", "Read-only file system", "Operation not
  // permitted" for an immutable file).
  virtual bool MayWrite(const std::string& path, std::error_code& ec);
  // Changes the permission bits of a file (mode & 07777).
  virtual bool SetMode(const std::string& path, unsigned mode, std::error_code& ec);
  // Gives a file an owner and a group; false when the process may not.
  virtual bool SetOwner(const std::string& path, long long owner, long long group, std::error_code& ec);
  // The mode of a newly made file: 0666 less the process's umask.
  virtual unsigned NewFileMode();
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
//
// Saving follows the rules of the file it replaces, not only those of its
// directory:
// - a symbolic link (any link of the path, links to links included) is
//   followed to its final target, which is replaced; the link stays. A link
//   that leads nowhere, a loop of links, and a link in a sticky,
//   world-writable directory whose owner is not the link's owner are
//   refused (permission_denied, too_many_symbolic_link_levels,
//   no_such_file_or_directory);
// - an existing target that is not a regular file (a device, a pipe, a
//   socket) is refused without being opened, and a directory too;
// - an existing target that the process may not write is refused with the
//   system's reason;
// - the new version keeps the permission bits of the file it replaces and,
//   where the process may set them, its owner and group; a new file gets
//   0666 less the umask. Until the rename it is readable by its owner
//   only. Further hard links of the replaced file keep the old contents.
// The temporary file has a short name of its own, so that every name the
// file system accepts can be saved.
class ReplacingFile {
 public:
  ReplacingFile() = default;
  ~ReplacingFile() { Discard(); }
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  // Checks the target by the rules above and creates the temporary file in
  // its directory; false (ec set) when the target is refused or the file
  // cannot be created (directory missing, not writable, ...). The target
  // itself is never opened.
  bool Open(const std::string& target, std::error_code& ec);
  bool IsOpen() const { return out_ != nullptr; }
  // After a successful Open: whether the target exists (and will be
  // replaced), judged without opening it.
  bool ReplacesExisting() const { return replacesExisting_; }
  bool Write(std::string_view bytes, std::error_code& ec);
  // Closes the temporary file, gives it its final mode and owner and
  // renames it over the target; on any failure the temporary file is
  // removed and the target is untouched.
  bool Commit(std::error_code& ec);
  // Closes and removes the temporary file; the target is untouched.
  void Discard();

 private:
  std::string target_;  // the final target, links resolved
  std::string temp_;
  std::unique_ptr<OutputFile> out_;
  bool replacesExisting_ = false;
};

// The failure of a file that is there but no regular file (a pipe, a
// device, a socket) where one is read or replaced: "not a regular file".
std::error_code NotARegularFile();

// Whether the two paths name one file: both exist and, with every symbolic
// link followed, lie on one device under one inode number (a hard link or a
// symbolic link to the other is the same file, a copy is not). A path that
// does not exist (yet) names no file, so it is never the same as another.
bool SameFile(const std::string& a, const std::string& b);

// The system's directory for temporary files: TMPDIR when it is set and
// not empty, else /tmp.
std::string SystemTempDirectory();

// Creates a new, empty file in directory (empty: the current one) named
// prefix + a random part + suffix. The name did not exist before (neither a
// file nor a link stood in its place), and the file is readable and
// writable by its owner only. Its path, or empty (ec set) when no such file
// can be made.
std::string CreateUniqueFile(const std::string& directory, const std::string& prefix, const std::string& suffix,
                             std::error_code& ec);

// Whether a new file can be created in directory: a temporary file is
// created there and removed again; nothing else of the directory is
// touched. false (ec set) when it cannot.
bool CanCreateFileIn(const std::string& directory, std::error_code& ec);

// The name of an existing file in directory whose name equals name but for
// letter case (the program's own files were named in varying case); the
// exact name when it exists or when none matches. directory may be empty
// (current directory) and ends with or without '/'.
std::string FindFileAnyCase(const std::string& directory, const std::string& name);

}  // namespace platform
