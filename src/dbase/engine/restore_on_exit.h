// Puts a variable back to its value when the scope ends, also when an
// engine error is raised as EDidozError on the way (the engine's settings
// and current area must not stay changed by a failed command).
#pragma once

#include <utility>

namespace dbase {

template <typename T>
class RestoreOnExit {
 public:
  explicit RestoreOnExit(T& variable) : variable_(variable), saved_(variable) {}
  RestoreOnExit(T& variable, T temporary) : variable_(variable), saved_(variable) { variable_ = std::move(temporary); }
  ~RestoreOnExit() { variable_ = std::move(saved_); }
  RestoreOnExit(const RestoreOnExit&) = delete;
  RestoreOnExit& operator=(const RestoreOnExit&) = delete;

 private:
  T& variable_;
  T saved_;
};

}  // namespace dbase
