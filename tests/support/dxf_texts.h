// The texts, blocks and inserts, the layers and the drawing units of a DXF
// file as the independent reader (ezdxf, through tests/support/dxf_texts.py)
// sees them, the file loaded strictly and audited.
#pragma once

#include "support/run_command.h"

#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>

namespace testsupport {

struct DxfText {
  std::string owner;  // "*" model space, else the block
  double x = 0, y = 0, height = 0, rotation = 0;
  std::string text;
};
struct DxfInsert {
  std::string owner, name;
  double x = 0, y = 0, scale = 0;
};

struct DxfTexts {
  int loadStatus = -1;
  int auditErrors = -1;
  std::map<std::string, int> blocks;  // name -> entity count
  std::vector<DxfInsert> inserts;
  std::vector<DxfText> texts;
  std::map<std::string, std::string> header;  // "$INSUNITS" -> "4"; "-" when absent
  std::map<std::string, int> layers;          // LAYER table: name -> colour
  std::map<std::string, int> used;            // layer -> entities on it

  // The layers that entities are on and the table does not define.
  std::vector<std::string> UndefinedLayers() const {
    std::vector<std::string> undefined;
    for (const auto& [name, count] : used)
      if (!layers.count(name)) undefined.push_back(name);
    return undefined;
  }

  const DxfText* Find(const std::string& text) const {
    for (const DxfText& t : texts)
      if (t.text == text) return &t;
    return nullptr;
  }
  bool HasTextContaining(const std::string& part) const {
    for (const DxfText& t : texts)
      if (t.text.find(part) != std::string::npos) return true;
    return false;
  }
};

namespace detail {

// Takes one output line of the reader into out.
inline void TakeDxfTextsLine(const std::string& line, DxfTexts& out) {
  std::istringstream in(line);
  std::string tag;
  in >> tag;
  if (tag == "AUDIT") {
    in >> out.auditErrors;
  } else if (tag == "HEADER") {
    std::string name, value;
    in >> name >> value;
    out.header[name] = value;
  } else if (tag == "LAYER" || tag == "USED") {
    std::string name;
    int n = 0;
    in >> name >> n;
    (tag == "LAYER" ? out.layers : out.used)[name] = n;
  } else if (tag == "BLOCK") {
    std::string name;
    int n = 0;
    in >> name >> n;
    out.blocks[name] = n;
  } else if (tag == "INSERT") {
    DxfInsert i;
    in >> i.owner >> i.name >> i.x >> i.y >> i.scale;
    out.inserts.push_back(i);
  } else if (tag == "TEXT") {
    DxfText t;
    const auto bar = line.find('|');
    std::istringstream head(line.substr(0, bar));
    head >> tag >> t.owner >> t.x >> t.y >> t.height >> t.rotation;
    t.text = bar == std::string::npos ? "" : line.substr(bar + 1);
    out.texts.push_back(t);
  }
}

}  // namespace detail

inline DxfTexts ReadDxfTexts(const std::string& file) {
  DxfTexts out;
  const std::string command =
      std::string("/usr/bin/python3 ") + VOB_SOURCE_DIR + "/tests/support/dxf_texts.py '" + file + "' 2>&1";
  const std::string all = testsupport::RunCommand(command, &out.loadStatus);
  std::istringstream lines(all);
  std::string line;
  while (std::getline(lines, line)) detail::TakeDxfTextsLine(line, out);
  return out;
}

// Several files in one run of the reader (starting it costs more than
// reading a drawing); each result's loadStatus is its own file's.
inline std::vector<DxfTexts> ReadDxfTexts(const std::vector<std::string>& files) {
  if (files.size() == 1) return {ReadDxfTexts(files.front())};
  std::vector<DxfTexts> out(files.size());
  std::string command = std::string("/usr/bin/python3 ") + VOB_SOURCE_DIR + "/tests/support/dxf_texts.py";
  for (const std::string& file : files) command += " '" + file + "'";
  const std::string all = testsupport::RunCommand(command + " 2>&1");
  std::istringstream lines(all);
  std::string line;
  DxfTexts* current = nullptr;
  while (std::getline(lines, line)) {
    std::istringstream in(line);
    std::string tag;
    in >> tag;
    std::size_t index = 0;
    if (tag == "FILE" && (in >> index) && index < out.size()) {
      current = &out[index];
    } else if (tag == "STATUS" && current) {
      in >> current->loadStatus;
    } else if (current) {
      detail::TakeDxfTextsLine(line, *current);
    }
  }
  return out;
}

}  // namespace testsupport
