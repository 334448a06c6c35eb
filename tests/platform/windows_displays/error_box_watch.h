// Plays the user in front of a modal error box: while the object lives, a
// thread looks for boxes captioned "Error" (in any process of the desktop),
// notes their text and presses OK.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class ErrorBoxWatch {
 public:
  ErrorBoxWatch() : thread_([this] { Watch(); }) {}
  ~ErrorBoxWatch() {
    stop_ = true;
    thread_.join();
  }

  std::vector<std::string> Texts() {
    std::lock_guard<std::mutex> lock(mutex_);
    return texts_;
  }

 private:
  static constexpr int MessageTextId = 0xFFFF;  // the static text of a message box
  static constexpr DWORD PollMs = 50;

  void Watch() {
    while (!stop_) {
      if (HWND box = FindWindowA("#32770", "Error")) {
        char text[1024] = {};
        GetDlgItemTextA(box, MessageTextId, text, sizeof(text));
        {
          std::lock_guard<std::mutex> lock(mutex_);
          texts_.emplace_back(text);
        }
        // Sent, not posted, so the same box is not seen twice.
        SendMessageA(box, WM_COMMAND, IDOK, 0);
      }
      Sleep(PollMs);
    }
  }

  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<std::string> texts_;
  std::thread thread_;
};
