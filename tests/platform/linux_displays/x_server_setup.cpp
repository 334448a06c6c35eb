#include "tests/platform/linux_displays/x_server_setup.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <stdexcept>

namespace {

struct FirstOutput {
  FirstOutput() {
    display = XOpenDisplay(nullptr);
    if (display == nullptr) throw std::runtime_error("no X display");
    resources = XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display));
    if (resources == nullptr || resources->noutput == 0) throw std::runtime_error("no output");
    output = resources->outputs[0];
  }
  ~FirstOutput() {
    XRRFreeScreenResources(resources);
    XCloseDisplay(display);
  }
  Display* display;
  XRRScreenResources* resources;
  RROutput output;
};

}  // namespace

void SetFirstOutputEdid(const std::vector<uint8_t>& edid) {
  FirstOutput first;
  const Atom property = XInternAtom(first.display, RR_PROPERTY_RANDR_EDID, False);
  XRRChangeOutputProperty(first.display, first.output, property, XA_INTEGER, 8, PropModeReplace,
                          edid.data(), static_cast<int>(edid.size()));
  XSync(first.display, False);
}

void DeleteFirstOutputEdid() {
  FirstOutput first;
  const Atom property = XInternAtom(first.display, RR_PROPERTY_RANDR_EDID, False);
  XRRDeleteOutputProperty(first.display, first.output, property);
  XSync(first.display, False);
}

std::string FirstOutputName() {
  FirstOutput first;
  XRROutputInfo* info = XRRGetOutputInfo(first.display, first.resources, first.output);
  std::string name(info->name, info->nameLen);
  XRRFreeOutputInfo(info);
  return name;
}
