// Whole tables for real dates in every mode, through the program's own date
// conversion and positions (planets_vemo, the data files and the Pluto table
// of the program folder). The expected aspects are worked out from the
// Keplerian elements of Standish (standish_positions.h) at Julian dates worked
// out by hand, never from the program's output.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/aspects/date_rows.h"
#include "app/text/program_text.h"
#include "app/time/date_argument.h"
#include "app/time/pluto_table.h"
#include "app/time/positions.h"
#include "standish_positions.h"

namespace vemo {
namespace {

// Standish's fit is good to a few arcminutes over 1800-2050; 0.25° leaves room
// for it, for Earth vs the barycentre and for UT vs TDB.
constexpr double kToleranceDegrees = 0.25;

class RealDates : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const std::string folder = ProgramFolder();
    setUpError_ = SetUpDataFolder(folder);
    LoadProgramText(folder);
    std::string plutoError;
    LoadPlutoTable(kPlutoFileName, plutoError);
  }
  void SetUp() override { ASSERT_EQ(setUpError_, "") << "planets_vemo cannot be loaded"; }
  static std::string setUpError_;
};
std::string RealDates::setUpError_;

double DegreesApart(double a, double b) {
  double d = std::fabs(a - b);
  if (d > 180.0) d = 360.0 - d;
  return d;
}

// Kind of the first aspect (in the kinds' order) within the orbs of degrees
// `orbs` (strict test), and its deviation; 0 when none. `ambiguous` is set
// when some deviation lies within the tolerance of its orb.
int ExpectedKind(double sepDegrees, const double orbs[8], double& deviation, bool& ambiguous) {
  static const double kAngles[8] = {0, 0, 180, 90, 120, 60, 30, 150};
  ambiguous = false;
  int found = 0;
  for (int k = 1; k <= 7; ++k) {
    const double dev = std::fabs(sepDegrees - kAngles[k]);
    if (orbs[k] > 0 && std::fabs(dev - orbs[k]) < kToleranceDegrees) ambiguous = true;
    if (found == 0 && dev < orbs[k]) {
      found = k;
      deviation = dev;
    }
  }
  return found;
}

DateRow Row(const char* text) {
  DateRow row;
  EXPECT_EQ(ParseDateArgument(text, row), "") << text;
  return row;
}

struct TableCase {
  const char* name;
  Mode mode;
  const char* world;
  const char* birth1;
  const char* birth2;
  // Julian dates of the rows worked out by hand:
  // JDN + minutes / 1440 - zone minutes / 1440 - 0.5.
  double jd[3];
};

// 2000-01-01 is day 2451545; 1990-06-15 is 2448058; 1985-02-28 is 2446125;
// 1969-07-20 is 2440423; 2024-04-08 is 2460409.
const TableCase kCases[] = {
    {"WorldAtJ2000", Mode::WorldTransits, "2000-01-01T12:00Z", "", "", {2451545.0, 0, 0}},
    {"WorldEclipseDay", Mode::WorldTransits, "2024-04-08T18:30Z", "", "",
     {2460409.0 + 1110.0 / 1440 - 0.5, 0, 0}},
    {"Natal1", Mode::Natal1, "", "1990-06-15T08:30+02:00", "",
     {0, 2448058.0 + 510.0 / 1440 - 120.0 / 1440 - 0.5, 0}},
    {"Natal2MoonLanding", Mode::Natal2, "", "", "1969-07-20T20:00Z",
     {0, 0, 2440423.0 + 1200.0 / 1440 - 0.5}},
    {"Personal1", Mode::Personal1, "2000-01-01T12:00Z", "1990-06-15T08:30+02:00", "",
     {2451545.0, 2448058.0 + 390.0 / 1440 - 0.5, 0}},
    {"Personal2", Mode::Personal2, "2024-04-08T18:30Z", "", "1969-07-20T20:00Z",
     {2460409.0 + 1110.0 / 1440 - 0.5, 0, 2440423.0 + 1200.0 / 1440 - 0.5}},
    {"Synastry", Mode::Synastry, "", "1990-06-15T08:30+02:00", "1985-02-28T23:30-05:00",
     {0, 2448058.0 + 390.0 / 1440 - 0.5, 2446125.0 + (1410.0 + 300.0) / 1440 - 0.5}},
};

