// LoadProgramText in front of a FIFO or a folder in place of its file
// (mkfifo, so POSIX systems only).
#include "app/text/program_text.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "tests/text/temp_text_file.h"

namespace vemo {
namespace {

using testing::TempTextFile;

TEST(LoadProgramText, AFifoOrFolderIsRefusedWithoutWaiting) {
  // Nothing ever writes into the FIFO: an open that waits for a writer would
  // hang the test (ctest's time limit fails it).
  TempTextFile file("");
  std::filesystem::remove(file.path());
  ASSERT_EQ(::mkfifo(file.path().c_str(), 0600), 0);
  EXPECT_EQ(LoadProgramText(file.folder()),
            "Cannot open file containing program text.\r\n" + file.path());
  std::filesystem::remove(file.path());
  std::filesystem::create_directory(file.path());
  EXPECT_EQ(LoadProgramText(file.folder()),
            "Cannot open file containing program text.\r\n" + file.path());
}

}  // namespace
}  // namespace vemo
