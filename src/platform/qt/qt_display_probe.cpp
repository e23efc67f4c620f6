// The display probe; see qt_display_probe.h.
#include "platform/qt/qt_display_probe.h"

#include <QLibraryInfo>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

namespace platform::qt {

namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// The folders of a ':'-separated list, each with sub appended.
void AddFolders(std::vector<std::filesystem::path>& folders, const std::string& list, const char* sub) {
  std::size_t start = 0;
  while (start < list.size()) {
    const std::size_t end = std::min(list.find(':', start), list.size());
    if (end > start) folders.push_back(std::filesystem::path(list.substr(start, end - start)) / sub);
    start = end + 1;
  }
}

// The folders Qt looks for its platform plugins in.
std::vector<std::filesystem::path> PlatformPluginFolders() {
  std::vector<std::filesystem::path> folders;
  AddFolders(folders, Environment("QT_QPA_PLATFORM_PLUGIN_PATH"), "");
  AddFolders(folders, Environment("QT_PLUGIN_PATH"), "platforms");
  folders.push_back(std::filesystem::path(QLibraryInfo::path(QLibraryInfo::PluginsPath).toStdString()) /
                    "platforms");
  return folders;
}

// Whether a platform plugin whose file name starts with prefix is there.
bool HavePlugin(const std::string& prefix) {
  for (const auto& folder : PlatformPluginFolders()) {
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
      if (it->path().filename().string().rfind(prefix, 0) == 0) return true;
  }
  return false;
}

// Whether the X display opens: a connection as Qt's own plugin makes it
// (through the same library, loaded here only for the look), which fails
// for a display that is gone and for one that refuses the user.
bool XDisplayOpens(const std::string& display) {
  void* xcb = ::dlopen("libxcb.so.1", RTLD_NOW | RTLD_LOCAL);
  if (xcb == nullptr) return false;
  using Connect = void* (*)(const char*, int*);
  using HasError = int (*)(void*);
  using Disconnect = void (*)(void*);
  const auto connect = reinterpret_cast<Connect>(::dlsym(xcb, "xcb_connect"));
  const auto hasError = reinterpret_cast<HasError>(::dlsym(xcb, "xcb_connection_has_error"));
  const auto disconnect = reinterpret_cast<Disconnect>(::dlsym(xcb, "xcb_disconnect"));
  bool opens = false;
  if (connect && hasError && disconnect) {
    // The library tells a refusal on standard error itself; the program's
    // own line says it once.
    const int keptError = ::dup(2);
    const int quiet = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (quiet >= 0) ::dup2(quiet, 2);
    void* connection = connect(display.c_str(), nullptr);
    if (keptError >= 0) {
      ::dup2(keptError, 2);
      ::close(keptError);
    }
    if (quiet >= 0) ::close(quiet);
    opens = connection != nullptr && hasError(connection) == 0;
    if (connection != nullptr) disconnect(connection);
  }
  ::dlclose(xcb);
  return opens;
}

// Whether the Wayland compositor's socket takes a connection.
bool WaylandSocketConnects(const std::string& display) {
  const std::string path = display.front() == '/' ? display : Environment("XDG_RUNTIME_DIR") + "/" + display;
  sockaddr_un address{};
  if (path.size() >= sizeof address.sun_path) return false;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const bool connects = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return connects;
}

// Empty when the Wayland display can be used, else why not.
std::string WaylandProblem(const std::string& display) {
  if (!HavePlugin("libqwayland")) return "WAYLAND_DISPLAY=" + display + " needs the Wayland plugin, which is not installed";
  if (!WaylandSocketConnects(display)) return "WAYLAND_DISPLAY=" + display + " cannot be opened";
  return "";
}

std::string XProblem(const std::string& display) {
  if (!HavePlugin("libqxcb")) return "DISPLAY=" + display + " needs the X plugin, which is not installed";
  if (!XDisplayOpens(display)) return "DISPLAY=" + display + " cannot be opened";
  return "";
}

}  // namespace

DisplayProbe ProbeDisplay() {
  DisplayProbe probe;
  const std::string chosen = Environment("QT_QPA_PLATFORM");
  const std::string x = Environment("DISPLAY");
  const std::string wayland = Environment("WAYLAND_DISPLAY");
  // A platform of the user's choice: X and Wayland are probed, any other
  // needs no display of its own. Qt takes the first of a list.
  const std::string first = chosen.substr(0, chosen.find_first_of(";:"));
  if (!first.empty() && first != "xcb" && first.rfind("wayland", 0) != 0) {
    probe.set = probe.usable = true;
    return probe;
  }
  const bool wantX = first.empty() || first == "xcb";
  const bool wantWayland = first.empty() || first.rfind("wayland", 0) == 0;
  std::string problems;
  auto note = [&problems](const std::string& problem) { problems += (problems.empty() ? "" : "; ") + problem; };
  if (wantWayland && !wayland.empty()) {
    probe.set = true;
    const std::string problem = WaylandProblem(wayland);
    if (problem.empty()) {
      probe.usable = probe.screen = true;
      return probe;
    }
    note(problem);
  }
  if (wantX && !x.empty()) {
    probe.set = true;
    const std::string problem = XProblem(x);
    if (problem.empty()) {
      probe.usable = probe.screen = true;
      if (!wayland.empty() && first.empty()) ::setenv("QT_QPA_PLATFORM", "xcb", 1);
      return probe;
    }
    note(problem);
  }
  if (!probe.set && !first.empty()) {
    probe.set = true;
    note("QT_QPA_PLATFORM=" + chosen + " but " + (first == "xcb" ? "DISPLAY" : "WAYLAND_DISPLAY") + " is not set");
  }
  probe.failed = problems;
  return probe;
}

}  // namespace platform::qt
