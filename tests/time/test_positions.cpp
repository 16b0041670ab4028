// Planet positions through planets_vemo, loaded by name from the program
// folder (the test executables live there too), with data folders of the
// test's own making.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/time/dates.h"
#include "app/time/pluto_table.h"
#include "app/time/positions.h"
#include "app/time/shared_library.h"

namespace vemo {
namespace {

constexpr double kFullCircle = 6.28318530717959;
constexpr double kRadPerDeg = kFullCircle / 360;

// Writes an outer-planet file of `records` 235-byte records whose longitude
// polynomial is the constant `longitude` (radians, of date), latitude 0 and
// radius `radius` AU (Uranus' distance by default), in the fixed-column layout
// planets_vemo reads.
void WriteConstantDacFile(const std::filesystem::path& path, int records, double longitude,
                          double radius = 19.2) {
    std::ofstream out(path, std::ios::binary);
    for (int k = 0; k < records; ++k) {
        char record[300];
        int n = std::snprintf(record, sizeof record, "%5d%10.1f%10.1f", k, 2305447.5 + 1826.0 * k, 0.0);
        for (int c = 0; c < 3; ++c) {
            for (int p = 0; p < 7; ++p) {
                const double a = p != 0 ? 0.0 : c == 0 ? longitude : c == 1 ? 0.0 : radius;
                n += std::snprintf(record + n, sizeof record - n, "%10.6f", a);
            }
        }
        ASSERT_EQ(n, 235);
        out.write(record, n);
    }
}

class PositionsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_EQ(SetUpDataFolder(ProgramFolder()), ""); }

