// The report core. Expected texts are worked out by hand from the report's
// rules: program text items show as "t<n>" (a few with the markers the report
// replaces), dates as "D<day number>", and the skies put planets on whole
// degrees so that every aspect, deviation and pattern is known in advance.
#include <gtest/gtest.h>

#include <array>
#include <locale>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/aspects/date_rows.h"
#include "app/reports/report_core.h"
#include "app/text/program_text.h"
#include "app/time/date_argument.h"
#include "app/time/date_texts.h"
#include "app/time/pluto_table.h"
#include "app/time/positions.h"
#include "tests/aspects/fake_sky.h"

namespace vemo::reports {
namespace {

std::string T(int n) {
  switch (n) {
    case 14: return "Synastry";
    case 53: return "t53 ([4 x orb])";
    case 67: return "Natal planet";
    case 68: return "Transiting planet";
    case 72: return "t72 [natal chart]";
    case 73: return "t73 [natal chart] [count in words]";
    case 80: return "t80 [5 degrees]";
    case 160: return "world transits";
    case 161: return "personal transits";
    default: return "t" + std::to_string(n);
  }
}
std::string Day(int d) { return "D" + std::to_string(d); }
std::string Sp(size_t n) { return std::string(n, ' '); }

DurationEntry Entry(int p1, int p2, int kind, double radians, double begin = -1, double end = -1) {
  DurationEntry e{"", p1, p2, kind, radians, p2 != 10, begin, end};
  e.Record = MakeDurationRecord(p1, p2, kind, e.Deviation, p2 == 10 ? RecordDates::Blanks : RecordDates::Searched,
                                begin, end);
  return e;
}

// ---- title, sort list, widths, small texts ----

TEST(ReportHeading, CaptionAndTitleOfEachMode) {
  const auto orbs = [](const std::string& t, bool personal) { return t + (personal ? "<P>" : "<W>"); };
  const struct {
    Mode mode;
    bool shortMonths;
    const char *caption, *title;
  } rows[] = {
      {Mode::WorldTransits, false, "world transits t159", "World transits t58 W.  <W>   "},
      {Mode::Personal2, true, "personal transits t159 t169 t6", "Personal transits t85 B2 t58 W.  <P>   "},
      {Mode::Natal1, false, "t5 t177", "t178 B1.  <W>   t51"},
      {Mode::Natal2, false, "t6 t177", "t178 B2.  <W>   t51"},
      {Mode::Synastry, true, "t88", "t179 (1) B1 t57 (2) B2.  <P>   "},
  };
  for (const auto& r : rows) {
    const ReportHeading h = MakeReportHeading(r.mode, {"W", "B1", "B2"}, T, orbs);
    EXPECT_EQ(h.caption, r.caption);
    EXPECT_EQ(h.title, r.title);
    EXPECT_EQ(ShortMonthsInReport(r.mode), r.shortMonths) << r.caption;
  }
}

TEST(ReportSortList, EntriesAndKeyStarts) {
  const auto list = [](Mode mode) {
    std::string out;
    for (const SortEntry& e : SortEntries(mode, T)) {
      out += e.label + "/" + e.key + "/" + std::to_string(e.keyStart) + " ";
    }
    return out;
  };
  const std::string world = list(Mode::WorldTransits), personal = list(Mode::Personal1);
  EXPECT_EQ(world, "t62/exactness/9 t61/aspect/7 t421/planet/1 t64/beginning/18 t65/ending/26 t66/duration/34 ");
  EXPECT_EQ(personal, "t62/exactness/9 t61/aspect/7 natal planet/natal/1 transiting planet/transiting/3 "
                      "t64/beginning/18 t65/ending/26 t66/duration/34 ");
  EXPECT_TRUE(SortEntries(Mode::Natal2, T).empty());
  EXPECT_TRUE(SortEntries(Mode::Synastry, T).empty());
  EXPECT_EQ(SortEntryIndex(Mode::Personal2, "beginning"), 4);
  EXPECT_EQ(SortEntryIndex(Mode::WorldTransits, "natal"), -1);
  EXPECT_EQ(SortKeyStart(Mode::Personal2, "transiting"), 3);
  EXPECT_EQ(SortKeyStart(Mode::WorldTransits, "bogus"), 9);
  EXPECT_EQ(SortKeyStart(Mode::Natal1, "ending"), 9);
}

TEST(ReportTexts, WidthsPaddingAndDurations) {
  EXPECT_EQ(ColumnWidths(), (std::array<int, 7>{0, 7, 21, 7, 19, 19, 29}));
  const std::pair<std::pair<std::string, int>, std::string> pads[] = {
      {{"abc", 5}, "abc  "}, {{"1\u00B02'", 5}, "1\u00B02' "}, {{"abcdef", 3}, "abcdef"}, {{"ab", -1}, "ab"},
      {{"", 2}, "  "}};
  for (const auto& [in, out] : pads) EXPECT_EQ(PadRight(in.first, in.second), out) << in.first;
  const std::pair<int, std::string> durations[] = {
      {1, "t171"},           {0, "0 t175"},           {2, "2 t175"},          {364, "364 t175"},
      {365, "t174"},         {366, "t174, t171"},     {730, "t174, 365 t175"}, {731, "2 t176, t171"},
      {1000, "2 t176, 270 t175"}, {3652, "9 t176, 365 t175"}, {3653, "10 t176, t171"}};
  for (const auto& [days, text] : durations) EXPECT_EQ(DurationText(days, T), text) << days;
}

struct DotGroups : std::numpunct<char> {
  char do_thousands_sep() const override { return '.'; }
  std::string do_grouping() const override { return "\3"; }
};

TEST(ReportTexts, NumberInWords) {
  const std::pair<int, std::string> words[] = {{0, "No"},          {1, "One"},          {20, "Twenty"},
                                               {21, "Twenty one"}, {40, "Forty"},       {99, "Ninety nine"},
                                               {100, "100"},       {12345, "12345"}};
  for (const auto& [n, text] : words) EXPECT_EQ(NumberInWords(n), text) << n;
  const std::locale before = std::locale::global(std::locale(std::locale::classic(), new DotGroups));
  EXPECT_EQ(NumberInWords(12345), "12.345");
  EXPECT_EQ(NumberInWords(1234567), "1.234.567");
  EXPECT_EQ(NumberInWords(21), "Twenty one");
  std::locale::global(before);
}

TEST(ReportTexts, NumberInWordsUnderEnUs) {
  std::locale american;
  try {
    american = std::locale("en_US.UTF-8");
  } catch (const std::runtime_error&) {
    GTEST_SKIP() << "no en_US.UTF-8 locale installed";
  }
  const std::locale before = std::locale::global(american);
  EXPECT_EQ(NumberInWords(12345), "12,345");
  std::locale::global(before);
}

// ---- sorting and the transit list ----

// a..e: World transits (d a midpoint record); f..h: Personal transits.
std::vector<DurationEntry> Letters(bool personal) {
  if (personal) return {Entry(4, 5, 3, 1, 100, 200), Entry(1, 6, 1, 2, 100, 200), Entry(3, 1, 2, 3, 100, 200)};
  return {Entry(2, 5, 3, 0.02, 2451500, 2451600), Entry(1, 4, 1, 0.01, 2451540, 2451550),
          Entry(2, 3, 4, 0.03, 2451530, 2451700), Entry(3, 10, 2, 0.005), Entry(1, 9, 7, 0.04, -1, 2451560)};
}
std::string Order(const std::vector<DurationEntry>& sorted, const std::vector<DurationEntry>& letters,
                  const TransitListOptions& options) {
  std::string out;
  for (const DurationEntry& e : sorted) {
    if (!ShownInTransitList(e, options)) continue;
    for (size_t i = 0; i < letters.size(); ++i) {
      if (letters[i].Record == e.Record) out += static_cast<char>((letters.size() == 3 ? 'f' : 'a') + i);
    }
  }
  return out;
}

TEST(ReportSort, EachKeyOfTheTransitModes) {
  const struct {
    Mode mode;
    const char *key, *order;
  } rows[] = {
      {Mode::WorldTransits, "exactness", "dbace"}, {Mode::WorldTransits, "aspect", "bdace"},
      {Mode::WorldTransits, "planet", "becad"},    {Mode::WorldTransits, "beginning", "deacb"},
      {Mode::WorldTransits, "ending", "beac"},     {Mode::WorldTransits, "duration", "ebac"},
      {Mode::WorldTransits, "", "dbace"},          {Mode::Personal1, "natal", "ghf"},
      {Mode::Personal1, "transiting", "hfg"},      {Mode::Personal2, "aspect", "ghf"}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.key);
    AspectEngine engine;
    engine.DurationRecords = Letters(IsPersonalMode(r.mode));
    TransitListOptions options;
    options.mode = r.mode;
    options.sortKey = r.key;
    options.showDurations = false;
    const std::string text = ReportText(engine, options, T, Day);
    EXPECT_EQ(Order(engine.DurationRecords, Letters(IsPersonalMode(r.mode)), options), r.order);
    size_t lines = 0;
    for (size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
    EXPECT_EQ(lines, std::string(r.order).size());
  }
}

TEST(ReportSort, DirectionZeroKeepsTheDescendingCoreAndOneReversesIt) {
  const TransitListOptions all;
  std::vector<DurationEntry> list = Letters(false);
  QuickSort(0, list, 0, 4, 1);
  EXPECT_EQ(Order(list, Letters(false), all), "daceb");
  // Four equal keys (the durations): the core leaves 2 3 0 1, so the sort is
  // not stable; direction 1 gives that order reversed.
  std::vector<DurationEntry> ties;
  for (int p = 1; p <= 4; ++p) ties.push_back(Entry(p, 5, 1, 1, 100, 109));
  for (int direction : {0, 1}) {
    std::vector<DurationEntry> list2 = ties;
    QuickSort(direction, list2, 0, 3, 34);
    std::string planets;
    for (const DurationEntry& e : list2) planets += std::to_string(e.Planet1 - 1);
    EXPECT_EQ(planets, direction == 0 ? "2301" : "1032");
  }
  std::vector<DurationEntry> none;
  SortRecords(none, 9);
  QuickSort(1, ties, 0, -1, 9);
  EXPECT_EQ(ties[0].Planet1, 1);
}

TEST(ReportTransitList, LinesWithAndWithoutDurations) {
  const DurationEntry world[] = {Entry(1, 4, 1, DegreesToRadians(1 + 23.0 / 60), 2451540, 2451550),
                                 Entry(3, 10, 2, DegreesToRadians(0.5)),
                                 Entry(5, 6, 3, DegreesToRadians(2), 2451500, -1)};
  const std::string on[] = {
      "Earth" + Sp(3) + "conjunct (1\u00B023')" + Sp(6) + "Mars" + Sp(4) + "t165 D2451540," + Sp(11) +
          "t166 D2451550" + Sp(11) + "(11 t175)",
      "Venus" + Sp(3) + "opposite (0\u00B030')" + Sp(14) + "t53 (36)",
      "Jupiter" + Sp(1) + "square (2\u00B00')" + Sp(9) + "Saturn" + Sp(2) + "t165 D2451500," + Sp(11) + "t166 t168" +
          Sp(15)};
  const std::string off[] = {"Earth" + Sp(3) + "conjunct (1\u00B023')" + Sp(6) + "Mars" + Sp(3),
                             "Venus" + Sp(3) + "opposite (0\u00B030')" + Sp(13),
                             "Jupiter" + Sp(1) + "square (2\u00B00')" + Sp(9) + "Saturn" + Sp(1)};
  TransitListOptions options;
  options.orbListIndex = {10, 9, 6, 7, 4, 3, 3, 1};
  for (int i = 0; i < 3; ++i) {
    for (bool durations : {true, false}) {
      options.showDurations = durations;
      EXPECT_EQ(TransitList({world[i]}, options, T, Day), (durations ? on : off)[i] + "\r\n");
    }
  }
  options.mode = Mode::Personal1;
  options.showDurations = true;
  EXPECT_EQ(TransitList({Entry(3, 6, 3, DegreesToRadians(2 + 5.0 / 60), -1, 2451600)}, options, T, Day),
            "tr.Saturn" + Sp(2) + "square (2\u00B05')" + Sp(9) + "t56Venus" + Sp(2) + "t165 t168" + Sp(16) +
                "t166 D2451600" + Sp(11) + "\r\n");
}

// ---- the natal and synastry description ----

struct Sky {
  const char* name;
  Mode mode;
  std::vector<std::pair<int, double>> first, second;  // planet, degrees at the (first) and second date
  std::string expected;
  bool whole = true;  // else the description's end
};

const Sky kSkies[] = {
    {"two aspects", Mode::Natal1, {{1, 10}, {4, 18}, {5, 100}}, {},
     "t73 t77 two\r\n\r\nt74 Earth (10\u00B0 in Aries) square Jupiter (10\u00B0 in Cancer), t86\r\n"
     "t79 Earth (10\u00B0 in Aries) conjunct Mars (18\u00B0 in Aries), t80 8\u00B00'\r\n\r\nt87\r\n"},
    {"two exact", Mode::Natal2, {{1, 10}, {4, 55}, {5, 100}, {6, 115}}, {},
     "t73 t77 two\r\n\r\nt74 Earth (10\u00B0 in Aries) square Jupiter (10\u00B0 in Cancer), t86\r\n"
     "t78 Mars (25\u00B0 in Taurus) sextile Saturn (25\u00B0 in Cancer).\r\n\r\nt87\r\n"},
    {"no patterns", Mode::Natal1, {{1, 10}, {4, 18}, {5, 100}, {6, 160}}, {},
     "t73 t77 four\r\n\r\nt74 Earth (10\u00B0 in Aries) square Jupiter (10\u00B0 in Cancer), t86\r\n"
     "t78 Earth (10\u00B0 in Aries) quincunx Saturn (10\u00B0 in Virgo).\r\n\r\nt81\r\n"
     "Jupiter (10\u00B0 in Cancer) sextile Saturn (10\u00B0 in Virgo), t80 0\u00B00'\r\n"
     "Earth (10\u00B0 in Aries) conjunct Mars (18\u00B0 in Aries), t80 8\u00B00'\r\n"
     "\r\nt83 one conjunction, no oppositions, one square, no trines, one sextile, no semisextiles t57 one "
     "quincunx.\r\n\r\nt420\r\n\r\nt87\r\n"},
    {"grand trine", Mode::Natal1, {{1, 10}, {2, 130}, {3, 250}}, {},
     "t73 t77 three\r\n\r\nt74 Earth (10\u00B0 in Aries) trine Mercury (10\u00B0 in Leo), t86\r\n"
     "t78 Earth (10\u00B0 in Aries) trine Venus (10\u00B0 in Sagittarius).\r\n\r\nt81\r\n"
     "Mercury (10\u00B0 in Leo) trine Venus (10\u00B0 in Sagittarius), t80 0\u00B00'\r\n"
     "\r\nt84 no conjunctions, no oppositions, no squares, three trines, no sextiles, no semisextiles t57 no "
     "quincunxes.\r\n\r\nt82 grand trine: Grand trine: Ea-Me-Ve (T154 0\u00B00')\r\n"
     "\r\nt84 two midpoints:\r\nMidpoint: Me-Ea-Ve\r\nMidpoint: Ea-Me-Ve\r\n\r\nt87\r\n"},
    {"grand crosses", Mode::Natal1, {{1, 10}, {2, 100}, {3, 190}, {4, 280}, {5, 282}}, {},
     "\r\nt83 one conjunction, three oppositions, six squares, no trines, no sextiles, no semisextiles t57 no "
     "quincunxes.\r\n\r\nt84 seven T-squares:\r\nT-square: Ea-Me-Ve (T154 0\u00B00')\r\n"
     "T-square: Ea-Ma-Ve (T154 0\u00B00')\r\nT-square: Ea-Ju-Ve (T154 1\u00B020')\r\n"
     "T-square: Me-Ea-Ma (T154 0\u00B00')\r\nT-square: Me-Ve-Ma (T154 0\u00B00')\r\n"
     "T-square: Me-Ea-Ju (T154 1\u00B020')\r\nT-square: Me-Ve-Ju (T154 1\u00B020')\r\n"
     "\r\nt84 two grand crosses:\r\nGrand cross: Ea-Me-Ve-Ma (T154 0\u00B00')\r\n"
     "Grand cross: Ea-Me-Ve-Ju (T154 1\u00B00')\r\n\r\nt84 four midpoints:\r\nMidpoint: Ea-Me-Ve\r\n"
     "Midpoint: Me-Ea-Ma\r\nMidpoint: Ea-Ma-Ve\r\nMidpoint: Me-Ve-Ma\r\n\r\nt87\r\n",
     false},
    {"synastry", Mode::Synastry, {{1, 10}, {4, 100}}, {{3, 10.5}, {5, 220}},
     "t73 synastry four\r\n\r\nt74 Earth(1) (10\u00B0 in Aries) quincunx Jupiter(2) (10\u00B0 in Scorpio), t86\r\n"
     "t78 Mars(1) (10\u00B0 in Cancer) trine Jupiter(2) (10\u00B0 in Scorpio).\r\n\r\nt81\r\n"
     "Earth(1) (10\u00B0 in Aries) conjunct Venus(2) (10\u00B0 in Aries), t80 0\u00B030'\r\n"
     "Mars(1) (10\u00B0 in Cancer) square Venus(2) (10\u00B0 in Aries), t80 0\u00B030'\r\n"
     "\r\nt83 one conjunction, no oppositions, one square, one trine, no sextiles, no semisextiles t57 one "
     "quincunx.\r\n\r\nt87\r\n"},
};

TEST(ReportNatal, HandMadeSkies) {
  for (const Sky& s : kSkies) {
    SCOPED_TRACE(s.name);
    test::FakeSky sky;
    const double jd1 = 2451545, jd2 = 2451600;
    for (const auto& [p, deg] : s.first) {
      sky.Set(jd1, p, deg);
      sky.Set(jd2, p, s.second.empty() ? deg : -101);
    }
    for (const auto& [p, deg] : s.second) {
      sky.Set(jd1, p, -101);
      sky.Set(jd2, p, deg);
    }
    AspectEngine engine(sky.Services());
    ComputeRequest request;
    request.mode = s.mode;
    request.JulianDates = {-1, jd1, jd2};
    ASSERT_TRUE(engine.Compute(request, DefaultOrbSettings()).Ok);
    engine.GetDurations();
    // A run seeking Earth in a T-square: the report must neither tell it
    // nor be trimmed by it.
    engine.Run.InProgress = engine.Run.PlanetsSought = true;
    engine.Run.AspectPatternToFind = kTSquare;
    engine.Run.NumPlanetsSought = 1;
    engine.Run.SoughtPlanets = {1, 0, 0};
    const auto counts = engine.PatternCount;
    TransitListOptions options;
    options.mode = s.mode;
    const std::string text = ReportText(engine, options, T, Day);
    EXPECT_EQ(s.whole ? text : text.substr(text.size() - std::min(text.size(), s.expected.size())), s.expected);
    EXPECT_FALSE(engine.Run.SoughtPlanetsFound);
    EXPECT_EQ(engine.Run.NumPlanetsFound, 0);
    EXPECT_EQ(engine.PatternCount, counts);
  }
}

// ---- the shipped program text: its markers are filled in ----

TEST(ReportShippedText, MarkersOfCountAndOrbAreFilledIn) {
  ASSERT_EQ(LoadProgramText(ProgramFolder()), "");
  std::array<int, 8> counts{};
  counts[kConjunction] = 1;
  counts[kQuincunx] = 6;
  TransitListOptions options;
  options.orbListIndex = {10, 9, 6, 7, 4, 3, 3, 1};
  const std::string midpoint = TransitList({Entry(3, 10, 2, DegreesToRadians(0.5))}, options, ProgramText, Day);
  const struct {
    std::string produced, expected;
  } rows[] = {
      {TwoDateSummary(counts, ProgramText(126), ProgramText(127)), "1 conjunction, 6 quincunxes. 7 aspects in all."},
      {OneDateSummary(counts, ProgramText(126), ProgramText(127)),
       "1 conjunction\r\n6 quincunxes\r\n7 aspects in all.\r\n\r\n"},
      {midpoint.substr(midpoint.find(" (mid")),
       " (midpoint: no beginning or end is computed; 4 \u00D7 orb = 36\u00B0)\r\n"},
  };
  for (const auto& r : rows) EXPECT_EQ(r.produced, r.expected);
}

// ---- whole reports for a real date through the program's positions ----

class ReportRealDates : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    error_ = SetUpDataFolder(ProgramFolder());
    LoadProgramText(ProgramFolder());
    std::string plutoError;
    LoadPlutoTable(kPlutoFileName, plutoError);
  }
  void Compute(Mode mode) {
    ASSERT_EQ(error_, "") << "planets_vemo cannot be loaded";
    DateRow row;
    ASSERT_EQ(ParseDateArgument("2000-01-01T12:00Z", row), "");
    std::array<DateRow, 3> rows{row, row, row};
    ASSERT_TRUE(ComputeFromRows(engine_, mode, rows, 24, DefaultOrbSettings(), false).Ok);
    if (engine_.PlanetLongitudes[0][kJupiter] < 0 || engine_.PlanetCount < 9) GTEST_SKIP() << "outer planets missing";
    engine_.GetDurations();
  }
  static std::string error_;
  AspectEngine engine_{DefaultEngineServices()};
};
std::string ReportRealDates::error_;

