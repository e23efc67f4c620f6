// The insert transform of block replays; see insert_transform.h.
#include "drawing/cad/insert_transform.h"

#include <string>

#include "common/cad_settings.h"
#include "common/kaldvar.h"
#include "common/numeric_routines.h"
#include "common/small_dialogs.h"
#include "common/text_utils.h"
#include "drawing/cad/cad_output.h"
#include "drawing/cad/cad_state.h"

namespace drawing {

using common::AbortFlag;

TDxfInsertTransform DxfTransform;
std::int32_t DxfNestingLevel = 0;

int DxfLayerPen(const std::string& layer) {
  for (int n = 0; n <= 5; ++n)
    if (layer == common::CadSettings.CadLayerNames[n]) return n;
  long long pen = 0;
  const std::string trimmed = common::TrimBlanks(layer);
  if (trimmed.empty() || trimmed.find_first_not_of("0123456789") != std::string::npos || trimmed.size() > 9) return 0;
  pen = std::stoll(trimmed);
  return static_cast<int>(pen);
}

bool EnterDxfInsert(Real x, Real y, Real angle, Real sx, Real sy) {
  Real dx, dy;
  MapDxfPoint(x, y, dx, dy);
  DxfTransform.dx = dx;
  DxfTransform.dy = dy;
  DxfTransform.angle += angle;
  DxfTransform.sx *= sx;
  DxfTransform.sy *= sy;
  ++DxfNestingLevel;
  if (DxfNestingLevel > MaxDxfNesting) {
    common::ShowError("error blockno." + std::to_string(DxfNestingLevel));
    AbortFlag = 1;
    return false;
  }
  return true;
}

void MapDxfPoint(Real x, Real y, Real& xr, Real& yr) {
  common::ScaleRotateTranslate(xr, yr, DxfTransform.sx, DxfTransform.sy, DxfTransform.dx, DxfTransform.dy,
                               DxfTransform.angle, x, y);
}

void DrawWithinDxfInsert(Real x, Real y, Real angle, Real sx, Real sy, const std::function<void()>& draw) {
  const TDxfInsertTransform saved = DxfTransform;
  // The block's coordinates are placed by the insert alone, as a DXF reader
  // places a block: neither the drawing origin nor the text alignment of the
  // picture applies to them again.
  const Real originX = CadDrawing.CadOriginX, originY = CadDrawing.CadOriginY;
  const int alignH = CadDrawing.CadTextAlignH, alignV = CadDrawing.CadTextAlignV;
  CadSetOrigin(0, 0);
  SetCadTextAlign(0, 0);
  if (EnterDxfInsert(x, y, angle, sx, sy)) draw();
  --DxfNestingLevel;
  DxfTransform = saved;
  CadSetOrigin(originX, originY);
  SetCadTextAlign(alignH, alignV);
}

}  // namespace drawing
