// The duration records of busy tables, World and Personal transits, through
// the program's own positions (planets_vemo, the shipped data files, the Pluto
// table): they must stay what they were, byte for byte, however the positions
// are obtained. duration_records_reference.txt holds the dates and the
// records; on a difference the test prints the records it found in the
// file's own layout.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/aspects/date_rows.h"
#include "app/text/program_text.h"
#include "app/time/pluto_table.h"
#include "app/time/positions.h"

namespace vemo {
namespace {

struct RecordCase {
  std::string line;  // "case MODE WORLD BIRTH1 BIRTH2 ZONE"
  Mode mode = Mode::WorldTransits;
  double jd[3] = {-1, -1, -1};
  int zoneMinutes = 0;
  std::vector<std::string> records;
};

bool ModeOfName(const std::string& name, Mode& mode) {
  if (name == "world") mode = Mode::WorldTransits;
  else if (name == "personal1") mode = Mode::Personal1;
  else if (name == "personal2") mode = Mode::Personal2;
  else return false;
  return true;
}

// Reads "case" lines, each followed by its records and "end".
std::vector<RecordCase> ReadCases(const std::string& path) {
  std::vector<RecordCase> cases;
  std::ifstream in(path);
  std::string line;
  RecordCase* open = nullptr;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (open == nullptr) {
      if (line.rfind("case ", 0) != 0) continue;
      RecordCase c;
      c.line = line;
      std::istringstream fields(line.substr(5));
      std::string mode;
      fields >> mode >> c.jd[0] >> c.jd[1] >> c.jd[2] >> c.zoneMinutes;
      if (!fields || !ModeOfName(mode, c.mode)) {
        ADD_FAILURE() << "bad case line: " << line;
        continue;
      }
      cases.push_back(c);
      open = &cases.back();
    } else if (line == "end") {
      open = nullptr;
    } else {
      open->records.push_back(line);
    }
  }
  EXPECT_EQ(open, nullptr) << "the last case has no end";
  return cases;
}

std::vector<std::string> RecordsOf(const RecordCase& c) {
  AspectEngine engine(DefaultEngineServices());
  engine.PlutoAvailable = PlutoAvailable();
  ComputeRequest request;
  request.mode = c.mode;
  request.JulianDates = {c.jd[0], c.jd[1], c.jd[2]};
  request.WorldZoneMinutes = c.zoneMinutes;
  // Day number and fraction of the local day at the world date.
  request.WorldLocalDay = c.jd[0] + 0.5 + c.zoneMinutes / 1440.0;
  engine.Compute(request, DefaultOrbSettings());
  engine.GetDurations();
  std::vector<std::string> records;
  for (const DurationEntry& entry : engine.DurationRecords) records.push_back(entry.Record);
  return records;
}

TEST(DurationRecordsOfBusyDates, SameAsTheReference) {
  const std::string folder = ProgramFolder();
  ASSERT_EQ(SetUpDataFolder(folder), "");
  LoadProgramText(folder);
  std::string plutoError;
  ASSERT_TRUE(LoadPlutoTable(kPlutoFileName, plutoError)) << plutoError;

  const std::vector<RecordCase> cases = ReadCases(VEMO_DURATION_RECORDS_REFERENCE);
  EXPECT_GE(cases.size(), 7u);
  for (const RecordCase& c : cases) {
    SCOPED_TRACE(c.line);
    const std::vector<std::string> records = RecordsOf(c);
    if (records != c.records) {
      std::string found = c.line + "\n";
      for (const std::string& r : records) found += r + "\n";
      ADD_FAILURE() << "records found:\n" << found << "end";
    }
  }
}

}  // namespace
}  // namespace vemo
