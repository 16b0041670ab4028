// vemo-cli positions --date: the date goes the window's way (InputDateToAJDate
// with the computer's zone for a blank zone), refused dates carry the
// program's own message, and Pluto comes from its table. The program runs from
// a folder of its own with vemo-cli, planets_vemo, qel.dat and, where a test
// needs it, a Pluto table written here.
#include <gtest/gtest.h>


#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/text/program_text.h"
#include "app/time/dates.h"
#include "app/time/pluto_table.h"
#include "tests/support/run_command.h"
#include "tests/time/pluto_file.h"

namespace vemo {
namespace {

namespace fs = std::filesystem;

using vemo::testing::RunCommand;

// The number after "\"jd\": " in the JSON output; NaN when absent.
double JsonJd(const std::string& out) {
    const size_t at = out.find("\"jd\": ");
    if (at == std::string::npos) return std::nan("");
    return std::stod(out.substr(at + 6));
}

class CliDate : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("vemo-cli-date-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        const fs::path bin = fs::path(VEMO_CLI_PROGRAM).parent_path();
        fs::copy_file(VEMO_CLI_PROGRAM, folder_ / "vemo-cli");
        fs::copy_file(PV_SHARED_LIBRARY, folder_ / fs::path(PV_SHARED_LIBRARY).filename());
        fs::copy_file(bin / "qel.dat", folder_ / "qel.dat");
        ASSERT_EQ(LoadProgramText(bin.string()), "");
    }
    void TearDown() override { fs::remove_all(folder_); }

