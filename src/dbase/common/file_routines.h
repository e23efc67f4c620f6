// File routines of the table engine: existence and date tests, erasing
// single files and files by mask, free disk space, the short path name, and
// unique temporary file names. Failures of EraseFiles and UniqueFilename are
// recorded through SetError; FileDate keeps the OS error in LastOsError.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace dbase {

// The OS error (engine code) of the last FileDate; 0 on success.
extern int LastOsError;

// The file's modification time, or 0.
std::time_t FileDate(const std::string& name);
bool FileDatedToday(const std::string& name);
bool FileExistsS(const std::string& name);
// Erases a file that is not in use by the engine (0 or the engine code).
int EraseFile(const std::string& name);
// Erases the files the mask names ('*' and '?'); records 5 when some remain,
// whose names stay in EraseLeftovers until the next call.
void EraseFiles(const std::string& mask);
extern std::vector<std::string> EraseLeftovers;
// Free KB on the file system of the path ("" the current directory);
// 2147483647 when unknown.
std::int64_t DiskFreeKB(const std::string& path);
// Drives do not exist here: 0 is the current directory's file system; any
// other number answers 2147483647.
std::int64_t DiskFreeKBOfDrive(int drive);
// A new empty file "TZPxxxx.tmp" in the temporary directory; empty on failure.
std::string UniqueFilename();
// Called by the navigation commands; nothing is required of it.
void IdleHook();

}  // namespace dbase
