// Regression test of the shipped ephemeris data against positions taken
// straight from the Swiss Ephemeris (JPL DE431) by tools/ephemeris-data and kept
// in reference_positions.txt (its header says how they were obtained).
//
// The data files are read the way the program reads them: the outer planets
// through planets_vemo's exported function, Pluto through the program's Pluto
// table. The files come from the program folder, or from the source tree's
// data/ folder when the build has not copied them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "app/time/pluto_table.h"
#include "ephemeris/outer_files.h"
#include "ephemeris/planets_vemo.h"
#include "platform/ordalin/ordalin.h"

namespace {

namespace fs = std::filesystem;

constexpr double kPi = 3.141592653589793;
constexpr double kRadToArcsec = 180.0 * 3600.0 / kPi;

// Accuracy promised for the fitted files: the tool enforces the same limits
// on a dense sampling, the rows here guard against a stale or damaged copy.
constexpr double kLongitudeToleranceArcsec = 5.0;
constexpr double kLatitudeToleranceArcsec = 2.0;
constexpr double kRadiusToleranceAu = 5e-5;
// Pluto: whole arcseconds rounded to the nearest, plus the error of linear
// interpolation over one day (below 0.001" for Pluto's slow, smooth motion).
constexpr double kPlutoToleranceArcsec = 0.51;

struct OuterFile {
    const char* name;
    int32_t planet;
    int32_t first_year;
    int records;
};
constexpr OuterFile kOuterFiles[] = {
    {"jupiter.dac", 5, -4000, 1360},
    {"saturn.dac", 6, -4000, 1360},
    {"uranus.dac", 7, 1600, 240},
    {"neptune.dac", 8, 1600, 240},
};

// Folder of the shipped files, with a trailing separator.
std::string DataFolder() {
    for (const fs::path& dir : {fs::path(VEMO_TEST_PROGRAM_DIR), fs::path(VEMO_TEST_SOURCE_DATA_DIR)}) {
        if (fs::exists(dir / "jupiter.dac") && fs::exists(dir / "hpluto.2199.slx")) {
            return (dir / "").string();
        }
    }
    return (fs::path(VEMO_TEST_SOURCE_DATA_DIR) / "").string();
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// planets_vemo's reduction of a longitude of date to J2000, in degrees.
double LibraryPrecessionDegrees(double jd) { return 3.8189e-5 * jd - 93.619; }

// a - b in arcseconds for angles in degrees, across the 0/360 seam.
double AngleDifferenceArcsec(double a_deg, double b_deg) {
    double d = std::fmod(a_deg - b_deg, 360.0);
    if (d > 180.0) d -= 360.0;
    if (d <= -180.0) d += 360.0;
    return d * 3600.0;
}

double NewYearJd(int32_t year) {
    EuroDate date{year, 1, 1, ORDALIN_GREGORIAN, 0, 0};
    euro_date_to_jdn(&date);
    return date.jdn - 0.5;
}

struct ReferenceRow {
    int planet = 0;
    int32_t year = 0;
    double jd = 0.0;
    double longitude_deg = 0.0;  // of date
    double latitude_deg = 0.0;
    double radius_au = 0.0;
    int line = 0;
};

std::vector<ReferenceRow> ReadReference() {
    std::vector<ReferenceRow> rows;
    std::ifstream in(VEMO_TEST_REFERENCE_FILE);
    std::string text;
    int line = 0;
    while (std::getline(in, text)) {
        ++line;
        if (text.empty() || text[0] == '#') continue;
        std::istringstream fields(text);
        ReferenceRow row;
        row.line = line;
        fields >> row.planet >> row.year >> row.jd >> row.longitude_deg >> row.latitude_deg >> row.radius_au;
        if (fields) rows.push_back(row);
        else ADD_FAILURE() << "reference line " << line << " unreadable: " << text;
    }
    return rows;
}

class ShippedData : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = DataFolder();
        set_datafiles_folder(folder_.c_str());
    }
    std::string folder_;
};

