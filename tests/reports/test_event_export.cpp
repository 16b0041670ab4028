// The output formats of aspect events, over search results built by hand:
// instants a few seconds off the minute (to see the rounding), a window that
// entered before the span, one whose leaving is cut off by a stretch without
// Pluto positions. The JSON and the iCalendar text are read back by Python's
// own parsers in test_event_export_python.cpp.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/reports/event_export.h"
#include "tests/reports/event_sample.h"

namespace vemo::reports {
namespace {

using testing::At;
using testing::kDegree;
using testing::Sample;
using testing::Split;
using testing::Window;
using testing::WorldSample;

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

// ---- instants ----

TEST(EventInstants, RoundedToTheNearestMinuteInUtc) {
  const struct {
    double ajd;
    const char *iso, *ics;
  } cases[] = {
      {2451545.0, "2000-01-01T12:00:00Z", "20000101T120000Z"},
      {At(2000, 1, 1, 12, 0, 29.9), "2000-01-01T12:00:00Z", "20000101T120000Z"},
      {At(2000, 1, 1, 12, 0, 30.2), "2000-01-01T12:01:00Z", "20000101T120100Z"},
      {At(1999, 12, 31, 23, 59, 40), "2000-01-01T00:00:00Z", "20000101T000000Z"},
      {At(1999, 12, 31, 23, 59, 20), "1999-12-31T23:59:00Z", "19991231T235900Z"},
      {At(2024, 2, 29, 23, 30), "2024-02-29T23:30:00Z", "20240229T233000Z"},
      {At(1, 1, 1), "0001-01-01T00:00:00Z", "00010101T000000Z"},
      {At(2799, 12, 31, 23, 59, 59), "2800-01-01T00:00:00Z", "28000101T000000Z"},
      {-1.0, "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(UtcIsoText(c.ajd), c.iso) << c.ajd;
    EXPECT_EQ(IcsDateTime(c.ajd), c.ics) << c.ajd;
  }
}

// ---- escaping and folding ----

TEST(EventEscaping, CsvFieldsQuotedOnlyWhereNeeded) {
  const struct {
    const char *in, *out;
  } cases[] = {
      {"Jupiter", "Jupiter"},
      {"", ""},
      {"2°0'", "2°0'"},
      {"a,b", "\"a,b\""},
      {"say \"hi\"", "\"say \"\"hi\"\"\""},
      {"\"", "\"\"\"\""},
      {"two\nlines", "\"two\nlines\""},
      {"cr\rhere", "\"cr\rhere\""},
  };
  for (const auto& c : cases) EXPECT_EQ(CsvField(c.in), c.out) << c.in;
}

TEST(EventEscaping, IcsTextValues) {
  const struct {
    const char *in, *out;
  } cases[] = {
      {"plain 7°0'", "plain 7°0'"},
      {"a,b;c", "a\\,b\\;c"},
      {"back\\slash", "back\\\\slash"},
      {"one\ntwo", "one\\ntwo"},
      {"one\r\ntwo", "one\\ntwo"},
      {"end\r", "end\\n"},
      {"a:b \"q\"", "a:b \"q\""},  // colons and quotes stay as they are in TEXT
  };
  for (const auto& c : cases) EXPECT_EQ(IcsText(c.in), c.out) << c.in;
}

TEST(EventEscaping, JsonStrings) {
  const struct {
    std::string in, out;
  } cases[] = {
      {"Mars", "\"Mars\""},
      {"a\"b", "\"a\\\"b\""},
      {"a\\b", "\"a\\\\b\""},
      {"a\nb\tc\r", "\"a\\nb\\tc\\r\""},
      {"\x1f\x7f", "\"\\u001f\x7f\""},
      {std::string("nul\0x", 5), "\"nul\\u0000x\""},
      {"7°0'", "\"7°0'\""},
  };
  for (const auto& c : cases) EXPECT_EQ(JsonQuoted(c.in), c.out);
}

// Every physical line of a folded line has at most 75 octets, each
// continuation starts with a blank and then a whole UTF-8 character, and
// unfolding gives the line back.
void ExpectFoldedWell(const std::string& line) {
  const std::string folded = FoldIcsLine(line);
  ASSERT_GE(folded.size(), 2u);
  ASSERT_EQ(folded.substr(folded.size() - 2), "\r\n");
  const std::vector<std::string> parts = Split(folded.substr(0, folded.size() - 2), "\r\n");
  std::string unfolded;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    EXPECT_LE(parts[i].size(), 75u) << i;
    std::string content = parts[i];
    if (i > 0) {
      ASSERT_FALSE(content.empty());
      EXPECT_EQ(content[0], ' ');
      content.erase(0, 1);
      ASSERT_FALSE(content.empty());
    }
    EXPECT_NE(static_cast<unsigned char>(content[0]) & 0xC0, 0x80) << "line " << i << " starts inside a character";
    unfolded += content;
  }
  EXPECT_EQ(unfolded, line);
}

TEST(EventFolding, SeventyFiveOctetsAndWholeCharacters) {
  // A degree sign (2 octets) and a planet symbol (3 octets) over every
  // position around the first and second fold.
  for (const std::string symbol : {"\u00b0", "\u2643"}) {
    for (std::size_t before = 68; before <= 152; ++before) {
      SCOPED_TRACE(before);
      ExpectFoldedWell("DESCRIPTION:" + std::string(before - 12, 'x') + symbol + std::string(90, 'y'));
    }
  }
  EXPECT_EQ(FoldIcsLine(std::string(75, 'a')), std::string(75, 'a') + "\r\n");
  EXPECT_EQ(FoldIcsLine(std::string(76, 'a')), std::string(75, 'a') + "\r\n a\r\n");
  EXPECT_EQ(FoldIcsLine(std::string(75 + 74 + 1, 'a')),
            std::string(75, 'a') + "\r\n " + std::string(74, 'a') + "\r\n a\r\n");
  // The degree sign would straddle octets 75 and 76: it moves to the next line whole.
  EXPECT_EQ(FoldIcsLine(std::string(74, 'a') + "\u00b0b"), std::string(74, 'a') + "\r\n \u00b0b\r\n");
}

// ---- windows to events ----

TEST(EventsOfWindows, OnlyInsideTheSpanByTime) {
  const Sample s = WorldSample();
  const std::vector<AspectEvent>& e = s.result.events;
  ASSERT_EQ(e.size(), 3u);  // Jupiter-Saturn entered before the span; Mars-Pluto never leaves
  const struct {
    EventKind event;
    int window, planet1;
    double deviationDegrees;
  } expected[] = {{EventKind::Exact, 0, kJupiter, 0}, {EventKind::Leaves, 0, kJupiter, 7},
                  {EventKind::Enters, 1, kMars, 6}};
  for (std::size_t i = 0; i < e.size(); ++i) {
    EXPECT_EQ(e[i].event, expected[i].event) << i;
    EXPECT_EQ(e[i].window, expected[i].window) << i;
    EXPECT_EQ(e[i].planet1, expected[i].planet1) << i;
    EXPECT_NEAR(e[i].deviation, expected[i].deviationDegrees * kDegree, 1e-12) << i;
    if (i > 0) {
      EXPECT_LE(e[i - 1].ajd, e[i].ajd);
    }
  }
  // The span bounds count as inside.
  const AspectWindow w = Window(kEarth, kMars, kConjunction, 10, 100.0, {150.0, 160.0}, 200.0);
  EXPECT_EQ(EventsOfWindows({w}, 100.0, 200.0).size(), 4u);
  EXPECT_EQ(EventsOfWindows({w}, 150.0, 155.0).size(), 1u);
  EXPECT_TRUE(EventsOfWindows({w}, 201.0, 300.0).empty());
  // On one instant: by pair, kind, then entering before leaving.
  const std::vector<AspectEvent> tied = EventsOfWindows({Window(kMars, kPluto, kTrine, 7, 120.0, {}, 130.0),
                                                         Window(kMars, kPluto, kSquare, 6, 110.0, {}, 120.0),
                                                         Window(kEarth, kPluto, kTrine, 7, 100.0, {120.0}, 125.0)},
                                                        0.0, 200.0);
  std::vector<std::pair<int, int>> order;  // window, event at 120
  for (const AspectEvent& e : tied) {
    if (e.ajd == 120.0) order.emplace_back(e.window, static_cast<int>(e.event));
  }
  EXPECT_EQ(order, (std::vector<std::pair<int, int>>{{2, 1}, {1, 2}, {0, 0}}));
}

// ---- the formats ----

TEST(EventFormats, TextInTheZoneAndInUt) {
  Sample s = WorldSample();
  const std::vector<std::string> lines = Split(FormatEventsText(s.result, s.context), "\n");
  // Heading, span, blank, column heads, three events, blank, the gap, end.
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[1], "From 2020-12-15 00:00 UT to 2021-01-31 00:00 UT; local times in GMT+1:00");
  EXPECT_EQ(Words(lines[4]), (std::vector<std::string>{"2020-12-21", "19:21", "2020-12-21", "18:21", "Jupiter",
                                                      "Saturn", "Trine", "exact", "0°0'"}));
  EXPECT_EQ(Words(lines[6]), (std::vector<std::string>{"2021-01-11", "01:00", "2021-01-11", "00:00", "Mars",
                                                      "Pluto", "Square", "enters", "6°0'"}));
  EXPECT_EQ(lines[8], "Pluto: no positions from 2021-01-20 00:00 UT to 2021-01-31 00:00 UT; its events stop there.");
  EXPECT_EQ(GapLines({{kPluto, At(2250, 1, 1, 12), At(2250, 1, 1, 12)}}),
            std::vector<std::string>{"Pluto: no position on 2250-01-01 12:00 UT, the birthdate; no transits to it."});

