// Screen size and main-window frame hooks; see screen.h.
#include "platform/screen.h"

namespace platform {

namespace {
std::function<ScreenSize()>& SizeQuery() {
  static std::function<ScreenSize()> query;
  return query;
}
MainWindowFrame*& Window() {
  static MainWindowFrame* window = nullptr;
  return window;
}
}  // namespace

ScreenSize PrimaryScreenSize() {
  auto& query = SizeQuery();
  return query ? query() : ScreenSize{};
}

void SetScreenSizeQuery(std::function<ScreenSize()> query) { SizeQuery() = std::move(query); }

MainWindowFrame* MainWindow() { return Window(); }
void SetMainWindow(MainWindowFrame* window) { Window() = window; }

}  // namespace platform
