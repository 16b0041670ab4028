// The exported interface: planet numbering, the J2000 reduction, results
// always in one turn, error values with untouched out-parameters.

#include "dac_writer.h"
#include "ephemeris/planets_vemo.h"
#include "ephemeris/series.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr double kRadToDeg = 360.0 / PV_TWO_PI;
constexpr double kUntouched = -7777.0;
// Julian dates of 1 January 4001 BC and 31 December 2799, 0h.
constexpr double kFirstJd = 260089.5;
constexpr double kLastJd = 2743738.5;

struct J2000Row {
    const char *body;
    int32_t planet;
    double longitude_deg;
    double tolerance_deg;
};

// Longitudes of date at J2000.0 minus the 0.003052-degree correction there.
TEST(J2000Longitudes, AtJ2000) {
    set_datafiles_folder("");
    const J2000Row rows[] = {
        {"Earth", 3, 100.375, 1e-3},
        {"EarthAlias", 0, 100.375, 1e-3},
        {"Mercury", 1, 253.78, 1e-2},
        {"Venus", 2, 182.60, 1e-2},
        {"Mars", 4, 359.44, 1e-2},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.body);
        double lat = kUntouched, rv = kUntouched;
        const double l = hc_j2000_long_lat_rv_planet(row.planet, 2451545.0, 2000, &lat, &rv);
        EXPECT_NEAR(l * kRadToDeg, row.longitude_deg, row.tolerance_deg);
        EXPECT_NE(rv, kUntouched);
    }
    // The correction itself: of-date minus J2000 longitude of Mercury.
    double b = 0, r = 0;
    const double of_date = pv_mercury(2451545.0, &b, &r);
    const double j2000 = hc_j2000_long_rv_planet(1, 2451545.0, 2000, &r);
    EXPECT_NEAR((of_date - j2000) * kRadToDeg, 0.003052, 1e-6);
}

TEST(J2000Longitudes, EarthIsOppositeTheSunWithZeroLatitude) {
    for (double jd = 2400000.5; jd < 2500000.0; jd += 3333.3) {
        double r_sun = 0;
        const double sun = pv_sun(jd, &r_sun);
        double lat = kUntouched, rv = kUntouched;
        const double earth = hc_j2000_long_lat_rv_planet(3, jd, 2000, &lat, &rv);
        const double p = (3.8189e-5 * jd - 93.619) / kRadToDeg;
        EXPECT_NEAR(std::remainder(earth - (sun - PV_PI - p), PV_TWO_PI), 0.0, 1e-12) << jd;
        EXPECT_EQ(lat, 0.0);
        EXPECT_EQ(rv, r_sun);
    }
}

TEST(J2000Longitudes, PlanetZeroIsEarth) {
    for (double jd = kFirstJd; jd <= kLastJd; jd += 1234.567) {
        double lat0 = 0, rv0 = 0, lat3 = 1, rv3 = 1;
        const double l0 = hc_j2000_long_lat_rv_planet(0, jd, 0, &lat0, &rv0);
        const double l3 = hc_j2000_long_lat_rv_planet(3, jd, 0, &lat3, &rv3);
        ASSERT_EQ(l0, l3) << jd;
        ASSERT_EQ(lat0, lat3);
        ASSERT_EQ(rv0, rv3);
    }
}

TEST(J2000Longitudes, EarthIgnoresYearAndFolder) {
    const double jd = 2460000.25;
    double rv_ref = 0;
    set_datafiles_folder("");
    const double ref = hc_j2000_long_rv_planet(3, jd, 2023, &rv_ref);
    const char *folders[] = {"", "/nonexistent/", "no-separator", "/tmp/"};
    const int32_t years[] = {2023, -4000, 0, 2800, 99999, -2147483647 - 1};
    for (const char *folder : folders) {
        set_datafiles_folder(folder);
        for (int32_t year : years) {
            double rv = 0;
            EXPECT_EQ(hc_j2000_long_rv_planet(3, jd, year, &rv), ref) << folder << " " << year;
            EXPECT_EQ(rv, rv_ref);
        }
    }
    set_datafiles_folder("");
}

