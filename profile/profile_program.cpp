#include "profile/profile_program.h"

#include <algorithm>
#include <charconv>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "lang/multilang.h"
#include "profile/display_profile.h"
#include "ramp/curve_assignment.h"
#include "ramp/atomic_file.h"
#include "ramp/curve_file.h"
#include "ramp/display_discovery.h"
#include "ramp/displays_port.h"
#include "ramp/file_error.h"
#include "shell/command_line.h"
#include "shell/data_folders.h"

namespace {

constexpr int ExitDone = 0, ExitFailed = 1, ExitUsage = 2;
constexpr uint8_t EdidHeader[] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};

// A failure the user is told about; the program then ends with exit code 1.
struct TStop : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// What the profile is made of, gathered from the display or the files named.
struct TSource {
  TRampCurve Curve;
  TEdid Edid{};
  bool HasEdid = false;
  std::string DisplayName;
  std::string Out;
};

void ReadRecord(const std::string& path, TRampCurve& curve, const std::string& missing) {
  std::string deviceName;
  try {
    if (!ReadCurveFile(curve, deviceName, path)) throw TStop(missing);
  } catch (const TFileError& error) {
    throw TStop(CurveFileErrorText(path, error.what()));
  }
}

TEdid ReadEdidFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw TStop(path + ": the EDID file cannot be read.");
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  TEdid edid{};
  if (bytes.size() < edid.size() ||
      !std::equal(std::begin(EdidHeader), std::end(EdidHeader), bytes.begin(),
                  [](uint8_t a, char b) { return a == static_cast<uint8_t>(b); })) {
    throw TStop(path + ": not an EDID (it must start with a 128-byte base block).");
  }
  std::copy_n(bytes.begin(), edid.size(), edid.begin());
  return edid;
}

TSource FromDisplay(const TProfileArguments& args) {
  if (args.Display > DisplayCount) {
    throw TStop("There is no display " + std::to_string(args.Display) + ": Tonemark finds " +
                std::to_string(DisplayCount) + " on this desktop.");
  }
  const TDisplay& display = Displays[args.Display - 1];
  const std::string folder = CommonDataFolder(ProductSubFolder);
  const std::string path = DisplayCurvePath(folder, args.Display - 1);
  const std::string missing = "No calibration is stored for display " + std::to_string(args.Display) + ": " +
                              (path.empty() ? CurveFilePath(folder, args.Display - 1) : path) +
                              " does not exist. Calibrate the display with Tonemark first.";
  // Without a curve of its own, a file in its place belongs to another monitor.
  if (path.empty()) throw TStop(missing);
  TSource source;
  ReadRecord(path, source.Curve, missing);
  source.Edid = display.Edid;
  // Discovery leaves the block zero for a display without an EDID.
  source.HasEdid = std::any_of(display.Edid.begin(), display.Edid.end(), [](uint8_t b) { return b != 0; });
  source.DisplayName = display.Description;
  source.Out = args.Out.empty() ? folder + "Tonemark" + std::to_string(args.Display) + ".icc" : args.Out;
  return source;
}

TSource FromFiles(const TProfileArguments& args) {
  TSource source;
  ReadRecord(args.Curve, source.Curve, args.Curve + ": the curve file does not exist.");
  if (!args.Edid.empty()) {
    source.Edid = ReadEdidFile(args.Edid);
    source.HasEdid = true;
    source.DisplayName = EdidDescription(source.Edid);
  }
  source.Out = args.Out;
  return source;
}

std::string ColoursNote(const TSource& source) {
  if (!source.HasEdid) return "sRGB primaries and white point (no EDID)";
  if (ArePlausibleColours(EdidColours(source.Edid))) return "primaries and white point from the EDID";
  return "sRGB primaries and white point (the EDID holds no plausible ones)";
}

int Run(const TProfileArguments& args, TProfileInstaller& installer, std::ostream& out) {
  const TSource source = args.Display > 0 ? FromDisplay(args) : FromFiles(args);
  const std::string description = ProfileDescription(source.DisplayName, TodayText());
  try {
    WriteFileAtomically(source.Out, DisplayProfileBytes(source.Curve, ProfileColours(source.Edid),
                                                        description, source.DisplayName));
  } catch (const std::runtime_error& error) {
    throw TStop(error.what());
  }
  out << "Wrote " << source.Out << " (\"" << description << "\"), " << ColoursNote(source) << ".\n";
  if (!args.Install) return ExitDone;
  std::error_code ignored;
  const std::string absolute = std::filesystem::absolute(source.Out, ignored).string();
  return installer.Install(absolute, Displays[args.Display - 1], out) ? ExitDone : ExitFailed;
}

bool ParseDisplayNumber(const std::string& text, int& number) {
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, number);
  return error == std::errc() && stop == end && number >= 1;
}

}  // namespace

bool ParseProfileArguments(const std::vector<std::string>& args, TProfileArguments& parsed,
                           std::string& error) {
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& option = args[i];
    if (option == "--install") {
      parsed.Install = true;
      continue;
    }
    if (option != "--display" && option != "--curve" && option != "--edid" && option != "--out") {
      error = "unknown argument " + option;
      return false;
    }
    if (i + 1 == args.size() || args[i + 1].empty()) {
      error = option + " needs a value";
      return false;
    }
    const std::string& value = args[++i];
    if (option == "--display" && !ParseDisplayNumber(value, parsed.Display)) {
      error = "--display takes a display number from 1 up, not " + value;
      return false;
    }
    if (option == "--curve") parsed.Curve = value;
    if (option == "--edid") parsed.Edid = value;
    if (option == "--out") parsed.Out = value;
  }
  if ((parsed.Display > 0) == !parsed.Curve.empty()) error = "give either --display or --curve";
  else if (!parsed.Curve.empty() && parsed.Out.empty()) error = "--curve needs --out";
  else if (parsed.Display > 0 && !parsed.Edid.empty()) error = "--edid goes with --curve only";
  else if (!parsed.Curve.empty() && parsed.Install) error = "--install needs --display";
  return error.empty();
}

int ProfileProgram(const std::vector<std::string>& args, TProfileInstaller& installer,
                   std::ostream& out, std::ostream& err) {
  TProfileArguments parsed;
  std::string error;
  if (!ParseProfileArguments(args, parsed, error)) {
    err << "tonemark-profile: " << error << "\n" << ProfileUsage << "\n";
    return ExitUsage;
  }
  CommandLineArgs = args;
  int exitCode = ExitFailed;
  try {
    if (parsed.Display > 0) {
      EnumerateDisplays();
      // What kept discovery from the monitors is worded from the language
      // files; this program speaks English.
      LoadLanguage("English", LanguagesFolderName, ProductSubFolder, ProductSubFolder);
      const std::string notDiscovered = DisplaysPort().DiscoveryProblem();
      if (!notDiscovered.empty()) err << "tonemark-profile: " << notDiscovered << "\n";
    }
    exitCode = Run(parsed, installer, out);
  } catch (const TStop& stop) {
    err << "tonemark-profile: " << stop.what() << "\n";
  }
  ReleaseDisplays();
  return exitCode;
}

std::string TodayText() {
  const std::time_t now = std::time(nullptr);
  char text[16] = "";
  std::strftime(text, sizeof text, "%Y-%m-%d", std::localtime(&now));
  return text;
}
