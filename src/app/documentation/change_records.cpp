// Start values and data-file sections of the change records, the title
// block and its free texts; see change_records.h. The records are declared
// in common/design_documentation.h; the line forms of the sections follow
// the data file (app/data_file.cpp), whose strict reader
// (app/data_file_lines.h) refuses a section that does not fit.
#include "app/documentation/change_records.h"

#include <algorithm>
#include <vector>

#include "app/data_file_lines.h"
#include "common/date_time.h"
#include "common/design_documentation.h"
#include "common/kaldvar.h"
#include "common/number_format.h"
#include "common/text_file.h"

namespace app {

using common::ChangeRecords;
using common::TitleBlock;

namespace {

const std::string SectionRule(20, '-');
const std::string RecordRule(14, '-');
// Broken bar of code page 850: looks like the '|' typed, but never ends a
// field.
constexpr char BrokenBar = static_cast<char>(0xDD);

// The free-text numbers are written with three significant digits and a
// point, whatever the configured digits and decimal sign, so that a file
// reads back the same on every installation.
class PlainNumberSettings {
 public:
  PlainNumberSettings() : digits_(common::SignificantDigits), sign_(common::DecimalSign) {
    common::SignificantDigits = 3;
    common::DecimalSign = 1;
  }
  ~PlainNumberSettings() {
    common::SignificantDigits = digits_;
    common::DecimalSign = sign_;
  }
  PlainNumberSettings(const PlainNumberSettings&) = delete;
  PlainNumberSettings& operator=(const PlainNumberSettings&) = delete;

