// Rules of the configuration window's values and of the registry flags.
#include "app/settings/configure_core.h"

#include <gtest/gtest.h>

namespace vemo::settings {
namespace {

TEST(ResetToDefaults, RestoresEverySettingButUseColor) {
  ConfigureValues v;
  v.orbs.OrbListIndex = {1, 2, 3, 4, 5, 6, 7, 8};
  v.orbs.ProportionListIndex = {0, 4};
  v.orbs.MidpointOrbListIndex = 7;
  v.orbs.UseBoldface = false;
  v.orbs.BoldfaceOneDegree = false;
  v.orbs.BoldfaceFactorListIndex = 8;
  v.orbs.AspectColours[3] = 0;
  v.useColor = false;
  v.displayZodiacSectors = false;
  v.showOnlyEarthAspects = true;
  v.saveGraphicWithWhiteBackground = true;
  v.displayNATZabbr = false;
  ResetToDefaults(v);
  const std::array<int, 8> orbs{10, 9, 6, 7, 4, 3, 3, 1};
  EXPECT_EQ(v.orbs.OrbListIndex, orbs);
  EXPECT_EQ(ProportionDivisorOfListIndex(v.orbs.ProportionListIndex[0]), 3);
  EXPECT_EQ(ProportionDivisorOfListIndex(v.orbs.ProportionListIndex[1]), 3);
  EXPECT_EQ(v.orbs.MidpointOrbListIndex, 2);  // 0°30'
  EXPECT_TRUE(v.orbs.UseBoldface);
  EXPECT_TRUE(v.orbs.BoldfaceOneDegree);
  EXPECT_EQ(BoldfaceDivisorOfListIndex(v.orbs.BoldfaceFactorListIndex), 4);
  const std::array<Colour, 8> colours{0, 65535, 16711935, 255, 65280, 16776960, 16744576, 8421504};
  EXPECT_EQ(v.orbs.AspectColours, colours);
  EXPECT_FALSE(v.useColor);
  EXPECT_TRUE(v.displayZodiacSectors);
  EXPECT_TRUE(v.displayNATZabbr);
  EXPECT_FALSE(v.showOnlyEarthAspects);
  EXPECT_FALSE(v.showOnlyOuterPlanets);
  EXPECT_FALSE(v.saveGraphicWithWhiteBackground);
}

TEST(CancelCopy, PutsBackEverySettingAndTheStoredOrbsAndClearsWhiteBackground) {
  ConfigureValues v;
  v.saveGraphicWithWhiteBackground = true;
  std::array<int, 8> stored = v.orbs.OrbListIndex;
  const CancelCopy copy = TakeCancelCopy(v, stored);
  // The three that once survived Cancel: "Set all" stores the orbs at once,
  // the midpoint orb and "1 degree"/"proportion of orb" were not copied.
  stored = {5, 5, 5, 5, 5, 5, 5, 5};
  v.orbs.OrbListIndex = stored;
  v.orbs.MidpointOrbListIndex = 7;
  v.orbs.BoldfaceOneDegree = false;
  v.orbs.ProportionListIndex = {4, 0};
  v.useColor = false;
  v.orbs.AspectColours[1] = 0;
  RestoreCancelCopy(v, stored, copy);
  ConfigureValues expected;
  EXPECT_EQ(v, expected);
  EXPECT_EQ(stored, expected.orbs.OrbListIndex);
}

TEST(ChartFilters, ConflictOnlyWhenBothAreOn) {
  ConfigureValues v;
  EXPECT_FALSE(ChartFiltersConflict(v));
  v.showOnlyEarthAspects = true;
  EXPECT_FALSE(ChartFiltersConflict(v));
  v.showOnlyOuterPlanets = true;
  EXPECT_TRUE(ChartFiltersConflict(v));
  EXPECT_EQ(ChartFiltersConflictMessage(),
            "'Show only Earth aspects in chart' and\r\n'Show only outer planet aspects in chart'\r\n"
            "cannot both be checked.");
}

TEST(ColourSample, OtherButtonTwiceBringsTheColourBack) {
  Colour colour = Rgb(0, 255, 0);
  Colour remembered = 0;
  ToggleColourOff(colour, remembered);
  EXPECT_EQ(colour, 0);
  ToggleColourOff(colour, remembered);
  EXPECT_EQ(colour, Rgb(0, 255, 0));
}

TEST(SetAllNonzeroOrbs, LeavesZeroOrbsAtZero) {
  ConfigureValues v;
  v.orbs.OrbListIndex = {10, 0, 6, 7, 0, 3, 3, 5};
  SetAllNonzeroOrbs(v);
  const std::array<int, 8> expected{5, 0, 5, 5, 0, 5, 5, 5};
  EXPECT_EQ(v.orbs.OrbListIndex, expected);
}

TEST(RegistryFlagValue, RepairsBadValuesAndFallsBackOnFailedReads) {
  struct Row { const char* name; const char* status; const char* stored; const char* fallback; const char* expected; };
  const Row rows[] = {
      {"StoredZero", "0 OK", "0", "1", "0"},
      {"StoredOne", "0 OK", "1", "0", "1"},
      {"GarbageReadsAsOne", "0 OK", "yes", "0", "1"},
      {"TwoReadsAsOne", "0 OK", "2", "0", "1"},
      {"EmptyValueReadsAsOne", "0 Empty value", "", "0", "1"},
      {"MissingNameTakesDefault", "3 Name not found.", "", "0", "0"},
      {"MissingKeyTakesDefault", "1 Key not found or is empty.", "", "1", "1"},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(RegistryFlagValue(r.status, r.stored, r.fallback), r.expected) << r.name;
  }
}

TEST(DefaultTZDisp, NorthAmericanZonesBetweenMinus10AndMinus2h30) {
  struct Row { int minutes; const char* expected; };
  const Row rows[] = {{-660, "0"}, {-600, "1"}, {-300, "1"}, {-150, "1"}, {-120, "0"}, {0, "0"}, {60, "0"}};
  for (const Row& r : rows) EXPECT_EQ(DefaultTZDisp(r.minutes), r.expected) << r.minutes;
}

}  // namespace
}  // namespace vemo::settings
