// vemo-cli events run through the shell: its exit statuses, --out, and its
// CSV and iCalendar output for real dates, the latter read back by the
// icalendar package of the system's Python. Its arguments and refusals are
// in test_events_arguments.cpp.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/events.h"
#include "tests/support/run_command.h"
#include "tests/support/system_python.h"

namespace vemo::cli {
namespace {

namespace fs = std::filesystem;

// ---- the program itself ----

// Runs vemo-cli events in UTC with a fixed DTSTAMP; standard output only
// unless streams says otherwise.
int Events(const std::string& args, std::string& out, const char* streams = "2>/dev/null") {
  return vemo::testing::RunCommand(
      "( TZ=UTC0 VEMO_DTSTAMP=20240101T000000Z '" VEMO_CLI_PROGRAM "' events " + args + " " + streams + " )", out);
}

std::vector<std::string> Lines(const std::string& text, const std::string& end) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t at; (at = text.find(end, start)) != std::string::npos; start = at + end.size()) {
    lines.push_back(text.substr(start, at - start));
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

// The value of every content line NAME:value of an iCalendar text, unfolded.
std::vector<std::string> IcsValues(const std::string& ics, const std::string& name) {
  std::vector<std::string> unfolded;
  for (const std::string& line : Lines(ics, "\r\n")) {
    if (!line.empty() && line[0] == ' ') unfolded.back() += line.substr(1);
    else unfolded.push_back(line);
  }
  std::vector<std::string> values;
  for (const std::string& line : unfolded) {
    if (line.rfind(name + ":", 0) == 0) values.push_back(line.substr(name.size() + 1));
  }
  return values;
}

TEST(EventsCommand, ExitStatuses) {
  const std::string span = "--from 2024-01-01 --to 2024-01-10";
  const struct {
    std::string args;
    int status;
    std::string err;  // a piece of stderr
  } cases[] = {
      {span + " --kinds con", 0, ""},
      {"--help", 0, ""},
      {"--from 2024-01-01", 2, "vemo-cli events: --to is required (try vemo-cli events --help)"},
      {"--from 2024-02-30 --to 2024-03-10", 2, "vemo-cli events: --from: "},
      {"--from 2800-01-01 --to 2800-01-02", 2, "vemo-cli events: --from: "},
      {"--from 2024-01-10 --to 2024-01-01", 2, "--to 2024-01-01T12:00:00Z is before --from 2024-01-10T12:00:00Z"},
      {span + " --mode personal1 --birth1 1980-02-31", 2, "vemo-cli events: --birth1: "},
      {span + " --zone +15:00", 2, "--zone is an offset"},
      {span + " --bogus", 2, "unknown argument \"--bogus\""},
      {span + " --jobs 0", 2, "--jobs is a whole number 1 to 64, not \"0\""},
      {span + " --jobs 65", 2, "--jobs is a whole number 1 to 64"},
      {span + " --jobs two", 2, "--jobs is a whole number 1 to 64"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args);
    std::string out;
    EXPECT_EQ(Events(c.args, out, "2>&1"), c.status) << out;
    EXPECT_NE(out.find(c.err), std::string::npos) << out;
  }
  std::string out;
  EXPECT_EQ(vemo::testing::RunCommand("VEMO_DTSTAMP=yesterday '" VEMO_CLI_PROGRAM "' events " + span +
                                          " --format ics",
                                      out),
            2);
  EXPECT_NE(out.find("VEMO_DTSTAMP is not of the form YYYYMMDDTHHMMSSZ"), std::string::npos) << out;
}

// Every number of threads writes the same bytes, in every format, over a span
// long enough to be cut in stretches (windows of Pluto and Neptune span them
// all), in World and Personal transits; no progress line off a terminal.
TEST(EventsCommand, SameBytesForEveryNumberOfJobs) {
  // The last span begins before Uranus, Neptune and Pluto do (1600): their
  // windows then are found in a middle stretch and listed first.
  for (const std::string mode : {"--from 2019-06-01 --to 2024-02-01 --mode world",
                                 "--from 2019-06-01 --to 2024-02-01 --mode personal1 --birth1 1969-07-20T20:00Z",
                                 "--from 1597-06-01 --to 1602-06-01 --mode world"}) {
    for (const std::string format : {"text", "csv", "ics", "json"}) {
      SCOPED_TRACE(mode + " " + format);
      std::string one, three;
      const std::string args = mode + " --zone +01:00 --format " + format;
      ASSERT_EQ(Events(args + " --jobs 1", one, "2>&1"), 0) << one;
      ASSERT_EQ(Events(args + " --jobs 3", three, "2>&1"), 0) << three;
      EXPECT_GT(one.size(), 1000u);
      EXPECT_TRUE(one == three);
      EXPECT_EQ(one.find("searching"), std::string::npos);
    }
  }
}

class EventsOut : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(base_); }
  void TearDown() override { fs::remove_all(base_); }
  std::vector<std::string> Entries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    return names;
  }
  fs::path base_ = fs::temp_directory_path() / ("vemo-cli-events-" + std::to_string(::getpid()));
};

