// Placement and scaling numbers of the dialog forms; see form_placement.h.
#include "common/form_placement.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "common/kaldvar.h"
#include "platform/screen.h"

namespace common {

std::int32_t DialogScaleMode = 0;
std::int32_t StoredFormLeft = 0;
std::int32_t StoredFormTop = 0;

FormRect ScaledFormSize(const FormRect& form) {
  FormRect r = form;
  r.width = static_cast<int>(static_cast<long long>(InputWindowScale) * form.width / 100);
  r.height = static_cast<int>(static_cast<long long>(InputWindowScale) * form.height / 100);
  return r;
}

FormRect CenteredOver(const FormRect& form, const FormRect& main) {
  FormRect r = form;
  r.left = main.left + std::max((main.width - form.width) / 2, 0);
  r.top = main.top + std::max((main.height - form.height) / 2, 0) + 20;
  return r;
}

int ScalePixels(int n) {
  long long v = n;
  if (ZoomPercent >= 2 && ZoomPercent != 100) v = ZoomPercent * v / 100;
  if (ScreenDpi >= 2 && ScreenDpi != 96) v = ScreenDpi * v / 96;
  return static_cast<int>(v);
}

int ScalePixels2(int n) { return ScalePixels(n); }

int EffectiveInputScale() { return static_cast<int>(static_cast<long long>(InputWindowScale) * ScreenDpi / 96); }

int MainClientWidth() {
  const platform::ScreenSize screen = platform::PrimaryScreenSize();
  const platform::MainWindowFrame* main = platform::MainWindow();
  if (!main) return screen.width;
  return screen.width + main->ClientWidth() - main->Width();
}

int MainClientHeight() {
  const platform::ScreenSize screen = platform::PrimaryScreenSize();
  const platform::MainWindowFrame* main = platform::MainWindow();
  if (!main) return screen.height;
  return static_cast<int>(std::lround((main->ClientHeight() - main->Height()) * 1.9)) + screen.height;
}

void ToggleUnitSystem() { UnitSystem = UnitSystem != UnitsImperial ? UnitsImperial : UnitsMetric; }

void GetEnvText(const std::string& name, std::string& value) {
  const char* text = std::getenv(name.c_str());
  value = text ? std::string(text).substr(0, 255) : std::string();
}

}  // namespace common
