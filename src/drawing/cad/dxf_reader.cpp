// The DXF reader; see dxf_reader.h.
//
// A file is read whole into group pairs first (a code line, then the value
// line) and then interpreted; the reading ends at the "EOF" record or at the
// physical end of the file, and a code line that is no number ends it with a
// message, so that no file can keep the replay going for ever.
#include "drawing/cad/dxf_reader.h"

#include <charconv>
#include <cmath>
#include <map>
#include <memory>
#include <system_error>
#include <vector>

#include "common/cad_settings.h"
#include "common/code_page.h"
#include "common/file_utils.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "common/number_format.h"
#include "common/numeric_routines.h"
#include "common/plane_geometry.h"
#include "common/small_dialogs.h"
#include "common/text_file.h"
#include "common/text_utils.h"
#include "drawing/cad/cad_output.h"
#include "drawing/cad/cad_state.h"
#include "drawing/cad/recorded_blocks.h"
#include "platform/file_system.h"

namespace drawing {

using common::AbortFlag;

namespace {

struct Group {
  int code = 0;
  std::string value;
};

// One entity: its name (the value of its group 0) and the groups up to the
// next group 0.
struct Entity {
  std::string name;
  std::vector<Group> groups;

  const std::string* Find(int code) const {
    for (const Group& g : groups)
      if (g.code == code) return &g.value;
    return nullptr;
  }
  Real RealOr(int code, Real fallback) const {
    const std::string* value = Find(code);
    Real x = fallback;
    if (value && !common::ParseRealLine(*value, x)) x = fallback;
    return x;
  }
  // A whole number (flags); one out of the range of int counts as absent.
  int IntOr(int code, int fallback) const {
    const Real x = RealOr(code, fallback);
    return std::fabs(x) < 2147483647.0L ? static_cast<int>(x) : fallback;
  }
  std::string TextOr(int code, const std::string& fallback = {}) const {
    const std::string* value = Find(code);
    return value ? *value : fallback;
  }
};

struct BlockDefinition {
  Real baseX = 0, baseY = 0;
  std::vector<Entity> entities;
};

// A file read into entities; complete is false when it ended early.
// How the texts of a file are encoded: part files recorded by this program
// hold program texts (code page 850); a DXF drawing with a header was
// written for other programs, in code page 1252, or in UTF-8 from version
// AC1021 on.
enum class TextEncoding { Program, Windows1252, Utf8 };

struct DxfContent {
  std::vector<Entity> entities;
  std::map<std::string, BlockDefinition> blocks;
  TextEncoding encoding = TextEncoding::Program;
};

TextEncoding HeaderEncoding(const Entity& header) {
  for (std::size_t i = 0; i + 1 < header.groups.size(); ++i)
    if (header.groups[i].code == 9 && common::TrimBlanks(header.groups[i].value) == "$ACADVER" &&
        header.groups[i + 1].code == 1)
      return common::TrimBlanks(header.groups[i + 1].value) >= "AC1021" ? TextEncoding::Utf8
                                                                         : TextEncoding::Windows1252;
  return TextEncoding::Windows1252;
}

void ReportBadFile(const std::string& text) {
  common::ShowError(text);
  AbortFlag = 1;
}

// Reads the file into entities; false (with the message and AbortFlag) when
// it is malformed or ends before its "EOF" record. The entities complete
// before the fault are kept.
bool ReadEntities(common::TextFile& file, std::vector<Entity>& entities) {
  Entity current;
  bool haveEntity = false;
  for (;;) {
    if (file.Eof()) break;
    std::string codeLine, value;
    if (!file.ReadLine(codeLine)) break;
    const std::string trimmed = common::TrimBlanks(codeLine);
    int code = 0;
    const auto [end, error] = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), code);
    if (trimmed.empty() || error != std::errc() || end != trimmed.data() + trimmed.size()) {
      ReportBadFile("Error in DXF File");
      return false;
    }
    if (file.Eof()) break;
    if (!file.ReadLine(value)) break;
    if (code == 0) {
      if (haveEntity) entities.push_back(std::move(current));
      current = Entity{common::TrimBlanks(value), {}};
      haveEntity = true;
      if (current.name == "EOF") return true;
    } else if (haveEntity) {
      current.groups.push_back(Group{code, value});
    }
  }
  ReportBadFile("Error in DXF File");
  return false;
}

