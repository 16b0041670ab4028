// Aspect events to the minute.
//
// Every pair is followed through its signed difference of longitude
// D = L2 - L1 (radians), unwrapped from one instant to the next. A kind of
// angle A has one target (0 or pi) or two (A and 2pi - A), and around each
// target a band of the kind's orb: the aspect holds while D lies strictly
// inside a band, the table's own test |separation - A| < orb. Entering,
// becoming exact and leaving are the instants at which D crosses a band's
// edges or its target (the levels).
//
// Where to look. All planets are sampled on one grid of instants shared by
// all pairs (each planet's longitude computed once per grid instant). The
// step keeps every pair's change of D between two grid instants below a
// quarter turn, so D unwraps without doubt. Between two grid instants a pair
// whose motions cannot meet (the bounds of PlanetMotionBounds keep dD/dt of
// one sign) is monotone, and a level lies between the two values of D exactly
// when it is crossed once. A pair whose relative motion may reverse
// (Neptune-Pluto; planets of a test sky) is monotone on an interval when the
// chord slope exceeds what the acceleration bound lets dD/dt vary by across
// it; otherwise D can stray from its chord by at most K h^2 / 8, and only
// when a level lies within that reach is the interval halved, down to a
// quarter of a minute, so a short spell near a turn is not stepped over.
//
// The .dac records of Jupiter..Neptune change at 0h UT on 1 January of each
// year divisible by five and a longitude may step there by up to 3" (the
// records are fitted separately). Each such instant is a grid instant with a
// second one 0.86 s before it, so no smooth interval holds a step and a level
// inside a step is crossed at the record boundary itself. Pluto comes from a
// table of whole arcseconds at 0h UT, linear in between: across a table day
// its rate may step by 2"/day, which the monotony test allows for.
//
// Each crossing between two instants of a monotone interval is narrowed by
// Brent's method (inverse quadratic and secant steps guarded by bisection)
// until it lies in a bracket under 58 s wide, then settled on the whole UT
// minute whose half-minute either side holds the change (OnItsMinute): the
// instant reported is the crossing rounded to the minute, the same whatever
// span the search began with.
#include "app/aspects/events.h"

#include <algorithm>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <utility>

