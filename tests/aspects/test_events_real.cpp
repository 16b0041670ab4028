// Aspect events through the program's own positions (planets_vemo, the .dac
// files and the Pluto table of the program folder). Each instant is checked
// against the positions a minute before and after it, each span against a
// day-by-day scan of the strict orb test, and the days of entering and
// leaving against the beginning and end searches of the durations report.
// The Jupiter-Saturn conjunction of 2020 is worked out from the two .dac
// records decoded here.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "app/aspects/date_rows.h"
#include "app/aspects/events.h"
#include "app/time/pluto_table.h"
#include "app/time/positions.h"
#include "platform/ordalin/ordalin.h"

namespace vemo {
namespace {

constexpr double kMinute = 1.0 / 1440.0;
constexpr double kTwoPi = 6.283185307179586;

class RealEvents : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    setUpError_ = SetUpDataFolder(ProgramFolder());
    std::string plutoError;
    LoadPlutoTable(kPlutoFileName, plutoError);
  }
  void SetUp() override {
    ASSERT_EQ(setUpError_, "") << "planets_vemo cannot be loaded";
    ASSERT_TRUE(PlutoAvailable());
  }
  static std::string setUpError_;
};
std::string RealEvents::setUpError_;

// 0h UT of a Gregorian date, from the calendar library.
double MidnightUT(int year, int month, int day) {
  EuroDate d{year, month, day, ORDALIN_GREGORIAN, 0, 0};
  euro_date_to_jdn(&d);
  return d.jdn - 0.5;
}

EventSearchRequest Request(Mode mode, double from, double to, std::vector<int> planets = {}) {
  EventSearchRequest r;
  r.mode = mode;
  r.fromAJD = from;
  r.toAJD = to;
  if (!planets.empty()) {
    r.planets.fill(false);
    for (int p : planets) r.planets[static_cast<size_t>(p)] = true;
  }
  return r;
}

// The table's strict test, from positions asked for here.
struct Sky {
  const EventSearchRequest& r;
  OrbTable orbs = SetOrbs(r.settings);

  double First(int p, double t) const {
    return IsPersonalMode(r.mode) ? HelioLongitude(p, r.birthAJD) : HelioLongitude(p, t);
  }
  bool InOrb(int p1, int p2, int kind, double t) const {
    const double dev = std::fabs(AspectSeparation(First(p1, t), HelioLongitude(p2, t)) - AspectAngle(kind));
    return dev < orbs.Orb[static_cast<size_t>(kind)][static_cast<size_t>(OrbColumnOfMode(r.mode))];
  }
  // Signed distance (radians) from the nearer exact point of the kind.
  double Off(int p1, int p2, int kind, double t) const {
    const double d = HelioLongitude(p2, t) - First(p1, t);
    const double x1 = std::remainder(d - AspectAngle(kind), kTwoPi);
    const double x2 = std::remainder(d + AspectAngle(kind), kTwoPi);
    return std::fabs(x1) < std::fabs(x2) ? x1 : x2;
  }
  // The event happens between a minute before and a minute after.
  void CheckToTheMinute(const AspectEvent& e) const {
    const double before = e.ajd - kMinute;
    const double after = e.ajd + kMinute;
    switch (e.event) {
      case EventKind::Enters:
        EXPECT_FALSE(InOrb(e.planet1, e.planet2, e.kind, before));
        EXPECT_TRUE(InOrb(e.planet1, e.planet2, e.kind, after));
        break;
      case EventKind::Leaves:
        EXPECT_TRUE(InOrb(e.planet1, e.planet2, e.kind, before));
        EXPECT_FALSE(InOrb(e.planet1, e.planet2, e.kind, after));
        break;
      case EventKind::Exact:
        EXPECT_NE(Off(e.planet1, e.planet2, e.kind, before) > 0,
                  Off(e.planet1, e.planet2, e.kind, after) > 0);
        break;
    }
  }
};