TEST_F(RealDates, WholeTablesAgreeWithIndependentPositions) {
  int pairsChecked = 0;
  int aspectsChecked = 0;
  for (const TableCase& c : kCases) {
    SCOPED_TRACE(c.name);
    std::array<DateRow, 3> rows{};
    const char* texts[3] = {c.world, c.birth1, c.birth2};
    for (int r = 0; r < 3; ++r) {
      if (*texts[r]) rows[static_cast<size_t>(r)] = Row(texts[r]);
    }
    AspectEngine engine(DefaultEngineServices());
    const ComputeStatus st = ComputeFromRows(engine, c.mode, rows, 24, DefaultOrbSettings(), false);
    ASSERT_TRUE(st.Ok) << "row " << st.BadRow << " code " << st.ErrorCode;
    for (int r = 0; r < 3; ++r) {
      if (ModeUsesRow(c.mode, r)) {
        EXPECT_NEAR(engine.TableJulianDates[static_cast<size_t>(r)], c.jd[r], 1e-9) << "row " << r;
      }
    }

    // Position sets from the hand dates.
    const bool two = !IsOneDateMode(c.mode);
    double date0 = 0;
    double date1 = 0;
    switch (c.mode) {
      case Mode::WorldTransits: date0 = c.jd[0]; break;
      case Mode::Natal1: date0 = c.jd[1]; break;
      case Mode::Natal2: date0 = c.jd[2]; break;
      case Mode::Personal1: date0 = c.jd[0]; date1 = c.jd[1]; break;
      case Mode::Personal2: date0 = c.jd[0]; date1 = c.jd[2]; break;
      case Mode::Synastry: date0 = c.jd[1]; date1 = c.jd[2]; break;
    }
    double ref[2][10] = {};
    bool have[2][10] = {};
    for (int p = 1; p <= 9; ++p) {
      for (int set = 0; set < (two ? 2 : 1); ++set) {
        ref[set][p] = test::StandishLongitudeDegrees(p, set == 0 ? date0 : date1);
        const double got = engine.PlanetLongitudes[static_cast<size_t>(set)][static_cast<size_t>(p)];
        have[set][p] = got >= 0 && p <= engine.PlanetCount;
        if (p <= 4) {
          EXPECT_TRUE(have[set][p]) << "planet " << p << " must come from the series";
        }
        if (have[set][p]) {
          EXPECT_LT(DegreesApart(RadiansToDegrees(got), ref[set][p]), kToleranceDegrees)
              << "set " << set << " planet " << p;
        }
      }
    }

    // Every pair: the cell must hold exactly the aspect the reference gives.
    const double divisor = two ? 3.0 : 1.0;
    const double orbs[8] = {0, 10 / divisor, 9 / divisor, 6 / divisor, 7 / divisor,
                            4 / divisor, 3 / divisor, 3 / divisor};
    for (int i = 1; i <= 9; ++i) {
      for (int j = two ? 1 : i + 1; j <= 9; ++j) {
        const int si = two ? 1 : 0;  // two-date rows are set 1 planets
        if (!have[si][i] || !have[0][j]) continue;
        double dev = 0;
        bool ambiguous = false;
        const int kind = ExpectedKind(DegreesApart(ref[si][i], ref[0][j]), orbs, dev, ambiguous);
        if (ambiguous) continue;
        const TableCell& cell = two ? engine.Table.At(i + 1, j + 1) : engine.Table.At(i + 1, j - 1);
        ++pairsChecked;
        EXPECT_EQ(cell.Kind, kind) << PlanetName(i) << " x " << PlanetName(j) << ": " << cell.Text;
        if (kind != 0 && cell.Kind == kind) {
          ++aspectsChecked;
          EXPECT_NEAR(RadiansToDegrees(cell.Deviation), dev, kToleranceDegrees);
          EXPECT_EQ(cell.Sign == 0, c.mode == Mode::Synastry) << "signs except in Synastry";
        }
      }
    }
  }
  EXPECT_GT(pairsChecked, 40);
  EXPECT_GT(aspectsChecked, 5);
}

