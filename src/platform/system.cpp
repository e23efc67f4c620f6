// Headless implementation of the system queries.
#include "platform/system.h"

#include <filesystem>
#include <system_error>

namespace platform {

namespace {
std::function<int()>& DpiQuery() {
  static std::function<int()> query;
  return query;
}
}  // namespace

std::string CurrentDirectory() {
  std::error_code ec;
  auto path = std::filesystem::current_path(ec);
  if (ec) return ".";
  return path.string();
}

int ScreenLogicalDpi() {
  auto& query = DpiQuery();
  return query ? query() : 0;
}

void SetScreenDpiQuery(std::function<int()> query) { DpiQuery() = std::move(query); }

}  // namespace platform
