// The document-links form's model; see document_links_form.h.
#include "app/documentation/document_links_form.h"

#include "app/documentation/documentation_views.h"
#include "common/desktop_open.h"
#include "common/file_dialogs.h"
#include "common/kaldvar.h"
#include "common/small_dialogs.h"

namespace app {

namespace {

bool ValidLink(int n) { return n >= 1 && n <= DocumentLinkCount; }

}  // namespace

TDocumentLinkEdits DocumentLinkEditsFromRecords() {
  TDocumentLinkEdits edits;
  edits.caption = "Document Links  -  " + common::UpdateAppTitle();
  edits.links = DocumentLinks;
  return edits;
}

void ChooseLinkProgram(TDocumentLinkEdits& edits, int n) {
  if (!ValidLink(n)) return;
  std::string& program = edits.links[n].Program;
  // Programs on this system carry no extension: every file is offered.
  common::SelectFile(program, "*", program);
}

void ChooseLinkFile(TDocumentLinkEdits& edits, int n) {
  if (!ValidLink(n)) return;
  std::string& file = edits.links[n].File;
  common::SelectFile(file, "*.*", file);
}

void ExecLinkProgram(const TDocumentLinkEdits& edits, int n) {
  if (!ValidLink(n)) return;
  common::StartProgramLine(edits.links[n].Program, edits.links[n].File);
}

void ExecLinkFile(const TDocumentLinkEdits& edits, int n) {
  if (!ValidLink(n)) return;
  common::OpenWithDesktop(edits.links[n].File);
}

void StoreDocumentLinkEdits(const TDocumentLinkEdits& edits) {
  common::AbortFlag = 0;
  DocumentLinks = edits.links;
}

void CancelDocumentLinks() { common::AbortFlag = 1; }

void ShowDocumentLinksForm() { DocumentationWindows().ShowDocumentLinks(); }

}  // namespace app
