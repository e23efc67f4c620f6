// The document-links form (TForm_confDoku): the five program and file
// pairs of the design (document_links.h), edited, and started from the
// form: a program with its file as argument ("Exec Prog"), or a file with
// the program the desktop associates with it ("Exec File"). The buttons act
// on the edits as they stand, saved or not. The field model is here; the
// window is a view (documentation_views.h).
#pragma once

#include <string>

#include "app/documentation/document_links.h"
#include "common/range_array.h"

namespace app {

struct TDocumentLinkEdits {
  std::string caption;  // "Document Links  -  " + the application title
  RangeArray<TDocumentLink, 1, DocumentLinkCount> links{};  // Edit_prog1 .. Edit_file5
};

// FormCreate and FormShow: the caption and the five pairs.
TDocumentLinkEdits DocumentLinkEditsFromRecords();

// Button_prog<n>: the open dialog (every file: programs carry no
// extension here) in the directory of the program edit; the chosen name
// replaces it. Cancel keeps the edit and sets AbortFlag.
void ChooseLinkProgram(TDocumentLinkEdits& edits, int n);
// Button_file<n>: the same with "*.*" for the file edit.
void ChooseLinkFile(TDocumentLinkEdits& edits, int n);
// "Exec Prog": starts program + " " + file. A program that cannot be
// started is reported in a message.
void ExecLinkProgram(const TDocumentLinkEdits& edits, int n);
// "Exec File": opens the file with its associated program; a message says
// so when no program opens it.
void ExecLinkFile(const TDocumentLinkEdits& edits, int n);

// OK: AbortFlag := 0; the five pairs := the edits.
void StoreDocumentLinkEdits(const TDocumentLinkEdits& edits);
// Cancel: AbortFlag := 1; the pairs keep their values.
void CancelDocumentLinks();

// Shows the form modally (the Documentation menu).
void ShowDocumentLinksForm();

}  // namespace app
