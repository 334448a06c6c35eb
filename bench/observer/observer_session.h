// One editing session as the observer lives it: the real calibration window
// over a simulated display, driven only by lines of the scripted view's
// grammar, and the light that reaches the eye from any area of the window as
// it draws its page, through the ramp the display was last given and the
// display model.
#pragma once

#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "bench/observer/display_model.h"
#include "paint/raster_canvas.h"
#include "platform/script/script_view.h"
#include "ramp/no_displays.h"
#include "tests/temp_folder.h"
#include "ui/main_form.h"

// The simulated monitor: one 1920 x 1080 display at 96 DPI whose video card
// keeps its ramp in memory (the files of TONEMARK_SIM would cost a synced
// write per click, and the observer clicks thousands of times).
constexpr int32_t SessionWidth = 1920, SessionHeight = 1080;

class TVideoCard : public TNoDisplays {
 public:
  TVideoCard();
  void EnumMonitors(const std::function<bool(TMonitorHandle)>& addMonitor) override { addMonitor(this); }
  bool QueryMonitorInfo(TMonitorHandle, TMonitorInfo& info) override;
  bool QueryDisplayDevice(const std::string&, TDisplayDevice&) override { return true; }
  TDisplayHandle CreateDisplayHandle(TMonitorHandle, const std::string&) override { return this; }
  bool GetRamp(TDisplayHandle, TGammaRamp& ramp) override;
  bool SetRamp(TDisplayHandle, const TGammaRamp& ramp) override;

 private:
  TGammaRamp ramp_;
};

struct TArea {
  int32_t Left, Top, Right, Bottom;  // right and bottom left out
  auto operator<=>(const TArea&) const = default;
};

class TObserverSession {
 public:
  explicit TObserverSession(const TDisplayModel& model);
  ~TObserverSession();

  // One user action, a line of the scripted view's grammar.
  void Act(const std::string& line);
  int Actions() const { return static_cast<int>(script_.size()); }
  const std::vector<std::string>& Script() const { return script_; }

  // The ramp the display shows through now, read back from the display.
  TGammaRamp PresentRamp() const;
  // The mean light of `area` as the eye averages its lines.
  TXyz Light(const TArea& area);
  // The light of one colour as shown now.
  TXyz LightOf(TColor color);

 private:
  // The window's pixels for the page shown; they depend only on the page, the
  // point and the standard (the card's ramp does the rest), so each is drawn once.
  const TRasterCanvas& Frame();
  const TDisplayModel& model_;
  TempFolder folder_;
  TVideoCard card_;
  std::ostringstream output_;
  std::unique_ptr<TScriptView> view_;
  std::unique_ptr<TMainForm> form_;
  std::vector<std::string> script_;
  using TFrameKey = std::tuple<int32_t, int32_t, int32_t>;
  std::map<TFrameKey, std::unique_ptr<TRasterCanvas>> frames_;
  std::map<std::pair<TFrameKey, TArea>, std::map<TColor, int>> areaColours_;
  TGammaRamp ramp_{};
};
