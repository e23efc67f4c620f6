// The windows of the design inputs as the core sees them: the gear
// geometry, the tool profile with its complement, the drive and the
// rotation-angle window. Each dialog's state and handlers are a class of the
// core (gear_geometry_input.h, tool_profile_input.h, load_input.h,
// rotation_angle_window.h); a view only shows that state modally and calls
// the handlers for the user's clicks. The Qt views are in
// ui/design_input_dialogs.h; without them every dialog ends as
// cancelled, so a run without windows never waits.
#pragma once

namespace app {

class GearGeometryDialog;
class ToolProfileDialog;
class ComplementDialog;
class LoadDialog;
class RotationAngleWindow;

class DesignInputViews {
 public:
  virtual ~DesignInputViews() = default;
  // Modal; returns once the dialog's OK or Cancel has run (a window closed
  // otherwise counts as Cancel).
  virtual void RunGeometry(GearGeometryDialog& dialog) = 0;
  virtual void RunToolProfile(ToolProfileDialog& dialog) = 0;
  virtual void RunComplement(ComplementDialog& dialog) = 0;
  virtual void RunLoad(LoadDialog& dialog) = 0;
  // Modal; calls the window's FormShow as it appears. The window has no
  // Cancel, its close button only closes it.
  virtual void RunRotationAngle(RotationAngleWindow& window) = 0;
};

// Installs the views (not owned); nullptr returns to the default, which
// cancels every dialog and shows no rotation-angle window (AbortFlag set).
DesignInputViews* SetDesignInputViews(DesignInputViews* views);
DesignInputViews& DesignViews();

// How a dialog ended.
enum class DialogResult { Open, Ok, Cancelled };

}  // namespace app
