#include "loader/command_line.h"

#include <cstring>

namespace {

constexpr char UninstallOption[] = "/uninstall";
constexpr char DelayOption[] = "/delay";
constexpr char NoLoadOption[] = "/noload";
constexpr char TrayOption[] = "/tray";
constexpr char NoTrayOption[] = "/notray";
constexpr char WatchOption[] = "/watch";
constexpr char StatusOption[] = "/status";
constexpr int32_t LongestWatchSeconds = 86400;
constexpr int64_t MillisecondsPerSecond = 1000;
// The delay must fit a positive signed 32-bit count of milliseconds.
constexpr int64_t LongestDelayMs = INT32_MAX;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Leading blanks are skipped and digits read up to the first byte that is
// not one, keeping what was read; text with no leading digit reads as 0.
// A zero delay, or one too long to keep, gives the default.
int32_t ReadDelayMs(const char* secondsText) {
  if (secondsText == nullptr) return DefaultDelayMs;
  const char* next = secondsText;
  while (IsBlank(*next)) ++next;
  int64_t seconds = 0;
  for (; IsDigit(*next); ++next) {
    seconds = seconds * 10 + (*next - '0');
    if (seconds * MillisecondsPerSecond > LongestDelayMs) return DefaultDelayMs;
  }
  if (seconds == 0) return DefaultDelayMs;
  return static_cast<int32_t>(seconds * MillisecondsPerSecond);
}

// Digits up to the first byte that is not one; no leading digit: -1, the
// settings' period.
int32_t ReadWatchSeconds(const char* secondsText) {
  if (secondsText == nullptr) return -1;
  const char* next = secondsText;
  while (IsBlank(*next)) ++next;
  if (!IsDigit(*next)) return -1;
  int32_t seconds = 0;
  for (; IsDigit(*next); ++next) {
    seconds = seconds * 10 + (*next - '0');
    if (seconds > LongestWatchSeconds) return LongestWatchSeconds;
  }
  return seconds;
}

TLoaderOptions ReadOptions(const char* first, const char* second) {
  TLoaderOptions options;
  if (first == nullptr) return options;
  if (std::strcmp(first, UninstallOption) == 0) {
    options.Uninstall = true;
  } else if (std::strcmp(first, DelayOption) == 0) {
    options.DelayMs = ReadDelayMs(second);
  } else if (std::strcmp(first, NoLoadOption) == 0) {
    options.LoadAtStart = false;
  } else if (std::strcmp(first, WatchOption) == 0) {
    options.WatchSeconds = ReadWatchSeconds(second);
  } else if (std::strcmp(first, StatusOption) == 0) {
    options.Status = true;
  }
  return options;
}

}  // namespace

TLoaderOptions ParseLoaderArguments(int argc, const char* const* argv) {
  TLoaderOptions options = ReadOptions(argc > 1 ? argv[1] : nullptr, argc > 2 ? argv[2] : nullptr);
  // The last of them wins, as a later word on a command line usually does.
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], TrayOption) == 0) options.Tray = TrayShown;
    if (std::strcmp(argv[i], NoTrayOption) == 0) options.Tray = TrayHidden;
  }
  return options;
}