std::string Describe(const AspectEvent& e) {
  char buf[96];
  std::snprintf(buf, sizeof buf, "%d-%d kind %d event %d at %.5f", e.planet1, e.planet2, e.kind,
                static_cast<int>(e.event), e.ajd);
  return buf;
}

// Day by day over the span: between two samples the strict test may change
// only as the events between them say (+1 entering, -1 leaving). Returns
// the number of changes seen.
int CheckAgainstDailyScan(const EventSearchRequest& r, const EventSearchResult& res) {
  const Sky sky{r};
  const bool personal = IsPersonalMode(r.mode);
  std::vector<int> planets;
  for (int p = 1; p <= r.planetCount; ++p) {
    if (r.planets[static_cast<size_t>(p)]) planets.push_back(p);
  }
  std::map<std::tuple<int, int, int>, std::vector<const AspectEvent*>> byAspect;
  for (const AspectEvent& e : res.events) byAspect[{e.planet1, e.planet2, e.kind}].push_back(&e);
  const double first = std::floor(r.fromAJD) + 0.5;
  std::vector<std::array<double, kPlanetSlots>> lon;
  for (double t = first; t <= r.toAJD; t += 1.0) {
    std::array<double, kPlanetSlots> at{};
    for (int p : planets) at[static_cast<size_t>(p)] = HelioLongitude(p, t);
    lon.push_back(at);
  }
  std::array<double, kPlanetSlots> natal{};
  for (int p : planets) natal[static_cast<size_t>(p)] = personal ? HelioLongitude(p, r.birthAJD) : 0.0;
  int changes = 0;
  for (int a : planets) {
    for (int b : planets) {
      if (!personal && b <= a) continue;
      for (int k = 1; k <= kNumKinds; ++k) {
        const double orb = sky.orbs.Orb[static_cast<size_t>(k)][static_cast<size_t>(OrbColumnOfMode(r.mode))];
        auto in = [&](size_t i) {
          const double l1 = personal ? natal[static_cast<size_t>(a)] : lon[i][static_cast<size_t>(a)];
          return std::fabs(AspectSeparation(l1, lon[i][static_cast<size_t>(b)]) - AspectAngle(k)) < orb;
        };
        const auto& events = byAspect[{a, b, k}];
        size_t next = 0;
        for (size_t i = 0; i + 1 < lon.size(); ++i) {
          const double t0 = first + static_cast<double>(i);
          const double t1 = t0 + 1.0;
          int balance = 0;
          // An instant within a minute of a sample may stand on either side of it.
          bool nearEdge = false;
          while (next < events.size() && events[next]->ajd <= t0 - kMinute) ++next;
          for (size_t j = next; j < events.size() && events[j]->ajd <= t1 + kMinute; ++j) {
            const AspectEvent& e = *events[j];
            nearEdge = nearEdge || std::fabs(e.ajd - t0) < kMinute || std::fabs(e.ajd - t1) < kMinute;
            if (e.ajd <= t0 || e.ajd > t1) continue;
            if (e.event == EventKind::Enters) ++balance;
            if (e.event == EventKind::Leaves) --balance;
          }
          const int seen = static_cast<int>(in(i + 1)) - static_cast<int>(in(i));
          changes += seen != 0;
          if (!nearEdge) {
            EXPECT_EQ(balance, seen) << a << "-" << b << " kind " << k << " between " << t0 << " and " << t1;
          }
        }
      }
    }
  }
  return changes;
}

