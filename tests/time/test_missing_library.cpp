// planets_vemo missing or not a library: a message naming the file and the
// folder, never a crash. Runs in its own process so that the library is not
// loaded yet.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/time/positions.h"

namespace vemo {
namespace {

TEST(BindPlanetsVemo, NamesFileAndFolderWhenTheLibraryIsMissingOrBroken) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "vemo-nolib-test";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::string withSeparator = WithTrailingSeparator(folder.string());

    std::string error = SetUpDataFolder(folder.string());
    EXPECT_NE(error.find(PlanetsVemoFileName()), std::string::npos) << error;
    EXPECT_NE(error.find(withSeparator), std::string::npos) << error;
    EXPECT_FALSE(PlanetsVemoBound());

    std::ofstream(folder / PlanetsVemoFileName()) << "not a shared library\n";
    error = SetUpDataFolder(folder.string());
    EXPECT_NE(error.find(PlanetsVemoFileName()), std::string::npos) << error;
    EXPECT_NE(error.find(withSeparator), std::string::npos) << error;
    EXPECT_FALSE(PlanetsVemoBound());
    std::filesystem::remove_all(folder);

    // Once it is where it belongs, the same process binds it.
    EXPECT_EQ(SetUpDataFolder(ProgramFolder()), "");
    EXPECT_TRUE(PlanetsVemoBound());
    EXPECT_GT(HelioLongitude(1, 2451545.0), 0.0);
}

}  // namespace
}  // namespace vemo
