// The picture on the screen kept while a window draws its own there (the
// information windows show the logo) and put back when that window closes:
// the display list, the window's viewport, world window and zoom, so the
// user finds the picture as it was.
//
//   { KeptPicture kept;  ClearGraphics();  GraphLogo();  ... }  // back here
#pragma once

#include <string>
#include <vector>

#include "common/graphics_settings.h"
#include "common/graphics_window.h"

namespace common {

class KeptPicture {
 public:
  KeptPicture();
  ~KeptPicture();
  KeptPicture(const KeptPicture&) = delete;
  KeptPicture& operator=(const KeptPicture&) = delete;
  // The picture drawn since stays on the screen.
  void Forget() { forgotten_ = true; }

 private:
  bool forgotten_ = false;
  TDisplayList list_;
  TGraphWindowState window_;
  std::int32_t zoomLeft_, zoomRight_, zoomTop_, zoomBottom_;
  Real viewX1_, viewX2_, viewY1_, viewY2_;
  bool keepAspect_;
  Real aspectFactor_;
};

}  // namespace common
