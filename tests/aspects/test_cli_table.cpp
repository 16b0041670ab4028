// vemo-cli table and durations: parsing, date rows, text and JSON output over
// an engine with positions of our own.
#include <gtest/gtest.h>

#include <string>

#include "cli/table.h"
#include "fake_sky.h"

namespace vemo::cli {
namespace {

using test::FakeSky;

TEST(TableArguments, AcceptedOptionsReachTheSettings) {
  TableOptions o;
  ASSERT_EQ(ParseTableArguments({"--mode", "personal2", "--world=2024-04-08T18:30Z", "--birth2",
                                 "1969-07-20", "--orbs", "8,8,5,5,3,2,2", "--personal-divisor", "2",
                                 "--synastry-divisor=5", "--midpoint-orb", "7", "--boldface", "10",
                                 "--radians", "--format", "json"},
                                o),
            "");
  EXPECT_EQ(o.mode, Mode::Personal2);
  EXPECT_TRUE(o.given[0]);
  EXPECT_FALSE(o.given[1]);
  EXPECT_TRUE(o.given[2]);
  EXPECT_EQ(o.rows[0].yearText, "2024");
  EXPECT_EQ(o.settings.OrbListIndex[0], 8);
  EXPECT_EQ(o.settings.OrbListIndex[6], 2);
  EXPECT_EQ(o.settings.OrbListIndex[7], 1);  // "Set all" keeps its default
  EXPECT_EQ(ProportionDivisorOfListIndex(o.settings.ProportionListIndex[0]), 2);
  EXPECT_EQ(ProportionDivisorOfListIndex(o.settings.ProportionListIndex[1]), 5);
  EXPECT_EQ(o.settings.MidpointOrbListIndex, 7);
  EXPECT_TRUE(o.settings.UseBoldface);
  EXPECT_FALSE(o.settings.BoldfaceOneDegree);
  EXPECT_EQ(BoldfaceDivisorOfListIndex(o.settings.BoldfaceFactorListIndex), 10);
  EXPECT_TRUE(o.radians);
  EXPECT_TRUE(o.json);
  EXPECT_EQ(ValidateOrbSettings(o.settings), "");

  ASSERT_EQ(ParseTableArguments({"--mode", "world", "--boldface", "off"}, o), "");
  EXPECT_FALSE(o.settings.UseBoldface);
  EXPECT_EQ(o.settings, [] {
    OrbSettings s;
    s.UseBoldface = false;
    return s;
  }());
}

TEST(TableArguments, RefusedWithAMessageNamingTheOption) {
  struct Row {
    const char* name;
    Arguments args;
    const char* word;
  };
  const Row rows[] = {
      {"NoMode", {"--world", "2000-01-01"}, "--mode"},
      {"BadMode", {"--mode", "transits"}, "--mode"},
      {"SixOrbs", {"--mode", "world", "--orbs", "1,2,3,4,5,6"}, "--orbs"},
      {"OrbTooLarge", {"--mode", "world", "--orbs", "1,2,3,4,5,6,16"}, "--orbs"},
      {"TrailingComma", {"--mode", "world", "--orbs", "1,2,3,4,5,6,7,"}, "--orbs"},
      {"DivisorSix", {"--mode", "world", "--personal-divisor", "6"}, "--personal-divisor"},
      {"MidpointEight", {"--mode", "world", "--midpoint-orb", "8"}, "--midpoint-orb"},
      {"BoldSeven", {"--mode", "world", "--boldface", "7"}, "--boldface"},
      {"Format", {"--mode", "world", "--format", "xml"}, "--format"},
      {"Unknown", {"--mode", "world", "--colour"}, "--colour"},
      {"MissingValue", {"--mode"}, "--mode"},
      {"BadDate", {"--mode", "world", "--world", "2000/01/01"}, "--world"},
  };
  for (const Row& r : rows) {
    TableOptions o;
    const std::string error = ParseTableArguments(r.args, o);
    EXPECT_NE(error.find(r.word), std::string::npos) << r.name << ": " << error;
  }
}

TEST(TableArguments, ARepeatedOptionKeepsItsLastValue) {
  struct Row {
    const char* option;
    const char* first;
    const char* last;
  };
  const Row rows[] = {
      {"--mode", "natal2", "world"},
      {"--world", "2024-04-08T18:30Z", "1999-12-31"},
      {"--orbs", "1,2,3,4,5,6,7", "0,0,0,0,0,0,15"},
      {"--personal-divisor", "5", "2"},
      {"--midpoint-orb", "7", "0"},
      {"--boldface", "20", "off"},
      {"--boldface", "off", "1deg"},
      {"--format", "json", "text"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(r.option) + " " + r.first + " then " + r.last);
    TableOptions twice;
    TableOptions once;
    ASSERT_EQ(ParseTableArguments({"--mode", "world", r.option, r.first, r.option, r.last}, twice), "");
    ASSERT_EQ(ParseTableArguments({"--mode", "world", r.option, r.last}, once), "");
    EXPECT_EQ(twice.mode, once.mode);
    EXPECT_EQ(twice.rows, once.rows);
    EXPECT_EQ(twice.given, once.given);
    EXPECT_EQ(twice.settings, once.settings);
    EXPECT_EQ(twice.json, once.json);
  }
}

TEST(TableRequest, RowsOfTheModeOnly) {
  TableOptions o;
  ASSERT_EQ(ParseTableArguments({"--mode", "synastry", "--birth1", "1990-06-15T08:30+02:00",
                                 "--birth2", "2000-01-01T12:00Z", "--world", "1999-02-30"},
                                o),
            "");
  ComputeRequest r;
  int badRow = -1;
  double code = 0;
  ASSERT_TRUE(BuildComputeRequest(o, 0, 2460000.25, 60, r, badRow, code));  // world row ignored
  EXPECT_EQ(r.mode, Mode::Synastry);
  EXPECT_NEAR(r.JulianDates[1], 2448058.0 + 390.0 / 1440 - 0.5, 1e-9);
  EXPECT_EQ(r.JulianDates[2], 2451545.0);
}

TEST(TableRequest, WorldDefaultsToNowAndMissingBirthdateIsEmptyRow) {
  TableOptions o;
  ASSERT_EQ(ParseTableArguments({"--mode", "personal1"}, o), "");
  ComputeRequest r;
  int badRow = -1;
  double code = 0;
  EXPECT_FALSE(BuildComputeRequest(o, 0, 2460000.25, 60, r, badRow, code));
  EXPECT_EQ(badRow, 1);
  EXPECT_EQ(code, -1.0);
  EXPECT_EQ(r.JulianDates[0], 2460000.25);
  EXPECT_EQ(r.WorldZoneMinutes, 60);
  EXPECT_NEAR(r.WorldLocalDay, 2460000.25 + 60.0 / 1440 + 0.5, 1e-9);

  ASSERT_EQ(ParseTableArguments({"--mode", "natal1", "--birth1", "1900-02-29"}, o), "");
  EXPECT_FALSE(BuildComputeRequest(o, 0, 2460000.25, 0, r, badRow, code));
  EXPECT_EQ(badRow, 1);
  EXPECT_EQ(code, -2.0);
}

TEST(TableRequest, GivenWorldDateKeepsItsZoneAndLocalDay) {
  TableOptions o;
  ASSERT_EQ(ParseTableArguments({"--mode", "world", "--world", "2024-04-08T18:30-05:00"}, o), "");
  ComputeRequest r;
  int badRow = -1;
  double code = 0;
  ASSERT_TRUE(BuildComputeRequest(o, 0, 0, 0, r, badRow, code));
  EXPECT_EQ(r.WorldZoneMinutes, -300);
  EXPECT_NEAR(r.WorldLocalDay, 2460409.0 + 1110.0 / 1440, 1e-9);
  EXPECT_NEAR(r.JulianDates[0], 2460409.0 + 1110.0 / 1440 + 300.0 / 1440 - 0.5, 1e-9);
}

AspectEngine EarthMarsEngine(Mode mode) {
  static FakeSky sky;
  sky = FakeSky();
  sky.Set(2460000.0, kEarth, 0.0);
  sky.Set(2460000.0, kMars, 350.25, 1.0);
  AspectEngine engine(sky.Services());
  engine.PlutoAvailable = false;
  ComputeRequest r;
  r.mode = mode;
  r.JulianDates = {2460000.0, 2460000.0, 2460000.0};
  r.WorldLocalDay = 2460000.5;
  EXPECT_TRUE(engine.Compute(r, DefaultOrbSettings()).Ok);
  return engine;
}

TEST(TableOutput, TextShowsNamesForGlyphsAndTheSummary) {
  const AspectEngine engine = EarthMarsEngine(Mode::WorldTransits);
  const std::string text = FormatTableText(engine);
  const size_t glyphRow = text.find("\nEarth ");
  ASSERT_NE(glyphRow, std::string::npos) << text;
  const std::string line = text.substr(glyphRow + 1, text.find('\n', glyphRow + 1) - glyphRow - 1);
  EXPECT_NE(line.find(" Mercury "), std::string::npos) << line;
  EXPECT_EQ(line.substr(line.size() - 5), "Pluto");
  EXPECT_NE(text.find("Con"), std::string::npos);
  EXPECT_NE(text.find("9\u00B045' -"), std::string::npos);
  EXPECT_NE(text.find("1 conjunction\n"), std::string::npos);
  EXPECT_EQ(text.find('\r'), std::string::npos);
}

TEST(TableOutput, JsonCarriesTheAgreedFields) {
  const AspectEngine engine = EarthMarsEngine(Mode::WorldTransits);
  const std::string json = FormatTableJson(engine);
  // Only Earth and Mars have positions in this sky: the others are null and listed.
  const std::string head = "{\"mode\": \"world\", \"jd\": {\"world\": 2460000}, \"positions\": [[0, null, null, 6.1";
  EXPECT_EQ(json.rfind(head, 0), 0u) << json;
  EXPECT_NE(json.find("null]], \"unavailable\": [{\"planet\": \"Mercury\", \"code\": -101, "), std::string::npos);
  EXPECT_NE(json.find("{\"planet1\": 1, \"planet2\": 4, \"kind\": 1, \"abbrev\": \"Con\", "
                      "\"deviation\": 0.170169"),
            std::string::npos);
  EXPECT_NE(json.find("\"sign\": -1, \"bold\": false}"), std::string::npos);
  EXPECT_NE(json.find("\"counts\": [1, 0, 0, 0, 0, 0, 0]"), std::string::npos);
  EXPECT_NE(json.find("\"summary\": \"1 conjunction\\r\\n\\r\\n\""), std::string::npos);
  EXPECT_NE(json.find("\"pattern_counts\": [0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0]}"),
            std::string::npos);
}

TEST(DurationsOutput, SearchedAndStaticRecords) {
  AspectEngine world = EarthMarsEngine(Mode::WorldTransits);
  world.GetDurations();
  const std::string json = FormatDurationsJson(world);
  EXPECT_NE(json.find("\"record\": \" 1 4 1 10.170170  2460000 2460020    21\""), std::string::npos)
      << json;
  EXPECT_NE(json.find("\"begin\": 2460000, \"end\": 2460020, \"duration\": 21, "
                      "\"begin_date\": \"2023-02-24\", \"end_date\": \"2023-03-16\""),
            std::string::npos);
  EXPECT_NE(FormatDurationsText(world).find("Earth conjunct Mars, begins 2023-02-24, ends 2023-03-16 (21 days)"),
            std::string::npos);

  AspectEngine natal = EarthMarsEngine(Mode::Natal1);
  natal.GetDurations();
  EXPECT_NE(FormatDurationsJson(natal).find("\"begin\": null, \"end\": null, \"duration\": null, "
                                            "\"begin_date\": null, \"end_date\": null"),
            std::string::npos);
}

TEST(JsonText, EscapesControlCharacters) {
  EXPECT_EQ(JsonString("a\"b\\c\r\n\t\x01\u00B0"), "\"a\\\"b\\\\c\\r\\n\\t\\u0001\u00B0\"");
}

}  // namespace
}  // namespace vemo::cli
