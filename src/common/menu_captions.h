// The captions of the main menu and of a few common forms in the interface
// language (LanguageCode in kaldvar.h). The main window copies them into its
// menu items after SetMenuLanguage; the report viewer takes its six menu
// captions from here. The texts are display texts (UTF-8, Korean and Chinese
// included) and keep their '&' accelerator marks; they are not program texts
// of code page 850 and need no conversion.
#pragma once

#include <string>

#include "common/range_array.h"

namespace common {

// The captions in their fixed order. 1..70 follow the language; 71
// (CapLinks) keeps its start text.
enum MenuCaptionIndex : int {
  CapMenu = 1,
  CapFile,
  CapNew,
  CapOpen,
  CapSave,
  CapSaveAs,
  CapReset,
  CapEdiFiles,
  CapSettings,
  CapExit,
  CapCopy,
  CapPaste,
  CapInfo,
  CapPrint,
  CapPrinterSetup,
  CapImport,
  CapExport,
  CapImportDxf,
  CapExportDxf,
  CapEdit,
  CapText,
  CapQuick,
  CapMaterial,
  CapProduction,
  CapTolerance,
  CapApplication,
  CapDimensioning,
  CapPreDimensioning,
  CapRecalculation,
  CapCalculationMethod,
  CapSelectAll,
  CapView,
  CapStandardPrintout,
  CapStandard,
  CapExcerptPrintout,
  CapDatabase,
  CapCad,
  CapStl,
  CapProductionDrawing,
  CapDrawing,
  CapProjection,
  CapSideView,
  CapProfile,
  CapSimpleProfile,
  CapUpperView,
  CapDiagrams,
  CapDiagram,
  CapDocument,
  CapDrawingData,
  CapModificationsInfo,
  CapModificationsPrintout,
  CapModificationNew,
  CapEditPreviousModification,
  CapDeletePreviousModification,
  CapDocumentSetup,
  CapOle,
  CapHelp,
  CapAuxiliaryImages,
  CapErrorMessages,
  CapSafety,
  CapPrintout,
  CapLanguage,
  CapSystemInfo,
  CapOthers,
  CapDimensions,
  CapAnimation,
  CapTable,
  CapPreview,
  CapEManual,
  CapBaseData,
  CapLinks,
};
inline constexpr int MenuCaptionCount = 71;
inline constexpr int LanguageCaptionCount = 70;  // the captions a language sets

extern RangeArray<std::string, 1, MenuCaptionCount> MenuCaptions;

// Assigns captions 1..70 for the language code: 1 German, 2 English,
// 3 French, 4 Italian, 5 Swedish, 6 Portuguese, 7 Romanian, 8 Korean,
// 9 Spanish, 12 Chinese; 0 (no language configured) gives English. Any other
// code leaves the captions in force.
void SetMenuLanguage(int code);

// Whether SetMenuLanguage knows the code (0 included).
bool IsMenuLanguage(int code);

// The start texts: every caption in German.
void ResetMenuCaptions();

}  // namespace common
