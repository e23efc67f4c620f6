// Field-description lists and creating a table from one (see
// dbf_field_list.h).
#include "dbase/dataset/dbf_field_list.h"

#include <algorithm>
#include <cstdio>

#include "dbase/common/text_routines.h"
#include "dbase/dataset/dataset_fields.h"
#include "dbase/engine/engine_settings.h"
#include "dbase/engine/error_codes.h"

namespace dbase {

namespace {

std::vector<std::string> SplitCommas(const std::string& text) {
  std::vector<std::string> items;
  std::size_t start = 0;
  for (std::size_t at; (at = text.find(',', start)) != std::string::npos; start = at + 1) {
    items.push_back(TzAllTrim(text.substr(start, at - start)));
  }
  items.push_back(TzAllTrim(text.substr(start)));
  return items;
}

}  // namespace

std::string FieldDescription(const FieldDef& field) {
  return field.name + ", " + std::string(1, field.type) + ", " + std::to_string(field.length) + ", " +
         std::to_string(field.decimals);
}

bool CorrectFieldDefinition(FieldDef& field) {
  const FieldDef before = field;
  if (field.type == 'B' || field.type == 'G') field.type = 'M';
  if (std::string("CDFLMN").find(field.type) == std::string::npos) field.type = 'C';
  if (field.type == 'N' && field.length >= 21) field.length = 20;
  if (field.decimals >= 19) field.decimals = 18;
  if (field.type == 'N' && field.decimals > 0 && field.length - field.decimals < 2) {
    field.decimals = static_cast<std::uint8_t>(field.length >= 2 ? field.length - 2 : 0);
  }
  if (field.type == 'C' && field.length >= 255) field.length = 254;
  return field.type != before.type || field.length != before.length || field.decimals != before.decimals;
}

std::vector<FieldDef> ParseFieldList(const std::vector<std::string>& list, const std::string& tableName) {
  std::vector<FieldDef> fields;
  for (const std::string& line : list) {
    const std::vector<std::string> items = SplitCommas(line);
    if (items.size() != 4) break;
    FieldDef field;
    field.name = TzUpperCase(items[0].substr(0, 10));
    const std::string type = TzUpperCase(items[1]);
    field.type = type.empty() ? 'C' : type[0];
    if (field.type == 'X') continue;
    const std::int64_t length = StrToIntClean(items[2]);
    const std::int64_t decimals = StrToIntClean(items[3]);
    // Values beyond a byte are first held at the byte's limit, so the
    // correction below brings them into range instead of wrapping them.
    field.length = static_cast<std::uint8_t>(std::clamp<std::int64_t>(length, 0, 255));
    field.decimals = static_cast<std::uint8_t>(std::clamp<std::int64_t>(decimals, 0, 255));
    const FieldDef asked = field;
    if (CorrectFieldDefinition(field)) {
      char text[512];
      std::snprintf(text, sizeof text,
                    "Invalid field definition for %s: %s,%s,%d,%d. Will use corrected definition: %s,%s,%d,%d",
                    tableName.c_str(), asked.name.c_str(), std::string(1, asked.type).c_str(), asked.length,
                    asked.decimals, field.name.c_str(), std::string(1, field.type).c_str(), field.length,
                    field.decimals);
      ShowDatasetMessage(text);
    }
    fields.push_back(field);
  }
  return fields;
}

bool CreateDbfFromFieldList(const std::string& fileName, const std::vector<std::string>* list) {
  if (list == nullptr) {
    ShowDatasetMessage("DbfFieldList is Nil trying to create a database");
    return false;
  }
  const std::vector<FieldDef> fields = ParseFieldList(*list, fileName);
  if (fields.empty()) {
    ShowDatasetMessage("FieldList.Count is <= 0 trying to create a database");
    return false;
  }
  return CreateDbf(fileName, fields);
}

}  // namespace dbase
