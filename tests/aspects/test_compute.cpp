// Compute: grid, cell contents, signs, boldface, counts and summaries, over a
// sky of our own making.
#include <gtest/gtest.h>

#include "app/aspects/engine.h"
#include "fake_sky.h"

namespace vemo {
namespace {

using test::FakeSky;

constexpr double kWorld = 2460000.0;   // 2023-02-24 12:00 UT
constexpr double kBirth1 = 2440000.0;  // 1968-05-23 12:00 UT
constexpr double kBirth2 = 2445000.0;

ComputeRequest Request(Mode mode) {
  ComputeRequest r;
  r.mode = mode;
  r.JulianDates = {kWorld, kBirth1, kBirth2};
  r.WorldZoneMinutes = 0;
  r.WorldLocalDay = kWorld + 0.5;
  return r;
}

const std::string kDeg = "\u00B0";

TEST(ComputeGrid, OneDateStaircase) {
  FakeSky sky;
  AspectEngine engine(sky.Services());
  ASSERT_TRUE(engine.Compute(Request(Mode::WorldTransits), DefaultOrbSettings()).Ok);
  const AspectTable& t = engine.Table;
  EXPECT_EQ(t.NumRows, 10);
  EXPECT_EQ(t.NumCols, 9);
  EXPECT_EQ(t.NumCells(), 90);
  EXPECT_EQ(t.At(1, 4).Role, CellRole::Glyph);
  EXPECT_EQ(t.At(1, 4).GlyphPlanet, 5);
  EXPECT_EQ(t.At(1, 4).Text, "S");  // Jupiter's Starfont character
  EXPECT_EQ(t.At(1, 4).Background, kGlyphCellBackground);
  EXPECT_EQ(t.At(4, 2).Role, CellRole::Glyph);  // Mars' own row: glyph in column 2
  EXPECT_EQ(t.At(4, 2).GlyphPlanet, 3);
  EXPECT_FALSE(t.At(4, 1).Visible);   // left of the glyph
  EXPECT_TRUE(t.At(4, 3).Visible);    // aspect slot
  EXPECT_EQ(t.At(0, 0).Background, kPositionCellBackground);
}

TEST(ComputeGrid, TwoDateMatrixWithCaptions) {
  FakeSky sky;
  AspectEngine engine(sky.Services());
  ASSERT_TRUE(engine.Compute(Request(Mode::Synastry), DefaultOrbSettings()).Ok);
  const AspectTable& t = engine.Table;
  EXPECT_EQ(t.NumRows, 11);
  EXPECT_EQ(t.NumCols, 11);
  EXPECT_EQ(t.At(1, 2).GlyphPlanet, 1);
  EXPECT_EQ(t.At(10, 1).GlyphPlanet, 9);
  EXPECT_EQ(t.At(0, 1).Text, "T75");
  EXPECT_EQ(t.At(1, 0).Text, "T76");
  EXPECT_EQ(t.At(1, 1).Text, "T14");
  EXPECT_EQ(t.At(1, 0).Background, kGlyphCellBackground);

  ASSERT_TRUE(engine.Compute(Request(Mode::Personal2), DefaultOrbSettings()).Ok);
  // The transiting planets head the columns, the natal planets the rows.
  EXPECT_EQ(engine.Table.At(0, 1).Text, "T68");
  EXPECT_EQ(engine.Table.At(1, 0).Text, "T71");
  EXPECT_EQ(engine.Table.At(1, 1).Text, "T70");
}

TEST(ComputeCells, MercuryVenusTrineIsCell29WithSeparatingSign) {
  FakeSky sky;
  sky.Set(kWorld, kMercury, 10.0, 4.0);
  sky.Set(kWorld, kVenus, 130.0, 1.6);  // exact now, Mercury runs away
  AspectEngine engine(sky.Services());
  ASSERT_TRUE(engine.Compute(Request(Mode::WorldTransits), DefaultOrbSettings()).Ok);
  const TableCell& cell = engine.Table.Cells[29];
  EXPECT_EQ(cell.Role, CellRole::Aspect);
  EXPECT_EQ(cell.Text, "Tri\r\n0" + kDeg + "0' +");
  EXPECT_EQ(cell.TextColour, Rgb(0, 255, 0));
  EXPECT_TRUE(cell.Bold);
  EXPECT_EQ(engine.AspectCount[kTrine], 1);
  ASSERT_EQ(engine.Aspects.size(), 1u);
  EXPECT_EQ(engine.Aspects[0].Planet1, kMercury);
  EXPECT_EQ(engine.Aspects[0].Planet2, kVenus);
  EXPECT_EQ(engine.Aspects[0].CellIndex, 29);
  EXPECT_EQ(engine.GetTotalNumAspects(), 1);
}

TEST(ComputeCells, ApplyingAspectGetsMinus) {
  FakeSky sky;
  sky.Set(kWorld, kEarth, 0.0, 1.0);
  sky.Set(kWorld, kMars, 95.0, 0.5);  // square 5° wide, closing at 0.5°/day
  AspectEngine engine(sky.Services());
  ASSERT_TRUE(engine.Compute(Request(Mode::WorldTransits), DefaultOrbSettings()).Ok);
  const TableCell& cell = engine.Table.At(2, 3);  // Earth row, Mars column
  EXPECT_EQ(cell.Text, "Sqr\r\n5" + kDeg + "0' -");
  EXPECT_EQ(cell.Sign, -1);
  EXPECT_FALSE(cell.Bold);
}

TEST(ComputeCells, NatalMarsTransitingJupiterIsCell61) {
  FakeSky sky;
  sky.Set(kBirth1, kMars, 100.0, 0.5);
  sky.Set(kWorld, kJupiter, 100.5, 0.08);
  AspectEngine engine(sky.Services());
  ASSERT_TRUE(engine.Compute(Request(Mode::Personal1), DefaultOrbSettings()).Ok);
  const TableCell& cell = engine.Table.Cells[61];
  EXPECT_EQ(cell.Role, CellRole::Aspect);
  EXPECT_EQ(cell.Text, "Con\r\n0" + kDeg + "30' +");
  EXPECT_EQ(cell.Planet1, kMars);     // natal first
  EXPECT_EQ(cell.Planet2, kJupiter);  // then transiting
}

TEST(ComputeCells, TransitToOwnNatalPositionIsFound) {
  FakeSky sky;
  sky.Set(kBirth1, kSaturn, 200.0, 0.03);
  sky.Set(kWorld, kSaturn, 201.0, 0.03);
  AspectEngine engine(sky.Services());
  ASSERT_TRUE(engine.Compute(Request(Mode::Personal1), DefaultOrbSettings()).Ok);
  const TableCell& cell = engine.Table.At(kSaturn + 1, kSaturn + 1);
  EXPECT_EQ(cell.Kind, kConjunction);
  EXPECT_EQ(engine.AspectCount[kConjunction], 1);
}

TEST(ComputeCells, SynastryCellsCarryNoSign) {
  FakeSky sky;
  sky.Set(kBirth1, kVenus, 100.0, 1.2);
  sky.Set(kBirth2, kMars, 220.7, 0.5);
  AspectEngine engine(sky.Services());
  ASSERT_TRUE(engine.Compute(Request(Mode::Synastry), DefaultOrbSettings()).Ok);
  // Row: Mars of the 2nd birthdate; column: Venus of the 1st.
  const TableCell& cell = engine.Table.At(kMars + 1, kVenus + 1);
  EXPECT_EQ(cell.Text, "Tri\r\n0" + kDeg + "42'");
  EXPECT_EQ(cell.Sign, 0);
  EXPECT_EQ(cell.Planet1, kVenus);  // 1st birthdate first
  EXPECT_EQ(cell.Planet2, kMars);
}

struct OrbEdgeRow {
  const char* name;
  double separationDegrees;
  int trineOrbDegrees;
  bool holds;
};

class OrbEdgeTest : public ::testing::TestWithParam<OrbEdgeRow> {};

TEST_P(OrbEdgeTest, StrictTest) {
  const OrbEdgeRow& r = GetParam();
  FakeSky sky;
  sky.Set(kWorld, kEarth, 0.0);
  sky.Set(kWorld, kSaturn, r.separationDegrees);
  OrbSettings s;
  s.OrbListIndex[3] = r.trineOrbDegrees;
  AspectEngine engine(sky.Services());
  ASSERT_TRUE(engine.Compute(Request(Mode::WorldTransits), s).Ok);
  EXPECT_EQ(engine.AspectCount[kTrine], r.holds ? 1 : 0);
  double dev = -1.0;
  engine.IsAspectInOrb(kEarth, kSaturn, kTrine, dev);
  EXPECT_EQ(engine.IsAspectInOrb(kEarth, kSaturn, kTrine, dev), r.holds);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, OrbEdgeTest,
    ::testing::Values(OrbEdgeRow{"SixFiftyNineHolds", 126.0 + 59.0 / 60.0, 7, true},
                      OrbEdgeRow{"SevenDoesNot", 127.0, 7, false},
                      OrbEdgeRow{"ExactTrineWithOrbZero", 120.0, 0, false},
                      OrbEdgeRow{"BelowExactSideHolds", 113.5, 7, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ComputeCells, PersonalTrineOrbIsTwoTwenty) {
  for (const auto& [sepMinutes, holds] : {std::pair{139.0, true}, std::pair{141.0, false}}) {
    FakeSky sky;
    sky.Set(kBirth1, kMars, 0.0);
    sky.Set(kWorld, kMars, -99.0);  // no transiting Mars
    sky.Set(kBirth1, kJupiter, -99.0);  // no natal Jupiter
    sky.Set(kWorld, kJupiter, 120.0 + sepMinutes / 60.0);
    AspectEngine engine(sky.Services());
    ASSERT_TRUE(engine.Compute(Request(Mode::Personal1), DefaultOrbSettings()).Ok);
    EXPECT_EQ(engine.AspectCount[kTrine], holds ? 1 : 0) << sepMinutes;
  }
}

struct BoldRow {
  const char* name;
  bool useBoldface, oneDegree;
  int factorIndex;
  double deviationDegrees;
  bool bold;
};

class BoldfaceTest : public ::testing::TestWithParam<BoldRow> {};

TEST_P(BoldfaceTest, Rule) {
  const BoldRow& r = GetParam();
  FakeSky sky;
  sky.Set(kWorld, kEarth, 10.0);
  sky.Set(kWorld, kUranus, 190.0 + r.deviationDegrees);  // opposition, orb 9°
  OrbSettings s;
  s.UseBoldface = r.useBoldface;
  s.BoldfaceOneDegree = r.oneDegree;
  s.BoldfaceFactorListIndex = r.factorIndex;
  AspectEngine engine(sky.Services());
  ASSERT_TRUE(engine.Compute(Request(Mode::WorldTransits), s).Ok);
  const int index = 9 * 2 + (kUranus - 1);
  const TableCell& cell = engine.Table.Cells[index];
  ASSERT_EQ(cell.Kind, kOpposition);
  // The deviation from positions carries rounding of its own; the rule itself
  // is checked on the exact deviation.
  engine.FormatAspectCell(0, index, kOpposition, DegreesToRadians(r.deviationDegrees));
  EXPECT_EQ(cell.Bold, r.bold);
  EXPECT_EQ(cell.TextColour, Rgb(255, 0, 255));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BoldfaceTest,
    ::testing::Values(BoldRow{"OneDegreeJustInside", true, true, 2, 59.0 / 60.0, true},
                      BoldRow{"OneDegreeExactlyIsNotBold", true, true, 2, 1.0, false},
                      BoldRow{"Off", false, true, 2, 0.1, false},
                      // 1/4 of the 9° opposition orb is 2°15'.
                      BoldRow{"QuarterOfOrbInside", true, false, 2, 2.2, true},
                      BoldRow{"QuarterOfOrbOutside", true, false, 2, 2.3, false},
                      BoldRow{"TwentiethOfOrb", true, false, 8, 0.44, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ComputeCells, PositionCellsShowCodesAndBothUnits) {
  FakeSky sky;
  sky.Set(kWorld, kEarth, 45.5);
  sky.Set(kWorld, kMercury, -99.0);
  sky.Set(kWorld, kVenus, -100.0);
  sky.Set(kWorld, kMars, -104.0);
  AspectEngine engine(sky.Services());
  ASSERT_TRUE(engine.Compute(Request(Mode::WorldTransits), DefaultOrbSettings()).Ok);
  EXPECT_EQ(engine.Table.At(0, 0).Text, "45" + kDeg + "30'\r\n15Tau30");
  EXPECT_EQ(engine.Table.At(0, 1).Text, "<");
  EXPECT_EQ(engine.Table.At(0, 2).Text, ">");
  EXPECT_EQ(engine.Table.At(0, 3).Text, "?");

  ComputeRequest r = Request(Mode::WorldTransits);
  r.Radians = true;
  ASSERT_TRUE(engine.Compute(r, DefaultOrbSettings()).Ok);
  EXPECT_EQ(engine.Table.At(0, 0).Text, "0.7941");
}

TEST(ComputeCells, RadiansInAspectCells) {
  FakeSky sky;
  sky.Set(kWorld, kEarth, 0.0);
  sky.Set(kWorld, kMars, 62.0);
  ComputeRequest r = Request(Mode::WorldTransits);
  r.Radians = true;
  AspectEngine engine(sky.Services());
  ASSERT_TRUE(engine.Compute(r, DefaultOrbSettings()).Ok);
  EXPECT_EQ(engine.Table.At(2, 3).Text, "Sxt\r\n0.0349");  // 2° = 0.0349 rad, motionless
}

TEST(ComputeCells, WithoutPlutoDataNothingInvolvesPluto) {
  FakeSky sky;
  sky.Set(kWorld, kNeptune, 100.0);
  sky.Set(kWorld, kPluto, 101.0);
  sky.Set(kBirth1, kNeptune, 100.0);
  AspectEngine engine(sky.Services());
  engine.PlutoAvailable = false;
  ASSERT_TRUE(engine.Compute(Request(Mode::WorldTransits), DefaultOrbSettings()).Ok);
  EXPECT_EQ(engine.PlanetCount, 8);
  EXPECT_EQ(engine.GetTotalNumAspects(), 0);
  EXPECT_EQ(engine.Table.At(0, 8).Text, "");  // Pluto's position cell
  EXPECT_LT(engine.PlanetLongitudes[0][kPluto], 0.0);

  ASSERT_TRUE(engine.Compute(Request(Mode::Personal1), DefaultOrbSettings()).Ok);
  EXPECT_EQ(engine.GetTotalNumAspects(), 1);  // Neptune to natal Neptune only
  EXPECT_EQ(engine.Table.At(0, 10).Text, "");
  EXPECT_EQ(engine.Table.At(10, 0).Text, "");
}

TEST(ComputeFailure, BadRowKeepsTableAndStoresCode) {
  FakeSky sky;
  sky.Set(kWorld, kEarth, 0.0);
  sky.Set(kWorld, kMars, 90.0);
  AspectEngine engine(sky.Services());
  ASSERT_TRUE(engine.Compute(Request(Mode::WorldTransits), DefaultOrbSettings()).Ok);
  const AspectTable before = engine.Table;
  const auto positionsBefore = engine.PlanetLongitudes;

  ComputeRequest bad = Request(Mode::Personal1);
  bad.JulianDates[1] = -2.0;
  const ComputeStatus st = engine.Compute(bad, DefaultOrbSettings());
  EXPECT_FALSE(st.Ok);
  EXPECT_EQ(st.BadRow, 1);
  EXPECT_EQ(st.ErrorCode, -2);
  EXPECT_EQ(engine.JulianDates[1], -2.0);
  EXPECT_EQ(engine.CurrentMode, Mode::WorldTransits);
  EXPECT_EQ(engine.Table.Cells.size(), before.Cells.size());
  EXPECT_EQ(engine.Table.At(2, 3).Text, before.At(2, 3).Text);
  EXPECT_EQ(engine.PlanetLongitudes, positionsBefore);
  EXPECT_EQ(engine.AspectCount[kSquare], 1);
  EXPECT_EQ(engine.TableJulianDates[0], kWorld);
}

TEST(ComputeFailure, RowsTheModeDoesNotUseAreIgnored) {
  FakeSky sky;
  AspectEngine engine(sky.Services());
  ComputeRequest r = Request(Mode::Natal2);
  r.JulianDates[0] = -1.0;
  r.JulianDates[1] = -4.0;
  EXPECT_TRUE(engine.Compute(r, DefaultOrbSettings()).Ok);
}

TEST(Summary, TwoDateOneConjunctionTwoQuincunxes) {
  std::array<int, 8> counts{};
  counts[kConjunction] = 1;
  counts[kQuincunx] = 2;
  EXPECT_EQ(TwoDateSummary(counts, "none", "[count] aspects"),
            "1 conjunction, 2 quincunxes. 3 aspects");
  counts = {};
  counts[kSquare] = 1;
  EXPECT_EQ(TwoDateSummary(counts, "none", "[count] aspects"), "1 square");
  EXPECT_EQ(TwoDateSummary({}, "none", "[count] aspects"), "none");
}

TEST(Summary, OneDateLines) {
  std::array<int, 8> counts{};
  counts[kOpposition] = 2;
  counts[kSextile] = 1;
  EXPECT_EQ(OneDateSummary(counts, "none", "[count] aspects"),
            "2 oppositions\r\n1 sextile\r\n3 aspects\r\n\r\n");
  EXPECT_EQ(OneDateSummary({}, "none", "[count] aspects"), "none\r\n\r\n");
  counts = {};
  counts[kTrine] = 1;
  EXPECT_EQ(OneDateSummary(counts, "none", "[count] aspects"), "1 trine\r\n\r\n");
}

TEST(Summary, ComputeWritesSummaryAndPatternLines) {
  FakeSky sky;
  sky.Set(kWorld, kEarth, 0.0);
  sky.Set(kWorld, kJupiter, 120.0);
  sky.Set(kWorld, kSaturn, 240.0);
  OrbSettings s;
  s.MidpointOrbListIndex = -1;  // each of the three also stands at a midpoint
  AspectEngine engine(sky.Services());
  ASSERT_TRUE(engine.Compute(Request(Mode::WorldTransits), s).Ok);
  EXPECT_EQ(engine.Table.Summary, "3 trines\r\nT127\r\n\r\n");
  EXPECT_EQ(engine.Table.PatternText, "Grand trine: Ea-Ju-Sa (T154 0" + kDeg + "0')\r\n\r\n");
  EXPECT_EQ(engine.PatternCount[kGrandTrine], 1);
}

TEST(TableModel, GetRowColAndTotals) {
  EXPECT_EQ(GetRowCol(29, 9).Row, 3);
  EXPECT_EQ(GetRowCol(29, 9).Col, 2);
  EXPECT_EQ(GetRowCol(61, 11).Row, 5);
  EXPECT_EQ(GetRowCol(61, 11).Col, 6);
  AspectTable t;
  t.NumRows = 1;
  t.NumCols = 3;
  t.Cells.resize(3);
  t.Cells[0].Role = CellRole::Aspect;
  t.Cells[0].Kind = kOpposition;
  t.Cells[1].Role = CellRole::Corner;
  t.Cells[1].Text = "Con";  // a caption is not an aspect
  t.Cells[2].Kind = kTrine;  // nor is a cell Compute did not make one
  EXPECT_EQ(GetTotalNumAspects(t), 1);
  EXPECT_EQ(KindOfCell(t.Cells[0]), kOpposition);
  EXPECT_EQ(KindOfCell(t.Cells[1]), 0);
  EXPECT_EQ(KindOfCell(t.Cells[2]), 0);
}

TEST(TableModel, EveryPaletteColourReadsOnItsCellGround) {
  // 4.5:1 is the contrast the accessibility guidelines ask of body text.
  for (const Colour c : ChartPalette()) {
    SCOPED_TRACE(c);
    const CellInk ink = AspectCellInk(c);
    EXPECT_EQ(ink.Text, c);
    EXPECT_GE(ContrastRatio(ink.Text, ink.Background), 4.5);
  }
  // Only the two darkest colours leave the black ground.
  EXPECT_EQ(AspectCellInk(Rgb(0, 0, 255)).Background, kWhite);
  EXPECT_EQ(AspectCellInk(Rgb(128, 64, 0)).Background, kWhite);
  EXPECT_EQ(AspectCellInk(Rgb(255, 255, 0)).Background, kBlack);
  EXPECT_NEAR(ContrastRatio(kBlack, kWhite), 21.0, 1e-9);
  // A kind left out of the chart stays readable in the table.
  const CellInk off = AspectCellInk(0);
  EXPECT_EQ(off.Background, kBlack);
  EXPECT_GE(ContrastRatio(off.Text, off.Background), 7.0);
}

TEST(ComputeCells, KindLeftOutOfTheChartStaysReadableInTheTable) {
  FakeSky sky;
  sky.Set(kWorld, kMercury, 10.0, 4.0);
  sky.Set(kWorld, kVenus, 130.0, 1.6);
  AspectEngine engine(sky.Services());
  OrbSettings settings = DefaultOrbSettings();
  settings.AspectColours[kTrine] = 0;
  ASSERT_TRUE(engine.Compute(Request(Mode::WorldTransits), settings).Ok);
  const TableCell& cell = engine.Table.Cells[29];
  EXPECT_EQ(cell.Role, CellRole::Aspect);
  EXPECT_EQ(cell.TextColour, kExcludedKindText);
  EXPECT_EQ(cell.Background, kBlack);
  EXPECT_EQ(engine.AspectCount[kTrine], 1);
}

}  // namespace
}  // namespace vemo