  // West of Greenwich the local day is the one before.
  s.context.zoneMinutes = -570;
  const std::vector<std::string> west = Split(FormatEventsText(s.result, s.context), "\n");
  ASSERT_EQ(west.size(), 10u);
  EXPECT_EQ(Words(west[6])[0] + " " + Words(west[6])[1], "2021-01-10 14:30");
  EXPECT_NE(west[3].find("Local GMT-9:30"), std::string::npos) << west[3];

  s.result.events.clear();
  s.result.gaps.clear();
  EXPECT_NE(FormatEventsText(s.result, s.context).find("\nNo events.\n"), std::string::npos);
}

TEST(EventFormats, CsvRowsWithCrLf) {
  const Sample s = WorldSample();
  const std::string csv = FormatEventsCsv(s.result, s.context);
  ASSERT_EQ(csv.substr(csv.size() - 2), "\r\n");
  const std::vector<std::string> rows = Split(csv.substr(0, csv.size() - 2), "\r\n");
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0], "event,utc,jd,planet1,planet2,kind,deviation_deg,window_start_utc,window_end_utc");
  // The Personal modes say which planet is the natal one.
  for (const Mode personal : {Mode::Personal1, Mode::Personal2}) {
    EventExportContext context = s.context;
    context.mode = personal;
    const std::string header = FormatEventsCsv(s.result, context);
    EXPECT_EQ(header.substr(0, header.find('\r')),
              "event,utc,jd,natal_planet,transiting_planet,kind,deviation_deg,window_start_utc,window_end_utc");
  }
  const struct {
    std::vector<std::string> fields;  // without the jd
    double jd;
  } expected[] = {
      {{"exact", "2020-12-21T18:21:00Z", "Jupiter", "Saturn", "Trine", "0.0000", "2020-12-14T10:03:00Z",
        "2020-12-28T03:10:00Z"},
       At(2020, 12, 21, 18, 20, 35)},
      {{"leaves", "2020-12-28T03:10:00Z", "Jupiter", "Saturn", "Trine", "7.0000", "2020-12-14T10:03:00Z",
        "2020-12-28T03:10:00Z"},
       At(2020, 12, 28, 3, 9, 45)},
      {{"enters", "2021-01-11T00:00:00Z", "Mars", "Pluto", "Square", "6.0000", "2021-01-11T00:00:00Z", ""},
       At(2021, 1, 10, 23, 59, 50)},
  };
  for (std::size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(rows[i + 1]);
    std::vector<std::string> fields = Split(rows[i + 1], ",");
    ASSERT_EQ(fields.size(), 9u);
    EXPECT_NEAR(std::stod(fields[2]), expected[i].jd, 1e-6);
    fields.erase(fields.begin() + 2);
    EXPECT_EQ(fields, expected[i].fields);
    EXPECT_EQ(rows[i + 1].find('\n'), std::string::npos);
  }
}

