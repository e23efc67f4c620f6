// The installed check of the closed pair; see pair_checks.h.
#include "calc/pair_checks.h"

namespace calc {

namespace {
PairCheck Installed = nullptr;
}  // namespace

void InstallPairCheck(PairCheck check) { Installed = check; }

void RunPairCheck() {
  if (Installed) Installed();
}

}  // namespace calc
