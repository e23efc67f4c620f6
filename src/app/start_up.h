// Program start and end (start_up.cpp): every unit's defaults, the program
// identity, the configuration and session files, the documentation records
// and the default design "null", in the order the program needs them.
#pragma once

namespace app {

// Runs once at program start, before any window or command-line work.
void StartUpProgram(int argc, char** argv);

// Runs once at the end: writes the session file with the recent files.
void ShutDownProgram();

// The user ID of the interactive start, asked when the "Enter Password ?"
// setting is set and no design was named on the command line: the user's
// folder of the program directory becomes the data directory, and its
// default design "null" is read when it has one. False when the program
// has to end (Cancel, or an invalid user ID after its message).
bool AskStartUserId();

}  // namespace app
