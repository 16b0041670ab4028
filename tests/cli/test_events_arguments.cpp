// vemo-cli events: its arguments and refusals, read without running the
// program.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/events.h"

namespace vemo::cli {
namespace {

TEST(EventsArguments, AcceptedAndRefused) {
  const std::string span = " --from 2024-01-01 --to 2024-02-01";
  const struct {
    std::string args;
    std::string error;  // "" or a piece of the message
    Mode mode = Mode::WorldTransits;
    EventFormat format = EventFormat::Text;
  } cases[] = {
      {span, ""},
      {"--from=2024-01-01T06:30Z --to=2024-01-02", ""},
      {span + " --mode personal1 --birth1 1980-05-05", "", Mode::Personal1},
      {span + " --mode personal2 --birth2=1980-05-05T23:30+05:30", "", Mode::Personal2},
      {span + " --format csv", "", Mode::WorldTransits, EventFormat::Csv},
      {span + " --format ics --format json", "", Mode::WorldTransits, EventFormat::Json},
      {span + " --format ics", "", Mode::WorldTransits, EventFormat::Ics},
      {span + " --help", ""},
      {"--help", ""},
      {"--to 2024-02-01", "--from is required"},
      {"--from 2024-01-01", "--to is required"},
      {span + " --mode personal1", "--mode personal1 needs --birth1"},
      {span + " --mode personal2 --birth1 1980-05-05", "--mode personal2 needs --birth2"},
      {span + " --mode natal1", "--mode is world, personal1 or personal2, not \"natal1\""},
      {span + " --mode synastry", "--mode is world, personal1 or personal2"},
      {span + " --format xml", "--format is text, csv, ics or json, not \"xml\""},
      {span + " --format", "--format needs a value"},
      {span + " --zone +14:01", "--zone is an offset -14:00 to +14:00"},
      {span + " --kinds sqr,foo", "--kinds is a comma list of Con, Opp, Sqr, Tri, Sxt, Ssx, Qui or 1 to 7"},
      {span + " --kinds tri --orbs 10,9,6,0,4,3,3", "--kinds names Trine, whose orb is 0"},
      {span + " --orbs 10,9,6,0,4,3,3 --kinds 4", "--kinds names Trine, whose orb is 0"},
      {span + " --orbs 1,2,3", "--orbs needs seven"},
      {span + " --out", "--out needs a value"},
      {span + " --out=", "--out needs a file name"},
      {span + " --world 2024-01-01", "unknown argument \"--world\""},
      {span + " --help=yes", "--help takes no value"},
      {"--from 2024-13-01 --to 2024-02-01", "--from: "},
      {"--from 2024-01-01 --to 2024-02-01T10:15", "--to: "},
      {span + " --mode personal1 --birth1 1980-5-5", "--birth1: "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args);
    Arguments args;
    std::istringstream words(c.args);
    for (std::string w; words >> w;) args.push_back(w);
    EventsOptions o;
    const std::string error = ParseEventsArguments(args, o);
    if (!c.error.empty()) {
      EXPECT_NE(error.find(c.error), std::string::npos) << error;
      continue;
    }
    ASSERT_EQ(error, "");
    EXPECT_EQ(o.mode, c.mode);
    EXPECT_EQ(o.format, c.format);
  }
}

TEST(EventsArguments, ZoneOffsets) {
  const struct {
    const char* text;
    bool ok;
    int minutes;
  } cases[] = {
      {"+00:00", true, 0},     {"-00:00", true, 0},    {"Z", true, 0},          {"+05:45", true, 345},
      {"-09:30", true, -570},  {"+14:00", true, 840},  {"-14:00", true, -840},  {"+12:45", true, 765},
      {"+14:01", false, 0},    {"-15:00", false, 0},   {"+05:60", false, 0},    {"05:30", false, 0},
      {"+5:30", false, 0},     {"+05:3", false, 0},    {"+05-30", false, 0},    {"+0a:00", false, 0},
      {"z", false, 0},         {"", false, 0},         {"+05:30 ", false, 0},   {"+-5:30", false, 0},
  };
  for (const auto& c : cases) {
    int minutes = 999;
    EXPECT_EQ(ParseZoneOffset(c.text, minutes), c.ok) << c.text;
    EXPECT_EQ(minutes, c.ok ? c.minutes : 999) << c.text;
  }
}

TEST(EventsArguments, KindLists) {
  const struct {
    const char* text;
    const char* kinds;  // slots 1..7 as 'x' searched, '.' not; "" refused
  } cases[] = {
      {"sqr", "..x...."},         {"Con,OPP,tri", "xx.x..."}, {"1,7", "x.....x"},
      {"ssx,Sxt,6", "....xx."},   {"3,sqr", "..x...."},       {"0", ""},
      {"8", ""},                  {"square", ""},             {"sqr,", ""},
      {",sqr", ""},               {"", ""},                   {"sqr tri", ""},
  };
  for (const auto& c : cases) {
    std::array<bool, 8> kinds{};
    kinds[0] = true;  // left alone on a refusal, replaced whole otherwise
    const bool ok = ParseKindList(c.text, kinds);
    EXPECT_EQ(ok, *c.kinds != '\0') << c.text;
    if (!ok) {
      EXPECT_TRUE(kinds[0]) << c.text;
      continue;
    }
    std::string mask;
    for (int k = 1; k <= 7; ++k) mask += kinds[static_cast<std::size_t>(k)] ? 'x' : '.';
    EXPECT_EQ(mask, c.kinds) << c.text;
    EXPECT_FALSE(kinds[0]) << c.text;
  }
}

TEST(EventsArguments, KindsSearchedByDefaultAreThoseInOrb) {
  EventsOptions o;
  EXPECT_EQ(KindsSearched(o), (std::array<bool, 8>{false, true, true, true, true, true, true, true}));
  ASSERT_EQ(ParseEventsArguments({"--from", "2024-01-01", "--to", "2024-01-02", "--orbs", "10,0,6,7,0,3,0"}, o), "");
  EXPECT_EQ(KindsSearched(o), (std::array<bool, 8>{false, true, false, true, true, false, true, false}));
  ASSERT_EQ(ParseEventsArguments({"--from", "2024-01-01", "--to", "2024-01-02", "--kinds", "opp,con"}, o), "");
  EXPECT_EQ(KindsSearched(o), (std::array<bool, 8>{false, true, true, false, false, false, false, false}));
}

TEST(EventsArguments, Dtstamp) {
  const struct {
    const char* variable;  // nullptr: not set
    const char* dtstamp;   // "" refused
  } cases[] = {
      {nullptr, "20000101T120000Z"},           {"20240102T030405Z", "20240102T030405Z"},
      {"20240102T030405", ""},                  {"20240102 030405Z", ""},
      {"2024-01-02T03:04:05Z", ""},             {"20240102T03040aZ", ""},
      {"", ""},                                 {"20240102T030405Z ", ""},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_EQ(DtstampOf(c.variable, 2451545.0, error), c.dtstamp) << (c.variable ? c.variable : "unset");
    EXPECT_EQ(error.empty(), *c.dtstamp != '\0') << error;
  }
}

}  // namespace
}  // namespace vemo::cli