// The unfolded content lines of an iCalendar text.
std::vector<std::string> IcsLines(const std::string& ics) {
  std::vector<std::string> lines;
  for (const std::string& physical : Split(ics.substr(0, ics.size() - 2), "\r\n")) {
    if (!physical.empty() && physical[0] == ' ') lines.back() += physical.substr(1);
    else lines.push_back(physical);
  }
  return lines;
}

TEST(EventFormats, IcsOneEventPerWindow) {
  const Sample s = WorldSample();
  const std::string ics = FormatEventsIcs(s.result, s.context);
  ASSERT_EQ(ics.substr(ics.size() - 2), "\r\n");
  for (std::size_t at = ics.find('\n'); at != std::string::npos; at = ics.find('\n', at + 1)) {
    ASSERT_EQ(ics[at - 1], '\r') << "bare LF at " << at;
  }
  const std::vector<std::string> expected = {
      "BEGIN:VCALENDAR",
      "VERSION:2.0",
      "PRODID:-//vemo//Heliocentric aspect events//EN",
      "CALSCALE:GREGORIAN",
      "BEGIN:VEVENT",
      "UID:world-Ju-Sa-Tri-20201214T1003Z@vemo",
      "DTSTAMP:20240102T030405Z",
      "DTSTART:20201214T100300Z",
      "DTEND:20201228T031000Z",
      "SUMMARY:Jupiter trine Saturn (heliocentric)",
      "DESCRIPTION:Heliocentric Jupiter trine Saturn\\, orb 7°0'.\\nEnters its orb: 2020-12-14 10:03 UT.\\n"
      "Exact: 2020-12-21 18:21 UT.\\nLeaves its orb: 2020-12-28 03:10 UT.",
      "TRANSP:TRANSPARENT",
      "END:VEVENT",
      "BEGIN:VEVENT",
      "UID:world-Ma-Pl-Sqr-20210111T0000Z@vemo",
      "DTSTAMP:20240102T030405Z",
      "DTSTART:20210111T000000Z",
      "DTEND:20210120T000000Z",
      "SUMMARY:Mars square Pluto (heliocentric)",
      "DESCRIPTION:Heliocentric Mars square Pluto\\, orb 6°0'.\\nEnters its orb: 2021-01-11 00:00 UT.\\n"
      "Leaves its orb: not known\\; the positions of Pluto end on 2021-01-20 00:00 UT.",
      "TRANSP:TRANSPARENT",
      "END:VEVENT",
      "END:VCALENDAR",
  };
  EXPECT_EQ(IcsLines(ics), expected);
}

