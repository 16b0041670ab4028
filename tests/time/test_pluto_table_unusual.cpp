// The Pluto table in front of a FIFO, a folder, a link loop or a huge file in
// place of its file (mkfifo and symbolic links, so POSIX systems only).
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "app/time/data_files.h"
#include "app/time/pluto_table.h"
#include "app/time/positions.h"
#include "tests/time/pluto_file.h"
#include "tests/time/pluto_folder_test.h"

namespace vemo {
namespace {

using testing::PlutoFileTest;
using testing::PlutoText;
using testing::SmoothPluto;

// Files that are not a table at all: each is refused at once, without
// waiting on a FIFO, reading a link loop or holding a huge file, and the
// probe of the data files names the table with the reason.
TEST_F(PlutoFileTest, UnusualFilesAreRefusedWithoutWaitingOrReading) {
    const std::filesystem::path path = folder_ / kPlutoFileName;
    struct Case {
        const char* name;
        std::function<void()> make;
        const char* mustContain;
        double code;
    } cases[] = {
        {"fifo", [&] { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); }, "not a regular file", kDataFileMissing},
        {"folder", [&] { std::filesystem::create_directory(path); }, "not a regular file", kDataFileMissing},
        {"link loop", [&] { std::filesystem::create_symlink(path, path); }, "symbolic links", kDataFileMissing},
        {"sparse 17 MiB",
         [&] {
             Write(kPlutoFileName, PlutoText(SmoothPluto));
             std::filesystem::resize_file(path, 17u << 20);
         },
         "more than the 16 MiB", kDataFileUnreadable},
    };
    SetDataFolder(folder_.string());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(path);
        c.make();
        std::string error;
        EXPECT_FALSE(LoadPlutoTable(kPlutoFileName, error));
        EXPECT_NE(error.find(c.mustContain), std::string::npos) << error;
        EXPECT_EQ(HelioLongitude(9, 2451545.0), c.code);
        const std::vector<UnusableDataFile> probe = ProbeDataFiles();
        ASSERT_FALSE(probe.empty());
        EXPECT_EQ(probe.back().planet, 9);
        EXPECT_EQ(probe.back().reason, error);
    }
    std::filesystem::remove_all(path);
}

}  // namespace
}  // namespace vemo
