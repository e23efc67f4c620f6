// The value edits of the input dialogs are the common ones
// (common/value_edit.h): an untouched edit gives back the exact value it
// showed, and an edited one is checked before the form takes it.
#pragma once

#include "common/value_edit.h"

namespace app {

using common::AcceptNumberText;
using common::AcceptWholeNumberText;
using common::ValueEdit;

}  // namespace app
