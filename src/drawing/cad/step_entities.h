// The text of the STEP device's exchange file (ISO 10303-21, the automotive
// design schema AP214): its header, the parts and their shapes as plain
// AP214 entities, and its end, composed entity by entity as the file is
// written.
//
// A part of solids is an advanced B-rep: each slab (step_geometry.h) one
// manifold solid, its closed shell of advanced faces on planes, cylinders
// and B-spline surfaces (over its smooth curves), bounded by loops of
// oriented edges along lines, circles and B-spline curves between vertex
// points. A part of lines is a set of curves: trimmed lines and circles,
// B-spline curves, whole circles as they are, and each run of several of
// them one composite curve. Points and directions that several entities
// share are written once. Lengths are in millimetres, angles in
// radians; numbers are written as they are held, shortest first, with "."
// as the decimal point in every locale.
#pragma once

#include <cstddef>
#include <map>
#include <ostream>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "drawing/cad/step_geometry.h"
#include "drawing/cad/step_writer.h"

namespace drawing::step {

class EntityWriter {
 public:
  explicit EntityWriter(std::ostream& out) : out_(out) {}

  // From the file's first line to the opening of its data section.
  void Header(const TStepHeader& header);
  // The slabs as the solids of one part named `name`.
  void Solids(const std::vector<Slab>& slabs, const std::string& name);
  // The sketch's edges at height 0 as the set of curves of one part named
  // `name`.
  void Curves(const Sketch& sketch, const std::string& name);
  // The end of the data section and of the file.
  void Trailer();

 private:
  // Pieces of an entity's text besides plain text: a reference to an
  // entity, a number.
  struct Id {
    std::size_t id;
  };
  struct Number {
    double value;
  };
  // Writes the entity of the pieces (texts as they are, references,
  // numbers, lists of references in parentheses); its id.
  template <class... Pieces>
  std::size_t Entity(const Pieces&... pieces) {
    (Put(pieces), ...);
    return Emit();
  }
  void Put(std::string_view text) { text_ += text; }
  void Put(Id ref) { Ref(ref.id); }
  void Put(Number n) { Real(n.value); }
  void Put(const std::vector<std::size_t>& ids) { RefList(ids); }
  std::size_t Emit();
  void Real(double v);
  void Ref(std::size_t id);
  void RefList(const std::vector<std::size_t>& ids);
  std::size_t PointAt(double x, double y, double z);
  std::size_t DirectionOf(double x, double y, double z);
  std::size_t Placement(std::size_t location, std::size_t axis, std::size_t reference);
  std::size_t Context();
  std::size_t Origin();
  void Product(const std::string& name, std::size_t representation);
  std::size_t Solid(const Slab& slab);
  std::vector<std::size_t> SplinePoles(const std::vector<double>& poles, double z, std::size_t first,
                                       std::size_t last);
  std::size_t Spline(const std::vector<std::size_t>& poles);
  std::size_t SplineSide(const std::vector<std::size_t>& bottom, const std::vector<std::size_t>& top);

  std::ostream& out_;
  std::string text_;  // the entity being composed
  std::size_t next_ = 1;
  std::size_t application_ = 0, context_ = 0, origin_ = 0, up_ = 0, across_ = 0;
  std::map<std::tuple<double, double, double>, std::size_t> directions_;  // written once each
};

// A text as a STEP string, quotes included: apostrophes and backslashes
// doubled, characters beyond ASCII in the standard's \X2\ form (the text
// is UTF-8).
std::string StepString(const std::string& text);

}  // namespace drawing::step
