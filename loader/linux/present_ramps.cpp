#include "loader/linux/present_ramps.h"

#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>
#include <xcb/randr.h>
#include <xcb/xcb.h>

#include "loader/linux/display_watch.h"
#include "loader/watch_rules.h"

namespace {

constexpr char SimVariable[] = "TONEMARK_SIM";
constexpr char SimDevicePrefix[] = "sim:";
constexpr char X11Backend[] = "x11";
constexpr char SimBackend[] = "sim";
constexpr uint16_t LinearStep = 257;  // level * 257 spans 0..65535
constexpr size_t RampFileSize = RampEntries * 8;

void LinearRamp(uint16_t* ramp) {
  for (int i = 0; i < RampEntries; ++i) ramp[i] = static_cast<uint16_t>(i % RampLevels * LinearStep);
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// 768 values of 0..65535 separated by white space, nothing else.
bool ParseRampFile(const char* text, size_t length, uint16_t* ramp) {
  int count = 0;
  size_t i = 0;
  for (;;) {
    while (i < length && IsSpace(text[i])) ++i;
    if (i == length) return count == RampEntries;
    if (count == RampEntries || text[i] < '0' || text[i] > '9') return false;
    int32_t value = 0;
    for (; i < length && text[i] >= '0' && text[i] <= '9'; ++i) {
      value = value * 10 + (text[i] - '0');
      if (value > UINT16_MAX) return false;
    }
    ramp[count++] = static_cast<uint16_t>(value);
  }
}

bool ReadSimRamp(const char* device, uint16_t* ramp) {
  const char* sim = getenv(SimVariable);
  if (sim == nullptr || strncmp(device, SimDevicePrefix, sizeof SimDevicePrefix - 1) != 0) return false;
  char path[PATH_MAX];
  const char* number = device + sizeof SimDevicePrefix - 1;
  const size_t folder = strlen(sim);
  const bool slash = folder > 0 && sim[folder - 1] == '/';
  int length = snprintf(path, sizeof path, "%s%sramp%s.txt", sim, slash ? "" : "/", number);
  if (length < 0 || static_cast<size_t>(length) >= sizeof path) return false;
  const int file = open(path, O_RDONLY | O_CLOEXEC);
  if (file < 0) {
    LinearRamp(ramp);  // a display nobody has set a ramp on
    return true;
  }
  char text[RampFileSize];
  size_t used = 0;
  for (ssize_t count; used < sizeof text && (count = read(file, text + used, sizeof text - used)) > 0;) {
    used += static_cast<size_t>(count);
  }
  close(file);
  return used < sizeof text && ParseRampFile(text, used, ramp);
}

uint32_t FindCrtc(xcb_connection_t* connection, xcb_window_t root, const char* name) {
  xcb_randr_get_screen_resources_current_reply_t* resources = xcb_randr_get_screen_resources_current_reply(
      connection, xcb_randr_get_screen_resources_current(connection, root), nullptr);
  if (resources == nullptr) return 0;
  uint32_t crtc = 0;
  const xcb_randr_output_t* outputs = xcb_randr_get_screen_resources_current_outputs(resources);
  const int count = xcb_randr_get_screen_resources_current_outputs_length(resources);
  for (int i = 0; i < count && crtc == 0; ++i) {
    xcb_randr_get_output_info_reply_t* info = xcb_randr_get_output_info_reply(
        connection, xcb_randr_get_output_info(connection, outputs[i], resources->config_timestamp), nullptr);
    if (info == nullptr) continue;
    const int length = xcb_randr_get_output_info_name_length(info);
    if (static_cast<size_t>(length) == strlen(name) &&
        memcmp(xcb_randr_get_output_info_name(info), name, static_cast<size_t>(length)) == 0) {
      crtc = info->crtc;
    }
    free(info);
  }
  free(resources);
  return crtc;
}

bool ReadCrtcRamp(xcb_connection_t* connection, uint32_t crtc, uint16_t* ramp) {
  xcb_randr_get_crtc_gamma_reply_t* gamma =
      xcb_randr_get_crtc_gamma_reply(connection, xcb_randr_get_crtc_gamma(connection, crtc), nullptr);
  if (gamma == nullptr) return false;
  const int size = gamma->size;
  const bool read = size > 1 && xcb_randr_get_crtc_gamma_red_length(gamma) == size;
  if (read) {
    ResampleChannel(xcb_randr_get_crtc_gamma_red(gamma), size, ramp);
    ResampleChannel(xcb_randr_get_crtc_gamma_green(gamma), size, ramp + RampLevels);
    ResampleChannel(xcb_randr_get_crtc_gamma_blue(gamma), size, ramp + 2 * RampLevels);
  }
  free(gamma);
  return read;
}

bool ReadX11Ramp(TPresentRamps& ramps, int index, const char* name, uint16_t* ramp) {
  xcb_connection_t* connection = ramps.Display != nullptr ? ramps.Display->Connection : nullptr;
  if (connection == nullptr || xcb_connection_has_error(connection)) return false;
  // A CRTC found before may since drive another output or none: look again once.
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (ramps.Crtc[index] == 0) ramps.Crtc[index] = FindCrtc(connection, ramps.Display->Root, name);
    if (ramps.Crtc[index] != 0 && ReadCrtcRamp(connection, ramps.Crtc[index], ramp)) return true;
    ramps.Crtc[index] = 0;
  }
  return false;
}

}  // namespace

void OpenPresentRamps(TPresentRamps& ramps, const TDisplayWatch& display) { ramps.Display = &display; }

void ForgetCrtcs(TPresentRamps& ramps) { memset(ramps.Crtc, 0, sizeof ramps.Crtc); }

bool ReadPresentRamp(TPresentRamps& ramps, int index, const TShownDisplay& display, uint16_t* ramp) {
  if (strcmp(display.Backend, SimBackend) == 0) return ReadSimRamp(display.Device, ramp);
  if (strcmp(display.Backend, X11Backend) == 0) return ReadX11Ramp(ramps, index, display.Device, ramp);
  return false;
}

void ClosePresentRamps(TPresentRamps& ramps) {
  ramps.Display = nullptr;
  ForgetCrtcs(ramps);
}
