// Storage, start values and data-file section of the document links; see
// document_links.h. The section is read by the strict reader of the data
// file (app/data_file_lines.h).
#include "app/documentation/document_links.h"

#include "app/data_file_lines.h"
#include "common/text_file.h"

namespace app {

namespace {

// The desktop's opener: it hands a text, a drawing or a picture to the
// program the desktop has for its kind.
const RangeArray<std::string, 1, DocumentLinkCount> DefaultPrograms = [] {
  RangeArray<std::string, 1, DocumentLinkCount> programs;
  for (int i = 1; i <= DocumentLinkCount; ++i) programs[i] = "xdg-open";
  return programs;
}();

RangeArray<TDocumentLink, 1, DocumentLinkCount> StartLinks() {
  RangeArray<TDocumentLink, 1, DocumentLinkCount> links;
  for (int i = 1; i <= DocumentLinkCount; ++i) links[i] = {DefaultPrograms[i], ""};
  return links;
}

}  // namespace

RangeArray<TDocumentLink, 1, DocumentLinkCount> DocumentLinks = StartLinks();

void InitDocumentLinks() { DocumentLinks = StartLinks(); }

void WriteDocumentsSection() {
  const std::string rule(20, '-');
  common::WriteTextLine("documents");
  common::WriteIntLine(DocumentLinkCount);
  common::WriteTextLine(rule);
  for (int i = 1; i <= DocumentLinkCount; ++i) {
    common::WriteTextLine(OneLineText(DocumentLinks[i].Program));
    common::WriteTextLine(OneLineText(DocumentLinks[i].File));
    common::WriteTextLine(std::string(14, '-'));
  }
}

void ReadDocumentsSection(DataFileLines& lines) {
  lines.ExpectMarker("documents");
  // The count is fixed; any other number means the file is not laid out
  // as this program writes it.
  long long count = 0;
  lines.ReadWhole(count, DocumentLinkCount, DocumentLinkCount);
  lines.Skip();
  for (int i = 1; i <= DocumentLinkCount && !lines.Failed(); ++i) {
    TDocumentLink link;
    lines.ReadText(link.Program);
    lines.ReadText(link.File);
    lines.Skip();
    if (!lines.Failed()) DocumentLinks[i] = link;
  }
}

}  // namespace app