TEST(J2000Longitudes, AlwaysWithinOneTurnOverAWideSweep) {
    set_datafiles_folder("");
    for (double jd = kFirstJd - 1e6; jd <= kLastJd + 1e6; jd += 211.37) {
        for (int32_t planet = 0; planet <= 4; ++planet) {
            double lat = 0, rv = 0;
            const double l = hc_j2000_long_lat_rv_planet(planet, jd, 2000, &lat, &rv);
            ASSERT_GE(l, 0.0) << "planet " << planet << " jd " << jd;
            ASSERT_LT(l, PV_TWO_PI) << "planet " << planet << " jd " << jd;
        }
    }
}

// Longitudes of date just above 0 come out just below 2 pi after the
// correction, never at 2 pi or below 0.
TEST(J2000Longitudes, SmallLongitudeOfDateWrapsBelowOneTurn) {
    // Earth crosses longitude 0 of date near the September equinox (the Sun at
    // 180 degrees); search a day around it in minute steps.
    int crossings = 0;
    double previous = -1;
    for (double jd = 2451810.0; jd < 2451812.0; jd += 1.0 / 1440.0) {
        double rv = 0;
        const double l = hc_j2000_long_rv_planet(3, jd, 2000, &rv);
        ASSERT_GE(l, 0.0);
        ASSERT_LT(l, PV_TWO_PI);
        if (previous > 6.0 && l < 0.3) ++crossings;
        previous = l;
    }
    EXPECT_EQ(crossings, 1);
}

struct ErrorRow {
    const char *name;
    int32_t planet;
    double jd;
};

TEST(ErrorValues, UnservedPlanetsAndDatesLeaveOutputsAlone) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const ErrorRow rows[] = {
        {"Pluto", 9, 2451545.0},
        {"PlanetTen", 10, 2451545.0},
        {"NegativePlanet", -1, 2451545.0},
        {"HugePlanet", 2147483647, 2451545.0},
        {"EarthAtNaN", 3, nan},
        {"MercuryAtInfinity", 1, inf},
        {"MarsAtMinusInfinity", 4, -inf},
        {"VenusAtNaN", 2, nan},
        {"JupiterAtNaN", 5, nan},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        double lat = kUntouched, rv = kUntouched;
        EXPECT_EQ(hc_j2000_long_lat_rv_planet(row.planet, row.jd, 2000, &lat, &rv),
                  PLANETS_VEMO_NOT_SERVED);
        EXPECT_EQ(lat, kUntouched);
        EXPECT_EQ(rv, kUntouched);
        EXPECT_EQ(hc_j2000_long_rv_planet(row.planet, row.jd, 2000, &rv), PLANETS_VEMO_NOT_SERVED);
        EXPECT_EQ(rv, kUntouched);
    }
}

// Absurd but finite dates end (no endless reduction loop) with a longitude in
// one turn or -999 when the series overflow.
TEST(ErrorValues, AbsurdDatesTerminate) {
    const double dates[] = {1e12, -1e12, 1e100, -1e100, DBL_MAX, -DBL_MAX};
    for (double jd : dates) {
        for (int32_t planet = 0; planet <= 4; ++planet) {
            double rv = kUntouched;
            const double l = hc_j2000_long_rv_planet(planet, jd, 2000, &rv);
            if (l == PLANETS_VEMO_NOT_SERVED) {
                EXPECT_EQ(rv, kUntouched);
            } else {
                EXPECT_GE(l, 0.0) << jd;
                EXPECT_LT(l, PV_TWO_PI) << jd;
            }
        }
    }
}

