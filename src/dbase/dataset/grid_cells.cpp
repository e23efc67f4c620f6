// The window-free decisions of the data grid and the navigator; see
// grid_cells.h.
#include "dbase/dataset/grid_cells.h"

#include "dbase/engine/engine_settings.h"
#include "platform/user_dialogs.h"

namespace dbase {

TCellPaint CellPaint(TTzCellColors colors, const TTzChangeColorsEvent& event, int row, bool deleted,
                     bool highlighted, bool enabled) {
  if (row >= 0 && event) event(row, colors);
  TCellPaint paint{colors.CellColor, colors.CellTextColor};
  if (deleted) paint = {colors.DeletedColor, colors.DeletedTextColor};
  // The highlight comes last: the current row shows as current even when
  // its record is deleted.
  if (highlighted) paint = {colors.HiliteColor, colors.HiliteTextColor};
  if (!enabled) paint.font = clGrayText;
  return paint;
}

bool BooleanCellValue(const TField& field) { return field.Text() == field.TrueText(); }

void ToggleLogicalField(TDataSet& dataset, TField& field) {
  const bool wasTrue = BooleanCellValue(field);
  if (dataset.State() != TDataSetState::Edit && dataset.State() != TDataSetState::Insert) dataset.Edit();
  field.SetText(wasTrue ? field.FalseText() : field.TrueText());
}

std::string DateEditMask() {
  const std::string year = Century ? "9999" : "99";
  if (DateFormat == 1) return year + "/99/99;1; ";
  return "99/99/" + year + ";1; ";
}

std::string CellEntryText(const TField& field, const std::string& typed, char userDecimal) {
  if (field.DataType() != TFieldType::Float || userDecimal == DecimalSeparator || userDecimal == '\0') return typed;
  if (typed.find(DecimalSeparator) != std::string::npos) return typed;
  std::string text = typed;
  const std::size_t sign = text.find(userDecimal);
  if (sign != std::string::npos && text.find(userDecimal, sign + 1) == std::string::npos) text[sign] = DecimalSeparator;
  return text;
}

TLogicalKeyAction LogicalColumnKey(char32_t key) {
  if (key == U' ' || key == U'\r') return TLogicalKeyAction::Toggle;
  if (key == U'\b' || key >= 0x20) return TLogicalKeyAction::Ignore;
  return TLogicalKeyAction::Pass;
}

bool ConfirmBox(const std::string& question) {
  platform::MessageRequest request;
  request.caption = "Confirm";
  request.text = question;
  request.kind = platform::MessageKind::Question;
  request.buttons = platform::MessageButtons::YesNo;
  return platform::Dialogs().ShowMessage(request) == platform::DialogButton::Yes;
}

namespace {

TTzDataSet* ModifiableTable(TDataSet& dataset) {
  auto* table = dynamic_cast<TTzDataSet*>(&dataset);
  if (table == nullptr || !table->Active() || !table->CanModify()) return nullptr;
  return table;
}

}  // namespace

bool NavigatorDelete(TDataSet& dataset, bool confirmDelete, bool confirmRestore, const TConfirm& confirm) {
  TTzDataSet* table = ModifiableTable(dataset);
  if (table == nullptr) return false;
  if (table->IsEmpty()) return true;
  if (table->RecordDeleted()) {
    if (confirmRestore && !confirm("Restore Record ?")) return true;
    table->SetDeleted(false);
  } else {
    if (confirmDelete && !confirm("Delete Record ?")) return true;
    table->SetDeleted(true);
  }
  return true;
}

bool GridCtrlDelete(TDataSet& dataset, bool confirmDelete, const TConfirm& confirm) {
  TTzDataSet* table = ModifiableTable(dataset);
  if (table == nullptr || table->IsEmpty() || !table->RecordDeleted()) return false;
  if (confirmDelete && !confirm("Restore Record ?")) return true;
  table->SetDeleted(false);
  return true;
}

}  // namespace dbase
