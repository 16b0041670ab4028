// The duration records of busy World and Personal transits tables, through
// the program's own positions (planets_vemo, the shipped data files, the Pluto
// table), must stay byte for byte what duration_records_reference.txt holds,
// however the positions are obtained. On a difference the test prints the
// records it found in the file's own layout.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "app/aspects/date_rows.h"
#include "app/text/program_text.h"
#include "app/time/pluto_table.h"
#include "app/time/positions.h"

namespace vemo {
namespace {

// The records of a line "case MODE WORLD_JD BIRTH1_JD BIRTH2_JD ZONE_MINUTES".
std::string RecordsOf(const std::string& caseLine) {
  static const std::map<std::string, Mode> kModes = {
      {"world", Mode::WorldTransits}, {"personal1", Mode::Personal1}, {"personal2", Mode::Personal2}};
  std::istringstream fields(caseLine.substr(5));
  std::string mode;
  ComputeRequest request;
  fields >> mode >> request.JulianDates[0] >> request.JulianDates[1] >> request.JulianDates[2] >>
      request.WorldZoneMinutes;
  if (!fields || kModes.count(mode) == 0) return "bad case line";
  request.mode = kModes.at(mode);
  // Day number and fraction of the local day at the world date.
  request.WorldLocalDay = request.JulianDates[0] + 0.5 + request.WorldZoneMinutes / 1440.0;
  AspectEngine engine(DefaultEngineServices());
  engine.PlutoAvailable = PlutoAvailable();
  engine.Compute(request, DefaultOrbSettings());
  engine.GetDurations();
  std::string records;
  for (const DurationEntry& entry : engine.DurationRecords) records += entry.Record + "\n";
  return records;
}

TEST(DurationRecordsOfBusyDates, SameAsTheReference) {
  const std::string folder = ProgramFolder();
  ASSERT_EQ(SetUpDataFolder(folder), "");
  LoadProgramText(folder);
  std::string plutoError;
  ASSERT_TRUE(LoadPlutoTable(kPlutoFileName, plutoError)) << plutoError;

  std::ifstream in(VEMO_DURATION_RECORDS_REFERENCE);
  ASSERT_TRUE(in) << VEMO_DURATION_RECORDS_REFERENCE;
  int cases = 0;
  std::string caseLine;
  std::string expected;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("case ", 0) == 0) {
      caseLine = line;
      expected.clear();
    } else if (line == "end") {
      ++cases;
      const std::string found = RecordsOf(caseLine);
      EXPECT_EQ(found, expected) << "records found:\n" << caseLine << "\n" << found << "end";
    } else if (!caseLine.empty() && line.rfind('#', 0) != 0) {
      expected += line + "\n";
    }
  }
  EXPECT_EQ(cases, 7);
}

}  // namespace
}  // namespace vemo
