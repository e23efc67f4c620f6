// The value edits of the input dialogs are the common ones
// (common/value_edit.h): an untouched edit gives back the exact value it
// showed.
#pragma once

#include "common/value_edit.h"

namespace app {

using common::ValueEdit;

}  // namespace app
