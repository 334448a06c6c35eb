#include "tests/platform/wayland/mutter_stand_in.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>

#include "ramp/ramp_resample.h"
#include "tests/profile/profile_reading.h"

namespace {

constexpr char DaemonProgram[] = "/usr/bin/dbus-daemon";
constexpr char DisplayConfigName[] = "org.gnome.Mutter.DisplayConfig";
constexpr char DisplayConfigPath[] = "/org/gnome/Mutter/DisplayConfig";
constexpr char ColorManagerName[] = "org.gnome.Mutter.ColorManager";
constexpr char ColorManagerPath[] = "/org/gnome/Mutter/ColorManager";
constexpr char CalibrationInterface[] = "org.gnome.Mutter.ColorManager.Calibration";
constexpr char SessionPathPrefix[] = "/org/gnome/Mutter/ColorManager/Calibration/u";
constexpr char StaleError[] = "org.freedesktop.DBus.Error.AccessDenied";
constexpr char InvalidArgsError[] = "org.freedesktop.DBus.Error.InvalidArgs";
constexpr char FailedError[] = "org.freedesktop.DBus.Error.Failed";
constexpr char SwitchedOffConnector[] = "HDMI-9";
constexpr uint64_t WaitMicroseconds = 20000;
constexpr char NightLightName[] = "org.gnome.SettingsDaemon.Color";
constexpr char NightLightPath[] = "/org/gnome/SettingsDaemon/Color";

MutterStandIn& Self(void* data) { return *static_cast<MutterStandIn*>(data); }

int GetResources(sd_bus_message* m, void* data, sd_bus_error* e) { return Self(data).Answer("GetResources", m, e, nullptr); }
int GetCurrentState(sd_bus_message* m, void* data, sd_bus_error* e) {
  return Self(data).Answer("GetCurrentState", m, e, nullptr);
}
int GetCrtcGamma(sd_bus_message* m, void* data, sd_bus_error* e) { return Self(data).Answer("GetCrtcGamma", m, e, nullptr); }
int SetCrtcGamma(sd_bus_message* m, void* data, sd_bus_error* e) { return Self(data).Answer("SetCrtcGamma", m, e, nullptr); }
int CalibrateMonitor(sd_bus_message* m, void* data, sd_bus_error* e) {
  return Self(data).Answer("CalibrateMonitor", m, e, nullptr);
}
int SessionCall(const char* method, sd_bus_message* m, void* data, sd_bus_error* e) {
  auto* session = static_cast<MutterStandIn::TSession*>(data);
  return session->Self->Answer(method, m, e, session);
}
int SetCrtcGammaLut(sd_bus_message* m, void* data, sd_bus_error* e) { return SessionCall("SetCrtcGammaLut", m, data, e); }
int Stop(sd_bus_message* m, void* data, sd_bus_error* e) { return SessionCall("Stop", m, data, e); }
int GammaLutSize(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void* data, sd_bus_error*) {
  auto* session = static_cast<MutterStandIn::TSession*>(data);
  return sd_bus_message_append(reply, "u", static_cast<uint32_t>(session->Self->Monitors()[session->Crtc].GammaSize));
}
int NameOwnerChanged(sd_bus_message* m, void* data, sd_bus_error*) {
  const char *name = nullptr, *before = nullptr, *after = nullptr;
  if (sd_bus_message_read(m, "sss", &name, &before, &after) > 0 && after[0] == '\0') Self(data).CallerLeft(name);
  return 0;
}

const sd_bus_vtable DisplayConfigTable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD("GetResources", "", "ua(uxiiiiiuaua{sv})a(uxiausauaua{sv})a(uxuudu)ii", GetResources,
                  SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("GetCurrentState", "", "ua((ssss)a(siiddada{sv})a{sv})a(iiduba(ssss)a{sv})a{sv}", GetCurrentState,
                  SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("GetCrtcGamma", "uu", "aqaqaq", GetCrtcGamma, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("SetCrtcGamma", "uuaqaqaq", "", SetCrtcGamma, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_VTABLE_END,
};

const sd_bus_vtable ColorManagerTable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD("CalibrateMonitor", "s", "o", CalibrateMonitor, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_VTABLE_END,
};

int NightLightActive(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*, sd_bus_error*) {
  return sd_bus_message_append(reply, "b", 1);
}

const sd_bus_vtable NightLightTable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_PROPERTY("NightLightActive", "b", NightLightActive, 0, 0),
    SD_BUS_VTABLE_END,
};

const sd_bus_vtable SessionTable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD("SetCrtcGammaLut", "aqaqaq", "", SetCrtcGammaLut, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("Stop", "", "", Stop, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_PROPERTY("GammaLutSize", "u", GammaLutSize, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_VTABLE_END,
};

std::vector<uint16_t> Identity(int size) {
  std::vector<uint16_t> entries;
  for (int channel = 0; channel < 3; ++channel)
    for (int i = 0; i < size; ++i) entries.push_back(static_cast<uint16_t>(size > 1 ? i * 65535 / (size - 1) : 0));
  return entries;
}

bool ReadLut(sd_bus_message* m, std::vector<uint16_t>& entries) {
  entries.clear();
  size_t count = 0;
  for (int channel = 0; channel < 3; ++channel) {
    const void* data = nullptr;
    size_t bytes = 0;
    if (sd_bus_message_read_array(m, 'q', &data, &bytes) < 0) return false;
    if (channel > 0 && bytes / 2 != count) return false;
    count = bytes / 2;
    entries.insert(entries.end(), static_cast<const uint16_t*>(data), static_cast<const uint16_t*>(data) + count);
  }
  return true;
}

sd_bus* Connect(const std::string& address) {
  sd_bus* bus = nullptr;
  if (sd_bus_new(&bus) < 0) return nullptr;
  if (sd_bus_set_address(bus, address.c_str()) < 0 || sd_bus_set_bus_client(bus, 1) < 0 || sd_bus_start(bus) < 0) {
    sd_bus_unref(bus);
    return nullptr;
  }
  return bus;
}

}  // namespace

MutterStandIn::MutterStandIn(std::vector<TStandInMonitor> monitors, bool colorManager)
    : monitors_(std::move(monitors)), colorManager_(colorManager) {
  for (const TStandInMonitor& monitor : monitors_) luts_.push_back(Identity(monitor.GammaSize));
  // A session bus that starts nothing on demand: services installed on the
  // machine (a desktop's notification daemon) would outlive the test.
  std::ofstream(folder_.File("bus.conf"))
      << "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
         " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
         "<busconfig><type>session</type><listen>"
      << Address()
      << "</listen><auth>EXTERNAL</auth><policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
         "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n";
  std::string configOption = "--config-file=" + folder_.File("bus.conf");
  char* argv[] = {const_cast<char*>(DaemonProgram), configOption.data(), const_cast<char*>("--nofork"),
                  const_cast<char*>("--nopidfile"), nullptr};
  char* envp[] = {const_cast<char*>("PATH=/usr/bin:/bin"), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, folder_.File("daemon.log").c_str(),
                                   O_WRONLY | O_CREAT | O_APPEND, 0600);
  // The daemon ends at SIGTERM, whatever its starter blocks.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
  if (posix_spawn(&daemon_, DaemonProgram, &actions, &attributes, argv, envp) != 0) daemon_ = -1;
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  if (daemon_ <= 0) return;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  sd_bus* bus = nullptr;
  while (bus == nullptr && std::chrono::steady_clock::now() < deadline) {
    bus = Connect(Address());
    if (bus == nullptr) usleep(20000);
  }
  if (bus == nullptr) return;
  bool ok = sd_bus_add_object_vtable(bus, nullptr, DisplayConfigPath, DisplayConfigName, DisplayConfigTable, this) >= 0 &&
            sd_bus_request_name(bus, DisplayConfigName, 0) >= 0 &&
            sd_bus_match_signal(bus, nullptr, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                                "NameOwnerChanged", NameOwnerChanged, this) >= 0;
  if (ok && colorManager_)
    ok = sd_bus_add_object_vtable(bus, nullptr, ColorManagerPath, ColorManagerName, ColorManagerTable, this) >= 0 &&
         sd_bus_request_name(bus, ColorManagerName, 0) >= 0;
  if (!ok) {
    sd_bus_close_unref(bus);
    return;
  }
  bus_ = bus;
  server_ = std::thread([this] { Serve(); });
}

MutterStandIn::~MutterStandIn() {
  stop_ = true;
  if (server_.joinable()) server_.join();
  for (auto* list : {&sessions_, &sessions_ended_later_})
    for (TSession* session : *list) {
      sd_bus_slot_unref(session->Slot);
      delete session;
    }
  if (bus_ != nullptr) sd_bus_close_unref(bus_);
  if (daemon_ > 0) {
    kill(daemon_, SIGTERM);
    waitpid(daemon_, nullptr, 0);
  }
}

void MutterStandIn::Serve() {
  while (!stop_) {
    int processed = 0;
    {
      std::lock_guard lock(mutex_);
      processed = sd_bus_process(bus_, nullptr);
      for (TSession* ended : sessions_ended_later_) ended->Slot = sd_bus_slot_unref(ended->Slot);
    }
    if (processed <= 0) sd_bus_wait(bus_, WaitMicroseconds);
  }
}

int MutterStandIn::Answer(const std::string& method, void* message, void* failure, TSession* session) {
  std::lock_guard lock(mutex_);
  auto* call = static_cast<sd_bus_message*>(message);
  auto* error = static_cast<sd_bus_error*>(failure);
  if (method == "GetResources") {
    calls_.push_back(method);
    sd_bus_message* reply = nullptr;
    sd_bus_message_new_method_return(call, &reply);
    sd_bus_message_append(reply, "u", serial_);
    // Virtual monitors have neither CRTC nor output here; one more CRTC drives nothing.
    sd_bus_message_open_container(reply, 'a', "(uxiiiiiuaua{sv})");
    for (size_t i = 0; i <= monitors_.size(); ++i) {
      const TStandInMonitor m = i < monitors_.size() ? monitors_[i] : TStandInMonitor{};
      if (i < monitors_.size() && m.Virtual) continue;
      sd_bus_message_append(reply, "(uxiiiiiuaua{sv})", static_cast<uint32_t>(i), static_cast<int64_t>(100 + i), m.X,
                            m.Y, m.Width, m.Height, i < monitors_.size() ? 0 : -1, 0u, 0, 0);
    }
    sd_bus_message_close_container(reply);
    sd_bus_message_open_container(reply, 'a', "(uxiausauaua{sv})");
    for (size_t i = 0; i <= monitors_.size(); ++i) {
      const bool on = i < monitors_.size();
      TStandInMonitor m = on ? monitors_[i] : TStandInMonitor{};
      if (on && m.Virtual) continue;
      if (!on) m.Connector = SwitchedOffConnector;
      sd_bus_message_open_container(reply, 'r', "uxiausauaua{sv}");
      sd_bus_message_append(reply, "uxiaus", static_cast<uint32_t>(i), static_cast<int64_t>(200 + i),
                            on ? static_cast<int32_t>(i) : -1, 1, static_cast<uint32_t>(i), m.Connector.c_str());
      sd_bus_message_append(reply, "auau", 0, 0);
      sd_bus_message_open_container(reply, 'a', "{sv}");
      if (!m.Vendor.empty()) sd_bus_message_append(reply, "{sv}", "vendor", "s", m.Vendor.c_str());
      if (!m.Product.empty()) sd_bus_message_append(reply, "{sv}", "product", "s", m.Product.c_str());
      if (!m.Serial.empty()) sd_bus_message_append(reply, "{sv}", "serial", "s", m.Serial.c_str());
      sd_bus_message_append(reply, "{sv}", "backlight", "i", -1);
      sd_bus_message_append(reply, "{sv}", "primary", "b", i == 1);
      if (on && m.TileGroup != 0) {
        // group, flags, tiles across and down, this tile's place, its size
        uint32_t across = 0, place = 0;
        for (size_t t = 0; t < monitors_.size(); ++t) {
          if (monitors_[t].TileGroup != m.TileGroup) continue;
          ++across;
          if (t < i) ++place;
        }
        sd_bus_message_append(reply, "{sv}", "tile", "(uuuuuuuu)", m.TileGroup, 1u, across, 1u, place, 0u,
                              static_cast<uint32_t>(m.Width), static_cast<uint32_t>(m.Height));
      }
      sd_bus_message_close_container(reply);
      sd_bus_message_close_container(reply);
    }
    sd_bus_message_close_container(reply);
    sd_bus_message_append(reply, "a(uxuudu)ii", 0, 8192, 8192);
    const int sent = sd_bus_send(nullptr, reply, nullptr);
    sd_bus_message_unref(reply);
    return sent;
  }
  if (method == "GetCurrentState") {
    calls_.push_back(method);
    sd_bus_message* reply = nullptr;
    sd_bus_message_new_method_return(call, &reply);
    sd_bus_message_append(reply, "u", serial_);
    // Every connected monitor, the switched-off one too, which no logical monitor shows.
    sd_bus_message_open_container(reply, 'a', "((ssss)a(siiddada{sv})a{sv})");
    for (size_t i = 0; i <= monitors_.size(); ++i) {
      const bool on = i < monitors_.size();
      if (on && IsFurtherTile(i)) continue;
      TStandInMonitor m = on ? monitors_[i] : TStandInMonitor{};
      if (!on) m.Connector = SwitchedOffConnector;
      const std::string mode = std::to_string(m.Width) + "x" + std::to_string(m.Height) + "@60.000";
      sd_bus_message_open_container(reply, 'r', "(ssss)a(siiddada{sv})a{sv}");
      sd_bus_message_append(reply, "(ssss)", m.Connector.c_str(), m.Vendor.c_str(), m.Product.c_str(),
                            m.Serial.c_str());
      sd_bus_message_open_container(reply, 'a', "(siiddada{sv})");
      sd_bus_message_append(reply, "(siiddada{sv})", "640x480@60.000", 640, 480, 60.0, 1.0, 1, 1.0, 1, "is-current",
                            "b", 0);
      sd_bus_message_append(reply, "(siiddada{sv})", mode.c_str(), m.Width, m.Height, 60.0, 1.0, 2, 1.0, 2.0, 2,
                            "is-current", "b", on, "is-preferred", "b", 1);
      sd_bus_message_close_container(reply);
      sd_bus_message_append(reply, "a{sv}", 2, "is-builtin", "b", 0, "display-name", "s", m.Vendor.c_str());
      sd_bus_message_close_container(reply);
    }
    sd_bus_message_close_container(reply);
    sd_bus_message_open_container(reply, 'a', "(iiduba(ssss)a{sv})");
    for (size_t i = 0; i < monitors_.size(); ++i) {
      if (IsFurtherTile(i)) continue;
      const TStandInMonitor& m = monitors_[i];
      sd_bus_message_append(reply, "(iiduba(ssss)a{sv})", m.X, m.Y, 1.0, 0u, i == 1, 1, m.Connector.c_str(),
                            m.Vendor.c_str(), m.Product.c_str(), m.Serial.c_str(), 0);
    }
    sd_bus_message_close_container(reply);
    sd_bus_message_append(reply, "a{sv}", 1, "layout-mode", "u", 2u);
    const int sent = sd_bus_send(nullptr, reply, nullptr);
    sd_bus_message_unref(reply);
    for (auto& [crtc, monitor] : replaceAfterState_) ReplaceMonitor(crtc, std::move(monitor));
    replaceAfterState_.clear();
    return sent;
  }
  if (method == "GetCrtcGamma" || method == "SetCrtcGamma") {
    uint32_t serial = 0, crtc = 0;
    sd_bus_message_read(call, "uu", &serial, &crtc);
    std::vector<uint16_t> entries;
    if (method == "SetCrtcGamma") ReadLut(call, entries);
    calls_.push_back(method + " " + std::to_string(serial) + " " + std::to_string(crtc) +
                     (method == "SetCrtcGamma" ? " " + std::to_string(entries.size() / 3) : ""));
    if (serial != serial_) return sd_bus_error_set(error, StaleError, "The requested configuration is based on stale information");
    if (crtc >= monitors_.size() || monitors_[crtc].Virtual)
      return sd_bus_error_set(error, InvalidArgsError, "Invalid crtc id");
    if (method == "SetCrtcGamma") {
      if (entries.size() != luts_[crtc].size()) return sd_bus_error_set(error, InvalidArgsError, "Wrong gamma size");
      luts_[crtc] = entries;
      return sd_bus_reply_method_return(call, "");
    }
    const size_t size = monitors_[crtc].GammaSize;
    sd_bus_message* reply = nullptr;
    sd_bus_message_new_method_return(call, &reply);
    for (int channel = 0; channel < 3; ++channel)
      sd_bus_message_append_array(reply, 'q', luts_[crtc].data() + channel * size, size * 2);
    const int sent = sd_bus_send(nullptr, reply, nullptr);
    sd_bus_message_unref(reply);
    return sent;
  }
  if (method == "CalibrateMonitor") {
    const char* connector = nullptr;
    sd_bus_message_read(call, "s", &connector);
    calls_.push_back(method + " " + connector);
    const auto found = std::find_if(monitors_.begin(), monitors_.end(),
                                    [&](const TStandInMonitor& m) { return m.Connector == connector; });
    if (found == monitors_.end()) return sd_bus_error_setf(error, InvalidArgsError, "Unknown monitor connector '%s'", connector);
    const size_t crtc = found - monitors_.begin();
    if (found->GammaSize == 0) return sd_bus_error_set(error, FailedError, "Device cannot be calibrated");
    for (const TSession* open : sessions_)
      if (open->Crtc == crtc) return sd_bus_error_set(error, FailedError, "Device is already being calibrated");
    auto* opened = new TSession{this, crtc, sd_bus_message_get_sender(call),
                                SessionPathPrefix + std::to_string(++sessionNumber_), luts_[crtc], nullptr};
    sd_bus_add_object_vtable(bus_, &opened->Slot, opened->Path.c_str(), CalibrationInterface, SessionTable, opened);
    sessions_.push_back(opened);
    return sd_bus_reply_method_return(call, "o", opened->Path.c_str());
  }
  if (method == "SetCrtcGammaLut") {
    std::vector<uint16_t> entries;
    ReadLut(call, entries);
    calls_.push_back(method + " " + monitors_[session->Crtc].Connector + " " + std::to_string(entries.size() / 3));
    if (entries.size() != luts_[session->Crtc].size()) return sd_bus_error_set(error, InvalidArgsError, "Wrong gamma size");
    luts_[session->Crtc] = entries;
    return sd_bus_reply_method_return(call, "");
  }
  if (method == "Stop") {
    const int replied = sd_bus_reply_method_return(call, "");
    for (size_t i = 0; i < sessions_.size(); ++i)
      if (sessions_[i] == session) EndSession(i, "Stop");
    return replied;
  }
  return 0;
}

void MutterStandIn::EndSession(size_t index, const char* how) {
  TSession* session = sessions_[index];
  luts_[session->Crtc] = session->GivenBack;
  calls_.push_back(std::string(how) + " " + monitors_[session->Crtc].Connector);
  sessions_.erase(sessions_.begin() + index);
  // Taken off the bus once the call under way is done (Serve).
  sessions_ended_later_.push_back(session);
}

void MutterStandIn::CallerLeft(const std::string& name) {
  std::lock_guard lock(mutex_);
  for (size_t i = sessions_.size(); i-- > 0;)
    if (sessions_[i]->Owner == name) EndSession(i, "Ended");
}

std::vector<std::string> MutterStandIn::Calls() {
  std::lock_guard lock(mutex_);
  return calls_;
}

void MutterStandIn::ClearCalls() {
  std::lock_guard lock(mutex_);
  calls_.clear();
}

std::vector<uint16_t> MutterStandIn::Lut(size_t crtc) {
  std::lock_guard lock(mutex_);
  return luts_[crtc];
}

void MutterStandIn::SetLut(size_t crtc, std::vector<uint16_t> entries) {
  std::lock_guard lock(mutex_);
  luts_[crtc] = std::move(entries);
}

void MutterStandIn::ChangeConfiguration() {
  std::lock_guard lock(mutex_);
  ++serial_;
}

void MutterStandIn::ReplaceMonitor(size_t crtc, TStandInMonitor monitor) {
  std::lock_guard lock(mutex_);
  luts_[crtc] = Identity(monitor.GammaSize);
  monitors_[crtc] = std::move(monitor);
  ++serial_;
}

void MutterStandIn::ReplaceMonitorAfterNextState(size_t crtc, TStandInMonitor monitor) {
  std::lock_guard lock(mutex_);
  replaceAfterState_.emplace_back(crtc, std::move(monitor));
}

bool MutterStandIn::IsFurtherTile(size_t crtc) const {
  const uint32_t group = monitors_[crtc].TileGroup;
  for (size_t i = 0; i < crtc; ++i)
    if (group != 0 && monitors_[i].TileGroup == group) return true;
  return false;
}

void MutterStandIn::ApplyProfile(size_t crtc, const std::string& profileBytes) {
  std::lock_guard lock(mutex_);
  const int size = monitors_[crtc].GammaSize;
  std::vector<uint16_t> entries = Identity(size);
  if (!profileBytes.empty()) {
    OpenedProfile profile = OpenProfile(profileBytes);
    entries = RampToCardEntries(VcgtThroughLcms(profile.get()), size);
  }
  if (warm_)
    for (int i = 0; i < size; ++i) entries[2 * size + i] = static_cast<uint16_t>(entries[2 * size + i] * 3 / 4);
  for (TSession* session : sessions_)
    if (session->Crtc == crtc) {
      session->GivenBack = entries;
      return;
    }
  luts_[crtc] = entries;
}

void MutterStandIn::WarmLikeNightLight(bool told) {
  std::lock_guard lock(mutex_);
  warm_ = true;
  if (told && bus_ != nullptr) {
    sd_bus_add_object_vtable(bus_, nullptr, NightLightPath, NightLightName, NightLightTable, this);
    sd_bus_request_name(bus_, NightLightName, 0);
  }
}

bool MutterStandIn::WaitForSessions(size_t count, double seconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (std::chrono::steady_clock::now() < deadline) {
    {
      std::lock_guard lock(mutex_);
      if (sessions_.size() == count) return true;
    }
    usleep(10000);
  }
  return false;
}
