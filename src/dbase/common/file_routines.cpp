// File tests, erasing, free space and temporary names.
#include "dbase/common/file_routines.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "dbase/engine/error_codes.h"
#include "dbase/engine/file_names.h"
#include "dbase/engine/os_errors.h"
#include "dbase/engine/os_locks.h"

namespace dbase {

int LastOsError = 0;

namespace {

constexpr std::int64_t kUnknownSpace = 2147483647;

bool SameDay(std::time_t a, std::time_t b) {
  std::tm x{};
  std::tm y{};
  localtime_r(&a, &x);
  localtime_r(&b, &y);
  return x.tm_year == y.tm_year && x.tm_mon == y.tm_mon && x.tm_mday == y.tm_mday;
}

}  // namespace

std::time_t FileDate(const std::string& name) {
  struct stat info {};
  if (::stat(name.c_str(), &info) != 0) {
    LastOsError = OsErrorCode(errno);
    return 0;
  }
  LastOsError = 0;
  return info.st_mtime;
}

bool FileDatedToday(const std::string& name) {
  int fd = ::open(name.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0 && (errno == EACCES || errno == EPERM || errno == EROFS)) fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  const bool ok = ::fstat(fd, &info) == 0;
  ::close(fd);
  return ok && SameDay(info.st_mtime, std::time(nullptr));
}

bool FileExistsS(const std::string& name) {
  struct stat info {};
  return ::stat(name.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

int EraseFile(const std::string& name) {
  const int fd = ::open(name.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return OsErrorCode(errno);
  // A table held open by an engine user is not erased.
  if (LockOpenMode(fd, true, true) != 0) {
    ::close(fd);
    return 32;
  }
  ::close(fd);
  if (::unlink(name.c_str()) != 0) return OsErrorCode(errno);
  return 0;
}

std::vector<std::string> EraseLeftovers;

void EraseFiles(const std::string& mask) {
  EraseLeftovers.clear();
  LastOsError = 0;
  if (mask.find_first_of("*?") == std::string::npos) {
    const int code = EraseFile(mask);
    if (code != 0) SetError(code, "Error erasing " + mask);
    return;
  }
  std::string dir, name, ext;
  SplitPath(mask, dir, name, ext);
  SearchRecord found;
  for (int result = TzFindFirst(mask, false, found); result == 0; result = TzFindNext(found)) {
    if (EraseFile(dir + found.name) != 0) EraseLeftovers.push_back(dir + found.name);
  }
  TzFindClose(found);
  if (!EraseLeftovers.empty()) {
    SetError(5, "Could not erase " + std::to_string(EraseLeftovers.size()) + " files like " + mask);
  }
}

std::int64_t DiskFreeKB(const std::string& path) {
  struct statvfs info {};
  if (::statvfs(path.empty() ? "." : path.c_str(), &info) != 0) return kUnknownSpace;
  return static_cast<std::int64_t>(info.f_bavail) * static_cast<std::int64_t>(info.f_frsize) / 1024;
}

std::int64_t DiskFreeKBOfDrive(int drive) { return drive == 0 ? DiskFreeKB("") : kUnknownSpace; }

std::string UniqueFilename() {
  const char* tmp = std::getenv("TMPDIR");
  std::string dir = (tmp != nullptr && *tmp != '\0') ? tmp : "/tmp";
  if (dir.back() != '/') dir.push_back('/');
  std::string name = dir + "TZPXXXXXX.tmp";
  std::vector<char> buffer(name.begin(), name.end());
  buffer.push_back('\0');
  const int fd = ::mkstemps(buffer.data(), 4);
  if (fd < 0) {
    SetError(OsErrorCode(errno, true), "Error requesting unique file name [UniqueFilename]");
    return {};
  }
  ::close(fd);
  return std::string(buffer.data());
}

void IdleHook() {}

}  // namespace dbase