 private:
  std::int32_t digits_;
  std::uint16_t sign_;
};

}  // namespace

void InitChangeRecords() {
  ChangeRecords = common::TChangeRecords{};
  TitleBlock.FreeTexts.fill(common::TFreeText{});
  TitleBlock.FreeTextCount = 0;
  const std::string today = common::TodayText();
  TitleBlock.Texts[common::TitleFirstDate] = today;
  TitleBlock.Texts[common::TitleSecondDate] = today;
  TitleBlock.Texts[common::TitleThirdDate] = today;
  TitleBlock.TextMode = common::FreeTextsA4;
}

void ClearChanges() {
  ChangeRecords.Count = 0;
  TitleBlock.Texts[common::TitleFirstDate] = common::TodayText();
  TitleBlock.FreeTextCount = 0;
  TitleBlock.TextMode = common::FreeTextsA4;
}

std::string ChangeTextForFile(const std::string& description) {
  std::string stored;
  stored.reserve(description.size());
  for (std::size_t i = 0; i < description.size(); ++i) {
    const char c = description[i];
    if (c == '\r') {
      stored.push_back('|');
      if (i + 1 < description.size() && description[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      stored.push_back('|');
    } else {
      stored.push_back(c);
    }
  }
  return stored;
}

std::string ChangeTextFromFile(const std::string& stored) {
  std::string text = stored;
  for (char& c : text)
    if (c == '|') c = '\n';
  return text;
}

std::string FieldTextForFile(const std::string& text) {
  std::string field = OneLineText(text);
  for (char& c : field)
    if (c == '|') c = BrokenBar;
  return field;
}

void WriteChangesSection() {
  using common::WriteTextLine;
  const int changes = std::min<int>(ChangeRecords.Count, common::MaxChangeRecords);
  const int freeTexts = std::min<int>(TitleBlock.FreeTextCount, common::MaxFreeTexts);
  WriteTextLine("CHANGES");
  common::WriteIntLine(changes);
  WriteTextLine(SectionRule);
  for (int i = 1; i <= changes; ++i) {
    const common::TChangeRecord& record = ChangeRecords.Records[i];
    WriteTextLine(OneLineText(record.Modification));
    WriteTextLine(OneLineText(record.Date));
    WriteTextLine(OneLineText(record.Responsible));
    WriteTextLine(ChangeTextForFile(record.Description));
    WriteTextLine(RecordRule);
  }
  const auto& texts = TitleBlock.Texts;
  common::WriteFieldsLine8(FieldTextForFile(texts[3]), FieldTextForFile(texts[4]), FieldTextForFile(texts[5]),
                           FieldTextForFile(texts[6]), FieldTextForFile(texts[9]), FieldTextForFile(texts[10]),
                           std::to_string(freeTexts), "");
  WriteTextLine(OneLineText(texts[1]));
  WriteTextLine(OneLineText(texts[7]));
  WriteTextLine(OneLineText(texts[8]));
  WriteTextLine(OneLineText(texts[2]));
  const PlainNumberSettings plain;
  for (int i = 1; i <= freeTexts; ++i) {
    const common::TFreeText& free = TitleBlock.FreeTexts[i];
    common::WriteFieldsLine6(common::RealToText(free.x), common::RealToText(free.y), common::RealToText(free.h),
                             common::RealToText(free.phi), FieldTextForFile(free.text), "");
  }
}

void ReadChangesSection(DataFileLines& lines) {
  lines.ExpectMarker("CHANGES");
  int count = 0;
  lines.ReadCount(count, common::MaxChangeRecords, "change records");
  lines.Skip();
  if (lines.Failed()) return;
  for (int i = 1; i <= count && !lines.Failed(); ++i) {
    common::TChangeRecord record;
    lines.ReadText(record.Modification);
    lines.ReadText(record.Date);
    lines.ReadText(record.Responsible);
    std::string stored;
    lines.ReadText(stored);
    record.Description = ChangeTextFromFile(stored);
    lines.Skip();
    ChangeRecords.Records[i] = record;
  }
  ChangeRecords.Count = static_cast<std::uint16_t>(count);

  std::vector<std::string> fields;
  lines.ReadFields(fields, 8);
  int freeCount = 0;
  if (lines.Failed() || !lines.FieldCount(fields[6], freeCount, common::MaxFreeTexts, "free texts")) return;
  auto& texts = TitleBlock.Texts;
  texts[3] = fields[0];
  texts[4] = fields[1];
  texts[5] = fields[2];
  texts[6] = fields[3];
  texts[9] = fields[4];
  texts[10] = fields[5];
  lines.ReadText(texts[1]);
  lines.ReadText(texts[7]);
  lines.ReadText(texts[8]);
  lines.ReadText(texts[2]);
  for (int i = 1; i <= freeCount && !lines.Failed(); ++i) {
    lines.ReadFields(fields, 6);
    if (lines.Failed()) return;
    common::TFreeText free;
    if (!lines.FieldReal(fields[0], free.x) || !lines.FieldReal(fields[1], free.y) ||
        !lines.FieldReal(fields[2], free.h) || !lines.FieldReal(fields[3], free.phi))
      return;
    free.text = fields[4];
    TitleBlock.FreeTexts[i] = free;
  }
  TitleBlock.FreeTextCount = static_cast<std::uint16_t>(freeCount);
}

void WriteIso7200Header() {
  common::WriteTextLine("ISO 7200 Header");
  common::WriteIntLine(common::FrameStyle);
  common::WriteIntLine(TitleBlock.TextMode);
  common::WriteTextLine(OneLineText(TitleBlock.Texts[common::TitleResponsibleDept]));
  common::WriteTextLine(OneLineText(TitleBlock.Texts[common::TitleDocumentType]));
  common::WriteTextLine(OneLineText(TitleBlock.Texts[common::TitleDocumentStatus]));
  common::WriteTextLine("---");
}

void ReadIso7200Header(DataFileLines& lines) {
  lines.ExpectMarker("ISO 7200 Header");
  lines.ReadInt(common::FrameStyle);
  lines.ReadInt(TitleBlock.TextMode);
  lines.ReadText(TitleBlock.Texts[common::TitleResponsibleDept]);
  lines.ReadText(TitleBlock.Texts[common::TitleDocumentType]);
  lines.ReadText(TitleBlock.Texts[common::TitleDocumentStatus]);
  lines.Skip();
}

}  // namespace app
