// vemo-cli positions run through the shell from a folder of its own (with
// and without planets_vemo).

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/ephemeris/dac_writer.h"
#include "tests/support/run_command.h"

namespace {

using vemo::testing::RunCommand;

// A program folder of its own: vemo-cli, optionally planets_vemo and small
// data files, so the run does not depend on the shipped data.
class ProgramFolder : public ::testing::Test {
protected:
    ProgramFolder() : dir_("cli") {}
    std::string install(bool with_library, bool with_text = true) {
        namespace fs = std::filesystem;
        const fs::path program = dir_.path() / "vemo-cli";
        fs::copy_file(VEMO_CLI_PROGRAM, program, fs::copy_options::overwrite_existing);
        if (with_library) {
            fs::copy_file(PV_SHARED_LIBRARY, dir_.path() / fs::path(PV_SHARED_LIBRARY).filename(),
                          fs::copy_options::overwrite_existing);
        }
        // The program text (for the date messages) lies next to the library in
        // the build's program folder.
        if (with_text) {
            fs::copy_file(fs::path(PV_SHARED_LIBRARY).parent_path() / "qel.dat", dir_.path() / "qel.dat",
                          fs::copy_options::overwrite_existing);
        }
        return "'" + program.string() + "'";
    }
    dac::TempFolder dir_;
};

TEST_F(ProgramFolder, OuterPlanetsComeFromTheProgramFoldersDataFiles) {
    const std::string program = install(true);
    dir_.write("jupiter.dac", dac::planet_file(5));
    dir_.write("saturn.dac", dac::file_of(-4000, 3));  // short: -103 in 2000
    std::string out;
    ASSERT_EQ(RunCommand(program + " positions --jd 2451545 --format json", out), 0) << out;
    EXPECT_NE(out.find("\"name\": \"Jupiter\", \"longitude\": 1."), std::string::npos) << out;
    EXPECT_NE(out.find("\"radius\": 5.12}"), std::string::npos) << out;  // record of 2000
    EXPECT_NE(out.find("\"name\": \"Saturn\", \"longitude\": -103, \"latitude\": null"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("\"name\": \"Uranus\", \"longitude\": -101"), std::string::npos) << out;
    // No Pluto table in this folder.
    EXPECT_NE(out.find("\"name\": \"Pluto\", \"longitude\": -101"), std::string::npos) << out;
}

TEST_F(ProgramFolder, ExitStatuses) {
    const std::string program = install(true);
    std::string out;
    EXPECT_EQ(RunCommand(program + " positions", out), 0) << out;
    EXPECT_EQ(RunCommand(program + " positions --help", out), 0) << out;
    EXPECT_NE(out.find("--jd"), std::string::npos);
    EXPECT_EQ(RunCommand(program + " positions --jd -5", out), 2) << out;
    EXPECT_EQ(out.find('\n'), out.size() - 1) << "one line: " << out;
    EXPECT_EQ(RunCommand(program + " positions --format yaml", out), 2) << out;
    EXPECT_EQ(RunCommand(program + " nonsense", out), 2) << out;
    EXPECT_EQ(RunCommand(program, out), 2) << out;
    EXPECT_EQ(RunCommand(program + " --help", out), 0) << out;
    EXPECT_NE(out.find("positions"), std::string::npos);
}

TEST_F(ProgramFolder, MissingLibraryIsReportedWithFileAndFolder) {
    const std::string program = install(false);
    std::string out;
    EXPECT_EQ(RunCommand(program + " positions --jd 2451545", out), 1) << out;
    EXPECT_NE(out.find("libplanets_vemo.so"), std::string::npos) << out;
    EXPECT_NE(out.find(dir_.path().string()), std::string::npos) << out;
}

}  // namespace
