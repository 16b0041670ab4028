// The names tables by language and the counted nouns.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

#include "app/aspects/vocabulary.h"

namespace vemo {
namespace {

constexpr int kEn = 0;
constexpr int kDe = 1;

// One names table: its valid indices and its lookup in a language.
struct NamesTable {
  const char* name;
  int first;
  int last;
  bool abbreviations;
  std::function<std::string(int index, int language)> lookup;
};

const NamesTable kTables[] = {
    {"PlanetName", 1, kMaxPlanets, false, [](int i, int l) { return PlanetName(i, l); }},
    {"PlanetAbbrev", 1, kMaxPlanets, true, [](int i, int l) { return PlanetAbbrev(i, l); }},
    {"AspectName", 1, kNumKinds, false, [](int i, int l) { return std::string(Aspect(i, l).Name); }},
    {"AspectAbbrev", 1, kNumKinds, true, [](int i, int l) { return std::string(Aspect(i, l).Abbrev); }},
    {"AspectPhrase", 1, kNumKinds, false, [](int i, int l) { return std::string(Aspect(i, l).Phrase); }},
    {"AspectRelation", 1, kNumKinds, false, [](int i, int l) { return std::string(Aspect(i, l).Relation); }},
    {"AspectDescription", 1, kNumKinds, false,
     [](int i, int l) { return std::string(Aspect(i, l).Description); }},
    {"SignName", 0, 11, false, [](int i, int l) { return SignName(i, l); }},
    {"SignAbbrev", 0, 11, true, [](int i, int l) { return SignAbbrev(i, l); }},
    {"PatternName", 0, kNumPatterns - 1, false, [](int i, int l) { return PatternName(i, l); }},
};

TEST(NamesByLanguage, EveryEntryHasAGermanTextAndAbbreviationsAreDistinct) {
  for (const NamesTable& t : kTables) {
    SCOPED_TRACE(t.name);
    for (int language : {kEn, kDe}) {
      std::set<std::string> seen;
      for (int i = t.first; i <= t.last; ++i) {
        const std::string text = t.lookup(i, language);
        EXPECT_FALSE(text.empty()) << "index " << i << " language " << language;
        if (t.abbreviations) {
          EXPECT_TRUE(seen.insert(text).second) << text << " twice in language " << language;
          if (language == kDe) {
            EXPECT_EQ(Utf8Length(text), 3u) << text;
          }
        }
      }
      EXPECT_EQ(t.lookup(t.first - 1, language), "");
      EXPECT_EQ(t.lookup(t.last + 1, language), "");
    }
  }
}

TEST(NamesByLanguage, UnknownLanguagesAndTheEnglishFormsGiveTheEnglishWords) {
  for (const NamesTable& t : kTables) {
    SCOPED_TRACE(t.name);
    for (int i = t.first; i <= t.last; ++i) {
      EXPECT_EQ(t.lookup(i, kEn), t.lookup(i, 7));
      EXPECT_EQ(t.lookup(i, -1), t.lookup(i, kEn));
    }
  }
  EXPECT_EQ(PlanetName(kMars, kEn), PlanetName(kMars));
  EXPECT_STREQ(Aspect(kSquare, kEn).Phrase, "square to");
}

// Table cells are searched for the aspect abbreviations, so none may be
// found inside another.
TEST(NamesByLanguage, NoAspectAbbreviationIsPartOfAnother) {
  for (int language : {kEn, kDe}) {
    for (int a = 1; a <= kNumKinds; ++a) {
      for (int b = 1; b <= kNumKinds; ++b) {
        if (a == b) continue;
        EXPECT_EQ(std::string(Aspect(b, language).Abbrev).find(Aspect(a, language).Abbrev), std::string::npos)
            << Aspect(a, language).Abbrev << " in " << Aspect(b, language).Abbrev;
      }
    }
  }
}

TEST(NamesByLanguage, GermanWordsReadAsGermanAstrologersWriteThem) {
  struct Case {
    const char* name;
    std::string actual;
    const char* expected;
  };
  const Case cases[] = {
      {"Earth", PlanetName(kEarth, kDe), "Erde"},
      {"Neptune", PlanetName(kNeptune, kDe), "Neptun"},
      {"PlutoShort", PlanetAbbrev(kPluto, kDe), "Plu"},
      {"SquareBetweenPlanets", PlanetName(kMars, kDe) + " " + Aspect(kSquare, kDe).Phrase + " " +
                                   PlanetName(kSaturn, kDe), "Mars Quadrat Saturn"},
      {"QuincunxWithAngle", Aspect(kQuincunx, kDe).Description, "Quinkunx (150\u00B0)"},
      {"Leo", SignName(4, kDe), "L\u00F6we"},
      {"Sagittarius", SignName(8, kDe), "Sch\u00FCtze"},
      {"LastSign", SignName(11, kDe), "Fische"},
      {"GrandTrine", PatternName(kGrandTrine, kDe), "Gro\u00DFes Trigon"},
      {"FourStellium", PatternName(kStellium4, kDe), "4er-Stellium"},
      {"Midpoint", PatternName(kMidpoint, kDe), "Halbsumme"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.actual, c.expected);
  }
}

TEST(CountNouns, SingularPluralAndGenderInBothLanguages) {
  struct Case {
    const char* name;
    const CountNoun& noun;
    const char* singular;
    const char* plural;
    const char* pluralAfterNo;
    Gender genus;
  };
  const Case cases[] = {
      {"Conjunction", KindNoun(kConjunction, kEn), "conjunction", "conjunctions", "conjunctions", Gender::None},
      {"Quincunx", KindNoun(kQuincunx, kEn), "quincunx", "quincunxes", "quincunxes", Gender::None},
      {"TSquareKeepsItsCapital", PatternNoun(kTSquare, kEn), "T-square", "T-squares", "T-squares", Gender::None},
      {"GrandCross", PatternNoun(kGrandCross, kEn), "grand cross", "grand crosses", "grand crosses", Gender::None},
      {"Konjunktion", KindNoun(kConjunction, kDe), "Konjunktion", "Konjunktionen", "Konjunktionen",
       Gender::Feminine},
      {"Quadrat", KindNoun(kSquare, kDe), "Quadrat", "Quadrate", "Quadrate", Gender::Neuter},
      {"Quinkunx", KindNoun(kQuincunx, kDe), "Quinkunx", "Quinkunxe", "Quinkunxe", Gender::Masculine},
      {"GrossesKreuz", PatternNoun(kGrandCross, kDe), "Gro\u00DFes Kreuz", "Gro\u00DFe Kreuze",
       "Gro\u00DFen Kreuze", Gender::Neuter},
      {"Drachen", PatternNoun(kKite, kDe), "Drachen", "Drachen", "Drachen", Gender::Masculine},
      {"Stellium", PatternNoun(kStellium6, kDe), "6er-Stellium", "6er-Stellien", "6er-Stellien", Gender::Neuter},
      {"UnknownKind", KindNoun(8, kDe), "", "", "", Gender::None},
      {"UnknownPattern", PatternNoun(-1, kEn), "", "", "", Gender::None},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_STREQ(c.noun.Singular, c.singular);
    EXPECT_STREQ(c.noun.Plural, c.plural);
    EXPECT_STREQ(c.noun.PluralAfterNo, c.pluralAfterNo);
    EXPECT_EQ(c.noun.Genus, c.genus);
  }
}

// The counted nouns are the names of the names tables, declined: the
// singular of every German pattern is its name.
TEST(CountNouns, GermanSingularsAreTheNames) {
  for (int k = 1; k <= kNumKinds; ++k) EXPECT_EQ(KindNoun(k, kDe).Singular, std::string(Aspect(k, kDe).Name));
  for (int i = 0; i < kNumPatterns; ++i) {
    EXPECT_EQ(PatternNoun(i, kDe).Singular, PatternName(i, kDe));
    EXPECT_NE(PatternNoun(i, kDe).Genus, Gender::None);
  }
}

}  // namespace
}  // namespace vemo
