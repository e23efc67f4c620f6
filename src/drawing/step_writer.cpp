// The STEP header and trailer and their back end; see step_writer.h.
#include "drawing/step_writer.h"

#include "common/cad_settings.h"
#include "common/date_time.h"
#include "common/file_checks.h"
#include "common/text_file.h"
#include "drawing/cad_back_ends.h"
#include "drawing/cad_output.h"

namespace drawing {

std::string StepString(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    out.push_back(c);
    if (c == '\'') out.push_back('\'');
  }
  return out;
}

void WriteStepHeader(Real, Real, Real, Real, Real) {
  common::WriteTextLine("ISO-10303-21;");
  common::WriteTextLine("HEADER;");
  common::WriteTextLine("FILE_DESCRIPTION(('KALDRIM'),'2;1');");
  common::WriteTextLine("FILE_NAME('" + StepString(common::CadSettings.CadFileName) + "','" + common::TodayText() +
                        "T',('Joris'),(''),'KALDRIM','KALDRIM','');");
  common::WriteTextLine("FILE_SCHEMA(('AUTOMOTIVE_DESIGN'));");
  common::WriteTextLine("ENDSEC;");
  common::WriteTextLine("");
  common::WriteTextLine("DATA;");
}

void WriteStepTrailer() {
  common::WriteTextLine("ENDSEC;");
  common::WriteTextLine("END-ISO-10303-21;");
  common::CloseFileChecked(common::SharedTextFile);
}

namespace {

class StepDevice : public CadBackEnd {
 public:
  std::string FileExtension() const override { return "stp"; }
  void Open() override { OpenCadOutputFile(); }
  void Close() override { WriteStepTrailer(); }
  void DrawingFrame(Real x1, Real y1, Real x2, Real y2) override { WriteStepHeader(x1, y1, x2, y2, 0); }
};

}  // namespace

CadBackEnd& StepBackEnd() {
  static StepDevice device;
  return device;
}

}  // namespace drawing