TEST_F(EventsOut, WrittenWholeOrNotAtAll) {
  const std::string args = "--from 2024-01-01 --to 2024-01-10 --kinds con --format csv --out ";
  std::string out, stdoutText;
  ASSERT_EQ(Events(args + "'" + (base_ / "events.csv").string() + "'", out), 0);
  EXPECT_EQ(out, "");
  std::ifstream in(base_ / "events.csv", std::ios::binary);
  const std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_EQ(Events("--from 2024-01-01 --to 2024-01-10 --kinds con --format csv", stdoutText), 0);
  EXPECT_EQ(written, stdoutText);
  EXPECT_EQ(Entries(base_), std::vector<std::string>{"events.csv"});

  // A folder where the file should be, a folder that does not exist, a file
  // where a folder should be: 1, and nothing left behind.
  fs::create_directory(base_ / "taken.csv");
  std::ofstream(base_ / "plain") << "x";
  for (const fs::path& target : {base_ / "taken.csv", base_ / "missing" / "e.csv", base_ / "plain" / "e.csv"}) {
    SCOPED_TRACE(target.string());
    EXPECT_EQ(Events(args + "'" + target.string() + "'", out, "2>&1"), 1);
    EXPECT_NE(out.find("vemo-cli events: cannot write \""), std::string::npos) << out;
  }
  std::vector<std::string> left = Entries(base_);
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"events.csv", "plain", "taken.csv"}));
  EXPECT_TRUE(fs::is_empty(base_ / "taken.csv"));
}

TEST_F(EventsOut, PlutoWithoutItsTable) {
  // A program folder without hpluto.2199.slx: the events of the other planets,
  // and Pluto named in the output and on stderr.
  const fs::path bin = fs::path(VEMO_CLI_PROGRAM).parent_path();
  fs::copy_file(VEMO_CLI_PROGRAM, base_ / "vemo-cli");
  fs::copy_file(PV_SHARED_LIBRARY, base_ / fs::path(PV_SHARED_LIBRARY).filename());
  for (const char* file : {"qel.dat", "jupiter.dac", "saturn.dac", "uranus.dac", "neptune.dac"}) {
    fs::create_symlink(bin / file, base_ / file);
  }
  const std::string run = "TZ=UTC0 '" + (base_ / "vemo-cli").string() + "' events --from 2024-01-01 --to 2024-02-01 ";
  std::string out, err;
  ASSERT_EQ(vemo::testing::RunCommand(run + "2>/dev/null", out), 0);
  EXPECT_NE(out.find("\nPluto: no positions from 2024-01-01 12:00 UT to 2024-02-01 12:00 UT; its events stop there.\n"),
            std::string::npos)
      << out;
  EXPECT_EQ(out.find(" Pluto "), std::string::npos) << out;
  EXPECT_NE(out.find(" Neptune "), std::string::npos) << out;
  ASSERT_EQ(vemo::testing::RunCommand(run + "--format json 2>/dev/null", out), 0);
  EXPECT_NE(out.find("\"gaps\": [{\"planet\": \"Pluto\""), std::string::npos) << out;
  ASSERT_EQ(vemo::testing::RunCommand("( " + run + "--format csv 2>&1 >/dev/null )", err), 0);
  EXPECT_NE(err.find("vemo-cli events: Pluto: "), std::string::npos) << err;
  EXPECT_NE(err.find("vemo-cli events: Pluto: no positions from 2024-01-01 12:00 UT"), std::string::npos) << err;
}

