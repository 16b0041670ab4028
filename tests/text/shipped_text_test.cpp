// The shipped data/qel.dat against the program: it loads, every item the program asks
// for is there in each language, markers that callers replace occur exactly once, and
// every English item has its German twin with the same markers; the help files of both
// languages fit the viewer, match in their sections and describe the report window by
// its captions.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/text/program_text.h"
#include "app/text/used_items.h"
#include "platform/tovrix6/tovrix6.h"

namespace vemo {
namespace {

std::size_t CountOccurrences(std::string_view text, std::string_view what) {
  std::size_t count = 0;
  for (std::size_t pos = text.find(what); pos != std::string_view::npos;
       pos = text.find(what, pos + 1)) {
    ++count;
  }
  return count;
}

class ShippedText : public ::testing::Test {
 protected:
  void SetUp() override {
    SetLanguageIndex(0);
    ASSERT_EQ(LoadProgramText(VEMO_SOURCE_DATA_DIR), "");
  }
};

// The languages of the shipped file: English (0) and German (1).
class ShippedTextInEachLanguage : public ShippedText, public ::testing::WithParamInterface<std::int16_t> {
 protected:
  void SetUp() override {
    ShippedText::SetUp();
    SetLanguageIndex(GetParam());
  }
  void TearDown() override { SetLanguageIndex(0); }
};
INSTANTIATE_TEST_SUITE_P(Languages, ShippedTextInEachLanguage, ::testing::Values(0, 1));

TEST_P(ShippedTextInEachLanguage, EveryUsedItemExistsAndIsNotEmpty) {
  for (int n : kUsedProgramTextItems) {
    EXPECT_NE(ProgramText(n), "") << "item " << n;
  }
}

TEST_P(ShippedTextInEachLanguage, EveryMarkerOccursExactlyOnce) {
  for (const ProgramTextMarker& m : kProgramTextMarkers) {
    EXPECT_EQ(CountOccurrences(ProgramText(m.item), m.marker), 1u)
        << "item " << m.item << " marker \"" << m.marker << "\": " << ProgramText(m.item);
  }
}

TEST_P(ShippedTextInEachLanguage, ItemsShownAsTheyStandCarryNoLineBreakMarks) {
  // Callers take these items through ProgramText, not the placeholder filler, so a "^"
  // or "[r1]" would reach the screen as it stands.
  for (int n : kUsedProgramTextItems) {
    const std::string text = ProgramText(n);
    EXPECT_EQ(text.find('^'), std::string::npos) << "item " << n;
    EXPECT_EQ(text.find("[r"), std::string::npos) << "item " << n;
  }
}

// Item n of a language as stored ("~" included); nothing when the file lacks it.
std::optional<std::string> Stored(int n, int language) {
  std::array<char, kProgramTextBufferSize> buffer{};
  const std::int32_t k = gt(n, language, buffer.data(), kProgramTextBufferSize, 1);
  if (k <= 0) return std::nullopt;
  return std::string(buffer.data(), static_cast<std::size_t>(k));
}

// The markers of a text, sorted: every "[...]" (the placeholders "[r1]".."[r5]"
// among them), every "^" and every NEW_ORB.
std::vector<std::string> Markers(std::string_view text) {
  std::vector<std::string> markers;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '^') markers.emplace_back("^");
    if (text.compare(i, 7, "NEW_ORB") == 0) markers.emplace_back("NEW_ORB");
    const std::size_t close = text[i] == '[' ? text.find(']', i) : std::string_view::npos;
    if (close != std::string_view::npos) markers.emplace_back(text.substr(i, close + 1 - i));
  }
  std::sort(markers.begin(), markers.end());
  return markers;
}

TEST_F(ShippedText, EveryEnglishItemHasAGermanTwinWithTheSameMarkers) {
  int twins = 0;
  for (int n = 0; n <= 32767; ++n) {
    const std::optional<std::string> english = Stored(n, 0);
    const std::optional<std::string> german = Stored(n, 1);
    EXPECT_EQ(english.has_value(), german.has_value()) << "item " << n << " is in one language only";
    if (!english || !german) continue;
    ++twins;
    EXPECT_EQ(Markers(*english), Markers(*german)) << "item " << n << ": " << *english << " | " << *german;
  }
  EXPECT_GE(twins, static_cast<int>(std::size(kUsedProgramTextItems)));
}

// The help file of a language as shipped; "" when it cannot be read.
std::string ShippedHelpText(int language) {
  std::ifstream in(std::string(VEMO_SOURCE_DATA_DIR) + "/" + HelpFileName(language), std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

std::size_t Utf8Length(std::string_view text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;  // UTF-8 lead bytes
  }));
}

// The section headings of a help text: each line above a line of dashes.
std::vector<std::string> SectionHeadings(const std::string& text) {
  std::vector<std::string> headings;
  std::istringstream in(text);
  std::string previous;
  for (std::string line; std::getline(in, line); previous = line) {
    if (!previous.empty() && !line.empty() && line.find_first_not_of('-') == std::string::npos) {
      EXPECT_EQ(Utf8Length(line), Utf8Length(previous)) << "underline of " << previous;
      headings.push_back(previous);
    }
  }
  return headings;
}

// The words the help on reports must hold in each language: the report window's
// captions from qel.dat (without their dots) and, in English, the words of its sort list.
struct ReportHelp {
  const char* from;
  const char* to;
  std::vector<int> items;
  std::vector<std::string> words;
};
const ReportHelp kReportHelp[] = {
    {"REPORTS\n", "SETTINGS\n", {185, 404, 414, 415, 416}, {"sorted by"}},
    {"BERICHTE\n", "EINSTELLUNGEN\n", {185, 404, 414, 415, 416, 59}, {}},
};

TEST_P(ShippedTextInEachLanguage, HelpOnReportsNamesEveryButtonOfTheReport) {
  const ReportHelp& help = kReportHelp[GetParam()];
  const std::string text = ShippedHelpText(GetParam());
  ASSERT_FALSE(text.empty()) << HelpFileName(GetParam()) << " missing";
  const std::size_t from = text.find(help.from);
  ASSERT_NE(from, std::string::npos);
  const std::string section = text.substr(from, text.find(help.to, from) - from);
  std::vector<std::string> words = help.words;
  for (int n : help.items) words.push_back(ProgramText(n).substr(0, ProgramText(n).find(" ...")));
  for (const std::string& word : words) {
    EXPECT_NE(section.find(word), std::string::npos) << word;
  }
}

TEST_P(ShippedTextInEachLanguage, HelpFitsTheViewerWithoutBeingCut) {
  // The help viewer shows at most 65530 characters and cuts longer files with a note;
  // the help text must stay well below that.
  const std::string text = ShippedHelpText(GetParam());
  ASSERT_FALSE(text.empty()) << HelpFileName(GetParam()) << " missing";
  EXPECT_GT(Utf8Length(text), 1000u);
  EXPECT_LT(Utf8Length(text), 65000u);
}

TEST(ShippedHelp, BothLanguagesHaveTheSameNumberedSections) {
  const std::vector<std::string> english = SectionHeadings(ShippedHelpText(0));
  const std::vector<std::string> german = SectionHeadings(ShippedHelpText(1));
  ASSERT_EQ(english.size(), german.size());
  EXPECT_GE(english.size(), 15u);
  for (std::size_t i = 0; i < english.size(); ++i) {
    EXPECT_EQ(english[i].substr(0, english[i].find(' ')), german[i].substr(0, german[i].find(' ')))
        << english[i] << " | " << german[i];
  }
}

}  // namespace
}  // namespace vemo
