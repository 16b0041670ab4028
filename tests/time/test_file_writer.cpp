// The file writer where every system has the same rules (Windows included):
// a new file and a replaced one hold exactly the bytes given, a folder or a
// missing folder is refused with nothing left behind; and the escaping that
// every message quoting outside text goes through.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "app/time/escaped_text.h"
#include "app/time/file_writer.h"
#include "tests/support/file_bytes.h"

namespace vemo {
namespace {

namespace fs = std::filesystem;

using vemo::testing::FileBytes;

TEST(FileWriter, WritesWholeFilesAndRefusesWhatIsNoFile) {
  const fs::path folder = fs::temp_directory_path() / ("vemo-writer-" + std::to_string(std::random_device{}()));
  fs::create_directories(folder / "sub");
  const std::string path = (folder / "out.csv").string();
  const std::string bytes("a\r\nb\0c\n", 7);
  ASSERT_TRUE(WriteFileWhole(path, bytes).ok);
  EXPECT_EQ(FileBytes(path), bytes);
  ASSERT_TRUE(WriteFileWhole(path, "second").ok);
  EXPECT_EQ(FileBytes(path), "second");

  const FileWriteResult folderTarget = WriteFileWhole((folder / "sub").string(), "x");
  EXPECT_FALSE(folderTarget.ok);
  EXPECT_NE(folderTarget.reason.find("folder"), std::string::npos) << folderTarget.reason;
  const FileWriteResult missing = WriteFileWhole((folder / "none" / "x.csv").string(), "x");
  EXPECT_FALSE(missing.ok);
  EXPECT_FALSE(missing.earlierFileKept);
  EXPECT_EQ(FileWriteFailureText("x.csv", missing).substr(0, 9), "\"x.csv\": ");
  EXPECT_NE(FileWriteFailureText("x.csv", missing).find("; nothing was written."), std::string::npos);

  // Only the file itself and the folder: no temporary file stayed.
  int entries = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder)) ++entries;
  EXPECT_EQ(entries, 2);
  fs::remove_all(folder);
}

TEST(EscapedForDisplay, ControlsAndBadBytesBecomeEscapes) {
  struct Case {
    std::string in;
    const char* out;
  } const cases[] = {
      {"plain Grüße ✓", "plain Grüße ✓"},
      {"a\nb\r\tc", "a\\nb\\r\\tc"},
      {"\x1b[31mred\x07", "\\x1b[31mred\\x07"},
      {"\x1b]0;title\x07", "\\x1b]0;title\\x07"},
      {"20\xff" "4", "20\\xff4"},
      {"\xc2\x9b" "2J", "\\u009b2J"},  // C1 CSI
      {"\xe2\x82", "\\xe2\\x82"},      // cut sequence
      {"\xc0\xaf", "\\xc0\\xaf"},      // overlong "/"
      {"\xed\xa0\x80", "\\xed\\xa0\\x80"},  // surrogate
      {std::string("nul\0x", 5), "nul\\x00x"},
      {"C:\\folder\\x.png", "C:\\folder\\x.png"},
  };
  for (const Case& c : cases) EXPECT_EQ(EscapedForDisplay(c.in), c.out) << c.out;
}

}  // namespace
}  // namespace vemo