// The days of entering and leaving in the zone of the world date against the
// beginning and end searches of the table at the middle of each window.
// Returns the largest difference in days of the slow pairs (both Uranus or
// beyond), whose searches step up to 11 days at a time.
double CheckDays(const EventSearchRequest& r, const EventSearchResult& res, size_t every, int& compared) {
  const int zones[] = {0, 60, -300, 330};
  const bool personal = IsPersonalMode(r.mode);
  double slowest = 0.0;
  compared = 0;
  for (size_t i = 0; i < res.windows.size(); i += every) {
    const AspectWindow& w = res.windows[i];
    if (w.enters < 0 || w.leaves < 0) continue;
    const int z = zones[i % 4];
    const double mid = 0.5 * (w.enters + w.leaves);
    ComputeRequest c;
    c.mode = r.mode;
    c.JulianDates = {mid, personal ? r.birthAJD : -1.0, -1.0};
    c.WorldZoneMinutes = z;
    c.WorldLocalDay = mid + z / 1440.0 + 0.5;
    AspectEngine engine(DefaultEngineServices());
    if (!engine.Compute(c, r.settings).Ok) {
      ADD_FAILURE() << "no table at " << mid;
      continue;
    }
    const int column = personal ? kOrbColumnPersonal : kOrbColumnOneDate;
    const double begin = engine.BeginningOfAspect(w.planet1, w.planet2, w.kind, column, z);
    const double end = engine.EndOfAspect(w.planet1, w.planet2, w.kind, column, z);
    const double localEnters = w.enters + z / 1440.0 + 0.5;
    const double localLeaves = w.leaves + z / 1440.0 + 0.5;
    auto nearMidnight = [](double local) {
      const double f = local - std::floor(local);
      return f < kMinute || f > 1.0 - kMinute;
    };
    if (nearMidnight(localEnters) || nearMidnight(localLeaves)) continue;
    ++compared;
    if (w.planet1 >= kUranus && w.planet2 >= kUranus) {
      slowest = std::max(
          {slowest, std::fabs(begin - std::floor(localEnters)), std::fabs(end - std::floor(localLeaves))});
      continue;
    }
    EXPECT_EQ(begin, std::floor(localEnters))
        << w.planet1 << "-" << w.planet2 << " kind " << w.kind << " zone " << z;
    EXPECT_EQ(end, std::floor(localLeaves))
        << w.planet1 << "-" << w.planet2 << " kind " << w.kind << " zone " << z;
  }
  return slowest;
}

// Longitude of date (radians, not reduced) from one record of a .dac file:
// JD0 at byte 5, the longitude's coefficients of powers 0..6 from byte 25,
// ten bytes each, in time units of 2000 days from JD0.
struct DacRecord {
  double jd0 = 0.0;
  double a[7] = {};
  double Longitude(double jd) const {
    const double t = (jd - jd0) / 2000.0;
    double v = a[6];
    for (int p = 5; p >= 0; --p) v = v * t + a[p];
    return v;
  }
};

DacRecord ReadDacRecord(const std::string& file, int year, int firstYear) {
  DacRecord rec;
  std::ifstream in(DataFolder() + file, std::ios::binary);
  EXPECT_TRUE(in) << file;
  in.seekg(235L * ((year - firstYear) / 5));
  char buf[236] = {};
  in.read(buf, 235);
  EXPECT_EQ(in.gcount(), 235) << file;
  rec.jd0 = std::strtod(buf + 5, nullptr);
  for (int p = 0; p < 7; ++p) rec.a[p] = std::strtod(buf + 25 + 10 * p, nullptr);
  return rec;
}