    void SetUp() override {
        ASSERT_TRUE(PlanetsVemoBound());
        folder_ = std::filesystem::temp_directory_path() /
                  ("vemo-positions-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder_);
        ASSERT_EQ(SetDataFolder(folder_.string()), "");
    }
    void TearDown() override {
        SetDataFolder(ProgramFolder());
        std::filesystem::remove_all(folder_);
    }
    std::filesystem::path folder_;
};

TEST(LibraryPlanetNumber, MapsEarthMercuryVenusAndKeepsTheRest) {
    const int expected[] = {0, 3, 1, 2, 4, 5, 6, 7, 8, 9, 10};
    for (int p = 0; p <= 10; ++p) EXPECT_EQ(LibraryPlanetNumber(p), expected[p]) << p;
}

TEST(CalendarYearOfAJD, IsTheYearOfTheUTCivilDay) {
    EXPECT_EQ(CalendarYearOfAJD(2451544.5), 2000);
    EXPECT_EQ(CalendarYearOfAJD(2451544.49), 1999);
    EXPECT_EQ(CalendarYearOfAJD(1721425.5), 1);
    EXPECT_EQ(CalendarYearOfAJD(2743738.49), 2799);  // 31 December 2799, 23:45 UT
    EXPECT_EQ(CalendarYearOfAJD(2743738.5), 2800);
    EXPECT_EQ(CalendarYearOfAJD(std::nan("")), 0);
}

TEST(WithTrailingSeparator, EndsTheFolderWithExactlyOneSeparator) {
    // Trailing '/' and '\\' are cut on every platform; the platform's own
    // separator ends the folder.
    const std::string own(1, PathSeparator());
    EXPECT_EQ(WithTrailingSeparator("/opt/vemo"), "/opt/vemo" + own);
    EXPECT_EQ(WithTrailingSeparator("/opt/vemo//"), "/opt/vemo" + own);
    EXPECT_EQ(WithTrailingSeparator("C:\\vemo\\/"), "C:\\vemo" + own);
    EXPECT_EQ(WithTrailingSeparator("/"), "/");
    EXPECT_EQ(WithTrailingSeparator(""), "");
}

TEST_F(PositionsTest, InnerPlanetsAtJ2000MatchTheSeries) {
    // Bretagnon & Simon (1986) via planets_vemo, reduced to J2000; the series
    // agree with modern ephemerides to well under 0.01 deg at J2000.
    struct Case {
        const char* name;
        int planet;
        double degrees;
    };
    const Case cases[] = {
        {"Earth", 1, 100.375}, {"Mercury", 2, 253.78}, {"Venus", 3, 182.60}, {"Mars", 4, 359.44}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(HelioLongitude(c.planet, 2451545.0), c.degrees * kRadPerDeg, 0.01 * kRadPerDeg);
    }
    EXPECT_NEAR(HelioLongitude(1, 2451545.0), 1.7519, 1e-4);
    EXPECT_NEAR(HelioLongitude(2, 2451545.0), 4.4293, 1e-4);
}

TEST_F(PositionsTest, MissingOuterFilesGiveMinus101WhileInnerPlanetsWork) {
    for (int planet = 5; planet <= 8; ++planet) EXPECT_EQ(HelioLongitude(planet, 2451545.0), -101) << planet;
    for (int planet = 1; planet <= 4; ++planet) {
        const double l = HelioLongitude(planet, 2451545.0);
        EXPECT_GE(l, 0.0) << planet;
        EXPECT_LT(l, kFullCircle) << planet;
    }
    EXPECT_EQ(HelioLongitude(10, 2451545.0), kPlanetNotServed);
}

TEST_F(PositionsTest, UranusIsJudgedByTheUTYearNotTheLocalDate) {
    WriteConstantDacFile(folder_ / "uranus.dac", 240, 1.0);
    // Typed as 1 January 1600, 00:00 at GMT+0:30: that is 31 December 1599,
    // 23:30 UT, before the Uranus file's first year.
    const DateConversion local = InputDateToAJDate(DateRow{"1600", 1, 1, 1, 25}, 0);
    ASSERT_DOUBLE_EQ(local.value, 2305448.0 - 0.5 - 0.5 / 24);
    EXPECT_EQ(CalendarYearOfAJD(local.value), 1599);
    EXPECT_EQ(HelioLongitude(7, local.value), kBeforeDataRange);
    // Half an hour later it is 1600 in UT, too.
    const double l = HelioLongitude(7, local.value + 1.0 / 48);
    EXPECT_GT(l, 0.0);
    // Constant 1 rad of date, minus the precession to J2000 at that date.
    const double precessionDeg = 3.8189e-5 * (local.value + 1.0 / 48) - 93.619;
    EXPECT_NEAR(l, 1.0 - precessionDeg * kRadPerDeg, 1e-9);
}

TEST_F(PositionsTest, LatitudeAndRadiusComeWithTheLongitudeForTheCommandLine) {
    WriteConstantDacFile(folder_ / "neptune.dac", 240, 2.0, 30.1);
    double lat = 7;
    double rv = 7;
    bool has = false;
    const double l = HelioLongitudeLatRv(8, 2451545.0, &lat, &rv, &has);
    EXPECT_GT(l, 0.0);
    EXPECT_TRUE(has);
    EXPECT_EQ(lat, 0.0);
    EXPECT_NEAR(rv, 30.1, 1e-12);
    lat = rv = 7;
    EXPECT_EQ(HelioLongitudeLatRv(7, 2451545.0, &lat, &rv, &has), -101);
    EXPECT_FALSE(has);
    EXPECT_EQ(lat, 7);
    EXPECT_EQ(rv, 7);
}

// The shipped data, when it has been generated. Reference values: Swiss
// Ephemeris 2.10 with JPL DE431 (Debian's libswe and swe-data), heliocentric,
// geometric, mean equinox of date (SEFLG_HELCTR | SEFLG_TRUEPOS | SEFLG_NONUT
// | SEFLG_NOABERR | SEFLG_NOGDEFL), Julian date taken as TT like everywhere
// in the program, then reduced to J2000 with planets_vemo's own linear
// correction (3.8189e-5 * JD - 93.619) deg, the frame of all its longitudes:
//   Uranus  JD 2451545.0  316.41559 deg
//   Neptune JD 2451545.0  303.92581 deg
// Tolerance 0.05 deg: the data files are fits of degree 6 over five years.
TEST(ShippedData, OuterPlanetsAtJ2000WhenTheFilesArePresent) {
    const std::string folder = WithTrailingSeparator(ProgramFolder());
    if (!std::filesystem::exists(folder + "uranus.dac") || !std::filesystem::exists(folder + "neptune.dac")) {
        GTEST_SKIP() << "data files not generated yet";
    }
    ASSERT_EQ(SetUpDataFolder(ProgramFolder()), "");
    EXPECT_NEAR(HelioLongitude(7, 2451545.0) / kRadPerDeg, 316.41559, 0.05);
    EXPECT_NEAR(HelioLongitude(8, 2451545.0) / kRadPerDeg, 303.92581, 0.05);
}

// Pluto from the shipped table, same source, flags and frame as above:
//   JD 2305447.5    (1 January 1600, 0h)      28.04384 deg
//   JD 2451545.0    (1 January 2000, 12h)    250.54317 deg
//   JD 2524593.4583 (31 December 2199, 23h)  140.83671 deg
// Tolerance 0.002 deg (7"): the table holds whole arcseconds and Pluto moves
// about 0.004 deg a day, so a linear interpolation over one day errs by far
// less than an arcsecond.
TEST(ShippedData, PlutoTableAgreesWithTheEphemerisWhenPresent) {
    const std::string folder = WithTrailingSeparator(ProgramFolder());
    if (!std::filesystem::exists(folder + "hpluto.2199.slx")) GTEST_SKIP() << "Pluto table not generated yet";
    ASSERT_EQ(SetUpDataFolder(ProgramFolder()), "");
    std::string error;
    ASSERT_TRUE(LoadPlutoTable("hpluto.2199.slx", error)) << error;
    struct Case {
        double ajd;
        double degrees;
    };
    for (const Case& c : {Case{2305447.5, 28.04384}, Case{2451545.0, 250.54317},
                          Case{2524593.5 - 1.0 + 23.0 / 24, 140.83671}}) {
        SCOPED_TRACE(c.ajd);
        EXPECT_NEAR(HelioLongitude(9, c.ajd) / kRadPerDeg, c.degrees, 0.002);
    }
    EXPECT_EQ(HelioLongitude(9, 2524593.5), kAfterDataRange);
    EXPECT_EQ(HelioLongitude(9, 2305447.5 - 1e-6), kBeforeDataRange);
}

}  // namespace
}  // namespace vemo
