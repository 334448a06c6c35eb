#include "ramp/curve_assignment.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>
#include <sstream>

#include "ramp/curve_file.h"
#include "ramp/file_port.h"
#include "ramp/records.h"

namespace {

constexpr const char* MonitorsSection = "[Monitors]";
constexpr size_t MaxMonitorsFileSize = 1 << 20;
constexpr const char* CurvePrefix = "Tonemark";
constexpr const char* CurveSuffix = ".lut";

std::string CurvePath(const std::string& folder, int32_t number) { return CurveFilePath(folder, number - 1); }

bool CurveExists(const std::string& folder, int32_t number) {
  std::error_code error;
  return std::filesystem::is_regular_file(CurvePath(folder, number), error);
}

// The number of "Tonemark<number>.lut", or 0 for any other name.
int32_t NumberOfName(const std::string& name) {
  const size_t prefix = std::char_traits<char>::length(CurvePrefix);
  const size_t suffix = std::char_traits<char>::length(CurveSuffix);
  if (name.size() <= prefix + suffix || !name.starts_with(CurvePrefix) || !name.ends_with(CurveSuffix)) return 0;
  const std::string digits = name.substr(prefix, name.size() - prefix - suffix);
  const auto isDigit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
  if (digits.size() > 6 || digits[0] == '0' || !std::all_of(digits.begin(), digits.end(), isDigit)) return 0;
  return std::stoi(digits);
}

// Number -> identity as the record holds them, for files that exist.
std::map<int32_t, std::string> ReadOwners(const std::string& folder) {
  std::map<int32_t, std::string> owners;
  std::string bytes;
  if (FilePort::ReadFileBytes(folder + MonitorsFileName, MaxMonitorsFileSize, bytes) != FilePort::TReadOutcome::Read)
    return owners;
  std::istringstream lines(bytes);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t equals = line.find('=');
    if (equals == std::string::npos || equals + 1 == line.size()) continue;
    const int32_t number = NumberOfName(line.substr(0, equals));
    if (number > 0 && CurveExists(folder, number)) owners.emplace(number, line.substr(equals + 1));
  }
  return owners;
}

bool Taken(const std::vector<int32_t>& numbers, int32_t number) {
  return std::find(numbers.begin(), numbers.end(), number) != numbers.end();
}

}  // namespace

std::string CurveFileName(int32_t number) { return CurvePrefix + std::to_string(number) + CurveSuffix; }

TCurveAssignment AssignCurveFiles(const std::string& folder) {
  TCurveAssignment assignment;
  assignment.Owners = ReadOwners(folder);
  assignment.Numbers.assign(DisplayCount, 0);
  for (int32_t i = 0; i < DisplayCount; ++i)
    for (const auto& [number, owner] : assignment.Owners)
      if (owner == Displays[i].Identity && !Taken(assignment.Numbers, number)) {
        assignment.Numbers[i] = number;
        break;
      }
  // Files from before the record: by place, as long as no monitor owns them.
  for (int32_t i = 0; i < DisplayCount; ++i) {
    const int32_t place = i + 1;
    if (assignment.Numbers[i] == 0 && !assignment.Owners.contains(place) && !Taken(assignment.Numbers, place) &&
        CurveExists(folder, place))
      assignment.Numbers[i] = place;
  }
  std::set<std::string> connected;
  for (int32_t i = 0; i < DisplayCount; ++i) connected.insert(Displays[i].Identity);
  for (const auto& [number, owner] : assignment.Owners)
    if (!connected.contains(owner)) assignment.AbsentCurves.push_back(number);
  return assignment;
}

void ClaimCurveFiles(TCurveAssignment& assignment, const std::string& folder) {
  int32_t candidate = 1;
  for (int32_t i = 0; i < DisplayCount; ++i) {
    if (assignment.Numbers[i] != 0) continue;
    while (assignment.Owners.contains(candidate) || Taken(assignment.Numbers, candidate) ||
           CurveExists(folder, candidate))
      ++candidate;
    assignment.Numbers[i] = candidate;
  }
  for (int32_t i = 0; i < DisplayCount; ++i) assignment.Owners[assignment.Numbers[i]] = Displays[i].Identity;
}

std::string MonitorsFileText(const TCurveAssignment& assignment) {
  std::string text = std::string(MonitorsSection) + "\r\n";
  for (const auto& [number, owner] : assignment.Owners) text += CurveFileName(number) + "=" + owner + "\r\n";
  return text;
}

std::string AssignedCurvePath(const std::string& folder, const TCurveAssignment& assignment, int32_t index) {
  if (index < 0 || index >= static_cast<int32_t>(assignment.Numbers.size()) || assignment.Numbers[index] == 0)
    return "";
  return CurvePath(folder, assignment.Numbers[index]);
}

std::string DisplayCurvePath(const std::string& folder, int32_t index) {
  return AssignedCurvePath(folder, AssignCurveFiles(folder), index);
}
