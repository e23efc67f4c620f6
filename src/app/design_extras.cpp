// Storage and start values of the design values of design_extras.h.
#include "app/design_extras.h"

namespace app {

GearArray<std::uint16_t> MaterialRecNo{};
GearArray<std::uint16_t> ToolRecNo{};
GearArray<std::string> MaterialName{};
GearArray<std::string> ToothCorrectionText{};

void SetDesignExtrasDefaults() {
  MaterialRecNo.fill(0);
  ToolRecNo.fill(0);
  MaterialName.fill(std::string());
  ToothCorrectionText.fill(std::string());
}

}  // namespace app
