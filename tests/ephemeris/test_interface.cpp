// The exported interface: planet numbering, the J2000 reduction, results
// always in one turn, error values with untouched out-parameters.

#include "dac_writer.h"
#include "ephemeris/outer_files.h"
#include "ephemeris/planets_vemo.h"
#include "ephemeris/series.h"

#include <gtest/gtest.h>

#include <algorithm>
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
        for (int planet = 5; planet <= 8; ++planet)
            dir_.write(dac::kPlanetFiles[planet - 5], dac::planet_file(planet));
        set_datafiles_folder(dir_.folder().c_str());
    }
    void TearDown() override { set_datafiles_folder(""); }
    dac::TempFolder dir_;
};

struct OuterRow {
    const char *name;
    int32_t planet;
    int32_t year;
    int record;       // the record expected, or -1 for the error value below
    double error;
};

TEST_F(OuterPlanetsThroughTheInterface, YearLimitsAndRecords) {
    const OuterRow rows[] = {
        {"JupiterFirstYear", 5, -4000, 0, 0},
        {"JupiterBefore", 5, -4001, -1, PLANETS_VEMO_BEFORE_DATA},
        {"JupiterLastYear", 5, 2799, 1359, 0},
        {"JupiterYear2800", 5, 2800, -1, PLANETS_VEMO_AFTER_DATA},
        {"SaturnYear2000", 6, 2000, 1200, 0},
        {"UranusFirstYear", 7, 1600, 0, 0},
        {"UranusBefore", 7, 1599, -1, PLANETS_VEMO_BEFORE_DATA},
        {"NeptuneYear2000", 8, 2000, 80, 0},
        {"NeptuneLowestYear", 8, -2147483647 - 1, -1, PLANETS_VEMO_BEFORE_DATA},
        {"NeptuneHighestYear", 8, 2147483647, -1, PLANETS_VEMO_AFTER_DATA},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const int k = row.record < 0 ? 0 : row.record;
        const double jd = dac::jd0_of(dac::first_year_of(row.planet), k);
        double lat = kUntouched, rv = kUntouched;
        const double l = hc_j2000_long_lat_rv_planet(row.planet, jd, row.year, &lat, &rv);
        if (row.record < 0) {
            EXPECT_EQ(l, row.error);
            EXPECT_EQ(rv, kUntouched);
            EXPECT_EQ(lat, kUntouched);
        } else {
            EXPECT_EQ(rv, dac::planet_coefficients(row.planet, k)[0][2]);
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
    int coordinate;     // 0 longitude, 1 latitude, 2 radius vector; -1 none
    int powers;         // powers 0 .. powers - 1 of it set to text
    const char *text;   // ten characters
    double jd0_shift;   // days added to the record's JD0 in the file
    double days;        // the date: days after the (shifted) JD0
    double error;       // the error value, or 0 when served
};

// Neptune's record of 2000..2004 (JD0 in its middle, t = days / 2000) made
// unusable: a coordinate that overflows at the date, one that is finite but
// no position of Neptune (raw longitude beyond 4 pi, latitude beyond 10
// degrees, radius vector outside 0.9 perihelion .. 1.1 aphelion, 26.83 ..
// 33.36 AU), or a JD0 more than five years (1826.25 days) from the middle of
// the record's years. Both exports refuse it alike, touching nothing; values
// just inside the bounds are served.
TEST_F(OuterPlanetsThroughTheInterface, RecordsGivingNoPositionAreRefused) {
    const BadRecordRow rows[] = {
        {"LongitudeOverflows", 0, 2, "   1.7e308", 0.0, 1000.0, PLANETS_VEMO_NOT_SERVED},
        {"LatitudeOverflows", 1, 2, "   1.7e308", 0.0, 1000.0, PLANETS_VEMO_NOT_SERVED},
        {"RadiusVectorOverflows", 2, 2, "   1.7e308", 0.0, 1000.0, PLANETS_VEMO_NOT_SERVED},
        {"LongitudeTermPatched", 0, 1, "     1e308", 0.0, 0.0, PLANETS_VEMO_NOT_SERVED},
        {"LatitudeTermPatched", 1, 1, "     1e300", 0.0, 0.0, PLANETS_VEMO_NOT_SERVED},
        {"RadiusVectorNegative", 2, 1, "  -30.0000", 0.0, 0.0, PLANETS_VEMO_NOT_SERVED},
        {"LongitudeJustUnder4Pi", 0, 1, "   12.5600", 0.0, 0.0, 0},
        {"LongitudeJustOver4Pi", 0, 1, "   12.5700", 0.0, 0.0, PLANETS_VEMO_NOT_SERVED},
        {"LongitudeJustOverMinus4Pi", 0, 1, "  -12.5600", 0.0, 0.0, 0},
        {"LongitudeJustUnderMinus4Pi", 0, 1, "  -12.5700", 0.0, 0.0, PLANETS_VEMO_NOT_SERVED},
        {"LatitudeNineDegrees", 1, 1, "   -0.1571", 0.0, 0.0, 0},
        {"LatitudeElevenDegrees", 1, 1, "   -0.1920", 0.0, 0.0, PLANETS_VEMO_NOT_SERVED},
        {"RadiusVectorLow", 2, 1, "   26.8400", 0.0, 0.0, 0},
        {"RadiusVectorTooLow", 2, 1, "   26.8200", 0.0, 0.0, PLANETS_VEMO_NOT_SERVED},
        {"RadiusVectorHigh", 2, 1, "   33.3600", 0.0, 0.0, 0},
        {"RadiusVectorTooHigh", 2, 1, "   33.3700", 0.0, 0.0, PLANETS_VEMO_NOT_SERVED},
        {"Jd0TenYearsLate", -1, 0, "", 3652.5, 0.0, PLANETS_VEMO_READ_FAILED},
        {"Jd0TenYearsEarly", -1, 0, "", -3652.5, 0.0, PLANETS_VEMO_READ_FAILED},
        {"Jd0JustOverFiveYearsLate", -1, 0, "", 1831.0, 0.0, PLANETS_VEMO_READ_FAILED},
        {"Jd0JustOverFiveYearsEarly", -1, 0, "", -1831.0, 0.0, PLANETS_VEMO_READ_FAILED},
        {"Jd0JustUnderFiveYearsLate", -1, 0, "", 1821.0, 0.0, 0},
        {"Jd0JustUnderFiveYearsEarly", -1, 0, "", -1821.0, 0.0, 0},
    };
    const double jd0 = dac::jd0_of(1600, 80);
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        std::string text = dac::planet_file(8);
        std::string rec = dac::record(80, jd0 + row.jd0_shift, dac::planet_coefficients(8, 80));
        for (int p = 0; p < row.powers; ++p)
            rec.replace(25 + 10 * (7 * row.coordinate + p), 10, row.text);
        text.replace(80 * dac::kRecordBytes, dac::kRecordBytes, rec);
        dir_.write("neptune.dac", text);
        const double jd = jd0 + row.jd0_shift + row.days;
        double lat = kUntouched, rv = kUntouched;
        const double l = hc_j2000_long_lat_rv_planet(8, jd, 2000, &lat, &rv);
        double rv_only = kUntouched;
        const double l_only = hc_j2000_long_rv_planet(8, jd, 2000, &rv_only);
        EXPECT_EQ(l_only, l);
        if (row.error < 0) {
            EXPECT_EQ(l, row.error);
            EXPECT_EQ(lat, kUntouched);
            EXPECT_EQ(rv, kUntouched);
            EXPECT_EQ(rv_only, kUntouched);
        } else {
            const double radius =
                row.coordinate == 2 ? std::stod(row.text) : dac::planet_coefficients(8, 80)[0][2];
            EXPECT_EQ(rv, radius);
            EXPECT_EQ(rv_only, radius);
            if (row.coordinate == 0) {
                const double p = (3.8189e-5 * jd - 93.619) / kRadToDeg;
                EXPECT_NEAR(l, pv_reduce_turns(std::stod(row.text) - p), 1e-12);
            }
        }
    }
}

// Every record of the shipped files, at every tenth day of its five years,
// is a plausible position of its planet; their raw longitudes stay well
// inside the bounds (-1.6 .. 7.8 rad when they were made).
TEST(ShippedFiles, EveryRecordIsPlausible) {
    for (int32_t planet = 5; planet <= 8; ++planet) {
        SCOPED_TRACE(dac::kPlanetFiles[planet - 5]);
        const std::string path = std::string(VEMO_SHIPPED_DATA_FOLDER) + dac::kPlanetFiles[planet - 5];
        const int first = dac::first_year_of(planet);
        double lowest = 1e9, highest = -1e9;
        int records = 0, implausible = 0;
        for (int32_t k = 0;; ++k) {
            pv_outer_record rec{};
            if (pv_read_record_file(path.c_str(), k, &rec) != 0) break;
            ++records;
            const double start = pv_year_start_jd(first + 5 * k);
            const double end = pv_year_start_jd(first + 5 * k + 5);
            for (double jd = start; jd < end; jd += 10.0) {
                double v[3];
                v[0] = pv_evaluate_record(&rec, jd, &v[1], &v[2]);
                if (!pv_outer_plausible(planet, v)) ++implausible;
                lowest = std::min(lowest, v[0]);
                highest = std::max(highest, v[0]);
            }
        }
        EXPECT_EQ(records, planet <= 6 ? 1360 : 240);
        EXPECT_EQ(implausible, 0);
        EXPECT_GT(lowest, -2.0);
        EXPECT_LT(highest, 8.5);
    }
}

}  // namespace
