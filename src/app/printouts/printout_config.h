// The printout of the picture on the screen (File, Print): the dialog
// TForm_printconf sets the scales, origin, orientation, colour mode and
// border line of the graphics printout (common::PrinterGraphicsSettings),
// loads and stores them as named presets in the table "printout.dbf", and
// on OK prints the picture. The field model is here: what the dialog shows
// when it is created, the reading of its controls, the view resets before
// the print, and the preset table through the procedural table layer
// (dbase/table/table_layer.h). The window with its printer is a view
// (ui/printout_config_dialog.h); printing onto the printer is the
// graphics window's (common/ui/graphics_view.h).
#pragma once

#include <functional>
#include <string>

namespace app {

// The controls of the dialog, as display text.
struct TPrintConfigFields {
  std::string scaleX, scaleY;    // Edit_scalex, Edit_scaley
  std::string originX, originY;  // Edit_xorigin, Edit_yorigin
  bool border = false;           // CheckBox_umrandung
  bool fitLimits = false;        // CheckBox_anpassen, acts on the print only
  int orientationItem = 0;       // RadioGroup_hochquer: 0 portrait, 1 landscape
  int colourItem = 1;            // RadioGroup_printmono: 0 monochrome, 1 colour
  bool operator==(const TPrintConfigFields&) const = default;
};

// FormCreate: the working settings proposed by the kind of picture on the
// screen (a sheet: 1.0 by 1.0 at 0/0, portrait, no border line; a drawing
// or a diagram: the configured screendump values), then the controls.
TPrintConfigFields PrintConfigFieldsOnCreate();
// The controls showing the working settings as they are.
TPrintConfigFields PrintConfigFieldsFromSettings();
// The four edits checked before OK prints or a preset is stored
// (common/value_edit.h): the scales are numbers, the origins whole numbers.
// A text that is no number, or no finite one, is refused with a message
// naming its field ("Scale x: "abc" is not a number !") and shows its text
// of `shown` (what the dialog last showed) again; false then, and the
// dialog stays open. An empty edit passes and reads as 0, as before.
bool AcceptPrintConfigFields(TPrintConfigFields& fields, const TPrintConfigFields& shown);
// The controls into the working settings (checked ones: an empty edit reads
// as 0).
void ReadPrintSettings(const TPrintConfigFields& fields);
// The printer label: the printer's name right-aligned in 40 characters.
std::string PrinterLabelText(const std::string& printerName);

// OK before the print job: AbortFlag := 0, ReadPrintSettings, the view
// reset when "fit limits" is ticked, and the screen redrawn. The view then
// prints the picture in the orientation of the settings and closes.
void PreparePrintout(const TPrintConfigFields& fields);
// Cancel: AbortFlag := 1.
void CancelPrintConfig();

// "Database": the presets table in the table window; a chosen preset fills
// the controls (the working settings change only at OK). After a
// successful open AbortFlag ends cleared, so the dialog stays usable; a
// table that does not open leaves it set and the controls as they were.
void LoadPrintPreset(TPrintConfigFields& fields);
// "Apply Database": asks for a name and appends the controls as a new
// preset. Cancel of the name stores nothing.
void StorePrintPreset(const TPrintConfigFields& fields);

// File, Print: the dialog, modal.
void ShowPrintConfigForm();
// The dialog's showing, installed by the windowing start-up; without it the
// form ends as cancelled.
std::function<void()>& PrintConfigFormShower();

}  // namespace app
