// vemo-cli report run as a user would: each mode's title and first lines,
// every sort key (the records in JSON must come in the key's order), the
// refused keys and the reports without aspects. Titles are worked out by hand
// from the dates and the default orbs (3° to 10°, a third of them for
// personal transits and synastry: 1° to 3°20').

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/run_command.h"

namespace {

const std::string kDates = " --world 2000-01-01T12:00Z --birth1 2000-01-01T12:00Z --birth2 1985-02-28T23:30-05:00";

int Report(const std::string& args, std::string& out) {
  return vemo::testing::RunCommand("( TZ=UTC0 '" VEMO_CLI_PROGRAM "' report " + args + " 2>/dev/null )", out);
}

// The "record" strings of the JSON records, and whether the brackets and
// braces outside strings pair up.
std::vector<std::string> Records(const std::string& json, bool& balanced) {
  std::vector<std::string> records;
  std::string open;
  bool inString = false;
  balanced = true;
  for (size_t i = 0; i < json.size(); ++i) {
    const char c = json[i];
    if (inString) {
      if (c == '\\') ++i;
      inString = c != '"';
    } else if (c == '"') {
      inString = true;
      if (json.compare(i, 11, "\"record\": \"") == 0) records.push_back(json.substr(i + 11, 39));
    } else if (c == '[' || c == '{') {
      open += c;
    } else if (c == ']' || c == '}') {
      balanced = balanced && !open.empty() && open.back() == (c == ']' ? '[' : '{');
      if (!open.empty()) open.pop_back();
    }
  }
  balanced = balanced && open.empty() && !inString;
  return records;
}

TEST(Report, EachModeWithItsTitle) {
  const std::pair<std::string, std::string> cases[] = {
      {"world",
       "World transits on January 1, 2000, 12:00 (GMT).    Orbs: 3\u00B0 to 10\u00B0   \n\nEarth   quincunx ("},
      {"natal1", "Natal aspects for January 1, 2000, 12:00 (GMT).    Orbs: 3\u00B0 to 10\u00B0   (Natal aspects do "
                 "not change, so they have no durations.)\n\nIn this natal chart there are nine aspects.\n\n"},
      {"natal2", "Natal aspects for February 28, 1985, 23:30 (GMT-5:00).    Orbs: 3\u00B0 to 10\u00B0   (Natal"},
      {"personal1 --sort natal", "Personal transits for the birthdate Jan. 1, 2000, 12:00 (GMT) on Jan. 1, 2000, 12:00 "
                                 "(GMT).    Orbs: 1\u00B0 to 3\u00B020'   \n\ntr.Earth   conjunct (0\u00B00')       "
                                 "n.Earth   from "},
      {"personal2",
       "Personal transits for the birthdate Feb. 28, 1985, 23:30 (GMT-5:00) on Jan. 1, 2000, 12:00 (GMT)."},
      {"synastry", "Synastry of (1) Jan. 1, 2000, 12:00 (GMT) and (2) Feb. 28, 1985, 23:30 (GMT-5:00).    Orbs: "
                   "1\u00B0 to 3\u00B020'   \n\nIn this synastry there are "},
  };
  for (const auto& [mode, start] : cases) {
    std::string out;
    EXPECT_EQ(Report("--mode " + mode + kDates, out), 0) << mode;
    EXPECT_EQ(out.rfind(start, 0), 0u) << mode << "\n" << out;
    EXPECT_EQ(out.find('\r'), std::string::npos) << mode;
  }
}

TEST(Report, EverySortKeyOrdersTheRecords) {
  const struct {
    const char *mode, *key;
    size_t start;
    const char* durations;
  } cases[] = {{"world", "exactness", 9, "true"},        {"world", "aspect", 7, "true"},
               {"world", "planet --no-durations", 1, "false"}, {"world", "beginning", 18, "true"},
               {"world", "ending", 26, "true"},          {"world", "duration", 34, "true"},
               {"personal1", "exactness --no-durations", 9, "false"}, {"personal1", "aspect", 7, "true"},
               {"personal2", "natal", 1, "true"},        {"personal2", "transiting", 3, "true"},
               {"personal1", "beginning", 18, "true"},   {"personal1", "ending", 26, "true"},
               {"personal1", "duration", 34, "true"},    {"synastry", "", 9, "false"},
               {"natal2", "", 9, "false"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.mode) + " " + c.key);
    std::string out;
    const std::string sort = *c.key ? std::string(" --sort ") + c.key : "";
    ASSERT_EQ(Report(std::string("--format json --mode ") + c.mode + kDates + sort, out), 0);
    const std::string key = *c.key ? std::string(c.key).substr(0, std::string(c.key).find(' ')) : "exactness";
    const std::string head = "\"sort\": \"" + key + "\", \"durations\": " + c.durations + ", \"lines\": [";
    EXPECT_NE(out.find(head), std::string::npos) << out;
    bool balanced = false;
    const std::vector<std::string> records = Records(out, balanced);
    EXPECT_TRUE(balanced) << out;
    EXPECT_GE(records.size(), 3u);
    for (size_t i = 1; i < records.size(); ++i) {
      EXPECT_LE(records[i - 1].substr(c.start - 1), records[i].substr(c.start - 1)) << i;
    }
    EXPECT_EQ(std::string(c.durations) == "true", out.find(" until ") != std::string::npos);
  }
}

