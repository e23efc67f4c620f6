// Placement and scaling of the dialog forms, in numbers: where a dialog goes
// over the main window, how pixel sizes follow the zoom and the screen
// resolution, the main window's client size, the unit-system toggle and
// environment variables. The Qt forms apply these numbers through
// common/ui/form_scaling.h. All scaling by a / b multiplies first and
// divides last, in integer arithmetic with the division truncated.
#pragma once

#include <cstdint>
#include <string>

namespace common {

// While 2, forms are left exactly as designed.
extern std::int32_t DialogScaleMode;
// A remembered form position (the auxiliary-image window writes it).
extern std::int32_t StoredFormLeft;
extern std::int32_t StoredFormTop;

struct FormRect {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const FormRect&) const = default;
};

// The size after InputWindowScale: width and height times the scale / 100.
FormRect ScaledFormSize(const FormRect& form);
// Centred over the main window, never left of or above it, and 20 pixels
// lower than exact centring.
FormRect CenteredOver(const FormRect& form, const FormRect& mainWindow);

// Where a window goes that works on a picture without hiding it: beside
// the picture (right of it, left, below, above) within the screen; where
// none of these leaves the picture free, the place that covers least of the
// picture's left half (gear 1 of a pair stands there), then least of it.
// The form's width and height stay.
FormRect BesidePicture(const FormRect& form, const FormRect& picture, const FormRect& screen);

// n times ZoomPercent / 100 (when ZoomPercent >= 2 and not 100), then times
// ScreenDpi / 96 (when ScreenDpi >= 2 and not 96).
int ScalePixels(int n);
int ScalePixels2(int n);
// InputWindowScale * ScreenDpi / 96.
int EffectiveInputScale();
// Screen width + the main window's client width - its width; screen height
// + (client height - height) * 1.9, rounded. 0 for an unknown screen.
int MainClientWidth();
int MainClientHeight();
// UnitSystem 1 (imperial) from any other; 0 (metric) from 1.
void ToggleUnitSystem();
// The value of an environment variable (at most 255 characters), empty
// when it is not set.
void GetEnvText(const std::string& name, std::string& value);

}  // namespace common
