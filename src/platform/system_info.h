// What this platform tells about the running machine, for the system
// information texts (common/system_information.h): the operating system's
// kernel version and distribution name, the host name and its addresses,
// the physical memory, the size, free space, root and file-system type of
// the volume that holds a file, the user's name,
// and the processor's clock. Every query answers with an empty or zero
// value when the system does not tell.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct OsVersion {
  std::string system;         // the operating system's name ("Linux")
  int major = 0, minor = 0;   // of the kernel release ("6.1.0-13-amd64" -> 6, 1)
  std::string kernel;         // the whole kernel release
  std::string distribution;   // the distribution's name ("Debian GNU/Linux 12 (bookworm)")
};
OsVersion OperatingSystemVersion();

// The kernel release split into major and minor ("6.1.0-13" -> 6, 1).
void ParseKernelRelease(const std::string& release, int& major, int& minor);
// The PRETTY_NAME (else NAME) of an os-release text; empty when neither.
std::string OsReleaseName(const std::string& osReleaseText);

// The host name (at most 64 characters); empty when unknown.
std::string HostName();
// The IPv4 addresses of a host name in dotted form; empty when the name
// cannot be looked up.
std::vector<std::string> HostAddresses(const std::string& hostName);

// Total physical memory in bytes; 0 when unknown.
std::uint64_t PhysicalMemoryBytes();

// The full name of the running program's file; empty when unknown.
std::string ProgramFilePath();
// The mount point of the volume that holds path ("/" when unknown).
std::string VolumeRoot(const std::string& path);
// The total size of the volume that holds path in bytes; 0 when it cannot
// be read.
std::uint64_t VolumeTotalBytes(const std::string& path);

// The free space of that volume for this user in bytes; 0 when it cannot be
// read (see VolumeReadable).
std::uint64_t VolumeFreeBytes(const std::string& path);
// Whether the volume that holds path can be asked for its sizes.
bool VolumeReadable(const std::string& path);
// The type of the file system mounted at the volume root ("ext4", "tmpfs");
// empty when unknown.
std::string FileSystemName(const std::string& volumeRoot);

// The name of the user running the program; empty when unknown.
std::string UserName();

// The processor clock in MHz from its time-stamp counter over half a
// second; 0 where there is none.
double CpuClockMHz();

}  // namespace platform
