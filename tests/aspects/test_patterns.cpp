// Pattern finders and the midpoint search over positions set directly, so that
// every figure is exact (or off by a known amount).
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>

#include "app/aspects/engine.h"

namespace vemo {
namespace {

const std::string kDeg = "\u00B0";

// An engine whose position set 0 holds only the given planets (degrees).
AspectEngine EngineWith(std::initializer_list<std::pair<int, double>> planets,
                        OrbSettings settings = DefaultOrbSettings()) {
  EngineServices services;
  services.ProgramText = [](int item) { return item == 154 ? std::string("mean dev.") : ""; };
  AspectEngine engine(services);
  engine.ApplyOrbSettings(settings);
  engine.PlanetCount = 9;
  for (auto& set : engine.PlanetLongitudes) set.fill(-999.0);
  for (const auto& [p, deg] : planets) {
    engine.PlanetLongitudes[0][static_cast<size_t>(p)] = NormaliseAngle(DegreesToRadians(deg));
  }
  return engine;
}

using Finder = std::string (AspectEngine::*)(bool, int&);

struct PatternRow {
  const char* name;
  std::initializer_list<std::pair<int, double>> planets;
  Finder finder;
  int count;
  const char* longText;   // after "Pattern: ", before " (" / CR LF
  const char* shortText;  // first line of the short form
};

std::string Mean(const char* angle) { return std::string(" (mean dev. ") + angle + ")\r\n"; }

TEST(Patterns, EachFigureListsItsPlanetsInOrder) {
  const PatternRow rows[] = {
      {"GrandTrine", {{kEarth, 0}, {kJupiter, 120}, {kSaturn, 240}}, &AspectEngine::FindGrandTrines,
       1, "Grand trine: Ea-Ju-Sa", "Earth-Jupiter-Saturn"},
      // The kite's apex is the vertex opposite the fourth planet (Earth at 0°).
      {"Kite", {{kEarth, 0}, {kJupiter, 120}, {kSaturn, 240}, {kMars, 180}}, &AspectEngine::FindKites,
       1, "Kite: Ea-Ju-Sa-Ma", "Earth-Jupiter-Saturn-Mars"},
      // Apex of the T-square (Jupiter, square to both) in the middle.
      {"TSquare", {{kEarth, 0}, {kMars, 180}, {kJupiter, 90}}, &AspectEngine::FindTSquares, 1,
       "T-square: Ea-Ju-Ma", "Earth-Jupiter-Mars"},
      {"Yod", {{kMercury, 0}, {kVenus, 60}, {kSaturn, 210}}, &AspectEngine::FindYods, 1,
       "Yod: Me-Sa-Ve", "Mercury-Saturn-Venus"},
      {"YodKite", {{kMercury, 0}, {kVenus, 60}, {kSaturn, 210}, {kEarth, 30}},
       &AspectEngine::FindYodKites, 1, "Yod-kite: Me-Sa-Ve-Ea", "Mercury-Saturn-Venus-Earth"},
      {"GrandCross", {{kEarth, 0}, {kMars, 90}, {kSaturn, 180}, {kJupiter, 270}},
       &AspectEngine::FindGrandCrosses, 1, "Grand cross: Ea-Ma-Sa-Ju", "Earth-Mars-Saturn-Jupiter"},
      // Found once from each of its oppositions.
      {"Rectangle", {{kEarth, 0}, {kJupiter, 180}, {kMars, 120}, {kSaturn, 300}},
       &AspectEngine::FindRectangles, 2, "Rectangle: Ea-Ju-Ma-Sa", "Earth-Jupiter-Mars-Saturn"},
      {"Trapezium", {{kEarth, 0}, {kJupiter, 180}, {kMars, 120}, {kVenus, 60}},
       &AspectEngine::FindTrapeziums, 1, "Trapezium: Ea-Ju-Ma-Ve", "Earth-Jupiter-Mars-Venus"},
  };
  for (const PatternRow& r : rows) {
    SCOPED_TRACE(r.name);
    AspectEngine engine = EngineWith(r.planets);
    int n = 0;
    const std::string longForm = (engine.*r.finder)(false, n);
    EXPECT_EQ(n, r.count);
    EXPECT_EQ(longForm.substr(0, longForm.find("\r\n") + 2), r.longText + Mean(("0" + kDeg + "0'").c_str()));
    n = 0;
    const std::string shortForm = (engine.*r.finder)(true, n);
    EXPECT_EQ(shortForm.substr(0, shortForm.find("\r\n")), r.shortText);
  }
}

TEST(Patterns, RectangleSecondLineStartsFromTheOtherOpposition) {
  AspectEngine engine = EngineWith({{kEarth, 0}, {kJupiter, 180}, {kMars, 120}, {kSaturn, 300}});
  int n = 0;
  EXPECT_EQ(engine.FindRectangles(true, n),
            "Earth-Jupiter-Mars-Saturn\r\nMars-Saturn-Earth-Jupiter\r\n");
}

TEST(Patterns, MeanDeviationOverAllCheckedAspects) {
  // Earth 0°, Jupiter 122°, Saturn 240°: trines off by 2°, 0° and 2°
  // (Jupiter-Saturn is 118°), mean 4°/3 = 1°20'.
  AspectEngine engine = EngineWith({{kEarth, 0}, {kJupiter, 122}, {kSaturn, 240}});
  int n = 0;
  EXPECT_EQ(engine.FindGrandTrines(false, n), "Grand trine: Ea-Ju-Sa" + Mean(("1" + kDeg + "20'").c_str()));
}

TEST(Patterns, GrandSextileIsSetNotAddedAndHasNoMean) {
  AspectEngine engine = EngineWith({{kEarth, 0}, {kVenus, 60}, {kMars, 120}, {kJupiter, 180},
                                    {kSaturn, 240}, {kUranus, 300}});
  int n = 5;
  EXPECT_EQ(engine.FindGrandSextiles(false, n), "Grand sextile: Ea-Ma-Sa-Ve-Ju-Ur\r\n");
  EXPECT_EQ(n, 1);
}

TEST(Patterns, FourConjunctPlanetsMakeOne4StelliumAndFourTriples) {
  AspectEngine engine = EngineWith({{kMercury, 10}, {kVenus, 12}, {kMars, 14}, {kJupiter, 16}});
  int n = 0;
  // Deviations 2, 4, 6, 2, 4, 2: mean 20/6 = 3°20'.
  EXPECT_EQ(engine.FindStelliums(4, false, n), "4-Stellium: Me-Ve-Ma-Ju" + Mean(("3" + kDeg + "20'").c_str()));
  EXPECT_EQ(n, 1);
  n = 0;
  engine.FindStelliums(3, true, n);
  EXPECT_EQ(n, 4);
  n = 0;
  EXPECT_EQ(engine.FindStelliums(5, true, n), "");
  EXPECT_EQ(n, 0);

  const std::string all = engine.FindAllPatterns();
  EXPECT_EQ(engine.PatternCount[kStellium4], 1);
  EXPECT_EQ(engine.PatternCount[kStellium3], 0);
  EXPECT_EQ(all.find("3-Stellium"), std::string::npos);
  EXPECT_NE(all.find("4-Stellium: Me-Ve-Ma-Ju"), std::string::npos);
}

TEST(Patterns, MissingPositionsTakePartInNothing) {
  AspectEngine engine = EngineWith({{kEarth, 0}, {kJupiter, 120}, {kSaturn, 240}});
  engine.PlanetLongitudes[0][kSaturn] = -99.0;
  int n = 0;
  EXPECT_EQ(engine.FindGrandTrines(false, n), "");
  EXPECT_EQ(n, 0);
  // Pluto beyond PlanetCount is left out as well.
  AspectEngine e2 = EngineWith({{kEarth, 0}, {kJupiter, 120}, {kPluto, 240}});
  e2.PlanetCount = 8;
  n = 0;
  EXPECT_EQ(e2.FindGrandTrines(false, n), "");
}

TEST(RunSearchHook, ThreeStelliumStopsAtTripleWithoutSoughtPlanet) {
  AspectEngine engine = EngineWith({{kVenus, 10}, {kJupiter, 12}, {kSaturn, 14}, {kMars, 200}});
  engine.Run.InProgress = true;
  engine.Run.PlanetsSought = true;
  engine.Run.NumPlanetsSought = 1;
  engine.Run.SoughtPlanets = {kMars, 0, 0};
  engine.Run.AspectPatternToFind = kStellium3;
  int n = 0;
  EXPECT_EQ(engine.FindStelliums(3, false, n), "");
  EXPECT_EQ(n, 0);
  EXPECT_FALSE(engine.Run.SoughtPlanetsFound);

  // Seeking Venus instead: counted and reported.
  engine.Run.SoughtPlanets = {kVenus, 0, 0};
  n = 0;
  EXPECT_NE(engine.FindStelliums(3, false, n), "");
  EXPECT_EQ(n, 1);
  EXPECT_TRUE(engine.Run.SoughtPlanetsFound);
}

TEST(RunSearchHook, LeftOverSoughtListDoesNotTrimOrdinaryComputation) {
  AspectEngine engine = EngineWith({{kVenus, 10}, {kJupiter, 12}, {kSaturn, 14}});
  engine.Run.SoughtPlanets = {kMars, 0, 0};  // from an earlier run
  engine.Run.InProgress = false;
  int n = 0;
  engine.FindStelliums(3, false, n);
  EXPECT_EQ(n, 1);
}

TEST(RunSearchHook, ReportMatchesNameIgnoringCaseAndCountsSoughtPlanets) {
  AspectEngine engine;
  engine.Run.AspectPatternToFind = kStellium6;
  engine.Run.NumPlanetsSought = 2;
  engine.Run.SoughtPlanets = {kMars, 0, kVenus};
  engine.ReportPatternToRun("6-stellium", 6, 1, 2, 3, 5, 6, 7);  // no Mars
  EXPECT_EQ(engine.Run.NumPlanetsFound, 1);
  EXPECT_FALSE(engine.Run.SoughtPlanetsFound);
  engine.ReportPatternToRun("Grand trine", 3, 3, 4, 5);  // other pattern: ignored
  EXPECT_EQ(engine.Run.NumPlanetsFound, 1);
  engine.ReportPatternToRun("6-STELLIUM", 6, 1, 2, 3, 4, 6, 7);
  EXPECT_EQ(engine.Run.NumPlanetsFound, 2);
  EXPECT_TRUE(engine.Run.SoughtPlanetsFound);
}

TEST(RunSearchHook, FindersReportOnlyWhileSeeking) {
  AspectEngine engine = EngineWith({{kEarth, 0}, {kMars, 180}, {kJupiter, 90}});
  engine.Run.AspectPatternToFind = kTSquare;
  engine.Run.NumPlanetsSought = 1;
  engine.Run.SoughtPlanets = {kJupiter, 0, 0};
  int n = 0;
  engine.FindTSquares(false, n);
  EXPECT_FALSE(engine.Run.SoughtPlanetsFound);  // PlanetsSought is off
  engine.Run.PlanetsSought = true;
  engine.FindTSquares(false, n);
  EXPECT_TRUE(engine.Run.SoughtPlanetsFound);
}

// ---- midpoints ----

OrbSettings MidpointOrb(int index) {
  OrbSettings s;
  s.MidpointOrbListIndex = index;
  return s;
}

TEST(Midpoints, CentreBetweenItsOuterPlanetsByNumber) {
  AspectEngine engine = EngineWith({{kMars, 10}, {kVenus, 50}, {kJupiter, 90}});
  int n = 0;
  std::string text;
  engine.CheckForMidpoint(false, n, text);
  EXPECT_EQ(text, "Midpoint: Ma-Ve-Ju\r\n");  // listed once, whatever loop found it
  EXPECT_EQ(n, 1);
  engine.CheckForMidpoint(true, n, text);
  EXPECT_EQ(text, "Mars-Venus-Jupiter\r\n");
}

TEST(Midpoints, MidpointAcrossZeroFoundThroughOppositePoint) {
  AspectEngine engine = EngineWith({{kEarth, 350}, {kMars, 30}, {kMercury, 10}});
  EXPECT_EQ(engine.MidpointTest(kEarth, kMercury, kMars, false), "Ea-Me-Ma");
}

struct MidpointEdgeRow {
  const char* name;
  double centreDegrees;
  int orbIndex;
  bool found;
};

class MidpointEdgeTest : public ::testing::TestWithParam<MidpointEdgeRow> {};

TEST_P(MidpointEdgeTest, StrictOrb) {
  const MidpointEdgeRow& r = GetParam();
  AspectEngine engine = EngineWith({{kMars, 10}, {kJupiter, 90}, {kVenus, r.centreDegrees}},
                                   MidpointOrb(r.orbIndex));
  EXPECT_EQ(engine.MidpointTest(kMars, kVenus, kJupiter, false) != "", r.found);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, MidpointEdgeTest,
    ::testing::Values(MidpointEdgeRow{"Inside", 50.49, 2, true},
                      MidpointEdgeRow{"ExactlyOnOrb", 50.5, 2, false},
                      MidpointEdgeRow{"Outside", 50.51, 2, false},
                      MidpointEdgeRow{"OppositePointInside", 229.6, 2, true},
                      MidpointEdgeRow{"FiveMinuteOrb", 50.08, 0, true},
                      MidpointEdgeRow{"ThreeDegreeOrb", 52.9, 7, true},
                      MidpointEdgeRow{"NoOrbSelected", 50.0, -1, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Midpoints, ConjunctPlanetsNeverFormPairOrCentre) {
  // Mars and Venus conjunct (8°): neither the pair nor Venus as centre.
  AspectEngine engine = EngineWith({{kMars, 10}, {kVenus, 18}, {kJupiter, 26}});
  int n = 0;
  std::string text;
  engine.CheckForMidpoint(false, n, text);
  EXPECT_EQ(text, "");
  EXPECT_EQ(n, 0);
}

TEST(Midpoints, EqualPositionsAndMissingPlanetsGiveNothing) {
  AspectEngine engine = EngineWith({{kMars, 10}, {kVenus, 10}, {kJupiter, 10}});
  EXPECT_EQ(engine.MidpointTest(kMars, kVenus, kJupiter, false), "");
  AspectEngine e2 = EngineWith({{kMars, 10}, {kVenus, 50}, {kPluto, 90}});
  e2.PlanetCount = 8;
  EXPECT_EQ(e2.MidpointTest(kMars, kVenus, kPluto, false), "");
}

TEST(Midpoints, ReportedToRunWithLoopOrder) {
  AspectEngine engine = EngineWith({{kMars, 10}, {kVenus, 50}, {kJupiter, 90}});
  engine.Run.PlanetsSought = true;
  engine.Run.AspectPatternToFind = kMidpoint;
  engine.Run.NumPlanetsSought = 2;
  engine.Run.SoughtPlanets = {kVenus, kJupiter, 0};
  int n = 0;
  std::string text;
  engine.CheckForMidpoint(false, n, text);
  EXPECT_TRUE(engine.Run.SoughtPlanetsFound);
}

}  // namespace
}  // namespace vemo
