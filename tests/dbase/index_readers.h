// The independent readers of index and table files, run once over many
// files: Perl's XBase::Index lists the (key, record) entries of each index
// file in its order, Python's dbfread the records of each table (deleted
// ones included). Every table of these tests keeps its own record number in
// the numeric field RNO, because dbfread does not tell record numbers.
#pragma once

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "dbase/dbase_test_support.h"
#include "support/file_test_support.h"

namespace dbtest {

// One index entry: the key as hexadecimal bytes (character keys) or as the
// number printed with 17 digits, and the record number.
using IndexEntry = std::pair<std::string, long>;

inline bool HasXBaseIndex() {
  int code = -1;
  RunCommand("perl -MXBase::Index -e 1 2>/dev/null", &code);
  return code == 0;
}

inline std::string HexOf(const std::string& bytes) {
  static const char* digits = "0123456789abcdef";
  std::string out;
  for (const unsigned char c : bytes) {
    out.push_back(digits[c >> 4]);
    out.push_back(digits[c & 15]);
  }
  return out;
}

inline std::string NumberText(double x) {
  char text[64];
  std::snprintf(text, sizeof text, "%.17g", x);
  return text;
}

// The entries of every file (numeric: the keys are numbers).
inline std::map<std::string, std::vector<IndexEntry>> ReadIndexes(const std::filesystem::path& dir,
                                                                  const std::vector<std::string>& files,
                                                                  bool numeric) {
  const std::filesystem::path script = dir / "walk.pl";
  testsupport::Put(script, std::string("use XBase::Index;\n"
                                       "foreach my $f (@ARGV) {\n"
                                       "  print \"FILE $f\\n\";\n"
                                       "  my $i = XBase::Index->new($f) or die XBase::Index->errstr;\n"
                                       "  $i->prepare_select;\n"
                                       "  while (my ($k, $v) = $i->fetch) {\n"
                                       "    print((") +
                               (numeric ? "sprintf('%.17g', $k)" : "unpack('H*', $k)") +
                               "), ' ', $v, \"\\n\");\n  }\n}\n");
  std::string command = "perl " + Quoted(script.string());
  for (const std::string& f : files) command += " " + Quoted(f);
  int code = -1;
  const std::string out = RunCommand(command + " 2>&1", &code);
  EXPECT_EQ(code, 0) << out.substr(0, 2000);
  std::map<std::string, std::vector<IndexEntry>> result;
  std::istringstream lines(out);
  std::string line;
  std::vector<IndexEntry>* current = nullptr;
  while (std::getline(lines, line)) {
    if (line.rfind("FILE ", 0) == 0) {
      current = &result[line.substr(5)];
      continue;
    }
    std::istringstream fields(line);
    IndexEntry entry;
    if (current != nullptr && fields >> entry.first >> entry.second) current->push_back(entry);
  }
  return result;
}

// One record as dbfread reads it.
struct ReadRecord {
  long rno = 0;
  std::string name;  // the character field's bytes, blanks kept, as hex
  double qty = 0;
  bool deleted = false;
};

// The records of every table: fields NAME (character, padded to width) and
// QTY and RNO (numbers).
inline std::map<std::string, std::vector<ReadRecord>> ReadTables(const std::filesystem::path& dir,
                                                                 const std::vector<std::string>& files, int width) {
  std::string script =
      "import sys\n"
      "from dbfread import DBF\n"
      "out = []\n"
      "for f in sys.argv[1:]:\n"
      "    out.append('FILE ' + f)\n"
      "    t = DBF(f, encoding='latin-1', char_decode_errors='strict')\n"
      "    for deleted, records in ((0, t.records), (1, t.deleted)):\n"
      "        for r in records:\n"
      "            name = (r['NAME'] or '').encode('latin-1').ljust(" + std::to_string(width) + ").hex()\n"
      "            out.append('%d %s %r %d' % (int(r['RNO']), name, float(r['QTY'] or 0), deleted))\n"
      "sys.stdout.write('\\n'.join(out) + '\\n')\n";
  testsupport::Put(dir / "tables.py", script);
  std::string command = "/usr/bin/python3 " + Quoted((dir / "tables.py").string());
  for (const std::string& f : files) command += " " + Quoted(f);
  int code = -1;
  const std::string out = RunCommand(command + " 2>&1", &code);
  EXPECT_EQ(code, 0) << out.substr(0, 2000);
  std::map<std::string, std::vector<ReadRecord>> result;
  std::istringstream lines(out);
  std::string line;
  std::vector<ReadRecord>* current = nullptr;
  while (std::getline(lines, line)) {
    if (line.rfind("FILE ", 0) == 0) {
      current = &result[line.substr(5)];
      continue;
    }
    std::istringstream fields(line);
    ReadRecord r;
    std::string qty;
    int deleted = 0;
    if (current != nullptr && fields >> r.rno >> r.name >> qty >> deleted) {
      r.qty = std::strtod(qty.c_str(), nullptr);
      r.deleted = deleted != 0;
      current->push_back(r);
    }
  }
  return result;
}

// The entries an index over NAME (or QTY) must list for these records: all
// of them, deleted ones too, sorted by key and then record number.
inline std::vector<IndexEntry> ExpectedEntries(const std::vector<ReadRecord>& records, bool numeric) {
  std::vector<std::pair<std::pair<double, std::string>, long>> sorted;
  for (const ReadRecord& r : records) {
    sorted.push_back({{numeric ? r.qty : 0.0, numeric ? std::string() : r.name}, r.rno});
  }
  std::sort(sorted.begin(), sorted.end());
  std::vector<IndexEntry> out;
  for (const auto& s : sorted) out.emplace_back(numeric ? NumberText(s.first.first) : s.first.second, s.second);
  return out;
}

}  // namespace dbtest
