// Tonemark.exe started for real under Wine on simulated displays: a program
// folder of its own (portable, so its curve files lie beside it, with the
// English texts), a simulated-displays folder, and the user's hands: mouse
// clicks and keys as real input through SendInput.
#pragma once

#include "platform/windows/win32.h"

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "ramp/records.h"
#include "tests/temp_folder.h"

// Generous, for Wine on a busy machine; every wait polls and returns early.
constexpr DWORD SessionTimeoutMs = 90000;

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = SessionTimeoutMs);
// A Unix path from the build, as Wine reaches it (Z:\...).
std::string WinePath(const char* unixPath);

class TonemarkSession {
 public:
  // `displaysIni` describes the simulated displays.
  explicit TonemarkSession(const std::string& displaysIni);
  // Ends a program still running.
  ~TonemarkSession();
  TonemarkSession(const TonemarkSession&) = delete;
  TonemarkSession& operator=(const TonemarkSession&) = delete;

  // Starts Tonemark.exe and waits until its window is shown in the
  // foreground; false when it does not come.
  bool Start();
  HWND Window() const { return window_; }
  // The top-level window of the given class that the program shows (or
  // keeps hidden); null when there is none.
  HWND TopLevel(const char* className) const;
  RECT WindowRect(HWND window) const;
  // The program's visible child windows of a class, in screen rectangles.
  std::vector<RECT> ChildRects(const char* className) const;
  std::vector<HWND> Children(const char* className) const;

  void Click(int x, int y);
  // Pressed in the order given, released in the reverse order.
  void Keys(std::initializer_list<WORD> keys);
  bool WaitForExit(DWORD& exitCode);
  // What the program wrote on standard error: its message boxes.
  std::string Messages() const { return ReadBytes(folder_.File("stderr.txt")); }

  std::string ProgramFile(const std::string& name) const { return program_ + name; }
  TGammaRamp Ramp(int monitor) const;
  // The simulated displays' log of ramps read and loaded.
  std::string DisplaysLog() const { return ReadBytes(sim_ + "log.txt"); }
  // A folder for the files the test hands to the program.
  std::string Folder() const { return folder_.Folder(); }

 private:
  TempFolder folder_;
  std::string program_, sim_;
  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
};

// The ramp of an untouched simulated display: entry = level x 257.
TGammaRamp IdentityRamp();

// Highlights and Shadows move the point when they are shown (to 240 and 12).
constexpr const char* HighlightsPoint = "240";
constexpr const char* ShadowsPoint = "12";
constexpr DWORD PageTimeoutMs = 20000;
// The point selector shows `level`; it is set back to 127 as a user would
// type it, for the renderer's pictures, which show level 127.
void PointBackTo127(TonemarkSession& session, const char* level);
