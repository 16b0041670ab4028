// vemo-cli run from program folders of its own: data files missing, refused or
// out of reach of planets_vemo, an output that cannot be written, and
// over-long arguments in messages.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "tests/ephemeris/dac_writer.h"
#include "tests/support/run_command.h"

namespace {

namespace fs = std::filesystem;

TEST(CutArgument, SixtyCharactersWithoutSplittingASequence) {
  const std::string a59(59, 'a'), a60(60, 'a'), stray(70, '\x80');
  const std::pair<std::string, std::string> rows[] = {
      {a60, a60}, {a59 + "\u00E9", a59 + "\u00E9"}, {a60 + "\u00E9", a60 + "\u2026"},
      {a59 + "\U0001F600x", a59 + "\U0001F600\u2026"},
      {stray, stray.substr(0, 60) + "\u2026"},       // a stray byte is one character
      {a59 + "\xE2\x82" + "x", a59 + "\xE2\u2026"},  // and so is each byte of a broken sequence
  };
  for (const auto& [text, cut] : rows) EXPECT_EQ(vemo::cli::CutArgument(text), cut) << text;
}

// What a program folder holds besides vemo-cli, planets_vemo and qel.dat.
enum class Folder { Complete, NoDacs, PlutoLinkLoop, ShortSaturn, AtTheLimit, OneOver, TextLacksItems };

struct Case {
  Folder folder;
  std::string args;
  int status;
  std::vector<std::string> stderrLines;  // patterns: "*" anything, "{folder}" the program folder
  std::vector<std::string> out = {};     // pieces of standard output
  std::string nulls = "";                // first set of the JSON "positions": 'n' null, '.' number
};

bool Matches(const std::string& line, const std::string& pattern) {
  std::size_t at = 0;
  std::stringstream pieces(pattern);
  for (std::string piece; std::getline(pieces, piece, '*');) {
    if ((at = line.find(piece, at)) == std::string::npos) return false;
    at += piece.size();
  }
  return true;
}

std::string NullMask(const std::string& json) {
  const std::size_t from = json.find("\"positions\": [[") + 15;
  std::stringstream values(json.substr(from, json.find(']', from) - from));
  std::string mask;
  for (std::string v; std::getline(values, v, ',');) {
    mask += v.find('-') != std::string::npos ? '-' : v.find("null") != std::string::npos ? 'n' : '.';
  }
  return mask;
}

class Commands : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(base_); }
  void TearDown() override { fs::remove_all(base_); }

  // The program folder of a kind, made at first use; the long ones are as
  // long as their names say, with the separator.
  const std::string& FolderOf(Folder kind) {
    std::string& path = folders_[kind];
    if (!path.empty()) return path;
    path = (base_ / std::to_string(static_cast<int>(kind))).string();
    const std::size_t length = kind == Folder::AtTheLimit ? 244 : kind == Folder::OneOver ? 245 : 0;
    for (std::size_t rest; path.size() + 1 < length && (rest = length - 1 - path.size()) > 1;) {
      path += "/" + std::string(rest > 150 ? 100 : rest - 1, 'd');
    }
    fs::create_directories(path);
    const fs::path bin = fs::path(VEMO_CLI_PROGRAM).parent_path();
    fs::copy_file(VEMO_CLI_PROGRAM, path + "/vemo-cli");  // a copy: the program folder is where it lies
    fs::copy_file(PV_SHARED_LIBRARY, path + "/" + fs::path(PV_SHARED_LIBRARY).filename().string());
    if (kind == Folder::TextLacksItems) {
      // An older qel.dat without items 8 and 400: loads, and is named once.
      std::ifstream in(bin / "qel.dat");
      std::ofstream out(path + "/qel.dat");
      for (std::string line; std::getline(in, line);) {
        if (line.rfind("8\t", 0) != 0 && line.rfind("400\t", 0) != 0) out << line << '\n';
      }
    } else {
      fs::create_symlink(bin / "qel.dat", path + "/qel.dat");
    }
    for (const char* dac : {"jupiter.dac", "saturn.dac", "uranus.dac", "neptune.dac"}) {
      if (kind != Folder::NoDacs) fs::create_symlink(bin / dac, path + "/" + dac);
    }
    if (kind == Folder::ShortSaturn) {
      fs::remove(path + "/saturn.dac");
      std::ofstream(path + "/saturn.dac") << dac::file_of(-4000, 3);  // up to the year -3986
    }
    const fs::path pluto = kind == Folder::PlutoLinkLoop ? fs::path("hpluto.2199.slx") : bin / "hpluto.2199.slx";
    fs::create_symlink(pluto, path + "/hpluto.2199.slx");
    return path;
  }

  fs::path base_ =
      fs::canonical(fs::temp_directory_path()) / ("vemo-cli-commands-" + std::to_string(::getpid()));
  std::map<Folder, std::string> folders_;
};