TEST_F(RealEvents, JupiterSaturnConjunctionOf2020) {
  // Both planets are reduced to J2000 by the same correction of longitude,
  // so the conjunction of date is the conjunction in J2000: the root of the
  // difference of the two record polynomials (records of 2020-2024).
  const DacRecord jupiter = ReadDacRecord("jupiter.dac", 2020, -4000);
  const DacRecord saturn = ReadDacRecord("saturn.dac", 2020, -4000);
  auto apart = [&](double t) { return std::remainder(jupiter.Longitude(t) - saturn.Longitude(t), kTwoPi); };
  double lo = MidnightUT(2020, 10, 15);
  double hi = MidnightUT(2020, 11, 20);
  ASSERT_LT(apart(lo), 0.0);  // Jupiter behind, overtaking
  ASSERT_GT(apart(hi), 0.0);
  for (int i = 0; i < 60; ++i) {
    const double mid = 0.5 * (lo + hi);
    (apart(mid) < 0 ? lo : hi) = mid;
  }
  const double exact = 0.5 * (lo + hi);

  const EventSearchRequest r =
      Request(Mode::WorldTransits, MidnightUT(2020, 1, 1), MidnightUT(2021, 1, 1), {kJupiter, kSaturn});
  const EventSearchResult res = FindAspectEvents(DefaultEngineServices(), r);
  ASSERT_TRUE(res.ok) << res.error;
  const auto hit = std::find_if(res.events.begin(), res.events.end(), [](const AspectEvent& e) {
    return e.kind == kConjunction && e.event == EventKind::Exact;
  });
  ASSERT_NE(hit, res.events.end());
  EXPECT_NEAR(hit->ajd, exact, kMinute);
  EXPECT_NEAR(exact, MidnightUT(2020, 11, 2) + 0.78, 0.1);  // 2 November 2020, about 18:43 UT
  ASSERT_EQ(res.windows.size(), 1u);
  EXPECT_TRUE(res.windows[0].leavesAfterSpan);
  EXPECT_GT(res.windows[0].leaves, MidnightUT(2021, 3, 1));
}

TEST_F(RealEvents, NeptunePlutoTrineAround1739TurnsThrough) {
  // Pluto near perihelion outruns Neptune: their separation turns twice in
  // one stay within the trine's orb and passes the exact angle each way.
  const EventSearchRequest r =
      Request(Mode::WorldTransits, MidnightUT(1739, 1, 1), MidnightUT(1740, 1, 1), {kNeptune, kPluto});
  const EventSearchResult res = FindAspectEvents(DefaultEngineServices(), r);
  ASSERT_TRUE(res.ok) << res.error;
  ASSERT_EQ(res.windows.size(), 1u);
  const AspectWindow& w = res.windows[0];
  EXPECT_EQ(w.kind, kTrine);
  EXPECT_TRUE(w.entersBeforeSpan);
  EXPECT_TRUE(w.leavesAfterSpan);
  ASSERT_GE(w.exact.size(), 2u);
  const Sky sky{r};
  // Every instant to the minute.
  auto check = [&](EventKind kind, double t) {
    sky.CheckToTheMinute({kind, t, kNeptune, kPluto, kTrine, 0.0, 0});
  };
  check(EventKind::Enters, w.enters);
  check(EventKind::Leaves, w.leaves);
  for (double t : w.exact) check(EventKind::Exact, t);
  // Day by day through the whole stay: in orb throughout, and the sign of
  // the distance from the exact angle changes once per exact instant.
  int signChanges = 0;
  double previous = sky.Off(kNeptune, kPluto, kTrine, w.enters + 0.5);
  for (double t = w.enters + 0.5; t < w.leaves; t += 1.0) {
    EXPECT_TRUE(sky.InOrb(kNeptune, kPluto, kTrine, t)) << t;
    const double off = sky.Off(kNeptune, kPluto, kTrine, t);
    signChanges += (off > 0) != (previous > 0);
    previous = off;
  }
  EXPECT_EQ(signChanges, static_cast<int>(w.exact.size()));
  EXPECT_FALSE(sky.InOrb(kNeptune, kPluto, kTrine, w.enters - 1.0));
  EXPECT_FALSE(sky.InOrb(kNeptune, kPluto, kTrine, w.leaves + 1.0));
}

