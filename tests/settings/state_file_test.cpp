// The state file: its exact bytes, the round trip, the fallbacks of the
// format, whole-file checking before anything is used, and replacing a file
// only once the new one is complete.
#include "app/settings/state_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/time/file_writer.h"

namespace vemo::settings {
namespace {

constexpr std::array<int, 3> kZones{50, 50, 50};

SavedState Sample() {
  SavedState s;
  s.rows[0] = {6, 15, "2024", 29, 26};
  s.rows[1] = {7, 20, "1969", 42, 24};
  s.rows[2] = {0, 0, "", 0, 0};
  s.modes = {false, false, false, true, false, false};
  s.stepSize = 3;
  s.useColor = false;
  s.orbs.OrbListIndex = {8, 7, 5, 6, 0, 2, 2, 4};
  s.orbs.ProportionListIndex = {0, 4};
  s.orbs.MidpointOrbListIndex = 5;
  s.orbs.UseBoldface = true;
  s.orbs.BoldfaceOneDegree = false;
  s.orbs.BoldfaceFactorListIndex = 6;
  // Sextiles (kind 5) left out of the chart.
  s.orbs.AspectColours = {0, 255, 65535, 16711680, 65280, 0, 8421504, 16777215};
  return s;
}

std::string File(const SavedState& s) { return FormatStateFile(s); }

std::string ReplaceLine(const std::string& file, int number, const std::string& value) {
  std::string out;
  std::istringstream in(file);
  std::string line;
  for (int n = 1; std::getline(in, line); ++n) out += (n == number ? value + "\r" : line) + "\n";
  return out;
}

std::string DropLinesFrom(const std::string& file, int number) {
  std::size_t at = 0;
  for (int n = 1; n < number; ++n) at = file.find("\r\n", at) + 2;
  return file.substr(0, at);
}

// The same lines with CR alone as line end, as an old Mac editor saves them.
std::string CrOnly(std::string file) {
  for (std::size_t at = 0; (at = file.find("\r\n", at)) != std::string::npos;) file.erase(++at, 1);
  return file;
}

TEST(StateFile, WritesTheLinesInBothStyles) {
  const std::string expected =
      " 6 \r\n 15 \r\n2024\r\n 29 \r\n 26 \r\n"     // world date
      " 7 \r\n 20 \r\n1969\r\n 42 \r\n 24 \r\n"     // 1st birthdate
      " 0 \r\n 0 \r\n\r\n 0 \r\n 0 \r\n"            // 2nd birthdate, blank
      "#FALSE#\r\n#FALSE#\r\n#FALSE#\r\n#TRUE#\r\n#FALSE#\r\n#FALSE#\r\n"
      " 3 \r\n 8 \r\n 7 \r\n 0 \r\n 1 \r\n 6 \r\n"  // step, orbs 1-2, colour, bold, factor
      "#FALSE#\r\n#TRUE#\r\n#FALSE#\r\n#TRUE#\r\n 0 \r\n"
      "8\r\n7\r\n5\r\n6\r\n0\r\n2\r\n2\r\n4\r\n"
      "255\r\n65535\r\n16711680\r\n65280\r\n0\r\n8421504\r\n16777215\r\n"
      " 0 \r\n 0 \r\n 5 \r\n 4 \r\n";
  EXPECT_EQ(File(Sample()), expected);
}

TEST(StateFile, ReadsBackWhatItWroteWithTheFormatsFallbacks) {
  const SavedState s = Sample();
  std::array<Colour, 8> current = DefaultOrbSettings().AspectColours;
  current[5] = 12345;
  struct Case {
    const char* name;
    std::string file;
    std::function<void(SavedState&)> expect;
  } const cases[] = {
      {"RoundTrip", File(s), [&](SavedState& e) { e.orbs.AspectColours[5] = 12345; }},
      {"FiftyLines", DropLinesFrom(File(s), 51),
       [](SavedState& e) {
         e.orbs.AspectColours[5] = 12345;
         e.orbs.ProportionListIndex[1] = e.orbs.ProportionListIndex[0];
       }},
      {"ZoneBeyondItsList", ReplaceLine(File(s), 5, " 77 "),
       [](SavedState& e) {
         e.orbs.AspectColours[5] = 12345;
         e.rows[0].zone = 0;
       }},
      {"NegativePositions", ReplaceLine(ReplaceLine(ReplaceLine(File(s), 27, "-1 "), 32, "-1 "), 50, "-1 "),
       [](SavedState& e) {
         e.orbs.AspectColours[5] = 12345;
         e.orbs.BoldfaceFactorListIndex = 2;
         e.orbs.ProportionListIndex[0] = 1;
         e.orbs.MidpointOrbListIndex = 3;
       }},
      {"BlanksAndBooleansAsNumbers", ReplaceLine(ReplaceLine(File(s), 22, "   3"), 25, "#FALSE#"),
       [](SavedState& e) { e.orbs.AspectColours[5] = 12345; }},
      {"BlanksAroundYears", ReplaceLine(ReplaceLine(File(s), 8, "\t1969 "), 13, " \t "),
       [](SavedState& e) { e.orbs.AspectColours[5] = 12345; }},
      {"CrOnly", CrOnly(File(s)), [](SavedState& e) { e.orbs.AspectColours[5] = 12345; }},
      {"BlankLinesAfterTheLast", File(s) + "\r\n\r\n", [](SavedState& e) { e.orbs.AspectColours[5] = 12345; }},
      {"FiftyLinesThenBlankLines", CrOnly(DropLinesFrom(File(s), 51)) + "\r \t\n\r\n",
       [](SavedState& e) {
         e.orbs.AspectColours[5] = 12345;
         e.orbs.ProportionListIndex[1] = e.orbs.ProportionListIndex[0];
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const StateParse p = ParseStateFile(c.file, kZones, current);
    ASSERT_TRUE(p.ok) << p.error;
    SavedState expected = s;
    c.expect(expected);
    EXPECT_EQ(p.state, expected);
  }
}

TEST(StateFile, ABrokenFileGivesNothingAndNamesTheLine) {
  const std::string good = File(Sample());
  const struct {
    std::string file;
    std::string error;
  } cases[] = {
      {ReplaceLine(good, 20, "abc"), "Line 20: a whole number was expected, not \"abc\"."},
      {DropLinesFrom(good, 20), "Line 20: the file ends before this line."},
      {ReplaceLine(good, 1, " 13 "), "Line 1: 13 is outside 0 to 12."},
      {ReplaceLine(good, 19, "#FALSE#"), "Lines 16 to 21: no mode is selected."},
      {ReplaceLine(good, 3, std::string(2000, '9')), "Line 3: longer than 1024 bytes."},
      {"", "Line 1: the file ends before this line."},
      {"\r\n \r\n", "Line 1: the file ends before this line."},
      {CrOnly(ReplaceLine(good, 20, "abc")), "Line 20: a whole number was expected, not \"abc\"."},
      // A year its box would silently turn into another one.
      {ReplaceLine(good, 3, "20\xff" "4"), "Line 3: a year of up to 6 digits was expected, not \"20\\xff4\"."},
      {ReplaceLine(good, 8, "-5"), "Line 8: a year of up to 6 digits was expected, not \"-5\"."},
      {ReplaceLine(good, 13, "20\x1b" "24"), "Line 13: a year of up to 6 digits was expected, not \"20\\x1b24\"."},
      {ReplaceLine(good, 3, "1234567"), "Line 3: a year of up to 6 digits was expected, not \"1234567\"."},
      {ReplaceLine(good, 3, "2024\x0c"), "Line 3: a year of up to 6 digits was expected, not \"2024\\x0c\"."},
      // Quoted text is escaped and cut after 40 shown characters, never
      // inside an escape or a character.
      {ReplaceLine(good, 20, "1\t2"), "Line 20: a whole number was expected, not \"1\\t2\"."},
      {ReplaceLine(good, 20, std::string(38, 'a') + "\x1b"),
       "Line 20: a whole number was expected, not \"" + std::string(38, 'a') + "...\"."},
      {ReplaceLine(good, 20, std::string(39, 'a') + "\xc3\xa9" "b"),
       "Line 20: a whole number was expected, not \"" + std::string(39, 'a') + "\xc3\xa9...\"."},
      {ReplaceLine(good, 20, std::string(30, 'a') + "\xed\xa0\x80"),  // a surrogate: three stray bytes
       "Line 20: a whole number was expected, not \"" + std::string(30, 'a') + "\\xed\\xa0...\"."},
      {ReplaceLine(good, 20, std::string(36, 'a') + "\xc3\xa9"),
       "Line 20: a whole number was expected, not \"" + std::string(36, 'a') + "\xc3\xa9\"."},
  };
  for (const auto& c : cases) {
    const StateParse p = ParseStateFile(c.file, kZones, DefaultOrbSettings().AspectColours);
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(p.error, c.error);
  }
}

TEST(StateFile, WritesTheYearItsBoxWillKeepSoThatItReadsBack) {
  // Saved before the box's next tick has cleaned what was typed.
  const struct {
    const char* typed;
    const char* written;
  } cases[] = {{"2024", "2024"}, {"19x9", "199"}, {"-44 BC", "44"}, {"", ""}, {"1234567", "123456"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    SavedState s = Sample();
    s.rows[1].year = c.typed;
    const StateParse p = ParseStateFile(File(s), kZones, s.orbs.AspectColours);
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.state.rows[1].year, c.written);
  }
}

class StateFileOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = std::filesystem::temp_directory_path() /
             ("vemo-state-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    path = (folder / "vemo.usr").string();
  }
  void TearDown() override { std::filesystem::remove_all(folder); }
  std::size_t FilesInFolder() const {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
  }
  std::filesystem::path folder;
  std::string path;
};

TEST_F(StateFileOnDisk, WrittenByTheFileWriterAndReadBack) {
  // The writer's failures (short writes, links, FIFOs, modes) are tested with
  // the writer; here a state goes to the disk and comes back the same.
  const std::string old = File(SavedState{});
  ASSERT_TRUE(WriteFileWhole(path, old).ok);
  const std::string fresh = File(Sample());
  ASSERT_TRUE(WriteFileWhole(path, fresh).ok);
  std::string text;
  ASSERT_EQ(ReadStateText(path, text), "");
  EXPECT_EQ(text, fresh);
  EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(StateFileOnDisk, ReadingRefusesFoldersAndOversizedFiles) {
  std::string text = "kept";
  EXPECT_NE(ReadStateText(folder.string(), text), "");
  EXPECT_NE(ReadStateText((folder / "none.qel").string(), text), "");
  std::ofstream(path, std::ios::binary) << std::string(kMaxStateFileBytes + 1, ' ');
  EXPECT_NE(ReadStateText(path, text).find("too large"), std::string::npos);
  EXPECT_EQ(text, "kept");
}

}  // namespace
}  // namespace vemo::settings
