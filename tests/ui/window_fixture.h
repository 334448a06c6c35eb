// The calibration window headless: simulated displays in a temporary folder,
// the program (and so, being portable, its data) in another, and a view that
// records what the window asks of it.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "lang/multilang.h"
#include "paint/image_decoder.h"
#include "paint/page_state.h"
#include "platform/sim/sim_displays.h"
#include "platform/sim/sim_ramp_file.h"
#include "ramp/display_discovery.h"
#include "ramp/no_displays.h"
#include "ramp/records.h"
#include "shell/command_line.h"
#include "shell/settings_file.h"
#include "tests/temp_folder.h"
#include "ui/main_form.h"

class TTestView : public TMainView {
 public:
  void Repaint() override { ++Repaints; }
  void BringToFront() override { ++BroughtToFront; }
  void MinimizeApplication() override { Minimized = true; }
  void ShowMessage(const std::string& text) override { Messages.push_back(text); }
  void WindowClosed() override { Closed = true; }
  // 6 pixels a character at 11 pixels high, 2 pixels of leading.
  TTextExtent TextExtent(const TControlFont& font, const std::string& text) override {
    const int32_t height = font.Height < 0 ? -font.Height : font.Height;
    return {static_cast<int32_t>(text.size()) * 6 * height / 11, height + 2};
  }

  int Repaints = 0;
  int BroughtToFront = 0;
  bool Minimized = false;
  bool Closed = false;
  std::vector<std::string> Messages;
};

class TTestFileDialog : public TFileDialog {
 public:
  bool Execute(const TOpenDialogOptions& options, std::string& fileName) override {
    Shown.push_back(options);
    if (Answers.empty() || !Answers.front()) {
      if (!Answers.empty()) Answers.pop_front();
      return false;
    }
    fileName = *Answers.front();
    Answers.pop_front();
    return true;
  }

  std::deque<std::optional<std::string>> Answers;  // nullopt: the user cancels
  std::vector<TOpenDialogOptions> Shown;
};

// Binary PPM ("P6", maxval 255) stands in for JPEG in the tests: a real
// decoder of a real format, so loading, failing and keeping a picture are
// exercised for real.
class TPpmDecoder : public TImageDecoder {
 public:
  bool DecodeFile(const std::string& path, TBitmap& bitmap) override {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int width = 0, height = 0, maxValue = 0;
    if (!(in >> magic >> width >> height >> maxValue) || magic != "P6" || maxValue != 255 || width <= 0 ||
        height <= 0)
      return false;
    in.get();
    TBitmap decoded;
    decoded.Width = width;
    decoded.Height = height;
    decoded.Bits.resize(static_cast<size_t>(width) * height * 3);
    if (!in.read(reinterpret_cast<char*>(decoded.Bits.data()), static_cast<std::streamsize>(decoded.Bits.size())))
      return false;
    bitmap = std::move(decoded);
    return true;
  }
};

inline std::string PpmPicture(int width, int height) {
  return "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n" +
         std::string(static_cast<size_t>(width) * height * 3, '\x80');
}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(sim.Path() / "sim");
    CommandLineArgs = {program.File("tonemark")};
    CurrentPoint = InitialPoint;
    CurrentPage = 0;
    CurrentStandard = 0;
    CurrentLanguage = "English";
    TextTable.clear();
    LanguageList.clear();
    ReferenceImagePath = "Tonemark.reference.jpg";
  }

  void TearDown() override {
    form.reset();
    ReleaseDisplays();
    SetDisplaysPort(noDisplays);
  }

  // One "Rect=..." (and more keys, comma free) per monitor.
  void StartDisplays(const std::vector<std::string>& monitors) {
    std::string ini;
    for (size_t i = 0; i < monitors.size(); ++i)
      ini += "[Monitor" + std::to_string(i + 1) + "]\n" + monitors[i] + "\n";
    WriteBytes(SimFile("displays.ini"), ini);
    displays = std::make_unique<TSimDisplays>(sim.Path() / "sim", false);
    SetDisplaysPort(*displays);
    EnumerateDisplays();
  }

  void CreateForm(int32_t dpi = 96) {
    form = std::make_unique<TMainForm>(view, dialog, &decoder, dpi);
    form->FormCreate();
  }

  std::string SimFile(const std::string& name) const { return (sim.Path() / "sim" / name).string(); }
  std::string DataFile(const std::string& name) const { return program.File(name); }

  // Lines of the simulated displays' call log.
  std::vector<std::string> LogLines() const {
    std::vector<std::string> lines;
    std::istringstream log(ReadBytes(SimFile("log.txt")));
    for (std::string line; std::getline(log, line);) lines.push_back(line);
    return lines;
  }
  // How many ramps were loaded into monitor n since the log was last cleared.
  int LoadsInto(int monitor) const {
    int loads = 0;
    for (const std::string& line : LogLines())
      if (line.rfind("set " + std::to_string(monitor) + " ok", 0) == 0) ++loads;
    return loads;
  }
  void ClearLog() const { WriteBytes(SimFile("log.txt"), ""); }

  TGammaRamp RampOf(int monitor) const {
    TGammaRamp ramp{};
    EXPECT_TRUE(ReadRampFile(SimFile("ramp" + std::to_string(monitor) + ".txt"), ramp));
    return ramp;
  }
  static TGammaRamp IdentityRamp() {
    TGammaRamp ramp{};
    for (int i = 0; i < 768; ++i) ramp[i] = static_cast<uint16_t>(i % 256 * 257);
    return ramp;
  }
  static TGammaRamp LinearTestRamp() {
    TGammaRamp ramp{};
    for (int i = 0; i < 768; ++i) ramp[i] = static_cast<uint16_t>(i % 256 * 256);
    return ramp;
  }
  void WriteLanguage(const std::string& name, const std::string& entries) const {
    std::filesystem::create_directories(program.Path() / "Tonemark.languages");
    WriteBytes((program.Path() / "Tonemark.languages" / (name + ".lang")).string(), entries);
  }

  TempFolder sim;
  TempFolder program;
  std::unique_ptr<TSimDisplays> displays;
  TNoDisplays noDisplays;
  TTestView view;
  TTestFileDialog dialog;
  TPpmDecoder decoder;
  std::unique_ptr<TMainForm> form;
};
