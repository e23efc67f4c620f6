// The drawing-information form's model; see drawing_info_form.h.
#include "app/documentation/drawing_info_form.h"

#include <algorithm>

#include "app/documentation/documentation_views.h"
#include "common/cad_settings.h"
#include "common/code_page.h"
#include "common/date_time.h"
#include "common/design_documentation.h"
#include "common/kaldvar.h"
#include "common/number_format.h"
#include "common/text_utils.h"
#include "common/value_edit.h"

namespace app {

using common::TitleBlock;

namespace {

bool IsoForm() { return common::FrameStyle == 1 || common::FrameStyle == 2; }

std::string Shown(const std::string& text) { return common::OemToDisplayText(text); }
std::string Stored(const std::string& display) { return common::AnsiToOemText(display); }

// The free-text numbers keep six significant digits in the form, so that
// OK does not move a text the user placed.
std::string NumberText(Real x) { return common::RealToText6(x); }

// Date and name text numbers of the title rows.
struct RowTexts {
  int date, name;
};
constexpr RowTexts DinRows[] = {{common::TitleFirstDate, common::TitleFirstName},
                                {common::TitleSecondDate, common::TitleSecondName},
                                {common::TitleThirdDate, common::TitleThirdName},
                                {common::TitleFourthDate, common::TitleFourthName}};

}  // namespace

const RangeArray<std::string, 0, 3> FreeTextModeNames = [] {
  RangeArray<std::string, 0, 3> names;
  names[0] = "A4";
  names[1] = "A3";
  names[2] = "A4+A3";
  names[3] = "-";
  return names;
}();

bool FreeTextGridShown(int textMode) { return textMode != common::FreeTextsNone; }

TDrawingInfoFields DrawingInfoFieldsFromRecords() {
  TDrawingInfoFields f;
  const auto& texts = TitleBlock.Texts;
  f.isoForm = IsoForm();
  f.caption = std::string("Info drawing") + (f.isoForm ? " ISO 7200" : " DIN 6771");
  f.dateButtonCaption = "< " + common::TodayText();
  f.dateHeader = f.isoForm ? " (Date)" : "Date";
  f.replacementFor = Shown(texts[common::TitleReplacementFor]);
  f.replacedBy = Shown(texts[common::TitleReplacedBy]);
  const std::vector<std::string> titles =
      f.isoForm ? std::vector<std::string>{"Created by", "Approved by", "Technical reference"}
                : std::vector<std::string>{"Compl.", "Check", "Stand.", common::CadSettings.CadApprovalText};
  for (std::size_t i = 0; i < titles.size(); ++i)
    f.titleRows.push_back({Shown(titles[i]), Shown(texts[DinRows[i].date]), Shown(texts[DinRows[i].name])});
  if (f.isoForm) {
    const char* documentTitles[] = {"Responsible dept.", "Document type", "Document status"};
    for (int i = 1; i <= 3; ++i)
      f.documentRows[i] = {documentTitles[i - 1], "", Shown(texts[common::TitleResponsibleDept + i - 1])};
  }
  const int count = std::min<int>(TitleBlock.FreeTextCount, common::MaxFreeTexts);
  for (int i = 1; i <= count; ++i) {
    const common::TFreeText& t = TitleBlock.FreeTexts[i];
    f.freeTexts[i] = {NumberText(t.x), NumberText(t.y), NumberText(t.h), NumberText(t.phi), Shown(t.text)};
  }
  f.textMode = std::clamp<int>(TitleBlock.TextMode, 0, common::FreeTextsNone);
  return f;
}

void SetTitleRowDateToday(TDrawingInfoFields& fields, int row) {
  if (row >= 1 && row <= static_cast<int>(fields.titleRows.size())) fields.titleRows[row - 1].date = common::TodayText();
}

namespace {

// The numbers of a free-text row as the form showed them from the records
// (a row beyond the stored texts is empty).
TFreeTextRow ShownFreeText(int i) {
  if (i > std::min<int>(TitleBlock.FreeTextCount, common::MaxFreeTexts)) return {};
  const common::TFreeText& t = TitleBlock.FreeTexts[i];
  return {NumberText(t.x), NumberText(t.y), NumberText(t.h), NumberText(t.phi), ""};
}

// The rows OK reads: row 1 always, then each next row while its text holds
// more than blanks.
int FreeTextRowsRead(const TDrawingInfoFields& f) {
  int read = 1;
  while (read < FreeTextRows && !common::RemoveBlanks(f.freeTexts[read + 1].text).empty()) ++read;
  return read;
}

bool DrawingInfoNumbersAccepted(TDrawingInfoFields& f) {
  const int read = FreeTextRowsRead(f);
  for (int i = 1; i <= read; ++i) {
    TFreeTextRow& row = f.freeTexts[i];
    const TFreeTextRow shown = ShownFreeText(i);
    const std::string of = " of free text " + common::IntToText(i);
    if (!common::AcceptNumberText("x" + of, row.x, shown.x) || !common::AcceptNumberText("y" + of, row.y, shown.y) ||
        !common::AcceptNumberText("h" + of, row.h, shown.h) ||
        !common::AcceptNumberText("phi" + of, row.phi, shown.phi))
      return false;
  }
  return true;
}

}  // namespace

bool StoreDrawingInfoFields(TDrawingInfoFields& f) {
  if (!DrawingInfoNumbersAccepted(f)) return false;
  common::AbortFlag = 0;
  auto& texts = TitleBlock.Texts;
  texts[common::TitleReplacementFor] = common::LeftText(Stored(f.replacementFor), common::TitleReplacementLength);
  texts[common::TitleReplacedBy] = common::LeftText(Stored(f.replacedBy), common::TitleReplacementLength);
  // The rows the form has; the ISO form has no fourth row, and the release
  // texts it does not show stay as they are.
  const int rows = std::min<int>(static_cast<int>(f.titleRows.size()), 4);
  for (int i = 0; i < rows; ++i) {
    texts[DinRows[i].date] = Stored(f.titleRows[i].date);
    texts[DinRows[i].name] = Stored(f.titleRows[i].name);
  }
  const int read = FreeTextRowsRead(f);
  for (int i = 1; i <= read; ++i) {
    const TFreeTextRow& row = f.freeTexts[i];
    common::TFreeText& t = TitleBlock.FreeTexts[i];
    t.x = common::TextToReal(row.x);
    t.y = common::TextToReal(row.y);
    t.h = common::TextToReal(row.h);
    t.phi = common::TextToReal(row.phi);
    t.text = Stored(row.text);
  }
  TitleBlock.FreeTextCount = static_cast<std::uint16_t>(read);
  TitleBlock.TextMode = std::clamp(f.textMode, 0, static_cast<int>(common::FreeTextsNone));
  if (f.isoForm)
    for (int i = 1; i <= 3; ++i) texts[common::TitleResponsibleDept + i - 1] = Stored(f.documentRows[i].name);
  return true;
}

void CancelDrawingInfo() { common::AbortFlag = 1; }

void ShowDrawingInfoForm() { DocumentationWindows().ShowDrawingInfo(); }

}  // namespace app
