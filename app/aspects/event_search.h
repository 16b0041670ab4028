// The inside of the aspect-event search, shared by its files (not part of
// the interface; events.h is).
//
// Every pair is followed through its signed difference of longitude
// D = L2 - L1 (radians), unwrapped from one instant to the next. A kind of
// angle A has one target (0 or pi) or two (A and 2pi - A), and around each
// target a band of the kind's orb: the aspect holds while D lies strictly
// inside a band, the table's own test |separation - A| < orb. Entering,
// becoming exact and leaving are the instants at which D crosses a band's
// edges or its target (the levels).
//
// The search's work is spread over five files: events.cpp (the bounds of
// motion, setting up a search, the two entry points), event_grid.cpp (the
// shared grid of instants and the sampling of it), event_crossings.cpp (the
// monotony test and the crossings between samples), event_fits.cpp (the
// outer planets between grid instants), event_windows.cpp (the windows in
// orb, their ends past the span, and the gaps); event_refine.h holds the root
// finding on the minute.
#pragma once

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "app/aspects/events.h"

namespace vemo::event_search {

inline constexpr double kUnknown = -1.0;
// Width under which a crossing's bracket is closed: 58 s, so the middle of
// the bracket is within 29 s of the crossing.
inline constexpr double kBracketDays = 58.0 / 86400.0;
// Sample taken just before a .dac record boundary (0.86 s), so that the step
// between two records falls between two samples of its own.
inline constexpr double kRecordLeadDays = 1.0e-5;
// Shortest interval halved near a turn of the relative motion: a spell in
// orb shorter than this may be missed or reported as one instant.
inline constexpr double kFinestStepDays = 15.0 / 86400.0;
// Longest grid step. Longer steps would cost fewer grid positions for slow
// planets, but Brent's method then needs more positions per crossing.
inline constexpr double kMaxGridStepDays = 128.0;
// Searches for the entering or leaving instant past the span look this far
// first and double the distance each time.
inline constexpr double kFirstReachDays = 16.0;
// Beyond this the instant counts as unknown (only planets that stand still
// in a test sky stay in orb this long).
inline constexpr double kMaxReachDays = 1000.0 * 365.25;
// The change of D a grid step allows, radians (about 17 degrees): where the
// fastest pair (Mercury's) has a sample every two days or so. Coarser grids
// cost fewer grid positions but guess crossings worse, and each minute off
// costs two positions more; at 2000-2010 this spends about 5.3 positions on
// an event, against 7.8 with steps of a quarter turn.
inline constexpr double kGridAngle = 0.3;
// Bisection steps for the edge of a planet's data range.
inline constexpr int kMaxEdgeSteps = 80;
// Positions that fit a planet over one .dac record (event_fits.cpp), and how
// far, radians, a fitted longitude and the D and g computed from it may lie
// from those of the library's own position: a side decided by a fitted g
// within this of 0 is decided again on positions.
inline constexpr int kFitNodes = 7;
// Requests of a planet in one record before it is fitted: a stretch that asks
// for only a few (a window followed far past the span) would spend more on
// the fit's nine positions than it saves.
inline constexpr int kFitAfterRequests = 16;
inline constexpr double kFitError = 1.0e-10;

// x reduced into [-half, half] of the program's circle: exactly
// std::remainder(x, kFullCircle), which the search calls millions of times
// and glibc computes slowly. The IEEE remainder x - n c is always
// representable, so one fused multiply-add gives it exactly once n is
// right; n from the rounded quotient is corrected where the quotient fell
// on the other side of a half, a tie takes the even n and a zero the sign of
// x, as remainder does.
// Sorts gaps by planet and start and merges those that meet (within a
// bracket): one gap per stretch without positions.
void MergeGaps(std::vector<PositionGap>& gaps);

// The search of the request's span in stretches, on request.jobs threads,
// with request.progress called as they finish, handed to `receiver` as it
// becomes final (event_chunks.cpp). Sets result's stopped, gaps, positions
// and the counts of what was held.
void RunInStretches(const EngineServices& services, const EventSearchRequest& request, EventReceiver& receiver,
                    EventStreamResult& result);

inline double WrapPi(double x) {
  if (!(std::fabs(x) < 1.0e6)) return std::remainder(x, kFullCircle);
  constexpr double kHalf = kFullCircle * 0.5;
  double n = std::nearbyint(x / kFullCircle);
  double r = std::fma(-n, kFullCircle, x);
  if (r > kHalf || (r == kHalf && std::fmod(n, 2.0) != 0.0)) {
    n += 1.0;
    r = std::fma(-n, kFullCircle, x);
  } else if (r < -kHalf || (r == -kHalf && std::fmod(n, 2.0) != 0.0)) {
    n -= 1.0;
    r = std::fma(-n, kFullCircle, x);
  }
  return r == 0.0 ? std::copysign(0.0, x) : r;  // a zero takes the sign of x
}

// 0h UT on 1 January of `year`, AJD: where the .dac records of Jupiter..Neptune
// change when the year is divisible by five (they start in -4000 and 1600).
double NewYearAJD(long long year);
// The year divisible by five whose record holds t: NewYearAJD(year) <= t <
// NewYearAJD(year + 5).
long long RecordYearOf(double t);

// The role of a level within its band.
enum class Role { Lower, Exact, Upper };

struct Band {
  int kind = 0;
  double target = 0.0;  // radians, A or 2pi - A
  double orb = 0.0;
};

struct Level {
  int band = 0;
  Role role = Role::Exact;
  double value = 0.0;    // radians, not reduced
  double wrapped = 0.0;  // value reduced into [-pi, pi] (WrapPi)
};

// g with "g > 0" the side of a level that lies inside its band (the Exact
// level: past the target in the sense of increasing D).
inline double Signed(Role role, double x) { return role == Role::Upper ? -x : x; }

inline EventKind EventOf(Role role, bool increasing) {
  switch (role) {
    case Role::Lower: return increasing ? EventKind::Enters : EventKind::Leaves;
    case Role::Upper: return increasing ? EventKind::Leaves : EventKind::Enters;
    case Role::Exact: break;
  }
  return EventKind::Exact;
}

struct Crossing {
  double t = 0.0;
  int band = 0;
  EventKind event = EventKind::Exact;
};

// A stretch of time in which both planets of a pair have positions.
struct Track {
  double start = 0.0;
  double end = 0.0;
  bool startIsDataEdge = false;  // positions begin here (else the range does)
  bool endIsDataEdge = false;
  std::vector<char> inBandAtStart;
  std::vector<Crossing> crossings;  // in time order
};

struct Pair {
  int planet1 = 0;  // World: the lower number; Personal: the natal planet
  int planet2 = 0;
  bool natalFixed = false;
  double natal = 0.0;       // radians, Personal only
  bool mayTurn = false;     // dD/dt may change sign
  double maxRate = 0.0;     // bound of |dD/dt|, radians per day
  double accel = 0.0;       // bound of |d2D/dt2| of the smooth motions, radians per day^2
  bool daily = false;       // a planet of the pair comes from a daily table
  double tableError = 0.0;  // radians, summed over such planets
};

struct GridPoint {
  double t = 0.0;
  bool leadsRecord = false;  // the next grid point is a .dac record boundary
};

// One planet's longitude over one .dac record, [start, end), from its values
// at the record's kFitNodes Chebyshev nodes (event_fits.cpp).
struct RecordFit {
  double start = 0.0;
  double end = 0.0;
  int requests = 0;         // before the fit is made
  bool made = false;
  bool usable = false;      // all nodes served, and the checks agreed
  double centre = 0.0;      // AJD
  double half = 0.0;        // days
  double reference = 0.0;   // the first node's longitude, radians
  std::array<double, kFitNodes> f{};  // unwrapped longitudes less reference
};

struct Sample {
  double t = 0.0;
  double d = 0.0;  // L2 - L1, radians
  int grid = -1;   // index into the grid, -1 for a data edge
  bool leadsRecord = false;
};


// One search: its planets, bands, pairs and the positions asked for so far.
class Search {
 public:
  Search(const EngineServices& services, const EventSearchRequest& request, EventSearchResult& result,
         std::optional<std::pair<int, int>> onlyPair, int onlyKind)
      : services_(services), request_(request), result_(result) {
    Set(onlyPair, onlyKind);
  }

