// The information windows; see information_windows.h.
#include "app/help/ui/information_windows.h"

#include <QApplication>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/graphics_facade.h"
#include "common/ui/form_scaling.h"

namespace app::ui {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

QLabel* AddLabel(QVBoxLayout* layout, const char* name, const std::string& text) {
  auto* label = new QLabel(Q(text));
  label->setObjectName(name);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(label);
  return label;
}

QPushButton* AddOk(QDialog* dialog, QVBoxLayout* layout, const char* name) {
  auto* row = new QHBoxLayout;
  auto* ok = new QPushButton(QStringLiteral("OK"));
  ok->setObjectName(name);
  ok->setDefault(true);
  QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
  row->addStretch();
  row->addWidget(ok);
  layout->addLayout(row);
  return ok;
}

}  // namespace

TSysinfo::TSysinfo(QWidget* parent) : QDialog(parent) {
  setObjectName("Sysinfo");
  auto* layout = new QVBoxLayout(this);
  memo_ = new QPlainTextEdit;
  memo_->setObjectName("Memo1");
  memo_->setReadOnly(true);
  memo_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  memo_->setMinimumSize(520, 300);
  layout->addWidget(memo_);
  ok_ = AddOk(this, layout, "OKButton");
  // FormCreate: placement, the logo in the graphics window, the caption.
  common::ui::ScaleAndCenterForm(this);
  kept_ = std::make_unique<common::KeptPicture>();
  common::ClearGraphics();
  common::GraphLogo();
  setWindowTitle(Q(SysInfoCaption()));
}

void TSysinfo::FormActivate(const SysInfoFacts& facts) {
  QStringList lines;
  for (const std::string& line : SysInfoLines(facts)) lines << Q(line);
  memo_->setPlainText(lines.join('\n'));
  filled_ = true;
}

void TSysinfo::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (filled_) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  FormActivate(CollectSysInfoFacts());
  QApplication::restoreOverrideCursor();
}

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setObjectName("AboutBox");
  const AboutTexts texts = AboutBoxTexts();
  auto* layout = new QVBoxLayout(this);
  QLabel* title = AddLabel(layout, "Label_title", texts.title);
  QFont bold = title->font();
  bold.setBold(true);
  bold.setPointSizeF(bold.pointSizeF() * 1.3);
  title->setFont(bold);
  AddLabel(layout, "ProductName", texts.productName);
  AddLabel(layout, "Label_notice", texts.notice);
  AddLabel(layout, "Comments", texts.comments);
  AddLabel(layout, "Label_fileversion", texts.fileVersion);
  AddOk(this, layout, "OKButton");
  common::ui::ScaleAndCenterForm(this);
  kept_ = std::make_unique<common::KeptPicture>();
  common::ClearGraphics();
  common::GraphLogo();
  setWindowTitle(Q(texts.caption));
}

QLabel* TAboutBox::Label(const char* objectName) const { return findChild<QLabel*>(objectName); }

void ShowSysInfoWindow() {
  TSysinfo window(QApplication::activeWindow());
  window.exec();
}

void ShowAboutWindow() {
  TAboutBox window(QApplication::activeWindow());
  window.exec();
}

}  // namespace app::ui
