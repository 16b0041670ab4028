// Numbers, counts and durations in words, English and German.
#include <gtest/gtest.h>

#include <string>

#include "app/reports/report_core.h"
#include "app/text/program_text.h"
#include "app/time/date_texts.h"

namespace vemo::reports {
namespace {

TEST(GermanNumberWord, CountsInWordsAndBeforeNouns) {
  const std::pair<int, const char*> words[] = {
      {0, "null"}, {1, "eins"}, {2, "zwei"}, {7, "sieben"}, {11, "elf"}, {12, "zw\u00F6lf"},
      {16, "sechzehn"}, {17, "siebzehn"}, {20, "zwanzig"}, {21, "einundzwanzig"}, {23, "dreiundzwanzig"},
      {30, "drei\u00DFig"}, {45, "f\u00FCnfundvierzig"}, {99, "neunundneunzig"}, {100, "hundert"},
      {101, "hunderteins"}, {121, "hunderteinundzwanzig"}, {1000, "tausend"}, {1100, "tausendeinhundert"},
      {101000, "hunderteintausend"}, {2001000, "zwei Millionen eintausend"}, {101000000, "hunderteine Millionen"},
      {-3, "-3"}};
  for (const auto& [n, text] : words) EXPECT_EQ(GermanNumberWord(n), text) << n;
  EXPECT_EQ(GermanNumberWord(1, Gender::Masculine), "ein");
  EXPECT_EQ(GermanNumberWord(1, Gender::Masculine, GermanCase::Accusative), "einen");
  EXPECT_EQ(GermanNumberWord(1, Gender::Feminine), "eine");
  EXPECT_EQ(GermanNumberWord(0, Gender::Neuter), "keine");
  EXPECT_EQ(GermanNumberWord(21, Gender::Feminine), "einundzwanzig");
  EXPECT_EQ(NumberInWords(0, true), "Keine");
  EXPECT_EQ(NumberInWords(23, true), "Dreiundzwanzig");
}

TEST(CountPhrases, AspectsAndPatternsInBothLanguages) {
  struct Case {
    std::string actual;
    const char* expected;
  };
  const Case cases[] = {
      {KindCountPhrase(kConjunction, 0, 0), "no conjunctions"},
      {KindCountPhrase(kSquare, 23, 0), "twenty three squares"},
      {KindCountPhrase(kQuincunx, 1, 0) + ", " + KindCountPhrase(kQuincunx, 3, 5), "one quincunx, three quincunxes"},
      {PatternCountPhrase(kTSquare, 2, 0) + ", " + PatternCountPhrase(kGrandCross, 2, 0), "two T-squares, two grand crosses"},
      {KindCountPhrase(kConjunction, 1, 1) + ", " + KindCountPhrase(kConjunction, 2, 1), "eine Konjunktion, zwei Konjunktionen"},
      {KindCountPhrase(kSquare, 3, 1) + ", " + KindCountPhrase(kOpposition, 0, 1), "drei Quadrate, keine Oppositionen"},
      {KindCountPhrase(kTrine, 1, 1) + ", " + KindCountPhrase(kTrine, 2, 1), "ein Trigon, zwei Trigone"},
      {KindCountPhrase(kSextile, 1, 1) + ", " + KindCountPhrase(kSemisextile, 2, 1), "ein Sextil, zwei Halbsextile"},
      {KindCountPhrase(kQuincunx, 1, 1) + ", " + KindCountPhrase(kQuincunx, 2, 1), "ein Quinkunx, zwei Quinkunxe"},
      {KindCountPhrase(kQuincunx, 1, 1, GermanCase::Accusative), "einen Quinkunx"},
      {PatternCountPhrase(kGrandTrine, 2, 1) + ", " + PatternCountPhrase(kGrandTrine, 0, 1),
       "zwei Gro\u00DFe Trigone, keine Gro\u00DFen Trigone"},
      {PatternCountPhrase(kKite, 1, 1, GermanCase::Accusative) + ", " + PatternCountPhrase(kStellium5, 2, 1),
       "einen Drachen, zwei 5er-Stellien"},
      {PatternCountPhrase(kMidpoint, 1, 1) + KindCountPhrase(0, 1, 1), "eine Halbsumme"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected);
}

// With the shipped program text's words for days and years.
TEST(DurationText, YearsAndDaysInBothLanguages) {
  ASSERT_EQ(LoadProgramText(VEMO_SOURCE_DATA_DIR), "");
  const std::pair<std::pair<int, int>, const char*> cases[] = {
      {{409, 0}, "1 year, 44 days"}, {{409, 9}, "1 year, 44 days"}, {{1, 1}, "1 Tag"}, {{2, 1}, "2 Tage"},
      {{365, 1}, "1 Jahr"}, {{409, 1}, "1 Jahr, 44 Tage"}, {{731, 1}, "2 Jahre, 1 Tag"},
      {{3000, 1}, "8 Jahre, 79 Tage"}};  // 3000 - floor(8 * 365.2425)
  for (const auto& [in, text] : cases) {
    SetProgramLanguage(in.second == kGerman ? kGerman : kEnglish);
    EXPECT_EQ(DurationText(in.first, ProgramText), text) << in.first;
  }
  SetProgramLanguage(kEnglish);
}

}  // namespace
}  // namespace vemo::reports
