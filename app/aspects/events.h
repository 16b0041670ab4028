// Aspect events to the minute: the instants at which an aspect enters its
// orb, becomes exact and leaves its orb, for World transits (every pair of
// the nine bodies) and Personal transits (transiting planets against the
// natal ones of a birthdate), on the same positions, orbs and strict orb
// test (deviation < orb) as the aspect table.
//
// Time scale: UT, as everywhere in the program (no Delta T). Instants are
// astronomical Julian dates.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "app/aspects/engine.h"
#include "app/aspects/orbs.h"

namespace vemo {

enum class EventKind { Enters, Exact, Leaves };

// What is searched.
struct EventSearchRequest {
  Mode mode = Mode::WorldTransits;  // WorldTransits, Personal1 or Personal2
  double fromAJD = 0.0;             // the span, UT
  double toAJD = 0.0;
  double birthAJD = -1.0;           // the birthdate of the Personal modes
  OrbSettings settings = DefaultOrbSettings();  // the orbs as the table uses them
  // Kinds 1..7 searched (slot 0 unused); a kind whose orb is 0 is never in orb.
  std::array<bool, 8> kinds{false, true, true, true, true, true, true, true};
  int planetCount = 9;  // 8 when Pluto is not available
};

// One time in orb of a pair and kind.
struct AspectWindow {
  // World transits: planet1 < planet2. Personal transits: planet1 natal,
  // planet2 transiting.
  int planet1 = 0;
  int planet2 = 0;
  int kind = 0;
  // Entering and leaving instants (AJD, UT); -1 when not known because the
  // positions end before the crossing (see EventSearchResult::gaps).
  double enters = -1.0;
  double leaves = -1.0;
  std::vector<double> exact;  // every instant of deviation 0 inside the window
  bool entersBeforeSpan = false;  // enters < fromAJD
  bool leavesAfterSpan = false;   // leaves > toAJD (or unknown past the span)
  double orb = 0.0;               // radians, the orb used
};

// One instant of a window inside the span.
struct AspectEvent {
  EventKind event = EventKind::Enters;
  double ajd = 0.0;
  int planet1 = 0;
  int planet2 = 0;
  int kind = 0;
  double deviation = 0.0;  // radians at that instant (orb at entering/leaving, 0 when exact)
  int window = -1;         // index into EventSearchResult::windows
};

// A stretch without positions of a planet (outside its data, no Pluto
// table): its events stop there.
struct PositionGap {
  int planet = 0;
  double fromAJD = 0.0;
  double toAJD = 0.0;
};

struct EventSearchResult {
  bool ok = false;
  std::string error;                 // a request that cannot be searched
  std::vector<AspectWindow> windows; // every window that overlaps the span, by entering instant
  std::vector<AspectEvent> events;   // every event inside [fromAJD, toAJD], by time
  std::vector<PositionGap> gaps;     // within the span and the searches past it
  long long positionsComputed = 0;   // calls of HelioLongitude
};

EventSearchResult FindAspectEvents(const EngineServices& services, const EventSearchRequest& request);

// The window of one pair and kind that contains the instant `ajd` (the
// aspect of a table), with its true entering and leaving instants and every
// exact instant; ok is false when the aspect is not in orb at `ajd`.
struct WindowAtResult {
  bool ok = false;
  AspectWindow window;
};
WindowAtResult FindWindowAt(const EngineServices& services, const EventSearchRequest& request, int planet1,
                            int planet2, int kind, double ajd);

}  // namespace vemo