TEST(EventFormats, IcsBoundsThatAreNotKnown) {
  const double from = At(2150, 1, 1), to = At(2150, 12, 31);
  const struct {
    const char* what;
    AspectWindow window;
    std::vector<PositionGap> gaps;
    const char *start, *end, *note;
  } cases[] = {
      {"positions begin inside the window",
       Window(kSaturn, kPluto, kTrine, 7, -1, {At(2150, 3, 1)}, At(2150, 4, 1)),
       {{kPluto, from, At(2150, 2, 1, 6)}, {kPluto, At(2150, 6, 1), to}},
       "21500201T060000Z", "21500401T000000Z", "not known\\; the positions of Pluto begin on 2150-02-01 06:00 UT."},
      {"no stretch names it: the span",
       Window(kSaturn, kUranus, kTrine, 7, -1, {}, -1),
       {{kPluto, from, to}},
       "21500101T000000Z", "21501231T000000Z", "Leaves its orb: not known\\, after 2150-12-31 00:00 UT."},
      {"the stretch of the other planet of the pair",
       Window(kPluto, kNeptune, kSextile, 4, At(2150, 5, 5), {}, -1),
       {{kJupiter, At(2150, 5, 10), to}, {kPluto, At(2150, 7, 1), to}, {kPluto, At(2150, 6, 1), to}},
       "21500505T000000Z", "21500601T000000Z", "the positions of Pluto end on 2150-06-01 00:00 UT."},
      {"cut off within its first minute: one minute long",
       Window(kMars, kPluto, kSquare, 6, At(2150, 6, 1, 0, 0, 10), {}, -1),
       {{kPluto, At(2150, 6, 1, 0, 0, 20), to}},
       "21500601T000000Z", "21500601T000100Z", "Leaves its orb: not known"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EventSearchResult r;
    r.ok = true;
    r.windows = {c.window};
    r.gaps = c.gaps;
    EventExportContext context;
    context.fromAJD = from;
    context.toAJD = to;
    const std::vector<std::string> lines = IcsLines(FormatEventsIcs(r, context));
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[7], std::string("DTSTART:") + c.start);
    EXPECT_EQ(lines[8], std::string("DTEND:") + c.end);
    EXPECT_NE(lines[10].find(c.note), std::string::npos) << lines[10];
  }
}

