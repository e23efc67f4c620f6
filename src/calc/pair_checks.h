// Checks of the closed pair that the calculation cannot make itself: they
// need the tooth outlines of both gears, which the drawing library builds
// (drawing/outlines/tooth_warnings.h). The program installs the check at its start;
// the noncircular calculation runs it after its sweep, and its warnings
// join those of the sweep.
#pragma once

namespace calc {

using PairCheck = void (*)();

// Installs the check (nullptr: none).
void InstallPairCheck(PairCheck check);

// Runs the installed check, if any.
void RunPairCheck();

}  // namespace calc