TEST_F(Commands, WarningsPositionsAndStatuses) {
  std::string e60;
  for (int i = 0; i < 60; ++i) e60 += "\u00E9";
  const std::string world = " --mode world --world 2000-01-01T12:00Z";
  const std::string missing = ": missing or cannot be opened (folder \"{folder}\")";
  const std::string far = ": the program folder is too long for the planet library";
  const std::string tooLong = "The program folder \"{folder}\" is too long*245 characters, at most 244 ";
  const Case cases[] = {
      {Folder::Complete, "table" + world + " --format json", 0, {}, {"\"unavailable\": [], \"cells\""}, "........."},
      {Folder::TextLacksItems, "table" + world, 0,
       {"vemo-cli table: The program text \"qel.dat\" lacks items 8, 400. Captions*are left empty."}},
      {Folder::PlutoLinkLoop, "positions --jd 2451545 --format json", 0,
       {"vemo-cli positions: Pluto: *{folder}/hpluto.2199.slx"}, {"\"name\": \"Pluto\", \"longitude\": -101,"}},
      {Folder::PlutoLinkLoop, "table" + world + " --format json", 0, {"vemo-cli table: Pluto: *hpluto.2199.slx"},
       {"\"unavailable\": [{\"planet\": \"Pluto\", \"code\": -101, \"reason\": \"Cannot open"}, "........n"},
      {Folder::NoDacs, "table" + world + " --format json", 0,
       {"table: jupiter.dac" + missing, "saturn.dac" + missing, "uranus.dac" + missing, "neptune.dac" + missing},
       {"{\"planet\": \"Jupiter\", \"code\": -101, \"reason\": \"missing or cannot be opened\", \"row\": \"world\"}"},
       "....nnnn."},
      {Folder::NoDacs, "durations" + world, 0,
       {"durations: jupiter.dac" + missing, "saturn.dac" + missing, "uranus.dac" + missing, "neptune.dac" + missing},
       {"\nPositions not available:\nJupiter, world date: missing or cannot be opened\nSaturn, world date: "}},
      // In German the probe's reasons by their codes, the folder in German quotes.
      {Folder::NoDacs, "--language de durations" + world, 0,
       {"jupiter.dac: fehlt oder kann nicht ge\u00F6ffnet werden (Ordner \u201E{folder}\u201C)", "saturn.dac*",
        "uranus.dac*", "neptune.dac*"},
       {"\nNicht verf\u00FCgbare Positionen:\nJupiter, Weltdatum: fehlt oder kann nicht ge\u00F6ffnet werden\n"}},
      {Folder::OneOver, "--language de positions --jd 2451545", 0,
       {"Der Programmordner \u201E{folder}\u201C ist zu lang*245 Zeichen, h\u00F6chstens 244 ",
        "jupiter.dac: der Programmordner ist zu lang f\u00FCr die Planetenbibliothek", "neptune.dac*"},
       {"5 Jupiter  Fehler -101: fehlt oder kann nicht ge\u00F6ffnet werden\n"}},
      {Folder::ShortSaturn, "table" + world + " --format json", 0,
       {"vemo-cli table: saturn.dac: unreadable, short or corrupt (folder \"{folder}\")"}, {}, ".....n..."},
      {Folder::AtTheLimit, "table" + world + " --format json", 0, {}, {}, "........."},
      // One over the limit: the ten-character names still fit planets_vemo's
      // path; a probe's reason is not lent to another code (-99 at 1550).
      {Folder::OneOver, "table --mode personal1 --world 2000-01-01 --birth1 1550-01-01 --format json", 0,
       {"vemo-cli table: " + tooLong, "table: jupiter.dac" + far, "table: neptune.dac" + far},
       {"{\"planet\": \"Jupiter\", \"code\": -101, \"reason\": \"the program folder is too long for the planet "
        "library\", \"row\": \"birth1\"}, {\"planet\": \"Uranus\", \"code\": -99, \"reason\": \"the date is before "
        "the range of its data\", \"row\": \"birth1\"}, {\"planet\": \"Neptune\", \"code\": -99, \"reason\": \"the "
        "date is before"},
       "....n..n."},
      {Folder::OneOver, "positions --jd 2451545 --format json", 0,
       {"vemo-cli positions: " + tooLong, "positions: jupiter.dac" + far, "positions: neptune.dac" + far},
       {"\"name\": \"Jupiter\", \"longitude\": -101,", "\"name\": \"Saturn\", \"longitude\": 0.79"}},
      {Folder::Complete, "--help > /dev/full", 1, {"vemo-cli: cannot write the output: *"}},
      {Folder::Complete, "table --help > /dev/full", 1, {"vemo-cli table: cannot write the output: *"}},
      {Folder::Complete, "positions --jd 2451545 > /dev/full", 1, {"vemo-cli positions: cannot write the output"}},
      {Folder::Complete, "events --from 2000-01-01 --to 2001-01-01 > /dev/full", 1,
       {"vemo-cli events: cannot write the output: No space left on device"}},
      {Folder::Complete, "positions --format '" + e60 + "\u00E9'", 2, {"not \"" + e60 + "\u2026\" (try"}},
      {Folder::Complete, "table --mode world --world " + std::string(99, '3'), 2,
       {"--world: Date \"" + std::string(60, '3') + "\u2026\" is not"}},
      {Folder::Complete, std::string(99, 'c'), 2, {"unknown command \"" + std::string(60, 'c') + "\u2026\" (try"}},
      {Folder::Complete, "durations --mode world --" + std::string(99, '-'), 2,
       {"unknown argument \"" + std::string(60, '-') + "\u2026\" (try"}},
  };
  const std::string errFile = (base_ / "stderr").string();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    const std::string& folder = FolderOf(c.folder);
    std::string out;
    const std::string command = "( TZ=UTC0 '" + folder + "/vemo-cli' " + c.args + " 2>" + errFile + " )";
    ASSERT_EQ(vemo::testing::RunCommand(command, out), c.status);
    std::ifstream errors(errFile);
    std::vector<std::string> lines;
    for (std::string line; std::getline(errors, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), c.stderrLines.size()) << (lines.empty() ? "" : lines[0]);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      std::string pattern = c.stderrLines[i];
      if (const std::size_t at = pattern.find("{folder}"); at != std::string::npos) pattern.replace(at, 8, folder);
      EXPECT_TRUE(Matches(lines[i], pattern)) << lines[i] << "\n  does not match " << pattern;
    }
    for (const std::string& piece : c.out) EXPECT_NE(out.find(piece), std::string::npos) << piece << "\n" << out;
    if (!c.nulls.empty()) {
      EXPECT_EQ(NullMask(out), c.nulls) << out;
    }
  }
}

}  // namespace
