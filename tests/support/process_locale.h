// The process's C locale set for a test as the window program's start sets
// it from the environment (setlocale(LC_ALL, ...)), and put back afterwards.
#pragma once

#include <clocale>
#include <string>

namespace testsupport {

// A German desktop: a decimal comma, a point for thousands.
inline constexpr const char* kGermanLocale = "de_DE.UTF-8";

class ProcessLocale {
 public:
  explicit ProcessLocale(const char* name) {
    const char* current = std::setlocale(LC_ALL, nullptr);
    saved_ = current != nullptr ? current : "C";
    set_ = std::setlocale(LC_ALL, name) != nullptr;
  }
  ~ProcessLocale() { std::setlocale(LC_ALL, saved_.c_str()); }
  ProcessLocale(const ProcessLocale&) = delete;
  ProcessLocale& operator=(const ProcessLocale&) = delete;

  // Whether the machine has the locale (the test skips without it).
  bool Set() const { return set_; }

 private:
  std::string saved_;
  bool set_ = false;
};

}  // namespace testsupport
