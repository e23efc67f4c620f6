// Start values of the calculation records and of the spur-gear data set.
#include "calc/calc_records.h"

#include <gtest/gtest.h>

#include "calc/spur_gear_data.h"

namespace calc {
namespace {

void ExpectNoncircularStartValues() {
  EXPECT_EQ(NcPair.z1, 30);
  EXPECT_EQ(NcPair.z2, 30);
  EXPECT_EQ(NcPair.k, 1);
  EXPECT_EQ(NcPair.ModuleMode, 1);
  EXPECT_EQ(CurveType, 2);
  EXPECT_EQ(EllipseCurve.a, 60);
  EXPECT_EQ(EllipseCurve.b, 50);
  EXPECT_EQ(SineLinearCurve.PhiLin, 220);
  EXPECT_EQ(PolygonCurve.Corners, 6);
  EXPECT_EQ(PieceCount, 0);
  EXPECT_EQ(FormulaPieces[0].EndAngle, 0);
  for (int i = 1; i <= MaxFormulaPieces; ++i) {
    EXPECT_EQ(FormulaPieces[i].EndAngle, 360);
    EXPECT_TRUE(FormulaPieces[i].Formula.empty());
  }
  EXPECT_EQ(PointCount, 0);
  EXPECT_EQ(PolylineCount, 0);
  EXPECT_EQ(LinearInterpolation, 1);
  EXPECT_NEAR(static_cast<double>(AlphaRad), 0.3490658503988659, 1e-15);

  const TSpurGearData& g = SpurGearData;
  EXPECT_EQ(g.NormalModule, 6.5L);
  EXPECT_EQ(g.ToothNumbers[1], 16);
  EXPECT_EQ(g.ToothNumbers[2], 58);
  EXPECT_EQ(g.CentreDistance, 300);
  EXPECT_EQ(g.HelixAngle, 0);
  EXPECT_EQ(g.FaceWidth, 20);
  for (int i = 1; i <= 2; ++i) {
    EXPECT_EQ(g.ProfileShift[i], 0);
    EXPECT_EQ(g.GearFaceWidth[i], 20);
    EXPECT_EQ(g.ToolKindCode[i], 4);
    EXPECT_EQ(g.rhoaP0Factor[i], 0.1L);
    EXPECT_EQ(g.prP0Factor[i], 0);
    EXPECT_EQ(g.hfP0FactorUsed[i], 1.0L);
    EXPECT_EQ(g.alphaP0[i], g.PressureAngle);
    EXPECT_EQ(g.ToolProfileName[i], "Normal");
  }
}

TEST(CalcRecords, ProgramLoadAndSetNoncircularDefaultsGiveTheStartValues) {
  ExpectNoncircularStartValues();  // before any start routine has run

  NcPair.k = 3;
  CurveType = 9;
  FormulaPieces[0].EndAngle = 99;
  FormulaPieces[4].Formula = "X";
  PieceCount = 4;
  SafetyExtremes.SFmin[2] = 1.2L;
  SpurGearData.HelixAngle = 15;
  SpurGearData.ToolKindCode[2] = 1;
  SetNoncircularDefaults();
  ExpectNoncircularStartValues();
  EXPECT_EQ(SafetyExtremes.SFmin[2], 0);
}

TEST(CalcRecords, KernelStartRoutinesRestoreTheValuesBeforeTheNoncircularOverrides) {
  InitGearData();
  EXPECT_EQ(SpurGearData.ProfileShift[1], 0.52L);
  EXPECT_EQ(SpurGearData.ProfileShift[2], 0.57L);
  EXPECT_EQ(SpurGearData.HelixAngle, 9);
  EXPECT_EQ(SpurGearData.FaceWidth, 88);
  EXPECT_EQ(SpurGearData.ToolKindCode[1], 1);
  EXPECT_EQ(SpurGearData.rhoaP0Factor[2], 0.25L);
  EXPECT_EQ(SpurGearData.hfP0FactorUsed[1], 0.8L);
  SpurGearData.NormalModule = 2;
  SetSpurGearDefaults();
  EXPECT_EQ(SpurGearData.NormalModule, 6.5L);
  SetNoncircularDefaults();
  ExpectNoncircularStartValues();
}

TEST(CalcRecords, ClearContourWorkZeroesBothGears) {
  ToothContourWork[1][2] = {1, 2, 1};
  ToothContourWork[2][1] = {3, 4, 2};
  ClearContourWork();
  for (int i = 1; i <= 2; ++i)
    for (int j = 1; j <= 2; ++j) {
      EXPECT_EQ(ToothContourWork[i][j].X, 0);
      EXPECT_EQ(ToothContourWork[i][j].Flank, 0);
    }
}

TEST(CalcRecords, NameTablesKeepTheirIndices) {
  EXPECT_EQ(MaterialTypeNames[0], "");
  EXPECT_EQ(MaterialTypeNames[2], "Case-hardening steel (Eh)");
  EXPECT_EQ(HeatTreatmentNames[2], "case-hardened (Eh)");
  EXPECT_EQ(HeatTreatmentShortNames[7], "nitrocarb.");
  EXPECT_EQ(HeatTreatmentSideTexts[4], "2.5");
  EXPECT_EQ(HeatTreatmentSideTexts[6], "1.6");
  EXPECT_EQ(HeatTreatmentSideTexts[7], "1.1");
  EXPECT_EQ(DeviationSeriesNames[8], "e");
  EXPECT_EQ(CentreDistanceFieldNames[8], "js11");
  EXPECT_EQ(ToleranceStandardNames[1], "ISO 1328");
  EXPECT_EQ(CalcMethodNames[4], "ISO 6336:2006-2008");
  EXPECT_EQ(ToolProfileNames[3], "haP0/mn=1.4  raP0/mn=0.4  al.pr=6deg  hfP0/mn=1");
  EXPECT_EQ(HelixHandNames[3], "free");
}

}  // namespace
}  // namespace calc