TEST(EventFormats, SummaryNamesNatalAndTransiting) {
  const AspectWindow w = Window(kVenus, kMars, kSquare, 2, 1, {}, 2);
  EXPECT_EQ(WindowSummary(Mode::WorldTransits, Window(kJupiter, kSaturn, kTrine, 7, 1, {}, 2)),
            "Jupiter trine Saturn (heliocentric)");
  EXPECT_EQ(WindowSummary(Mode::Personal1, w), "transiting Mars square natal Venus (heliocentric)");
  EXPECT_EQ(WindowSummary(Mode::Personal2, Window(kEarth, kEarth, kOpposition, 3, 1, {}, 2)),
            "transiting Earth opposite natal Earth (heliocentric)");
}

TEST(EventUids, StableForTheSameWindowDistinctOtherwise) {
  EventExportContext c;
  c.mode = Mode::Personal1;
  c.birthAJD = At(1980, 1, 1, 12, 30);
  c.fromAJD = At(2024, 1, 1);
  const AspectWindow w = Window(kVenus, kMars, kSquare, 2, At(2024, 3, 5, 12, 12, 10), {}, At(2024, 3, 9));
  const std::string uid = EventUid(c, w, w.enters);
  EXPECT_EQ(uid, "personal1-2444240.02083-Ve-Ma-Sqr-20240305T1212Z@vemo");

  // A later span, a second export, the window cut by the span: the same UID.
  EventExportContext later = c;
  later.fromAJD = At(2024, 3, 6);
  later.toAJD = At(2025, 1, 1);
  later.dtstamp = "20300101T000000Z";
  AspectWindow cut = w;
  cut.entersBeforeSpan = true;
  cut.exact = {At(2024, 3, 7)};
  EXPECT_EQ(EventUid(later, cut, cut.enters), uid);
  EXPECT_EQ(EventUid(c, w, At(2024, 3, 5, 12, 11, 50)), uid);  // the same minute, rounded

  // Anything that makes it another window makes it another UID.
  std::set<std::string> uids{uid};
  EventExportContext other = c;
  other.mode = Mode::Personal2;
  uids.insert(EventUid(other, w, w.enters));
  other = c;
  other.birthAJD += 1.0 / 48;
  uids.insert(EventUid(other, w, w.enters));
  other.mode = Mode::WorldTransits;
  uids.insert(EventUid(other, w, w.enters));
  uids.insert(EventUid(c, Window(kMars, kVenus, kSquare, 2, 0, {}, 0), w.enters));
  uids.insert(EventUid(c, Window(kVenus, kMars, kTrine, 2, 0, {}, 0), w.enters));
  uids.insert(EventUid(c, w, w.enters + 1.0 / 1440));
  EXPECT_EQ(uids.size(), 7u);
}

