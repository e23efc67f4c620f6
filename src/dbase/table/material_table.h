// The material table "vobwst.dbf" of the DBF directory: browsing it in the
// table window to pick the material of a gear, or to edit the table. The
// fields are used by position, whatever their names:
//   1 name, 2 material type code, 3 text, 4 heat-treatment code, 5 text,
//   6 Brinell hardness, 7 SigmaHlim, 8 SigmaFE, 9 modulus E (integers),
//   10 Poisson ratio, 11 density (reals), 12..14 texts.
// This part knows the table; the application copies a picked record into
// the material data of the gear (app/tables/material_table.h).
#pragma once

#include <cstdint>
#include <string>

namespace dbase {

inline constexpr const char* MaterialTableName = "vobwst.dbf";
inline constexpr int MaterialFieldCount = 14;

// The values of the last record read. Texts are program texts (code page
// 850) without the blanks that pad the field; numbers are read tolerantly
// (invalid text gives 0, a decimal comma is a point).
struct TMaterialRecord {
  std::string Name;           // 1
  std::int32_t Type = 0;      // 2
  std::string Text3;          // 3
  std::int32_t Heat = 0;      // 4
  std::string Text5;          // 5
  std::int32_t HB = 0;        // 6
  std::int32_t SigmaHlim = 0; // 7
  std::int32_t SigmaFE = 0;   // 8
  std::int32_t E = 0;         // 9
  double Poisson = 0;         // 10
  double Density = 0;         // 11
  std::string Text12, Text13, Text14;
};
extern TMaterialRecord MaterialRecord;

// Fields 1 to 14 of the current record of the open table into
// MaterialRecord.
void ReadMaterialRecord();

// The key expression of sort order 1..9 over the table's field names
// (empty for 0 and unknown orders: record order, no index).
std::string MaterialSortExpression(int order);

// The table work of the material pick. Modes: 1 pick for the gear
// (read-only grid), 3 edit the table and take the record current at OK,
// any other value edit the table only. For modes 1 and 3 with a gear 1 or 2
// the table opens on recNo; after OK MaterialRecord holds the record, recNo
// its number, and the answer is true. A missing table, Cancel, and OK in
// the edit-only mode leave AbortFlag set and answer false.
bool BrowseMaterialTable(int gear, int mode, int sortOrder, std::uint16_t& recNo);

}  // namespace dbase
