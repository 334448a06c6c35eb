// Whether a calibration session of this user is open, on any desktop: its
// program holds an flock on "Orvana.Tonemark.lock" in the runtime folder for
// as long as the session lasts. A load run then would put the stored curve
// under the session's preview (and, where the desktop keeps the calibration,
// over what the session set aside), so the loader holds its runs back.
#pragma once

bool EditingSessionOpen();