TEST_F(RealEvents, WorldTransitsDecade) {
  const EventSearchRequest r = Request(Mode::WorldTransits, MidnightUT(2000, 1, 1), MidnightUT(2010, 1, 1));
  const EventSearchResult res = FindAspectEvents(DefaultEngineServices(), r);
  ASSERT_TRUE(res.ok) << res.error;
  EXPECT_TRUE(res.gaps.empty());
  EXPECT_GT(res.events.size(), 10000u);
  const Sky sky{r};
  for (size_t i = 0; i < res.events.size(); i += 41) {
    SCOPED_TRACE(Describe(res.events[i]));
    sky.CheckToTheMinute(res.events[i]);
  }
  EXPECT_GT(CheckAgainstDailyScan(r, res), 5000);
  int compared = 0;
  const double slow = CheckDays(r, res, 23, compared);
  EXPECT_GT(compared, 100);
  EXPECT_LE(slow, 11.0);
  RecordProperty("slowPairDaysApart", std::to_string(slow));
}

// Two spans that overlap: every window they share has the same entering,
// exact and leaving instants to the minute, wherever each search began.
TEST_F(RealEvents, InstantsDoNotDependOnWhereTheSpanBegins) {
  const auto windows = [](double from, double to) {
    const EventSearchResult res =
        FindAspectEvents(DefaultEngineServices(), Request(Mode::WorldTransits, from, to));
    EXPECT_TRUE(res.ok) << res.error;
    return res.windows;
  };
  const std::vector<AspectWindow> a = windows(MidnightUT(2024, 1, 1), MidnightUT(2024, 6, 30));
  const std::vector<AspectWindow> b = windows(MidnightUT(2024, 3, 15) + 0.3217, MidnightUT(2024, 9, 30));
  int shared = 0;
  for (const AspectWindow& x : a) {
    for (const AspectWindow& y : b) {
      if (x.planet1 != y.planet1 || x.planet2 != y.planet2 || x.kind != y.kind || x.leaves < y.enters ||
          y.leaves < x.enters) {
        continue;
      }
      ++shared;
      SCOPED_TRACE(std::to_string(x.planet1) + "-" + std::to_string(x.planet2) + " kind " + std::to_string(x.kind));
      EXPECT_EQ(x.enters, y.enters) << (x.enters - y.enters) * 1440 << " " << x.enters * 1440;
      EXPECT_EQ(x.leaves, y.leaves) << (x.leaves - y.leaves) * 1440;
      EXPECT_EQ(x.exact, y.exact) << (x.exact.empty() || y.exact.empty() ? 0 : (x.exact[0] - y.exact[0]) * 1440);
    }
  }
  EXPECT_GT(shared, 50);
}

TEST_F(RealEvents, PersonalTransitsDecade) {
  // Natal planets of 1969-07-20 20:00 UT against the transits of 2020-2029.
  EventSearchRequest r = Request(Mode::Personal1, MidnightUT(2020, 1, 1), MidnightUT(2030, 1, 1));
  r.birthAJD = MidnightUT(1969, 7, 20) + 20.0 / 24.0;
  const EventSearchResult res = FindAspectEvents(DefaultEngineServices(), r);
  ASSERT_TRUE(res.ok) << res.error;
  EXPECT_GT(res.events.size(), 5000u);
  const Sky sky{r};
  for (size_t i = 0; i < res.events.size(); i += 29) {
    SCOPED_TRACE(Describe(res.events[i]));
    sky.CheckToTheMinute(res.events[i]);
  }
  EXPECT_GT(CheckAgainstDailyScan(r, res), 3000);
  int compared = 0;
  const double slow = CheckDays(r, res, 17, compared);
  EXPECT_GT(compared, 100);
  EXPECT_LE(slow, 11.0);
  RecordProperty("slowPairDaysApart", std::to_string(slow));
}

