// Hardness conversion for steels (hardness_conversion.h): the conversion
// table, the scale names and ranges, and the interpolation. Range messages
// go to the calculation message list; the limits are written with the
// fixed-width formatter of number_format.h.
#include "calc/hardness_conversion.h"

#include <cmath>

#include "common/message_list.h"
#include "common/number_format.h"

namespace calc {

namespace {

// Conversion values for unalloyed and low-alloy steels and cast steel after
// ISO 18265 (DIN 50150), table A.1; values in parentheses there are taken as
// they stand. Beyond the published table: Rm 2215 at HV 660, HRB 105.5 at
// HV 295, HRF 80.4 at HV 85 and 115.5 at HV 255, and the row HV 960, which
// close the columns at the ends of their input ranges.
// Rm, HV, HRB, HRF, HRC, HRA, HRD, HR15N, HR30N, HR45N (tenths from HRB on).
constexpr std::int32_t Rows[HardnessTableRows][HardnessTableColumns] = {
    { 255,   80,    0,    0,    0,    0,    0,    0,    0,    0},
    { 270,   85,  410,  804,    0,    0,    0,    0,    0,    0},
    { 285,   90,  480,  826,    0,    0,    0,    0,    0,    0},
    { 305,   95,  520,  848,    0,    0,    0,    0,    0,    0},
    { 320,  100,  562,  870,    0,    0,    0,    0,    0,    0},
    { 335,  105,  586,  884,    0,    0,    0,    0,    0,    0},
    { 350,  110,  623,  905,    0,    0,    0,    0,    0,    0},
    { 370,  115,  645,  921,    0,    0,    0,    0,    0,    0},
    { 385,  120,  667,  936,    0,    0,    0,    0,    0,    0},
    { 400,  125,  680,  950,    0,    0,    0,    0,    0,    0},
    { 415,  130,  712,  964,    0,    0,    0,    0,    0,    0},
    { 430,  135,  731,  977,    0,    0,    0,    0,    0,    0},
    { 450,  140,  750,  990,    0,    0,    0,    0,    0,    0},
    { 465,  145,  768, 1002,    0,    0,    0,    0,    0,    0},
    { 480,  150,  787, 1014,    0,    0,    0,    0,    0,    0},
    { 495,  155,  802, 1025,    0,    0,    0,    0,    0,    0},
    { 510,  160,  817, 1036,    0,    0,    0,    0,    0,    0},
    { 530,  165,  834, 1046,    0,    0,    0,    0,    0,    0},
    { 545,  170,  850, 1055,    0,    0,    0,    0,    0,    0},
    { 560,  175,  861, 1064,    0,    0,    0,    0,    0,    0},
    { 575,  180,  871, 1072,    0,    0,    0,    0,    0,    0},
    { 595,  185,  883, 1080,    0,    0,    0,    0,    0,    0},
    { 610,  190,  895, 1087,    0,    0,    0,    0,    0,    0},
    { 625,  195,  905, 1094,    0,    0,    0,    0,    0,    0},
    { 640,  200,  915, 1101,    0,    0,    0,    0,    0,    0},
    { 660,  205,  925, 1107,    0,    0,    0,    0,    0,    0},
    { 675,  210,  935, 1113,    0,    0,    0,    0,    0,    0},
    { 690,  215,  940, 1119,    0,    0,    0,    0,    0,    0},
    { 705,  220,  950, 1124,    0,    0,    0,    0,    0,    0},
    { 720,  225,  960, 1129,    0,    0,    0,    0,    0,    0},
    { 740,  230,  967, 1134,    0,    0,    0,    0,    0,    0},
    { 755,  235,  974, 1139,    0,    0,    0,    0,    0,    0},
    { 770,  240,  981, 1143,  203,  607,  403,  696,  417,  199},
    { 785,  245,  988, 1147,  213,  612,  411,  701,  425,  211},
    { 800,  250,  995, 1151,  222,  616,  417,  706,  434,  222},
    { 820,  255, 1003, 1155,  231,  620,  422,  711,  442,  232},
    { 835,  260, 1010,    0,  240,  624,  431,  716,  450,  243},
    { 850,  265, 1015,    0,  248,  627,  437,  721,  457,  252},
    { 865,  270, 1020,    0,  256,  631,  443,  726,  464,  262},
    { 880,  275, 1030,    0,  264,  635,  449,  730,  472,  271},
    { 900,  280, 1040,    0,  271,  638,  453,  734,  478,  279},
    { 915,  285, 1045,    0,  278,  642,  460,  738,  484,  287},
    { 930,  290, 1050,    0,  285,  645,  465,  742,  490,  295},
    { 950,  295, 1055,    0,  292,  648,  471,  746,  497,  304},
    { 965,  300,    0,    0,  298,  652,  475,  749,  502,  311},
    { 995,  310,    0,    0,  310,  658,  484,  756,  513,  325},
    {1030,  320,    0,    0,  322,  664,  494,  762,  523,  339},
    {1060,  330,    0,    0,  333,  670,  502,  768,  536,  352},
    {1095,  340,    0,    0,  344,  676,  511,  774,  544,  365},
    {1125,  350,    0,    0,  355,  681,  519,  780,  554,  378},
    {1155,  360,    0,    0,  366,  687,  528,  786,  564,  391},
    {1190,  370,    0,    0,  377,  692,  536,  792,  574,  404},
    {1220,  380,    0,    0,  388,  698,  544,  798,  584,  417},
    {1255,  390,    0,    0,  398,  703,  553,  803,  593,  429},
    {1290,  400,    0,    0,  408,  708,  560,  808,  602,  441},
    {1320,  410,    0,    0,  418,  714,  568,  814,  611,  453},
    {1350,  420,    0,    0,  427,  718,  575,  818,  619,  464},
    {1385,  430,    0,    0,  436,  723,  582,  823,  627,  474},
    {1420,  440,    0,    0,  445,  728,  588,  828,  635,  484},
    {1455,  450,    0,    0,  453,  733,  594,  832,  643,  494},
    {1485,  460,    0,    0,  461,  736,  601,  836,  649,  504},
    {1520,  470,    0,    0,  469,  741,  607,  839,  657,  513},
    {1555,  480,    0,    0,  477,  745,  613,  843,  664,  522},
    {1595,  490,    0,    0,  484,  749,  616,  847,  671,  531},
    {1630,  500,    0,    0,  491,  753,  622,  850,  677,  539},
    {1665,  510,    0,    0,  498,  757,  629,  854,  683,  547},
    {1700,  520,    0,    0,  505,  761,  635,  857,  690,  556},
    {1740,  530,    0,    0,  511,  764,  639,  860,  695,  562},
    {1775,  540,    0,    0,  517,  767,  644,  863,  700,  570},
    {1810,  550,    0,    0,  523,  770,  648,  866,  705,  578},
    {1845,  560,    0,    0,  530,  774,  654,  869,  712,  586},
    {1880,  570,    0,    0,  536,  778,  658,  872,  717,  593},
    {1920,  580,    0,    0,  541,  780,  662,  875,  721,  599},
    {1955,  590,    0,    0,  547,  784,  667,  878,  727,  605},
    {1995,  600,    0,    0,  552,  786,  670,  880,  732,  612},
    {2030,  610,    0,    0,  557,  789,  675,  882,  737,  617},
    {2070,  620,    0,    0,  563,  792,  679,  885,  742,  624},
    {2105,  630,    0,    0,  568,  795,  683,  888,  746,  630},
    {2145,  640,    0,    0,  573,  798,  687,  890,  751,  635},
    {2180,  650,    0,    0,  578,  800,  690,  892,  755,  641},
    {2215,  660,    0,    0,  583,  803,  694,  895,  759,  647},
    {   0,  670,    0,    0,  588,  806,  698,  897,  764,  653},
    {   0,  680,    0,    0,  592,  808,  701,  898,  768,  657},
    {   0,  690,    0,    0,  597,  811,  705,  901,  772,  662},
    {   0,  700,    0,    0,  601,  813,  708,  903,  776,  667},
    {   0,  720,    0,    0,  610,  818,  715,  907,  784,  677},
    {   0,  740,    0,    0,  618,  822,  721,  910,  791,  686},
    {   0,  760,    0,    0,  625,  826,  726,  912,  797,  694},
    {   0,  780,    0,    0,  633,  830,  733,  915,  804,  702},
    {   0,  800,    0,    0,  640,  834,  738,  918,  811,  710},
    {   0,  820,    0,    0,  647,  838,  743,  921,  817,  718},
    {   0,  840,    0,    0,  653,  841,  748,  923,  822,  722},
    {   0,  860,    0,    0,  659,  844,  753,  925,  827,  731},
    {   0,  880,    0,    0,  664,  847,  757,  927,  831,  736},
    {   0,  900,    0,    0,  670,  850,  761,  929,  836,  742},
    {   0,  920,    0,    0,  675,  853,  765,  930,  840,  748},
    {   0,  940,    0,    0,  680,  856,  769,  932,  844,  754},
    {   0,  960,    0,    0,  685,  859,  773,  934,  848,  760},
};

const std::string ScaleNames[] = {"Rm",  "HV",    "HRB",   "HRF",   "HRC", "HRA",
                                  "HRD", "HR15N", "HR30N", "HR45N", "HB"};
const std::string ScaleLongNames[] = {
    "tensile strength",  "diamond pyramid hardness (F>=98N)",
    "Rockwell hardness", "Rockwell hardness",
    "Rockwell hardness", "Rockwell hardness",
    "Rockwell hardness", "Rockwell hardness",
    "Rockwell hardness", "Rockwell hardness",
    "Brinell hardness (30N/mm\xFD)"};
const Real Minimum[] = {255, 80, 41, 80.4L, 20.3L, 60.7L, 40.3L, 69.6L, 41.7L, 19.9L, 76};
const Real Maximum[] = {2180, 940, 105, 115.1L, 68, 85.6L, 76.9L, 93.2L, 84.4L, 75.4L, 893};
const std::string TestScaleNames[] = {"HV",    "HBW",   "HRC",   "HRA",   "HR45N",
                                      "HR30N", "HR15N", "HRB",   "HRF",   "HR45T",
                                      "HR30T", "HR15T", "Rm"};
const std::string MaterialGroupNames[] = {
    "A.1 (St,GS)",           "B.2(C45 verguetet)",     "B.3(C45 unbehandelt)",
    "B.4(C45 gehaertet)",    "C.2 (Kaltarbeitsst)",    "D.2 (Schnellarbeitsst)",
    "D.4 (Schnellarbeitsst)", "D.6 (Schnellarbeitsst)", "D.8 (Schnellarbeitsst)",
    "E.1 (1.1243)",          "E.2 (1.2714)",           "F.1 (Hartmetall)",
    "F.2 (Hartmetall)",      "G.1 (Nickel)",           "G2 (Cu70Zn30)",
    "G.3 (Cu)",              "G.4 (Knet-Al)",          "G.5(Al)"};

// Brinell hardness is taken as 0.95 times the Vickers hardness.
constexpr Real BrinellPerVickers = 0.95L;

bool HasEntry(std::int32_t entry) { return std::fabs(static_cast<Real>(entry)) >= 0.01L; }

void ClearHardnessValues() { HardnessValues.fill(0); }

}  // namespace

const RangeArray<std::string, 1, HardnessScaleCount> HardnessScaleNames = RangeArrayFrom(ScaleNames);
const RangeArray<std::string, 1, HardnessScaleCount> HardnessScaleLongNames =
    RangeArrayFrom(ScaleLongNames);
const RangeArray<Real, 1, HardnessScaleCount> HardnessMinimum = RangeArrayFrom(Minimum);
const RangeArray<Real, 1, HardnessScaleCount> HardnessMaximum = RangeArrayFrom(Maximum);
const RangeArray<RangeArray<std::int32_t, 1, HardnessTableColumns>, 1, HardnessTableRows>
    HardnessTable = RangeTableFrom(Rows);
const RangeArray<std::string, 1, 13> HardnessTestScaleNames = RangeArrayFrom(TestScaleNames);
const RangeArray<std::string, 1, 18> HardnessMaterialGroupNames = RangeArrayFrom(MaterialGroupNames);

RangeArray<Real, 1, HardnessScaleCount + 2> HardnessValues;

bool IsTenthsScale(int scale) { return scale > ScaleHV; }

void ConvertHardness(int scale, Real value) {
  if (scale < 1 || scale > HardnessScaleCount) {
    ClearHardnessValues();
    return;
  }
  if (value < HardnessMinimum[scale] || value > HardnessMaximum[scale]) {
    common::AddErrorMessage(HardnessScaleNames[scale] + ":" +
                            common::FormatRealDigits(4, 1, HardnessMinimum[scale]) + ".." +
                            common::FormatRealDigits(4, 1, HardnessMaximum[scale]) + " !");
    ClearHardnessValues();
    return;
  }
  int s = scale;
  Real v = value;
  if (s == ScaleHB) {
    s = ScaleHV;
    v = v / BrinellPerVickers;
  }
  const bool tenths = IsTenthsScale(s);
  const Real divisor = tenths ? 10 : 1;

  // The first row from row 2 on whose entry is not below the value; the
  // value is then placed on the line through that row and the next one.
  int row = 0;
  for (int i = 2; i <= HardnessTableRows; ++i) {
    if (static_cast<Real>(HardnessTable[i][s]) / divisor >= v) {
      row = i;
      break;
    }
  }
  if (row == 0) {  // above the last row: nothing to interpolate in
    ClearHardnessValues();
    return;
  }
  const auto& lower = HardnessTable[row];
  // The last row has no successor: it counts as one without entries.
  RangeArray<std::int32_t, 1, HardnessTableColumns> upper{};
  if (row < HardnessTableRows) upper = HardnessTable[row + 1];

  const Real scaled = tenths ? 10 * v : v;
  Real t = 0;
  if (HasEntry(upper[s]))
    t = (scaled - lower[s]) / static_cast<Real>(upper[s] - lower[s]);

  for (int j = 1; j <= HardnessTableColumns; ++j) {
    if (!HasEntry(lower[j]) || !HasEntry(upper[j])) {
      HardnessValues[j] = 0;
      continue;
    }
    const Real entry = lower[j] + t * (upper[j] - lower[j]);
    HardnessValues[j] = IsTenthsScale(j) ? entry / 10 : entry;
  }
  HardnessValues[ScaleHB] = BrinellPerVickers * HardnessValues[ScaleHV];
}

void ConvertHardnessValue(int scale, Real value) { ConvertHardness(scale, value); }

Real GetHardnessValue(int n) { return HardnessValues[n]; }

}  // namespace calc
