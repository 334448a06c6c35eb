// Where Tonemark's messages reach the user: a message box with an OK button
// and no owner window, or what stands for one where nobody could answer a
// box. Each program's main() under platform/ chooses the way once (message
// boxes, standard error, a desktop notification) and hands it over before
// anything runs; until then messages go to standard error.
#pragma once

#include <iosfwd>
#include <string>

class TMessagesPort {
 public:
  virtual ~TMessagesPort() = default;
  virtual void ShowMessage(const std::string& caption, const std::string& text) = 0;
};

// One line "<caption>: <text>" per message on a stream, never blocking: what
// a run on simulated displays, or without a window system, shows.
class TStreamMessages : public TMessagesPort {
 public:
  explicit TStreamMessages(std::ostream& stream) : stream_(stream) {}
  void ShowMessage(const std::string& caption, const std::string& text) override;

 private:
  std::ostream& stream_;
};

// The caption of the messages that report errors.
inline const char* const ErrorCaption = "Error";

// Keep the port alive as long as anything may show a message.
void SetMessagesPort(TMessagesPort& port);
TMessagesPort& MessagesPort();
