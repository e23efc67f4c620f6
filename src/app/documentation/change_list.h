// The change list of a design: the change menu (new, change, withdraw,
// show, print, drawing information) and the form of one change record
// (TForm_EinAend). The form's field model is here: what it shows of record
// n, its date button, and what OK stores; the window itself is a view
// (documentation_views.h). The records are common::ChangeRecords
// (common/design_documentation.h); the protocol is change_protocol.h.
#pragma once

#include <string>

namespace app {

// The change menu. code 0 asks ("Changes"); 1 new, 2 change the last
// record, 3 withdraw the last record, 4 show the protocol, 5 print it (the
// user chooses the device), 6 the drawing-information form.
void ChangeListMenu(int code);

// TForm_EinAend for record n (1..25), shown modally.
void ShowChangeEntryForm(int n);

// What the change form shows: record n with its texts as display text (the
// date as stored).
struct TChangeEntryFields {
  int index = 1;
  std::string caption;            // "Modification" + " " + n
  std::string dateButtonCaption;  // "<" + today's date
  std::string modification;       // "text of changes", at most 20 characters
  std::string date;               // "Date", at most 10
  std::string responsible;        // "responsible", at most 5
  std::string description;        // "Description", at most 255, may hold line breaks
};
inline constexpr int ChangeModificationLength = 20;
inline constexpr int ChangeDateLength = 10;
inline constexpr int ChangeResponsibleLength = 5;
inline constexpr int ChangeDescriptionLength = 255;

TChangeEntryFields ChangeEntryFieldsFor(int n);
// Button_datum: the date field := today's date.
void SetChangeDateToday(TChangeEntryFields& fields);
// OK: AbortFlag := 0; record n := the four fields (converted to code page
// 850, each cut to its length).
void StoreChangeEntry(const TChangeEntryFields& fields);
// Cancel: AbortFlag := 1; the record stays.
void CancelChangeEntry();

}  // namespace app
