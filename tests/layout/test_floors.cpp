// No room of the source tree includes one on its own floor or above it: every
// quoted #include of app/, cli/, ephemeris/ and platform/ checked against the
// floor table cmake/floors.txt, which the build's link check reads too.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

using Floors = std::map<std::string, int>;  // room -> floor

Floors ReadFloors(const fs::path& table) {
  Floors floors;
  std::ifstream in(table);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    int floor = 0;
    std::string room;
    if (line.empty() || line[0] == '#' || !(fields >> floor >> room)) continue;
    floors[room] = floor;
  }
  return floors;
}

// The longest room that holds `path` (a path from the top of the tree), or "".
std::string RoomOf(const Floors& floors, const std::string& path) {
  std::string best;
  for (const auto& [room, floor] : floors) {
    if (path.size() > room.size() && path.compare(0, room.size(), room) == 0 && path[room.size()] == '/' &&
        room.size() > best.size()) {
      best = room;
    }
  }
  return best;
}

// What is wrong with `file` including `included` ("" when nothing is).
std::string Climb(const Floors& floors, const std::string& file, const std::string& included) {
  const std::string from = RoomOf(floors, file);
  const std::string to = RoomOf(floors, included);
  if (from.empty()) return "";
  if (to.empty()) return file + " includes " + included + ", which is in no room of the table";
  if (from == to || floors.at(to) < floors.at(from)) return "";
  return file + " includes " + included + ": " + to + " (floor " + std::to_string(floors.at(to)) +
         ") is not below " + from + " (floor " + std::to_string(floors.at(from)) + ")";
}

// The file named by a quoted #include on `line`, or "".
std::string QuotedInclude(const std::string& line) {
  std::size_t i = line.find_first_not_of(" \t");
  if (i == std::string::npos || line[i] != '#') return "";
  i = line.find_first_not_of(" \t", i + 1);
  if (i == std::string::npos || line.compare(i, 7, "include") != 0) return "";
  i = line.find_first_not_of(" \t", i + 7);
  if (i == std::string::npos || line[i] != '"') return "";
  const std::size_t end = line.find('"', i + 1);
  return end == std::string::npos ? "" : line.substr(i + 1, end - i - 1);
}

const fs::path kRoot = VEMO_SOURCE_ROOT;

TEST(Floors, TheCheckKnowsAClimbFromADescent) {
  const Floors floors = ReadFloors(kRoot / "cmake/floors.txt");
  ASSERT_EQ(floors.at("app/ui"), 5);
  struct Case {
    const char* file;
    const char* included;
    bool climbs;
  } const cases[] = {
      {"app/ui/frm_main.cpp", "app/chart/chart.h", false},        // down
      {"app/ui/frm_main.cpp", "app/ui/twips.h", false},           // its own room
      {"app/chart/canvas.cpp", "app/ui/glyphs.h", true},          // up
      {"app/reports/report_core.cpp", "app/settings/x.h", true},  // a neighbour on its floor
      {"cli/chart.cpp", "app/ui/stepping_core.h", true},          // beside it
      {"app/main.cpp", "app/ui/frm_main.h", false},               // the program's start on top
      {"app/time/dates.cpp", "platform/ordalin/ordalin.h", false},
      {"app/time/dates.cpp", "tests/support/run_command.h", true},  // no room
  };
  for (const Case& c : cases) {
    EXPECT_EQ(!Climb(floors, c.file, c.included).empty(), c.climbs) << c.file << " -> " << c.included;
  }
}

TEST(Floors, NoIncludeOfTheSourcesClimbs) {
  const Floors floors = ReadFloors(kRoot / "cmake/floors.txt");
  std::vector<std::string> climbs;
  int files = 0;
  for (const char* top : {"app", "cli", "ephemeris", "platform"}) {
    for (const auto& entry : fs::recursive_directory_iterator(kRoot / top)) {
      const std::string ext = entry.path().extension().string();
      if (!entry.is_regular_file() || (ext != ".h" && ext != ".c" && ext != ".cpp")) continue;
      ++files;
      const std::string file = fs::relative(entry.path(), kRoot).generic_string();
      std::ifstream in(entry.path());
      std::string line;
      while (std::getline(in, line)) {
        const std::string included = QuotedInclude(line);
        if (included.find('/') == std::string::npos) continue;  // none, or a file beside it
        if (std::string why = Climb(floors, file, included); !why.empty()) climbs.push_back(why);
      }
    }
  }
  EXPECT_GT(files, 100);
  for (const std::string& why : climbs) ADD_FAILURE() << why;
}

}  // namespace