class OuterPlanetsThroughTheInterface : public ::testing::Test {
protected:
    OuterPlanetsThroughTheInterface() : dir_("iface") {}
    void SetUp() override {
        dir_.write("jupiter.dac", dac::file_of(-4000, 1360));
        dir_.write("saturn.dac", dac::file_of(-4000, 1360));
        dir_.write("uranus.dac", dac::file_of(1600, 240));
        dir_.write("neptune.dac", dac::file_of(1600, 240));
        set_datafiles_folder(dir_.folder().c_str());
    }
    void TearDown() override { set_datafiles_folder(""); }
    dac::TempFolder dir_;
};

struct OuterRow {
    const char *name;
    int32_t planet;
    int32_t year;
    double expected;  // error value, or the radius vector naming the record
};

TEST_F(OuterPlanetsThroughTheInterface, YearLimitsAndRecords) {
    const OuterRow rows[] = {
        {"JupiterFirstYear", 5, -4000, 1.0},
        {"JupiterBefore", 5, -4001, PLANETS_VEMO_BEFORE_DATA},
        {"JupiterLastYear", 5, 2799, 1360.0},
        {"JupiterYear2800", 5, 2800, PLANETS_VEMO_AFTER_DATA},
        {"SaturnYear2000", 6, 2000, 1201.0},
        {"UranusFirstYear", 7, 1600, 1.0},
        {"UranusBefore", 7, 1599, PLANETS_VEMO_BEFORE_DATA},
        {"NeptuneYear2000", 8, 2000, 81.0},
        {"NeptuneLowestYear", 8, -2147483647 - 1, PLANETS_VEMO_BEFORE_DATA},
        {"NeptuneHighestYear", 8, 2147483647, PLANETS_VEMO_AFTER_DATA},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const int first = row.planet <= 6 ? -4000 : 1600;
        const int k = row.expected < 0 ? 0 : static_cast<int>(row.expected) - 1;
        const double jd = dac::jd0_of(first, k);
        double lat = kUntouched, rv = kUntouched;
        const double l = hc_j2000_long_lat_rv_planet(row.planet, jd, row.year, &lat, &rv);
        if (row.expected < 0) {
            EXPECT_EQ(l, row.expected);
            EXPECT_EQ(rv, kUntouched);
            EXPECT_EQ(lat, kUntouched);
        } else {
            EXPECT_EQ(rv, row.expected);
            EXPECT_EQ(lat, 0.01);
            // The file's longitude of date, reduced to J2000.
            const double p = (3.8189e-5 * jd - 93.619) / kRadToDeg;
            EXPECT_NEAR(l, pv_reduce_turns(dac::coefficients_of(k)[0][0] - p), 1e-12);
        }
    }
}

TEST_F(OuterPlanetsThroughTheInterface, FolderWithoutSeparatorFailsOnlyOuterPlanets) {
    std::string folder = dir_.folder();
    folder.pop_back();
    set_datafiles_folder(folder.c_str());
    double rv = kUntouched;
    for (int32_t planet = 5; planet <= 8; ++planet)
        EXPECT_EQ(hc_j2000_long_rv_planet(planet, 2451545.0, 2000, &rv), PLANETS_VEMO_OPEN_FAILED);
    EXPECT_EQ(rv, kUntouched);
    for (int32_t planet = 0; planet <= 4; ++planet)
        EXPECT_GT(hc_j2000_long_rv_planet(planet, 2451545.0, 2000, &rv), PLANETS_VEMO_BEFORE_DATA);
}

TEST_F(OuterPlanetsThroughTheInterface, EmptyFolderAnswersNoFolder) {
    set_datafiles_folder("");
    double rv = kUntouched;
    for (int32_t planet = 5; planet <= 8; ++planet)
        EXPECT_EQ(hc_j2000_long_rv_planet(planet, 2451545.0, 2000, &rv), PLANETS_VEMO_NO_FOLDER);
    EXPECT_EQ(rv, kUntouched);
}