TEST_F(RealEvents, SlowPairsOverTwoCenturies) {
  // Uranus, Neptune and Pluto, 1600-2199: the windows' days against the
  // beginning and end searches, whose steps grow to 11 days for these pairs.
  const EventSearchRequest r = Request(Mode::WorldTransits, MidnightUT(1600, 1, 1), MidnightUT(2200, 1, 1),
                                       {kUranus, kNeptune, kPluto});
  const EventSearchResult res = FindAspectEvents(DefaultEngineServices(), r);
  ASSERT_TRUE(res.ok) << res.error;
  const Sky sky{r};
  for (const AspectEvent& e : res.events) {
    SCOPED_TRACE(Describe(e));
    sky.CheckToTheMinute(e);
  }
  int compared = 0;
  const double slow = CheckDays(r, res, 1, compared);
  EXPECT_GT(compared, 15);
  EXPECT_LE(slow, 11.0);
  std::printf("slow pairs 1600-2199: %d windows, days of entering and leaving up to %.0f apart\n", compared,
              slow);
  RecordProperty("slowPairDaysApart", std::to_string(slow));
}

TEST_F(RealEvents, EventsStopWhereTheDataStop) {
  // The Pluto table ends with 31 December 2199; Uranus and Neptune begin in 1600.
  const double end2199 = MidnightUT(2200, 1, 1);
  EventSearchRequest r =
      Request(Mode::WorldTransits, MidnightUT(2195, 1, 1), MidnightUT(2205, 1, 1), {kJupiter, kPluto});
  EventSearchResult res = FindAspectEvents(DefaultEngineServices(), r);
  ASSERT_TRUE(res.ok) << res.error;
  ASSERT_EQ(res.gaps.size(), 1u);
  EXPECT_EQ(res.gaps[0].planet, kPluto);
  EXPECT_NEAR(res.gaps[0].fromAJD, end2199, kMinute);
  EXPECT_EQ(res.gaps[0].toAJD, r.toAJD);
  for (const AspectEvent& e : res.events) EXPECT_LT(e.ajd, end2199);
  for (const AspectWindow& w : res.windows) {
    if (w.leaves < 0) {
      EXPECT_FALSE(w.leavesAfterSpan);
    }
  }

  r = Request(Mode::WorldTransits, MidnightUT(1595, 1, 1), MidnightUT(1605, 1, 1),
              {kEarth, kUranus, kNeptune});
  res = FindAspectEvents(DefaultEngineServices(), r);
  ASSERT_TRUE(res.ok) << res.error;
  ASSERT_EQ(res.gaps.size(), 2u);
  for (const PositionGap& g : res.gaps) {
    EXPECT_TRUE(g.planet == kUranus || g.planet == kNeptune);
    EXPECT_EQ(g.fromAJD, r.fromAJD);
    EXPECT_NEAR(g.toAJD, MidnightUT(1600, 1, 1), kMinute);
  }
  bool earthBefore1600 = false;
  for (const AspectEvent& e : res.events) {
    if (e.planet2 >= kUranus) {
      EXPECT_GE(e.ajd, MidnightUT(1600, 1, 1) - kMinute);
    }
    earthBefore1600 = earthBefore1600 || e.ajd < MidnightUT(1600, 1, 1);
  }
  EXPECT_FALSE(earthBefore1600);  // Earth's only partners start in 1600
}

TEST_F(RealEvents, WindowAtTheInstantOfATable) {
  // The window of the table's Jupiter-Saturn conjunction on 2020-12-21 is
  // the one the search of the year finds.
  const double t = MidnightUT(2020, 12, 21) + 0.75;
  const EventSearchRequest r = Request(Mode::WorldTransits, 0.0, 0.0);
  const WindowAtResult at = FindWindowAt(DefaultEngineServices(), r, kSaturn, kJupiter, kConjunction, t);
  ASSERT_TRUE(at.ok);
  const EventSearchResult year = FindAspectEvents(
      DefaultEngineServices(),
      Request(Mode::WorldTransits, MidnightUT(2020, 1, 1), MidnightUT(2021, 1, 1), {kJupiter, kSaturn}));
  ASSERT_EQ(year.windows.size(), 1u);
  EXPECT_NEAR(at.window.enters, year.windows[0].enters, kMinute);
  EXPECT_NEAR(at.window.leaves, year.windows[0].leaves, kMinute);
  ASSERT_EQ(at.window.exact.size(), 1u);
  EXPECT_NEAR(at.window.exact[0], year.windows[0].exact[0], kMinute);
  EXPECT_FALSE(FindWindowAt(DefaultEngineServices(), r, kJupiter, kSaturn, kOpposition, t).ok);
}