// A sky of straight lines: Mars at 10° on B plus half a degree a day,
// Jupiter at 10° on T plus a degree a day. Natal Mars of the birthdate B
// stays at 10°, so a personal 1° conjunction of transiting Jupiter enters
// on T - 1 and leaves on T + 1; Mars of the day would put it elsewhere.
EngineServices LineSky(double b, double t) {
  EngineServices s;
  s.HelioLongitude = [b, t](int planet, double ajd) {
    if (planet == kMars) return NormaliseAngle((10.0 + 0.5 * (ajd - b)) * kDegree);
    if (planet == kJupiter) return NormaliseAngle((10.0 + (ajd - t)) * kDegree);
    return -99.0;
  };
  return s;
}

TEST(EventUids, SettledMinuteFromThePositionsAlone) {
  const double b = At(1990, 1, 1), seconds = 1.0 / 86400;
  const AspectWindow w = Window(kMars, kJupiter, kConjunction, 1, -1, {}, -1);
  const struct {
    double t;           // Jupiter's 10°
    const char *enter;  // the minutes the personal conjunction enters and leaves
    const char *leave;
  } skies[] = {
      {At(2024, 1, 2, 0, 0, 40), "20240101T000100Z", "20240103T000100Z"},
      {At(2024, 1, 2, 0, 0, 29), "20240101T000000Z", "20240103T000000Z"},
      {At(2024, 1, 2, 23, 59, 31), "20240102T000000Z", "20240104T000000Z"},
  };
  for (const auto& sky : skies) {
    const EngineServices services = LineSky(b, sky.t);
    // Estimates up to 55 s off, on either side, as a search to the minute may give.
    for (double off : {-55.0, -25.0, 0.0, 25.0, 55.0}) {
      SCOPED_TRACE(std::string(sky.enter) + " off " + std::to_string(off));
      EXPECT_EQ(IcsDateTime(SettledMinute(services, Mode::Personal1, b, w, sky.t - 1 + off * seconds, true)),
                sky.enter);
      EXPECT_EQ(IcsDateTime(SettledMinute(services, Mode::Personal1, b, w, sky.t + 1 + off * seconds, false)),
                sky.leave);
    }
  }
  // An instant not known has nothing to settle.
  const EngineServices services = LineSky(b, At(2024, 1, 2, 0, 0, 40));
  EXPECT_EQ(SettledMinute(services, Mode::Personal1, b, w, -1, true), -1.0);
  // Too far from the change, or no positions to test: the estimate stays.
  const double far = At(2024, 1, 1, 0, 10);
  EXPECT_EQ(SettledMinute(services, Mode::Personal1, b, w, far, true), far);
  EXPECT_EQ(SettledMinute(EngineServices{}, Mode::Personal1, b, w, At(2024, 1, 1, 0, 0, 30), true),
            At(2024, 1, 1, 0, 0, 30));
  // A window of planets without positions never changes.
  const AspectWindow dark = Window(kSaturn, kJupiter, kConjunction, 1, -1, {}, -1);
  EXPECT_EQ(SettledMinute(services, Mode::WorldTransits, b, dark, At(2024, 1, 1), true), At(2024, 1, 1));

  // The calendar takes its bounds and UID from the settled minutes.
  EventSearchResult r;
  r.windows = {Window(kMars, kJupiter, kConjunction, 1, At(2024, 1, 1, 0, 0, 15), {}, At(2024, 1, 3, 0, 1, 20))};
  EventExportContext c;
  c.mode = Mode::Personal1;
  c.birthAJD = b;
  c.services = &services;
  const std::vector<std::string> lines = IcsLines(FormatEventsIcs(r, c));
  ASSERT_EQ(lines.size(), 14u);
  EXPECT_EQ(lines[5], "UID:personal1-2447892.50000-Ma-Ju-Con-20240101T0001Z@vemo");
  EXPECT_EQ(lines[7], "DTSTART:20240101T000100Z");
  EXPECT_EQ(lines[8], "DTEND:20240103T000100Z");
}

