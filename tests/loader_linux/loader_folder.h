// A folder holding a copy of the built tonewatch and, beside it, a stand-in
// tonemark that appends one line per start to starts.log:
// "<wall-clock nanoseconds> <parent pid> <arguments>", and then runs the
// built tonemark if the test has asked for it. Loaders started from
// it get a private runtime folder and, unless a test says otherwise, a
// system bus address where no bus listens, and settings that turn the
// ramp watch off.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tests/temp_folder.h"

struct TonemarkStart {
  std::chrono::system_clock::time_point Time;
  pid_t Parent = 0;
  std::string Arguments;
};

// A started tonewatch; killed and collected if a test leaves it running.
class LoaderProcess {
 public:
  LoaderProcess(pid_t pid, std::chrono::system_clock::time_point started)
      : pid_(pid), started_(started) {}
  LoaderProcess(LoaderProcess&& other) noexcept;
  LoaderProcess& operator=(LoaderProcess&&) = delete;
  ~LoaderProcess();

  pid_t Pid() const { return pid_; }
  std::chrono::system_clock::time_point Started() const { return started_; }
  bool IsRunning();
  // The exit code once it has ended within the time, nullopt when it runs on
  // or ended by a signal.
  std::optional<int> WaitForExitCode(double seconds);

 private:
  pid_t pid_;
  std::chrono::system_clock::time_point started_;
  std::optional<int> status_;
};

class LoaderFolder {
 public:
  LoaderFolder();
  // Waits for stand-ins still writing into the folder before it goes.
  ~LoaderFolder();

  std::string Folder() const { return folder_.Folder(); }
  std::string RuntimeFolder() const { return folder_.File("run"); }
  std::string RuntimeFile(const std::string& name) const { return RuntimeFolder() + "/" + name; }

  // Each start then also runs the built tonemark, which finds its curve files
  // in this folder.
  void UseRealTonemark();

  // NAME=value entries handed to every loader; tests may change them.
  std::vector<std::string> Environment;
  void SetVariable(const std::string& name, const std::string& value);
  void RemoveVariable(const std::string& name);

  LoaderProcess Start(const std::vector<std::string>& args) const;
  // Runs tonewatch with args to its end; its exit code, nullopt on a time-out.
  std::optional<int> Run(const std::vector<std::string>& args, double seconds = 10) const;

  // Each stand-in then runs this long, as a load stepping its ramps, and
  // notes its end in Ends().
  void HoldEachRun(double seconds);
  std::vector<std::chrono::system_clock::time_point> Ends() const;

  std::vector<TonemarkStart> Starts() const;
  // True once at least count starts are recorded.
  bool WaitForStarts(size_t count, double seconds) const;
  // True once no stand-in (nor the tonemark it runs) is running.
  bool WaitForTonemarksToEnd(double seconds) const;

 private:
  TempFolder folder_;
};

// Seconds from a loader's start to a stand-in's start.
double SecondsAfter(const LoaderProcess& loader, const TonemarkStart& start);

// Children of parent as /proc shows them, and how many are zombies.
int ChildCount(pid_t parent);
int ZombieChildCount(pid_t parent);

bool WaitUntil(double seconds, const std::function<bool()>& done);