// The span searched in stretches, on threads and with progress, gives what
// one search of the whole span gives: windows joined across the cuts (Pluto's
// slow ones span them all), events, gaps where positions end (Pluto after
// 2199) and a birthdate's natal gap; the progress comes in order up to the end.
TEST_F(RealEvents, StretchesOnThreadsGiveTheWholeSpansResult) {
  const double birth = MidnightUT(1969, 7, 20) + 20.0 / 24.0;
  struct Case {
    const char* name;
    EventSearchRequest request;
  } cases[] = {
      {"World2020s", Request(Mode::WorldTransits, MidnightUT(2021, 3, 5), MidnightUT(2026, 9, 1))},
      {"PastPlutosTable", Request(Mode::WorldTransits, MidnightUT(2195, 1, 1), MidnightUT(2203, 6, 1))},
      {"Personal", Request(Mode::Personal1, MidnightUT(2000, 1, 1), MidnightUT(2005, 1, 1))},
      // Uranus, Neptune and Pluto begin in 1600: their windows then, whose
      // entering is not known, are found in a middle stretch yet listed first.
      {"BeforeTheDataBegin", Request(Mode::WorldTransits, MidnightUT(1596, 1, 1), MidnightUT(1604, 1, 1))},
  };
  cases[2].request.birthAJD = birth;
  for (Case& c : cases) {
    SCOPED_TRACE(c.name);
    const EventSearchResult whole = FindAspectEvents(DefaultEngineServices(), c.request);
    ASSERT_TRUE(whole.ok);
    for (int jobs : {1, 3}) {
      SCOPED_TRACE(jobs);
      EventSearchRequest r = c.request;
      r.jobs = jobs;
      std::vector<double> reached;
      r.progress = [&reached](double t) { reached.push_back(t); };
      const EventSearchResult parts = FindAspectEvents(DefaultEngineServices(), r);
      ASSERT_TRUE(parts.ok);
      ASSERT_GE(reached.size(), 4u);
      EXPECT_TRUE(std::is_sorted(reached.begin(), reached.end()));
      EXPECT_EQ(reached.back(), r.toAJD);
      ASSERT_EQ(parts.windows.size(), whole.windows.size());
      for (size_t i = 0; i < whole.windows.size(); ++i) {
        const AspectWindow& a = parts.windows[i];
        const AspectWindow& b = whole.windows[i];
        EXPECT_TRUE(a.planet1 == b.planet1 && a.planet2 == b.planet2 && a.kind == b.kind && a.enters == b.enters &&
                    a.leaves == b.leaves && a.exact == b.exact && a.entersBeforeSpan == b.entersBeforeSpan &&
                    a.leavesAfterSpan == b.leavesAfterSpan && !a.joinsBefore && !a.joinsAfter)
            << "window " << i;
      }
      ASSERT_EQ(parts.events.size(), whole.events.size());
      for (size_t i = 0; i < whole.events.size(); ++i) {
        const AspectEvent& a = parts.events[i];
        const AspectEvent& b = whole.events[i];
        EXPECT_TRUE(a.event == b.event && a.ajd == b.ajd && a.planet1 == b.planet1 && a.planet2 == b.planet2 &&
                    a.kind == b.kind && a.deviation == b.deviation && a.window == b.window)
            << "event " << i;
      }
      ASSERT_EQ(parts.gaps.size(), whole.gaps.size());
      for (size_t i = 0; i < whole.gaps.size(); ++i) {
        EXPECT_EQ(parts.gaps[i].planet, whole.gaps[i].planet);
        EXPECT_EQ(parts.gaps[i].fromAJD, whole.gaps[i].fromAJD);
        EXPECT_EQ(parts.gaps[i].toAJD, whole.gaps[i].toAJD);
      }
    }
  }
}

