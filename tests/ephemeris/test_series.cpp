// Inner-planet series: the tables against the project's copy of the
// Bretagnon-Simon terms, the check values at J2000.0, and the range reduction.

#include "ephemeris/series.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr double kRadToDeg = 360.0 / PV_TWO_PI;
// The check values are printed to 1e-4 degree and 1e-6 AU.
constexpr double kAngleToleranceDeg = 1e-4;
constexpr double kRadiusToleranceAu = 1e-6;

// Sections of the data file as lists of rows of text figures.
std::map<std::string, std::vector<std::vector<std::string>>> read_series_file() {
    std::map<std::string, std::vector<std::vector<std::string>>> sections;
    std::ifstream in(PV_SERIES_DATA_FILE);
    std::string line, current;
    while (std::getline(in, line)) {
        const auto first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos || line[first] == '#') continue;
        if (line[first] == '[') {
            current = line.substr(first + 1, line.find(']') - first - 1);
            sections[current];
            continue;
        }
        std::istringstream fields(line);
        std::vector<std::string> row;
        std::string f;
        while (fields >> f) row.push_back(f);
        sections[current].push_back(row);
    }
    return sections;
}

struct TableRow {
    const char *section;
    const pv_term *table;
    int size;
};

TEST(SeriesTables, EveryFigureEqualsTheDataFile) {
    const auto sections = read_series_file();
    ASSERT_EQ(sections.size(), 10u) << "cannot read " << PV_SERIES_DATA_FILE;

    const auto &sun = sections.at("sun");
    ASSERT_EQ(sun.size(), static_cast<size_t>(PV_SUN_TERMS));
    for (int i = 0; i < PV_SUN_TERMS; ++i) {
        SCOPED_TRACE("sun row " + std::to_string(i + 1));
        ASSERT_EQ(sun[i].size(), 4u);
        EXPECT_EQ(pv_sun_terms[i].l, std::stol(sun[i][0]));
        EXPECT_EQ(pv_sun_terms[i].r, std::stol(sun[i][1]));
        EXPECT_EQ(pv_sun_terms[i].alpha, std::strtod(sun[i][2].c_str(), nullptr));
        EXPECT_EQ(pv_sun_terms[i].nu, std::strtod(sun[i][3].c_str(), nullptr));
    }

    const TableRow tables[] = {
        {"mercury.longitude", pv_mercury_longitude_terms, PV_MERCURY_LONGITUDE_TERMS},
        {"mercury.latitude", pv_mercury_latitude_terms, PV_MERCURY_LATITUDE_TERMS},
        {"mercury.radius", pv_mercury_radius_terms, PV_MERCURY_RADIUS_TERMS},
        {"venus.longitude", pv_venus_longitude_terms, PV_VENUS_LONGITUDE_TERMS},
        {"venus.latitude", pv_venus_latitude_terms, PV_VENUS_LATITUDE_TERMS},
        {"venus.radius", pv_venus_radius_terms, PV_VENUS_RADIUS_TERMS},
        {"mars.longitude", pv_mars_longitude_terms, PV_MARS_LONGITUDE_TERMS},
        {"mars.latitude", pv_mars_latitude_terms, PV_MARS_LATITUDE_TERMS},
        {"mars.radius", pv_mars_radius_terms, PV_MARS_RADIUS_TERMS},
    };
    for (const auto &t : tables) {
        const auto &rows = sections.at(t.section);
        ASSERT_EQ(rows.size(), static_cast<size_t>(t.size)) << t.section;
        for (int i = 0; i < t.size; ++i) {
            SCOPED_TRACE(std::string(t.section) + " row " + std::to_string(i + 1));
            ASSERT_EQ(rows[i].size(), 3u);
            EXPECT_EQ(t.table[i].a, std::stol(rows[i][0]));
            EXPECT_EQ(t.table[i].alpha, std::strtod(rows[i][1].c_str(), nullptr));
            EXPECT_EQ(t.table[i].nu, std::strtod(rows[i][2].c_str(), nullptr));
        }
    }
}

TEST(SeriesTables, SizesAreThePublications) {
    EXPECT_EQ(PV_SUN_TERMS, 50);
    EXPECT_EQ(PV_MERCURY_LONGITUDE_TERMS + PV_MERCURY_LATITUDE_TERMS + PV_MERCURY_RADIUS_TERMS,
              25 + 18 + 14);
    EXPECT_EQ(PV_VENUS_LONGITUDE_TERMS + PV_VENUS_LATITUDE_TERMS + PV_VENUS_RADIUS_TERMS,
              20 + 6 + 5);
    EXPECT_EQ(PV_MARS_LONGITUDE_TERMS + PV_MARS_LATITUDE_TERMS + PV_MARS_RADIUS_TERMS,
              60 + 7 + 29);
    // Telling rows: the Sun's radius-only row 8 and Mars's last longitude term.
    EXPECT_EQ(pv_sun_terms[7].l, 0);
    EXPECT_EQ(pv_sun_terms[7].r, 941);
    EXPECT_EQ(pv_mars_longitude_terms[PV_MARS_LONGITUDE_TERMS - 1].nu, -31489.48);
}

