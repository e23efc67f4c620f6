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

// Every layout of the window measured afresh, the inner ones first: a
// widget shown or hidden tells its group's layout only later, through the
// event loop, and till then the window would be measured with the rows it
// had. A layout once active passes its group's new size up to the next.
void Remeasure(QWidget* window) {
  const QList<QWidget*> inner = window->findChildren<QWidget*>();
  for (auto it = inner.rbegin(); it != inner.rend(); ++it)
    if (QLayout* layout = (*it)->layout(); layout && !(*it)->isWindow()) {
      layout->invalidate();
      layout->activate();
    }
  window->layout()->invalidate();
  window->layout()->activate();
}

// What the window's contents need: its layout's size, the height that at
// the width given.
QSize NeededSize(QWidget* window, int width) {
  QLayout* layout = window->layout();
  if (!layout) return window->size();
  Remeasure(window);
  QSize need = window->sizeHint().expandedTo(window->minimumSizeHint());
  if (layout->hasHeightForWidth()) need.setHeight(std::max(need.height(), layout->totalHeightForWidth(width)));
  return need;
}

// A window whose rows were shown takes the room they ask for: it grows to
// what its layout needs (never shrinks), so that no row is squeezed
// through its texts.
void GrowToContents(QWidget* window) {
  if (!window->layout()) return;
  const int width = std::max(window->width(), NeededSize(window, window->width()).width());
  const QSize grown = window->size().expandedTo(QSize(width, NeededSize(window, width).height()));
  if (grown != window->size()) window->resize(grown);
}

// What was hidden (rows, or a page beside the other) gives its room back:
// the window shrinks by what its contents need less, in either direction,
// not below what they still need, and keeps the rest of a size the user
// gave it.
void GiveBackRoom(QWidget* window, const QSize& before) {
  const auto less = [](int now, int needed, int neededBefore) {
    return needed < neededBefore ? std::max(needed, now - (neededBefore - needed)) : now;
  };
  const int width = less(window->width(), NeededSize(window, window->width()).width(), before.width());
  // Narrower, a wrapped caption may need another line.
  const int need = NeededSize(window, width).height();
  const int height = std::max(need, less(window->height(), need, before.height()));
  if (QSize(width, height) != window->size()) window->resize(width, height);
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
  QSize before;
  for (const auto& [widget, visible] : visible_) {
    if (widget->isHidden() == *visible && *visible) shown = widget->window();
    if (!widget->isHidden() && !*visible && !hidden && widget->window()->isVisible()) {
      hidden = widget->window();
      before = NeededSize(hidden, hidden->width());
    }
    widget->setVisible(*visible);
  }
  for (const auto& [widget, enabled] : enabled_) widget->setEnabled(*enabled);
  if (shown) GrowToContents(shown);
  if (hidden && hidden != shown) GiveBackRoom(hidden, before);
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
