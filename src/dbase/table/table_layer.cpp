// The procedural table layer; see table_layer.h.
#include "dbase/table/table_layer.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "common/code_page.h"
#include "common/file_checks.h"
#include "common/file_utils.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "dbase/engine/engine_code_page.h"

namespace dbase {

namespace {

using common::AbortFlag;
namespace fs = std::filesystem;

bool ReadOnlyFile(const std::string& path) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (ec || !fs::exists(status)) return false;
  return (status.permissions() & fs::perms::owner_write) == fs::perms::none;
}

// Copies the table file from the DBF directory into the temporary
// directory; the copy gets the original's permissions, made writable.
// Answers the copy's path; AbortFlag is set when nothing was copied.
std::string CopyToTemp(const std::string& name) {
  const std::string source = common::AddBackslash(common::DbfDirectory) + name;
  const std::string target = common::AddBackslash(common::TempDirectory) + name;
  std::error_code ec;
  // A read-only copy left by an earlier run would refuse the new one.
  if (fs::exists(target, ec) && ReadOnlyFile(target)) {
    fs::permissions(target, fs::perms::owner_write, fs::perm_options::add, ec);
  }
  common::CopyMatchingFiles(name, common::DbfDirectory, common::TempDirectory);
  if (AbortFlag) return target;
  const fs::perms perms = fs::status(source, ec).permissions();
  if (!ec) fs::permissions(target, perms | fs::perms::owner_write, fs::perm_options::replace, ec);
  return target;
}

}  // namespace

bool DbfWriteChecked() { return common::WriteCheckFlags[1] != 0; }
void SetDbfWriteChecked(bool checked) { common::WriteCheckFlags[1] = checked ? 1 : 0; }
bool DbfDirWritable() { return common::WriteCheckFlags[2] != 0; }

bool DbfWriteCheck(const std::string& directory, const std::string& tableFileName) {
  if (DbfWriteChecked()) return DbfDirWritable();
  const std::string dir = common::AddBackslash(directory);
  common::CheckFileAccess(dir + tableFileName);
  if (AbortFlag) return false;
  const std::string testFile = dir + "TEST.$$$";
  bool writable = false;
  {
    std::ofstream out(testFile, std::ios::binary | std::ios::trunc);
    if (out) {
      out << "DBF Write Check\r\n";
      out.close();
      writable = !out.fail();
    }
  }
  // Whatever the write did, the test file does not stay behind.
  std::error_code ec;
  fs::remove(testFile, ec);
  common::WriteCheckFlags[2] = writable ? 1 : 0;
  SetDbfWriteChecked(true);
  return writable;
}

void DbfOpen(const std::string& name) {
  const std::string directory = common::CopyTableFlag ? common::TempDirectory : common::DbfDirectory;
  std::string file = name;
  if (file.find('.') == std::string::npos) file += ".dbf";
  std::string path = common::AddBackslash(directory) + file;
  AbortFlag = 0;
  const bool writable = DbfWriteCheck(directory, file);
  if (writable) {
    if (ReadOnlyFile(path)) path = CopyToTemp(file);
  } else {
    if (AbortFlag) return;
    path = CopyToTemp(file);
  }
  if (AbortFlag) return;
  DbfOpenFile(path);
}

void DbfOpenFile(const std::string& path) { DbfForm().OpenTable(path); }

void DbfClose() { DbfForm().CloseTable(); }

void DbfSetTitles(const std::string& title1, const std::string& title2) {
  DbfForm().SetTitles(common::OemToDisplayText(title1), common::OemToDisplayText(title2));
}

void DbfBrowse(const std::string& text, std::uint16_t mode) { DbfForm().SetMode(text, mode); }

void DbfGoto(std::int32_t n) {
  const std::int32_t count = DbfRecCount();
  if (n > count) {
    // Fixed words first: the explanation records are found by a message's
    // first 15 characters.
    common::AddErrorMessage("Warning: DBF record #" + std::to_string(n) + " not found, the last record taken");
    n = count;
  }
  DbfGotoClamped(n);
}

void DbfGotoClamped(std::int32_t n) {
  if (n < 1 || n > DbfRecCount()) n = 1;
  DbfForm().GoRecord(n);
}

std::int32_t DbfRecNo() { return static_cast<std::int32_t>(DbfForm().RecNo()); }

std::int32_t DbfRecCount() { return static_cast<std::int32_t>(DbfForm().RecCount()); }

std::string DbfFieldName(int n) { return DbfForm().FieldName(n); }

// The engine holds text in its own code page; the program's texts are in
// code page 850, so a name read here prints and compares as the program's.
std::string DbfGetString(int n) { return AnsiToOemStr(DbfForm().FieldAsString(n)); }

bool DbfGetLogical(const std::string& fieldName) { return DbfForm().GetLogical(fieldName); }

void DbfPutString(const std::string& fieldName, const std::string& value) {
  DbfForm().PutString(fieldName, OemToAnsiStr(value));
}

void DbfPutFloat(const std::string& fieldName, double value) { DbfForm().PutFloat(fieldName, value); }

void DbfPutInteger(const std::string& fieldName, std::int32_t value) { DbfForm().PutInteger(fieldName, value); }

void DbfPutLogical(const std::string& fieldName, bool value) { DbfForm().PutLogical(fieldName, value); }

void DbfPost() { DbfForm().AppendRecord(); }

std::string DbfIndexPath(const std::string& name) { return common::AddBackslash(common::TempDirectory) + name; }

void DbfIndexOn(const std::string& expression, const std::string& indexPath) {
  DbfForm().IndexOn(expression, indexPath);
}

void DbfCreateIndex(const std::string& expression, const std::string& name) {
  const std::string path = DbfIndexPath(name);
  DbfIndexOn(expression, path);
  DbfForm().OpenIndex(path);
}

}  // namespace dbase
