// The texts of the two information windows of the Help menu: the system
// information (machine, user, program file and its volume, operating
// system, processor clock, system summary, IP addresses) and the about
// window (title, version, notice, file version). The machine is asked once
// through common/system_information.h and platform/system_info.h; the lines
// are made from those facts, so they are tested with fixed ones.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace app {

struct SysInfoFacts {
  std::string computerName;
  std::string userName;
  std::string programFile;      // full name of the program file
  std::string fileSystem;       // type of the file system holding it
  bool volumeReadable = false;  // false: the sizes are unknown
  std::uint64_t volumeTotalBytes = 0;
  std::uint64_t volumeFreeBytes = 0;
  std::string osName;           // WindowsVersionName
  long long cpuMHz = 0;
  std::string summary;          // SystemSummaryText
  std::vector<std::string> ipAddresses;
};

// Asks the machine (the processor clock is measured once, about half a
// second).
SysInfoFacts CollectSysInfoFacts();

// A whole number with thousands separators, right-aligned in width
// characters: the separator is ',' with the decimal point and '.' with the
// decimal comma (DecimalSign).
std::string ThousandsText(std::uint64_t n, int width);

// The lines of the system-information window, in order.
std::vector<std::string> SysInfoLines(const SysInfoFacts& facts);
// Its caption: product code + " System Info".
std::string SysInfoCaption();

struct AboutTexts {
  std::string caption;      // product code
  std::string title;        // the program title, display text
  std::string productName;  // "Version " + version + " for " + the system it runs on
  std::string notice;
  std::string comments;     // empty
  std::string fileVersion;  // "File Version : " ... "   (" program file name ":" build tag ")"
};
// The build tag shown in the about window.
extern const char* const BuildTag;
// The texts for the system the program runs on ("Linux"; empty: unknown)
// and its program file (empty: unknown, the program name stands for it).
AboutTexts AboutBoxTexts(const std::string& systemName, const std::string& programFile);
// The same for this machine.
AboutTexts AboutBoxTexts();

}  // namespace app
