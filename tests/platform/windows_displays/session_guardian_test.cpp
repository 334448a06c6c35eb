// Tonemark.exe's editing session on simulated displays, ended from outside
// with TerminateProcess, which no process can catch: the guardian it started
// puts the ramp saved at the session's start back.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>

#include "tests/temp_folder.h"

namespace {
constexpr int PollMs = 50;
constexpr int PollLimit = 1200;  // 60 s: Wine starts processes slowly, more so on a busy machine

std::string WindowsPath(const char* unixPath) {
  std::string path = unixPath != nullptr && unixPath[0] == '/' ? "Z:" : "";
  for (const char* c = unixPath; c != nullptr && *c != '\0'; ++c) path += *c == '/' ? '\\' : *c;
  return path;
}

std::string Ramp(int step) {
  std::string text;
  for (int i = 0; i < 768; ++i) text += std::to_string(i % 256 * step) + " ";
  return text;
}

// The ramp file's first and second values (red at levels 0 and 1), -1 while
// it cannot be read.
long FirstValue(const std::string& file) {
  const std::string text = ReadBytes(file);
  return text.empty() ? -1 : std::strtol(text.c_str(), nullptr, 10);
}

long SecondValue(const std::string& file) {
  const std::string text = ReadBytes(file);
  char* end = nullptr;
  std::strtol(text.c_str(), &end, 10);
  return text.empty() ? -1 : std::strtol(end, nullptr, 10);
}

// The simulated display's log, each line cut short: who set which ramp when.
std::string LogSummary(const std::string& file) {
  std::istringstream log(ReadBytes(file));
  std::string summary;
  for (std::string line; std::getline(log, line);)
    if (!line.empty()) summary += line.substr(0, 20) + "\n";
  return summary;
}

bool WaitFor(const std::function<bool()>& condition) {
  for (int i = 0; i < PollLimit; ++i) {
    if (condition()) return true;
    Sleep(PollMs);
  }
  return condition();
}

TEST(SessionGuardianOnWine, PutsTheSavedRampBackWhenTheSessionIsTerminated) {
  TempFolder sim;
  WriteBytes(sim.File("displays.ini"), "[Monitor1]\r\n");
  WriteBytes(sim.File("ramp1.txt"), Ramp(200));
  TempFolder app;
  const std::string exe = app.File("Tonemark.exe");
  ASSERT_TRUE(CopyFileA(WindowsPath(std::getenv("TONEMARK_EXE")).c_str(), exe.c_str(), FALSE));

  HANDLE scriptRead = nullptr, scriptWrite = nullptr;
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  ASSERT_TRUE(CreatePipe(&scriptRead, &scriptWrite, &inherit, 0));
  SetHandleInformation(scriptWrite, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = scriptRead;
  SetEnvironmentVariableA("TONEMARK_SIM", sim.Folder().c_str());
  SetEnvironmentVariableA("TONEMARK_SCRIPT", "1");
  std::string commandLine = "\"" + exe + "\"";
  PROCESS_INFORMATION session{};
  const BOOL started = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                      nullptr, &startup, &session);
  SetEnvironmentVariableA("TONEMARK_SIM", nullptr);
  SetEnvironmentVariableA("TONEMARK_SCRIPT", nullptr);
  CloseHandle(scriptRead);
  ASSERT_TRUE(started);
  CloseHandle(session.hThread);

  const std::string script = "type BlackEdit 40\n";
  DWORD written = 0;
  WriteFile(scriptWrite, script.data(), static_cast<DWORD>(script.size()), &written, nullptr);
  const std::string ramp = sim.File("ramp1.txt");
  EXPECT_TRUE(WaitFor([&] { return FirstValue(ramp) > 0; })) << "the session changed no ramp";

  TerminateProcess(session.hProcess, 1);
  WaitForSingleObject(session.hProcess, INFINITE);
  CloseHandle(session.hProcess);
  CloseHandle(scriptWrite);
  EXPECT_TRUE(WaitFor([&] { return FirstValue(ramp) == 0 && SecondValue(ramp) == 200; }))
      << "the saved ramp did not come back: " << ReadBytes(ramp).substr(0, 40) << "\nlog:\n"
      << LogSummary(sim.File("log.txt"));
}
}  // namespace
