// One arrow click of the calibration window on a 3840 x 2160 simulated
// display at 144 DPI: the up-down's step, its edit's change event, the group
// handler, BuildRamp, the simulated load (ramp file and log line) and the
// repaint request; and the same click on a display that keeps its ramp in
// memory. The baseline is BuildRamp alone, measured in the same run.
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

class TNoPictures : public TImageDecoder {
 public:
  bool DecodeFile(const std::string&, TBitmap&) override { return false; }
};

// One 4K display whose video card keeps its ramp in memory: the click
// without the simulated displays' files, i.e. the window's logic alone.
class TMemoryDisplay : public TNoDisplays {
 public:
  void EnumMonitors(const std::function<bool(TMonitorHandle)>& addMonitor) override { addMonitor(this); }
  bool QueryMonitorInfo(TMonitorHandle, TMonitorInfo& info) override {
    info.Monitor = info.Work = TRect{0, 0, 3840, 2160};
    info.DeviceName = "MEMORY1";
    return true;
  }
  bool QueryDisplayDevice(const std::string&, TDisplayDevice&) override { return true; }
  TDisplayHandle CreateDisplayHandle(TMonitorHandle, const std::string&) override { return this; }
  bool GetRamp(TDisplayHandle, TGammaRamp& ramp) override {
    ramp = ramp_;
    return true;
  }
  bool SetRamp(TDisplayHandle, const TGammaRamp& ramp) override {
    ramp_ = ramp;
    return true;
  }

 private:
  TGammaRamp ramp_{};
};

// A session on one 4K display at 144 DPI, edited on the Gamma page.
struct TClickSession {
  TempFolder folder;
  std::unique_ptr<TDisplaysPort> displays;
  TCountingView view;
  TNoFileDialog dialog;
  TNoPictures pictures;
  std::unique_ptr<TMainForm> form;

  explicit TClickSession(bool simulated) {
    WriteBytes(folder.File("displays.ini"), "[Monitor1]\nRect=0,0,3840,2160\nDpi=144\n");
    CommandLineArgs = {folder.File("tonemark")};
    if (simulated) displays = std::make_unique<TSimDisplays>(folder.Path(), false);
    else displays = std::make_unique<TMemoryDisplay>();
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

// state.range(0): 1 on the simulated displays, 0 on the in-memory one.
void BM_ArrowClick(benchmark::State& state) {
  TClickSession session(state.range(0) != 0);
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
BENCHMARK(BM_ArrowClick)->ArgName("simulated")->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond)->Repetitions(9)
    ->ReportAggregatesOnly(true);

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