  bool ok() const { return error_.empty(); }
  const std::string& error() const { return error_; }
  // The windows and events of [from, to]. A window cut by from (to) is
  // followed past it when extendBefore (extendAfter); else it is left with
  // its instant unknown and marked joinsBefore (joinsAfter), for the search
  // of the stretch next to it to complete (event_chunks.cpp).
  void Run(double from, double to, bool extendBefore = true, bool extendAfter = true);

 private:
  void Set(std::optional<std::pair<int, int>> onlyPair, int onlyKind);
  std::string CheckBounds(int planet) const;

  double Position(int planet, double t) {
    ++result_.positionsComputed;
    return services_.HelioLongitude(planet, t);
  }
  double GridPosition(int planet, double t) {
    auto& cache = cache_[static_cast<size_t>(planet)];
    const auto key = std::bit_cast<std::uint64_t>(t);
    if (auto it = cache.find(key); it != cache.end()) return it->second;
    const double v = Position(planet, t);
    cache.emplace(key, v);
    return v;
  }
  // D of a pair at t, or nullopt when a position is missing.
  std::optional<double> Difference(const Pair& pair, double t, bool grid) {
    const double l2 = grid ? GridPosition(pair.planet2, t) : Position(pair.planet2, t);
    if (!(l2 >= 0)) return std::nullopt;
    double l1 = pair.natal;
    if (!pair.natalFixed) {
      l1 = grid ? GridPosition(pair.planet1, t) : Position(pair.planet1, t);
      if (!(l1 >= 0)) return std::nullopt;
    }
    return l2 - l1;
  }

