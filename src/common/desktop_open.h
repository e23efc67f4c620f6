// Documents, web pages and worksheets handed to the desktop's programs
// (platform/program_start.h), with a message when no program opens them:
// a click that does nothing would leave the user guessing.
#pragma once

#include <string>

namespace common {

// Opens the file or web address with its program; false (AbortFlag set)
// after the message "No program opens <what> !" when none does.
bool OpenWithDesktop(const std::string& what);

// Starts the program with the file (each taken whole, blanks and all; an
// empty file is none); false (AbortFlag set) after the message "Program
// <program> could not be started !" when the program cannot be started.
bool StartProgramLine(const std::string& program, const std::string& file);

}  // namespace common
