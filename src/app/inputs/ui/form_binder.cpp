// The widget-to-state tie of the input dialogs; see form_binder.h.
#include "app/inputs/ui/form_binder.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <algorithm>

namespace app::ui {

namespace {

// A window whose rows were shown takes the room they ask for: it grows to
// what its layout needs (never shrinks), so that no row is squeezed
// through its texts.
void GrowToContents(QWidget* window) {
  QLayout* layout = window->layout();
  if (!layout) return;
  layout->invalidate();
  layout->activate();
  QSize need = window->sizeHint().expandedTo(window->minimumSizeHint());
  const int width = std::max(window->width(), need.width());
  if (layout->hasHeightForWidth()) need.setHeight(std::max(need.height(), layout->totalHeightForWidth(width)));
  const QSize grown = window->size().expandedTo(QSize(width, need.height()));
  if (grown != window->size()) window->resize(grown);
}

// The height the window's contents need at its width.
int NeededHeight(QWidget* window) {
  QLayout* layout = window->layout();
  if (!layout) return window->height();
  layout->invalidate();
  layout->activate();
  int need = window->sizeHint().expandedTo(window->minimumSizeHint()).height();
  if (layout->hasHeightForWidth()) need = std::max(need, layout->totalHeightForWidth(window->width()));
  return need;
}

// Rows that were hidden give their height back: the window shrinks by what
// its contents need less, not below what they still need, and keeps the
// rest of a height the user gave it.
void GiveBackHeight(QWidget* window, int heightBefore) {
  const int need = NeededHeight(window);
  if (need >= heightBefore) return;
  const int height = std::max(need, window->height() - (heightBefore - need));
  if (height < window->height()) window->resize(window->width(), height);
}

}  // namespace

void FormBinder::Edit(QLineEdit* edit, std::string* text) { edits_.emplace_back(edit, text); }
void FormBinder::Check(QCheckBox* box, bool* state) { checks_.emplace_back(box, state); }
void FormBinder::Combo(QComboBox* combo, int* index) { combos_.emplace_back(combo, index); }
void FormBinder::Radio(QButtonGroup* group, int* id) { radios_.emplace_back(group, id); }
void FormBinder::Label(QLabel* label, const std::string* text) { labels_.emplace_back(label, text); }
void FormBinder::Visible(QWidget* widget, const bool* visible) { visible_.emplace_back(widget, visible); }
void FormBinder::Enabled(QWidget* widget, const bool* enabled) { enabled_.emplace_back(widget, enabled); }

void FormBinder::Pull() const {
  for (const auto& [edit, text] : edits_) *text = edit->text().toStdString();
  for (const auto& [box, state] : checks_) *state = box->isChecked();
  for (const auto& [combo, index] : combos_) *index = combo->currentIndex();
  for (const auto& [group, id] : radios_) *id = group->checkedId();
}

void FormBinder::Push() const {
  // Showing values is no user input: the change signals stay quiet, and an
  // unchanged edit keeps its caret.
  for (const auto& [edit, text] : edits_) {
    const QString shown = QString::fromStdString(*text);
    if (edit->text() != shown) {
      const QSignalBlocker quiet(edit);
      edit->setText(shown);
    }
  }
  for (const auto& [box, state] : checks_) {
    const QSignalBlocker quiet(box);
    box->setChecked(*state);
  }
  for (const auto& [combo, index] : combos_) {
    const QSignalBlocker quiet(combo);
    combo->setCurrentIndex(*index);
  }
  for (const auto& [group, id] : radios_) {
    if (QAbstractButton* button = group->button(*id)) {
      const QSignalBlocker quiet(button);
      button->setChecked(true);
    }
  }
  for (const auto& [label, text] : labels_) label->setText(QString::fromStdString(*text));
  QWidget* shown = nullptr;
  QWidget* hidden = nullptr;
  int heightBefore = 0;
  for (const auto& [widget, visible] : visible_) {
    if (widget->isHidden() == *visible && *visible) shown = widget->window();
    if (!widget->isHidden() && !*visible && !hidden && widget->window()->isVisible()) {
      hidden = widget->window();
      heightBefore = NeededHeight(hidden);
    }
    widget->setVisible(*visible);
  }
  for (const auto& [widget, enabled] : enabled_) widget->setEnabled(*enabled);
  if (shown) GrowToContents(shown);
  if (hidden && hidden != shown) GiveBackHeight(hidden, heightBefore);
}

void FormBinder::Act(const std::function<void()>& action) const {
  Pull();
  action();
  Push();
}

QPushButton* NewButton(QWidget* parent, const QString& name, const QString& caption) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setAutoDefault(false);
  return button;
}

QLineEdit* NewEdit(QWidget* parent, const QString& name) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  return edit;
}

QLabel* NewLabel(QWidget* parent, const QString& name, const QString& caption) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(name);
  return label;
}

QLabel* WrapCaption(QLabel* label) {
  label->setWordWrap(true);
  label->setMaximumWidth(label->fontMetrics().horizontalAdvance("Average peak-to-valley heig"));
  return label;
}

QPushButton* NewNarrowButton(QWidget* parent, const QString& name, const QString& caption) {
  QPushButton* button = NewButton(parent, name, caption);
  const QString sized = caption.size() < 3 ? QString("<<") : caption;
  button->setFixedWidth(button->fontMetrics().horizontalAdvance(sized) + 14);
  return button;
}

QPushButton* NewProposalButton(QWidget* parent, const QString& name) { return NewNarrowButton(parent, name, "<"); }

QLineEdit* NewNumberEdit(QWidget* parent, const QString& name) {
  QLineEdit* edit = NewEdit(parent, name);
  edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance("00000000") + 10);
  return edit;
}

}  // namespace app::ui
