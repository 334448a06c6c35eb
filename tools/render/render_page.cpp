#include "tools/render/render_page.h"

#include <charconv>
#include <filesystem>

#include "paint/page_pattern.h"
#include "paint/page_state.h"
#include "paint/scaling.h"
#include "ramp/build_ramp.h"
#include "ramp/curve_file.h"
#include "ramp/file_error.h"

namespace {

constexpr int32_t MaxSide = 16384, MaxPpi = 9600;
constexpr int32_t FontDesignHeight = -11;

bool ParseInteger(const std::string& text, int32_t low, int32_t high, int32_t& value) {
  int32_t parsed = 0;
  const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (status != std::errc{} || end != text.data() + text.size() || parsed < low || parsed > high)
    return false;
  value = parsed;
  return true;
}

struct TIntegerOption {
  const char* Name;
  int32_t TRenderOptions::*Field;
  int32_t Low, High;
};

constexpr TIntegerOption IntegerOptions[] = {
    {"--page", &TRenderOptions::Page, 0, PageCount - 1},
    {"--width", &TRenderOptions::Width, 1, MaxSide},
    {"--height", &TRenderOptions::Height, 1, MaxSide},
    {"--ppi", &TRenderOptions::Ppi, 1, MaxPpi},
    // Any standard: the patterns treat unknown ones as Gamma 2.2, as a curve
    // file holding one would be shown.
    {"--standard", &TRenderOptions::Standard, INT32_MIN, INT32_MAX},
    {"--point", &TRenderOptions::Point, 0, 255},
};

}  // namespace

bool ParseRenderArguments(const std::vector<std::string>& arguments, TRenderOptions& options,
                          std::string& error) {
  for (size_t i = 1; i < arguments.size(); i += 2) {
    const std::string& name = arguments[i];
    if (i + 1 >= arguments.size()) {
      error = name + " needs a value";
      return false;
    }
    const std::string& value = arguments[i + 1];
    if (name == "--out") {
      options.Out = value;
      continue;
    }
    if (name == "--curve") {
      options.Curve = value;
      continue;
    }
    bool known = false;
    for (const TIntegerOption& option : IntegerOptions) {
      if (name != option.Name) continue;
      known = true;
      if (!ParseInteger(value, option.Low, option.High, options.*option.Field)) {
        error = name + " takes an integer from " + std::to_string(option.Low) + " to " +
                std::to_string(option.High) + ", not \"" + value + "\"";
        return false;
      }
    }
    if (!known) {
      error = "unknown option \"" + name + "\"";
      return false;
    }
  }
  if (options.Page < 0) error = "--page is required";
  else if (options.Out.empty()) error = "--out is required";
  return error.empty();
}

TRasterCanvas RenderPage(const TRenderOptions& options, TTextRenderer& text) {
  TDisplay display;
  display.MonitorInfo.Monitor = TRect{0, 0, options.Width, options.Height};
  Displays = {display};
  DisplayCount = 1;
  CurrentDisplay = 0;
  Curves = {TRampCurve{}};
  if (!options.Curve.empty()) {
    std::string deviceName;
    if (!ReadCurveFile(Curves[0], deviceName, options.Curve))
      throw TFileError("no such file");
  }
  BuildRamp(Curves[0], WorkRamp);
  CurrentPage = options.Page;
  CurrentStandard = options.Standard;
  CurrentPoint = options.Point;

  const int32_t ppi = options.Ppi;
  TRasterCanvas canvas(options.Width, options.Height, &text);
  canvas.SetFont(TFont{"Tahoma", Scale(FontDesignHeight, ppi)});
  canvas.SetBrushColor(PageLook(options.Page).WindowColor);
  canvas.FillRect(TRect{0, 0, options.Width, options.Height});
  const int32_t patternHeight = options.Height - Scale(BarDesignHeight, ppi);
  PaintPagePattern(canvas, ppi, options.Width, nullptr, nullptr, patternHeight);
  canvas.SetBrushColor(Silver);
  canvas.FillRect(TRect{0, patternHeight, options.Width, options.Height});
  return canvas;
}
