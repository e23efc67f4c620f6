// Program start and end (start_up.cpp): every unit's defaults, the program
// identity, the configuration and session files, the documentation records
// and the default design "null", in the order the program needs them.
#pragma once

namespace app {

// Runs once at program start, before any window or command-line work.
void StartUpProgram(int argc, char** argv);

// Runs once at the end: writes the session file with the recent files.
void ShutDownProgram();

}  // namespace app