  // The longitude of planet at t from the fit of its record; false where no
  // fit serves (the planet is not fitted, or its record would not fit).
  bool Fitted(int planet, double t, double& longitude);
  void Fit(int planet, RecordFit& fit);
  // D of a pair at t with fitted longitudes where they serve; err is then
  // the bound of its error (kFitError for each fitted planet), else 0.
  std::optional<double> NearDifference(const Pair& pair, double t, double& err) {
    err = 0.0;
    double l2 = 0.0;
    if (Fitted(pair.planet2, t, l2))
      err += kFitError;
    else
      l2 = Position(pair.planet2, t);
    if (!(l2 >= 0)) return std::nullopt;
    double l1 = pair.natal;
    if (!pair.natalFixed) {
      if (Fitted(pair.planet1, t, l1))
        err += kFitError;
      else
        l1 = Position(pair.planet1, t);
      if (!(l1 >= 0)) return std::nullopt;
    }
    return l2 - l1;
  }

  std::vector<GridPoint> Grid(double a, double b, double step) const;
  double StepOf(const std::vector<int>& pairs) const;
  // The stretches of [grid front, grid back] in which `planet` has positions.
  std::vector<std::pair<double, double>> Available(int planet, const std::vector<GridPoint>& grid);
  double DataEdge(int planet, double inside, double outside);
  std::vector<std::vector<Track>> Scan(const std::vector<int>& pairs,
                                       const std::vector<std::vector<char>>& masks, double a, double b);
  void ScanRun(const Pair& pair, const std::vector<char>& mask, const std::vector<Sample>& samples,
               Track& run);
  // before and after: the samples either side of l and r on the same smooth
  // stretch, or null.
  void Smooth(const Pair& pair, const std::vector<int>& levels, const Sample& l, const Sample& r,
              const Sample* before, const Sample* after, std::vector<Crossing>& out, int depth);
  void Resolve(const Pair& pair, const std::vector<int>& levels, const Sample& l, const Sample& r, double dd,
               const Sample* before, const Sample* after, std::vector<Crossing>& out);
  bool Crosses(const Level& level, double d1, double d2, double& g1, double& g2) const;
  // Whether the level may lie between D at l (wrapped: WrapPi of it) and D
  // at l plus dd: a cheap test that passes every level Crosses() passes.
  static bool MayCross(const Level& level, double wrapped, double dd);
  // Whether any level of the run being scanned may lie between D at l
  // (wrapped) and D at l plus dd: passes whenever MayCross passes for one of
  // them, by binary search in levelsOfRun_.
  bool AnyLevelNear(double wrapped, double dd) const;
  void AtOneInstant(const std::vector<int>& levels, const Sample& l, const Sample& r, double t,
                    std::vector<Crossing>& out) const;
  bool Monotone(const Pair& pair, double a, double b, double dd) const;
  double Reach(const Pair& pair, double a, double b) const;
  bool LevelWithin(const std::vector<int>& levels, double d, double dd, double reach) const;
  bool InBand(int band, double d) const;

  struct Beyond {
    double instant = kUnknown;
    bool known = false;
    std::vector<double> exact;
  };
  std::vector<Beyond> Extend(int pairIndex, const std::vector<int>& bands, double t0, int direction);

  const EngineServices& services_;
  const EventSearchRequest& request_;
  EventSearchResult& result_;
  std::string error_;
  std::vector<Band> bands_;
  std::vector<Level> levels_;
  std::vector<Pair> pairs_;
  std::array<std::unordered_map<std::uint64_t, double>, kPlanetSlots> cache_;
  std::array<std::vector<RecordFit>, kPlanetSlots> fits_;
  std::vector<double> levelsOfRun_;  // the wrapped values of ScanRun's levels, sorted
};

}  // namespace vemo::event_search