TEST_F(ShippedData, FilesHaveTheirExactSizesAndLineEnds) {
    for (const auto& file : kOuterFiles) {
        SCOPED_TRACE(file.name);
        EXPECT_EQ(fs::file_size(folder_ + file.name), static_cast<std::uintmax_t>(235 * file.records));
    }
    // 219147 days of four characters and CR LF, nothing else: a checkout that
    // turned CR LF into LF would show here.
    const std::string pluto = ReadWholeFile(folder_ + "hpluto.2199.slx");
    ASSERT_EQ(pluto.size(), 219147u * 6u);
    for (std::size_t i = 0; i < pluto.size(); i += 6) {
        ASSERT_EQ(pluto.substr(i + 4, 2), "\r\n") << "line " << i / 6 + 1;
    }
}

TEST_F(ShippedData, EveryRecordNamesItsYearsAndCentresOnItsSpan) {
    for (const auto& file : kOuterFiles) {
        SCOPED_TRACE(file.name);
        const std::string text = ReadWholeFile(folder_ + file.name);
        ASSERT_EQ(text.size(), static_cast<std::size_t>(235 * file.records));
        for (int k = 0; k < file.records; ++k) {
            pv_outer_record record{};
            ASSERT_EQ(pv_decode_record(text.c_str() + 235 * k, &record), 0) << "record " << k;
            const int32_t first = file.first_year + 5 * k;
            const double start = NewYearJd(first), end = NewYearJd(first + 5);
            ASSERT_EQ(record.number, first) << "record " << k;
            ASSERT_EQ(record.jd0, 0.5 * (start + end)) << "record " << k;
            ASSERT_EQ(record.unused, end - start) << "record " << k;
            // The longitude at JD0 is kept in [0, 2 pi).
            ASSERT_GE(record.coef[0][0], 0.0) << "record " << k;
            ASSERT_LT(record.coef[0][0], 2 * kPi) << "record " << k;
        }
    }
}

TEST_F(ShippedData, OuterPlanetsAgreeWithTheEphemerisAtReferenceInstants) {
    const auto rows = ReadReference();
    int checked = 0;
    for (const auto& row : rows) {
        if (row.planet < 5 || row.planet > 8) continue;
        SCOPED_TRACE("reference line " + std::to_string(row.line));
        int32_t year = 0;
        juldat(row.jd, "A", &year, nullptr, nullptr, nullptr);
        ASSERT_EQ(year, row.year) << "the reference's year is the program's year of the date";
        double lat = 0.0, rv = 0.0;
        const double lon = hc_j2000_long_lat_rv_planet(row.planet, row.jd, row.year, &lat, &rv);
        ASSERT_GT(lon, -99.0);
        const double expected = row.longitude_deg - LibraryPrecessionDegrees(row.jd);
        EXPECT_NEAR(AngleDifferenceArcsec(lon * 180.0 / kPi, expected), 0.0, kLongitudeToleranceArcsec);
        EXPECT_NEAR(lat * kRadToArcsec, row.latitude_deg * 3600.0, kLatitudeToleranceArcsec);
        EXPECT_NEAR(rv, row.radius_au, kRadiusToleranceAu);
        ++checked;
    }
    // Per planet: 4 at the ends of the range, 120 spread over it, 5 at each of
    // 24 record boundaries, 4 at each of two passages through 0 degrees.
    EXPECT_EQ(checked, 4 * 252);
}

TEST_F(ShippedData, PlutoAgreesWithTheEphemerisAtReferenceInstants) {
    vemo::PlutoTable table;
    ASSERT_EQ(table.Load(folder_ + "hpluto.2199.slx"), "");
    ASSERT_EQ(table.DayCount(), 219147);
    int checked = 0;
    for (const auto& row : ReadReference()) {
        if (row.planet != 9) continue;
        SCOPED_TRACE("reference line " + std::to_string(row.line));
        const double lon = table.Longitude(row.jd);
        ASSERT_GT(lon, -99.0);
        const double expected = row.longitude_deg - LibraryPrecessionDegrees(row.jd);
        EXPECT_NEAR(AngleDifferenceArcsec(lon * 180.0 / kPi, expected), 0.0, kPlutoToleranceArcsec);
        ++checked;
    }
    EXPECT_EQ(checked, 252);  // the same choice of instants as for the others
}

