// The text store: result codes of lt() for every way a file can be wrong, and what gt()
// hands back.
#include "platform/tovrix6/tovrix6.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "tests/text/temp_text_file.h"

namespace {

using vemo::testing::NumberedItems;
using vemo::testing::TempTextFile;

struct LoadCase {
  const char* name;
  std::string content;
  int32_t result;
  int32_t kind;
  int32_t line;
};

std::string CommentLines(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += "# comment\n";
  return s;
}

std::vector<LoadCase> LoadCases() {
  const std::string text1025(1025, 'x');
  return {
      {"ThreeItemsGiveTheirCount", NumberedItems(1, 3), 3, 0, 0},
      {"CommentsAndBlankLinesAreSkipped", "# head\n\n1\t0\ta\n \t \n# tail\n2\t0\tb", 2, 0, 0},
      {"SameNumberInTwoLanguagesIsNoDuplicate", "7\t0\tseven\n7\t1\tsieben\n", 2, 0, 0},
      {"DuplicateAtLine12", NumberedItems(1, 11) + "5\t0\tagain\n", -1512,
       TOVRIX6_KIND_DUPLICATE, 12},
      {"TextOf1025BytesIsTooLong", "1\t0\tok\n2\t0\t" + text1025 + "\n", -1002,
       TOVRIX6_KIND_TOO_LONG, 2},
      {"TooLongAtLine600IsNotADuplicateAt100", NumberedItems(1, 599) + "600\t0\t" + text1025,
       -1600, TOVRIX6_KIND_TOO_LONG, 600},
      {"EmptyTextIsMissing", "1\t0\tok\n2\t0\t\n", -502, TOVRIX6_KIND_MISSING_TEXT, 2},
      {"LanguageWithoutTextIsMissing", "1\t0\n", -501, TOVRIX6_KIND_MISSING_TEXT, 1},
      {"NumberAloneIsMissingText", "1\t0\tok\n\n17\n", -503, TOVRIX6_KIND_MISSING_TEXT, 3},
      {"MissingTextAtLine700IsNotTooLongAt200", CommentLines(699) + "4\t0\t\n", -1200,
       TOVRIX6_KIND_MISSING_TEXT, 700},
      {"ZeroByteFile", "", -6, -6, 0},
      {"OnlyCommentsAndBlanks", "# nothing here\n\n   \n", 0, 0, 0},
      {"InvalidUtf8Byte", "1\t0\tcaf\xE9\n", -4, TOVRIX6_KIND_INVALID_UTF8, 1},
      {"OverlongUtf8", "# x\n1\t0\t\xC0\xAF\n", -4, TOVRIX6_KIND_INVALID_UTF8, 2},
      {"Utf8Surrogate", "1\t0\t\xED\xA0\x80\n", -4, TOVRIX6_KIND_INVALID_UTF8, 1},
      {"TruncatedUtf8AtEnd", "1\t0\tx\n2\t0\tx\xE2\x82", -4, TOVRIX6_KIND_INVALID_UTF8, 2},
      {"Utf16LittleEndian", std::string("\xFF\xFE" "1\0", 4), -4, TOVRIX6_KIND_UTF16, 0},
      {"EscapeInAText", "1\t0\tx\n2\t0\ta\x1B" "b\n", -5, TOVRIX6_KIND_CONTROL_CHARACTER, 2},
      {"WordInsteadOfNumber", "1\t0\tok\nten\t0\tx\n", -5, TOVRIX6_KIND_BAD_LINE, 2},
      {"ItemNumberAbove16Bits", "40000\t0\tx\n", -5, TOVRIX6_KIND_BAD_LINE, 1},
      {"SpacesInsteadOfTabs", "1 0 text\n", -5, TOVRIX6_KIND_BAD_LINE, 1},
      {"LanguageNotANumber", "1\ten\ttext\n", -5, TOVRIX6_KIND_BAD_LINE, 1},
  };
}

class LoadResult : public ::testing::TestWithParam<LoadCase> {};

TEST_P(LoadResult, CodeKindAndLine) {
  const LoadCase& c = GetParam();
  TempTextFile file(c.content);
  EXPECT_EQ(lt(file.path().c_str(), 0), c.result);
  int32_t kind = 99, line = 99;
  EXPECT_EQ(lt_error_detail(&kind, &line), c.result);
  EXPECT_EQ(kind, c.kind);
  EXPECT_EQ(line, c.line);
}

INSTANTIATE_TEST_SUITE_P(Files, LoadResult, ::testing::ValuesIn(LoadCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LoadFile, MissingFileOrFolderCannotBeOpened) {
  EXPECT_EQ(lt("/nonexistent-folder/qel.dat", 0), -1);
  EXPECT_EQ(lt(nullptr, 0), -1);
  TempTextFile file("1\t0\tx\n");
  EXPECT_EQ(lt(file.folder().c_str(), 0), -1);
}

TEST(LoadFile, MoreThanFourMegabytesIsTooMuch) {
  // 4 MB exactly is accepted; one byte more is not.
  std::string line = "1\t0\t" + std::string(1000, 'a') + "\n";
  std::string exact = line + "# ";
  exact += std::string(TOVRIX6_MAX_FILE_BYTES - exact.size(), 'c');
  {
    TempTextFile file(exact);
    EXPECT_EQ(lt(file.path().c_str(), 0), 1);
  }
  TempTextFile file(exact + "c");
  EXPECT_EQ(lt(file.path().c_str(), 0), -3);
}

TEST(LoadFile, FailedLoadKeepsTheTextsLoadedBefore) {
  TempTextFile good("1\t0\tfirst\n");
  ASSERT_EQ(lt(good.path().c_str(), 0), 1);
  TempTextFile bad("1\t0\tsecond\n1\t0\tagain\n");
  ASSERT_EQ(lt(bad.path().c_str(), 0), -1502);
  char buffer[16];
  ASSERT_EQ(gt(1, 0, buffer, sizeof buffer, 1), 5);
  EXPECT_EQ(std::string(buffer, 5), "first");
}

TEST(LoadFile, SecondGoodLoadReplacesTheStore) {
  TempTextFile a("1\t0\tone\n2\t0\ttwo\n");
  ASSERT_EQ(lt(a.path().c_str(), 0), 2);
  TempTextFile b("3\t0\tthree\n");
  ASSERT_EQ(lt(b.path().c_str(), 0), 1);
  char buffer[16];
  EXPECT_EQ(gt(1, 0, buffer, sizeof buffer, 1), 0);
  EXPECT_EQ(gt(3, 0, buffer, sizeof buffer, 1), 5);
}

TEST(LoadFile, CrLfLineEndsAndByteOrderMarkAreNotPartOfTheText) {
  TempTextFile file("\xEF\xBB\xBF" "1\t0\tone\r\n2\t0\ttwo\r\n");
  ASSERT_EQ(lt(file.path().c_str(), 0), 2);
  char buffer[16];
  ASSERT_EQ(gt(1, 0, buffer, sizeof buffer, 1), 3);
  EXPECT_EQ(std::string(buffer, 3), "one");
  ASSERT_EQ(gt(2, 0, buffer, sizeof buffer, 1), 3);
  EXPECT_EQ(std::string(buffer, 3), "two");
}

class Lookup : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string text1024 = std::string(1022, 'y') + "\xC3\xA9";  // 1024 bytes
    file_ = std::make_unique<TempTextFile>(
        "1\t0\t" + text1024 + "\n2\t0\t~\n3\t0\tkeep [r1]^ and\ttab\n3\t1\tdrei\n"
        "4\t0\t  blanks kept  \n");
    ASSERT_EQ(lt(file_->path().c_str(), 0), 5);
  }
  std::unique_ptr<TempTextFile> file_;
};

