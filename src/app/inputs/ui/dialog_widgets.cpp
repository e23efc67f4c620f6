// Shared dialog pieces; see dialog_widgets.h.
#include "app/inputs/ui/dialog_widgets.h"

#include <QBoxLayout>
#include <QPushButton>

namespace app::ui {

QPushButton* AddButton(QBoxLayout* layout, QWidget* parent, const char* name, const QString& caption) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setAutoDefault(false);
  layout->addWidget(button);
  return button;
}

}  // namespace app::ui
