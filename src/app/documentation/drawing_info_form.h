// The drawing-information form (TForm_zeichInfo): the title-block texts of
// the design and the free texts placed on its sheets. The form has two
// shapes by the configured title-block format (FrameStyle): the DIN form
// (formats 0 and 3) with four approval rows and the replacement texts, and
// the ISO 7200 form (formats 1 and 2) with three approval rows and the
// document fields. The field model is here: what the form shows, its date
// buttons and what OK stores; the window is a view (documentation_views.h).
// Records: common::TitleBlock (common/design_documentation.h).
#pragma once

#include <string>
#include <vector>

#include "common/range_array.h"

namespace app {

// One row of the free-text grid, as display text.
struct TFreeTextRow {
  std::string x, y, h, phi, text;
  bool operator==(const TFreeTextRow&) const = default;
};

// One approval row of the title grid: its title and its date and name.
struct TTitleRow {
  std::string title;
  std::string date, name;
  bool operator==(const TTitleRow&) const = default;
};

inline constexpr int FreeTextRows = 8;

struct TDrawingInfoFields {
  bool isoForm = false;
  std::string caption;         // "Info drawing" + " DIN 6771" or " ISO 7200"
  std::string dateButtonCaption;  // "< " + today's date (DIN form)
  std::string dateHeader;      // "Date" (DIN) or " (Date)" (ISO)
  std::string replacementFor;  // text 7 (DIN form), at most 15 characters
  std::string replacedBy;      // text 8
  // DIN: "Compl.", "Check", "Stand." and the release label with texts
  // 1/2, 3/4, 5/6, 9/10; ISO: "Created by", "Approved by", "Technical
  // reference" with texts 1 to 6.
  std::vector<TTitleRow> titleRows;
  // ISO form: "Responsible dept.", "Document type", "Document status" with
  // texts 11 to 13 (empty titles in the DIN form, where they are hidden).
  RangeArray<TTitleRow, 1, 3> documentRows{};
  RangeArray<TFreeTextRow, 1, FreeTextRows> freeTexts{};
  int textMode = 0;  // index of "A4", "A3", "A4+A3", "-"
};

// The text-mode list and whether a mode shows the free-text grid ("-"
// hides it).
extern const RangeArray<std::string, 0, 3> FreeTextModeNames;
bool FreeTextGridShown(int textMode);

// FormCreate and FormShow: the records as the form shows them.
TDrawingInfoFields DrawingInfoFieldsFromRecords();
// A date button: today's date into the date of title row `row` (1..4).
void SetTitleRowDateToday(TDrawingInfoFields& fields, int row);
// OK: the numbers x, y, h and phi of the free-text rows it reads are
// checked first (common/value_edit.h): a text that is no number, or no
// finite one, is refused with a message naming it ("x of free text 2") and
// shows its value from the records again; nothing is stored, the form stays
// open, and false is returned. An empty number is 0, as before. Then
// AbortFlag := 0 and the fields into TitleBlock: texts 7 and 8, the title
// rows, the free texts (row 1 always, then each next row while its text is
// not blank), the text mode, and in the ISO form texts 11 to 13.
bool StoreDrawingInfoFields(TDrawingInfoFields& fields);
// Cancel: AbortFlag := 1; nothing is stored.
void CancelDrawingInfo();

// Shows the form modally (the Documentation menu, the change menu).
void ShowDrawingInfoForm();

}  // namespace app