TEST_F(RealDates, SkippingSafeMidnightsKeepsEveryRecord) {
  // 1989: Saturn, Uranus and Neptune conjunct for years; the searches with the
  // motion bounds must give the records of the plain daily search.
  struct Case {
    Mode mode;
    const char* world;
    const char* birth1;
  };
  const Case cases[] = {{Mode::WorldTransits, "1989-03-01T12:00Z", ""},
                        {Mode::WorldTransits, "2024-04-08T18:30Z", ""},
                        {Mode::Personal1, "1989-03-01T12:00Z", "1988-11-20T06:00+01:00"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.world);
    std::vector<std::string> records[2];
    for (int bounded = 0; bounded < 2; ++bounded) {
      std::array<DateRow, 3> rows{Row(c.world), *c.birth1 ? Row(c.birth1) : DateRow{}, DateRow{}};
      EngineServices services = DefaultEngineServices();
      if (!bounded) services.MaxDailyMotionDegrees = {};
      AspectEngine engine(services);
      ASSERT_TRUE(ComputeFromRows(engine, c.mode, rows, 24, DefaultOrbSettings(), false).Ok);
      engine.GetDurations();
      for (const DurationEntry& e : engine.DurationRecords) records[bounded].push_back(e.Record);
    }
    EXPECT_GT(records[0].size(), 5u);
    EXPECT_EQ(records[1], records[0]);
  }
}

TEST_F(RealDates, WorldTableAtJ2000ByHand) {
  // Published heliocentric longitudes at 2000-01-01 12h: Earth 100.38°,
  // Mercury 253.78°, Venus 182.60°, Mars 359.45°, Jupiter 36.29°, Saturn
  // 45.72°, Uranus 316.41°, Neptune 303.93°, Pluto 250.53°. Worked out with
  // the default orbs, these nine pairs are in aspect and no other:
  struct Expected {
    int a, b, kind;
    double deviationDegrees;
  };
  const Expected expected[] = {
      {kEarth, kPluto, kQuincunx, 0.15},    // 150.15° apart
      {kMercury, kSaturn, kQuincunx, 1.94}, // 151.94°
      {kMercury, kUranus, kSextile, 2.63},  // 62.63°
      {kMercury, kPluto, kConjunction, 3.25},
      {kVenus, kMars, kOpposition, 3.15},   // 176.85°
      {kVenus, kNeptune, kTrine, 1.33},     // 121.33°
      {kJupiter, kSaturn, kConjunction, 9.43},
      {kJupiter, kNeptune, kSquare, 92.36 - 90.0},
      {kSaturn, kUranus, kSquare, 90.0 - 89.31},
  };
  std::array<DateRow, 3> rows{Row("2000-01-01T12:00Z"), DateRow{}, DateRow{}};
  AspectEngine engine(DefaultEngineServices());
  ASSERT_TRUE(ComputeFromRows(engine, Mode::WorldTransits, rows, 24, DefaultOrbSettings(), false).Ok);
  if (engine.PlanetLongitudes[0][kJupiter] < 0 || engine.PlanetCount < 9) {
    GTEST_SKIP() << "the outer-planet data files or the Pluto table are not in the program folder";
  }
  for (const Expected& e : expected) {
    const TableCell& cell = engine.Table.At(e.a + 1, e.b - 1);
    EXPECT_EQ(cell.Kind, e.kind) << PlanetName(e.a) << " x " << PlanetName(e.b);
    EXPECT_NEAR(RadiansToDegrees(cell.Deviation), e.deviationDegrees, 0.1)
        << PlanetName(e.a) << " x " << PlanetName(e.b);
  }
  EXPECT_EQ(engine.GetTotalNumAspects(), 9);
  EXPECT_EQ(engine.Table.At(kVenus + 1, kMars - 1).Text.substr(0, 10), "Opp\r\n3\u00B09'");
  EXPECT_EQ(engine.Table.At(0, 0).Text, "100\u00B022'\r\n10Can22");  // Earth 100.375°
}

}  // namespace
}  // namespace vemo
