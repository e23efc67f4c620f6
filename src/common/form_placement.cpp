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

namespace {

long long Overlap(const FormRect& a, const FormRect& b) {
  const long long w = std::min(a.left + a.width, b.left + b.width) - std::max(a.left, b.left);
  const long long h = std::min(a.top + a.height, b.top + b.height) - std::max(a.top, b.top);
  return w > 0 && h > 0 ? w * h : 0;
}

// The form moved into the screen as far as it goes.
FormRect WithinScreen(FormRect r, const FormRect& screen) {
  r.left = std::max(screen.left, std::min(r.left, screen.left + screen.width - r.width));
  r.top = std::max(screen.top, std::min(r.top, screen.top + screen.height - r.height));
  return r;
}

}  // namespace

FormRect BesidePicture(const FormRect& form, const FormRect& picture, const FormRect& screen) {
  constexpr int gap = 4;
  FormRect candidates[4] = {form, form, form, form};
  candidates[0].left = picture.left + picture.width + gap;  // right
  candidates[0].top = picture.top;
  candidates[1].left = picture.left - form.width - gap;  // left
  candidates[1].top = picture.top;
  candidates[2].left = picture.left;  // below
  candidates[2].top = picture.top + picture.height + gap;
  candidates[3].left = picture.left + picture.width - form.width;  // above
  candidates[3].top = picture.top - form.height - gap;
  FormRect leftHalf = picture;
  leftHalf.width = picture.width / 2;
  FormRect best{};
  long long bestHalf = -1, bestAll = -1;
  for (FormRect c : candidates) {
    c = WithinScreen(c, screen);
    const long long half = Overlap(c, leftHalf), all = Overlap(c, picture);
    if (all == 0) return c;
    if (bestHalf < 0 || half < bestHalf || (half == bestHalf && all < bestAll)) {
      best = c;
      bestHalf = half;
      bestAll = all;
    }
  }
  // No side is free: the screen's upper right corner, when it covers less
  // of gear 1.
  FormRect corner = WithinScreen({screen.left + screen.width - form.width, screen.top, form.width, form.height}, screen);
  if (Overlap(corner, leftHalf) < bestHalf ||
      (Overlap(corner, leftHalf) == bestHalf && Overlap(corner, picture) < bestAll))
    best = corner;
  return best;
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
