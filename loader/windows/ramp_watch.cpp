#include "loader/windows/ramp_watch.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "loader/status_record.h"
#include "loader/status_text.h"
#include "loader/watch_core.h"
#include "loader/windows/balloon.h"
#include "loader/windows/load_runs.h"
#include "loader/windows/loader_window.h"
#include "loader/windows/watch_system.h"

namespace {

constexpr const char* DefaultLeaveAlone = "flux.exe";
constexpr const char* WatchOffWhy = "the watch is turned off";
constexpr const char* NotRunningWhy = "Tonewatch is not running";
constexpr UINT ReapplyCheckMs = 100;
constexpr UINT MillisecondsPerSecond = 1000;

struct TFileStamp {
  FILETIME Written{};
  FILETIME Created{};
  DWORD Size = 0;
  bool Exists = false;
};

struct TRampWatch {
  std::string ShownPath;
  std::string SettingsPath;
  TFileStamp ShownStamp;
  HANDLE Reapply = nullptr;
  HWND Window = nullptr;
};

TRampWatch Watch;
TWatchCore Core;
TStatusRecord Written;

std::string ReadFileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TFileStamp StampOf(const std::string& path) {
  TFileStamp stamp;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return stamp;
  stamp.Written = data.ftLastWriteTime;
  stamp.Created = data.ftCreationTime;
  stamp.Size = data.nFileSizeLow;
  stamp.Exists = true;
  return stamp;
}

bool SameStamp(const TFileStamp& a, const TFileStamp& b) {
  return a.Exists == b.Exists && a.Size == b.Size && CompareFileTime(&a.Written, &b.Written) == 0 &&
         CompareFileTime(&a.Created, &b.Created) == 0;
}

void ReadSettings() {
  const std::string text = ReadFileText(Watch.SettingsPath);
  ReadWatchSettings(text.data(), text.size(), DefaultLeaveAlone, Core.Settings);
}

int32_t LocalDay() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return now.wYear * 400 + now.wMonth * 32 + now.wDay;
}

void RefreshShown(bool ownReload) {
  const TFileStamp stamp = StampOf(Watch.ShownPath);
  if (SameStamp(stamp, Watch.ShownStamp)) return;
  Watch.ShownStamp = stamp;
  if (!ownReload) ReadSettings();
  const std::string text = ReadFileText(Watch.ShownPath);
  TakeShownText(Core, text.data(), text.size(), ownReload);
}

std::string StatusPath() {
  char folder[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathA(sizeof folder, folder);
  if (length == 0 || length > MAX_PATH) return {};
  return std::string(folder) + StatusRecordName;
}

void WriteStatus() {
  static TStatusRecord record;
  std::memset(&record, 0, sizeof record);
  record.Magic = StatusRecordMagic;
  record.Size = sizeof record;
  record.Process = GetCurrentProcessId();
  record.WatchSeconds = Core.Seconds;
  if (Core.Seconds > 0) record.Status = Core.Status;
  else CopyText(record.Why, sizeof record.Why, Core.NotWatchedWhy);
  if (std::memcmp(&record, &Written, sizeof record) == 0) return;
  const std::string path = StatusPath();
  if (path.empty()) return;
  const std::string temporary = path + ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out.write(reinterpret_cast<const char*>(&record), sizeof record)) return;
  }
  if (MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) Written = record;
}

void TellGivenUp(const TDisplayStatus& display) {
  char text[256];
  std::snprintf(text, sizeof text,
                "%s: another program keeps setting its ramp. Tonewatch leaves it alone until the next display change, "
                "unlock, resume or load run.",
                display.Device);
  ShowBalloon(Watch.Window, "Tonewatch stopped watching a display", text);
}

bool NightLightOn() { return false; }  // Windows' night light sets no ramp an application sees

bool StartReapply(const char* identity) {
  Watch.Reapply = LaunchReapply(identity);
  if (Watch.Reapply == nullptr) return false;
  SetTimer(Watch.Window, ReapplyTimer, ReapplyCheckMs, nullptr);
  return true;
}

constexpr TWatchSystem System = {ReadPresentRamp, CalibrationWindowOpen, LookAtRunningPrograms, NightLightOn,
                                 TellGivenUp, StartReapply};

