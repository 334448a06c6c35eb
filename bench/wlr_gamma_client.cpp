// wlr_gamma_client TABLES [hold]: the least a program can do to show gamma
// tables on a wlroots desktop, the yardstick of wlr_loader_bench.sh: binds
// the outputs and the gamma control manager, takes each output's control,
// sets the table that TABLES gives for it (lines "set NAME ENTRY...", as the
// stand-in compositor writes them), waits for the compositor to have read
// them and ends; with "hold", it then holds the controls until it is killed.
#include <unistd.h>
#include <sys/mman.h>
#include <wayland-client.h>

#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "wlr-gamma-control-unstable-v1-client-protocol.h"

namespace {

struct TOutput {
  wl_output* Output = nullptr;
  std::string Name;
};

struct TClient {
  zwlr_gamma_control_manager_v1* Manager = nullptr;
  std::vector<TOutput*> Outputs;
};

void Name(void* data, wl_output*, const char* name) { static_cast<TOutput*>(data)->Name = name; }
void Geometry(void*, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t, const char*, const char*, int32_t) {}
void Mode(void*, wl_output*, uint32_t, int32_t, int32_t, int32_t) {}
void Done(void*, wl_output*) {}
void Scale(void*, wl_output*, int32_t) {}
void Description(void*, wl_output*, const char*) {}
const wl_output_listener OutputListener = {Geometry, Mode, Done, Scale, Name, Description};

void Global(void* data, wl_registry* registry, uint32_t global, const char* interface, uint32_t version) {
  auto& client = *static_cast<TClient*>(data);
  if (std::strcmp(interface, zwlr_gamma_control_manager_v1_interface.name) == 0)
    client.Manager = static_cast<zwlr_gamma_control_manager_v1*>(
        wl_registry_bind(registry, global, &zwlr_gamma_control_manager_v1_interface, 1));
  if (std::strcmp(interface, wl_output_interface.name) == 0) {
    auto* output = new TOutput;
    output->Output = static_cast<wl_output*>(wl_registry_bind(registry, global, &wl_output_interface, version < 4 ? version : 4));
    wl_output_add_listener(output->Output, &OutputListener, output);
    client.Outputs.push_back(output);
  }
}
void GlobalRemove(void*, wl_registry*, uint32_t) {}
const wl_registry_listener RegistryListener = {Global, GlobalRemove};

void GammaSize(void*, zwlr_gamma_control_v1*, uint32_t) {}
void Failed(void*, zwlr_gamma_control_v1*) {}
const zwlr_gamma_control_v1_listener ControlListener = {GammaSize, Failed};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  std::map<std::string, std::vector<uint16_t>> tables;
  std::ifstream lines(argv[1]);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    std::string set, name;
    words >> set >> name;
    std::vector<uint16_t>& table = tables[name];
    for (unsigned entry; words >> entry;) table.push_back(static_cast<uint16_t>(entry));
  }
  wl_display* display = wl_display_connect(nullptr);
  if (display == nullptr) return 1;
  TClient client;
  wl_registry_add_listener(wl_display_get_registry(display), &RegistryListener, &client);
  wl_display_roundtrip(display);
  wl_display_roundtrip(display);
  if (client.Manager == nullptr) return 1;
  for (TOutput* output : client.Outputs) {
    zwlr_gamma_control_v1* control = zwlr_gamma_control_manager_v1_get_gamma_control(client.Manager, output->Output);
    zwlr_gamma_control_v1_add_listener(control, &ControlListener, nullptr);
    const std::vector<uint16_t>& table = tables[output->Name];
    int file = memfd_create("table", MFD_CLOEXEC);
    if (write(file, table.data(), table.size() * 2) != static_cast<ssize_t>(table.size() * 2)) return 1;
    lseek(file, 0, SEEK_SET);
    zwlr_gamma_control_v1_set_gamma(control, file);
    close(file);
  }
  wl_display_roundtrip(display);
  if (argc > 2 && std::strcmp(argv[2], "hold") == 0) pause();
  wl_display_disconnect(display);
  return 0;
}
