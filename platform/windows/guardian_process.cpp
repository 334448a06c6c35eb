#include "platform/windows/guardian_process.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

namespace {

constexpr DWORD GuardianExitWaitMs = 5000;
// A guardian that hangs must not keep a crash or the console's end from
// ending the process.
constexpr ULONGLONG GuardianAnswerWaitMs = 2000;
constexpr DWORD AnswerPollMs = 10;
// Room for the saved ramps of a dozen displays at least, and for the commands
// after them: the session hands them over and goes on at once, however long
// the guardian takes to start reading, and no later write waits for it.
constexpr DWORD GuardianPipeBytes = 64 * 1024;
constexpr DWORD CommandBytes = 16;

// Read by the handlers below: the pipes to and from the guardian.
std::atomic<HANDLE> ToGuardian{nullptr};
std::atomic<HANDLE> FromGuardian{nullptr};
LPTOP_LEVEL_EXCEPTION_FILTER PreviousFilter = nullptr;

// Anonymous pipes have no time-outs: the answer is awaited by peeking.
void AwaitAnswer(HANDLE from) {
  const ULONGLONG start = GetTickCount64();
  DWORD available = 0;
  while (PeekNamedPipe(from, nullptr, 0, nullptr, &available, nullptr) && available == 0 &&
         GetTickCount64() - start < GuardianAnswerWaitMs)
    Sleep(AnswerPollMs);
  char byte = 0;
  DWORD count = 0;
  if (available > 0) ReadFile(from, &byte, 1, &count, nullptr);
}

void RestoreNow() {
  HANDLE to = ToGuardian.exchange(nullptr);
  HANDLE from = FromGuardian.load();
  if (to == nullptr) return;
  char byte = GuardianRestoreNow;
  DWORD count = 0;
  if (WriteFile(to, &byte, 1, &count, nullptr) && from != nullptr) AwaitAnswer(from);
}

LONG WINAPI RestoreOnCrash(EXCEPTION_POINTERS* exception) {
  RestoreNow();
  return PreviousFilter != nullptr ? PreviousFilter(exception) : EXCEPTION_CONTINUE_SEARCH;
}

BOOL WINAPI RestoreOnConsoleEnd(DWORD) {
  RestoreNow();
  return FALSE;  // the default handling ends the process
}

bool WriteAll(HANDLE pipe, const std::string& bytes) {
  size_t written = 0;
  while (written < bytes.size()) {
    DWORD count = 0;
    if (!WriteFile(pipe, bytes.data() + written, static_cast<DWORD>(bytes.size() - written), &count,
                   nullptr) ||
        count == 0)
      return false;
    written += count;
  }
  return true;
}

// Tonemark.exe again, the pipes as its standard input and output.
HANDLE SpawnGuardian(HANDLE input, HANDLE output) {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  SetHandleInformation(input, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
  SetHandleInformation(output, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input;
  startup.hStdOutput = output;
  startup.hStdError = nullptr;
  std::string commandLine = std::string("\"") + path + "\"";
  PROCESS_INFORMATION process{};
  SetEnvironmentVariableA(GuardianVariable, "1");
  const BOOL started = CreateProcessA(path, commandLine.data(), nullptr, nullptr, TRUE,
                                      CREATE_NO_WINDOW | CREATE_NEW_PROCESS_GROUP, nullptr, nullptr,
                                      &startup, &process);
  SetEnvironmentVariableA(GuardianVariable, nullptr);
  if (!started) return nullptr;
  CloseHandle(process.hThread);
  return process.hProcess;
}

}  // namespace

TGuardianProcess::~TGuardianProcess() { Release(); }

void TGuardianProcess::Hold(const std::string& savedRamps) {
  Release();
  HANDLE toRead = nullptr, toWrite = nullptr, fromRead = nullptr, fromWrite = nullptr;
  const DWORD pipeBytes =
      std::max<DWORD>(GuardianPipeBytes, static_cast<DWORD>(savedRamps.size()) + CommandBytes);
  if (!CreatePipe(&toRead, &toWrite, nullptr, pipeBytes)) return;
  if (!CreatePipe(&fromRead, &fromWrite, nullptr, 0)) {
    CloseHandle(toRead);
    CloseHandle(toWrite);
    return;
  }
  process_ = SpawnGuardian(toRead, fromWrite);
  CloseHandle(toRead);
  CloseHandle(fromWrite);
  toGuardian_ = toWrite;
  fromGuardian_ = fromRead;
  if (process_ == nullptr || !WriteAll(toWrite, savedRamps)) {
    Release();
    return;
  }
  ToGuardian = toWrite;
  FromGuardian = fromRead;
  PreviousFilter = SetUnhandledExceptionFilter(RestoreOnCrash);
  SetConsoleCtrlHandler(RestoreOnConsoleEnd, TRUE);
}

void TGuardianProcess::Release() {
  if (FromGuardian.load() == fromGuardian_ && fromGuardian_ != nullptr) {
    SetConsoleCtrlHandler(RestoreOnConsoleEnd, FALSE);
    SetUnhandledExceptionFilter(PreviousFilter);
    ToGuardian = nullptr;
    FromGuardian = nullptr;
  }
  if (toGuardian_ != nullptr) {
    WriteAll(static_cast<HANDLE>(toGuardian_), std::string(1, GuardianRelease));
    CloseHandle(static_cast<HANDLE>(toGuardian_));
  }
  if (process_ != nullptr) {
    WaitForSingleObject(static_cast<HANDLE>(process_), GuardianExitWaitMs);
    CloseHandle(static_cast<HANDLE>(process_));
  }
  if (fromGuardian_ != nullptr) CloseHandle(static_cast<HANDLE>(fromGuardian_));
  toGuardian_ = fromGuardian_ = process_ = nullptr;
}

bool IsGuardianProcess() {
  const char* value = std::getenv(GuardianVariable);
  return value != nullptr && std::strcmp(value, "1") == 0;
}

int RunGuardianProcess() {
  // The console's Ctrl+C and close are meant for the session, not for it.
  SetConsoleCtrlHandler(nullptr, TRUE);
  return RunRampGuardian(std::cin, std::cout);
}