namespace vemo {

std::array<bool, kPlanetSlots> AllPlanets() {
  std::array<bool, kPlanetSlots> all{};
  for (int p = 1; p <= kMaxPlanets; ++p) all[static_cast<size_t>(p)] = true;
  return all;
}

PlanetMotionBounds HeliocentricMotionBounds() {
  PlanetMotionBounds b;
  b.maxDegreesPerDay = kMaxHeliocentricMotionDegreesPerDay;
  // Aphelion speeds n (1 - e)^2 / (1 - e^2)^1.5 (Standish's J2000 elements)
  // lowered by 10 %. Pluto's daily table steps, rounded to whole arcseconds,
  // may fall 2"/day (0.00056°/day) below the orbit's 0.00247°/day; the least
  // step seen over 1600-2199 is 0.0025°/day.
  b.minDegreesPerDay = {0.0, 0.85, 2.45, 1.42, 0.39, 0.067, 0.027, 0.0095, 0.0052, 0.0017, 0.0};
  // 2 e n^2 max(sin v (1 + e cos v)^3) / (1 - e^2)^3 of the orbits: Earth
  // 5.7e-4, Mercury 0.16, Venus 6.1e-4, Mars 9.5e-4, Jupiter 1.2e-5, Saturn
  // 2.1e-6, Uranus 2.3e-7, Neptune 1.1e-8, Pluto 2.0e-7 °/day^2. The served
  // positions reach 6.6e-4, 0.162, 7.8e-4, 9.6e-4, 1.2e-5, 2.4e-6, 2.6e-7 and
  // 2.8e-8 (second differences within .dac records, 1600-2199); Neptune's
  // perturbations by Uranus more than double its orbit's value.
  b.maxAccelerationDegreesPerDay2 = {
      0.0,
      1.5e-3,  // Earth
      0.3,     // Mercury
      1.6e-3,  // Venus
      2.0e-3,  // Mars
      2.5e-5,  // Jupiter
      5.0e-6,  // Saturn
      6.0e-7,  // Uranus
      8.0e-8,  // Neptune
      5.0e-7,  // Pluto (the smooth motion under its table)
      0.0,
  };
  b.dailyTable[kPluto] = true;
  b.tableErrorDegrees[kPluto] = 1.0 / 3600.0;  // half an arcsecond of rounding, doubled
  return b;
}

namespace {

constexpr double kUnknown = -1.0;
// Width under which a crossing's bracket is closed: 58 s, so the middle of
// the bracket is within 29 s of the crossing.
constexpr double kBracketDays = 58.0 / 86400.0;
// Sample taken just before a .dac record boundary (0.86 s), so that the step
// between two records falls between two samples of its own.
constexpr double kRecordLeadDays = 1.0e-5;
// Shortest interval halved near a turn of the relative motion: a spell in
// orb shorter than this may be missed or reported as one instant.
constexpr double kFinestStepDays = 15.0 / 86400.0;
// Longest grid step. Longer steps would cost fewer grid positions for slow
// planets, but Brent's method then needs more positions per crossing.
constexpr double kMaxGridStepDays = 128.0;
// Searches for the entering or leaving instant past the span look this far
// first and double the distance each time.
constexpr double kFirstReachDays = 16.0;
// Beyond this the instant counts as unknown (only planets that stand still
// in a test sky stay in orb this long).
constexpr double kMaxReachDays = 1000.0 * 365.25;
// Steps of the grid keep the change of D under a quarter turn.
constexpr double kQuarterTurn = kFullCircle / 4.0;
// Bisection steps for the edge of a planet's data range.
constexpr int kMaxEdgeSteps = 80;

double WrapPi(double x) { return std::remainder(x, kFullCircle); }

// Day number of 1 January of a proleptic Gregorian year (1 January 2000 is
// 2451545): the days-from-civil count of the March-based year, in which
// January is day 306 of the year before.
long long DayNumberOfNewYear(long long year) {
  const long long y = year - 1;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yoe = y - era * 400;
  const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + 306;
  return era * 146097 + doe - 719468 + 2440588;
}

// 0h UT on 1 January of `year`, AJD: where the .dac records of Jupiter..Neptune
// change when the year is divisible by five (they start in -4000 and 1600).
double NewYearAJD(long long year) { return static_cast<double>(DayNumberOfNewYear(year)) - 0.5; }

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
  double value = 0.0;  // radians, not reduced
};

// g with "g > 0" the side of a level that lies inside its band (the Exact
// level: past the target in the sense of increasing D).
double Signed(Role role, double x) { return role == Role::Upper ? -x : x; }

EventKind EventOf(Role role, bool increasing) {
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

struct Sample {
  double t = 0.0;
  double d = 0.0;  // L2 - L1, radians
  int grid = -1;   // index into the grid, -1 for a data edge
  bool leadsRecord = false;
};

// The whole UT minute whose half-minute either side holds the change of side
// of g near t (startPositive: the side before it). Where the grid and the
// brackets fell depends on the span searched; the minute does not, so a
// search begun on another day reports the same instants. t lies within 29 s
// of the change, so the minute is t's, or one either side. Returns t itself
// where a position is missing.
template <class G>
double OnItsMinute(G&& g, double t, bool startPositive) {
  // Minutes counted from JD 0 (whole numbers, so the same minute is always
  // the same double).
  double minute = std::round(t * 1440.0);
  for (int attempt = 0; attempt < 3; ++attempt) {
    const double before = g((minute - 0.5) / 1440.0);
    const double after = g((minute + 0.5) / 1440.0);
    if (std::isnan(before) || std::isnan(after)) return t;
    if ((before > 0) != startPositive) {
      minute -= 1.0;  // changed before this minute
    } else if ((after > 0) == startPositive) {
      minute += 1.0;  // not yet changed
    } else {
      return minute / 1440.0;
    }
  }
  return t;
}

// Brent's method for the change of side of g (side: g > 0) between a and b,
// ga and gb on different sides. Returns the middle of a bracket narrower
// than kBracketDays, or the instant at which g is exactly 0.
template <class G>
double Refine(G&& g, double a, double b, double ga, double gb) {
  double c = a;
  double gc = ga;
  double d = b - a;
  double e = d;
  for (int iteration = 0; iteration < 200; ++iteration) {
    if (std::fabs(gc) < std::fabs(gb)) {
      a = b;
      b = c;
      c = a;
      ga = gb;
      gb = gc;
      gc = ga;
    }
    const double tol1 = 2.0 * DBL_EPSILON * std::fabs(b) + 0.5 * kBracketDays;
    const double xm = 0.5 * (c - b);
    if (gb == 0.0) return b;
    if (std::fabs(xm) <= tol1) return b + xm;
    if (std::fabs(e) >= tol1 && std::fabs(ga) > std::fabs(gb)) {
      const double s = gb / ga;
      double p = 0.0;
      double q = 0.0;
      if (a == c) {
        p = 2.0 * xm * s;
        q = 1.0 - s;
      } else {
        const double qa = ga / gc;
        const double r = gb / gc;
        p = s * (2.0 * xm * qa * (qa - r) - (b - a) * (r - 1.0));
        q = (qa - 1.0) * (r - 1.0) * (s - 1.0);
      }
      if (p > 0.0)
        q = -q;
      else
        p = -p;
      if (2.0 * p < 3.0 * xm * q - std::fabs(tol1 * q) && p < std::fabs(0.5 * e * q)) {
        e = d;
        d = p / q;
      } else {
        d = xm;
        e = d;
      }
    } else {
      d = xm;
      e = d;
    }
    a = b;
    ga = gb;
    b += std::fabs(d) > tol1 ? d : (xm > 0 ? tol1 : -tol1);
    gb = g(b);
    if (std::isnan(gb)) return b;  // no position there: the best we have
    if ((gb > 0.0) == (gc > 0.0)) {
      c = a;
      gc = ga;
      d = b - a;
      e = d;
    }
  }
  return 0.5 * (b + c);
}

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
  void Run(double from, double to);

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

  std::vector<GridPoint> Grid(double a, double b, double step) const;
  double StepOf(const std::vector<int>& pairs) const;
  // The stretches of [grid front, grid back] in which `planet` has positions.
  std::vector<std::pair<double, double>> Available(int planet, const std::vector<GridPoint>& grid);
  double DataEdge(int planet, double inside, double outside);
  std::vector<std::vector<Track>> Scan(const std::vector<int>& pairs,
                                       const std::vector<std::vector<char>>& masks, double a, double b);
  void ScanRun(const Pair& pair, const std::vector<char>& mask, const std::vector<Sample>& samples,
               Track& run);
  void Smooth(const Pair& pair, const std::vector<int>& levels, const Sample& l, const Sample& r,
              std::vector<Crossing>& out, int depth);
  void Resolve(const Pair& pair, const std::vector<int>& levels, const Sample& l, const Sample& r, double dd,
               std::vector<Crossing>& out);
  bool Crosses(const Level& level, double d1, double d2, double& g1, double& g2) const;
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
};

std::string Search::CheckBounds(int planet) const {
  const auto i = static_cast<size_t>(planet);
  const PlanetMotionBounds& m = request_.motion;
  const double lo = m.minDegreesPerDay[i];
  const double hi = m.maxDegreesPerDay[i];
  const double acc = m.maxAccelerationDegreesPerDay2[i];
  const double err = m.tableErrorDegrees[i];
  if (!std::isfinite(lo) || !std::isfinite(hi) || !(lo <= hi) || !(acc >= 0) || !std::isfinite(acc) ||
      !(err >= 0) || !std::isfinite(err)) {
    return "The motion bounds of " + PlanetName(planet) + " are not usable.";
  }
  return "";
}

void Search::Set(std::optional<std::pair<int, int>> onlyPair, int onlyKind) {
  const Mode mode = request_.mode;
  const bool personal = IsPersonalMode(mode);
  if (!personal && mode != Mode::WorldTransits) {
    error_ = "Aspect events are searched in World transits and Personal transits only.";
    return;
  }
  if (request_.planetCount < 1 || request_.planetCount > kMaxPlanets) {
    error_ = "The number of planets must lie between 1 and 9.";
    return;
  }
  if (personal && !(request_.birthAJD >= 0 && std::isfinite(request_.birthAJD))) {
    error_ = "Personal transits need a birthdate.";
    return;
  }
  std::vector<int> planets;
  for (int p = 1; p <= request_.planetCount; ++p) {
    if (!request_.planets[static_cast<size_t>(p)]) continue;
    if (onlyPair && p != onlyPair->first && p != onlyPair->second) continue;
    const std::string bad = CheckBounds(p);
    if (!bad.empty()) {
      error_ = bad;
      return;
    }
    planets.push_back(p);
  }

  const OrbTable orbs = SetOrbs(request_.settings);
  const auto column = static_cast<size_t>(OrbColumnOfMode(mode));
  for (int k = 1; k <= kNumKinds; ++k) {
    if (!request_.kinds[static_cast<size_t>(k)]) continue;
    if (onlyKind != 0 && k != onlyKind) continue;
    const double orb = orbs.Orb[static_cast<size_t>(k)][column];
    if (!(orb > 0)) continue;
    const double angle = AspectAngle(k);
    bands_.push_back({k, angle, orb});
    if (k != kConjunction && k != kOpposition) bands_.push_back({k, kFullCircle - angle, orb});
  }
  for (size_t b = 0; b < bands_.size(); ++b) {
    const Band& band = bands_[b];
    const int i = static_cast<int>(b);
    levels_.push_back({i, Role::Lower, band.target - band.orb});
    levels_.push_back({i, Role::Exact, band.target});
    levels_.push_back({i, Role::Upper, band.target + band.orb});
  }

  const PlanetMotionBounds& m = request_.motion;
  auto rad = [](double degrees) { return DegreesToRadians(degrees); };
  auto make = [&](int p1, int p2) {
    const auto i1 = static_cast<size_t>(p1);
    const auto i2 = static_cast<size_t>(p2);
    Pair pair;
    pair.planet1 = p1;
    pair.planet2 = p2;
    double lo = rad(m.minDegreesPerDay[i2]);
    double hi = rad(m.maxDegreesPerDay[i2]);
    pair.accel = rad(m.maxAccelerationDegreesPerDay2[i2]);
    pair.daily = m.dailyTable[i2];
    pair.tableError = m.dailyTable[i2] ? rad(m.tableErrorDegrees[i2]) : 0.0;
    if (!personal) {
      lo -= rad(m.maxDegreesPerDay[i1]);
      hi -= rad(m.minDegreesPerDay[i1]);
      pair.accel += rad(m.maxAccelerationDegreesPerDay2[i1]);
      pair.daily = pair.daily || m.dailyTable[i1];
      if (m.dailyTable[i1]) pair.tableError += rad(m.tableErrorDegrees[i1]);
    }
    pair.mayTurn = lo <= 0.0 && hi >= 0.0;
    pair.maxRate = std::max(std::fabs(lo), std::fabs(hi));
    return pair;
  };
  if (personal) {
    const double birth = request_.birthAJD;
    for (int a : planets) {
      if (onlyPair && a != onlyPair->first) continue;
      const double natal = Position(a, birth);
      if (!(natal >= 0)) {
        // No natal position: no transit to this planet (its events stop
        // before they begin).
        result_.gaps.push_back({a, birth, birth});
        continue;
      }
      for (int b : planets) {
        if (onlyPair && b != onlyPair->second) continue;
        Pair pair = make(a, b);
        pair.natalFixed = true;
        pair.natal = natal;
        pairs_.push_back(pair);
      }
    }
  } else {
    for (size_t i = 0; i < planets.size(); ++i) {
      for (size_t j = i + 1; j < planets.size(); ++j) pairs_.push_back(make(planets[i], planets[j]));
    }
  }
}

double Search::StepOf(const std::vector<int>& pairs) const {
  double step = kMaxGridStepDays;
  for (int i : pairs) {
    const Pair& pair = pairs_[static_cast<size_t>(i)];
    if (pair.maxRate > 0) step = std::min(step, kQuarterTurn / pair.maxRate);
  }
  return step;
}

std::vector<GridPoint> Search::Grid(double a, double b, double step) const {
  // Knots: the ends and the record boundaries between them.
  std::vector<double> knots{a};
  std::vector<char> isRecord{0};
  long long year = static_cast<long long>(std::floor(2000.0 + (a - 2451544.5) / 365.2425)) - 5;
  year -= ((year % 5) + 5) % 5;
  for (;; year += 5) {
    const double r = NewYearAJD(year);
    if (r > b) break;
    if (r > a) {
      knots.push_back(r);
      isRecord.push_back(1);
    }
  }
  if (knots.back() < b) {
    knots.push_back(b);
    isRecord.push_back(0);
  }
  std::vector<GridPoint> grid;
  for (size_t k = 0; k + 1 < knots.size(); ++k) {
    const double k0 = knots[k];
    const double len = knots[k + 1] - k0;
    const int n = std::max(1, static_cast<int>(std::ceil(len / step)));
    for (int i = 0; i < n; ++i) grid.push_back({k0 + i * (len / n), false});
    if (isRecord[k + 1]) {
      const double lead = knots[k + 1] - kRecordLeadDays;
      if (lead > grid.back().t)
        grid.push_back({lead, true});
      else
        grid.back().leadsRecord = true;
    }
  }
  grid.push_back({b, false});
  return grid;
}

double Search::DataEdge(int planet, double inside, double outside) {
  for (int i = 0; i < kMaxEdgeSteps && std::fabs(outside - inside) > kBracketDays; ++i) {
    const double mid = 0.5 * (inside + outside);
    if (GridPosition(planet, mid) >= 0)
      inside = mid;
    else
      outside = mid;
  }
  return inside;
}

std::vector<std::pair<double, double>> Search::Available(int planet, const std::vector<GridPoint>& grid) {
  std::vector<std::pair<double, double>> spans;
  const size_t n = grid.size();
  std::vector<char> ok(n);
  for (size_t i = 0; i < n; ++i) ok[i] = GridPosition(planet, grid[i].t) >= 0;
  size_t i = 0;
  double gapFrom = grid.front().t;
  bool inGap = false;
  while (i < n) {
    if (!ok[i]) {
      if (!inGap) {
        inGap = true;
        gapFrom = i == 0 ? grid.front().t : DataEdge(planet, grid[i - 1].t, grid[i].t);
      }
      ++i;
      continue;
    }
    size_t j = i;
    while (j + 1 < n && ok[j + 1]) ++j;
    const double s = i == 0 ? grid.front().t : DataEdge(planet, grid[i].t, grid[i - 1].t);
    const double e = j + 1 == n ? grid.back().t : DataEdge(planet, grid[j].t, grid[j + 1].t);
    if (inGap) {
      result_.gaps.push_back({planet, gapFrom, s});
      inGap = false;
    }
    spans.emplace_back(s, e);
    if (j + 1 < n) {
      inGap = true;
      gapFrom = e;
    }
    i = j + 1;
  }
  if (inGap) result_.gaps.push_back({planet, gapFrom, grid.back().t});
  return spans;
}

bool Search::InBand(int band, double d) const {
  const Band& b = bands_[static_cast<size_t>(band)];
  return WrapPi(d - (b.target - b.orb)) > 0 && WrapPi(d - (b.target + b.orb)) < 0;
}

bool Search::Monotone(const Pair& pair, double a, double b, double dd) const {
  if (!pair.mayTurn) return true;
  const double h = b - a;
  const double slope = std::fabs(dd) / h;
  // Over [a, b] dD/dt differs from the chord slope by at most K h / 2.
  double slack = pair.accel * h / 2.0;
  const double firstNode = std::floor(a + 0.5) + 0.5;  // first 0h UT after a
  if (pair.daily && firstNode < b) {
    // Across a table day the interpolated rate is the smooth rate somewhere
    // within that day plus up to 2 table errors a day, and the chord slope
    // may be off by 2 position errors over h.
    const double positionError = pair.tableError + pair.accel / 8.0;
    slack = pair.accel * (h / 2.0 + 1.0) + 2.0 * pair.tableError + 2.0 * positionError / h;
  }
  return slope > slack;
}

double Search::Reach(const Pair& pair, double a, double b) const {
  const double h = b - a;
  double reach = pair.accel * h * h / 8.0;
  const double firstNode = std::floor(a + 0.5) + 0.5;
  if (pair.daily && firstNode < b) reach += 2.0 * (pair.tableError + pair.accel / 8.0);
  return reach;
}

bool Search::LevelWithin(const std::vector<int>& levels, double d, double dd, double reach) const {
  for (int li : levels) {
    const double x = WrapPi(d - levels_[static_cast<size_t>(li)].value);
    const double lo = std::min(x, x + dd) - reach;
    const double hi = std::max(x, x + dd) + reach;
    if (lo <= 0.0 && hi >= 0.0) return true;
  }
  return false;
}

bool Search::Crosses(const Level& level, double d1, double d2, double& g1, double& g2) const {
  // Each sample's side comes from its own D, as the band test at a sample
  // does, so that the crossings between samples always agree with the
  // windows open at them. D moves less than a quarter turn between samples,
  // so a change of side took the shorter way round: through the level when
  // |x1| + |x2| < pi, else through the point opposite it.
  const double x1 = WrapPi(d1 - level.value);
  const double x2 = WrapPi(d2 - level.value);
  g1 = Signed(level.role, x1);
  g2 = Signed(level.role, x2);
  return (g1 > 0) != (g2 > 0) && std::fabs(x1) + std::fabs(x2) < kHalfCircle;
}

void Search::AtOneInstant(const std::vector<int>& levels, const Sample& l, const Sample& r, double t,
                          std::vector<Crossing>& out) const {
  const double dd = WrapPi(r.d - l.d);
  for (int li : levels) {
    const Level& level = levels_[static_cast<size_t>(li)];
    double g1 = 0.0;
    double g2 = 0.0;
    if (Crosses(level, l.d, r.d, g1, g2)) out.push_back({t, level.band, EventOf(level.role, dd > 0)});
  }
}

void Search::Resolve(const Pair& pair, const std::vector<int>& levels, const Sample& l, const Sample& r,
                     double dd, std::vector<Crossing>& out) {
  // D relative to l at the instants evaluated so far, by time; one crossing's
  // evaluations narrow the brackets of the next ones.
  struct Point {
    double t;
    double du;
  };
  std::vector<Point> points{{l.t, 0.0}, {r.t, dd}};
  std::vector<Crossing> found;
  for (int li : levels) {
    const Level& level = levels_[static_cast<size_t>(li)];
    double gl = 0.0;
    double gr = 0.0;
    if (!Crosses(level, l.d, r.d, gl, gr)) continue;
    const double x = WrapPi(l.d - level.value);
    // g at point k: the ends keep their own sides.
    auto g = [&](size_t k) {
      if (k == 0) return gl;
      if (k + 1 == points.size()) return gr;
      return Signed(level.role, x + points[k].du);
    };
    const bool first = gl > 0;
    size_t k = 1;
    while (k + 1 < points.size() && (g(k) > 0) == first) ++k;
    auto side = [&](double at) {
      const std::optional<double> d = Difference(pair, at, false);
      if (!d) return std::nan("");
      const double du = WrapPi(*d - l.d);
      const auto pos =
          std::lower_bound(points.begin(), points.end(), at, [](const Point& p, double v) { return p.t < v; });
      points.insert(pos, {at, du});
      return Signed(level.role, x + du);
    };
    const double t = OnItsMinute(side, Refine(side, points[k - 1].t, points[k].t, g(k - 1), g(k)), first);
    found.push_back({t, level.band, EventOf(level.role, dd > 0)});
  }
  std::stable_sort(found.begin(), found.end(),
                   [](const Crossing& a, const Crossing& b) { return a.t < b.t; });
  out.insert(out.end(), found.begin(), found.end());
}

void Search::Smooth(const Pair& pair, const std::vector<int>& levels, const Sample& l, const Sample& r,
                    std::vector<Crossing>& out, int depth) {
  const double dd = WrapPi(r.d - l.d);
  if (Monotone(pair, l.t, r.t, dd)) {
    Resolve(pair, levels, l, r, dd, out);
    return;
  }
  // The relative motion may turn in here: only a level within the reach of
  // D can be crossed, and then possibly more than once.
  if (!LevelWithin(levels, l.d, dd, Reach(pair, l.t, r.t))) return;
  const double h = r.t - l.t;
  if (h <= kFinestStepDays || depth > 60) {
    AtOneInstant(levels, l, r, 0.5 * (l.t + r.t), out);
    return;
  }
  // Split at the middle, or at the table day nearest to it so that the
  // halves come closer to single table days.
  double m = 0.5 * (l.t + r.t);
  if (pair.daily && h > 1.0) {
    const double firstNode = std::floor(l.t + 0.5) + 0.5;
    const double lastNode = std::ceil(r.t + 0.5) - 1.5;
    if (firstNode < r.t) m = std::clamp(std::round(m + 0.5) - 0.5, firstNode, lastNode);
  }
  const std::optional<double> d = Difference(pair, m, false);
  if (!d) {
    AtOneInstant(levels, l, r, m, out);
    return;
  }
  const Sample mid{m, *d, -1, false};
  Smooth(pair, levels, l, mid, out, depth + 1);
  Smooth(pair, levels, mid, r, out, depth + 1);
}

void Search::ScanRun(const Pair& pair, const std::vector<char>& mask, const std::vector<Sample>& samples,
                     Track& run) {
  std::vector<int> levels;
  for (size_t li = 0; li < levels_.size(); ++li) {
    if (mask[static_cast<size_t>(levels_[li].band)]) levels.push_back(static_cast<int>(li));
  }
  run.inBandAtStart.assign(bands_.size(), 0);
  for (size_t b = 0; b < bands_.size(); ++b) {
    if (mask[b]) run.inBandAtStart[b] = InBand(static_cast<int>(b), samples.front().d);
  }
  for (size_t i = 0; i + 1 < samples.size(); ++i) {
    const Sample& l = samples[i];
    const Sample& r = samples[i + 1];
    if (l.leadsRecord && l.grid >= 0 && r.grid == l.grid + 1) {
      // The step between two .dac records: crossed at the boundary itself.
      AtOneInstant(levels, l, r, r.t, run.crossings);
    } else {
      Smooth(pair, levels, l, r, run.crossings, 0);
    }
  }
}

std::vector<std::vector<Track>> Search::Scan(const std::vector<int>& pairs,
                                             const std::vector<std::vector<char>>& masks, double a,
                                             double b) {
  const std::vector<GridPoint> grid = Grid(a, b, StepOf(pairs));
  std::array<std::vector<std::pair<double, double>>, kPlanetSlots> spans;
  std::array<bool, kPlanetSlots> sampled{};
  for (int i : pairs) {
    const Pair& pair = pairs_[static_cast<size_t>(i)];
    for (int p : {pair.natalFixed ? 0 : pair.planet1, pair.planet2}) {
      if (p == 0 || sampled[static_cast<size_t>(p)]) continue;
      sampled[static_cast<size_t>(p)] = true;
      spans[static_cast<size_t>(p)] = Available(p, grid);
    }
  }
  std::vector<std::vector<Track>> out(pairs.size());
  for (size_t n = 0; n < pairs.size(); ++n) {
    const Pair& pair = pairs_[static_cast<size_t>(pairs[n])];
    std::vector<std::pair<double, double>> both = spans[static_cast<size_t>(pair.planet2)];
    if (!pair.natalFixed) {
      std::vector<std::pair<double, double>> meet;
      for (const auto& s1 : spans[static_cast<size_t>(pair.planet1)]) {
        for (const auto& s2 : both) {
          const double s = std::max(s1.first, s2.first);
          const double e = std::min(s1.second, s2.second);
          if (s <= e) meet.emplace_back(s, e);
        }
      }
      both = meet;
    }
    for (const auto& [s, e] : both) {
      std::vector<Sample> samples;
      auto add = [&](double t, int index, bool leads) {
        const std::optional<double> d = Difference(pair, t, true);
        if (d) samples.push_back({t, *d, index, leads});
      };
      auto from =
          std::lower_bound(grid.begin(), grid.end(), s, [](const GridPoint& g, double v) { return g.t < v; });
      if (from == grid.end() || from->t != s) add(s, -1, false);
      for (auto it = from; it != grid.end() && it->t <= e; ++it) {
        add(it->t, static_cast<int>(it - grid.begin()), it->leadsRecord);
      }
      if (samples.empty() || samples.back().t != e) add(e, -1, false);
      if (samples.empty()) continue;
      Track run;
      run.start = samples.front().t;
      run.end = samples.back().t;
      run.startIsDataEdge = run.start > a;
      run.endIsDataEdge = run.end < b;
      ScanRun(pair, masks[n], samples, run);
      out[n].push_back(std::move(run));
    }
  }
  return out;
}

std::vector<Search::Beyond> Search::Extend(int pairIndex, const std::vector<int>& bands, double t0,
                                           int direction) {
  std::vector<Beyond> out(bands.size());
  std::vector<char> open(bands.size(), 1);
  std::vector<char> mask(bands_.size(), 0);
  for (int b : bands) mask[static_cast<size_t>(b)] = 1;
  auto slot = [&](int band) {
    for (size_t i = 0; i < bands.size(); ++i) {
      if (bands[i] == band && open[i]) return static_cast<int>(i);
    }
    return -1;
  };
  double t = t0;
  double length = kFirstReachDays;
  while (std::any_of(open.begin(), open.end(), [](char c) { return c != 0; })) {
    if (std::fabs(t - t0) >= kMaxReachDays) break;
    const double a = direction < 0 ? t - length : t;
    const double b = direction < 0 ? t : t + length;
    const std::vector<Track> runs = Scan({pairIndex}, {mask}, a, b)[0];
    const Track* run = nullptr;
    for (const Track& r : runs) {
      if ((direction < 0 && r.end == t) || (direction > 0 && r.start == t)) run = &r;
    }
    if (run == nullptr) break;  // no positions at t itself
    if (direction < 0) {
      for (auto it = run->crossings.rbegin(); it != run->crossings.rend(); ++it) {
        const int i = slot(it->band);
        if (i < 0) continue;
        if (it->event == EventKind::Exact) out[static_cast<size_t>(i)].exact.push_back(it->t);
        if (it->event == EventKind::Enters) {
          out[static_cast<size_t>(i)].instant = it->t;
          out[static_cast<size_t>(i)].known = true;
          open[static_cast<size_t>(i)] = 0;
        }
      }
    } else {
      for (const Crossing& c : run->crossings) {
        const int i = slot(c.band);
        if (i < 0) continue;
        if (c.event == EventKind::Exact) out[static_cast<size_t>(i)].exact.push_back(c.t);
        if (c.event == EventKind::Leaves) {
          out[static_cast<size_t>(i)].instant = c.t;
          out[static_cast<size_t>(i)].known = true;
          open[static_cast<size_t>(i)] = 0;
        }
      }
    }
    // Positions end inside this stretch: the instant stays unknown.
    if (direction < 0 ? run->startIsDataEdge : run->endIsDataEdge) break;
    std::fill(mask.begin(), mask.end(), 0);
    for (size_t i = 0; i < bands.size(); ++i) {
      if (open[i]) mask[static_cast<size_t>(bands[i])] = 1;
    }
    t = direction < 0 ? a : b;
    length *= 2.0;
  }
  for (Beyond& beyond : out) std::sort(beyond.exact.begin(), beyond.exact.end());
  return out;
}

void Search::Run(double from, double to) {
  std::vector<int> all(pairs_.size());
  for (size_t i = 0; i < pairs_.size(); ++i) all[i] = static_cast<int>(i);
  const std::vector<std::vector<char>> masks(pairs_.size(), std::vector<char>(bands_.size(), 1));
  const std::vector<std::vector<Track>> runs =
      bands_.empty() ? std::vector<std::vector<Track>>(pairs_.size()) : Scan(all, masks, from, to);

  std::vector<AspectWindow>& windows = result_.windows;
  for (size_t n = 0; n < pairs_.size(); ++n) {
    const Pair& pair = pairs_[n];
    std::vector<std::pair<int, size_t>> openAtFrom;  // band, window
    std::vector<std::pair<int, size_t>> openAtTo;
    for (const Track& run : runs[n]) {
      std::vector<long> open(bands_.size(), -1);
      auto openWindow = [&](int band, double enters) {
        AspectWindow w;
        w.planet1 = pair.planet1;
        w.planet2 = pair.planet2;
        w.kind = bands_[static_cast<size_t>(band)].kind;
        w.orb = bands_[static_cast<size_t>(band)].orb;
        w.enters = enters;
        windows.push_back(std::move(w));
        open[static_cast<size_t>(band)] = static_cast<long>(windows.size() - 1);
      };
      for (size_t b = 0; b < bands_.size(); ++b) {
        if (!run.inBandAtStart[b]) continue;
        openWindow(static_cast<int>(b), kUnknown);
        if (!run.startIsDataEdge) openAtFrom.emplace_back(static_cast<int>(b), windows.size() - 1);
      }
      for (const Crossing& c : run.crossings) {
        long& w = open[static_cast<size_t>(c.band)];
        switch (c.event) {
          case EventKind::Enters:
            if (w < 0) openWindow(c.band, c.t);
            break;
          case EventKind::Exact:
            if (w >= 0) windows[static_cast<size_t>(w)].exact.push_back(c.t);
            break;
          case EventKind::Leaves:
            if (w >= 0) {
              windows[static_cast<size_t>(w)].leaves = c.t;
              w = -1;
            }
            break;
        }
      }
      for (size_t b = 0; b < bands_.size(); ++b) {
        if (open[b] < 0) continue;
        if (!run.endIsDataEdge) openAtTo.emplace_back(static_cast<int>(b), static_cast<size_t>(open[b]));
      }
    }
    // The true entering and leaving instants of the windows cut by the span.
    for (int direction : {-1, 1}) {
      const auto& cut = direction < 0 ? openAtFrom : openAtTo;
      if (cut.empty()) continue;
      std::vector<int> bands;
      for (const auto& [band, w] : cut) bands.push_back(band);
      const std::vector<Beyond> beyond =
          Extend(static_cast<int>(n), bands, direction < 0 ? from : to, direction);
      for (size_t i = 0; i < cut.size(); ++i) {
        AspectWindow& w = windows[cut[i].second];
        const Beyond& x = beyond[i];
        if (direction < 0) {
          w.enters = x.known ? x.instant : kUnknown;
          w.entersBeforeSpan = !x.known || x.instant < from;
        } else {
          w.leaves = x.known ? x.instant : kUnknown;
          w.leavesAfterSpan = !x.known || x.instant > to;
        }
        w.exact.insert(w.exact.end(), x.exact.begin(), x.exact.end());
        std::sort(w.exact.begin(), w.exact.end());
      }
    }
  }

  std::stable_sort(windows.begin(), windows.end(), [](const AspectWindow& a, const AspectWindow& b) {
    if (a.enters != b.enters) return a.enters < b.enters;
    if (a.planet1 != b.planet1) return a.planet1 < b.planet1;
    if (a.planet2 != b.planet2) return a.planet2 < b.planet2;
    return a.kind < b.kind;
  });
  for (size_t i = 0; i < windows.size(); ++i) {
    const AspectWindow& w = windows[i];
    auto add = [&](EventKind kind, double t, double deviation) {
      if (t >= from && t <= to) {
        result_.events.push_back({kind, t, w.planet1, w.planet2, w.kind, deviation, static_cast<int>(i)});
      }
    };
    if (w.enters >= 0) add(EventKind::Enters, w.enters, w.orb);
    for (double t : w.exact) add(EventKind::Exact, t, 0.0);
    if (w.leaves >= 0) add(EventKind::Leaves, w.leaves, w.orb);
  }
  std::stable_sort(result_.events.begin(), result_.events.end(),
                   [](const AspectEvent& a, const AspectEvent& b) {
                     if (a.ajd != b.ajd) return a.ajd < b.ajd;
                     if (a.planet1 != b.planet1) return a.planet1 < b.planet1;
                     if (a.planet2 != b.planet2) return a.planet2 < b.planet2;
                     if (a.kind != b.kind) return a.kind < b.kind;
                     return static_cast<int>(a.event) < static_cast<int>(b.event);
                   });

  // One gap per stretch: the scans past the span meet the main one's gaps.
  std::vector<PositionGap>& gaps = result_.gaps;
  std::sort(gaps.begin(), gaps.end(), [](const PositionGap& a, const PositionGap& b) {
    if (a.planet != b.planet) return a.planet < b.planet;
    return a.fromAJD < b.fromAJD;
  });
  std::vector<PositionGap> merged;
  for (const PositionGap& g : gaps) {
    if (!merged.empty() && merged.back().planet == g.planet &&
        g.fromAJD <= merged.back().toAJD + kBracketDays) {
      merged.back().toAJD = std::max(merged.back().toAJD, g.toAJD);
    } else {
      merged.push_back(g);
    }
  }
  gaps = std::move(merged);
}

}  // namespace

