// The configuration file ProgramName + ".cfg": every user setting of the
// program in a fixed positional order (a label line for the human reader,
// then the value lines), read at start-up and written from the
// configuration dialog; and the check of the configured directories. Older,
// shorter files are read up to their end; the settings after it keep their
// values. The settings live in kaldvar.h, graphics_settings.h and
// cad_settings.h, the 3-D view values and the few settings without another
// home here. Lines go through SharedTextFile (text_file.h).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "common/range_array.h"
#include "common/real.h"

namespace common {

// ---- 3-D view settings ------------------------------------------------------
extern RangeArray<Real, 1, 6> View3DAxes;    // six view values: 1, 0, 0, 1, -1, -1
extern RangeArray<Real, 1, 3> View3DAngles;  // radians: -15, 90, 210 degrees
extern bool View3DMode;                      // true (stored negated: "3D to 2D")
extern bool Edit3DFlag;                      // "Edit 3D x,y,z ?", true

// ---- Settings stored only in the configuration file ---------------------------
extern std::string ManualDirectory;          // directory of the electronic manual
extern bool CurrentFileFlag;                 // the current-file option
extern bool SaveMenuLanguage;                // keep LanguageCode across runs
extern std::int32_t ReservedSetting;         // an integer kept for the file layout
extern std::uint16_t IndexSelection;         // index-style selection of the dialog
extern std::uint16_t ExcelDecimalCode;       // decimal sign for the spreadsheet: 1 point, 2 comma
extern std::int32_t ScreenSizeCode;          // 1: 4:3 main window, 2: full screen
extern std::int32_t DialogWindowSizeCode;    // 1: dialog scale from the screen
extern std::int32_t TextWindowSizeCode;      // 1: default text window

// The six view values, the angles and the flags to their start values.
void InitView3DDefaults();
// The settings above (and the 3-D view) to their defaults.
void InitConfigOnlySettings();

// Finds and reads the configuration file (any letter case of its name, in
// ConfigDirectory). A missing file: screen-based defaults and AbortFlag := 1
// (the caller clears it). Wherever the reading ends, it ends with
// ApplyMainWindowSize.
void ReadConfigFile();
// ReadConfigFile on a named file (the configuration dialog's import).
void ReadConfigFileFrom(const std::string& path);
// Writes the configuration file (nothing while AbortFlag is set); the file
// is replaced only when completely written. Reals are written with a point
// and the short reals with 3 significant digits, whatever the display
// settings; items "Dot=1 Komma=2" and "Digits for floating point numbers"
// keep the configured values.
void WriteConfigFile();
// WriteConfigFile to a named file (the configuration dialog's export).
void WriteConfigFileTo(const std::string& path);
// The configuration file's name: ConfigDirectory + the existing file's name
// (whatever its case) or ProgramName + ".cfg".
std::string ConfigFilePath();

// Fits the screen and main-window sizes and the dialog scale to the screen
// as the size codes ask; closes the configuration file; CopyTableFlag := 0.
void ApplyMainWindowSize();
// Text window: left 20, top 40, width from the printout text size and the
// screen resolution (at most the screen width), height 95 % of the screen
// less 40.
void SetDefaultTextWindowRect();

// Every setting the configuration file holds, kept when the object is made
// and put back by PutBack (the configuration dialog's Cancel after an
// import or a reset).
struct ConfigSettingsValues;
class KeptSettings {
 public:
  KeptSettings();
  ~KeptSettings();
  KeptSettings(const KeptSettings&) = delete;
  KeptSettings& operator=(const KeptSettings&) = delete;
  void PutBack() const;

 private:
  std::unique_ptr<ConfigSettingsValues> kept_;
};

// Empty temporary, DBF, PLT, EDI and default data directories become the
// program directory; each invalid directory is reported ("invalid ...
// configured"); a new temporary directory is asked for. With CopyTableFlag
// set the tables are copied into the temporary directory.
void CheckConfiguredDirectories();

}  // namespace common