// Published heliocentric longitudes at 2000-01-01 12h UT (Earth 100.38°,
// Mercury 253.78°, Venus 182.60°, Mars 359.45°, Jupiter 36.29°, Saturn 45.72°,
// Uranus 316.41°, Neptune 303.93°, Pluto 250.53°) give nine aspects.
TEST_F(ReportRealDates, WorldTransitsAtJ2000ByPlanet) {
  Compute(Mode::WorldTransits);
  if (HasFatalFailure() || IsSkipped()) return;
  TransitListOptions options;
  options.sortKey = "planet";
  const std::string text = ReportText(engine_, options, ProgramText, [](int d) { return JdnToDateText(d, false, 0); });
  // Pieces of each line in order, the first at its start.
  const char* lines[] = {"Earth *quincunx (",     "Mercury *quincunx (*)*Saturn ", "Mercury *sextile (",
                         "Mercury *conjunct (",   "Venus *opposite (",            "Venus *trine (",
                         "Jupiter *conjunct (*)*Saturn  from December *, 1999,", "Jupiter *square (",
                         "Saturn *square (*)*Uranus  from *, * until "};
  std::string rest = text;
  for (const std::string pattern : lines) {
    const size_t end = rest.find("\r\n");
    ASSERT_NE(end, std::string::npos) << pattern;
    const std::string line = rest.substr(0, end);
    size_t at = 0;
    for (size_t from = 0, star = 0; star != std::string::npos && at != std::string::npos; from = star + 1) {
      star = pattern.find('*', from);
      const std::string piece = pattern.substr(from, star == std::string::npos ? star : star - from);
      at = from == 0 ? (line.rfind(piece, 0) == 0 ? piece.size() : std::string::npos) : line.find(piece, at);
      if (at != std::string::npos && from > 0) at += piece.size();
    }
    EXPECT_NE(at, std::string::npos) << line << "\n  does not match " << pattern;
    rest = rest.substr(end + 2);
  }
  EXPECT_EQ(rest, "");
}

