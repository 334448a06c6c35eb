// A connection to a wlroots compositor: its outputs (wl_output version 4:
// connector name, description, make, model, position, mode) and a gamma
// control (zwlr_gamma_control_manager_v1) for each output that this process
// takes. The compositor gives an output its own table back as soon as the
// control is destroyed or the connection closes.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/wayland/gamma_tables.h"
#include "platform/wayland/output_displays.h"

struct wl_display;
struct wl_proxy;
struct TWaylandLibrary;

enum class TControlState { NotAsked, Asked, Held, Refused, TakenAway, OutputGone };

struct TWlrOutput {
  uint32_t Global = 0;
  wl_proxy* Output = nullptr;
  wl_proxy* Control = nullptr;
  TWaylandOutput Info;
  std::string Make, Model;
  TControlState State = TControlState::NotAsked;
  uint32_t GammaSize = 0;
  std::vector<uint16_t> Table;  // the table last set while held
};


// The table in a sealed memory file, at offset 0, as set_gamma reads it; -1
// when it cannot be made.
int GammaTableFile(const std::vector<uint16_t>& entries);

class TWlrGammaControls : public TGammaTables {
 public:
  TWlrGammaControls() = default;
  ~TWlrGammaControls() override;
  TWlrGammaControls(const TWlrGammaControls&) = delete;
  TWlrGammaControls& operator=(const TWlrGammaControls&) = delete;

  // Connects once and brings the outputs up to date; when the compositor
  // cannot be reached, the key of the sentence saying why.
  std::string Refresh();
  bool OffersGammaControl() const { return manager_ != nullptr; }
  // The outputs present, in the order the compositor announced them.
  std::vector<const TWlrOutput*> Present() const;

  uint32_t TableSize(const std::string& output, std::string& refusal) override;
  bool SetTable(const std::string& output, const std::vector<uint16_t>& entries) override;
  std::vector<uint16_t> Table(const std::string& output) override;
  // Destroys every control: the compositor puts its own tables back.
  void ReleaseAll();

  // For the listeners.
  void AddOutput(uint32_t global, uint32_t version);
  void RemoveOutput(uint32_t global);
  void BindManager(uint32_t global, uint32_t version);

 private:
  TWlrOutput* Named(const std::string& name);
  // Asks for the output's control once, and hears the answer.
  void Take(TWlrOutput& output);
  void DestroyControl(TWlrOutput& output);
  void DestroyOutput(TWlrOutput& output);

  const TWaylandLibrary* wl_ = nullptr;
  wl_display* display_ = nullptr;
  wl_proxy* registry_ = nullptr;
  wl_proxy* manager_ = nullptr;
  std::vector<std::unique_ptr<TWlrOutput>> outputs_;  // the gone ones stay, so that pointers hold
};
