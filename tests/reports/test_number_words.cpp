// Numbers, counts and durations in words, English and German.
#include <gtest/gtest.h>

#include <string>

#include "app/reports/number_words.h"
#include "app/reports/report_core.h"

namespace vemo::reports {
namespace {

constexpr int kEn = 0;
constexpr int kDe = 1;

TEST(GermanNumberWord, CountsInWords) {
  struct Case {
    int n;
    const char* expected;
  };
  const Case cases[] = {
      {0, "null"},
      {1, "eins"},
      {2, "zwei"},
      {7, "sieben"},
      {11, "elf"},
      {12, "zw\u00F6lf"},
      {16, "sechzehn"},
      {17, "siebzehn"},
      {20, "zwanzig"},
      {21, "einundzwanzig"},
      {23, "dreiundzwanzig"},
      {30, "drei\u00DFig"},
      {45, "f\u00FCnfundvierzig"},
      {99, "neunundneunzig"},
      {100, "hundert"},
      {101, "hunderteins"},
      {121, "hunderteinundzwanzig"},
      {300, "dreihundert"},
      {1000, "tausend"},
      {1001, "tausendeins"},
      {1100, "tausendeinhundert"},
      {2024, "zweitausendvierundzwanzig"},
      {21000, "einundzwanzigtausend"},
      {101000, "hunderteintausend"},
      {1000000, "eine Million"},
      {2001000, "zwei Millionen eintausend"},
      {101000000, "hunderteine Millionen"},
      {2147483647,
       "zwei Milliarden einhundertsiebenundvierzig Millionen "
       "vierhundertdreiundachtzigtausendsechshundertsiebenundvierzig"},
      {-3, "-3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.n);
    EXPECT_EQ(GermanNumberWord(c.n), c.expected);
  }
}

TEST(GermanNumberWord, OneAndZeroBeforeANoun) {
  struct Case {
    const char* name;
    int n;
    Gender gender;
    GermanCase grammaticalCase;
    const char* expected;
  };
  const Case cases[] = {
      {"Masculine", 1, Gender::Masculine, GermanCase::Nominative, "ein"},
      {"MasculineAccusative", 1, Gender::Masculine, GermanCase::Accusative, "einen"},
      {"Feminine", 1, Gender::Feminine, GermanCase::Accusative, "eine"},
      {"Neuter", 1, Gender::Neuter, GermanCase::Accusative, "ein"},
      {"NoneBeforeAPlural", 0, Gender::Feminine, GermanCase::Nominative, "keine"},
      {"TwoKeepsItsForm", 2, Gender::Feminine, GermanCase::Nominative, "zwei"},
      {"TwentyOneKeepsItsForm", 21, Gender::Masculine, GermanCase::Accusative, "einundzwanzig"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(GermanNumberWord(c.n, c.gender, c.grammaticalCase), c.expected);
  }
}

TEST(NumberInWords, CapitalFirstLetterInBothLanguages) {
  struct Case {
    int n;
    bool german;
    const char* expected;
  };
  const Case cases[] = {
      {0, false, "No"},          {1, false, "One"},           {23, false, "Twenty three"},
      {99, false, "Ninety nine"}, {0, true, "Keine"},         {1, true, "Eins"},
      {23, true, "Dreiundzwanzig"}, {1000, true, "Tausend"},  {-1, true, "-1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.n);
    EXPECT_EQ(NumberInWords(c.n, c.german), c.expected);
  }
}

TEST(CountPhrases, AspectKindsInBothLanguages) {
  struct Case {
    int kind;
    int count;
    int language;
    const char* expected;
  };
  const Case cases[] = {
      {kConjunction, 0, kEn, "no conjunctions"},
      {kConjunction, 1, kEn, "one conjunction"},
      {kConjunction, 2, kEn, "two conjunctions"},
      {kSquare, 23, kEn, "twenty three squares"},
      {kQuincunx, 1, kEn, "one quincunx"},
      {kQuincunx, 3, kEn, "three quincunxes"},
      {kConjunction, 1, kDe, "eine Konjunktion"},
      {kConjunction, 2, kDe, "zwei Konjunktionen"},
      {kOpposition, 0, kDe, "keine Oppositionen"},
      {kSquare, 3, kDe, "drei Quadrate"},
      {kTrine, 1, kDe, "ein Trigon"},
      {kTrine, 2, kDe, "zwei Trigone"},
      {kSextile, 1, kDe, "ein Sextil"},
      {kSextile, 2, kDe, "zwei Sextile"},
      {kSemisextile, 1, kDe, "ein Halbsextil"},
      {kQuincunx, 1, kDe, "ein Quinkunx"},
      {kQuincunx, 2, kDe, "zwei Quinkunxe"},
      {kQuincunx, 1, 5, "one quincunx"},
      {0, 1, kDe, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(KindCountPhrase(c.kind, c.count, c.language), c.expected);
  }
  EXPECT_EQ(KindCountPhrase(kQuincunx, 1, kDe, GermanCase::Accusative), "einen Quinkunx");
}

TEST(CountPhrases, PatternsInBothLanguages) {
  struct Case {
    int index;
    int count;
    int language;
    GermanCase grammaticalCase;
    const char* expected;
  };
  const Case cases[] = {
      {kTSquare, 2, kEn, GermanCase::Nominative, "two T-squares"},
      {kGrandCross, 2, kEn, GermanCase::Nominative, "two grand crosses"},
      {kStellium3, 4, kEn, GermanCase::Nominative, "four 3-stelliums"},
      {kMidpoint, 1, kEn, GermanCase::Nominative, "one midpoint"},
      {kGrandTrine, 1, kDe, GermanCase::Accusative, "ein Gro\u00DFes Trigon"},
      {kGrandTrine, 2, kDe, GermanCase::Nominative, "zwei Gro\u00DFe Trigone"},
      {kGrandTrine, 0, kDe, GermanCase::Nominative, "keine Gro\u00DFen Trigone"},
      {kKite, 1, kDe, GermanCase::Nominative, "ein Drachen"},
      {kKite, 1, kDe, GermanCase::Accusative, "einen Drachen"},
      {kTSquare, 3, kDe, GermanCase::Nominative, "drei T-Quadrate"},
      {kStellium5, 2, kDe, GermanCase::Nominative, "zwei 5er-Stellien"},
      {kMidpoint, 1, kDe, GermanCase::Accusative, "eine Halbsumme"},
      {kMidpoint, 12, kDe, GermanCase::Accusative, "zw\u00F6lf Halbsummen"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(PatternCountPhrase(c.index, c.count, c.language, c.grammaticalCase), c.expected);
  }
}

TEST(DurationText, YearsAndDaysInBothLanguages) {
  struct Case {
    int days;
    int language;
    const char* expected;
  };
  const Case cases[] = {
      {1, kEn, "1 day"},
      {44, kEn, "44 days"},
      {365, kEn, "1 year"},
      {409, kEn, "1 year, 44 days"},
      {1, kDe, "1 Tag"},
      {2, kDe, "2 Tage"},
      {365, kDe, "1 Jahr"},
      {409, kDe, "1 Jahr, 44 Tage"},
      {730, kDe, "1 Jahr, 365 Tage"},  // two years are 730.485 days
      {731, kDe, "2 Jahre, 1 Tag"},
      {732, kDe, "2 Jahre, 2 Tage"},
      {3000, kDe, "8 Jahre, 79 Tage"},  // 3000 - floor(8 * 365.2425)
      {409, 9, "1 year, 44 days"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(DurationText(c.days, c.language), c.expected);
  }
}

}  // namespace
}  // namespace vemo::reports
