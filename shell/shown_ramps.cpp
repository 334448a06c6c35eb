#include "shell/shown_ramps.h"

#include <algorithm>
#include <sstream>

#include "ramp/atomic_file.h"
#include "ramp/displays_port.h"
#include "ramp/file_error.h"
#include "ramp/file_port.h"
#include "ramp/monitor_identity.h"
#include "shell/data_folders.h"

namespace {

constexpr const char* SectionPrefix = "[Display";
constexpr const char* IdentityKey = "Identity=";
constexpr size_t MaxShownFileSize = 1 << 20;

bool Contains(const std::vector<int32_t>& indices, int32_t index) {
  return std::find(indices.begin(), indices.end(), index) != indices.end();
}

template <typename T>
bool ContainsPair(const std::vector<std::pair<int32_t, T>>& pairs, int32_t index) {
  return std::any_of(pairs.begin(), pairs.end(), [&](const auto& pair) { return pair.first == index; });
}

std::string RampText(const TGammaRamp& ramp) {
  std::string text;
  for (size_t i = 0; i < ramp.size(); ++i) text += (i == 0 ? "" : " ") + std::to_string(ramp[i]);
  return text;
}

// One line, whatever the reason held.
std::string OneLine(std::string text) {
  std::replace_if(text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
  return text;
}

std::string SectionBody(const TShownDisplay& display) {
  return std::string(IdentityKey) + display.Identity + "\r\nDevice=" + display.Device +
         "\r\nBackend=" + display.Backend + "\r\nCurve=" + display.Curve +
         "\r\nLoaded=" + std::to_string(display.Loaded) + "\r\nResult=" + display.Result +
         "\r\nReason=" + OneLine(display.Reason) + "\r\nRamp=" + display.Ramp + "\r\n";
}

std::string Section(size_t number, const TShownDisplay& display) {
  return SectionPrefix + std::to_string(number) + "]\r\n" + SectionBody(display);
}

std::string WriteText(const std::string& folder, const std::string& text) {
  try {
    ForceFolder(folder);
    // Every load run writes it anew: not worth a flush to the disk.
    WriteFileAtomically(folder + ShownRampsFileName, text, TFlush::Unflushed);
  } catch (const TFileError& error) {
    return error.what();
  }
  return "";
}

}  // namespace

std::vector<TShownDisplay> ShownDisplays(const TLoadReport& report, const std::vector<std::string>& reasons,
                                         int64_t loadedAt) {
  std::vector<TShownDisplay> shown;
  TDisplaysPort& port = DisplaysPort();
  for (int32_t i = 0; i < DisplayCount; ++i) {
    TShownDisplay display;
    display.Identity = MonitorIdentity(Displays[i]);
    display.Device = port.DeviceAddress(Displays[i].Monitor, Displays[i].MonitorInfo.DeviceName);
    display.Backend = port.BackendName();
    if (i < static_cast<int32_t>(report.CurveFiles.size())) display.Curve = report.CurveFiles[i];
    display.Loaded = loadedAt;
    const bool refused = ContainsPair(report.Refused, i);
    const bool notKept = Contains(report.NotKept, i) || ContainsPair(report.Unreadable, i);
    display.Result = refused ? "refused" : notKept ? "not-kept" : "kept";
    if (refused || notKept) {
      if (i < static_cast<int32_t>(reasons.size())) display.Reason = reasons[i];
    } else {
      for (const auto& [index, ramp] : report.ReadBack)
        if (index == i) display.Ramp = RampText(ramp);
    }
    shown.push_back(display);
  }
  return shown;
}

std::string ShownRampsText(const std::vector<TShownDisplay>& shown) {
  std::string text;
  for (size_t i = 0; i < shown.size(); ++i) text += Section(i + 1, shown[i]);
  return text;
}

std::string ReplaceShownDisplay(const std::string& previous, const TShownDisplay& display) {
  // The sections as they stand, each its header line and the lines under it.
  std::vector<std::pair<std::string, std::string>> sections;
  std::istringstream lines(previous);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.starts_with("[")) sections.emplace_back(line, "");
    else if (!sections.empty()) sections.back().second += line + "\r\n";
  }
  const std::string identityLine = std::string(IdentityKey) + display.Identity + "\r\n";
  std::string text;
  bool replaced = false;
  for (const auto& [header, body] : sections) {
    const bool mine = !replaced && (body.starts_with(identityLine) || body.find("\n" + identityLine) != std::string::npos);
    text += header + "\r\n" + (mine ? SectionBody(display) : body);
    replaced = replaced || mine;
  }
  if (!replaced) text += Section(sections.size() + 1, display);
  return text;
}

std::string WriteShownRamps(const std::string& folder, const std::vector<TShownDisplay>& shown) {
  return WriteText(folder, ShownRampsText(shown));
}

std::string WriteShownDisplay(const std::string& folder, const TShownDisplay& display) {
  std::string previous;
  if (FilePort::ReadFileBytes(folder + ShownRampsFileName, MaxShownFileSize, previous) != FilePort::TReadOutcome::Read)
    previous.clear();
  return WriteText(folder, ReplaceShownDisplay(previous, display));
}