// Neighbouring records meet: each is fitted a little beyond its span, so at
// the instant where one hands over to the next both must give nearly the
// same position. Covers every record of every file without the ephemeris.
TEST_F(ShippedData, NeighbouringRecordsAgreeWhereTheyMeet) {
    for (const auto& file : kOuterFiles) {
        SCOPED_TRACE(file.name);
        double worst_arcsec = 0.0, worst_au = 0.0;
        for (int k = 1; k < file.records; ++k) {
            const int32_t year = file.first_year + 5 * k;
            const double jd = NewYearJd(year);
            double lat_before = 0, rv_before = 0, lat_after = 0, rv_after = 0;
            const double before = hc_j2000_long_lat_rv_planet(file.planet, jd, year - 1, &lat_before, &rv_before);
            const double after = hc_j2000_long_lat_rv_planet(file.planet, jd, year, &lat_after, &rv_after);
            ASSERT_GT(before, -99.0) << "year " << year - 1;
            ASSERT_GT(after, -99.0) << "year " << year;
            worst_arcsec = std::max({worst_arcsec,
                                     std::fabs(AngleDifferenceArcsec(before * 180 / kPi, after * 180 / kPi)),
                                     std::fabs((lat_before - lat_after) * kRadToArcsec)});
            worst_au = std::max(worst_au, std::fabs(rv_before - rv_after));
        }
        EXPECT_LT(worst_arcsec, 2 * kLongitudeToleranceArcsec);
        EXPECT_LT(worst_au, 2 * kRadiusToleranceAu);
    }
}

struct YearCase {
    const char* label;
    int32_t planet;
    int32_t year;
    double expected;  // 0: a position; otherwise the error value
};

TEST_F(ShippedData, YearRangeOfTheRealFiles) {
    const YearCase cases[] = {
        {"Jupiter -4001", 5, -4001, -99}, {"Jupiter -4000", 5, -4000, 0}, {"Jupiter 2799", 5, 2799, 0},
        {"Jupiter 2800", 5, 2800, -100},  {"Saturn -4001", 6, -4001, -99}, {"Saturn -4000", 6, -4000, 0},
        {"Saturn 2799", 6, 2799, 0},      {"Saturn 2800", 6, 2800, -100},  {"Uranus 1599", 7, 1599, -99},
        {"Uranus 1600", 7, 1600, 0},      {"Uranus 2799", 7, 2799, 0},     {"Uranus 2800", 7, 2800, -100},
        {"Neptune 1599", 8, 1599, -99},   {"Neptune 1600", 8, 1600, 0},    {"Neptune 2799", 8, 2799, 0},
        {"Neptune 2800", 8, 2800, -100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const double jd = NewYearJd(c.year) + 182.0;  // mid-year
        double lat = 1234.0, rv = 5678.0;
        const double lon = hc_j2000_long_lat_rv_planet(c.planet, jd, c.year, &lat, &rv);
        if (c.expected == 0) {
            EXPECT_GE(lon, 0.0);
            EXPECT_LT(lon, 2 * kPi);
            EXPECT_LT(std::fabs(lat), 0.05);  // within 3 degrees of the ecliptic
            EXPECT_GT(rv, 4.0);
            EXPECT_LT(rv, 31.0);
        } else {
            EXPECT_EQ(lon, c.expected);
            EXPECT_EQ(lat, 1234.0);
            EXPECT_EQ(rv, 5678.0);
        }
    }
}

TEST_F(ShippedData, PlutoTableCoversFirstDay1600ToLastDay2199) {
    vemo::PlutoTable table;
    ASSERT_EQ(table.Load(folder_ + "hpluto.2199.slx"), "");
    const double first_0h = 2305448 - 0.5;  // 1 January 1600, 0h UT
    const double end_0h = 2524594 - 0.5;    // 1 January 2200, 0h UT
    EXPECT_EQ(table.Longitude(first_0h - 1e-6), -99);
    EXPECT_GE(table.Longitude(first_0h), 0.0);
    EXPECT_GE(table.Longitude(end_0h - 1.0 / 24), 0.0);  // 31 December 2199, 23h UT
    EXPECT_EQ(table.Longitude(end_0h), -100);
}

}  // namespace
