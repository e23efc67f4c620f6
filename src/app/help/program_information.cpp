// The information windows' texts; see program_information.h.
#include "app/help/program_information.h"

#include <cmath>

#include "common/code_page.h"
#include "common/file_version.h"
#include "common/kaldvar.h"
#include "common/number_format.h"
#include "common/system_information.h"
#include "platform/system_info.h"

namespace app {

const char* const BuildTag = "qt6";

SysInfoFacts CollectSysInfoFacts() {
  SysInfoFacts f;
  f.computerName = platform::HostName();
  f.userName = platform::UserName();
  f.programFile = platform::ProgramFilePath();
  const std::string root = platform::VolumeRoot(f.programFile.empty() ? common::ProgramDirectory : f.programFile);
  f.fileSystem = platform::FileSystemName(root);
  f.volumeReadable = platform::VolumeReadable(root);
  f.volumeTotalBytes = platform::VolumeTotalBytes(root);
  f.volumeFreeBytes = platform::VolumeFreeBytes(root);
  f.osName = common::WindowsVersionName();
  const double mhz = platform::CpuClockMHz();
  f.cpuMHz = std::llround(mhz);
  // The summary from the same facts: the clock is measured only once.
  common::SystemFacts s;
  s.computerName = f.computerName;
  const platform::OsVersion os = platform::OperatingSystemVersion();
  s.osMajor = os.major;
  s.osMinor = os.minor;
  s.cpuMHz = mhz;
  s.memoryBytes = platform::PhysicalMemoryBytes();
  s.volumeRoot = root;
  s.volumeBytes = f.volumeTotalBytes;
  f.summary = common::SystemSummaryText(s);
  f.ipAddresses = common::LocalIpAddresses();
  return f;
}

std::string ThousandsText(std::uint64_t n, int width) {
  const char separator = common::DecimalSign == 2 ? '.' : ',';
  const std::string digits = std::to_string(n);
  std::string text;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) text += separator;
    text += digits[i];
  }
  if (static_cast<int>(text.size()) < width) text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
  return text;
}

std::vector<std::string> SysInfoLines(const SysInfoFacts& f) {
  constexpr std::uint64_t MB = 1024 * 1024;
  std::vector<std::string> lines;
  lines.push_back("PC Name     : " + f.computerName);
  lines.push_back("User        : " + f.userName);
  // The path as it is: on a case-sensitive file system a path in lower
  // case would name another file.
  lines.push_back("File name   : " + f.programFile);
  lines.push_back("File syst.  : " + f.fileSystem);
  lines.push_back("HD total    : " + ThousandsText(f.volumeReadable ? f.volumeTotalBytes / MB : 0, 6) + " MB");
  lines.push_back(f.volumeReadable ? "HD free     : " + ThousandsText(f.volumeFreeBytes / MB, 6) + " MB"
                                   : std::string("File system error"));
  lines.push_back("Operat.sys. : " + f.osName);
  lines.push_back("Clock speed : " + common::IntToText(f.cpuMHz) + " MHz");
  lines.push_back(f.summary);
  lines.push_back("IP-Adress:");
  for (const std::string& address : f.ipAddresses) lines.push_back(address);
  return lines;
}

std::string SysInfoCaption() { return common::ProductCode + " System Info"; }

AboutTexts AboutBoxTexts(const std::string& systemName, const std::string& programFile) {
  AboutTexts t;
  t.caption = common::ProductCode;
  t.title = common::OemToDisplayText(common::ProgramTitle);
  t.productName = "Version " + common::ProgramVersion;
  if (!systemName.empty()) t.productName += " for " + systemName;
  t.notice = common::OemToDisplayText(common::ProgramNotice);
  const std::size_t slash = programFile.find_last_of('/');
  const std::string file = programFile.empty() ? common::ProgramName : programFile.substr(slash + 1);
  t.fileVersion = "File Version : " + common::FileVersionText(common::ProgramName) + "   (" + file + ":" + BuildTag + ")";
  return t;
}

AboutTexts AboutBoxTexts() {
  return AboutBoxTexts(platform::OperatingSystemVersion().system, platform::ProgramFilePath());
}

}  // namespace app
