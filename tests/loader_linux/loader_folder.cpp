#include "tests/loader_linux/loader_folder.h"

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

constexpr char StandIn[] =
    "#!/bin/sh\n"
    "# Stand-in for the calibration program: records each start, then runs the\n"
    "# real one when there is one beside it.\n"
    "here=$(dirname \"$0\")\n"
    "printf '%s %s %s\\n' \"$(date +%s%N)\" \"$PPID\" \"$*\" >> \"$here/starts.log\"\n"
    "if [ -f \"$here/run-seconds\" ]; then\n"
    "  sleep \"$(cat \"$here/run-seconds\")\"\n"
    "  date +%s%N >> \"$here/ends.log\"\n"
    "fi\n"
    "if [ -x \"$here/tonemark.real\" ]; then exec \"$here/tonemark.real\" \"$@\"; fi\n";
constexpr auto PollInterval = std::chrono::milliseconds(20);

pid_t Spawn(const std::string& program, const std::vector<std::string>& args,
            const std::vector<std::string>& environment) {
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (const std::string& entry : environment) envp.push_back(const_cast<char*>(entry.c_str()));
  envp.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), envp.data()) != 0) return -1;
  return pid;
}

// Fields of /proc/<pid>/stat after the command name, which may hold anything.
bool ReadProcessState(const std::filesystem::path& statFile, char& state, pid_t& parent) {
  std::ifstream in(statFile);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  size_t nameEnd = text.rfind(')');
  if (nameEnd == std::string::npos) return false;
  std::istringstream fields(text.substr(nameEnd + 1));
  return static_cast<bool>(fields >> state >> parent);
}

bool IsNumber(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// A process whose command line names something in folder.
bool AnyProcessRunsFrom(const std::string& folder) {
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator("/proc", ignored)) {
    if (!IsNumber(entry.path().filename().string())) continue;
    if (ReadBytes((entry.path() / "cmdline").string()).find(folder) != std::string::npos) return true;
  }
  return false;
}

int CountChildren(pid_t parent, bool zombiesOnly) {
  int count = 0;
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator("/proc", ignored)) {
    if (!IsNumber(entry.path().filename().string())) continue;
    char state;
    pid_t processParent;
    if (ReadProcessState(entry.path() / "stat", state, processParent) && processParent == parent &&
        (!zombiesOnly || state == 'Z')) {
      ++count;
    }
  }
  return count;
}

}  // namespace

LoaderProcess::LoaderProcess(LoaderProcess&& other) noexcept
    : pid_(other.pid_), started_(other.started_), status_(other.status_) {
  other.pid_ = -1;
}

LoaderProcess::~LoaderProcess() {
  if (pid_ <= 0 || status_) return;
  kill(pid_, SIGKILL);
  waitpid(pid_, nullptr, 0);
}

bool LoaderProcess::IsRunning() {
  if (status_) return false;
  int status;
  if (waitpid(pid_, &status, WNOHANG) == pid_) status_ = status;
  return !status_;
}

std::optional<int> LoaderProcess::WaitForExitCode(double seconds) {
  WaitUntil(seconds, [this] { return !IsRunning(); });
  if (!status_ || !WIFEXITED(*status_)) return std::nullopt;
  return WEXITSTATUS(*status_);
}

LoaderFolder::LoaderFolder() {
  std::filesystem::copy_file(TONEWATCH_BINARY, folder_.File("tonewatch"));
  chmod(folder_.File("tonewatch").c_str(), 0755);
  WriteBytes(folder_.File("tonemark"), StandIn);
  chmod(folder_.File("tonemark").c_str(), 0755);
  // The watch would re-load ramps that these tests reset on purpose; the
  // watch's own tests turn it on.
  WriteBytes(folder_.File("Tonemark.settings"), "[Tonewatch]\r\nWatch=0\r\n");
  std::filesystem::create_directory(RuntimeFolder());
  chmod(RuntimeFolder().c_str(), 0700);
  Environment = {"PATH=/usr/bin:/bin", "XDG_RUNTIME_DIR=" + RuntimeFolder(),
                 "DBUS_SYSTEM_BUS_ADDRESS=unix:path=" + folder_.File("no-bus")};
}

LoaderFolder::~LoaderFolder() {
  constexpr double StandInSeconds = 5;
  WaitUntil(StandInSeconds, [this] { return !AnyProcessRunsFrom(Folder()); });
}

void LoaderFolder::UseRealTonemark() {
  std::filesystem::copy_file(TONEMARK_BINARY, folder_.File("tonemark.real"));
  chmod(folder_.File("tonemark.real").c_str(), 0755);
  SetVariable("HOME", Folder());
}

void LoaderFolder::SetVariable(const std::string& name, const std::string& value) {
  RemoveVariable(name);
  Environment.push_back(name + "=" + value);
}

void LoaderFolder::RemoveVariable(const std::string& name) {
  std::erase_if(Environment, [&](const std::string& entry) { return entry.starts_with(name + "="); });
}

LoaderProcess LoaderFolder::Start(const std::vector<std::string>& args) const {
  auto started = std::chrono::system_clock::now();
  return LoaderProcess(Spawn(folder_.File("tonewatch"), args, Environment), started);
}

std::optional<int> LoaderFolder::Run(const std::vector<std::string>& args, double seconds) const {
  return Start(args).WaitForExitCode(seconds);
}

void LoaderFolder::HoldEachRun(double seconds) { WriteBytes(folder_.File("run-seconds"), std::to_string(seconds)); }

std::vector<std::chrono::system_clock::time_point> LoaderFolder::Ends() const {
  std::vector<std::chrono::system_clock::time_point> ends;
  std::istringstream lines(ReadBytes(folder_.File("ends.log")));
  for (long long nanoseconds; lines >> nanoseconds;) {
    ends.emplace_back(std::chrono::duration_cast<std::chrono::system_clock::duration>(
        std::chrono::nanoseconds(nanoseconds)));
  }
  return ends;
}

std::vector<TonemarkStart> LoaderFolder::Starts() const {
  std::vector<TonemarkStart> starts;
  std::istringstream lines(ReadBytes(folder_.File("starts.log")));
  for (std::string line; std::getline(lines, line);) {
    std::istringstream fields(line);
    long long nanoseconds = 0;
    TonemarkStart start;
    fields >> nanoseconds >> start.Parent;
    std::getline(fields >> std::ws, start.Arguments);
    start.Time = std::chrono::system_clock::time_point(
        std::chrono::duration_cast<std::chrono::system_clock::duration>(std::chrono::nanoseconds(nanoseconds)));
    starts.push_back(start);
  }
  return starts;
}

bool LoaderFolder::WaitForStarts(size_t count, double seconds) const {
  return WaitUntil(seconds, [&] { return Starts().size() >= count; });
}

bool LoaderFolder::WaitForTonemarksToEnd(double seconds) const {
  return WaitUntil(seconds, [this] { return !AnyProcessRunsFrom(Folder() + "tonemark"); });
}

double SecondsAfter(const LoaderProcess& loader, const TonemarkStart& start) {
  return std::chrono::duration<double>(start.Time - loader.Started()).count();
}

int ChildCount(pid_t parent) { return CountChildren(parent, false); }
int ZombieChildCount(pid_t parent) { return CountChildren(parent, true); }

bool WaitUntil(double seconds, const std::function<bool()>& done) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  for (;;) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(PollInterval);
  }
}