TEST_F(Lookup, TextOf1024BytesFillsTheBufferWhole) {
  char buffer[1024 + 1];
  buffer[1024] = '#';
  ASSERT_EQ(gt(1, 0, buffer, 1024, 1), 1024);
  EXPECT_EQ(buffer[1021], 'y');
  EXPECT_EQ(std::string(buffer + 1022, 2), "\xC3\xA9");
  EXPECT_EQ(buffer[1024], '#') << "wrote past the buffer";
}

TEST_F(Lookup, TooSmallBufferIsRefusedAndLeftAlone) {
  char buffer[8] = "abcdefg";
  EXPECT_EQ(gt(1, 0, buffer, sizeof buffer, 1), -2);
  EXPECT_STREQ(buffer, "abcdefg");
}

TEST_F(Lookup, TextsComeBackAsStored) {
  struct Row {
    const char* name;
    int32_t n;
    int32_t language;
    const char* expected;  // nullptr: no such item
  };
  const Row rows[] = {
      {"TildeIsStoredAsIs", 2, 0, "~"},
      {"MarkersAndTabsAreKept", 3, 0, "keep [r1]^ and\ttab"},
      {"OtherLanguage", 3, 1, "drei"},
      {"OuterBlanksAreKept", 4, 0, "  blanks kept  "},
      {"MissingItem", 5, 0, nullptr},
      {"MissingLanguage", 2, 1, nullptr},
      {"NegativeItem", -3, 0, nullptr},
      {"ItemBeyond16Bits", 65539, 0, nullptr},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    char buffer[64];
    const int32_t k = gt(row.n, row.language, buffer, sizeof buffer, 1);
    if (row.expected == nullptr) {
      EXPECT_EQ(k, 0);
    } else {
      ASSERT_EQ(k, static_cast<int32_t>(std::strlen(row.expected)));
      EXPECT_EQ(std::string(buffer, static_cast<size_t>(k)), row.expected);
      EXPECT_EQ(buffer[k], '\0');
    }
  }
}

}  // namespace
