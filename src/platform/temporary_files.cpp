// The temporary-file list; see temporary_files.h. The signal handler may
// only read the list and unlink: the slots hold copies of the paths that
// are taken out of a slot before they are freed, so the handler never sees
// a freed path.
#include "platform/temporary_files.h"

#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstring>

namespace platform {

namespace {

// More temporary files than this at one moment are not remembered (none of
// the program's outputs keeps more than a few).
constexpr std::size_t kSlots = 64;
std::array<std::atomic<char*>, kSlots> Slots{};

void RemoveAndEnd(int signal) {
  for (auto& slot : Slots)
    if (char* path = slot.load()) ::unlink(path);
  ::signal(signal, SIG_DFL);
  ::raise(signal);
}

}  // namespace

void RememberTemporaryFile(const std::string& path) {
  char* copy = new char[path.size() + 1];
  std::memcpy(copy, path.c_str(), path.size() + 1);
  for (auto& slot : Slots) {
    char* expected = nullptr;
    if (slot.compare_exchange_strong(expected, copy)) return;
  }
  delete[] copy;
}

void ForgetTemporaryFile(const std::string& path) {
  for (auto& slot : Slots) {
    char* held = slot.load();
    if (held == nullptr || path != held) continue;
    if (slot.compare_exchange_strong(held, nullptr)) delete[] held;
    return;
  }
}

EndingSignalsHeld::EndingSignalsHeld() {
  sigset_t ending;
  sigemptyset(&ending);
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&ending, signal);
  ::pthread_sigmask(SIG_BLOCK, &ending, &previous_);
}

EndingSignalsHeld::~EndingSignalsHeld() { ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }

void RemoveTemporaryFilesOnSignals() {
  struct sigaction action {};
  action.sa_handler = RemoveAndEnd;
  sigemptyset(&action.sa_mask);
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction previous {};
    // A signal ignored by the caller (nohup) stays ignored.
    if (::sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) continue;
    ::sigaction(signal, &action, nullptr);
  }
}

}  // namespace platform
