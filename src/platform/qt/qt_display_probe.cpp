// The display probe; see qt_display_probe.h.
#include "platform/qt/qt_display_probe.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QLibraryInfo>
#include <QPluginLoader>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <future>
#include <memory>
#include <set>
#include <thread>
#include <vector>

namespace platform::qt {

namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
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

// The platform names the installed plugins answer to, in lower case, as
// their metadata gives them (one plugin may serve several: "wayland" and
// "wayland-egl"). The metadata is read without loading a plugin.
const std::set<std::string>& InstalledPlatforms() {
  static const std::set<std::string> names = [] {
    std::set<std::string> found;
    for (const auto& folder : PlatformPluginFolders()) {
      std::error_code ec;
      for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const QPluginLoader plugin(QString::fromStdString(it->path().string()));
        const QJsonArray keys = plugin.metaData().value("MetaData").toObject().value("Keys").toArray();
        for (const auto& key : keys) found.insert(Lower(key.toString().toStdString()));
      }
    }
    return found;
  }();
  return names;
}

// The functions of the X library, loaded once for the look (Qt's own plugin
// loads the same library); never unloaded, as a look that waits for an
// answer may still be inside it when the program ends.
struct XLibrary {
  using Connect = void* (*)(const char*, int*);
  using HasError = int (*)(void*);
  using Disconnect = void (*)(void*);
  Connect connect = nullptr;
  HasError hasError = nullptr;
  Disconnect disconnect = nullptr;
  bool loaded() const { return connect && hasError && disconnect; }
};

const XLibrary& Xcb() {
  static const XLibrary library = [] {
    XLibrary xcb;
    if (void* handle = ::dlopen("libxcb.so.1", RTLD_NOW | RTLD_LOCAL)) {
      xcb.connect = reinterpret_cast<XLibrary::Connect>(::dlsym(handle, "xcb_connect"));
      xcb.hasError = reinterpret_cast<XLibrary::HasError>(::dlsym(handle, "xcb_connection_has_error"));
      xcb.disconnect = reinterpret_cast<XLibrary::Disconnect>(::dlsym(handle, "xcb_disconnect"));
    }
    return xcb;
  }();
  return library;
}

// The connection that found the X display usable, held until Qt's own
// connection stands.
void* HeldConnection = nullptr;

void ReleaseHeldConnection() {
  if (HeldConnection == nullptr) return;
  Xcb().disconnect(HeldConnection);
  HeldConnection = nullptr;
}

// Qt calls this in its application object's constructor, after the platform
// (and with it Qt's X connection) has been made.
Q_COREAPP_STARTUP_FUNCTION(ReleaseHeldConnection)

enum class XAnswer { Opens, Refused, Silent };

// One connection to the X display as Qt's plugin makes it, which fails for
// a display that is gone and for one that refuses the user; a display that
// takes the connection and never answers is given up after the limit (the
// look goes on waiting in its own thread until the program ends).
XAnswer ConnectX(const std::string& display, std::chrono::milliseconds limit, void*& connection) {
  const XLibrary& xcb = Xcb();
  auto attempt = std::make_shared<std::packaged_task<void*()>>(
      [connect = xcb.connect, display] { return connect(display.c_str(), nullptr); });
  std::future<void*> answer = attempt->get_future();
  std::thread([attempt] { (*attempt)(); }).detach();
  if (answer.wait_for(limit) != std::future_status::ready) return XAnswer::Silent;
  connection = answer.get();
  if (connection != nullptr && xcb.hasError(connection) == 0) return XAnswer::Opens;
  if (connection != nullptr) xcb.disconnect(connection);
  connection = nullptr;
  return XAnswer::Refused;
}

