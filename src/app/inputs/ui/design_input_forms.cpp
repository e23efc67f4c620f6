// The installation of the design-input windows; see design_input_forms.h.
#include "app/inputs/ui/design_input_forms.h"

#include "app/inputs/ui/lubricant_dialogs.h"
#include "app/inputs/ui/material_dialog.h"
#include "app/inputs/ui/strength_dialogs.h"

namespace app::ui {

void InstallDesignInputForms() {
  MaterialFormShower() = ShowMaterialWindow;
  LubricantViews().Lubricant = ShowLubricantWindow;
  LubricantViews().Converter = ShowViscosityConverterWindow;
  StrengthViews().Page1 = ShowStrengthPage1Window;
  StrengthViews().Page2 = ShowStrengthPage2Window;
  StrengthViews().OnePage = ShowStrengthFormWindow;
}

}  // namespace app::ui
