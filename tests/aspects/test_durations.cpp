// Beginning and end searches, duration records and the aspect-cell click,
// over planets that move uniformly so every entry and exit day is known.
#include <gtest/gtest.h>

#include <string>

#include "app/aspects/engine.h"
#include "app/time/date_texts.h"
#include "fake_sky.h"

namespace vemo {
namespace {

using test::FakeSky;

constexpr int D = 2460000;                    // the world date's day number
constexpr double kBirth1 = 2440000.0;
constexpr double kBirth2 = 2445000.0;

// World date: day D at 12:00 local time in a zone `zone` minutes east.
ComputeRequest World(Mode mode, int zone = 0) {
  ComputeRequest r;
  r.mode = mode;
  r.JulianDates = {D + 0.5 - zone / 1440.0 - 0.5, kBirth1, kBirth2};
  r.WorldZoneMinutes = zone;
  r.WorldLocalDay = D + 0.5;
  return r;
}

struct SearchRow {
  const char* name;
  double marsAtNoon;  // degrees; Earth stands at 0°, Mars moves 1°/day
  double begin, end;
};

class ConjunctionSearchTest : public ::testing::TestWithParam<SearchRow> {};

TEST_P(ConjunctionSearchTest, DaysOfEntryAndExit) {
  const SearchRow& r = GetParam();
  FakeSky sky;
  sky.Set(D, kEarth, 0.0);
  sky.Set(D, kMars, r.marsAtNoon, 1.0);
  AspectEngine engine(sky.Services());
  ASSERT_TRUE(engine.Compute(World(Mode::WorldTransits), DefaultOrbSettings()).Ok);
  EXPECT_EQ(engine.BeginningOfAspect(kEarth, kMars, kConjunction, 0, 0), r.begin);
  EXPECT_EQ(engine.EndOfAspect(kEarth, kMars, kConjunction, 0, 0), r.end);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ConjunctionSearchTest,
    ::testing::Values(
        // Out of orb at the opening midnight (10.25° away), in by noon.
        SearchRow{"EntersInTheMorning", 350.25, D, D + 20},
        // In orb at noon, out at the closing midnight.
        SearchRow{"LeavesInTheEvening", 9.75, D - 20, D},
        SearchRow{"ExactAtNoon", 0.0, D - 10, D + 10}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BeginningAndEnd, MidnightsAreThoseOfTheWorldDatesZone) {
  // Mars 9.98° before Earth at 0h UT of day D, closing at 1°/day: in orb at
  // 0h UT, out at 0h of GMT+1 (an hour earlier).
  for (const auto& [zone, begin] : {std::pair{0, D - 1}, std::pair{60, D}}) {
    FakeSky sky;
    sky.Set(D - 0.5, kEarth, 0.0);
    sky.Set(D - 0.5, kMars, 350.02, 1.0);
    AspectEngine engine(sky.Services());
    ASSERT_TRUE(engine.Compute(World(Mode::WorldTransits, zone), DefaultOrbSettings()).Ok);
    EXPECT_EQ(engine.BeginningOfAspect(kEarth, kMars, kConjunction, 0, zone), begin) << zone;
  }
}

TEST(BeginningAndEnd, SlowPairsTakeLongStepsAndOvershootByAtMostTenDays) {
  // Opposition exact at the world date, separating by 0.01°/day: the 9° orb
  // is left 900 days either side.
  auto search = [](int a, int b, double& begin, double& end) {
    FakeSky sky;
    sky.Set(D, a, 0.0, 0.01);
    sky.Set(D, b, 180.0);
    AspectEngine engine(sky.Services());
    EXPECT_TRUE(engine.Compute(World(Mode::WorldTransits), DefaultOrbSettings()).Ok);
    sky.calls = 0;
    begin = engine.BeginningOfAspect(a, b, kOpposition, 0, 0);
    end = engine.EndOfAspect(a, b, kOpposition, 0, 0);
    return sky.calls;
  };
  double b = 0;
  double e = 0;
  const long daily = search(kMars, kNeptune, b, e);
  EXPECT_EQ(b, D - 900);
  EXPECT_EQ(e, D + 900);
  const long slow = search(kUranus, kNeptune, b, e);
  EXPECT_LE(b, D - 900);
  EXPECT_GE(b, D - 910);
  EXPECT_GE(e, D + 900);
  EXPECT_LE(e, D + 910);
  EXPECT_LT(slow * 3, daily);
}

TEST(BeginningAndEnd, PersonalTransitStepsByBothPlanetNumbers) {
  // Transiting Pluto over a natal position at 100°, 0.01°/day; personal
  // conjunction orb 10°/3.
  auto calls = [](int natal, double& begin) {
    FakeSky sky;
    sky.Set(kBirth1, natal, 100.0);
    sky.Set(D, kPluto, 100.0, 0.01);
    AspectEngine engine(sky.Services());
    EXPECT_TRUE(engine.Compute(World(Mode::Personal1), DefaultOrbSettings()).Ok);
    sky.calls = 0;
    begin = engine.BeginningOfAspect(natal, kPluto, kConjunction, 1, 0);
    return sky.calls;
  };
  double toMars = 0;
  double toUranus = 0;
  const long daily = calls(kMars, toMars);
  const long stepped = calls(kUranus, toUranus);
  EXPECT_EQ(toMars, D - 333);  // 3°20' at 0.01°/day
  EXPECT_LE(toUranus, toMars);
  EXPECT_GE(toUranus, toMars - 10);
  EXPECT_LT(stepped * 3, daily);
}

TEST(BeginningAndEnd, SkippingSafeMidnightsGivesTheDailyAnswer) {
  // Earth at 0.9°/day and Saturn at 0.03°/day from a range of starting
  // separations, with and without the motion bounds (1°/day and 0.04°/day).
  for (double start = 0.0; start < 360.0; start += 7.3) {
    SCOPED_TRACE(start);
    double days[2][2] = {};
    long calls[2] = {};
    for (int bounded = 0; bounded < 2; ++bounded) {
      FakeSky sky;
      sky.Set(D, kEarth, start, 0.9);
      sky.Set(D, kSaturn, 0.0, 0.03);
      EngineServices services = sky.Services();
      if (bounded) {
        services.MaxDailyMotionDegrees[kEarth] = 1.0;
        services.MaxDailyMotionDegrees[kSaturn] = 0.04;
      }
      AspectEngine engine(services);
      ASSERT_TRUE(engine.Compute(World(Mode::WorldTransits), DefaultOrbSettings()).Ok);
      const TableCell& cell = engine.Table.At(kEarth + 1, kSaturn - 1);
      if (cell.Kind == 0) break;
      sky.calls = 0;
      days[bounded][0] = engine.BeginningOfAspect(kEarth, kSaturn, cell.Kind, 0, 0);
      days[bounded][1] = engine.EndOfAspect(kEarth, kSaturn, cell.Kind, 0, 0);
      calls[bounded] = sky.calls;
    }
    EXPECT_EQ(days[1][0], days[0][0]);
    EXPECT_EQ(days[1][1], days[0][1]);
    EXPECT_LE(calls[1], calls[0]);
  }
}

TEST(BeginningAndEnd, LeavingTheDataRangeGivesUnknown) {
  FakeSky sky;
  sky.Set(D, kEarth, 0.0);
  sky.Set(D, kMars, 0.0, 0.1);
  sky.DataStartsAt(kMars, D - 5.0);
  AspectEngine engine(sky.Services());
  ASSERT_TRUE(engine.Compute(World(Mode::WorldTransits), DefaultOrbSettings()).Ok);
  EXPECT_EQ(engine.BeginningOfAspect(kEarth, kMars, kConjunction, 0, 0), -1.0);
  EXPECT_EQ(engine.EndOfAspect(kEarth, kMars, kConjunction, 0, 0), D + 100);
}

TEST(BeginningAndEnd, StaticModesHaveNoSearch) {
  FakeSky sky;
  sky.Set(kBirth1, kEarth, 0.0);
  sky.Set(kBirth1, kMars, 1.0, 0.5);
  AspectEngine engine(sky.Services());
  ASSERT_TRUE(engine.Compute(World(Mode::Natal1), DefaultOrbSettings()).Ok);
  EXPECT_EQ(engine.BeginningOfAspect(kEarth, kMars, kConjunction, 0, 0), -1.0);
}

TEST(DurationRecords, LayoutOfEachKind) {
  struct Row {
    const char* name;
    std::string record;
    const char* expected;
  };
  const Row rows[] = {
      {"SynastryDashes", MakeDurationRecord(3, 4, 4, 0.012345, RecordDates::Dashes),
       " 3 4 3 40.012345 ----------------------"},
      {"Searched", MakeDurationRecord(1, 4, 1, 0.17017, RecordDates::Searched, D, D + 20),
       " 1 4 1 10.170170  2460000 2460020    21"},
      {"BeginningUnknown", MakeDurationRecord(7, 8, 2, 0.1, RecordDates::Searched, -1, D),
       " 7 8 7 20.100000       -1 2460000      "},
      {"MidpointBlanks", MakeDurationRecord(5, 10, 1, 0.001, RecordDates::Blanks),
       " 510 5 10.001000                       "},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(r.record, r.expected) << r.name;
    EXPECT_EQ(r.record.size(), 39u) << r.name;
  }
}

TEST(DurationRecords, GetDurationsNamesPlanetsAsEachModeDoes) {
  FakeSky sky;
  // World/Natal: Earth-Mars conjunction. Personal: natal Earth, transiting
  // Mars. Synastry: Venus (1st birthdate) trine Mars (2nd).
  sky.Set(D, kEarth, 0.0);
  sky.Set(D, kMars, 350.25, 1.0);
  AspectEngine engine(sky.Services());
  ASSERT_TRUE(engine.Compute(World(Mode::WorldTransits), DefaultOrbSettings()).Ok);
  engine.GetDurations();
  ASSERT_EQ(engine.DurationRecords.size(), 1u);
  EXPECT_EQ(engine.DurationRecords[0].Record.substr(0, 17), " 1 4 1 10.170170 ");
  EXPECT_EQ(engine.DurationRecords[0].Record.substr(17), " 2460000 2460020    21");

  FakeSky s2;
  s2.Set(kBirth1, kVenus, 100.0);
  s2.Set(kBirth2, kMars, 220.5);
  s2.Set(kBirth1, kMars, -99.0);
  s2.Set(kBirth2, kVenus, -99.0);
  AspectEngine syn(s2.Services());
  ASSERT_TRUE(syn.Compute(World(Mode::Synastry), DefaultOrbSettings()).Ok);
  syn.GetDurations();
  ASSERT_EQ(syn.DurationRecords.size(), 1u);
  EXPECT_EQ(syn.DurationRecords[0].Record, " 3 4 3 40.008727 ----------------------");
  EXPECT_FALSE(syn.DurationRecords[0].Searched);
}

TEST(DurationRecords, PersonalTransitRecordStartsWithNatalPlanet) {
  FakeSky sky;
  sky.Set(kBirth1, kEarth, 0.0);
  sky.Set(D, kEarth, -99.0);  // only the natal Earth
  sky.Set(D, kMars, 1.0, 1.0);
  AspectEngine engine(sky.Services());
  ASSERT_TRUE(engine.Compute(World(Mode::Personal1), DefaultOrbSettings()).Ok);
  engine.GetDurations();
  ASSERT_EQ(engine.DurationRecords.size(), 1u);
  const DurationEntry& r = engine.DurationRecords[0];
  EXPECT_EQ(r.Planet1, kEarth);
  EXPECT_EQ(r.Planet2, kMars);
  // Personal conjunction orb 3°20': entered 4 days ago, left in 2 days.
  EXPECT_EQ(r.Beginning, D - 4);
  EXPECT_EQ(r.End, D + 2);
  EXPECT_EQ(r.Record.substr(0, 8), " 1 4 1 1");
}

TEST(CellClick, WorldTransitQuestion) {
  FakeSky sky;
  sky.Set(D, kEarth, 0.0);
  sky.Set(D, kMars, 350.25, 1.0);
  AspectEngine engine(sky.Services());
  ASSERT_TRUE(engine.Compute(World(Mode::WorldTransits), DefaultOrbSettings()).Ok);
  const AspectClickInfo info = engine.AspectCellClick(9 * 2 + 3);
  ASSERT_TRUE(info.Act);
  EXPECT_EQ(info.Sentence, "Earth conjunct Mars");
  const std::string orb = "With an orb of 10\u00B0 0' this conjunction\r\nbegins on day 2460000\r\n"
                          "and ends on day 2460020.";
  EXPECT_EQ(info.OrbText, orb);
  EXPECT_FALSE(info.ShowGraph);
  // The statement's period gives way to the question mark.
  EXPECT_EQ(info.Question, "Earth conjunct Mars T162\r\n\r\n" + orb.substr(0, orb.size() - 1) + "?");
}

// German word order, and the demonstrative agreeing with the noun.
TEST(CellClick, WorldTransitQuestionInGerman) {
  FakeSky sky;
  sky.Set(D, kEarth, 0.0);
  sky.Set(D, kMars, 240.25, 1.0);
  SetNamesLanguage(kGerman);
  AspectEngine engine(sky.Services());
  ASSERT_TRUE(engine.Compute(World(Mode::WorldTransits), DefaultOrbSettings()).Ok);
  const AspectClickInfo info = engine.AspectCellClick(9 * 2 + 3);
  SetNamesLanguage(kEnglish);
  ASSERT_TRUE(info.Act);
  EXPECT_EQ(info.Sentence, "Erde Trigon Mars");
  EXPECT_EQ(info.OrbText.substr(0, info.OrbText.find("\r\n")), "Bei einem Orbis von 7\u00B0 0' beginnt dieses Trigon");
  EXPECT_NE(info.OrbText.find("\r\nam day 2459993\r\nund endet am day 2460007."), std::string::npos) << info.OrbText;
}

TEST(CellClick, PersonalTransitWithBothDatesShowsGraph) {
  FakeSky sky;
  sky.Set(kBirth1, kEarth, 0.0);
  sky.Set(D, kEarth, -99.0);
  sky.Set(D, kMars, 1.0, 1.0);
  AspectEngine engine(sky.Services());
  ASSERT_TRUE(engine.Compute(World(Mode::Personal1), DefaultOrbSettings()).Ok);
  const AspectClickInfo info = engine.AspectCellClick(11 * 2 + 5);  // natal Earth x transiting Mars
  ASSERT_TRUE(info.Act);
  EXPECT_EQ(info.Sentence, "T155 Mars conjunct T156 Earth");
  EXPECT_TRUE(info.ShowGraph);
  EXPECT_EQ(info.Question, "");
  EXPECT_NE(info.OrbText.find("With an orb of 3\u00B0 20' this conjunction"), std::string::npos);
}

TEST(CellClick, NothingToExplain) {
  FakeSky sky;
  sky.Set(D, kEarth, 0.0);
  sky.Set(D, kMars, 0.0, 0.1);
  sky.DataStartsAt(kMars, D - 5.0);
  AspectEngine engine(sky.Services());
  ASSERT_TRUE(engine.Compute(World(Mode::WorldTransits), DefaultOrbSettings()).Ok);
  const AspectClickInfo unknown = engine.AspectCellClick(21);
  ASSERT_TRUE(unknown.Act);
  EXPECT_NE(unknown.OrbText.find("begins on an unknown date\r\n"), std::string::npos);

  EXPECT_FALSE(engine.AspectCellClick(0).Act);   // position cell
  EXPECT_FALSE(engine.AspectCellClick(9).Act);   // glyph cell
  EXPECT_FALSE(engine.AspectCellClick(22).Act);  // empty aspect slot
  EXPECT_FALSE(engine.AspectCellClick(500).Act);

  OrbSettings noConjunctionColour;
  noConjunctionColour.AspectColours[kConjunction] = 0;
  ASSERT_TRUE(engine.Compute(World(Mode::WorldTransits), noConjunctionColour).Ok);
  EXPECT_FALSE(engine.AspectCellClick(21).Act);

  ASSERT_TRUE(engine.Compute(World(Mode::Natal1), DefaultOrbSettings()).Ok);
  EXPECT_FALSE(engine.AspectCellClick(21).Act);
}

TEST(CellClickOutcome, StaticModesOnlyMoveTheFocusWhateverTheCell) {
  FakeSky sky;
  sky.Set(kBirth1, kEarth, 0.0);
  sky.Set(kBirth1, kMars, 1.0);
  sky.Set(kBirth2, kEarth, 0.0);
  sky.Set(kBirth2, kMars, 1.0);
  AspectEngine engine(sky.Services());
  for (Mode mode : {Mode::Natal1, Mode::Natal2, Mode::Synastry}) {
    ASSERT_TRUE(engine.Compute(World(mode), DefaultOrbSettings()).Ok);
    for (int index : {0, 9, 21, 22}) {
      EXPECT_EQ(OutcomeOfAspectClick(mode, engine.AspectCellClick(index)), AspectClickOutcome::FocusOnly)
          << static_cast<int>(mode) << " cell " << index;
    }
  }
}

TEST(CellClickOutcome, WorldTransitAsksAndCellsWithoutAspectDoNothing) {
  FakeSky sky;
  sky.Set(D, kEarth, 0.0);
  sky.Set(D, kMars, 350.25, 1.0);
  AspectEngine engine(sky.Services());
  ASSERT_TRUE(engine.Compute(World(Mode::WorldTransits), DefaultOrbSettings()).Ok);
  EXPECT_EQ(OutcomeOfAspectClick(Mode::WorldTransits, engine.AspectCellClick(21)), AspectClickOutcome::Question);
  EXPECT_EQ(OutcomeOfAspectClick(Mode::WorldTransits, engine.AspectCellClick(0)), AspectClickOutcome::Nothing);
  EXPECT_EQ(OutcomeOfAspectClick(Mode::WorldTransits, engine.AspectCellClick(9)), AspectClickOutcome::Nothing);
  EXPECT_EQ(OutcomeOfAspectClick(Mode::WorldTransits, engine.AspectCellClick(22)), AspectClickOutcome::Nothing);
}

TEST(CellClickOutcome, PersonalTransitDrawsOnlyWhenBothDatesAreKnown) {
  FakeSky sky;
  sky.Set(kBirth1, kEarth, 0.0);
  sky.Set(D, kEarth, -99.0);
  sky.Set(D, kMars, 1.0, 1.0);
  AspectEngine engine(sky.Services());
  ASSERT_TRUE(engine.Compute(World(Mode::Personal1), DefaultOrbSettings()).Ok);
  const int cell = 11 * 2 + 5;  // natal Earth x transiting Mars
  EXPECT_EQ(OutcomeOfAspectClick(Mode::Personal1, engine.AspectCellClick(cell)), AspectClickOutcome::Graph);
  // Mars's data begin two days back, after the transit began: its beginning is
  // not known, so the report is offered instead.
  sky.DataStartsAt(kMars, D - 2.0);
  const AspectClickInfo info = engine.AspectCellClick(cell);
  ASSERT_LT(info.Beginning, 0);
  ASSERT_GE(info.End, 0);
  EXPECT_EQ(OutcomeOfAspectClick(Mode::Personal1, info), AspectClickOutcome::Question);
}

TEST(CellClickOutcome, StatementIsTheSentenceAndTheOrbTextWithoutTheQuestion) {
  FakeSky sky;
  sky.Set(D, kEarth, 0.0);
  sky.Set(D, kMars, 350.25, 1.0);
  AspectEngine engine(sky.Services());
  ASSERT_TRUE(engine.Compute(World(Mode::WorldTransits), DefaultOrbSettings()).Ok);
  EXPECT_EQ(AspectClickStatement(engine.AspectCellClick(9 * 2 + 3)),
            "Earth conjunct Mars\r\n\r\nWith an orb of 10\u00B0 0' this conjunction\r\n"
            "begins on day 2460000\r\nand ends on day 2460020.");
}

}  // namespace
}  // namespace vemo
