#include "shell/load_mode.h"

#include <cstdlib>
#include <ctime>
#include <stdexcept>
#include <string>
#include <vector>

#include "lang/multilang.h"
#include "ramp/displays_port.h"
#include "ramp/messages_port.h"
#include "ramp/file_error.h"
#include "ramp/load_curves.h"
#include "ramp/monitor_identity.h"
#include "ramp/records.h"
#include "shell/calibration_keeper.h"
#include "shell/data_folders.h"
#include "shell/program_entry.h"
#include "shell/shown_ramps.h"

namespace {

bool SafeLoadAsked() {
  const char* value = std::getenv(SafeLoadVariable);
  return value != nullptr && std::string(value) == "1";
}

// The text of `key` with "%d" replaced by the display's number and "%s" by
// its description.
std::string AboutDisplay(const std::string& key, int32_t index) {
  std::string text = Translate(key);
  const size_t number = text.find("%d");
  if (number != std::string::npos) text.replace(number, 2, std::to_string(index + 1));
  const size_t description = text.find("%s");
  if (description != std::string::npos) text.replace(description, 2, Displays[index].Description);
  return text;
}

void AddLine(std::string& text, const std::string& line) { text += (text.empty() ? "" : "\n") + line; }

void AddLines(std::string& text, const std::string& key, const std::vector<int32_t>& displays) {
  for (int32_t index : displays) AddLine(text, AboutDisplay(key, index));
}

// Each display's line with "%r" replaced by the reason given for it.
void AddReasons(std::string& text, const std::string& key,
                const std::vector<std::pair<int32_t, std::string>>& displays) {
  for (const auto& [index, reason] : displays) {
    std::string line = AboutDisplay(key, index);
    const size_t at = line.find("%r");
    if (at != std::string::npos) line.replace(at, 2, reason);
    AddLine(text, line);
  }
}

// A display that did not keep its ramp, with what its system says may have
// turned the ramp away.
void AddNotKept(std::string& text, const std::vector<int32_t>& displays) {
  for (int32_t index : displays) {
    const std::string cause = DisplaysPort().RampRefusalCause(Displays[index].DC);
    AddLine(text, AboutDisplay("MCalibrationNotKept", index) + (cause.empty() ? "" : " " + cause));
  }
}

// By display index: why its load was refused or not kept, one line, for
// Tonemark.shown.
std::vector<std::string> ReasonsByDisplay(const TLoadReport& report) {
  std::vector<std::string> reasons(DisplayCount);
  for (const auto& [index, reason] : report.Unreadable) reasons[index] = reason;
  for (int32_t index : report.NotKept) {
    std::string line;
    AddNotKept(line, {index});
    reasons[index] = line;
  }
  for (const auto& [index, reason] : report.Refused) {
    std::string line;
    AddReasons(line, "MRampRefused", {{index, reason}});
    reasons[index] = line;
  }
  return reasons;
}

int64_t Now() { return static_cast<int64_t>(std::time(nullptr)); }

std::string DataFolder() { return CommonDataFolder(ProductSubFolder); }

// The display whose monitor has `identity`, or -1.
int32_t DisplayOfIdentity(const std::string& identity) {
  for (int32_t i = 0; i < DisplayCount; ++i)
    if (MonitorIdentity(Displays[i]) == identity) return i;
  return -1;
}

}  // namespace

bool ReapplyAsked(const std::vector<std::string>& args) { return args.size() > 2 && args[2] == ReapplyArgument; }

void RunReapply(const std::string& identity) {
  const int32_t index = DisplayOfIdentity(identity);
  if (index < 0) throw std::runtime_error(Translate("MReapplyUnknownMonitor") + " " + identity);
  TLoadReport report;
  bool kept = false;
  try {
    kept = ReapplyCurve(DataFolder(), index, report);
  } catch (const TFileError& error) {
    report.Unreadable.emplace_back(index, error.what());
  }
  const bool ownCurve = !report.CurveFiles.empty() && !report.CurveFiles[index].empty();
  if (!ownCurve && report.Unreadable.empty()) throw std::runtime_error(AboutDisplay("MReapplyNoCurve", index));
  const std::vector<std::string> reasons = ReasonsByDisplay(report);
  const std::string notWritten = WriteShownDisplay(DataFolder(), ShownDisplays(report, reasons, Now())[index]);
  std::string problems = reasons[index];
  if (!notWritten.empty()) AddLine(problems, notWritten);
  if (!kept || !report.Unreadable.empty()) throw std::runtime_error(problems);
  if (!problems.empty()) MessagesPort().ShowMessage(WarningCaption, problems);
}

void RunLoadMode() {
  // Nothing on screen is not a success when the displays could not be asked for.
  if (DisplayCount == 0 && DisplaysPort().MonitorsUnknown()) throw std::runtime_error(NoDisplayMessage);
  TLoadReport report;
  std::string errors;
  try {
    if (SafeLoadAsked()) LoadLinearRamps(report);
    else if (!CalibrationKeeper() || !CalibrationKeeper()->EnsureStoredCurves(CommonDataFolder(ProductSubFolder), report))
      LoadCurves(CommonDataFolder(ProductSubFolder), report);
  } catch (const TFileError& error) {
    errors = error.what();
  }
  AddReasons(errors, "MRampRefused", report.Refused);
  AddNotKept(errors, report.NotKept);
  std::string warnings;
  const std::string notWritten = WriteShownRamps(DataFolder(), ShownDisplays(report, ReasonsByDisplay(report), Now()));
  if (!notWritten.empty()) AddLine(warnings, notWritten);
  AddLines(warnings, "MNoCurveOfItsOwn", report.WithoutOwnCurve);
  AddLines(warnings, "MNearlyUniform", report.NearlyUniform);
  AddReasons(warnings, "MRampInDoubt", report.InDoubt);
  for (const std::string& note : report.Notes) AddLine(warnings, note);
  if (!errors.empty()) throw std::runtime_error(warnings.empty() ? errors : warnings + "\n" + errors);
  if (!warnings.empty()) MessagesPort().ShowMessage(WarningCaption, warnings);
}
