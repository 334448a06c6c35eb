// Where a wlroots output's gamma table goes: straight to the compositor
// through a gamma control of this process, or to the loader, which holds the
// controls for the user's whole session (a table lasts only while its client
// holds the control). Outputs are named by connector ("DP-1"); a table is the
// red, green and blue entries, back to back, at the output's own size.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TGammaTables {
 public:
  virtual ~TGammaTables() = default;
  // Entries per channel of the output's table; 0 when it takes none, and
  // then `refusal` says why.
  virtual uint32_t TableSize(const std::string& output, std::string& refusal) = 0;
  virtual bool SetTable(const std::string& output, const std::vector<uint16_t>& entries) = 0;
  // The table last set on the output; empty when none has been, and the
  // compositor's own table (which no client can read) is on it.
  virtual std::vector<uint16_t> Table(const std::string& output) = 0;
};
