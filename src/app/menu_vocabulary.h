// The menu vocabulary of the application: 75 words (calculation, tool,
// gear, load, curve ...) in the languages German, English, Portuguese,
// Romanian, Korean and Chinese. The main menu builds its captions from these
// words and from the common menu captions (common/menu_captions.h). Display
// texts (UTF-8) with their '&' accelerator marks.
#pragma once

#include <string>

#include "common/range_array.h"

namespace app {

inline constexpr int MenuWordCount = 75;

// The words by number. 1..70 start with their German texts, 71..75 empty.
enum MenuWordIndex : int {
  WordCalcMethod = 1,
  WordCuttingTool,
  WordProfile,
  WordDin5480,
  WordToothContact,
  WordStrength,
  WordGeometry,
  WordGear,
  WordIsoDimensions,
  WordBevelGear,
  WordLoad,
  WordLoadSpectrum,
  WordLifeExpectation,
  WordMeasurement,
  WordHub,
  WordSlidingKey,
  WordFit,
  WordPlanetaryGear,
  WordPlanetGear,
  WordCarrier,
  WordMeasure,
  WordQuality,
  WordGear2,
  WordPinion,
  WordWorm,
  WordWormWheel,
  WordStress,
  WordDrawingTable,
  WordTables,
  WordCrownGear,
  WordTemperature,
  WordToothing,
  WordShaft,
  WordProductionSheet,
  WordMaterialType,
  WordTooth,
  WordToothContact2,
  WordToothProfile,
  WordOverBalls,
  WordOverPins,
  WordSpanMeasurement,
  WordDimensionsAndStrength,
  WordWormGear,
  WordPolylineToothRoot,
  WordProfileShift,
  WordPower,
  WordAssemblyDimension,
  WordInputOutput,
  WordCurveGeometry,
  WordToothDimensions,
  WordPitchCurve,
  WordGearWheels,
  WordGear3,
  WordRollerBearing,
  WordBevelGear2,
  WordToothThickness,
  WordRack,
  WordSpecialDimensions,
  WordRingGear,
  WordToothRootStrength,
  WordPitting,
  WordInvoluteSpline,
  WordWoodruffKey,
  WordRollAngle,
  WordMultistage,
  WordSpecificSliding,
  WordDrivingWheel,
  WordMalteseCross,
  WordBearingPlate,
  WordSpacerSleeve,
  WordFrictionCoefficients,
  WordTestCertificate,
  WordAxial,
  WordRadial,
  WordEfficiency,
};

extern RangeArray<std::string, 1, MenuWordCount> MenuWords;

// Assigns the 75 words for the code 1 German, 2 English, 6 Portuguese,
// 7 Romanian, 8 Korean or 12 Chinese; any other code leaves them.
void SetMenuVocabulary(int code);
// The start texts: 1..70 German, 71..75 empty.
void ResetMenuVocabulary();
// Releases the words at program end.
void FreeMenuVocabulary();

}  // namespace app
