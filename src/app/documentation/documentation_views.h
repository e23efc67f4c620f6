// The windows of a design's documentation: the change-record form, the
// drawing-information form (title block and free texts) and the
// document-links form. The field models, the checks and the records are in
// change_list.h, drawing_info_form.h and document_links_form.h; the windows
// only show a model and call its OK, Cancel and button actions. The Qt
// windows (ui/documentation_dialogs.h) are installed by the windowing
// start-up; until then every form ends as cancelled, so that a run without
// windows never waits.
#pragma once

namespace app {

class DocumentationViews {
 public:
  virtual ~DocumentationViews() = default;
  // TForm_EinAend on change record n, modal.
  virtual void ShowChangeEntry(int n) = 0;
  // TForm_zeichInfo, modal.
  virtual void ShowDrawingInfo() = 0;
  // TForm_confDoku, modal.
  virtual void ShowDocumentLinks() = 0;
};

// The views in use; the default cancels every form (AbortFlag set).
DocumentationViews& DocumentationWindows();
// Installs views (not owned); nullptr returns to the default. Returns the
// previous ones.
DocumentationViews* SetDocumentationViews(DocumentationViews* views);

}  // namespace app
