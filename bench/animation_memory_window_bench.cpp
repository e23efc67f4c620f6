// The memory a long animation takes: the gears of the shipped default
// design with k 100 (gear 2 of 3000 teeth, about half a million records a
// picture) turned by AnimateGears2 in the default 180 steps without a
// pause, in an offscreen window of the reference size 800 x 600, ended by
// the user after 10, 60 or 180 pictures; then one zoom key, as a user
// looks closer after the run. Each run is a process of its own, so that
// its largest resident set ("peak MiB") is its own; "zoom ms" is the zoom's
// time until the new picture is shown, for scale against
// animation_window_bench's zoom of the still picture.
// Aim: the peak at 60 pictures less than 100 MiB above the peak at 10.
// One thread. Run by hand: build/bench/animation_memory_window_bench.
//
// Release, peak MiB at 10 | 60 | 180 pictures, two runs of each build in
// turns (they agreed within 0.3 MiB):
//   the erased pictures kept in the list:   196 | 818 | 2309
//   their records given up as each pass ends: 88.5 | 88.5 | 88.5
// (the list of the run: 2.5, 15.9 and 47.9 million records).
#include <benchmark/benchmark.h>

#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <memory>

#include "bench_program.h"
#include "calc/calc_records.h"
#include "calc/noncircular_pair.h"
#include "common/graphics_facade.h"
#include "common/graphics_window.h"
#include "common/kaldvar.h"
#include "common/ui/graphics_view.h"
#include "drawing/gear_animation.h"

namespace {

struct RunFigures {
  double peakMiB = 0, zoomMs = 0, records = 0;
  int pictures = 0;
};

// The window passes everything on, and ends the run after the given
// number of pictures, as the user's Escape does.
struct Ending : common::GraphicsHost {
  common::ui::GraphicsView& view;
  int last, shown = 0;
  Ending(common::ui::GraphicsView& v, int l) : view(v), last(l) {}
  void Invalidate() override { view.Invalidate(); }
  void RepaintNow() override { view.RepaintNow(); }
  int ClientWidth() const override { return view.ClientWidth(); }
  int ClientHeight() const override { return view.ClientHeight(); }
  void DrawDirectLine(int x1, int y1, int x2, int y2, common::ColourValue c) override {
    view.DrawDirectLine(x1, y1, x2, y2, c);
  }
  void ShowRubberBand(bool on, int x1, int y1, int x2, int y2) override { view.ShowRubberBand(on, x1, y1, x2, y2); }
  bool ShowProgress() override { return view.ShowProgress(); }
  bool Pause(int ms) override { return view.Pause(ms); }
  common::StepAnswer StepDialog() override { return view.StepDialog(); }
  bool ShowFrame(int ms) override { return view.ShowFrame(ms) && ++shown < last; }
};

// The run in this process (a child of the benchmark's).
RunFigures RunHere(int pictures) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "animation_memory_window_bench";
  static char* argv[] = {name, nullptr};
  QApplication application(argc, argv);
  benchprogram::Start();
  common::HorizontalPixels = 800;
  common::VerticalPixels = 600;
  common::ui::GraphicsView view;
  view.resize(801, 601);
  view.show();
  QApplication::processEvents();
  benchprogram::DefaultDesign();
  calc::NcPair.k = 100;
  calc::CalcNoncircularPair();
  drawing::AnimationFormView() = [](drawing::TForm_vob1ani& form) {
    form.Edit_steps = "180";
    form.Edit_pause = "0";
    form.Button_okClick();
  };
  Ending ending(view, pictures);
  common::FKaldgra.AttachHost(&ending);
  drawing::AnimateGears2(2);
  common::FKaldgra.AttachHost(&view);
  view.ReplayPending();
  RunFigures figures;
  figures.pictures = ending.shown;
  figures.records = static_cast<double>(common::DisplayList.size());
  QElapsedTimer clock;
  clock.start();
  const int replays = view.ReplayCount();
  common::FKaldgra.processKey(107);
  while (view.ReplayCount() == replays) QApplication::processEvents();
  figures.zoomMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
  figures.peakMiB = benchprogram::PeakResidentMiB();
  return figures;
}

// The run in a child process; its figures come back through a pipe.
bool RunApart(int pictures, RunFigures& figures) {
  int channel[2];
  if (pipe(channel) != 0) return false;
  const pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) {
    close(channel[0]);
    const RunFigures found = RunHere(pictures);
    const bool written = write(channel[1], &found, sizeof found) == static_cast<ssize_t>(sizeof found);
    std::fflush(nullptr);
    _exit(written ? 0 : 1);
  }
  close(channel[1]);
  const bool read = ::read(channel[0], &figures, sizeof figures) == static_cast<ssize_t>(sizeof figures);
  close(channel[0]);
  int status = 0;
  waitpid(child, &status, 0);
  return read && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void BM_AnimationPeakMemoryK100(benchmark::State& state) {
  const int pictures = static_cast<int>(state.range(0));
  RunFigures figures;
  for (auto _ : state) {
    if (!RunApart(pictures, figures)) {
      state.SkipWithError("the run in its own process failed");
      return;
    }
  }
  state.counters["peak MiB"] = figures.peakMiB;
  state.counters["zoom ms"] = figures.zoomMs;
  state.counters["pictures"] = figures.pictures;
  state.counters["records"] = figures.records;
}
BENCHMARK(BM_AnimationPeakMemoryK100)
    ->ArgName("pictures")
    ->Arg(10)
    ->Arg(60)
    ->Arg(180)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace
