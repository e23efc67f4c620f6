// Form placement and scaling on Qt; see form_scaling.h.
#include "common/ui/form_scaling.h"

#include <QApplication>
#include <QFont>
#include <QPointer>
#include <QWidget>

#include "common/form_placement.h"
#include "common/graphics_settings.h"
#include "common/kaldvar.h"

namespace common::ui {

namespace {

QPointer<QWidget>& PlacementMain() {
  static QPointer<QWidget> main;
  return main;
}

QWidget* MainWindowOf(QWidget* form) {
  if (QWidget* main = PlacementMain(); main && main != form) return main;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w != form && w->isVisible() && w->inherits("QMainWindow")) return w;
  return nullptr;
}

// The form's contents scaled by a / b: its font, and with it the layouts
// of its controls. Fixed sizes of child controls are scaled as well.
void ScaleContents(QWidget* form, int a, int b) {
  if (a == b || b == 0) return;
  QFont font = form->font();
  if (font.pointSizeF() > 0)
    font.setPointSizeF(font.pointSizeF() * a / b);
  else if (font.pixelSize() > 0)
    font.setPixelSize(font.pixelSize() * a / b);
  form->setFont(font);
  for (QWidget* child : form->findChildren<QWidget*>()) {
    const QSize min = child->minimumSize(), max = child->maximumSize();
    if (min == max && min.isValid() && !min.isEmpty()) child->setFixedSize(min.width() * a / b, min.height() * a / b);
  }
}

void Resize(QWidget* form, int a, int b) {
  // A form never sized by its code has Qt's default size, not its own: it
  // takes the size its controls need.
  const QSize size =
      form->testAttribute(Qt::WA_Resized) ? form->size().expandedTo(form->sizeHint()) : form->sizeHint();
  form->resize(static_cast<int>(static_cast<long long>(a) * size.width() / b),
               static_cast<int>(static_cast<long long>(a) * size.height() / b));
}

void PlaceCentred(QWidget* form) {
  QWidget* main = MainWindowOf(form);
  if (!main) return;
  const QRect m = main->frameGeometry();
  const FormRect placed = CenteredOver({0, 0, form->frameGeometry().width(), form->frameGeometry().height()},
                                       {m.left(), m.top(), m.width(), m.height()});
  form->move(placed.left, placed.top);
}

}  // namespace

void SetPlacementMainWindow(QWidget* mainWindow) { PlacementMain() = mainWindow; }

void ScaleAndCenterForm(QWidget* form) {
  if (!form || DialogScaleMode == 2) return;
  ScaleContents(form, ZoomPercent, 100);
  Resize(form, InputWindowScale, 100);
  PlaceCentred(form);
}

void PlaceFormStored(QWidget* form) {
  if (!form || DialogScaleMode == 2) return;
  ScaleContents(form, ZoomPercent, 100);
  Resize(form, InputWindowScale, 100);
  form->move(StoredFormLeft, StoredFormTop);
}

void ScaleForm(QWidget* form) {
  if (!form || DialogScaleMode == 2) return;
  Resize(form, InputWindowScale, 100);
  ScaleContents(form, ZoomPercent, 100);
}

void ScaleFormDpi(QWidget* form) {
  if (!form || DialogScaleMode == 2) return;
  Resize(form, ScreenDpi > 0 ? ScreenDpi : 96, 96);
  ScaleContents(form, ZoomPercent, 100);
}

void InitMainFormLayout(QWidget* form) {
  if (!form || DialogScaleMode == 2) return;
  form->resize(HorizontalPixels + 1, VerticalPixels + 1);
  form->move(0, 0);
  form->setToolTipDuration(100000);
  QPalette palette = form->palette();
  const ColourValue c = ScreenGraphicsSettings.BackgroundColour;
  palette.setColor(QPalette::Window, QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                                            static_cast<int>((c >> 16) & 0xFF)));
  form->setPalette(palette);
  ScaleContents(form, ZoomPercent, 100);
}

}  // namespace common::ui