EventSearchResult FindAspectEvents(const EngineServices& services, const EventSearchRequest& request) {
  EventSearchResult result;
  if (!services.HelioLongitude) {
    result.error = "No positions are available.";
    return result;
  }
  if (!std::isfinite(request.fromAJD) || !std::isfinite(request.toAJD) || request.fromAJD < 0 ||
      request.toAJD < request.fromAJD) {
    result.error = "The span must run forward between two valid dates.";
    return result;
  }
  Search search(services, request, result, std::nullopt, 0);
  if (!search.ok()) {
    result.error = search.error();
    return result;
  }
  search.Run(request.fromAJD, request.toAJD);
  result.ok = true;
  return result;
}

WindowAtResult FindWindowAt(const EngineServices& services, const EventSearchRequest& request, int planet1,
                            int planet2, int kind, double ajd) {
  WindowAtResult out;
  if (!services.HelioLongitude || !std::isfinite(ajd) || ajd < 0) return out;
  if (kind < 1 || kind > kNumKinds || planet1 < 1 || planet2 < 1 || planet1 > request.planetCount ||
      planet2 > request.planetCount) {
    return out;
  }
  const bool personal = IsPersonalMode(request.mode);
  if (!personal && planet1 == planet2) return out;
  if (!personal && planet1 > planet2) std::swap(planet1, planet2);
  EventSearchRequest one = request;
  one.kinds.fill(false);
  one.kinds[static_cast<size_t>(kind)] = true;
  one.planets.fill(false);
  one.planets[static_cast<size_t>(planet1)] = true;
  one.planets[static_cast<size_t>(planet2)] = true;
  EventSearchResult result;
  Search search(services, one, result, std::make_pair(planet1, planet2), kind);
  if (!search.ok()) return out;
  search.Run(ajd, ajd);
  for (const AspectWindow& w : result.windows) {
    if (w.planet1 == planet1 && w.planet2 == planet2 && w.kind == kind) {
      out.ok = true;
      out.window = w;
      break;
    }
  }
  return out;
}

}  // namespace vemo
