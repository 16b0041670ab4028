// The shipped data/qel.dat against the program: it loads, every item the program asks
// for is there in each language, markers that callers replace occur exactly once, and
// every English item has its German twin with the same markers.
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

// The help file as shipped; "" when it cannot be read.
std::string ShippedHelpText() {
  std::ifstream in(std::string(VEMO_SOURCE_DATA_DIR) + "/vemo_help.txt", std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

TEST_F(ShippedText, HelpOnReportsNamesEveryButtonOfTheReport) {
  const std::string text = ShippedHelpText();
  ASSERT_FALSE(text.empty()) << "vemo_help.txt missing";
  const std::size_t from = text.find("REPORTS\n");
  ASSERT_NE(from, std::string::npos);
  const std::string section = text.substr(from, text.find("SETTINGS\n", from) - from);
  // Copy to clipboard, Export (without its dots), the sort list, the durations switch.
  for (const std::string& caption : {ProgramText(185), ProgramText(404).substr(0, ProgramText(404).find(" ...")),
                                     std::string("sorted by"), std::string("Show durations")}) {
    EXPECT_NE(section.find(caption), std::string::npos) << caption;
  }
}

TEST(ShippedHelp, FitsTheViewerWithoutBeingCut) {
  // The help viewer shows at most 65530 characters and cuts longer files with a note;
  // the help text must stay well below that.
  const std::string text = ShippedHelpText();
  ASSERT_FALSE(text.empty()) << "vemo_help.txt missing";
  std::size_t characters = 0;
  for (unsigned char c : text) characters += (c & 0xC0) != 0x80;  // count UTF-8 lead bytes
  EXPECT_GT(characters, 1000u);
  EXPECT_LT(characters, 65000u);
}

}  // namespace
}  // namespace vemo