// Jupiter..Neptune interpolated over their .dac records give the events of
// their own positions, to the bit, for fewer positions. A planet whose
// positions are not a polynomial (Jupiter with a ripple of 1e-9 rad) or a
// record with positions missing (Uranus and Neptune before 1600) is not
// fitted, and its events are still those of its positions.
TEST_F(RealEvents, FittedOuterPlanetsGiveTheirPositionsOwnEvents) {
  const auto rippled = [](int planet, double ajd) {
    const double v = HelioLongitude(planet, ajd);
    return planet == kJupiter && v >= 0 ? v + 1e-9 * std::sin(ajd / 7.0) : v;
  };
  struct Case {
    const char* name;
    EventSearchRequest request;
    bool ripple;
    double positionsShare;  // at most, of those without fits
  } cases[] = {
      {"WorldAcrossRecords", Request(Mode::WorldTransits, MidnightUT(1998, 6, 1), MidnightUT(2011, 3, 1)), false, 0.8},
      {"Personal", Request(Mode::Personal1, MidnightUT(2003, 1, 1), MidnightUT(2009, 1, 1)), false, 1.0},
      {"BeforeTheDataBegin", Request(Mode::WorldTransits, MidnightUT(1596, 1, 1), MidnightUT(1602, 1, 1)), false,
       1.0},
      {"NotAPolynomial", Request(Mode::WorldTransits, MidnightUT(2001, 1, 1), MidnightUT(2004, 1, 1)), true, 1.0},
  };
  cases[1].request.birthAJD = MidnightUT(1969, 7, 20) + 20.0 / 24.0;
  using Row = std::tuple<double, int, int, int, int, double, long>;
  const auto rows = [](const EventSearchResult& res) {
    std::vector<Row> out;
    for (const AspectEvent& e : res.events)
      out.emplace_back(e.ajd, e.planet1, e.planet2, e.kind, static_cast<int>(e.event), e.deviation, e.window);
    for (const AspectWindow& w : res.windows) out.emplace_back(w.enters, w.planet1, w.planet2, w.kind, -1, w.leaves, 0);
    return out;
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EngineServices fitted = DefaultEngineServices();
    if (c.ripple) fitted.HelioLongitude = rippled;
    EngineServices plain = fitted;
    plain.PolynomialRecords = {};
    const EventSearchResult a = FindAspectEvents(fitted, c.request);
    const EventSearchResult b = FindAspectEvents(plain, c.request);
    ASSERT_TRUE(a.ok && b.ok);
    EXPECT_GT(b.events.size(), 500u);
    EXPECT_EQ(rows(a), rows(b));
    EXPECT_LE(static_cast<double>(a.positionsComputed), c.positionsShare * static_cast<double>(b.positionsComputed));
  }
}

// A receiver that stops the search is not called again.
TEST_F(RealEvents, AStreamStopsWhenItsReceiverSaysSo) {
  struct Stopper : EventReceiver {
    int calls = 0;
    bool Window(const AspectWindow&, long, const std::vector<PositionGap>&) override { return ++calls < 10; }
    bool Event(const AspectEvent&, const AspectWindow&) override { return ++calls < 10; }
  } stopper;
  EventSearchRequest r = Request(Mode::WorldTransits, MidnightUT(1990, 1, 1), MidnightUT(2010, 1, 1));
  r.jobs = 2;
  const EventStreamResult stopped = StreamAspectEvents(DefaultEngineServices(), r, stopper);
  EXPECT_TRUE(stopped.ok && stopped.stopped);
  EXPECT_EQ(stopper.calls, 10);
}

}  // namespace
}  // namespace vemo
