// The material table; see material_table.h.
#include "dbase/table/material_table.h"

#include <cmath>

#include "common/file_checks.h"
#include "common/file_utils.h"
#include "common/help_text.h"
#include "common/kaldvar.h"
#include "common/message_boxes.h"
#include "common/number_format.h"
#include "common/text_utils.h"
#include "dbase/table/table_layer.h"

namespace dbase {

TMaterialRecord MaterialRecord;

namespace {

using common::AbortFlag;

constexpr int kMaterialHelp = 9500;

std::string Text(int n) { return common::TrimBlanks(DbfGetString(n)); }

// A whole number; a table that holds it with decimals ("300.0") gives it
// rounded rather than 0.
std::int32_t Integer(int n) {
  const std::string text = common::TrimBlanks(DbfGetString(n));
  const std::int32_t value = common::TextToInt(text);
  if (value != 0) return value;
  return static_cast<std::int32_t>(std::lround(static_cast<double>(common::TextToReal(text))));
}

double Number(int n) { return static_cast<double>(common::TextToReal(common::TrimBlanks(DbfGetString(n)))); }

bool PicksForGear(int gear, int mode) { return (mode == 1 || mode == 3) && (gear == 1 || gear == 2); }

}  // namespace

void ReadMaterialRecord() {
  TMaterialRecord& r = MaterialRecord;
  r.Name = Text(1);
  r.Type = Integer(2);
  r.Text3 = Text(3);
  r.Heat = Integer(4);
  r.Text5 = Text(5);
  r.HB = Integer(6);
  r.SigmaHlim = Integer(7);
  r.SigmaFE = Integer(8);
  r.E = Integer(9);
  r.Poisson = Number(10);
  r.Density = Number(11);
  r.Text12 = Text(12);
  r.Text13 = Text(13);
  r.Text14 = Text(14);
}

std::string MaterialSortExpression(int order) {
  auto f = [](int n) { return common::TrimBlanks(DbfFieldName(n)); };
  switch (order) {
    case 1: return f(2) + "*100+" + f(4);
    case 2: return f(1);
    case 3: return f(4) + "*100+" + f(7);
    case 4: return f(7) + "*1000+" + f(8);
    case 5: return f(8) + "*1000+" + f(7);
    case 6: return f(6) + "*1000+" + f(7);
    case 7: return f(9) + "*1000+" + f(7);
    case 8: return f(13);
    case 9: return f(12);
    default: return std::string();
  }
}

bool BrowseMaterialTable(int gear, int mode, int sortOrder, std::uint16_t& recNo) {
  common::CheckFileAccess(common::AddBackslash(common::DbfDirectory) + MaterialTableName);
  if (AbortFlag) return false;
  const bool pick = PicksForGear(gear, mode);
  DbfSetTitles("", pick ? "material database gear " + common::IntToText(gear) : "material database");
  DbfOpen(MaterialTableName);
  if (AbortFlag) return false;
  const std::string expression = MaterialSortExpression(sortOrder);
  if (!expression.empty()) DbfCreateIndex(expression, "vobwst");
  if (pick) DbfGoto(recNo);
  common::SetHelpNumber2(kMaterialHelp);
  DbfBrowse("", static_cast<std::uint16_t>(mode));
  bool taken = false;
  if (!AbortFlag) {
    if (pick) {
      ReadMaterialRecord();
      recNo = static_cast<std::uint16_t>(DbfPickedRecNo);
      taken = true;
    } else {
      // Only the table was edited: the caller has nothing to recalculate.
      AbortFlag = 1;
    }
  }
  DbfClose();
  common::CursorArrow();
  return taken;
}

}  // namespace dbase
