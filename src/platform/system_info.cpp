// System information queries on a POSIX system; see system_info.h.
#include "platform/system_info.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#if defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>
#define VOB_HAVE_TSC 1
#endif

namespace platform {

void ParseKernelRelease(const std::string& release, int& major, int& minor) {
  major = minor = 0;
  const char* p = release.c_str();
  char* end = nullptr;
  major = static_cast<int>(std::strtol(p, &end, 10));
  if (end == p) {
    major = 0;
    return;
  }
  if (*end == '.') {
    const char* q = end + 1;
    minor = static_cast<int>(std::strtol(q, &end, 10));
    if (end == q) minor = 0;
  }
}

std::string OsReleaseName(const std::string& text) {
  std::istringstream in(text);
  std::string line, name, pretty;
  auto value = [](std::string v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) v = v.substr(1, v.size() - 2);
    return v;
  };
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("PRETTY_NAME=", 0) == 0) pretty = value(line.substr(12));
    if (line.rfind("NAME=", 0) == 0) name = value(line.substr(5));
  }
  return pretty.empty() ? name : pretty;
}

OsVersion OperatingSystemVersion() {
  OsVersion v;
  utsname u{};
  if (uname(&u) == 0) {
    v.system = u.sysname;
    v.kernel = u.release;
    ParseKernelRelease(v.kernel, v.major, v.minor);
  }
  for (const char* file : {"/etc/os-release", "/usr/lib/os-release"}) {
    std::ifstream in(file);
    if (!in) continue;
    std::ostringstream text;
    text << in.rdbuf();
    v.distribution = OsReleaseName(text.str());
    if (!v.distribution.empty()) break;
  }
  return v;
}

std::string HostName() {
  char name[65] = {};
  if (gethostname(name, sizeof name - 1) != 0) return "";
  return name;
}

std::vector<std::string> HostAddresses(const std::string& hostName) {
  std::vector<std::string> out;
  if (hostName.empty()) return out;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* list = nullptr;
  if (getaddrinfo(hostName.c_str(), nullptr, &hints, &list) != 0) return out;
  for (addrinfo* a = list; a; a = a->ai_next) {
    char text[INET_ADDRSTRLEN] = {};
    const auto* in = reinterpret_cast<const sockaddr_in*>(a->ai_addr);
    if (inet_ntop(AF_INET, &in->sin_addr, text, sizeof text)) {
      const std::string address = text;
      bool known = false;
      for (const auto& s : out) known = known || s == address;
      if (!known) out.push_back(address);
    }
  }
  freeaddrinfo(list);
  return out;
}

std::uint64_t PhysicalMemoryBytes() {
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long size = sysconf(_SC_PAGESIZE);
  if (pages <= 0 || size <= 0) return 0;
  return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(size);
}

std::string ProgramFilePath() {
  std::error_code ec;
  const auto p = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : p.string();
}

std::string VolumeRoot(const std::string& path) {
  std::error_code ec;
  std::filesystem::path p = std::filesystem::absolute(path.empty() ? "." : path, ec);
  if (ec) return "/";
  struct stat st {};
  while (!p.empty() && stat(p.c_str(), &st) != 0) p = p.parent_path();
  if (p.empty()) return "/";
  const dev_t device = st.st_dev;
  while (p.has_parent_path() && p.parent_path() != p) {
    struct stat parent {};
    if (stat(p.parent_path().c_str(), &parent) != 0 || parent.st_dev != device) break;
    p = p.parent_path();
  }
  return p.string();
}

std::uint64_t VolumeTotalBytes(const std::string& path) {
  struct statvfs v {};
  if (statvfs(path.empty() ? "." : path.c_str(), &v) != 0) return 0;
  return static_cast<std::uint64_t>(v.f_blocks) * static_cast<std::uint64_t>(v.f_frsize);
}

bool VolumeReadable(const std::string& path) {
  struct statvfs v {};
  return statvfs(path.empty() ? "." : path.c_str(), &v) == 0;
}

std::uint64_t VolumeFreeBytes(const std::string& path) {
  struct statvfs v {};
  if (statvfs(path.empty() ? "." : path.c_str(), &v) != 0) return 0;
  return static_cast<std::uint64_t>(v.f_bavail) * static_cast<std::uint64_t>(v.f_frsize);
}

std::string FileSystemName(const std::string& volumeRoot) {
  // The mount table: device, mount point, type, ... per line; the last
  // mount on the point is the one in effect.
  std::ifstream in("/proc/self/mounts");
  std::string line, type;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string device, point, fsType;
    if (fields >> device >> point >> fsType && point == volumeRoot) type = fsType;
  }
  return type;
}

std::string UserName() {
  if (const char* name = std::getenv("USER"); name && *name) return name;
  if (const char* name = std::getenv("LOGNAME"); name && *name) return name;
  if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_name) return entry->pw_name;
  return "";
}

double CpuClockMHz() {
#ifdef VOB_HAVE_TSC
  // Counts of the time-stamp counter over a measured half second; the
  // elapsed time is measured, not assumed, since a sleep may run long.
  std::this_thread::sleep_for(std::chrono::milliseconds(10));
  const auto t0 = std::chrono::steady_clock::now();
  const unsigned long long c0 = __rdtsc();
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  const unsigned long long c1 = __rdtsc();
  const auto t1 = std::chrono::steady_clock::now();
  const double us = std::chrono::duration<double, std::micro>(t1 - t0).count();
  return us > 0 ? static_cast<double>(c1 - c0) / us : 0.0;
#else
  return 0.0;
#endif
}

}  // namespace platform