// Sorts the entities by section: those of the ENTITIES section (or of a file
// without sections) to draw, the BLOCKS section into block definitions.
void SortSections(std::vector<Entity>&& all, DxfContent& content) {
  enum class Part { Draw, Blocks, Skip } part = Part::Draw;
  BlockDefinition* block = nullptr;
  for (Entity& e : all) {
    if (e.name == "SECTION") {
      const std::string name = common::UpperText(common::TrimBlanks(e.TextOr(2)));
      part = name == "ENTITIES" ? Part::Draw : name == "BLOCKS" ? Part::Blocks : Part::Skip;
      if (name == "HEADER") content.encoding = HeaderEncoding(e);
      block = nullptr;
      continue;
    }
    if (e.name == "ENDSEC") {
      part = Part::Skip;
      continue;
    }
    if (part == Part::Draw) {
      content.entities.push_back(std::move(e));
    } else if (part == Part::Blocks) {
      if (e.name == "BLOCK") {
        BlockDefinition& def = content.blocks[common::TrimBlanks(e.TextOr(2))];
        def = BlockDefinition{e.RealOr(10, 0), e.RealOr(20, 0), {}};
        block = &def;
      } else if (e.name == "ENDBLK") {
        block = nullptr;
      } else if (block) {
        block->entities.push_back(std::move(e));
      }
    }
  }
}