TEST(EventsCommand, CsvRows) {
  std::string csv;
  ASSERT_EQ(Events("--from 2024-01-01 --to 2024-12-31 --format csv", csv), 0);
  const std::vector<std::string> rows = Lines(csv, "\r\n");
  ASSERT_GT(rows.size(), 10u);
  EXPECT_EQ(rows[0], "event,utc,jd,planet1,planet2,kind,deviation_deg,window_start_utc,window_end_utc");
  EXPECT_EQ(csv.find('\n'), csv.find("\r\n") + 1);
  std::string previous;
  for (std::size_t i = 1; i < rows.size(); ++i) {
    SCOPED_TRACE(rows[i]);
    std::vector<std::string> f;
    std::stringstream fields(rows[i]);
    for (std::string field; std::getline(fields, field, ',');) f.push_back(field);
    if (rows[i].back() == ',') f.push_back("");
    ASSERT_EQ(f.size(), 9u);
    EXPECT_TRUE(f[0] == "enters" || f[0] == "exact" || f[0] == "leaves");
    ASSERT_EQ(f[1].size(), 20u);
    EXPECT_EQ(f[1].substr(16), ":00Z");
    EXPECT_GE(f[1], "2024-01-01T12:00:00Z");
    EXPECT_LE(f[1], "2024-12-31T12:00:00Z");
    EXPECT_GE(f[1], previous);  // by time
    previous = f[1];
    // An event lies inside its window: enters at its start, leaves at its end.
    EXPECT_EQ(f[6] == "0.0000", f[0] == "exact");
    if (f[0] == "enters") {
      EXPECT_EQ(f[7], f[1]);
    }
    if (f[0] == "leaves") {
      EXPECT_EQ(f[8], f[1]);
    }
    EXPECT_TRUE(f[7].empty() || f[7] <= f[1]);
    EXPECT_TRUE(f[8].empty() || f[1] <= f[8]);
  }
}

// Personal transits say which planet is the natal one, in every format.
TEST(EventsCommand, PersonalTransitsNameTheirRoles) {
  const std::string personal = "--mode personal1 --birth1 1969-07-20T20:30Z --from 2024-01-01 --to 2024-03-01 ";
  const struct {
    const char* format;
    const char* expected;
  } cases[] = {
      {"csv", "event,utc,jd,natal_planet,transiting_planet,kind,deviation_deg,"},
      {"json", "{\"natal_planet\": \""},
      {"ics", "SUMMARY:transiting "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.format);
    std::string out;
    ASSERT_EQ(Events(personal + "--format " + c.format, out), 0);
    EXPECT_NE(out.find(c.expected), std::string::npos) << out.substr(0, 300);
    EXPECT_EQ(out.find("planet1"), std::string::npos);
  }
}

// The UIDs and the DTSTART, DTEND of the VEVENTs, as UID -> "start end".
std::map<std::string, std::string> Vevents(const std::string& ics) {
  std::map<std::string, std::string> events;
  const std::vector<std::string> uids = IcsValues(ics, "UID"), starts = IcsValues(ics, "DTSTART"),
                                 ends = IcsValues(ics, "DTEND");
  EXPECT_EQ(uids.size(), starts.size());
  EXPECT_EQ(uids.size(), ends.size());
  for (std::size_t i = 0; i < uids.size() && i < starts.size() && i < ends.size(); ++i) {
    events[uids[i]] = starts[i] + " " + ends[i];
  }
  return events;
}

