// Storage of the documentation records of the current design
// (design_documentation.h). Their start-up initialisation and the data-file
// sections are written by the application's documentation unit.
#include "common/design_documentation.h"

namespace common {

bool CadBatchNaming = false;
TTitleBlock TitleBlock;
TChangeRecords ChangeRecords;

}  // namespace common
