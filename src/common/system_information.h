// Small services about the running machine for report and drawing heads and
// the system-information window: today's date parts, the time of day in
// parts, the date of a file stamp, the processor clock, a one-line system
// summary, the operating-system version with its name and the host's IP
// addresses. The machine is asked through platform/system_info.h and the
// clock through platform/clock.h (today as text is in date_time.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/real.h"

namespace common {

// Today's year, month and day; fourth is set to 0.
void GetTodayParts(std::uint16_t& year, std::uint16_t& month, std::uint16_t& day, std::uint16_t& fourth);
// The time of day.
void GetTimeParts(std::uint16_t& hour, std::uint16_t& minute, std::uint16_t& second, std::uint16_t& hundredths);
// A packed file time stamp (date in the high word: year - 1980 in bits
// 9..15, month in 5..8, day in 0..4) as "yyyy-mm-dd", always with '-'.
std::string FileDateText(std::uint32_t stamp);
void FileDateText(std::uint32_t stamp, std::string& text);
// 3 (the auxiliary-image window's code).
int FixedCodeThree();
// The processor clock in MHz.
Real CpuClockMHz();

// The parts of the system summary.
struct SystemFacts {
  std::string computerName;
  int osMajor = 0, osMinor = 0;
  Real cpuMHz = 0;
  std::uint64_t memoryBytes = 0;
  std::uint64_t volumeBytes = 0;  // 0 when the volume cannot be read
  std::string volumeRoot;
};
// Computer name "/" major "." minor "/" clock in GHz with one decimal
// "GHz/" memory in MB "MB/" volume size in GB "GB/" volume root.
std::string SystemSummaryText(const SystemFacts& facts);
// The summary of this machine (the program's volume).
std::string SystemSummaryText();
void SystemSummaryText(std::string& text);

// major "." minor, then " " and the name when there is one.
std::string OsVersionText(int major, int minor, const std::string& name);
// This system: the kernel version and the distribution's name.
std::string WindowsVersionName();
void WindowsVersionName(std::string& text);

// The IPv4 addresses of the local host name; empty when it cannot be
// looked up.
std::vector<std::string> LocalIpAddresses();

}  // namespace common
