// Process-wide identity, settings, calculation flags and shared buffers.
// Every unit reaches these globals directly. Two groups, each with its own
// initialisation: kaldvar (identity, directories, printer and screen
// settings, the flags and buffers) and wkaldvar (interface settings: editor
// paths, units, date and angle formats, language, zoom, recent files).
// The configuration file (config_file.cpp) overwrites most values after start.
#pragma once

#include <cstdint>
#include <string>

#include "common/range_array.h"

namespace common {

// ---- Identity -------------------------------------------------------------
extern std::string ProductCode;
extern std::string ProgramName;
extern std::string ProgramTitle;
extern std::string DataFileExtension;
extern std::string ProgramVersion;
// Notice text written after the version in line 3 of the data-file header.
extern std::string ProgramNotice;
extern std::string CurrentFileName;
extern std::string DataDirectory;
extern std::uint8_t BareNameFlag;

// ---- Directories and external programs (DirectorySettings) ---------------
extern std::string ProgramDirectory;
extern std::string CadDirectory;
extern std::string DbfDirectory;
extern std::string EdiDirectory;
extern std::string PltDirectory;
extern std::string TempDirectory;
extern std::string MakerDirectory;
extern std::string ConfigDirectory;
extern std::string DefaultDataDirectory;
extern std::string StartDirectory;
extern std::string DatabaseEditorPath;
extern std::string WordProcessorPath;
extern std::string HtmlBrowserPath;
extern std::uint16_t DatabaseMode;

// ---- Printing and report settings (TextOutputSettings) -------------------
extern std::uint16_t HelpLevel;
extern std::uint16_t PrinterInterface;
extern std::uint16_t HardcopyInterface;
extern std::uint16_t PrinterType;
extern std::uint16_t PrintDensity;
extern std::uint16_t PrintDensityVertical;
extern char RotateHardcopy;
extern std::int32_t SignificantDigits;
extern std::uint16_t RuleStyle;
extern std::int32_t LinesPerPage;
extern std::uint16_t WindowsPrintMode;
extern std::uint16_t DateFormatCode;
extern std::int32_t HeaderSpaceLines;
extern std::uint16_t TextDevice;
extern bool TextDeviceWindow;
extern std::uint16_t HeaderMode;
extern bool ArchiveFlag;

// ---- Screen settings ------------------------------------------------------
extern std::int32_t GraphDriver;
extern std::int32_t GraphMode;
extern std::uint16_t HorizontalPixels;
extern std::uint16_t VerticalPixels;
extern bool ColorGraphics;
extern std::uint16_t ColourCount;
extern std::int32_t ScreenDpi;
extern std::int32_t InputWindowScale;
extern std::int32_t ZoomPercent;
extern bool SmallOnlineWindow;
extern bool EnterDiagramLimits;
extern bool EnterUserId;

// ---- Interface settings (SessionSettings) ---------------------------------
enum UnitSystemCode : std::uint16_t {
  UnitsMetric = 0,
  UnitsImperial = 1,
  UnitsMetricKN = 2,
  UnitsMetricNmm2 = 3,
  UnitsMetricKNNmm2 = 4,
};
extern std::uint16_t UnitSystem;  // a UnitSystemCode
extern RangeArray<std::string, 0, 4> UnitSystemNames;
extern std::uint16_t DecimalSign;  // 1 dot, 2 comma
extern std::uint16_t CadTextMode;
extern bool AsciiTextMode;
extern std::uint16_t AngleFormat;
extern std::uint16_t LanguageCode;  // 0 = not set (English texts)
extern std::int32_t ResultGraphic;
extern std::uint16_t FrameStyle;
extern std::int32_t FrameVariant;
extern bool MsgQuiet;
extern RangeArray<std::string, 1, 4> RecentFiles;
extern std::uint8_t CopyTableFlag;
extern std::uint16_t RevisionIndexStyle;

// ---- Further process-wide values ------------------------------------------
extern std::uint8_t DataChanged;
extern std::uint8_t ReportSpreadsheetFlag;
extern std::uint16_t ReportOption;
extern std::int32_t TableOption;
extern RangeArray<char, 1, 2> KeyChars;
extern RangeArray<std::int32_t, 1, 2> TableDialogFlags;
extern RangeArray<std::int32_t, 1, 2> FormPlacementMode;
extern std::int32_t ScreenScaleMode;
extern RangeArray<std::int32_t, 1, 2> MainWindowMode;
extern RangeArray<std::uint8_t, 1, 2> WriteCheckFlags;
extern std::int32_t RecentFileMenuPos;
extern std::int32_t ReportViewerFlag;
extern RangeArray<std::uint8_t, 1, 2> StartUpOptions;
extern std::string TableFolder;

// ---- Calculation flags ----------------------------------------------------
// FatalFlag: set right after a "Fatal  : " message; drivers stop their next
// step while it is 1. AbortFlag: Cancel, refused question, failed file line,
// invalid input. MessagesEnabled: 0 while command-line output runs.
extern std::uint8_t FatalFlag;
extern std::uint8_t AbortFlag;
extern std::uint8_t MessagesEnabled;
// While set together with ArchiveFlag, data files may not be saved or
// opened under another name.
extern std::uint8_t ArchiveMode;

// ---- Shared buffers -------------------------------------------------------
inline constexpr int TextLineCount = 135;
extern RangeArray<std::string, 1, TextLineCount> TextLines;  // 65 blanks each
extern RangeArray<std::string, 1, 5> WrappedLines;           // 64 blanks each
extern RangeArray<std::string, 1, 3> SheetTexts;

// ---- Initialisation -------------------------------------------------------
// InitKaldvar / InitWkaldvar run once per process (a nesting counter makes a
// second call a no-op, as for unit initialisation). The Set...Defaults
// routines set the values unconditionally, so tests can return to a clean
// state at any time.
void InitKaldvar();
void InitWkaldvar();
void SetKaldvarDefaults();
void SetWkaldvarDefaults();
void FinalizeKaldvar();
void FinalizeWkaldvar();

// The program's own identity, replacing the library defaults at start-up.
void SetProgramIdentity();

}  // namespace common
