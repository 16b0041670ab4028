// The names tables by language.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

#include "app/aspects/vocabulary.h"

namespace vemo {
namespace {

struct NamesTable {
  const char* name;
  int first, last;
  bool abbreviations;
  std::function<std::string(int index, int language)> lookup;
};

// Every entry has a text in both languages, unknown languages read as
// English, and the German abbreviations are three distinct letters.
TEST(NamesByLanguage, EveryEntryHasAGermanTextAndAbbreviationsAreDistinct) {
  const NamesTable tables[] = {
      {"PlanetName", 1, kMaxPlanets, false, [](int i, int l) { return PlanetName(i, l); }},
      {"PlanetAbbrev", 1, kMaxPlanets, true, [](int i, int l) { return PlanetAbbrev(i, l); }},
      {"AspectAbbrev", 1, kNumKinds, true, [](int i, int l) { return std::string(Aspect(i, l).Abbrev); }},
      {"AspectPhrase", 1, kNumKinds, false, [](int i, int l) { return std::string(Aspect(i, l).Phrase); }},
      {"SignName", 0, 11, false, [](int i, int l) { return SignName(i, l); }},
      {"SignAbbrev", 0, 11, true, [](int i, int l) { return SignAbbrev(i, l); }},
      {"PatternName", 0, kNumPatterns - 1, false, [](int i, int l) { return PatternName(i, l); }},
  };
  for (const NamesTable& t : tables) {
    SCOPED_TRACE(t.name);
    for (int language : {0, 1}) {
      std::set<std::string> seen;
      for (int i = t.first; i <= t.last; ++i) {
        const std::string text = t.lookup(i, language);
        EXPECT_FALSE(text.empty()) << i;
        EXPECT_EQ(t.lookup(i, 7), t.lookup(i, 0)) << i;
        if (t.abbreviations) {
          EXPECT_TRUE(seen.insert(text).second) << text;
          EXPECT_TRUE(language == 0 || Utf8Length(text) == 3u) << text;
        }
      }
      EXPECT_EQ(t.lookup(t.last + 1, language), "");
    }
  }
  // Table cells are searched for the aspect abbreviations: none inside another.
  for (int a = 1; a <= kNumKinds; ++a) {
    for (int b = 1; b <= kNumKinds; ++b) {
      EXPECT_TRUE(a == b || std::string(Aspect(b, 1).Abbrev).find(Aspect(a, 1).Abbrev) == std::string::npos);
    }
  }
}

TEST(NamesByLanguage, GermanWordsReadAsGermanAstrologersWriteThem) {
  const std::pair<std::string, const char*> cases[] = {
      {PlanetName(kMars, 1) + " " + Aspect(kSquare, 1).Phrase + " " + PlanetName(kSaturn, 1), "Mars Quadrat Saturn"},
      {PlanetName(kEarth, 1) + ", " + PlanetName(kNeptune, 1), "Erde, Neptun"},
      {Aspect(kQuincunx, 1).Description, "Quinkunx (150\u00B0)"},
      {SignName(4, 1) + ", " + SignName(8, 1), "L\u00F6we, Sch\u00FCtze"},
      {PatternName(kGrandTrine, 1) + ", " + PatternName(kStellium4, 1), "Gro\u00DFes Trigon, 4er-Stellium"},
      {std::string(Aspect(kSquare, 0).Phrase), "square to"},
  };
  for (const auto& [actual, expected] : cases) EXPECT_EQ(actual, expected);
}

}  // namespace
}  // namespace vemo
