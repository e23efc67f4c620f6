// Every dialog form calls one of these when it is created, so that all
// windows follow the user's zoom (ZoomPercent), the extra dialog size
// (InputWindowScale) and the screen resolution alike, and appear centred
// over the main window. The numbers come from common/form_placement.h;
// nothing changes while DialogScaleMode is 2.
#pragma once

class QWidget;

namespace common::ui {

// Contents scaled by ZoomPercent / 100, size by InputWindowScale / 100,
// then centred over the main window (20 pixels lower than exact centring).
void ScaleAndCenterForm(QWidget* form);
// The same, placed at (StoredFormLeft, StoredFormTop).
void PlaceFormStored(QWidget* form);
// Size by InputWindowScale / 100, contents by ZoomPercent / 100.
void ScaleForm(QWidget* form);
// Size by ScreenDpi / 96, contents by ZoomPercent / 100.
void ScaleFormDpi(QWidget* form);
// The main window: client size HorizontalPixels + 1 by VerticalPixels + 1
// at (0, 0), contents by ZoomPercent / 100, tool tips that stay.
void InitMainFormLayout(QWidget* form);

// The main window forms are centred over (the application's main window
// unless set).
void SetPlacementMainWindow(QWidget* mainWindow);

}  // namespace common::ui