// Whether the X display opens; the connection that opened it is held. A
// refused connection is tried once more after a moment: the server may
// have cut it off as it reset itself after its last client left.
XAnswer XDisplayOpens(const std::string& display) {
  if (!Xcb().loaded()) return XAnswer::Refused;
  // The library tells a refusal on standard error itself; the program's
  // own line says it once.
  const int keptError = ::dup(2);
  const int quiet = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (quiet >= 0) ::dup2(quiet, 2);
  const auto start = std::chrono::steady_clock::now();
  const auto left = [&start] {
    return std::chrono::duration_cast<std::chrono::milliseconds>(kDisplayAnswerLimit -
                                                                 (std::chrono::steady_clock::now() - start));
  };
  void* connection = nullptr;
  XAnswer answer = ConnectX(display, left(), connection);
  if (answer == XAnswer::Refused) {
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    answer = ConnectX(display, std::max(left(), std::chrono::milliseconds(1)), connection);
  }
  if (keptError >= 0) {
    ::dup2(keptError, 2);
    ::close(keptError);
  }
  if (quiet >= 0) ::close(quiet);
  if (answer == XAnswer::Opens) {
    ReleaseHeldConnection();
    HeldConnection = connection;
  }
  return answer;
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

bool DeviceOpens(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

// A graphics card's device (what the KMS back ends draw on).
bool DrmDeviceOpens() {
  std::error_code ec;
  for (std::filesystem::directory_iterator it("/dev/dri", ec), end; !ec && it != end; it.increment(ec))
    if (it->path().filename().string().rfind("card", 0) == 0 && DeviceOpens(it->path().string())) return true;
  return false;
}

// One entry of QT_QPA_PLATFORM: "name[:arguments]".
struct Entry {
  std::string text;       // as written
  std::string name;       // lower case, as Qt compares it
  std::string arguments;  // after the first ':'
};

std::vector<Entry> Entries(const std::string& list) {
  std::vector<Entry> entries;
  std::size_t start = 0;
  while (start <= list.size()) {
    const std::size_t end = std::min(list.find(';', start), list.size());
    const std::string text = list.substr(start, end - start);
    if (!text.empty()) {
      const std::size_t colon = text.find(':');
      entries.push_back({text, Lower(text.substr(0, colon)),
                         colon == std::string::npos ? std::string() : text.substr(colon + 1)});
    }
    start = end + 1;
  }
  return entries;
}

// The value of "key=value" among ':'-separated platform arguments.
std::string Argument(const std::string& arguments, const std::string& key) {
  std::size_t start = 0;
  while (start < arguments.size()) {
    const std::size_t end = std::min(arguments.find(':', start), arguments.size());
    const std::string item = arguments.substr(start, end - start);
    if (item.rfind(key + "=", 0) == 0) return item.substr(key.size() + 1);
    start = end + 1;
  }
  return "";
}

bool IsWayland(const std::string& name) { return name.rfind("wayland", 0) == 0; }

// What keeps the platform of the entry from starting; empty when it can.
// qtChooses: the entry is Qt's own choice, not named in QT_QPA_PLATFORM.
// silent is set for an X display that did not answer.
std::string EntryProblem(const Entry& entry, bool qtChooses, bool& silent) {
  if (!InstalledPlatforms().count(entry.name)) {
    if (qtChooses && entry.name == "xcb")
      return "DISPLAY=" + Environment("DISPLAY") + " needs the X plugin, which is not installed";
    if (qtChooses)
      return "WAYLAND_DISPLAY=" + Environment("WAYLAND_DISPLAY") + " needs the Wayland plugin, which is not installed";
    return "the platform plugin " + entry.name + " is not installed";
  }
  if (entry.name == "xcb") {
    const std::string display = Environment("DISPLAY");
    if (display.empty()) return "DISPLAY is not set";
    const XAnswer answer = XDisplayOpens(display);
    if (answer == XAnswer::Silent) {
      silent = true;
      return "DISPLAY=" + display + " does not answer within " + std::to_string(kDisplayAnswerLimit.count()) + " s";
    }
    return answer == XAnswer::Opens ? "" : "DISPLAY=" + display + " cannot be opened";
  }
  if (IsWayland(entry.name)) {
    const std::string display = Environment("WAYLAND_DISPLAY");
    // Without WAYLAND_DISPLAY the Wayland library tries its own default.
    if (display.empty()) return WaylandSocketConnects("wayland-0") ? "" : "WAYLAND_DISPLAY is not set";
    return WaylandSocketConnects(display) ? "" : "WAYLAND_DISPLAY=" + display + " cannot be opened";
  }
  const std::string noDevice = "no graphics device (/dev/dri/card*, /dev/fb0) can be opened";
  if (entry.name == "linuxfb") {
    const std::string drm = Environment("QT_QPA_FB_DRM");
    if (!drm.empty() && drm != "0") return DrmDeviceOpens() ? "" : noDevice;
    // The framebuffer named, else the first of the two Qt looks for.
    std::string device = Argument(entry.arguments, "fb");
    if (device.empty())
      device = !std::filesystem::exists("/dev/fb0") && std::filesystem::exists("/dev/graphics/fb0") ? "/dev/graphics/fb0"
                                                                                                    : "/dev/fb0";
    return DeviceOpens(device) ? "" : "the framebuffer " + device + " cannot be opened";
  }
  if (entry.name == "eglfs" || entry.name == "minimalegl") {
    // The EGL platforms draw on a graphics card or a framebuffer, or on X
    // where told so.
    if (Lower(Environment("QT_QPA_EGLFS_INTEGRATION")) == "eglfs_x11") return EntryProblem({"xcb", "xcb", ""}, false, silent);
    return DrmDeviceOpens() || DeviceOpens("/dev/fb0") ? "" : noDevice;
  }
  // offscreen, minimal, vnc and the like draw without a display.
  return "";
}

}  // namespace

DisplayProbe ProbeDisplay() {
  DisplayProbe probe;
  const std::string chosen = Environment("QT_QPA_PLATFORM");
  std::vector<Entry> entries = Entries(chosen);
  const bool qtChooses = entries.empty();
  if (qtChooses) {
    // Qt's own choice: the Wayland display where one is set, else X.
    if (!Environment("WAYLAND_DISPLAY").empty()) entries.push_back({"wayland", "wayland", ""});
    if (!Environment("DISPLAY").empty()) entries.push_back({"xcb", "xcb", ""});
  }
  probe.set = !entries.empty();
  std::string problems;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::string problem = EntryProblem(entries[i], qtChooses, probe.silent);
    if (problem.empty()) {
      probe.usable = true;
      probe.screen = entries[i].name == "xcb" || IsWayland(entries[i].name);
      probe.silent = false;
      // Qt starts on this one and on no other: an entry before it would
      // end the program with an abort.
      if (i > 0 || qtChooses) ::setenv("QT_QPA_PLATFORM", entries[i].text.c_str(), 1);
      return probe;
    }
    // An entry that failed the same way as one before it says nothing new.
    if (problems.find(problem) == std::string::npos) problems += (problems.empty() ? "" : "; ") + problem;
  }
  if (!qtChooses) problems = "QT_QPA_PLATFORM=" + chosen + ": " + problems;
  probe.failed = problems;
  return probe;
}

}  // namespace platform::qt