TEST_F(ReportRealDates, NatalAspectsAtJ2000) {
  Compute(Mode::Natal1);
  if (HasFatalFailure() || IsSkipped()) return;
  TransitListOptions options;
  options.mode = Mode::Natal1;
  const std::string text = ReportText(engine_, options, ProgramText, nullptr);
  EXPECT_EQ(text.rfind("In this natal chart there are nine aspects.\r\n\r\nThe most exact aspect is Earth (10\u00B0 in "
                       "Cancer) quincunx Pluto (", 0), 0u) << text;
  EXPECT_NE(text.find("\r\nThe next aspect is Saturn (16\u00B0 in Taurus) square Uranus (16\u00B0 in Aquarius), "
                      "0\u00B04"),
            std::string::npos) << text;
  const std::string end =
      "\r\nThere are two conjunctions, one opposition, two squares, one trine, one sextile, no semisextiles and two "
      "quincunxes.\r\n\r\nThere is one midpoint: Midpoint: Ve-Ju-Pl\r\n\r\nAll positions are heliocentric ecliptic "
      "longitudes referred to the equinox of J2000.\r\n";
  ASSERT_GT(text.size(), end.size());
  EXPECT_EQ(text.substr(text.size() - end.size()), end);
}

// The same sky in German, every word checked by hand: declined sign names
// ("im Krebs", "in den Fischen"), number words in the accusative ("einen
// Quinkunx", "keine Halbsextile"), and dates without the English comma.
TEST_F(ReportRealDates, ReportsInGerman) {
  SelectLanguage(kGerman);
  struct Case {
    Mode mode;
    const char* expected;
  } const cases[] = {
      {Mode::Natal1,
       "Diese Auswertung (Radix) enth\u00E4lt neun Aspekte.\r\n\r\n"
       "Der genaueste Aspekt ist Erde (10\u00B0 im Krebs) Quinkunx Pluto (11\u00B0 im Sch\u00FCtzen), 0\u00B010' vom "
       "exakten Winkel entfernt.\r\n"
       "Der n\u00E4chste Aspekt ist Saturn (16\u00B0 im Stier) Quadrat Uranus (16\u00B0 im Wassermann), 0\u00B042' vom "
       "exakten Winkel entfernt.\r\n\r\n"
       "Die \u00FCbrigen Aspekte, vom genauesten bis zum ungenauesten:\r\n"
       "Venus (3\u00B0 in der Waage) Trigon Neptun (4\u00B0 im Wassermann), 1\u00B020' vom exakten Winkel entfernt.\r\n"
       "Merkur (14\u00B0 im Sch\u00FCtzen) Quinkunx Saturn (16\u00B0 im Stier), 1\u00B056' vom exakten Winkel entfernt.\r\n"
       "Jupiter (6\u00B0 im Stier) Quadrat Neptun (4\u00B0 im Wassermann), 2\u00B022' vom exakten Winkel entfernt.\r\n"
       "Merkur (14\u00B0 im Sch\u00FCtzen) Sextil Uranus (16\u00B0 im Wassermann), 2\u00B038' vom exakten Winkel entfernt.\r\n"
       "Venus (3\u00B0 in der Waage) Opposition Mars (29\u00B0 in den Fischen), 3\u00B09' vom exakten Winkel entfernt.\r\n"
       "Merkur (14\u00B0 im Sch\u00FCtzen) Konjunktion Pluto (11\u00B0 im Sch\u00FCtzen), 3\u00B014' vom exakten Winkel "
       "entfernt.\r\n"
       "Jupiter (6\u00B0 im Stier) Konjunktion Saturn (16\u00B0 im Stier), 9\u00B026' vom exakten Winkel entfernt.\r\n\r\n"
       "Es gibt zwei Konjunktionen, eine Opposition, zwei Quadrate, ein Trigon, ein Sextil, keine Halbsextile und zwei "
       "Quinkunxe.\r\n\r\n"
       "Ein Aspektmuster vom Typ Halbsumme: Halbsumme: Ven-Jup-Plu\r\n\r\n"
       "Alle Positionen sind heliozentrische ekliptikale L\u00E4ngen, bezogen auf das \u00C4quinoktium J2000.\r\n"},
      {Mode::WorldTransits,
       "Erde    Quinkunx (0\u00B010')      Pluto   von 29.Dezember 1999    bis 4.Januar 2000      (7 Tage)\r\n"
       "Merkur  Quinkunx (1\u00B056')      Saturn  von 1.Januar 2000       bis 3.Januar 2000      (3 Tage)\r\n"
       "Merkur  Sextil (2\u00B038')        Uranus  von 1.Januar 2000       bis 3.Januar 2000      (3 Tage)\r\n"
       "Merkur  Konjunktion (3\u00B014')   Pluto   von 27.Dezember 1999    bis 3.Januar 2000      (8 Tage)\r\n"
       "Venus   Opposition (3\u00B09')     Mars    von 20.Dezember 1999    bis 7.Januar 2000      (19 Tage)\r\n"
       "Venus   Trigon (1\u00B020')        Neptun  von 28.Dezember 1999    bis 6.Januar 2000      (10 Tage)\r\n"
       "Jupiter Konjunktion (9\u00B026')   Saturn  von 22.Dezember 1999    bis 30.Dezember 2000   (1 Jahr, 10 Tage)\r\n"
       "Jupiter Quadrat (2\u00B022')       Neptun  von 25.September 1999   bis 13.Februar 2000    (142 Tage)\r\n"
       "Saturn  Quadrat (0\u00B042')       Uranus  von 3.Juni 1999         bis 20.September 2000  (1 Jahr, 111 Tage)"
       "\r\n"},
  };
  for (const Case& c : cases) {
    Compute(c.mode);
    if (HasFatalFailure() || IsSkipped()) break;
    TransitListOptions options;
    options.mode = c.mode;
    options.sortKey = "planet";
    EXPECT_EQ(ReportText(engine_, options, ProgramText, [](int d) { return JdnToDateText(d, false, kGerman); }),
              c.expected);
  }
  SelectLanguage(kEnglish);
}

}  // namespace
}  // namespace vemo::reports
