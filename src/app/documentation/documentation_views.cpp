// The installed documentation windows; see documentation_views.h.
#include "app/documentation/documentation_views.h"

#include "common/kaldvar.h"

namespace app {

namespace {

// Without windows nobody can answer: each form ends as its Cancel does.
class CancellingViews : public DocumentationViews {
 public:
  void ShowChangeEntry(int) override { common::AbortFlag = 1; }
  void ShowDrawingInfo() override { common::AbortFlag = 1; }
  void ShowDocumentLinks() override { common::AbortFlag = 1; }
};

CancellingViews DefaultViews;
DocumentationViews* Installed = &DefaultViews;

}  // namespace

DocumentationViews& DocumentationWindows() { return *Installed; }

DocumentationViews* SetDocumentationViews(DocumentationViews* views) {
  DocumentationViews* previous = Installed == &DefaultViews ? nullptr : Installed;
  Installed = views ? views : &DefaultViews;
  return previous;
}

}  // namespace app