// ---- written as a search hands it on ----

// Handed windows and events as a streamed search hands them on (the windows
// whose entering is not known last, as where positions begin inside the
// span), the writer writes the whole result's bytes in every format, with
// the windows it holds back in memory or in a file, and leaves no file
// behind; a file it cannot make stops it with the reason.
TEST(EventWriter, StreamedBytesAreTheWholeResultsBytes) {
  Sample s = WorldSample();
  EventSearchResult& r = s.result;
  // Neptune's positions begin on 2020-12-20, inside two windows.
  r.gaps.insert(r.gaps.begin(), {kNeptune, At(2020, 12, 15), At(2020, 12, 20)});
  r.windows.insert(r.windows.begin(), {Window(kVenus, kNeptune, kSextile, 5, -1, {}, At(2020, 12, 22, 4, 1)),
                                       Window(kEarth, kNeptune, kSquare, 7, -1, {At(2020, 12, 24)}, At(2021, 1, 5))});
  std::swap(r.windows[0], r.windows[1]);  // listed by pair: Earth before Venus
  r.events = EventsOfWindows(r.windows, s.context.fromAJD, s.context.toAJD);
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("vemo-event-writer-" + std::to_string(std::random_device{}()));
  std::filesystem::create_directories(folder);
  for (EventFormat format : {EventFormat::Text, EventFormat::Csv, EventFormat::Json, EventFormat::Ics}) {
    for (std::size_t inMemory : {std::size_t{0}, std::size_t{1} << 20}) {
      SCOPED_TRACE(static_cast<int>(format) * 10 + (inMemory > 0));
      std::string out;
      {
        EventWriter writer(format, s.context, [&out](std::string_view b) { return out.append(b), true; },
                           folder.string(), inMemory);
        for (std::size_t i = 2; i < r.windows.size(); ++i) {
          ASSERT_TRUE(writer.Window(r.windows[i], static_cast<long>(i + 5), r.gaps));
        }
        for (const AspectEvent& e : r.events) {
          ASSERT_TRUE(writer.Event(e, r.windows[static_cast<std::size_t>(e.window)]));
        }
        ASSERT_TRUE(writer.Window(r.windows[1], 1, r.gaps));
        ASSERT_TRUE(writer.Window(r.windows[0], 2, r.gaps));
        ASSERT_TRUE(writer.Finish(r.gaps));
      }
      EXPECT_EQ(out, FormatEvents(format, r, s.context));
      EXPECT_TRUE(std::filesystem::is_empty(folder));
    }
  }
  std::string out;
  EventWriter writer(EventFormat::Json, s.context, [&out](std::string_view b) { return out.append(b), true; },
                     (folder / "missing").string(), 0);
  EXPECT_FALSE(writer.Window(r.windows[2], 0, r.gaps));
  EXPECT_FALSE(writer.Finish(r.gaps));
  EXPECT_NE(writer.SpoolError().find("No such file or directory"), std::string::npos) << writer.SpoolError();
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace vemo::reports
