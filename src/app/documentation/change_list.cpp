// The change menu and the change-record form's model; see change_list.h.
#include "app/documentation/change_list.h"

#include <algorithm>

#include "app/documentation/change_protocol.h"
#include "app/documentation/documentation_views.h"
#include "app/documentation/drawing_info_form.h"
#include "common/code_page.h"
#include "common/date_time.h"
#include "common/design_documentation.h"
#include "common/help_text.h"
#include "common/kaldvar.h"
#include "common/number_format.h"
#include "common/small_dialogs.h"
#include "common/text_utils.h"

namespace app {

using common::ChangeRecords;

namespace {

enum ChangeMenuCode : int { MenuAsk = 0, MenuNew, MenuChange, MenuCancel, MenuShow, MenuPrint, MenuInfo, MenuBack };

int AskChangeAction() {
  const char* items[] = {"new", "change", "cancel", "show", "Printout", "Info drawing", "back...."};
  for (int i = 0; i < MenuBack; ++i) common::TextLines[i + 1] = items[i];
  common::SetHelpNumber(2600);
  int choice = MenuShow;
  common::SelectFromList("Changes", MenuBack, choice);
  if (common::AbortFlag) return MenuBack;
  return choice;
}

// A display text as a record text: code page 850, at most n characters.
std::string StoredText(const std::string& display, int n) { return common::LeftText(common::AnsiToOemText(display), n); }

}  // namespace

void ChangeListMenu(int code) {
  if (code == MenuAsk) code = AskChangeAction();
  switch (code) {
    case MenuNew:
      if (ChangeRecords.Count >= common::MaxChangeRecords) {
        common::ShowError("Max. Changes = " + common::IntToText(common::MaxChangeRecords) + " !");
        return;
      }
      // The record counts from here on, even when its form is cancelled.
      ++ChangeRecords.Count;
      ChangeRecords.Records[ChangeRecords.Count].Date = common::TodayText();
      // A cancelled form shows no protocol: none is opened.
      ShowChangeEntryForm(ChangeRecords.Count);
      if (!common::AbortFlag) WriteChangeProtocol(1);
      break;
    case MenuChange:
      if (ChangeRecords.Count == 0) return;
      ShowChangeEntryForm(ChangeRecords.Count);
      if (!common::AbortFlag) WriteChangeProtocol(1);
      break;
    case MenuCancel:
      if (ChangeRecords.Count > 0) --ChangeRecords.Count;
      WriteChangeProtocol(1);
      break;
    case MenuShow: WriteChangeProtocol(1); break;
    case MenuPrint: WriteChangeProtocol(0); break;
    case MenuInfo: ShowDrawingInfoForm(); break;
    default: break;
  }
}

void ShowChangeEntryForm(int n) {
  if (n < 1 || n > common::MaxChangeRecords) return;
  DocumentationWindows().ShowChangeEntry(n);
}

TChangeEntryFields ChangeEntryFieldsFor(int n) {
  n = std::clamp(n, 1, common::MaxChangeRecords);
  const common::TChangeRecord& record = ChangeRecords.Records[n];
  TChangeEntryFields fields;
  fields.index = n;
  fields.caption = "Modification " + common::IntToText(n);
  fields.dateButtonCaption = "<" + common::TodayText();
  fields.modification = common::OemToDisplayText(record.Modification);
  fields.date = common::OemToDisplayText(record.Date);
  fields.responsible = common::OemToDisplayText(record.Responsible);
  fields.description = common::OemToDisplayText(record.Description);
  return fields;
}

void SetChangeDateToday(TChangeEntryFields& fields) { fields.date = common::TodayText(); }

void StoreChangeEntry(const TChangeEntryFields& fields) {
  common::AbortFlag = 0;
  const int n = std::clamp(fields.index, 1, common::MaxChangeRecords);
  common::TChangeRecord& record = ChangeRecords.Records[n];
  record.Modification = StoredText(fields.modification, ChangeModificationLength);
  record.Date = StoredText(fields.date, ChangeDateLength);
  record.Responsible = StoredText(fields.responsible, ChangeResponsibleLength);
  record.Description = StoredText(fields.description, ChangeDescriptionLength);
}

void CancelChangeEntry() { common::AbortFlag = 1; }

}  // namespace app