TEST(EventsCommand, IcsUidsStableAcrossSpans) {
  // The second span starts in the middle of windows of the first: those keep
  // their UIDs and their true bounds.
  std::string first, second;
  ASSERT_EQ(Events("--from 2024-01-01 --to 2024-06-30 --format ics", first), 0);
  ASSERT_EQ(Events("--from 2024-03-15T06:00 --to 2024-09-30 --format ics", second), 0);
  const std::map<std::string, std::string> a = Vevents(first), b = Vevents(second);
  ASSERT_GT(a.size(), 5u);
  int shared = 0;
  for (const auto& [uid, bounds] : a) {
    const auto found = b.find(uid);
    // Every window of the first span still in orb on 2024-03-15 is in the second.
    const std::string end = bounds.substr(bounds.find(' ') + 1);
    if (end > "20240315T060000Z") {
      EXPECT_NE(found, b.end()) << uid;
    }
    if (found == b.end()) continue;
    ++shared;
    EXPECT_EQ(found->second, bounds) << uid;
  }
  EXPECT_GT(shared, 0);
  // The same run twice: the same text, byte for byte.
  std::string again;
  ASSERT_EQ(Events("--from 2024-01-01 --to 2024-06-30 --format ics", again), 0);
  EXPECT_EQ(again, first);
}

TEST(EventsCommand, IcsReadByIcalendar) {
  if (!vemo::testing::SystemPythonHas("icalendar")) {
    GTEST_SKIP() << vemo::testing::kSystemPython << " cannot import icalendar";
  }
  // Personal transits over two years: long descriptions (several exact
  // instants of slow retrograde passes), degree signs, commas.
  std::string ics;
  ASSERT_EQ(Events("--mode personal1 --birth1 1980-05-05T10:30+01:00 --from 2023-01-01 --to 2024-12-31 "
                   "--format ics",
                   ics),
            0);
  for (const std::string& line : Lines(ics, "\r\n")) {
    EXPECT_LE(line.size(), 75u) << line;
    EXPECT_EQ(line.find('\n'), std::string::npos) << line;
    if (!line.empty() && line[0] == ' ') {
      EXPECT_NE(static_cast<unsigned char>(line[1]) & 0xC0, 0x80) << "a folded character: " << line;
    }
  }
  EXPECT_EQ(ics.substr(0, 17), "BEGIN:VCALENDAR\r\n");
  std::string out;
  ASSERT_EQ(vemo::testing::RunPythonOn(vemo::testing::kIcsCheckScript, ics, out), 0) << out;
  const std::vector<std::string> lines = Lines(out, "\n");
  ASSERT_GT(lines.size(), 5u);
  EXPECT_EQ(lines.back(), "events " + std::to_string(lines.size() - 1));
  EXPECT_EQ(lines.size() - 1, IcsValues(ics, "UID").size());
  bool folded = false;
  for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
    SCOPED_TRACE(lines[i]);
    EXPECT_EQ(lines[i].rfind("personal1-2444364.89583-", 0), 0u);
    EXPECT_NE(lines[i].find("|transiting "), std::string::npos);
    EXPECT_NE(lines[i].find(" natal "), std::string::npos);
    EXPECT_NE(lines[i].find(", orb "), std::string::npos);  // the comma unescaped
    EXPECT_NE(lines[i].find("°"), std::string::npos);
    folded = folded || lines[i].size() > 200;
  }
  EXPECT_TRUE(folded) << "no description long enough to be folded";
}

TEST(EventsCommand, TextNamesTheZone) {
  std::string out;
  ASSERT_EQ(Events("--from 2024-01-01 --to 2024-03-01 --kinds opp --zone -09:30", out), 0);
  EXPECT_NE(out.find("local times in GMT-9:30\n"), std::string::npos) << out;
  EXPECT_NE(out.find("Local GMT-9:30"), std::string::npos) << out;
}

}  // namespace
}  // namespace vemo::cli