void Look() {
  if (Watch.Reapply != nullptr || RunningLoad() != nullptr) return;
  RefreshShown(false);
  TakeLocalDay(Core, LocalDay());
  LookAtRamps(Core, System, GetTickCount64());
  WriteStatus();
}

void ReapplyEndedOrNot() {
  if (Watch.Reapply != nullptr && WaitForSingleObject(Watch.Reapply, 0) == WAIT_TIMEOUT) return;
  KillTimer(Watch.Window, ReapplyTimer);
  if (Watch.Reapply != nullptr) CloseHandle(Watch.Reapply);
  Watch.Reapply = nullptr;
  RefreshShown(true);
  Look();  // another display may wait for its re-load
}

bool WriteOut(const std::string& text) {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  bool attached = false;
  if (out == nullptr || out == INVALID_HANDLE_VALUE) {
    // A window program has no standard output of its own unless it was handed one.
    attached = AttachConsole(ATTACH_PARENT_PROCESS) != FALSE;
    out = attached ? CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr)
                   : INVALID_HANDLE_VALUE;
  }
  if (out == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool done = WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) != FALSE;
  if (attached) CloseHandle(out);
  return done;
}

bool ReadRunningRecord(TStatusRecord& record) {
  const std::string text = ReadFileText(StatusPath());
  if (text.size() != sizeof record) return false;
  std::memcpy(&record, text.data(), sizeof record);
  HWND running = FindWindowA(LoaderWindowClass, nullptr);
  DWORD process = 0;
  if (running != nullptr) GetWindowThreadProcessId(running, &process);
  return record.Magic == StatusRecordMagic && record.Size == sizeof record && process != 0 &&
         record.Process == static_cast<int64_t>(process);
}

}  // namespace

const TWatchStatus& CurrentWatchStatus() {
  if (Core.Seconds == 0) RefreshShown(false);
  return Core.Status;
}

void StartRampWatch(HWND window, int32_t chosenSeconds) {
  Watch.Window = window;
  const std::string folder = DataFolder();
  Watch.ShownPath = folder + ShownFileName;
  Watch.SettingsPath = folder + SettingsFileName;
  ReadSettings();
  Core.Seconds = chosenSeconds >= 0 ? chosenSeconds : Core.Settings.WatchSeconds;
  Core.NotWatchedWhy = WatchOffWhy;
  Core.Day = LocalDay();
  RefreshShown(false);
  if (Core.Seconds > 0 && window != nullptr) {
    SetTimer(window, WatchTimer, static_cast<UINT>(Core.Seconds) * MillisecondsPerSecond, nullptr);
  }
  WriteStatus();
}

bool HandleWatchTimer(HWND window, WPARAM timer) {
  if (timer == WatchTimer) Look();
  else if (timer == ReapplyTimer) ReapplyEndedOrNot();
  else if (timer == BalloonTimer) RemoveBalloon(window);
  else return false;
  return true;
}

void StopRampWatch(HWND window) {
  KillTimer(window, WatchTimer);
  KillTimer(window, ReapplyTimer);
  RemoveBalloon(window);
  if (Watch.Reapply != nullptr) CloseHandle(Watch.Reapply);
  Watch.Reapply = nullptr;
  if (Written.Magic == StatusRecordMagic) DeleteFileA(StatusPath().c_str());
}

int PrintWatchStatus() {
  static TStatusRecord record;
  static TShownFile shown;
  const bool running = ReadRunningRecord(record);
  if (!running || record.WatchSeconds == 0) {
    const std::string text = ReadFileText(DataFolder() + ShownFileName);
    ReadShownText(text.data(), text.size(), shown);
    StatusFromShown(shown, false, running ? record.Why : NotRunningWhy, record.Status);
  }
  static char report[16384];
  FormatWatchStatus(record.Status, running, running ? record.WatchSeconds : 0, report, sizeof report);
  std::string text;
  for (const char* c = report; *c != '\0'; ++c) text += *c == '\n' ? std::string("\r\n") : std::string(1, *c);
  WriteOut(text);
  return 0;
}
