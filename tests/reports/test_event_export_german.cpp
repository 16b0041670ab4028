// The event formats in German, over the sample of test_event_export.cpp: the
// words of the text list and of the calendar, the lines on stretches
// without positions, and the columns that programs read, which stay English.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/aspects/vocabulary.h"
#include "app/reports/event_export.h"
#include "app/text/program_text.h"
#include "app/time/date_texts.h"
#include "tests/reports/event_sample.h"

namespace vemo::reports {
namespace {

using testing::At;
using testing::Split;
using testing::Window;
using testing::WorldSample;

// German for the life of the test, as SelectLanguage sets it.
class German : public ::testing::Test {
 protected:
  void SetUp() override { Speak(kGerman); }
  void TearDown() override { Speak(kEnglish); }
  static void Speak(int language) {
    SetLanguageIndex(static_cast<std::int16_t>(language));
    SetNamesLanguage(language);
  }
};

TEST_F(German, TextList) {
  const std::vector<std::string> lines = Split(FormatEventsText(WorldSample().result, WorldSample().context), "\n");
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[0], "Aspektereignisse, Welttransite (heliozentrisch)");
  EXPECT_EQ(lines[1], "Von 2020-12-15 00:00 UT bis 2021-01-31 00:00 UT; Ortszeiten in GMT+1:00");
  // Columns by characters: "verlässt" is one byte longer than it is wide.
  EXPECT_EQ(lines[3], "Ortszeit GMT+1:00  UT                Planet 1   Planet 2   Aspekt      Ereignis"
                      "               Abweichung");
  EXPECT_EQ(lines[5], "2020-12-28 04:10   2020-12-28 03:10  Jupiter    Saturn     Trigon      "
                      "verl\u00E4sst den Orbis     7\u00B00'");
  EXPECT_EQ(lines[8], "Pluto: keine Positionen von 2021-01-20 00:00 UT bis 2021-01-31 00:00 UT; dort enden die "
                      "Ereignisse dieses Planeten.");
  EXPECT_EQ(GapLines({{kPluto, At(2250, 1, 1, 12), At(2250, 1, 1, 12)}}),
            std::vector<std::string>{"Pluto: keine Position am Geburtsdatum (2250-01-01 12:00 UT); daher keine "
                                     "Transite zu diesem Planeten."});
  testing::Sample none = WorldSample();
  none.result.events.clear();
  EXPECT_NE(FormatEventsText(none.result, none.context).find("\nKeine Ereignisse.\n"), std::string::npos);
}

TEST_F(German, CalendarWordsAndEnglishColumns) {
  testing::Sample s = WorldSample();
  s.context.mode = Mode::Personal1;
  s.context.birthAJD = At(1980, 5, 5, 12);
  s.result.windows[0].enters = -1;  // Saturn's positions begin on 2020-12-16
  s.result.gaps.push_back({kSaturn, s.context.fromAJD, At(2020, 12, 16)});
  const std::string ics = FormatEventsIcs(s.result, s.context);
  for (const char* piece :
       {"SUMMARY:Transit Saturn Trigon Radix Jupiter (heliozentrisch)\r\n",
        "UID:personal1-2444365.00000-Ju-Sa-Tri-20201216T0000Z@vemo\r\n",
        "DESCRIPTION:Heliozentrisch: Transit Saturn Trigon Radix Jupiter\\, Orbis 7\u00B00'.\\nGeburtsdatum: 198",
        "Tritt in den Orbis ein: unbekannt\\; die Positionen von Saturn beginnen am 2020-12-16 00:00 UT.",
        "Exakt: 2020-12-21 18:21 UT.", "Verl\u00E4sst den Orbis: unbekannt\\; die Positionen von Pluto enden am"}) {
    // Unfolded: every fold is CR LF and a blank.
    std::string unfolded;
    for (const std::string& line : Split(ics, "\r\n ")) unfolded += line;
    EXPECT_NE(unfolded.find(piece), std::string::npos) << piece << "\n" << unfolded;
  }
  const std::string csv = FormatEventsCsv(s.result, s.context);
  Speak(kEnglish);
  EXPECT_EQ(FormatEventsCsv(s.result, s.context), csv);
}

}  // namespace
}  // namespace vemo::reports
