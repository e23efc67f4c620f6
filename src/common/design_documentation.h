// Documentation records of the current design that the drawing sheets show
// and the data file stores: the title block with the free texts placed on
// the sheet, the change records of the revision table, and the flag of the
// command-line CAD output. They are declared here, below the application,
// because the drawing output reads them; the application's dialogs edit
// them and the data file writes and reads them. All texts are code page 850.
#pragma once

#include <cstdint>
#include <string>

#include "common/range_array.h"
#include "common/real.h"

namespace common {

// Set while the command line asks for CAD output: the CAD output then shows
// no save dialog and names the file after the current data file.
extern bool CadBatchNaming;

// ---- Title block ------------------------------------------------------------
// Texts 1..13: 1/2 date and name of the first row (drawing date, designer),
// 3/4 second row, 5/6 third row, 7 replacement for, 8 replaced by (at most 15
// characters each), 9/10 fourth row (release), 11 responsible department,
// 12 document type, 13 document status. An empty text leaves its field empty.
inline constexpr int TitleTextCount = 13;
inline constexpr int TitleReplacementLength = 15;

// Indices of the title texts.
enum TitleTextIndex : int {
  TitleFirstDate = 1,
  TitleFirstName = 2,
  TitleSecondDate = 3,
  TitleSecondName = 4,
  TitleThirdDate = 5,
  TitleThirdName = 6,
  TitleReplacementFor = 7,
  TitleReplacedBy = 8,
  TitleFourthDate = 9,
  TitleFourthName = 10,
  TitleResponsibleDept = 11,
  TitleDocumentType = 12,
  TitleDocumentStatus = 13,
};

// A text placed freely on the drawing sheet.
struct TFreeText {
  Real x = 0;
  Real y = 0;
  Real h = 0;    // text height
  Real phi = 0;  // angle, degrees
  std::string text;
};
inline constexpr int MaxFreeTexts = 8;

// Sheets on which the free texts are drawn: index of "A4", "A3", "A4+A3", "-".
enum FreeTextModeCode : std::int32_t {
  FreeTextsA4 = 0,
  FreeTextsA3 = 1,
  FreeTextsA4A3 = 2,
  FreeTextsNone = 3,
};

struct TTitleBlock {
  RangeArray<std::string, 1, TitleTextCount> Texts{};
  std::uint16_t FreeTextCount = 0;  // 0..MaxFreeTexts
  RangeArray<TFreeText, 1, MaxFreeTexts> FreeTexts{};
  std::int32_t TextMode = FreeTextsA4;  // a FreeTextModeCode
};
extern TTitleBlock TitleBlock;

// The drawing information of the current design is the title block.
inline TTitleBlock& DrawingInformation = TitleBlock;

// ---- Change records -----------------------------------------------------------
inline constexpr int MaxChangeRecords = 25;

struct TChangeRecord {
  std::string Modification;  // at most 20 characters
  std::string Date;          // at most 10 characters
  std::string Responsible;   // at most 5 characters
  std::string Description;   // at most 255 characters, may hold line breaks
};

// Records 1..Count are valid; a record beyond the count keeps its old texts
// until it is used again.
struct TChangeRecords {
  std::uint16_t Count = 0;  // 0..MaxChangeRecords
  RangeArray<TChangeRecord, 1, MaxChangeRecords> Records{};
};
extern TChangeRecords ChangeRecords;

}  // namespace common
