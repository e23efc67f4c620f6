// The graphics window as at program start on a reference screen of the
// given size (640 x 480 unless said), its display list empty: the set-up
// of the tests that draw into it.
#pragma once

#include "common/graphics_facade.h"
#include "common/graphics_settings.h"
#include "common/graphics_window.h"
#include "common/kaldvar.h"

namespace testsupport {

inline void StartGraphicsWindow(int width = 640, int height = 480) {
  common::SetKaldvarDefaults();
  common::HorizontalPixels = static_cast<std::uint16_t>(width);
  common::VerticalPixels = static_cast<std::uint16_t>(height);
  common::InitScreenGraphicsSettings();
  common::InitPrinterGraphicsSettings();
  common::InitGraphicsWindowUnit();
  common::InitGraphDisplayList();
  common::AbortFlag = 0;
}

}  // namespace testsupport
