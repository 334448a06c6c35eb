// The tables of a wlroots desktop's outputs sent through the loader, which
// holds their gamma controls for the user's whole session (over its gamma
// socket, "Orvana.Tonewatch.gamma" in $XDG_RUNTIME_DIR): load mode's ramps
// then stay on screen after it ends. When no loader runs, the loader beside
// this program ("tonewatch /noload": the load is this process's own) is
// started and waited for; so it is when the loader that runs has no gamma
// socket (it found no compositor), after that one has been asked to close.
//
// A calibration session uses the same connection the other way: it asks the
// loader to let go of every output while the connection lasts, and the
// loader takes them back, with the stored curves, once it is gone.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/wayland/gamma_tables.h"


class TLoaderGammaTables : public TGammaTables {
 public:
  // `loaderPath`: the loader to start when none runs.
  explicit TLoaderGammaTables(std::string loaderPath);
  ~TLoaderGammaTables() override;
  TLoaderGammaTables(const TLoaderGammaTables&) = delete;
  TLoaderGammaTables& operator=(const TLoaderGammaTables&) = delete;

  uint32_t TableSize(const std::string& output, std::string& refusal) override;
  bool SetTable(const std::string& output, const std::vector<uint16_t>& entries) override;
  std::vector<uint16_t> Table(const std::string& output) override;

  // Asks the loader to let go of every output for as long as this connection
  // lasts; with `startLoader` one is started when none runs. False when no
  // loader answered.
  bool ReleaseForSession(bool startLoader);

 private:
  bool Connect(bool startLoader);
  // Sends one request (with `file` attached unless -1) and reads its answer
  // (with the file it carries into `received`, when asked for).
  bool Ask(char kind, const std::string& output, int file, int32_t& status, uint32_t& size, int* received = nullptr);

  std::string loaderPath_;
  int socket_ = -1;
  bool unreachable_ = false;
  std::map<std::string, uint32_t> sizes_;  // of the outputs held, as the loader last said
};

// The path of the loader beside this program.
std::string LoaderBesideThisProgram();
