// One arrow click of the calibration window on a 3840 x 2160 simulated
// display at 144 DPI: the up-down's step, its edit's change event, the group
// handler, BuildRamp, the simulated load (ramp file and log line) and the
// repaint request. The baseline is BuildRamp alone, measured in the same run.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <sstream>

#include "paint/image_decoder.h"
#include "platform/sim/sim_displays.h"
#include "ramp/build_ramp.h"
#include "ramp/display_discovery.h"
#include "ramp/no_displays.h"
#include "ramp/records.h"
#include "shell/command_line.h"
#include "tests/temp_folder.h"
#include "ui/main_form.h"

namespace {

class TCountingView : public TMainView {
 public:
  void Repaint() override { ++Repaints; }
  void BringToFront() override {}
  void MinimizeApplication() override {}
  void ShowMessage(const std::string&) override {}
  void WindowClosed() override {}
  TTextExtent TextExtent(const TControlFont& font, const std::string& text) override {
    return {static_cast<int32_t>(text.size()) * 6, -font.Height + 2};
  }
  int64_t Repaints = 0;
};

class TNoFileDialog : public TFileDialog {
 public:
  bool Execute(const TOpenDialogOptions&, std::string&) override { return false; }
};

class TNoPictures : public ImageDecoder {
 public:
  bool DecodeFile(const std::string&, TBitmap&) override { return false; }
};

// A session on one simulated 4K display, edited on the Gamma page.
struct TClickSession {
  TempFolder folder;
  std::ostringstream messages;
  std::unique_ptr<TSimDisplays> displays;
  TCountingView view;
  TNoFileDialog dialog;
  TNoPictures pictures;
  std::unique_ptr<TMainForm> form;

  TClickSession() {
    WriteBytes(folder.File("displays.ini"), "[Monitor1]\nRect=0,0,3840,2160\nDpi=144\n");
    CommandLineArgs = {folder.File("tonemark")};
    displays = std::make_unique<TSimDisplays>(folder.Path(), false, messages);
    SetDisplaysPort(*displays);
    EnumerateDisplays();
    form = std::make_unique<TMainForm>(view, dialog, &pictures, 144);
    form->FormCreate();
    form->ShowPage(3);
  }
  ~TClickSession() {
    form.reset();
    ReleaseDisplays();
    static TNoDisplays none;
    SetDisplaysPort(none);
  }
};

void BM_ArrowClick(benchmark::State& state) {
  TClickSession session;
  session.view.Repaints = 0;
  bool up = true;
  for (auto _ : state) {
    session.form->GammaRUpDown.Step(up);
    up = !up;
  }
  // One repaint request per click shows that every click went the whole way.
  state.counters["repaints"] =
      benchmark::Counter(static_cast<double>(session.view.Repaints), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ArrowClick)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

void BM_BuildRampBaseline(benchmark::State& state) {
  TRampCurve curve;
  curve.GammaR = 1;
  TGammaRamp ramp{};
  for (auto _ : state) {
    BuildRamp(curve, ramp);
    benchmark::DoNotOptimize(ramp);
  }
}
BENCHMARK(BM_BuildRampBaseline)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