struct BadRecordRow {
    const char *name;
    int coordinate;     // whose powers 0 and 1 become 1.7e308 (sum overflows), or -1
    double jd0_shift;   // days added to the record's JD0 in the file
    double expected;    // error value, or the radius vector (81, record 80)
};

// Neptune's record of 2000..2004 made unusable: a coordinate that overflows
// at the date, or a JD0 more than five years (1826.25 days) from the middle
// of the record's years; both exports refuse it alike, touching nothing.
TEST_F(OuterPlanetsThroughTheInterface, RecordsGivingNoPositionAreRefused) {
    const BadRecordRow rows[] = {
        {"LongitudeOverflows", 0, 0.0, PLANETS_VEMO_NOT_SERVED},
        {"LatitudeOverflows", 1, 0.0, PLANETS_VEMO_NOT_SERVED},
        {"RadiusVectorOverflows", 2, 0.0, PLANETS_VEMO_NOT_SERVED},
        {"Jd0TenYearsLate", -1, 3652.5, PLANETS_VEMO_READ_FAILED},
        {"Jd0TenYearsEarly", -1, -3652.5, PLANETS_VEMO_READ_FAILED},
        {"Jd0JustOverFiveYearsLate", -1, 1831.0, PLANETS_VEMO_READ_FAILED},
        {"Jd0JustOverFiveYearsEarly", -1, -1831.0, PLANETS_VEMO_READ_FAILED},
        {"Jd0JustUnderFiveYearsLate", -1, 1821.0, 81.0},
        {"Jd0JustUnderFiveYearsEarly", -1, -1821.0, 81.0},
    };
    const double jd0 = dac::jd0_of(1600, 80);
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        std::string text = dac::file_of(1600, 240);
        std::string rec = dac::record(80, jd0 + row.jd0_shift, dac::coefficients_of(80));
        for (int p = 0; p < 2 && row.coordinate >= 0; ++p)
            rec.replace(25 + 10 * (7 * row.coordinate + p), 10, "   1.7e308");
        text.replace(80 * dac::kRecordBytes, dac::kRecordBytes, rec);
        dir_.write("neptune.dac", text);
        // Half a record's span after JD0: 1.7e308 (1 + t) overflows.
        const double jd = jd0 + row.jd0_shift + (row.coordinate >= 0 ? 1000.0 : 0.0);
        double lat = kUntouched, rv = kUntouched;
        const double l = hc_j2000_long_lat_rv_planet(8, jd, 2000, &lat, &rv);
        double rv_only = kUntouched;
        const double l_only = hc_j2000_long_rv_planet(8, jd, 2000, &rv_only);
        EXPECT_EQ(l_only, l);
        if (row.expected < 0) {
            EXPECT_EQ(l, row.expected);
            EXPECT_EQ(lat, kUntouched);
            EXPECT_EQ(rv, kUntouched);
            EXPECT_EQ(rv_only, kUntouched);
        } else {
            EXPECT_EQ(rv, row.expected);
            EXPECT_EQ(rv_only, row.expected);
        }
    }
}

// A record whose longitude polynomial is -100 rad or so is a longitude, not an
// error value: the reader's status is kept apart from the value.
TEST_F(OuterPlanetsThroughTheInterface, LargeNegativeLongitudeIsNotAnError) {
    auto c = dac::coefficients_of(0);
    c[0][0] = -100.0;
    c[6][0] = 0.0;
    const double jd0 = dac::jd0_of(1600, 0);
    dir_.write("neptune.dac", dac::record(0, jd0, c));
    double rv = 0;
    const double l = hc_j2000_long_rv_planet(8, jd0, 1600, &rv);
    const double p = (3.8189e-5 * jd0 - 93.619) / kRadToDeg;
    EXPECT_NEAR(l, pv_reduce_turns(-100.0 - p), 1e-12);
}

}  // namespace