// A text as DXF writes it: a caret followed by a blank is the caret
// itself, a caret followed by one of "@" to "_" a control character ("^J"
// a line feed); any other caret stands as it is.
std::string DecodedDxfText(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    if (text[i] == '^' && next == ' ') {
      out.push_back('^');
      ++i;
    } else if (text[i] == '^' && next >= '@' && next <= '_') {
      out.push_back(static_cast<char>(next - '@'));
      ++i;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

// The figures of the replay in progress and the file it began with.
struct ReplayCount {
  long figures = 0;
  std::string file;
  int reads = 0;  // files being read, one inside the other
  std::map<std::string, long> leftOut;  // entities not drawn, by kind
};
ReplayCount Counted;

// Counts n figures more; false (with the message and AbortFlag) once the
// replay has drawn MaxReplayFigures.
bool CountFigures(long n) {
  if (Counted.figures > MaxReplayFigures - n) {
    if (Counted.figures <= MaxReplayFigures) {
      common::ShowError("DXF file " + Counted.file + ": more than " + std::to_string(MaxReplayFigures) +
                        " figures in one drawing, the rest is not drawn");
    }
    Counted.figures = MaxReplayFigures + 1;
    AbortFlag = 1;
    return false;
  }
  Counted.figures += n;
  return true;
}

void Map(Real x, Real y, Real& xr, Real& yr) { MapDxfPoint(x, y, xr, yr); }

class Replay {
 public:
  explicit Replay(const DxfContent& content) : content_(content) {}

  void Draw(const std::vector<Entity>& entities, Real baseX, Real baseY) {
    baseX_ = baseX;
    baseY_ = baseY;
    for (std::size_t i = 0; i < entities.size() && !AbortFlag; ++i) {
      const Entity& e = entities[i];
      if (!CountFigures(1)) break;
      if (e.name == "LINE") {
        Line(e);
      } else if (e.name == "CIRCLE") {
        Circle(e);
      } else if (e.name == "ARC") {
        Arc(e);
      } else if (e.name == "TEXT") {
        Text(e);
      } else if (e.name == "SOLID") {
        Solid(e);
      } else if (e.name == "INSERT") {
        Insert(e);
      } else if (e.name == "LWPOLYLINE") {
        LwPolyline(e);
      } else if (e.name == "POLYLINE") {
        i = Polyline(entities, i);
      } else if (e.name == "SEQEND" || e.name == "VERTEX") {
        // The rest of a polyline that was skipped.
      } else {
        ++Counted.leftOut[e.name];
        common::AddErrorMessage("Error  : DXF: " + e.name);
      }
    }
  }

 private:
  void Point(const Entity& e, int codeX, Real& x, Real& y, Real fallbackX = 0, Real fallbackY = 0) const {
    Map(e.RealOr(codeX, fallbackX) - baseX_, e.RealOr(codeX + 10, fallbackY) - baseY_, x, y);
  }
  void Pen(const Entity& e) const { SetCadColor(DxfLayerPen(e.TextOr(8))); }

  void Line(const Entity& e) {
    Real x1, y1, x2, y2;
    Point(e, 10, x1, y1);
    Point(e, 11, x2, y2);
    Pen(e);
    CadLine(x1, y1, x2, y2);
  }

  // A negative extrusion z means a mirrored coordinate system (x to -x).
  bool Mirrored(const Entity& e) const { return e.RealOr(230, 1) < 0; }

  void Circle(const Entity& e) {
    const Real sign = Mirrored(e) ? -1 : 1;
    Real x, y;
    Map(sign * e.RealOr(10, 0) - baseX_, e.RealOr(20, 0) - baseY_, x, y);
    Pen(e);
    CadCircle(x, y, e.RealOr(40, 0) * DxfTransform.sx);
  }

  void Arc(const Entity& e) {
    Real start = e.RealOr(50, 0), end = e.RealOr(51, 0);
    Real cx = e.RealOr(10, 0);
    if (Mirrored(e)) {
      cx = -cx;
      const Real mirroredStart = 180 - end;
      end = 180 - start;
      start = mirroredStart;
    }
    Real x, y;
    Map(cx - baseX_, e.RealOr(20, 0) - baseY_, x, y);
    const Real sweep = common::AngleDiff360(start, end, 1);
    Pen(e);
    CadArc(x, y, start + DxfTransform.angle, end + DxfTransform.angle, e.RealOr(40, 0) * DxfTransform.sx, sweep);
  }

  void Text(const Entity& e) {
    Real x, y;
    Point(e, 10, x, y);
    const Real height = e.RealOr(40, 0);
    Pen(e);
    SetCadTextSize(0, DxfTransform.angle + e.RealOr(50, 0), DxfTransform.sy * height,
                   DxfTransform.sx * e.RealOr(41, 1) * height);
    const std::string text = DecodedDxfText(e.TextOr(1));
    switch (content_.encoding) {
      case TextEncoding::Program: CadText(text, x, y); break;
      case TextEncoding::Windows1252: CadText(common::Windows1252ToOem(text), x, y); break;
      case TextEncoding::Utf8: CadText(common::AnsiToOemText(text), x, y); break;
    }
  }

  void Solid(const Entity& e) {
    Real x[4], y[4];
    for (int k = 0; k < 4; ++k) {
      // A SOLID of three corners repeats the third.
      const int code = e.Find(10 + k) ? 10 + k : 12;
      Point(e, code, x[k], y[k]);
    }
    Pen(e);
    CadSolid(x[0], y[0], x[1], y[1], x[2], y[2], x[3], y[3]);
  }

  void Insert(const Entity& e) {
    const std::string name = common::TrimBlanks(e.TextOr(2));
    const Real px = e.RealOr(10, 0) - baseX_, py = e.RealOr(20, 0) - baseY_;
    const Real sx = e.RealOr(41, 1), sy = e.RealOr(42, 1), angle = e.RealOr(50, 0);
    const auto block = content_.blocks.find(name);
    if (block != content_.blocks.end()) {
      InsertInFileBlock(block->second, px, py, angle, sx, sy);
    } else {
      ReadDxfFile(0, name, px, py, angle, sx, sy);
    }
    Pen(e);
  }

  void InsertInFileBlock(const BlockDefinition& block, Real x, Real y, Real angle, Real sx, Real sy);

  // The pieces of a polyline through mapped vertices, each with the bulge of
  // the piece that starts at it.
  struct Vertex {
    Real x, y, bulge;
  };
  static void DrawPieces(const std::vector<Vertex>& vertices, bool closed) {
    const std::size_t n = vertices.size();
    const std::size_t pieces = closed && n > 2 ? n : (n > 0 ? n - 1 : 0);
    for (std::size_t k = 0; k < pieces; ++k) {
      const Vertex& a = vertices[k];
      const Vertex& b = vertices[(k + 1) % n];
      if (a.bulge == 0) {
        CadLine(a.x, a.y, b.x, b.y);
      } else {
        const Real dphi = 4 * std::atan(a.bulge) * (DxfTransform.sx * DxfTransform.sy < 0 ? -1 : 1);
        Real xc = 0, yc = 0, a1 = 0, a2 = 0, r = 0;
        common::GetArcCenter2(xc, yc, a1, a.x, a.y, b.x, b.y, dphi, a2, r);
        CadArc(xc, yc, common::RadToDeg(a1), common::RadToDeg(a2), r, std::fabs(common::RadToDeg(dphi)));
      }
    }
  }

  bool TooMany(std::size_t count) {
    if (static_cast<long>(count) <= MaxDxfVertices) return false;
    common::ShowError("Elements > 100000 !");
    AbortFlag = 1;
    return true;
  }

  void LwPolyline(const Entity& e) {
    std::vector<Vertex> vertices;
    for (const Group& g : e.groups) {
      Real value = 0;
      if (!common::ParseRealLine(g.value, value)) value = 0;
      if (g.code == 10) {
        if (TooMany(vertices.size() + 1) || !CountFigures(1)) return;
        vertices.push_back(Vertex{value, 0, 0});
      } else if (g.code == 20 && !vertices.empty()) {
        vertices.back().y = value;
      } else if (g.code == 42 && !vertices.empty()) {
        vertices.back().bulge = value;
      }
    }
    for (Vertex& v : vertices) Map(v.x - baseX_, v.y - baseY_, v.x, v.y);
    Pen(e);
    DrawPieces(vertices, (e.IntOr(70, 0) & 1) != 0);
  }

  // Draws the POLYLINE at i with its VERTEX entities; returns the index of
  // its SEQEND (or of the last entity used).
  std::size_t Polyline(const std::vector<Entity>& entities, std::size_t i) {
    const Entity& head = entities[i];
    if (i + 1 >= entities.size() || entities[i + 1].name != "VERTEX") {
      common::ShowError("Error in DXF File");
      return i;
    }
    std::vector<Vertex> vertices;
    std::size_t k = i + 1;
    for (; k < entities.size() && entities[k].name == "VERTEX"; ++k) {
      if (TooMany(vertices.size() + 1) || !CountFigures(1)) return k;
      Vertex v{0, 0, entities[k].RealOr(42, 0)};
      Point(entities[k], 10, v.x, v.y);
      vertices.push_back(v);
    }
    Pen(head);
    DrawPieces(vertices, head.IntOr(70, 0) == 1);
    return k < entities.size() && entities[k].name == "SEQEND" ? k : k - 1;
  }

  const DxfContent& content_;
  Real baseX_ = 0, baseY_ = 0;
};

void Replay::InsertInFileBlock(const BlockDefinition& block, Real x, Real y, Real angle, Real sx, Real sy) {
  const TDxfInsertTransform saved = DxfTransform;
  const Real savedBaseX = baseX_, savedBaseY = baseY_;
  if (EnterDxfInsert(x, y, angle, sx, sy)) Draw(block.entities, block.baseX, block.baseY);
  --DxfNestingLevel;
  DxfTransform = saved;
  baseX_ = savedBaseX;
  baseY_ = savedBaseY;
}

// A file read into entities, once a replay.
struct ReadFile {
  bool opened = false;
  bool complete = false;  // read up to its end record
  DxfContent content;
};

// The files read during the replay in progress, by path.
std::map<std::string, std::unique_ptr<ReadFile>>& ReadFiles() {
  static std::map<std::string, std::unique_ptr<ReadFile>> files;
  return files;
}

const ReadFile& ReadOnce(const std::string& path) {
  std::unique_ptr<ReadFile>& slot = ReadFiles()[path];
  if (!slot) {
    slot = std::make_unique<ReadFile>();
    common::TextFile file;
    file.Assign(path);
    std::error_code ec;
    if (file.Reset(ec)) {
      slot->opened = true;
      std::vector<Entity> all;
      slot->complete = ReadEntities(file, all);
      file.Close(ec);
      SortSections(std::move(all), slot->content);
    }
  }
  return *slot;
}

// The file at path inserted at (x, y) with the angle and scales.
void ReadDxfAt(const std::string& path, Real x, Real y, Real angle, Real sx, Real sy) {
  // The outermost file begins the count of the replay's figures.
  const bool outermost = Counted.reads == 0;
  if (outermost) {
    Counted.figures = 0;
    Counted.file = path;
    Counted.leftOut.clear();
    ReadFiles().clear();
  }
  ++Counted.reads;
  DrawWithinDxfInsert(x, y, angle, sx, sy, [&] {
    const ReadFile& read = ReadOnce(path);
    if (!read.opened) {
      common::AddErrorMessage("Invalid temp directory");
      AbortFlag = 1;
    } else {
      // After a fault the entities read before it are drawn, then the
      // replay ends.
      if (!read.complete) AbortFlag = 0;
      Replay(read.content).Draw(read.content.entities, 0, 0);
      if (!read.complete) AbortFlag = 1;
    }
  });
  --Counted.reads;
  if (outermost) ReadFiles().clear();
}

}  // namespace

void ReadDxfFile(int flag, const std::string& name, Real x, Real y, Real angle, Real sx, Real sy) {
  // A block that the screen keeps in memory stands for its part file.
  if (ReplayRecordedBlock(name, x, y, angle, sx, sy, [](const std::string& inner, Real ix, Real iy, Real ia,
                                                          Real isx, Real isy) {
        ReadDxfFile(0, inner, ix, iy, ia, isx, isy);
      }))
    return;
  const std::string fileName = "$" + name + ".dx$";
  ReadDxfAt(common::AddBackslash(common::TempDirectory) + platform::FindFileAnyCase(common::TempDirectory, fileName), x,
            y, angle, sx, sy);
}

void ReplayDxfFile(const std::string& path) {
  DxfTransform = TDxfInsertTransform{};
  DxfNestingLevel = 0;
  ReadDxfAt(path, 0, 0, 0, 1, 1);
}

const std::map<std::string, long>& DxfEntitiesLeftOut() { return Counted.leftOut; }

void ReplayBlockFile(const std::string& name, Real x, Real y, Real angle, Real sx, Real sy) {
  DxfTransform = TDxfInsertTransform{};
  DxfNestingLevel = 0;
  ReadDxfFile(0, name, x, y, angle, sx, sy);
}

}  // namespace drawing
