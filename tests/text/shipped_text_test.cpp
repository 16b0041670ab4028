// The shipped data/qel.dat against the program: it loads, every item the program asks
// for is there, markers that callers replace occur exactly once, and no caption that
// can stand in a table cell looks like an aspect.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "app/text/program_text.h"
#include "app/text/used_items.h"

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

TEST_F(ShippedText, EveryUsedItemExistsAndIsNotEmpty) {
  for (int n : kUsedProgramTextItems) {
    EXPECT_NE(ProgramText(n), "") << "item " << n;
  }
}

TEST_F(ShippedText, EveryMarkerOccursExactlyOnce) {
  for (const ProgramTextMarker& m : kProgramTextMarkers) {
    EXPECT_EQ(CountOccurrences(ProgramText(m.item), m.marker), 1u)
        << "item " << m.item << " marker \"" << m.marker << "\": " << ProgramText(m.item);
  }
}

TEST_F(ShippedText, TableCellCaptionsHoldNoAspectAbbreviation) {
  // The aspect abbreviations of the table cells, in kind order.
  const std::string_view abbreviations[] = {"Con", "Opp", "Sqr", "Tri", "Sxt", "Ssx", "Qui"};
  for (int n : kTableCellCaptionItems) {
    const std::string caption = ProgramText(n);
    EXPECT_NE(caption, "") << "item " << n;
    for (std::string_view a : abbreviations) {
      EXPECT_EQ(caption.find(a), std::string::npos) << "item " << n << " holds " << a;
    }
  }
}

TEST_F(ShippedText, ItemsShownAsTheyStandCarryNoLineBreakMarks) {
  // Callers take these items through ProgramText, not the placeholder filler, so a "^"
  // or "[r1]" would reach the screen as it stands.
  for (int n : kUsedProgramTextItems) {
    const std::string text = ProgramText(n);
    EXPECT_EQ(text.find('^'), std::string::npos) << "item " << n;
    EXPECT_EQ(text.find("[r"), std::string::npos) << "item " << n;
  }
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
