// The hook tables of the work-area engine.
#include "dbase/engine/engine_hooks.h"

namespace dbase {

IndexHookTable IndexHooks;
ExprHookTable ExprHooks;
MemoHookTable MemoHooks;
std::function<void(int, std::int32_t)> VirtualFileHook;
CommonHookTable CommonHooks;

void ClearEngineHooks() {
  IndexHooks = IndexHookTable{};
  ExprHooks = ExprHookTable{};
  MemoHooks = MemoHookTable{};
  VirtualFileHook = nullptr;
  CommonHooks = CommonHookTable{};
}

}  // namespace dbase