    // The command with the computer's zone fixed by a POSIX TZ string.
    std::string Command(const std::string& args, const std::string& zone = "UTC0") const {
        return "TZ='" + zone + "' '" + (folder_ / "vemo-cli").string() + "' positions " + args;
    }
    fs::path folder_;
};

TEST_F(CliDate, DateGivesTheJulianDateOfTheWindowsRow) {
    struct Case {
        const char* name;
        const char* date;
        const char* computerZone;
        double jd;
    };
    const Case cases[] = {
        {"NoonGreenwich", "2000-01-01T12:00Z", "UTC0", 2451545.0},
        {"OneHourEast", "2000-01-01T12:00+01:00", "UTC0", 2451545.0 - 60.0 / 1440},
        {"HourDefaultsToNoon", "2000-01-01Z", "UTC0", 2451545.0},
        {"ZoneDefaultsToTheComputers", "2000-01-01T12:00", "CET-1", 2451545.0 - 60.0 / 1440},
        {"NepalDefaultsToIndia", "2000-01-01", "NPT-5:45", 2451545.0 - 330.0 / 1440},
        {"PlusTwelveHasNoEntrySoGreenwich", "2000-01-01", "NZST-12", 2451545.0},
        {"OneDigitYear", "1-01-01T00:00Z", "UTC0", 1721425.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string out;
        ASSERT_EQ(RunCommand(Command(std::string("--date ") + c.date + " --format json", c.computerZone), out), 0) << out;
        EXPECT_EQ(JsonJd(out), c.jd) << out;
    }
}

TEST_F(CliDate, AComputerZoneMissingFromTheListsIsNamedOnceAndTakenAsGmt) {
    struct Case {
        const char* name;
        std::string args;
        bool notice;
        const char* jdKey;  // where the JSON names the Julian date used
    };
    const Case cases[] = {
        {"PositionsWithoutZone", "positions --date 2000-01-01", true, "\"jd\": "},
        {"PositionsWithZone", "positions --date 2000-01-01Z", false, "\"jd\": "},
        {"PositionsAtAJulianDate", "positions --jd 2451545", false, "\"jd\": "},
        {"Table", "table --mode world --world 2000-01-01", true, "\"world\": "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string out;
        const std::string command = "TZ='TOT-13' '" + (folder_ / "vemo-cli").string() + "' " + c.args;
        ASSERT_EQ(RunCommand(command + " --format json", out), 0) << out;
        const size_t first = out.find("(GMT+13:00) is not in the lists");
        EXPECT_EQ(first != std::string::npos, c.notice) << out;
        if (first != std::string::npos) {
            EXPECT_EQ(out.find("GMT+13:00", first + 10), std::string::npos) << out;
        }
        const size_t jd = out.find(c.jdKey);
        ASSERT_NE(jd, std::string::npos) << out;
        EXPECT_EQ(std::stod(out.substr(jd + std::strlen(c.jdKey))), 2451545.0) << out;
    }
}

TEST_F(CliDate, RefusedDatesGiveTheProgramsMessageAndStatusTwo) {
    struct Case {
        const char* name;
        const char* date;
        int reasonItem;
    };
    const Case cases[] = {
        {"Impossible", "1900-02-29", 146},
        {"TooEarly", "0000-01-01", 147},
        {"TooLate", "2800-01-01", 148},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string out;
        EXPECT_EQ(RunCommand(Command(std::string("--date ") + c.date), out), 2) << out;
        // After the warnings about the data files this folder lacks.
        const std::string message = "vemo-cli positions: " + ProgramText(4) + " " + ProgramText(c.reasonItem) + "\n";
        ASSERT_GE(out.size(), message.size()) << out;
        EXPECT_EQ(out.substr(out.size() - message.size()), message);
        EXPECT_TRUE(out.size() == message.size() || out[out.size() - message.size() - 1] == '\n') << out;
        EXPECT_FALSE(ProgramText(c.reasonItem).empty());
    }
    std::string out;
    EXPECT_EQ(RunCommand(Command("--date 2000-01-01T12:15"), out), 2) << out;
    EXPECT_NE(out.find("full or half hour"), std::string::npos) << out;
    EXPECT_EQ(RunCommand(Command("--date 2000-01-01 --jd 2451545"), out), 2) << out;
}

TEST_F(CliDate, WithoutTheProgramTextItStopsWithStatusOne) {
    fs::remove(folder_ / "qel.dat");
    std::string out;
    EXPECT_EQ(RunCommand(Command("--date 2000-01-01"), out), 1) << out;
    EXPECT_NE(out.find("qel.dat"), std::string::npos) << out;
}

TEST_F(CliDate, UranusIsJudgedByTheUTYearOfTheDate) {
    std::string out;
    ASSERT_EQ(RunCommand(Command("--date 1600-01-01T00:00+00:30 --format json"), out), 0) << out;
    EXPECT_NE(out.find("\"name\": \"Uranus\", \"longitude\": -99,"), std::string::npos) << out;
}

TEST_F(CliDate, PlutoComesFromItsTableWithoutLatitudeAndRadius) {
    std::ofstream(folder_ / kPlutoFileName, std::ios::binary) << testing::PlutoText(testing::SmoothPluto);
    PlutoTable table;
    ASSERT_EQ(table.Load((folder_ / kPlutoFileName).string()), "");
    std::string out;
    ASSERT_EQ(RunCommand(Command("--date 2000-01-01T12:00Z --format json"), out), 0) << out;
    const std::string key = "\"name\": \"Pluto\", \"longitude\": ";
    const size_t at = out.find(key);
    ASSERT_NE(at, std::string::npos) << out;
    EXPECT_EQ(std::stod(out.substr(at + key.size())), table.Longitude(2451545.0)) << out;
    EXPECT_NE(out.find("\"latitude\": null, \"radius\": null}]}"), std::string::npos) << out;
    ASSERT_EQ(RunCommand(Command("--date 2200-01-01T00:00Z --format json"), out), 0) << out;
    EXPECT_NE(out.find("\"name\": \"Pluto\", \"longitude\": -100,"), std::string::npos) << out;

    // A short table is refused with its reason on stderr; Pluto reads -103.
    std::ofstream(folder_ / kPlutoFileName, std::ios::binary) << testing::PlutoText(testing::SmoothPluto, 10);
    ASSERT_EQ(RunCommand(Command("--date 2000-01-01T12:00Z --format json"), out), 0) << out;
    EXPECT_NE(out.find("Pluto: "), std::string::npos) << out;
    EXPECT_NE(out.find("\"name\": \"Pluto\", \"longitude\": -103,"), std::string::npos) << out;
}

}  // namespace
}  // namespace vemo
