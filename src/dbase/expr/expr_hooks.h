// Start of the expression layer: fills the engine's ExprHooks (filter and
// WHILE conditions, freeing) and marks the layer present, which the index
// layer requires before it accepts key expressions.
#pragma once

namespace dbase {

// Installs the hooks on the first call; later calls only count.
void InstallExprHooks();
// Undoes one InstallExprHooks; the last one empties the hooks.
void RemoveExprHooks();
bool ExprLayerPresent();

}  // namespace dbase
