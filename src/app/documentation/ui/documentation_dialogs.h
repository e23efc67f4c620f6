// The documentation windows on Qt: the change-record form (TForm_EinAend),
// the drawing-information form (TForm_zeichInfo) and the document-links
// form (TForm_confDoku). Each shows the field model of its core unit
// (change_list.h, drawing_info_form.h, document_links_form.h) and hands
// OK, Cancel and the buttons to it. QtDocumentationViews opens them
// modally; the windowing start-up installs it.
#pragma once

#include <QDialog>

#include "app/documentation/change_list.h"
#include "app/documentation/document_links_form.h"
#include "app/documentation/documentation_views.h"
#include "app/documentation/drawing_info_form.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace app::ui {

class TForm_EinAend : public QDialog {
  Q_OBJECT

 public:
  // FormCreate and FormShow on change record n.
  explicit TForm_EinAend(int n, QWidget* parent = nullptr);

  // What the fields hold now.
  TChangeEntryFields Fields() const;

  void Button_datumClick();
  void Button_okClick();
  void Button_cancelClick();

 private:
  TChangeEntryFields fields_;
  QLineEdit* Edit_aenderung = nullptr;
  QLineEdit* Edit_datum = nullptr;
  QLineEdit* Edit_bearbeiter = nullptr;
  QPlainTextEdit* Memo_beschreibung = nullptr;
};

class TForm_zeichInfo : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_zeichInfo(QWidget* parent = nullptr);

  TDrawingInfoFields Fields() const;

  QTableWidget* TitleGrid() const { return StringGrid_title; }
  QTableWidget* DocumentGrid() const { return StringGrid_doku; }
  QTableWidget* FreeTextGrid() const { return StringGrid_freetext; }
  QComboBox* TextModeList() const { return ComboBox_textmode; }

  // Button_datum1 .. Button_datum4.
  void DateButtonClick(int row);
  void ComboBox_textmodeChange();
  void Button_okClick();
  void Button_cancelClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Show(const TDrawingInfoFields& fields);

  TDrawingInfoFields fields_;
  bool fitted_ = false;
  QLineEdit* Edit_ersatzfuer = nullptr;
  QLineEdit* Edit_ersetztdurch = nullptr;
  QTableWidget* StringGrid_title = nullptr;
  QTableWidget* StringGrid_doku = nullptr;
  QTableWidget* StringGrid_freetext = nullptr;
  QComboBox* ComboBox_textmode = nullptr;
};

class TForm_confDoku : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_confDoku(QWidget* parent = nullptr);

  // What the ten edits hold now.
  TDocumentLinkEdits Edits() const;
  QLineEdit* ProgramEdit(int n) const { return Edit_prog[n]; }
  QLineEdit* FileEdit(int n) const { return Edit_file[n]; }

  void Button_progClick(int n);
  void Button_fileClick(int n);
  void Button_execProgClick(int n);
  void Button_execFileClick(int n);
  void Button_okClick();
  void Button_cancelClick();

 private:
  void Show(const TDocumentLinkEdits& edits);

  std::string caption_;
  QLineEdit* Edit_prog[DocumentLinkCount + 1] = {};
  QLineEdit* Edit_file[DocumentLinkCount + 1] = {};
};

// The views of the documentation as these dialogs, modal over the active
// window.
class QtDocumentationViews : public DocumentationViews {
 public:
  void ShowChangeEntry(int n) override;
  void ShowDrawingInfo() override;
  void ShowDocumentLinks() override;
};

}  // namespace app::ui
