// Angle routines, formatters and the orb model.
#include <gtest/gtest.h>

#include <string>

#include "app/aspects/orbs.h"
#include "app/aspects/vocabulary.h"

namespace vemo {
namespace {

double Deg(double d) { return DegreesToRadians(d); }
double DegMin(int d, double m) { return Deg(d + m / 60.0); }

TEST(AngleRoutines, NormaliseAngleWrapsIntoOneTurn) {
  EXPECT_DOUBLE_EQ(NormaliseAngle(-Deg(10)), kFullCircle - Deg(10));
  EXPECT_DOUBLE_EQ(NormaliseAngle(kFullCircle), 0.0);
  EXPECT_DOUBLE_EQ(NormaliseAngle(3 * kFullCircle + 1.0), 1.0);
  EXPECT_DOUBLE_EQ(NormaliseAngle(0.5), 0.5);
}

struct SeparationRow {
  const char* name;
  double a_deg, b_deg;
  double sep_deg;
  int direction;  // expected, starting from 0
};

class SeparationTest : public ::testing::TestWithParam<SeparationRow> {};

TEST_P(SeparationTest, ShortestPathAndDirection) {
  const SeparationRow& r = GetParam();
  int direction = 0;
  const double sep = AspectSeparation(Deg(r.a_deg), Deg(r.b_deg), direction);
  EXPECT_NEAR(RadiansToDegrees(sep), r.sep_deg, 1e-9);
  EXPECT_EQ(direction, r.direction);
  EXPECT_EQ(AspectSeparation(Deg(r.a_deg), Deg(r.b_deg)), sep);  // the overload without direction
  EXPECT_NEAR(RadiansToDegrees(SignedSeparation(Deg(r.a_deg), Deg(r.b_deg))),
              r.sep_deg * r.direction, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SeparationTest,
    ::testing::Values(
        SeparationRow{"AcrossZeroForward", 359.5, 0.5, 1.0, -1},
        SeparationRow{"AcrossZeroBackward", 0.5, 359.5, 1.0, +1},
        SeparationRow{"BAhead", 10, 40, 30, -1},
        SeparationRow{"AAhead", 40, 10, 30, +1},
        SeparationRow{"LongWayRoundIsShorter", 10, 300, 70, +1},
        SeparationRow{"ExactOpposition", 0, 180, 180, -1},
        SeparationRow{"SamePlace", 123, 123, 0, -1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AngleRoutines, SeparationLeavesDirectionAloneWhenUndecided) {
  // A negative "longitude" (an error code) matches neither test.
  int direction = 7;
  AspectSeparation(Deg(10), -99.0, direction);
  EXPECT_EQ(direction, 7);
}

struct AngleTextRow {
  const char* name;
  double radians;
  bool omitZero, space, negative, carry;
  const char* text;
};

class FormatAngleDMTest : public ::testing::TestWithParam<AngleTextRow> {};

TEST_P(FormatAngleDMTest, Text) {
  const AngleTextRow& r = GetParam();
  EXPECT_EQ(FormatAngleDM(r.radians, r.omitZero, r.space, r.negative, r.carry), r.text);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FormatAngleDMTest,
    ::testing::Values(
        AngleTextRow{"Zero", 0.0, false, false, false, false, "0\u00B00'"},
        AngleTextRow{"ZeroOmitted", 0.0, true, false, false, false, "0\u00B0"},
        AngleTextRow{"SpaceBeforeMinutes", DegMin(12, 5), false, true, false, false, "12\u00B0 5'"},
        AngleTextRow{"NoPadding", DegMin(12, 5), false, false, false, false, "12\u00B05'"},
        AngleTextRow{"NeverReaches360", DegMin(359, 59 + 40.0 / 60), false, false, false, false,
                     "359\u00B059'"},
        AngleTextRow{"CarryTo360WhenAllowed", DegMin(359, 59 + 40.0 / 60), false, false, false, true,
                     "360\u00B00'"},
        AngleTextRow{"CarryToNextDegree", DegMin(29, 59 + 40.0 / 60), false, false, false, false,
                     "30\u00B00'"},
        AngleTextRow{"CarryOmittingZero", DegMin(29, 59 + 40.0 / 60), true, false, false, false,
                     "30\u00B0"},
        AngleTextRow{"NegativeRefused", -Deg(3), false, false, false, false, ""},
        AngleTextRow{"NegativeAllowed", -DegMin(3, 30), false, false, true, false, "-3\u00B030'"},
        AngleTextRow{"AboveFullCircle", kFullCircle + 0.01, false, false, false, false, ""}),
    [](const auto& info) { return std::string(info.param.name); });

struct ZodiacRow {
  const char* name;
  double radians;
  bool longForm;
  const char* text;
};

class FormatZodiacTest : public ::testing::TestWithParam<ZodiacRow> {};

TEST_P(FormatZodiacTest, Text) {
  const ZodiacRow& r = GetParam();
  EXPECT_EQ(FormatZodiacPosition(r.radians, r.longForm), r.text);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FormatZodiacTest,
    ::testing::Values(
        ZodiacRow{"ShortForm", DegMin(45, 30), false, "15Tau30"},
        ZodiacRow{"ShortFormAries", DegMin(15, 23), false, "15Ari23"},
        ZodiacRow{"LongThirtyMinutesStays", DegMin(45, 30), true, "15\u00B0 in Taurus"},
        ZodiacRow{"LongThirtyOneRoundsUp", DegMin(45, 31), true, "16\u00B0 in Taurus"},
        ZodiacRow{"LongNeverThirty", DegMin(59, 40), true, "29\u00B0 in Taurus"},
        ZodiacRow{"LastMinuteOfCircle", DegMin(359, 59.9), false, "29Pis59"},
        ZodiacRow{"SignBoundaryCarry", DegMin(29, 59.8), false, "0Tau0"},
        ZodiacRow{"Negative", -1.0, false, ""},
        ZodiacRow{"FullCircle", kFullCircle, true, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Vocabulary, DefaultColoursAreTheStoredColourValues) {
  const auto& c = DefaultAspectColours();
  const Colour expected[8] = {0, 65535, 16711935, 255, 65280, 16776960, 16744576, 8421504};
  for (int k = 0; k < 8; ++k) EXPECT_EQ(c[static_cast<size_t>(k)], expected[k]) << "kind " << k;
}

TEST(Vocabulary, PaletteCyclesAndLeavesForeignColours) {
  EXPECT_EQ(NextPaletteColour(Rgb(255, 255, 0)), Rgb(255, 0, 255));
  EXPECT_EQ(NextPaletteColour(Rgb(128, 64, 0)), Rgb(255, 255, 0));  // wraps
  EXPECT_EQ(NextPaletteColour(Rgb(1, 2, 3)), Rgb(1, 2, 3));
  EXPECT_EQ(kPositionCellBackground, Rgb(230, 255, 230));
}

TEST(OrbModel, DefaultsGiveTheDocumentedOrbs) {
  const OrbTable t = SetOrbs(DefaultOrbSettings());
  const int degrees[8] = {0, 10, 9, 6, 7, 4, 3, 3};
  for (int k = 1; k <= 7; ++k) {
    EXPECT_NEAR(RadiansToDegrees(t.Orb[static_cast<size_t>(k)][0]), degrees[k], 1e-12);
    EXPECT_NEAR(RadiansToDegrees(t.Orb[static_cast<size_t>(k)][1]), degrees[k] / 3.0, 1e-12);
    EXPECT_NEAR(RadiansToDegrees(t.Orb[static_cast<size_t>(k)][2]), degrees[k] / 3.0, 1e-12);
  }
  EXPECT_NEAR(RadiansToDegrees(t.LargestOrb), 10, 1e-12);
  EXPECT_NEAR(RadiansToDegrees(t.SmallestOrb), 3, 1e-12);
  EXPECT_FALSE(t.AllOrbsEqual);
  // Personal trine orb: 7°/3 = 2°20'.
  EXPECT_EQ(FormatAngleDM(t.Orb[kTrine][1]), "2\u00B020'");
}

TEST(OrbModel, AllOrbsZeroLeavesSmallestAtSentinel) {
  OrbSettings s;
  for (int i = 0; i < 7; ++i) s.OrbListIndex[static_cast<size_t>(i)] = 0;
  const OrbTable t = SetOrbs(s);
  EXPECT_EQ(t.SmallestOrb, 20.0);
  EXPECT_EQ(t.LargestOrb, 0.0);
  EXPECT_FALSE(t.AllOrbsEqual);
}

TEST(OrbModel, EqualNonZeroOrbsAreFlaggedIgnoringZeros) {
  OrbSettings s;
  s.OrbListIndex = {5, 5, 0, 5, 5, 5, 5, 1};
  s.ProportionListIndex = {4, 0};
  const OrbTable t = SetOrbs(s);
  EXPECT_TRUE(t.AllOrbsEqual);
  EXPECT_NEAR(RadiansToDegrees(t.LargestPersonalOrb[0]), 1.0, 1e-12);
  EXPECT_NEAR(RadiansToDegrees(t.SmallestPersonalOrb[1]), 5.0, 1e-12);
}

TEST(OrbModel, MidpointOrbOfEachListPosition) {
  EXPECT_DOUBLE_EQ(MidpointOrbDegreesOfListIndex(0), 5.0 / 60.0);
  EXPECT_DOUBLE_EQ(MidpointOrbDegreesOfListIndex(2), 0.5);
  EXPECT_DOUBLE_EQ(MidpointOrbDegreesOfListIndex(7), 3.0);
  EXPECT_EQ(MidpointOrbDegreesOfListIndex(-1), 0.0);  // none selected: nothing is found
  EXPECT_EQ(MidpointOrbListText(2), "0\u00B0 30'");
}

TEST(OrbModel, ValidationNamesTheBadField) {
  EXPECT_EQ(ValidateOrbSettings(DefaultOrbSettings()), "");
  struct Case {
    const char* name;
    void (*spoil)(OrbSettings&);
    const char* word;
  };
  const Case cases[] = {
      {"OrbTooLarge", [](OrbSettings& s) { s.OrbListIndex[3] = 16; }, "trine"},
      {"SetAllZero", [](OrbSettings& s) { s.OrbListIndex[7] = 0; }, "Set all"},
      {"Proportion", [](OrbSettings& s) { s.ProportionListIndex[1] = 5; }, "synastry"},
      {"Midpoint", [](OrbSettings& s) { s.MidpointOrbListIndex = 8; }, "midpoint"},
      {"Boldface", [](OrbSettings& s) { s.BoldfaceFactorListIndex = -1; }, "boldface"},
  };
  for (const Case& c : cases) {
    OrbSettings s;
    c.spoil(s);
    EXPECT_NE(ValidateOrbSettings(s).find(c.word), std::string::npos) << c.name;
  }
}

}  // namespace
}  // namespace vemo
