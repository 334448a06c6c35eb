// KWin's output management (kde_output_management_v2 and its
// kde_output_device_v2 globals), through which a program assigns each
// output's colour profile: KWin stores it per monitor and loads its 'vcgt'
// at every log-on. One connection of its own for each object's life.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// KWin's colour profile sources, as the protocol numbers them.
constexpr uint32_t KdeProfileSourceSrgb = 0;
constexpr uint32_t KdeProfileSourceIcc = 1;

struct TKdeOutputProfile {
  std::string Output;  // the connector ("DP-1")
  std::string Path;    // the ICC profile file; empty for none
  // What KWin takes the output's colours from. A compositor that predates
  // the choice uses the profile whenever it has one.
  uint32_t Source = KdeProfileSourceIcc;

  bool operator==(const TKdeOutputProfile&) const = default;
};

// KWin answers "applied" to a profile assigned to an output whose device
// does not announce the ICC capability (a virtual output), stores the path,
// and goes on showing the output without it.

class TKdeOutputManagement {
 public:
  TKdeOutputManagement();
  ~TKdeOutputManagement();
  TKdeOutputManagement(const TKdeOutputManagement&) = delete;
  TKdeOutputManagement& operator=(const TKdeOutputManagement&) = delete;

  // Why no profile can be assigned here (no compositor, no output
  // management, one too old for profiles); empty when one can.
  const std::string& Problem() const { return problem_; }
  // Each output device's profile as KWin last announced it.
  std::vector<TKdeOutputProfile> Profiles() const;
  // False for an output whose device announces that it takes no colour
  // profile; true for any other, whether KWin has it or not.
  bool TakesProfile(const std::string& output) const;
  // Assigns the profiles (and, where KWin has the choice, the source) of the
  // outputs named, in one configuration; then reads them all again. KWin's
  // reason when it refused them; empty when it applied them. An output that
  // KWin no longer has is left out (and is missing from Profiles()).
  std::string Assign(const std::vector<TKdeOutputProfile>& profiles);

  struct TConnection;

 private:
  std::unique_ptr<TConnection> connection_;
  std::string problem_;
};

// True when the session's compositor offers KWin's output management at a
// version that assigns colour profiles.
bool KWinAssignsProfiles();
