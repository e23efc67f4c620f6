// The expression layer's entries in the engine's hook table.
#include "dbase/expr/expr_hooks.h"

#include "dbase/engine/engine_hooks.h"
#include "dbase/expr/compiled_expr.h"

namespace dbase {

namespace {

int installCount = 0;

}  // namespace

void InstallExprHooks() {
  if (installCount++ > 0 && ExprHooks.evaluate) return;
  installCount = 1;
  ExprHooks.evaluate = [](void* compiled) {
    auto* expr = static_cast<CompiledExpr*>(compiled);
    if (Evaluate(expr) == nullptr) return false;
    return expr->resultType == kTypeLogical && expr->ResultLogical();
  };
  ExprHooks.free = [](void* compiled) {
    auto* expr = static_cast<CompiledExpr*>(compiled);
    FreeExpr(expr);
  };
}

void RemoveExprHooks() {
  if (installCount == 0) return;
  if (--installCount == 0) ExprHooks = ExprHookTable{};
}

bool ExprLayerPresent() { return static_cast<bool>(ExprHooks.evaluate); }

}  // namespace dbase
