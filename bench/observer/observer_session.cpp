#include "bench/observer/observer_session.h"

#include "paint/page_state.h"
#include "ramp/display_discovery.h"
#include "ramp/displays_port.h"
#include "ramp/no_displays.h"
#include "shell/command_line.h"

// The card starts with the identity ramp, as a display nobody calibrated.
TVideoCard::TVideoCard() {
  for (int c = 0; c < 3; ++c)
    for (int v = 0; v < LevelCount; ++v) ramp_[c * LevelCount + v] = uint16_t(v * 257);
}

bool TVideoCard::QueryMonitorInfo(TMonitorHandle, TMonitorInfo& info) {
  info.Monitor = info.Work = TRect{0, 0, SessionWidth, SessionHeight};
  info.DeviceName = "OBSERVED1";
  return true;
}

bool TVideoCard::GetRamp(TDisplayHandle, TGammaRamp& ramp) {
  ramp = ramp_;
  return true;
}

bool TVideoCard::SetRamp(TDisplayHandle, const TGammaRamp& ramp) {
  ramp_ = ramp;
  return true;
}

TObserverSession::TObserverSession(const TDisplayModel& model) : model_(model) {
  CommandLineArgs = {folder_.File("tonemark")};
  SetDisplaysPort(card_);
  EnumerateDisplays();
  view_ = std::make_unique<TScriptView>(output_);
  form_ = std::make_unique<TMainForm>(*view_, *view_, nullptr, DesignDpi);
  form_->FormCreate();
  form_->FollowDisplayDpi();
  ramp_ = PresentRamp();
}

TObserverSession::~TObserverSession() {
  form_->Close();
  form_.reset();
  ReleaseDisplays();
  static TNoDisplays none;
  SetDisplaysPort(none);
}

void TObserverSession::Act(const std::string& line) {
  view_->RunLine(*form_, line);
  script_.push_back(line);
  ramp_ = PresentRamp();
}

TGammaRamp TObserverSession::PresentRamp() const {
  TGammaRamp ramp{};
  DisplaysPort().GetRamp(Displays[0].DC, ramp);
  return ramp;
}

const TRasterCanvas& TObserverSession::Frame() {
  std::unique_ptr<TRasterCanvas>& frame = frames_[{CurrentPage, CurrentPoint, CurrentStandard}];
  if (!frame) {
    frame = std::make_unique<TRasterCanvas>(form_->Window.Width, form_->Window.Height);
    form_->FormPaint(*frame);
  }
  return *frame;
}

TXyz TObserverSession::Light(const TArea& area) {
  std::map<TColor, int>& colours = areaColours_[{{CurrentPage, CurrentPoint, CurrentStandard}, area}];
  if (colours.empty()) {
    const TRasterCanvas& frame = Frame();
    for (int32_t y = area.Top; y < area.Bottom; ++y)
      for (int32_t x = area.Left; x < area.Right; ++x) ++colours[frame.Pixel(x, y)];
  }
  TXyz sum;
  int count = 0;
  for (const auto& [colour, n] : colours) {
    const TXyz light = LightOf(colour);
    sum.X += n * light.X, sum.Y += n * light.Y, sum.Z += n * light.Z;
    count += n;
  }
  return {sum.X / count, sum.Y / count, sum.Z / count};
}

TXyz TObserverSession::LightOf(TColor color) {
  return ShownLight(model_, ramp_, RedOf(color), GreenOf(color), BlueOf(color));
}
