// A monitor's identity: what ties a stored curve to the monitor it was made
// on, wherever and in whatever order the system lists it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ramp/records.h"

// What a back-end knows about the monitor that tells it apart from others.
struct TMonitorFacts {
  std::string Model;         // "DEL40B5": maker and product code, or the desktop's maker and product
  std::string SerialNumber;  // the EDID's serial number as 8 hex digits; empty when it is 0
  std::string SerialText;    // the serial-number descriptor, or the desktop's serial
  std::string NameText;      // the monitor-name descriptor
  std::string Connector;     // where it is plugged in: output, connector or device name
};

// The facts in an EDID (base block first; only its first 128 bytes count),
// with the connector it is seen on. Without a maker ID in it, the connector
// alone.
TMonitorFacts MonitorFactsFromEdid(const std::vector<uint8_t>& edid, const std::string& connector);

// Printable ASCII without blanks, '"', '=', ';', '[', ']' or '%' other than
// as %XX, so it stands unquoted in an ini file and as one argument:
//   <model>+<serial number>+<serial text>+<name text>
// and "+@<connector>" added when the monitor carries no serial at all, so two
// identical monitors without serials are told apart by where they are
// plugged in. A monitor known by nothing but its connector is "@<connector>".
std::string MonitorIdentity(const TMonitorFacts& facts);
inline const std::string& MonitorIdentity(const TDisplay& display) { return display.Identity; }
