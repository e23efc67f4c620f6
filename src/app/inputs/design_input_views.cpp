// The default views of the design inputs; see design_input_views.h.
#include "app/inputs/design_input_views.h"

#include "app/inputs/gear_geometry_input.h"
#include "app/inputs/load_input.h"
#include "app/inputs/tool_profile_input.h"
#include "common/kaldvar.h"

namespace app {

namespace {

class CancellingViews : public DesignInputViews {
 public:
  void RunGeometry(GearGeometryDialog& dialog) override { dialog.Button_cancelClick(); }
  void RunToolProfile(ToolProfileDialog& dialog) override { dialog.Button_cancelClick(); }
  void RunComplement(ComplementDialog& dialog) override { dialog.Button_cancelClick(); }
  void RunLoad(LoadDialog& dialog) override { dialog.Button_cancelClick(); }
  void RunRotationAngle(RotationAngleWindow&) override { common::AbortFlag = 1; }
};

CancellingViews& Cancelling() {
  static CancellingViews cancelling;
  return cancelling;
}

DesignInputViews*& Current() {
  static DesignInputViews* current = &Cancelling();
  return current;
}

}  // namespace

DesignInputViews* SetDesignInputViews(DesignInputViews* views) {
  DesignInputViews* previous = Current();
  Current() = views ? views : &Cancelling();
  return previous;
}

DesignInputViews& DesignViews() { return *Current(); }

}  // namespace app