// Check values of the publication at JD 2451545.0 (U = 0), longitude and
// latitude of date in degrees, radius vector in AU.
struct CheckRow {
    const char *body;
    double (*series)(double, double *, double *);
    double longitude_deg, latitude_deg, radius_au;
};

double sun_as_body(double jd, double *b, double *r) {
    *b = 0.0;
    return pv_sun(jd, r);
}

TEST(SeriesCheckValues, AtJ2000) {
    const CheckRow rows[] = {
        {"Sun", sun_as_body, 280.3778, 0.0, 0.983326},
        {"Mercury", pv_mercury, 253.7822, -3.0210, 0.466470},
        {"Venus", pv_venus, 182.6027, 3.2645, 0.720217},
        {"Mars", pv_mars, 359.4478, -1.4196, 1.391209},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.body);
        double b = 99.0, r = 99.0;
        const double l = row.series(2451545.0, &b, &r);
        EXPECT_NEAR(l * kRadToDeg, row.longitude_deg, kAngleToleranceDeg);
        EXPECT_NEAR(b * kRadToDeg, row.latitude_deg, kAngleToleranceDeg);
        EXPECT_NEAR(r, row.radius_au, kRadiusToleranceAu);
    }
}

// One solar year after J2000 the Sun is back near the same longitude; a
// term summed with the wrong sign of U or a wrong unit would move it far.
TEST(SeriesCheckValues, SunReturnsAfterATropicalYear) {
    double r0 = 0, r1 = 0;
    const double l0 = pv_sun(2451545.0, &r0);
    const double l1 = pv_sun(2451545.0 + 365.24219, &r1);
    EXPECT_NEAR(std::remainder(l1 - l0, PV_TWO_PI) * kRadToDeg, 0.0, 0.01);
    EXPECT_NEAR(r1, r0, 1e-4);
}

TEST(SeriesRange, LongitudesStayInOneTurnFarOutsideThePublicationsSpan) {
    double (*const bodies[])(double, double *, double *) = {sun_as_body, pv_mercury, pv_venus,
                                                            pv_mars};
    // 4001 BC minus a million days to AD 2800 plus a million days.
    for (double jd = 260090.0 - 1e6; jd <= 2743738.0 + 1e6; jd += 997.37) {
        for (auto body : bodies) {
            double b = 0, r = 0;
            const double l = body(jd, &b, &r);
            ASSERT_GE(l, 0.0) << "jd " << jd;
            ASSERT_LT(l, PV_TWO_PI) << "jd " << jd;
        }
    }
}

struct ReduceRow {
    const char *name;
    double in;
    double out;
};

TEST(RangeReduction, SpecifiedStepsForOrdinaryAngles) {
    const double tp = PV_TWO_PI;
    const double below_turn = std::nextafter(tp, 0.0);
    const ReduceRow rows[] = {
        {"ZeroUnchanged", 0.0, 0.0},
        {"TinyUnchanged", 1e-300, 1e-300},
        {"JustBelowTurnUnchanged", below_turn, below_turn},
        {"PiUnchanged", PV_PI, PV_PI},
        {"OneTurnIsZero", tp, 0.0},
        {"NegativeGetsOneTurn", -0.5, -0.5 + tp},
        {"TinyNegativeRoundsToZero", -1e-300, 0.0},
        {"ThreeTurnsStepByStep", 3 * tp + 0.1, ((3 * tp + 0.1) - tp - tp) - tp},
        {"MinusTwoTurnsStepByStep", -2 * tp + 0.1, (-2 * tp + 0.1) + tp + tp},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(pv_reduce_turns(row.in), row.out);
    }
}

TEST(RangeReduction, HugeFiniteAnglesEndInOneTurn) {
    const double huge[] = {1e6, -1e6, 1e20, -1e20, DBL_MAX, -DBL_MAX, PV_REDUCE_LOOP_LIMIT * 1.5};
    for (double x : huge) {
        const double r = pv_reduce_turns(x);
        EXPECT_GE(r, 0.0) << x;
        EXPECT_LT(r, PV_TWO_PI) << x;
    }
}

TEST(RangeReduction, NonFiniteAnglesAreReturnedUnreduced) {
    EXPECT_TRUE(std::isnan(pv_reduce_turns(std::numeric_limits<double>::quiet_NaN())));
    EXPECT_EQ(pv_reduce_turns(INFINITY), INFINITY);
    EXPECT_EQ(pv_reduce_turns(-INFINITY), -INFINITY);
}

}  // namespace
