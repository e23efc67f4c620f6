// The picture kept and put back; see kept_picture.h.
#include "common/kept_picture.h"

#include "common/graphics_facade.h"

namespace common {

KeptPicture::KeptPicture()
    : list_(DisplayList),
      window_(GraphWindowState),
      zoomLeft_(ScreenGraphicsSettings.ZoomLeft),
      zoomRight_(ScreenGraphicsSettings.ZoomRight),
      zoomTop_(ScreenGraphicsSettings.ZoomTop),
      zoomBottom_(ScreenGraphicsSettings.ZoomBottom),
      viewX1_(ScreenGraphicsSettings.ViewX1),
      viewX2_(ScreenGraphicsSettings.ViewX2),
      viewY1_(ScreenGraphicsSettings.ViewY1),
      viewY2_(ScreenGraphicsSettings.ViewY2),
      keepAspect_(ScreenGraphicsSettings.KeepAspect),
      aspectFactor_(ScreenGraphicsSettings.AspectFactor) {}

KeptPicture::~KeptPicture() {
  if (forgotten_) return;
  // A list of its own from here: the screen draws it afresh.
  FKaldgra.Clear();
  DisplayList = list_;
  GraphWindowState = window_;
  auto& g = ScreenGraphicsSettings;
  g.ZoomLeft = zoomLeft_;
  g.ZoomRight = zoomRight_;
  g.ZoomTop = zoomTop_;
  g.ZoomBottom = zoomBottom_;
  g.ViewX1 = viewX1_;
  g.ViewX2 = viewX2_;
  g.ViewY1 = viewY1_;
  g.ViewY2 = viewY2_;
  g.KeepAspect = keepAspect_;
  g.AspectFactor = aspectFactor_;
  FKaldgra.ClearViewPort();
}

}  // namespace common
