// Aspect events over a sky of our own making: each planet moves at a steady
// rate plus a sine wobble (which lets the relative motion turn) and may step
// at one instant, so every entering, exact and leaving instant follows from a
// formula worked out here, never from the search.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "app/aspects/events.h"

namespace vemo {
namespace {

constexpr double kT0 = 2460000.3;  // an instant away from any midnight
constexpr double kMinute = 1.0 / 1440.0;
constexpr double kPi = 3.14159265358979323846;
// 0h UT on 1 January 2025: a .dac record boundary (day number 2460677).
constexpr double kNewYear2025 = 2460676.5;

// Longitude in degrees at tau = t - kT0: at0 + rate tau + wobble sin(2 pi tau / period),
// plus `step` from the instant stepAt on; no position before startsAt.
struct Path {
  double at0 = 0.0;
  double rate = 0.0;
  double wobble = 0.0;
  double period = 1.0;
  double step = 0.0;
  double stepAt = 1e300;
  double startsAt = -1e300;
};

struct Sky {
  std::array<Path, kPlanetSlots> paths{};
  long calls = 0;

  double Longitude(int planet, double t) {
    ++calls;
    const Path& p = paths[static_cast<size_t>(planet)];
    if (t < p.startsAt) return -99.0;
    const double tau = t - kT0;
    double deg = p.at0 + p.rate * tau + p.wobble * std::sin(2.0 * kPi * tau / p.period);
    if (t >= p.stepAt) deg += p.step;
    return NormaliseAngle(DegreesToRadians(deg));
  }
  EngineServices Services() {
    EngineServices s;
    s.HelioLongitude = [this](int planet, double t) { return Longitude(planet, t); };
    return s;
  }
  // The bounds the search may rely on, from the paths' own derivatives.
  PlanetMotionBounds Bounds() const {
    PlanetMotionBounds b;
    for (size_t i = 1; i < kPlanetSlots; ++i) {
      const Path& p = paths[i];
      const double w = 2.0 * kPi / p.period;
      b.minDegreesPerDay[i] = p.rate - std::fabs(p.wobble) * w * 1.01;
      b.maxDegreesPerDay[i] = p.rate + std::fabs(p.wobble) * w * 1.01;
      b.maxAccelerationDegreesPerDay2[i] = std::fabs(p.wobble) * w * w * 1.01;
    }
    return b;
  }
};

struct Expected {
  int kind;
  EventKind event;
  double tau;  // days after kT0
};

struct EventCase {
  const char* name;
  Path earth;
  Path mars;
  double from;  // days after kT0
  double to;
  std::vector<Expected> events;
  int conjunctionOrb = 10;  // degrees (list position)
  bool conjunctionSearched = true;
};

// Days after kT0 at which a + b sin(2 pi tau / period) first reaches `level`
// on its way up (0 < tau < period / 4) and its way down again.
double Rising(double a, double b, double period, double level) {
  return std::asin((level - a) / b) * period / (2.0 * kPi);
}
double Falling(double a, double b, double period, double level) {
  return period / 2.0 - Rising(a, b, period, level);
}

// Mars around Earth at 0°: the conjunction's orb is 10°.
const double kP = 200.0;
// A wobble of 4° about -14° tops out 1e-6° inside the orb: a spell of
// about 22 minutes (2 x sqrt(2 x 2.5e-7) / (2 pi / 1000 days)).
const double kShortTop = 4.0 + 1e-6;

std::vector<EventCase> Cases() {
  return {
      {"LinearApproach",
       {},
       {345.0, 0.8},
       0.0,
       40.0,
       {{1, EventKind::Enters, 6.25}, {1, EventKind::Exact, 18.75}, {1, EventKind::Leaves, 31.25}}},
      {"TurnWithTwoExactInstants",
       {},
       {-14.0, 0.0, 15.0, kP},
       0.0,
       100.0,
       {{1, EventKind::Enters, Rising(-14, 15, kP, -10)},
        {1, EventKind::Exact, Rising(-14, 15, kP, 0)},
        {1, EventKind::Exact, Falling(-14, 15, kP, 0)},
        {1, EventKind::Leaves, Falling(-14, 15, kP, -10)}}},
      {"TurnShortOfExact",
       {},
       {-14.0, 0.0, 12.0, kP},
       0.0,
       100.0,
       {{1, EventKind::Enters, Rising(-14, 12, kP, -10)}, {1, EventKind::Leaves, Falling(-14, 12, kP, -10)}}},
      {"ShortSpellAtATurn",
       {},
       {-14.0, 0.0, kShortTop, 1000.0},
       0.0,
       470.0,
       {{1, EventKind::Enters, Rising(-14, kShortTop, 1000.0, -10)},
        {1, EventKind::Leaves, Falling(-14, kShortTop, 1000.0, -10)}}},
      // Both move; only their difference counts: D = 20 - 0.8 tau.
      {"BothMoving",
       {10.0, 1.0},
       {30.0, 0.2},
       0.0,
       40.0,
       {{1, EventKind::Enters, 12.5}, {1, EventKind::Exact, 25.0}, {1, EventKind::Leaves, 37.5}}},
      // From inside the semisextile's orb (3°) down to the conjunction:
      // D = 28 - 0.5 tau.
      {"TwoKinds",
       {},
       {28.0, -0.5},
       0.0,
       60.0,
       {{6, EventKind::Leaves, 2.0}, {1, EventKind::Enters, 36.0}, {1, EventKind::Exact, 56.0}}},
      {"KindSwitchedOff", {}, {345.0, 0.8}, 0.0, 40.0, {}, 10, false},
      {"OrbZero", {}, {345.0, 0.8}, 0.0, 40.0, {}, 0},
      // Mars steps 1.5° forward at a .dac record boundary: it enters there.
      {"StepAtARecordBoundary",
       {},
       {349.5 - 0.01 * (kNewYear2025 - kT0), 0.01, 0.0, 1.0, 1.5, kNewYear2025},
       kNewYear2025 - kT0 - 20.0,
       kNewYear2025 - kT0 + 20.0,
       {{1, EventKind::Enters, kNewYear2025 - kT0}}},
  };
}

void PrintTo(const EventCase& c, std::ostream* os) { *os << c.name; }

class EventCaseTest : public ::testing::TestWithParam<EventCase> {};

TEST_P(EventCaseTest, EveryInstantWithinAMinute) {
  const EventCase& c = GetParam();
  Sky sky;
  sky.paths[kEarth] = c.earth;
  sky.paths[kMars] = c.mars;
  EventSearchRequest r;
  r.fromAJD = kT0 + c.from;
  r.toAJD = kT0 + c.to;
  r.planets.fill(false);
  r.planets[kEarth] = r.planets[kMars] = true;
  r.motion = sky.Bounds();
  r.settings.OrbListIndex[0] = c.conjunctionOrb;
  r.kinds[kConjunction] = c.conjunctionSearched;
  const EventSearchResult res = FindAspectEvents(sky.Services(), r);
  ASSERT_TRUE(res.ok) << res.error;
  ASSERT_EQ(res.events.size(), c.events.size());
  for (size_t i = 0; i < c.events.size(); ++i) {
    SCOPED_TRACE(i);
    const AspectEvent& e = res.events[i];
    EXPECT_EQ(e.kind, c.events[i].kind);
    EXPECT_EQ(e.event, c.events[i].event);
    EXPECT_NEAR(e.ajd, kT0 + c.events[i].tau, kMinute);
    EXPECT_EQ(e.planet1, kEarth);
    EXPECT_EQ(e.planet2, kMars);
  }
  EXPECT_EQ(res.positionsComputed, sky.calls);
  EXPECT_TRUE(res.gaps.empty());
}

INSTANTIATE_TEST_SUITE_P(Sky, EventCaseTest, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string(info.param.name); });

struct Turning {
  double start;  // D at kT0, degrees
  double rate;   // degrees per day
};

void PrintTo(const Turning& c, std::ostream* os) { *os << c.start << "° + " << c.rate << "°/day"; }

class FullTurnTest : public ::testing::TestWithParam<Turning> {};

TEST_P(FullTurnTest, EveryLevelOfEveryKindOnce) {
  // D = start + rate tau over more than a full turn: each kind's band is met
  // at its edges and its angle, on both sides of the circle, at instants
  // that follow from the orbs of the table.
  const Turning& c = GetParam();
  Sky sky;
  sky.paths[kMars] = {c.start, c.rate};
  const double span = 400.0 / std::fabs(c.rate);
  EventSearchRequest r;
  r.fromAJD = kT0;
  r.toAJD = kT0 + span;
  r.planets.fill(false);
  r.planets[kEarth] = r.planets[kMars] = true;
  r.motion = sky.Bounds();
  const EventSearchResult res = FindAspectEvents(sky.Services(), r);
  ASSERT_TRUE(res.ok);

  const double orbs[8] = {0, 10, 9, 6, 7, 4, 3, 3};
  const double angles[8] = {0, 0, 180, 90, 120, 60, 30, 150};
  std::vector<Expected> expected;
  for (int k = 1; k <= 7; ++k) {
    // Conjunction and opposition have one exact point on the circle, the
    // other kinds two.
    const int targets = (k == 1 || k == 2) ? 1 : 2;
    for (int side = 0; side < targets; ++side) {
      const double target = side == 0 ? angles[k] : 360.0 - angles[k];
      for (int edge = -1; edge <= 1; ++edge) {
        const double level = target + edge * orbs[k];
        // Every tau in [0, span] with start + rate tau = level (mod 360).
        for (int turn = -3; turn <= 3; ++turn) {
          const double tau = (level + 360.0 * turn - c.start) / c.rate;
          if (tau < 0 || tau > span) continue;
          const bool up = c.rate > 0;
          const EventKind e =
              edge == 0 ? EventKind::Exact : ((edge < 0) == up ? EventKind::Enters : EventKind::Leaves);
          expected.push_back({k, e, tau});
        }
      }
    }
  }
  std::sort(expected.begin(), expected.end(),
            [](const Expected& a, const Expected& b) { return a.tau < b.tau; });
  ASSERT_EQ(res.events.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(res.events[i].kind, expected[i].kind);
    EXPECT_EQ(res.events[i].event, expected[i].event);
    EXPECT_NEAR(res.events[i].ajd, kT0 + expected[i].tau, kMinute);
  }
}

INSTANTIATE_TEST_SUITE_P(Sky, FullTurnTest,
                         ::testing::Values(Turning{1.3, 6.1}, Turning{-7.7, -4.3}, Turning{100.2, 0.37},
                                           Turning{200.05, -1.9}));

EventSearchRequest EarthMars(const Sky& sky, double from, double to) {
  EventSearchRequest r;
  r.fromAJD = from;
  r.toAJD = to;
  r.planets.fill(false);
  r.planets[kEarth] = r.planets[kMars] = true;
  r.motion = sky.Bounds();
  return r;
}

TEST(AspectWindows, InOrbAtBothEndsOfTheSpanFindsTheTrueInstants) {
  // D = -5 + 0.8 tau: in the conjunction's orb from tau -6.25 to 18.75.
  Sky sky;
  sky.paths[kMars] = {355.0, 0.8};
  const EventSearchResult res = FindAspectEvents(sky.Services(), EarthMars(sky, kT0, kT0 + 10.0));
  ASSERT_TRUE(res.ok);
  ASSERT_EQ(res.windows.size(), 1u);
  const AspectWindow& w = res.windows[0];
  EXPECT_NEAR(w.enters, kT0 - 6.25, kMinute);
  EXPECT_NEAR(w.leaves, kT0 + 18.75, kMinute);
  EXPECT_TRUE(w.entersBeforeSpan);
  EXPECT_TRUE(w.leavesAfterSpan);
  ASSERT_EQ(w.exact.size(), 1u);
  EXPECT_NEAR(w.exact[0], kT0 + 6.25, kMinute);
  EXPECT_NEAR(w.orb, DegreesToRadians(10.0), 1e-12);
  // Inside the span only the exact instant happens.
  ASSERT_EQ(res.events.size(), 1u);
  EXPECT_EQ(res.events[0].event, EventKind::Exact);
  EXPECT_EQ(res.events[0].window, 0);
}

TEST(AspectWindows, WindowsDoNotDependOnWhereTheSpanBegins) {
  // Two turns: the window of the whole half period must come out the same
  // from any start inside it.
  Sky sky;
  sky.paths[kMars] = {-14.0, 0.0, 15.0, kP};
  for (double start : {10.0, 20.0, 49.0, 75.0, 90.0}) {
    SCOPED_TRACE(start);
    const EventSearchResult res =
        FindAspectEvents(sky.Services(), EarthMars(sky, kT0 + start, kT0 + start + 1.0));
    ASSERT_EQ(res.windows.size(), 1u);
    const AspectWindow& w = res.windows[0];
    EXPECT_NEAR(w.enters, kT0 + Rising(-14, 15, kP, -10), kMinute);
    EXPECT_NEAR(w.leaves, kT0 + Falling(-14, 15, kP, -10), kMinute);
    ASSERT_EQ(w.exact.size(), 2u);
    EXPECT_NEAR(w.exact[1], kT0 + Falling(-14, 15, kP, 0), kMinute);
  }
}

TEST(AspectWindows, PositionsThatBeginInsideTheSpanLeaveTheEnteringUnknown) {
  // Mars's data begin at tau 10, in the middle of the conjunction.
  Sky sky;
  sky.paths[kMars] = {345.0, 0.8};
  sky.paths[kMars].startsAt = kT0 + 10.0;
  const EventSearchResult res = FindAspectEvents(sky.Services(), EarthMars(sky, kT0, kT0 + 40.0));
  ASSERT_TRUE(res.ok);
  ASSERT_EQ(res.windows.size(), 1u);
  EXPECT_EQ(res.windows[0].enters, -1.0);
  EXPECT_FALSE(res.windows[0].entersBeforeSpan);
  EXPECT_NEAR(res.windows[0].leaves, kT0 + 31.25, kMinute);
  ASSERT_EQ(res.events.size(), 2u);  // exact and leaves
  EXPECT_EQ(res.events[0].event, EventKind::Exact);
  ASSERT_EQ(res.gaps.size(), 1u);
  EXPECT_EQ(res.gaps[0].planet, kMars);
  EXPECT_EQ(res.gaps[0].fromAJD, kT0);
  EXPECT_NEAR(res.gaps[0].toAJD, kT0 + 10.0, kMinute);
}

// A long span handed on piece by piece holds about a stretch's windows and
// events (at most 25 years; with threads, one more per thread), never the
// span's: over two thousand years an eighth at most, on one thread and on
// three; every event comes in order with its window whole, and every window
// once.
TEST(AspectWindows, AStreamedSpanHoldsAStretchNotTheSpan) {
  struct Counter : EventReceiver {
    long long windows = 0, events = 0, faults = 0;
    double last = -1.0;
    bool Window(const AspectWindow& w, long, const std::vector<PositionGap>&) override {
      if (w.joinsBefore || w.joinsAfter) ++faults;
      return ++windows, true;
    }
    bool Event(const AspectEvent& e, const AspectWindow& w) override {
      if (e.ajd < last || e.planet1 != w.planet1 || e.kind != w.kind || w.joinsAfter || w.leaves < e.ajd) ++faults;
      last = e.ajd;
      return ++events, true;
    }
  };
  Sky sky;
  sky.paths[kEarth] = {0.0, 0.9856};
  sky.paths[kMars] = {100.0, 0.524};
  const double years = 365.25;
  const EventSearchResult whole = FindAspectEvents(sky.Services(), EarthMars(sky, kT0, kT0 + 2000 * years));
  for (int jobs : {1, 3}) {
    SCOPED_TRACE(jobs);
    EventSearchRequest r = EarthMars(sky, kT0, kT0 + 2000 * years);
    r.jobs = jobs;
    Counter counter;
    const EventStreamResult streamed = StreamAspectEvents(sky.Services(), r, counter);
    ASSERT_TRUE(streamed.ok);
    EXPECT_EQ(counter.events, static_cast<long long>(whole.events.size()));
    EXPECT_EQ(counter.windows, static_cast<long long>(whole.windows.size()));
    EXPECT_GT(counter.events, 10000);
    EXPECT_EQ(counter.faults, 0);
    EXPECT_LT(streamed.mostEventsHeld * 8, counter.events) << streamed.mostEventsHeld;
    EXPECT_LT(streamed.mostWindowsHeld * 8, counter.windows) << streamed.mostWindowsHeld;
  }
}

TEST(AspectWindows, PersonalTransitsUseThePersonalOrbAndPairAPlanetWithItself) {
  // Transiting Mars (0.8°/day) returns to its natal place 450 days after the
  // birth; the personal conjunction orb is 10° / 3.
  Sky sky;
  sky.paths[kMars] = {100.0, 0.8};
  EventSearchRequest r = EarthMars(sky, kT0 + 440.0, kT0 + 460.0);
  r.planets[kEarth] = false;
  r.mode = Mode::Personal1;
  r.birthAJD = kT0;
  const EventSearchResult res = FindAspectEvents(sky.Services(), r);
  ASSERT_TRUE(res.ok) << res.error;
  ASSERT_EQ(res.events.size(), 3u);
  const double orbDays = 10.0 / 3.0 / 0.8;
  EXPECT_NEAR(res.events[0].ajd, kT0 + 450.0 - orbDays, kMinute);
  EXPECT_NEAR(res.events[1].ajd, kT0 + 450.0, kMinute);
  EXPECT_NEAR(res.events[2].ajd, kT0 + 450.0 + orbDays, kMinute);
  EXPECT_EQ(res.events[1].planet1, kMars);
  EXPECT_EQ(res.events[1].planet2, kMars);
}

TEST(AspectWindows, WindowAtAnInstant) {
  Sky sky;
  sky.paths[kMars] = {345.0, 0.8};
  const EventSearchRequest r = EarthMars(sky, 0.0, 0.0);
  const WindowAtResult in = FindWindowAt(sky.Services(), r, kMars, kEarth, kConjunction, kT0 + 10.0);
  ASSERT_TRUE(in.ok);
  EXPECT_EQ(in.window.planet1, kEarth);
  EXPECT_NEAR(in.window.enters, kT0 + 6.25, kMinute);
  EXPECT_NEAR(in.window.leaves, kT0 + 31.25, kMinute);
  ASSERT_EQ(in.window.exact.size(), 1u);
  EXPECT_NEAR(in.window.exact[0], kT0 + 18.75, kMinute);
  EXPECT_FALSE(FindWindowAt(sky.Services(), r, kEarth, kMars, kConjunction, kT0 + 40.0).ok);
  EXPECT_FALSE(FindWindowAt(sky.Services(), r, kEarth, kMars, kSquare, kT0 + 10.0).ok);
}

TEST(AspectWindows, RequestsThatCannotBeSearched) {
  Sky sky;
  EventSearchRequest r = EarthMars(sky, kT0 + 1.0, kT0);
  EXPECT_FALSE(FindAspectEvents(sky.Services(), r).ok);
  r = EarthMars(sky, kT0, kT0 + 1.0);
  r.mode = Mode::Synastry;
  EXPECT_FALSE(FindAspectEvents(sky.Services(), r).ok);
  r.mode = Mode::Personal2;  // without a birthdate
  EXPECT_FALSE(FindAspectEvents(sky.Services(), r).ok);
  r.mode = Mode::WorldTransits;
  r.motion.minDegreesPerDay[kMars] = 2.0;  // above the greatest
  EXPECT_FALSE(FindAspectEvents(sky.Services(), r).ok);
}

}  // namespace
}  // namespace vemo
