// Machine information texts; see system_information.h.
#include "common/system_information.h"

#include "common/file_utils.h"
#include "common/kaldvar.h"
#include "common/number_format.h"
#include "common/text_utils.h"
#include "platform/clock.h"
#include "platform/system_info.h"

namespace common {

void GetTodayParts(std::uint16_t& year, std::uint16_t& month, std::uint16_t& day, std::uint16_t& fourth) {
  const platform::LocalDateTime now = platform::Now();
  year = static_cast<std::uint16_t>(now.year);
  month = static_cast<std::uint16_t>(now.month);
  day = static_cast<std::uint16_t>(now.day);
  fourth = 0;
}

void GetTimeParts(std::uint16_t& hour, std::uint16_t& minute, std::uint16_t& second, std::uint16_t& hundredths) {
  const platform::LocalDateTime now = platform::Now();
  hour = static_cast<std::uint16_t>(now.hour);
  minute = static_cast<std::uint16_t>(now.minute);
  second = static_cast<std::uint16_t>(now.second);
  hundredths = static_cast<std::uint16_t>(now.hundredths);
}

std::string FileDateText(std::uint32_t stamp) {
  const std::uint32_t date = stamp >> 16;
  const int year = 1980 + static_cast<int>((date >> 9) & 0x7F);
  const int month = static_cast<int>((date >> 5) & 0x0F);
  const int day = static_cast<int>(date & 0x1F);
  return IntToText(year) + "-" + IntToTextZero(month, 2) + "-" + IntToTextZero(day, 2);
}

void FileDateText(std::uint32_t stamp, std::string& text) { text = FileDateText(stamp); }

int FixedCodeThree() { return 3; }

Real CpuClockMHz() { return platform::CpuClockMHz(); }

std::string SystemSummaryText(const SystemFacts& f) {
  return f.computerName + "/" + IntToText(f.osMajor) + "." + IntToText(f.osMinor) + "/" +
         TrimBlanks(RealToTextFixed(1, f.cpuMHz / 1000)) + "GHz/" +
         IntToText(static_cast<long long>(f.memoryBytes / 1000000)) + "MB/" +
         TrimBlanks(RealToTextFixed(0, static_cast<Real>(f.volumeBytes) / 1e9L)) + "GB/" + f.volumeRoot;
}

std::string SystemSummaryText() {
  SystemFacts f;
  f.computerName = platform::HostName();
  const platform::OsVersion os = platform::OperatingSystemVersion();
  f.osMajor = os.major;
  f.osMinor = os.minor;
  f.cpuMHz = platform::CpuClockMHz();
  f.memoryBytes = platform::PhysicalMemoryBytes();
  std::string program = platform::ProgramFilePath();
  if (program.empty()) program = ProgramDirectory;
  f.volumeRoot = platform::VolumeRoot(program);
  f.volumeBytes = platform::VolumeTotalBytes(f.volumeRoot);
  return SystemSummaryText(f);
}

void SystemSummaryText(std::string& text) { text = SystemSummaryText(); }

std::string OsVersionText(int major, int minor, const std::string& name) {
  std::string text = IntToText(major) + "." + IntToText(minor);
  if (!name.empty()) text += " " + name;
  return text;
}

std::string WindowsVersionName() {
  const platform::OsVersion os = platform::OperatingSystemVersion();
  return OsVersionText(os.major, os.minor, os.distribution);
}

void WindowsVersionName(std::string& text) { text = WindowsVersionName(); }

std::vector<std::string> LocalIpAddresses() { return platform::HostAddresses(platform::HostName()); }

}  // namespace common
