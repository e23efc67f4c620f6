// Small file and path utilities of the line-file layer: path pieces,
// directory tests, deleting and copying files, text shortening. Paths use
// '/' as separator and have no drive prefix. Used by the configuration
// files (config_file.cpp), the file checks (file_checks.cpp), the dialogs
// and the table services; files are reached through platform/file_system.h
// for writing.
#pragma once

#include <string>

#include "common/text_file.h"

namespace common {

// Plain assign and close of a text file (close reports a failed write
// through AbortFlag; the previous file then stays).
void AssignTextFile(TextFile& file, const std::string& name);
void CloseTextFile(TextFile& file);

// The path with a '/' appended unless it ends in one, whatever its last
// character (a letter beyond ASCII, '.', '-', '~', a blank, ':'); an empty
// path stays empty. Blanks round the path are dropped unless the path as
// given names a folder.
std::string AddBackslash(const std::string& path);
// The same (':' is no drive separator here).
std::string AddBackslash2(const std::string& path);
// The path, blanks dropped as AddBackslash drops them, without one trailing
// '/' (the root "/" stays).
std::string RemoveBackslash(const std::string& path);
// The path up to and including its last '/'; empty when there is none.
std::string FileDirPart(const std::string& path);
// Drive letters do not exist here: always empty.
std::string DrivePart(const std::string& path);
// The file name without directory and without its last extension.
std::string BareFileName(const std::string& path);
std::string FileNameNoExt(const std::string& path);
// FileDirPart followed by FileNameNoExt.
std::string PathNoExt(const std::string& path);
// The design's name without the design file's extension: "pump.v1.vb4"
// and "pump.v1" both give "pump.v1" (any letter case of the extension);
// every other dot is part of the name. The directory stays.
std::string DesignStem(const std::string& name);
// The design's name as the program keeps it (CurrentFileName) for a name
// without the design file's extension: the name itself, or, where the name
// ends with that extension too ("d.vb4" of the file "d.vb4.vb4"), the file's
// name, so that the extension is never taken off a second time.
std::string KeptDesignName(const std::string& stem);
// The design's name of a design file (the path without its directory): the
// name DesignFileName turns back into that file's name. "dir/pump.v1.vb4"
// gives "pump.v1", "dir/d.vb4.vb4" gives "d.vb4.vb4", and "dir/PUMP.VB4",
// whose extension differs from the design file's in letter case only, is
// kept whole ("PUMP.VB4"), since it is not the file "PUMP.vb4".
std::string BareDesignName(const std::string& path);
// The design's name (CurrentFileName) of the design file at path, so that
// the design is saved back to the file it was read from: BareDesignName
// where DesignFileName gives that file back ("dir/pump.v1.vb4" gives
// "pump.v1"); else, for a file of another extension or none ("dir/pump.bak",
// "dir/pump"), the path itself, made absolute.
std::string DesignNameOfFile(const std::string& path);
// The file a name typed for an output of one format names: the name as
// typed when its file name ends in "." + extension (any letter case:
// "gear.DXF") or is only that (".dxf"), else the name with "." + extension
// added ("pumpB.v3" gives "pumpB.v3.dxf", "gear" gives "gear.dxf"). Every
// save dialog of a format takes its names by this one rule. Further
// extensions the format takes may follow after ';' ("htm;html": "t.html"
// stays, "t" gives "t.htm"); "*" takes any extension. An empty extension
// adds nothing.
std::string NameWithExtension(const std::string& name, const std::string& extension);
// The file a name chosen in a dialog that reads names: the name as chosen
// when a file of that name is there ("data.csv", "pump.bak"), else
// NameWithExtension ("pump.v1" reads "pump.v1.vb4"). Every dialog that
// reads takes its names by this one rule.
std::string NameToRead(const std::string& name, const std::string& extension);
// The name of a file derived from the design's: DesignStem + "." + the
// extension, so "pump.v1" gives "pump.v1.txt" and never "pump.txt".
std::string DesignOutputName(const std::string& name, const std::string& extension);
// The design file's name for a design name: as it is when it ends with the
// design file's extension, is a path with an extension of its own (given so
// on the command line) or an absolute path (a file of another extension or
// none, read as chosen: DesignNameOfFile), else with the extension added
// ("pump.v1" is the design "pump.v1.vb4", "old.d/sheet" "old.d/sheet.vb4").
std::string DesignFileName(const std::string& name);
// The design file of a design name in directory: DesignFileName, in the
// directory unless the name is an absolute path; an empty directory means
// the working directory.
std::string DesignFilePath(const std::string& directory, const std::string& name);
// The text after the first '.'; empty when there is none.
std::string TextAfterDot(const std::string& text);

// The directory of the program's temporary files, with a trailing '/': the
// configured one (TempDirectory), or the system's (TMPDIR, else /tmp) where
// none is configured, so that no temporary file lands among the user's
// files in the working directory.
std::string TemporaryDirectory();
// A new, empty file of this run in TemporaryDirectory(), named prefix + a
// random part + suffix: created exclusively (a file or link of the name
// that stood there first is never used) and readable by the user only. Its
// path, or empty when none can be made; the failure is then noted
// (NoteFileFailure of file_checks.h: the directory with the name's pattern,
// "/tmp/KALDIGES*.$$$", and the system's reason), for the caller to tell.
// The caller removes the file when its work is done.
std::string NewTemporaryFile(const std::string& prefix, const std::string& suffix);

// True when the file can be opened for reading.
bool FileCanOpen(const std::string& name);
// Erases the file when it can be opened; reports nothing.
void DeleteFileQuiet(const std::string& name);
// Erases every file of the directory that matches the mask ('*', '?',
// any letter case; "*.*" matches every name); failures are ignored.
void DeleteFiles(const std::string& directory, const std::string& mask);
// True when a file can be created in the directory (a file of a unique
// name is created and removed; no existing file is touched).
bool DirectoryWritable(const std::string& directory);
// True when the directory exists and can be entered.
bool DirectoryReachable(const std::string& directory);
// True when the directory exists, can be listed and holds at least one
// entry.
bool DirectoryHasEntries(const std::string& directory);
// True when the directory exists and can be listed, empty or not.
bool DirectoryListable(const std::string& directory);

// Copies source to destination (a directory as destination receives the
// source's file name). The destination is replaced only by a complete copy.
// Returns false on any failure (ec tells why); sets no flag.
bool CopyFileTo(const std::string& source, const std::string& destination);
bool CopyFileTo(const std::string& source, const std::string& destination, std::error_code& ec);
// The same; any failure sets AbortFlag.
void CopyFileBinary(const std::string& source, const std::string& destination);
// When the source can be opened: copies it into the directory of target.
bool CopyFileIntoDirOf(const std::string& source, const std::string& target);
// Copies every file of sourceDir matching mask into destDir. AbortFlag := 1
// when none matches or any copy fails, else 0.
void CopyMatchingFiles(const std::string& mask, const std::string& sourceDir, const std::string& destDir);

// Copies a text file line by line, converting each line from code page 850
// to the display text (UTF-8), for files handed to other programs. A failure
// to open either file or any read or write error sets AbortFlag and leaves
// the destination as it was.
void CopyTextFileConverted(const std::string& source, const std::string& destination);

// Windows-style attribute bits, as far as this platform has them.
inline constexpr int AttrReadOnly = 0x01;
inline constexpr int AttrHidden = 0x02;
inline constexpr int AttrDirectory = 0x10;
inline constexpr int AttrArchive = 0x20;
// True when the file exists and its attributes contain every bit of mask.
bool HasAttr(const std::string& name, int mask);

// Blanks removed at both ends of the variable itself.
void TrimInPlace(std::string& text);
// Texts of at most n characters unchanged; longer ones become the first m,
// " ... " and the last m + 1 characters, m = n div 2 - 3 (long paths in
// menus and captions).
std::string ShortenText(const std::string& text, int n);

// Whether name matches a file mask ('*', '?', any letter case).
bool MatchesFileMask(const std::string& name, const std::string& mask);

}  // namespace common
