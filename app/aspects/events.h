// Aspect events to the minute: the instants at which an aspect enters its
// orb, becomes exact and leaves its orb, for World transits (every pair of
// the nine bodies) and Personal transits (transiting planets against the
// natal ones of a birthdate), on the same positions, orbs and strict orb
// test (deviation < orb) as the aspect table.
//
// Time scale: UT, as everywhere in the program (no Delta T). Instants are
// astronomical Julian dates, each within 29 seconds of the change it marks
// (the middle of a bracket under 58 seconds wide). A spell in orb shorter
// than about 15 seconds at a turn of the relative motion may be missed.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "app/aspects/engine.h"
#include "app/aspects/orbs.h"

namespace vemo {

enum class EventKind { Enters, Exact, Leaves };

// What the search may assume about the motion of each planet (slots 1..9),
// in heliocentric longitude. The grid of instants and the proof that no
// crossing lies between two of them rest on these bounds, so they must hold
// for the positions served, not only for the ideal orbits.
struct PlanetMotionBounds {
  // Least and greatest motion, degrees per day (a planet whose motion may
  // reverse has a negative least motion).
  std::array<double, kPlanetSlots> minDegreesPerDay{};
  std::array<double, kPlanetSlots> maxDegreesPerDay{};
  // Greatest |second derivative| of the smooth motion, degrees per day per day.
  std::array<double, kPlanetSlots> maxAccelerationDegreesPerDay2{};
  // Planets read from a table of daily values at 0h UT and interpolated
  // linearly between them (Pluto), with the largest error of a table value
  // against the smooth motion (the table's rounding), degrees.
  std::array<bool, kPlanetSlots> dailyTable{};
  std::array<double, kPlanetSlots> tableErrorDegrees{};
};

// The bounds of the program's positions: the speeds of the Keplerian orbits at
// perihelion and aphelion widened by at least 10 %, the accelerations of the
// orbits at least doubled (perturbations, the Moon in Earth's series), both
// checked against the positions served over 1600-2199; Pluto's daily table
// holds whole arcseconds.
PlanetMotionBounds HeliocentricMotionBounds();

// Slots 1..9 set: every planet.
std::array<bool, kPlanetSlots> AllPlanets();

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
  // Planets searched (slots 1..9; in the Personal modes as natal and as
  // transiting planets); a planet above planetCount never is.
  std::array<bool, kPlanetSlots> planets = AllPlanets();
  PlanetMotionBounds motion = HeliocentricMotionBounds();
  // Threads that search stretches of the span at once (1: the calling thread
  // alone); every number gives the same result. HelioLongitude must then be
  // safe to call from several threads (the program's positions are).
  int jobs = 1;
  // When set, called from the calling thread, in order, with the instant up
  // to which the span has been searched (the span is searched in stretches).
  std::function<void(double reachedAJD)> progress;
};

// One time in orb of a pair and kind.
struct AspectWindow {
  // World transits: planet1 < planet2. Personal transits: planet1 natal,
  // planet2 transiting.
  int planet1 = 0;
  int planet2 = 0;
  int kind = 0;
  // Entering and leaving instants (AJD, UT); -1 when not known because the
  // positions end before the crossing (see EventSearchResult::gaps), or
  // because the aspect still holds 1000 years past the span.
  double enters = -1.0;
  double leaves = -1.0;
  std::vector<double> exact;  // every instant of deviation 0 inside the window, in order
  // enters < fromAJD, or unknown because the positions end before the span;
  // false for an entering unknown because the positions begin inside the span.
  bool entersBeforeSpan = false;
  bool leavesAfterSpan = false;   // leaves > toAJD (or unknown past the span)
  double orb = 0.0;               // radians, the orb used
  // Inside the search only: a piece of a window cut where the span was split
  // for threads or progress, to be joined to the next piece. Always false in
  // a result.
  bool joinsBefore = false;
  bool joinsAfter = false;
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
// table): its events stop there. A natal planet without a position at the
// birthdate has a gap of that instant alone (fromAJD = toAJD = birthAJD) and
// no transits.
struct PositionGap {
  int planet = 0;
  double fromAJD = 0.0;
  double toAJD = 0.0;
};

struct EventSearchResult {
  bool ok = false;
  std::string error;                 // a request that cannot be searched
  // Every window that overlaps the span, by entering instant (unknown ones
  // first), then pair and kind.
  std::vector<AspectWindow> windows;
  // Every event inside [fromAJD, toAJD], by time, then pair, kind and
  // Enters / Exact / Leaves.
  std::vector<AspectEvent> events;
  std::vector<PositionGap> gaps;     // within the span and the searches past it
  long long positionsComputed = 0;   // calls of HelioLongitude
};

EventSearchResult FindAspectEvents(const EngineServices& services, const EventSearchRequest& request);

// Takes the result of a search piece by piece, each piece as soon as it is
// final, so that a long span is never held whole (StreamAspectEvents).
class EventReceiver {
 public:
  virtual ~EventReceiver() = default;
  // A window, whole. Those whose entering is known come in the order of
  // EventSearchResult::windows; the others, which that list puts first by
  // pair and kind, come when they are found. `found` numbers the windows in
  // the order they were found: of two windows of one pair and kind whose
  // entering is not known, the list puts the lower number first. `gaps`:
  // the stretches without positions found so far (merged), among them every
  // one that begins before the window ends or ends before it begins.
  // Returns false to stop the search.
  virtual bool Window(const AspectWindow& window, long found, const std::vector<PositionGap>& gaps) = 0;
  // An event, in the order of EventSearchResult::events, with its window
  // whole; event.window is the window's `found` number. False stops.
  virtual bool Event(const AspectEvent& event, const AspectWindow& window) = 0;
};

struct EventStreamResult {
  bool ok = false;
  std::string error;                // a request that cannot be searched
  bool stopped = false;             // the receiver stopped the search
  std::vector<PositionGap> gaps;    // as EventSearchResult::gaps
  long long positionsComputed = 0;
  // The most windows and events held at one time, waiting for their turn
  // (a window that is still open holds back every event after its
  // entering), counted with the stretches searched ahead of their turn.
  long long mostWindowsHeld = 0;
  long long mostEventsHeld = 0;
};

// The search of FindAspectEvents, handed to `receiver` piece by piece: the
// span is searched in stretches of at most 25 years, and each stretch's
// windows and events are passed on as soon as no later stretch can change
// them or come before them. Progress is reported after each stretch; the
// receiver is called from the calling thread only.
EventStreamResult StreamAspectEvents(const EngineServices& services, const EventSearchRequest& request,
                                     EventReceiver& receiver);

// The window of one pair and kind that contains the instant `ajd` (the
// aspect of a table), with its true entering and leaving instants and every
// exact instant; ok is false when the aspect is not in orb at `ajd`. The
// request gives the mode, birthdate, orbs, planetCount and motion bounds; its
// span, kinds and planets are not used. World transits take the two planets
// in either order (the window has the lower number first); Personal
// transits take the natal planet first.
struct WindowAtResult {
  bool ok = false;
  AspectWindow window;
};
WindowAtResult FindWindowAt(const EngineServices& services, const EventSearchRequest& request, int planet1,
                            int planet2, int kind, double ajd);

}  // namespace vemo