TEST(Report, RefusalsAndEmptyReports) {
  const struct {
    const char* args;
    int status;
    const char* out;
  } cases[] = {
      {"--mode natal1 --sort exactness", 2, "--sort does not apply to natal1"},
      {"--mode synastry --sort planet", 2, "--sort does not apply to synastry"},
      {"--mode world --sort natal", 2,
       "--sort for world is exactness, aspect, planet, beginning, ending or duration, not \"natal\""},
      {"--mode world --sort ending --no-durations", 2, "--sort ending orders by the beginning"},
      {"--mode personal1 --sort beginning --no-durations", 2, "--sort beginning orders by the beginning"},
      {"--mode world --sort beginning --no-durations", 0, "World transits"},
      {"--mode world --orbs 0,0,0,0,0,0,0", 0, "There are no aspects within the orbs to report.\n"},
      {"--mode personal1 --orbs 0,0,0,0,0,0,0", 0, "There are no personal transits within the orbs to report.\n"},
      {"--help", 0, "Usage: vemo-cli report --mode MODE"},
      {"--mode world --format pdf", 2, "--format pdf needs --out FILE"},
      {"--mode world --paper a4", 2, "--paper applies to --format pdf only"},
      {"--mode world --format pdf --out r.pdf --paper a3", 2, "--paper is a4 or letter, not \"a3\""},
      {"--mode world --format yaml", 2, "yaml"},
  };
  for (const auto& c : cases) {
    std::string out;
    EXPECT_EQ(vemo::testing::RunCommand("TZ=UTC0 '" VEMO_CLI_PROGRAM "' report " + std::string(c.args) + kDates, out),
              c.status) << c.args;
    EXPECT_NE(out.find(c.out), std::string::npos) << c.args << "\n" << out;
  }
}

// --out writes what standard output would get; --format pdf sets the
// report on pages (the paper by --paper): every line of the text in order,
// and "Page N of M" on each of M pages.
TEST(Report, OutFileAndPdfPages) {
  const std::string folder = ::testing::TempDir() + "vemo-report-" + std::to_string(::getpid());
  std::string text, file;
  ASSERT_EQ(vemo::testing::RunCommand("mkdir -p '" + folder + "'", file), 0);
  ASSERT_EQ(Report("--mode personal1" + kDates, text), 0);
  ASSERT_EQ(Report("--mode personal1 --out '" + folder + "/r.txt'" + kDates, file), 0);
  EXPECT_EQ(file, "");
  ASSERT_EQ(vemo::testing::RunCommand("cat '" + folder + "/r.txt'", file), 0);
  EXPECT_EQ(file, text);

  std::string out;
  if (vemo::testing::RunCommand("pdftotext -v", out) != 0) GTEST_SKIP() << "pdftotext (poppler-utils) missing";
  const std::string args = "--mode personal1 --orbs 10,10,10,10,10,10,10 --format pdf --paper letter --out '" +
                           folder + "/r.pdf'" + kDates;
  ASSERT_EQ(Report(args, out), 0) << out;
  ASSERT_EQ(Report("--mode personal1 --orbs 10,10,10,10,10,10,10" + kDates, text), 0);
  std::string pdf;
  ASSERT_EQ(vemo::testing::RunCommand("pdftotext -layout '" + folder + "/r.pdf' -", pdf), 0);
  std::string info;
  ASSERT_EQ(vemo::testing::RunCommand("pdfinfo '" + folder + "/r.pdf'", info), 0);
  EXPECT_NE(info.find("612 x 792 pts (letter)"), std::string::npos) << info;
  const std::size_t pagesAt = info.find("Pages:");
  ASSERT_NE(pagesAt, std::string::npos);
  const int pages = std::stoi(info.substr(pagesAt + 6));
  EXPECT_GE(pages, 1);  // many pages: test_saved_picture.cpp
  // Each line of the text (blanks squeezed, as pdftotext lays them out) in
  // order in the PDF's text.
  auto squeezed = [](const std::string& line) {
    std::string out;
    for (char c : line) {
      if (c != ' ' || (!out.empty() && out.back() != ' ')) out += c;
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
  };
  std::string flat;
  for (std::size_t start = 0; start < pdf.size();) {
    const std::size_t end = std::min(pdf.find('\n', start), pdf.size());
    flat += squeezed(pdf.substr(start, end - start)) + "\n";
    start = end + 1;
  }
  std::size_t at = 0;
  int lines = 0;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    const std::string line = squeezed(text.substr(start, end - start));
    const bool title = start == 0;  // wrapped on the page
    start = end + 1;
    if (line.empty() || title) continue;
    const std::size_t found = flat.find(line, at);
    ASSERT_NE(found, std::string::npos) << "line " << lines << ": " << line;
    at = found + line.size();
    ++lines;
  }
  EXPECT_GT(lines, 20);
  for (int page = 1; page <= pages; ++page) {
    const std::string number = "Page " + std::to_string(page) + " of " + std::to_string(pages);
    EXPECT_NE(flat.find(number), std::string::npos) << number;
  }
  vemo::testing::RunCommand("rm -rf '" + folder + "'", out);
}

}  // namespace
