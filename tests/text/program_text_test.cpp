// ProgramText, FillPlaceholders and the start-up messages of LoadProgramText.
#include "app/text/program_text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/text/used_items.h"
#include "app/time/shared_library.h"
#include "platform/tovrix6/tovrix6.h"
#include "tests/text/temp_text_file.h"

namespace vemo {
namespace {

using testing::NumberedItems;
using testing::TempTextFile;

struct MessageCase {
  const char* name;
  std::string content;
  std::string message;
};

class LoadMessage : public ::testing::TestWithParam<MessageCase> {};

TEST_P(LoadMessage, NamesTheFaultAndItsLine) {
  const MessageCase& c = GetParam();
  TempTextFile file(c.content);
  EXPECT_EQ(LoadProgramText(file.folder()), c.message);
}

INSTANTIATE_TEST_SUITE_P(
    Files, LoadMessage,
    ::testing::Values(
        MessageCase{"SoundFileLoadsSilently", "1\t0\tone\n", ""},
        MessageCase{"DuplicateAtLine12", NumberedItems(1, 11) + "3\t0\tagain\n",
                    "Duplicate in program text at line 12."},
        MessageCase{"TooLongAtLine600", NumberedItems(1, 599) + "600\t0\t" +
                                            std::string(1025, 'x') + "\n",
                    "String too long at line 600."},
        MessageCase{"MissingTextAtLine3", "1\t0\ta\n2\t0\tb\n3\t0\t\n", "Missing string at line 3."},
        MessageCase{"UnreadableLine", "1\t0\ta\nitem\t0\tb\n",
                    "Unreadable line in program text at line 2."},
        MessageCase{"ZeroBytes", "", "File is empty."},
        MessageCase{"CommentsOnly", "# nothing\n", "No program text was read."},
        MessageCase{"InvalidUtf8AtLine40", NumberedItems(1, 39) + "40\t0\tna\xEFve\n",
                    "Text not recovered. Invalid UTF-8 at line 40."},
        MessageCase{"Utf16WithByteOrderMark", std::string("\xFF\xFE" "1\0\t\0" "0\0", 8),
                    "Text not recovered. The file is UTF-16; save it as UTF-8."},
        MessageCase{"Utf16WithoutByteOrderMark", std::string("1\0\t\0" "0\0", 6),
                    "Text not recovered. The file is UTF-16; save it as UTF-8."},
        MessageCase{"ControlCharacterInAnItem", "1\t0\ta\n2\t0\tb\x1B[2J\n",
                    "Control character in program text at line 2."},
        MessageCase{"C1ControlInAnItem", "1\t0\ta\xC2\x85z\n", "Control character in program text at line 1."},
        MessageCase{"TabAndCrLfAreFine", "1\t0\ta\tb\r\n", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LoadProgramText, MissingFileNamesThePathOnASecondLine) {
  const std::string message = LoadProgramText("/nonexistent-vemo-folder", "qel.dat");
  EXPECT_EQ(message, "Cannot open file containing program text.\r\n/nonexistent-vemo-folder" +
                         std::string(1, PathSeparator()) + "qel.dat");
}

TEST(LoadProgramText, ItemsTheProgramUsesButTheFileLacksAreNamedOnce) {
  // Every used item except 4 and 400; 5 is "~", which counts as present.
  std::string content;
  for (const int n : kUsedProgramTextItems) {
    if (n != 4 && n != 400) content += std::to_string(n) + (n == 5 ? "\t0\t~\n" : "\t0\tx\n");
  }
  TempTextFile file(content);
  ASSERT_EQ(LoadProgramText(file.folder()), "");
  EXPECT_EQ(MissingUsedItems(), (std::vector<int>{4, 400}));
  EXPECT_EQ(MissingItemsWarning(MissingUsedItems()),
            "The program text \"qel.dat\" lacks items 4, 400. Captions and messages that use them are "
            "left empty.");
  EXPECT_EQ(ProgramText(4), "");
  EXPECT_EQ(MissingItemsWarning({}), "");
}

TEST(LoadProgramText, PathGetsOneSeparator) {
  // The platform's separator is added; a folder ending in '/' or in the
  // platform's own separator gets none.
  const std::string own(1, PathSeparator());
  EXPECT_EQ(ProgramTextPath("/opt/vemo", "qel.dat"), "/opt/vemo" + own + "qel.dat");
  EXPECT_EQ(ProgramTextPath("/opt/vemo/", "qel.dat"), "/opt/vemo/qel.dat");
  EXPECT_EQ(ProgramTextPath("/opt/vemo" + own, "qel.dat"), "/opt/vemo" + own + "qel.dat");
  EXPECT_EQ(ProgramTextPath("", "qel.dat"), "qel.dat");
}

TEST(HelpFilePath, GermanFileWhenThereEnglishOtherwise) {
  TempTextFile english("help\n", "vemo_help.txt");
  EXPECT_EQ(HelpFilePath(english.folder(), 1), english.path());
  const std::string german = ProgramTextPath(english.folder(), "vemo_help.de.txt");
  std::ofstream(german) << "Hilfe\n";
  EXPECT_EQ(HelpFilePath(english.folder(), 1), german);
  EXPECT_EQ(HelpFilePath(english.folder(), 0), english.path());
}

// Messages for bare result codes, read by their ranges, as when the store gives no
// detail. Past line 500 the ranges overlap; the detail (tested above) resolves that.
TEST(LoadProgramText, BareCodesReadByRange) {
  struct Row {
    int32_t code;
    const char* message;
  };
  const Row rows[] = {
      {0, "No program text was read."},
      {-2, "Particular memory allocation error."},
      {-3, "Too much program text."},
      {-4, "Text not recovered."},
      {-5, "Error -5"},
      {-6, "File is empty."},
      {-7, "Error reading file."},
      {-8, "General memory allocation error."},
      {-9, "Error -9"},
      {-500, "Error -500"},
      {-501, "Missing string at line 1."},
      {-1000, "Missing string at line 500."},
      {-1001, "String too long at line 1."},
      {-1500, "String too long at line 500."},
      {-1501, "Duplicate in program text at line 1."},
      {-1512, "Duplicate in program text at line 12."},
      {-1600, "Duplicate in program text at line 100."},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.code);
    EXPECT_EQ(ProgramTextLoadMessage(row.code, row.code, 0, "p"), row.message);
  }
  EXPECT_EQ(ProgramTextLoadMessage(-1600, TOVRIX6_KIND_TOO_LONG, 600, "p"),
            "String too long at line 600.");
  EXPECT_EQ(ProgramTextLoadMessage(7, 0, 0, "p"), "");
}

// The loader's messages come before any program text, so they carry their
// German with them: chosen before the file is read, the language is known.
TEST(LoadResult, GermanMessages) {
  SetLanguageIndex(1);
  EXPECT_EQ(ProgramTextLoadMessage(-1512, -1512, 0, "p"), "Doppelter Eintrag im Programmtext in Zeile 12.");
  EXPECT_EQ(ProgramTextLoadMessage(-1, -1, 0, "p"),
            "Die Datei mit dem Programmtext kann nicht ge\u00F6ffnet werden.\r\np");
  EXPECT_EQ(MissingItemsWarning({4}),
            "Dem Programmtext \u201Eqel.dat\u201C fehlt der Eintrag 4. Beschriftungen und Meldungen, die ihn "
            "verwenden, bleiben leer.");
  EXPECT_EQ(MissingItemsWarning({4, 400}),
            "Dem Programmtext \u201Eqel.dat\u201C fehlen die Eintr\u00E4ge 4, 400. Beschriftungen und Meldungen, "
            "die sie verwenden, bleiben leer.");
  SetLanguageIndex(0);
}

class Items : public ::testing::Test {
 protected:
  void SetUp() override {
    text1024_ = std::string(1021, 'a') + "\xE2\x82\xAC";  // ends in a 3-byte euro sign
    file_ = std::make_unique<TempTextFile>(
        "1\t0\t~\n2\t0\t" + text1024_ + "\n3\t0\tThe [r1] of [r2]^and [r3]\n3\t1\tDer [r1]\n"
        "4\t0\t~~\n");
    ASSERT_EQ(LoadProgramText(file_->folder()), "");
  }
  void TearDown() override { SetLanguageIndex(0); }
  std::string text1024_;
  std::unique_ptr<TempTextFile> file_;
};

TEST_F(Items, TildeReadsAsEmpty) {
  EXPECT_EQ(ProgramText(1), "");
  EXPECT_EQ(ProgramText(4), "~~");
}

TEST_F(Items, MissingItemReadsAsEmpty) {
  EXPECT_EQ(ProgramText(99), "");
  EXPECT_EQ(ProgramText(-1), "");
}

TEST_F(Items, ItemOf1024BytesComesBackWhole) {
  EXPECT_EQ(ProgramText(2), text1024_);
}

TEST_F(Items, LanguageIndexSelectsTheLanguage) {
  SetLanguageIndex(1);
  EXPECT_EQ(ProgramText(3), "Der [r1]");
  EXPECT_EQ(ProgramText(2), "") << "no fallback to language 0";
  SetLanguageIndex(0);
  EXPECT_EQ(ProgramText(3), "The [r1] of [r2]^and [r3]");
}

TEST_F(Items, WithArgsFillsTheItem) {
  EXPECT_EQ(ProgramTextWithArgs(3, "orb", "Mars", "Venus"), "The orb of Mars\r\nand Venus");
  EXPECT_EQ(ProgramTextWithArgs(3, "orb"), "The orb of [r2]\r\nand [r3]");
}

TEST(FillPlaceholders, Rows) {
  struct Row {
    const char* name;
    std::string text;
    std::string r1, r2, r3, r4, r5;
    std::string expected;
  };
  const Row rows[] = {
      {"AllFive", "[r1]-[r2]-[r3]-[r4]-[r5]", "a", "b", "c", "d", "e", "a-b-c-d-e"},
      {"EveryOccurrence", "[r1][r1] [r2][r2]", "x", "y", "", "", "", "xx yy"},
      {"EmptyR2StopsTheChain", "[r1] [r2]^[r3]", "one", "", "three", "", "",
       "one [r2]\r\n[r3]"},
      {"EmptyR4StopsR5", "[r3][r4][r5]", "a", "b", "c", "", "e", "c[r4][r5]"},
      {"EmptyR1IsStillFilled", "<[r1]>[r2]", "", "b", "", "", "", "<>b"},
      {"CaretBecomesCrLf", "a^b^^c", "", "", "", "", "", "a\r\nb\r\n\r\nc"},
      {"NoMarkersUnchanged", "plain [x] text", "r1", "r2", "", "", "", "plain [x] text"},
      {"NoMarkersKeepsLoneLf", "line\nnext", "r1", "", "", "", "", "line\nnext"},
      {"ArgumentsAreNotRescanned", "[r1] and [r2]", "C:^x[r2]", "y", "", "", "",
       "C:^x[r2] and y"},
      {"UnknownPlaceholderKept", "[r6] [r0] [r1", "a", "b", "c", "d", "e", "[r6] [r0] [r1"},
      {"EmptyText", "", "a", "", "", "", "", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(FillPlaceholders(row.text, row.r1, row.r2, row.r3, row.r4, row.r5), row.expected);
  }
}

}  // namespace
}  // namespace vemo
