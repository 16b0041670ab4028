// Outer-planet data files: record selection by year, the error values, the
// polynomial evaluation, and refusal of records and folders that cannot be
// trusted. Every file is written by the test itself.

#include "dac_writer.h"
#include "ephemeris/outer_files.h"
#include "ephemeris/planets_vemo.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

constexpr double kUntouched = 12345.0;
// JD0 of the first record of a file starting in 1600 (middle of 1600..1604).
const double kJd1602 = dac::jd0_of(1600, 0);

class OuterFiles : public ::testing::Test {
protected:
    OuterFiles() : dir_("outer") {}
    void SetUp() override {
        dir_.write("jupiter.dac", dac::file_of(-4000, 1360));
        dir_.write("uranus.dac", dac::file_of(1600, 240));
        set_datafiles_folder(dir_.folder().c_str());
    }
    void TearDown() override { set_datafiles_folder(""); }

    // The reader on a file of this folder; returns the status, with the
    // longitude of date in *lon and the other coordinates in *lat, *rv.
    double read(const char *file, int first_year, int year, double jd, double *lat, double *rv) {
        return pv_outer_position(jd, year, first_year, PV_LIMIT_YEAR, file, lat, rv);
    }

    dac::TempFolder dir_;
};

struct SelectionRow {
    const char *name;
    const char *file;
    int first_year;
    int year;
    int record;  // expected record, or the expected error value when negative
};

TEST_F(OuterFiles, YearChoosesTheRecord) {
    const SelectionRow rows[] = {
        {"JupiterFirstYear", "jupiter.dac", -4000, -4000, 0},
        {"JupiterLastYearOfFirstRecord", "jupiter.dac", -4000, -3996, 0},
        {"JupiterFirstYearOfSecondRecord", "jupiter.dac", -4000, -3995, 1},
        {"JupiterYear1", "jupiter.dac", -4000, 1, 800},
        {"JupiterYear2000", "jupiter.dac", -4000, 2000, 1200},
        {"JupiterLastYear", "jupiter.dac", -4000, 2799, 1359},
        {"JupiterBeforeData", "jupiter.dac", -4000, -4001, PV_BEFORE_DATA},
        {"JupiterYear2800", "jupiter.dac", -4000, 2800, PV_AFTER_DATA},
        {"UranusFirstYear", "uranus.dac", 1600, 1600, 0},
        {"UranusLastYear", "uranus.dac", 1600, 2799, 239},
        {"UranusBeforeData", "uranus.dac", 1600, 1599, PV_BEFORE_DATA},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const int k = row.record < 0 ? 0 : row.record;
        const double jd0 = dac::jd0_of(row.first_year, k);
        double lat = kUntouched, rv = kUntouched;
        const double lon = read(row.file, row.first_year, row.year, jd0, &lat, &rv);
        if (row.record < 0) {
            EXPECT_EQ(lon, row.record);
            EXPECT_EQ(lat, kUntouched);
            EXPECT_EQ(rv, kUntouched);
        } else {
            // At t = 0 the polynomials give their power-0 coefficients.
            const auto c = dac::coefficients_of(row.record);
            EXPECT_EQ(lon, c[0][0]);
            EXPECT_EQ(lat, c[0][1]);
            EXPECT_EQ(rv, c[0][2]);
        }
    }
}

TEST_F(OuterFiles, OutOfRangeYearsNeedNoFile) {
    set_datafiles_folder("/nonexistent-folder-of-vemo/");
    double lat = kUntouched, rv = kUntouched;
    EXPECT_EQ(read("jupiter.dac", -4000, 2800, 2743739.0, &lat, &rv), PV_AFTER_DATA);
    EXPECT_EQ(read("jupiter.dac", -4000, -4001, 260000.0, &lat, &rv), PV_BEFORE_DATA);
    EXPECT_EQ(read("jupiter.dac", -4000, 2000, 2451545.0, &lat, &rv), PV_OPEN_FAILED);
    set_datafiles_folder("");
    EXPECT_EQ(read("jupiter.dac", -4000, 2800, 2743739.0, &lat, &rv), PV_AFTER_DATA);
    EXPECT_EQ(lat, kUntouched);
    EXPECT_EQ(rv, kUntouched);
}

TEST_F(OuterFiles, PolynomialInUnitsOf2000Days) {
    const int k = 1200;  // year 2000
    const double jd0 = dac::jd0_of(-4000, k);
    const double t = 0.75;  // 1500 days after JD0
    const auto c = dac::coefficients_of(k);
    double expected = c[6][0];
    for (int p = 5; p >= 0; --p) expected = expected * t + c[p][0];
    double lat = 0, rv = 0;
    EXPECT_DOUBLE_EQ(read("jupiter.dac", -4000, 2000, jd0 + 1500.0, &lat, &rv), expected);
    EXPECT_DOUBLE_EQ(rv, c[0][2] + c[1][2] * t);
    // The year, not the date, chooses the record: a neighbouring record is
    // evaluated outside its span.
    const auto next = dac::coefficients_of(k + 1);
    const double t_next = (jd0 - dac::jd0_of(-4000, k + 1)) / 2000.0;
    double expected_next = next[6][0];
    for (int p = 5; p >= 0; --p) expected_next = expected_next * t_next + next[p][0];
    EXPECT_DOUBLE_EQ(read("jupiter.dac", -4000, 2005, jd0, &lat, &rv), expected_next);
    EXPECT_DOUBLE_EQ(rv, next[0][2] + next[1][2] * t_next);
}

TEST_F(OuterFiles, ShortFileServesItsRecordsAndRefusesThePastEnd) {
    dir_.write("saturn.dac", dac::file_of(-4000, 3));
    double lat = kUntouched, rv = kUntouched;
    EXPECT_EQ(read("saturn.dac", -4000, -3986, dac::jd0_of(-4000, 2), &lat, &rv),
              dac::coefficients_of(2)[0][0]);
    EXPECT_EQ(rv, 3.0);
    lat = rv = kUntouched;
    EXPECT_EQ(read("saturn.dac", -4000, -3985, dac::jd0_of(-4000, 3), &lat, &rv), PV_READ_FAILED);
    EXPECT_EQ(read("saturn.dac", -4000, 2799, 2743000.0, &lat, &rv), PV_READ_FAILED);
    // A record cut in the middle is short too.
    dir_.write("saturn.dac", dac::file_of(-4000, 3).substr(0, 2 * dac::kRecordBytes + 100));
    EXPECT_EQ(read("saturn.dac", -4000, -3986, dac::jd0_of(-4000, 2), &lat, &rv), PV_READ_FAILED);
    EXPECT_EQ(lat, kUntouched);
    EXPECT_EQ(rv, kUntouched);
}

TEST_F(OuterFiles, FolderProblems) {
    double lat = kUntouched, rv = kUntouched;
    EXPECT_EQ(read("neptune.dac", 1600, 2000, 2451545.0, &lat, &rv), PV_OPEN_FAILED)
        << "missing file";
    std::string no_separator = dir_.folder();
    no_separator.pop_back();
    set_datafiles_folder(no_separator.c_str());
    EXPECT_EQ(read("jupiter.dac", -4000, 2000, 2451545.0, &lat, &rv), PV_OPEN_FAILED)
        << "folder without trailing separator";
    set_datafiles_folder("");
    EXPECT_EQ(read("jupiter.dac", -4000, 2000, 2451545.0, &lat, &rv), PV_NO_FOLDER);
    set_datafiles_folder(nullptr);
    EXPECT_EQ(read("jupiter.dac", -4000, 2000, 2451545.0, &lat, &rv), PV_NO_FOLDER);
    EXPECT_EQ(lat, kUntouched);
    EXPECT_EQ(rv, kUntouched);
}

// Folders the 255-character storage cannot hold fail as an unopenable file;
// nothing is written or read past the storage (AddressSanitizer watches).
TEST_F(OuterFiles, OverlongFolderFailsCleanly) {
    double lat = kUntouched, rv = kUntouched;
    const std::string lengths[] = {std::string(256, 'a'), std::string(300, 'b') + "/",
                                   std::string(4096, 'c')};
    for (const auto &folder : lengths) {
        set_datafiles_folder(folder.c_str());
        EXPECT_EQ(read("jupiter.dac", -4000, 2000, 2451545.0, &lat, &rv), PV_OPEN_FAILED)
            << folder.size();
        EXPECT_STREQ(pv_folder(), "");
    }
    // A stored folder whose path with the file name exceeds 255 characters.
    const std::string folder = "/" + std::string(245, 'd') + "/";  // 247 + 11 > 255
    set_datafiles_folder(folder.c_str());
    EXPECT_EQ(read("jupiter.dac", -4000, 2000, 2451545.0, &lat, &rv), PV_OPEN_FAILED);
    EXPECT_EQ(lat, kUntouched);
    // A good folder afterwards works again.
    set_datafiles_folder(dir_.folder().c_str());
    EXPECT_GT(read("jupiter.dac", -4000, 2000, 2451545.0, &lat, &rv), PV_BEFORE_DATA);
}

// A path of exactly 255 characters is the longest the storage holds.
TEST_F(OuterFiles, PathOfExactly255CharactersOpens) {
    const std::string base = dir_.folder();
    const size_t name = std::string("jupiter.dac").size();
    ASSERT_LT(base.size() + name + 2, 255u);
    const std::string component(255 - name - base.size() - 1, 'x');
    const std::string folder = base + component + "/";
    ASSERT_EQ(folder.size() + name, 255u);
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "jupiter.dac", std::ios::binary) << dac::file_of(-4000, 1);
    set_datafiles_folder(folder.c_str());
    double lat = 0, rv = 0;
    EXPECT_EQ(read("jupiter.dac", -4000, -4000, dac::jd0_of(-4000, 0), &lat, &rv), 1.0);
}

// Handing the library its own folder back (as a caller re-applying the
// stored value does) keeps it.
TEST_F(OuterFiles, FolderSetFromItselfIsKept) {
    set_datafiles_folder(pv_folder());
    EXPECT_EQ(std::string(pv_folder()), dir_.folder());
    double lat = 0, rv = 0;
    EXPECT_EQ(read("uranus.dac", 1600, 1600, dac::jd0_of(1600, 0), &lat, &rv), 1.0);
}

// Replacing a file takes effect at the next request: every request reads it.
TEST_F(OuterFiles, ReplacedFileIsReadAfresh) {
    double lat = 0, rv = 0;
    const double jd0 = dac::jd0_of(1600, 80);
    EXPECT_EQ(read("uranus.dac", 1600, 2000, jd0, &lat, &rv), dac::coefficients_of(80)[0][0]);
    auto c = dac::coefficients_of(80);
    c[0][0] = 2.5;
    std::string text = dac::file_of(1600, 240);
    text.replace(80 * dac::kRecordBytes, dac::kRecordBytes, dac::record(80, jd0, c));
    dir_.write("uranus.dac", text);
    EXPECT_EQ(read("uranus.dac", 1600, 2000, jd0, &lat, &rv), 2.5);
}

// 0h 1 January, proleptic Gregorian, astronomical years (0 is a leap year).
TEST(YearStart, ProlepticGregorianJulianDates) {
    const struct {
        long long year;
        double jd;
    } rows[] = {{2000, 2451544.5}, {1600, 2305447.5}, {1, 1721425.5}, {0, 1721059.5},
                {-1, 1720694.5}, {-100, 1684535.5}, {-4000, 260089.5}, {-4001, 259724.5}};
    for (const auto &row : rows) EXPECT_EQ(pv_year_start_jd(row.year), row.jd) << row.year;
}

// Every record of the four shipped files has its JD0 where the reader wants
// it, and gives a finite position there.
TEST(ShippedFiles, EveryRecordIsServed) {
    set_datafiles_folder(VEMO_SHIPPED_DATA_FOLDER);
    const struct {
        const char *file;
        int first_year;
        int records;
    } files[] = {{"jupiter.dac", -4000, 1360}, {"saturn.dac", -4000, 1360},
                 {"uranus.dac", 1600, 240}, {"neptune.dac", 1600, 240}};
    for (const auto &f : files) {
        const std::string path = std::string(VEMO_SHIPPED_DATA_FOLDER) + f.file;
        for (int k = 0; k < f.records; ++k) {
            pv_outer_record rec{};
            ASSERT_EQ(pv_read_record_file(path.c_str(), k, &rec), 0) << f.file << " " << k;
            double v[3];
            ASSERT_EQ(pv_outer_evaluate(rec.jd0, f.first_year + 5 * k, f.first_year,
                                        PV_LIMIT_YEAR, f.file, v), 0)
                << f.file << " record " << k << " JD0 " << rec.jd0;
        }
    }
    set_datafiles_folder("");
}

struct CorruptRow {
    const char *name;
    int offset;  // byte offset of the field in the record
    const char *text;  // replaces the field's bytes
};

// Fields that are not numbers must not be read as zeros: the record is
// refused with -103 and nothing is written through the out-parameters.
TEST_F(OuterFiles, NonNumericRecordIsRefused) {
    // The record the rows corrupt is served as it stands.
    dir_.write("neptune.dac", dac::record(0, kJd1602, dac::coefficients_of(0)));
    double lat = 0, rv = 0;
    ASSERT_EQ(read("neptune.dac", 1600, 1600, kJd1602, &lat, &rv), dac::coefficients_of(0)[0][0]);
    const CorruptRow rows[] = {
        {"LettersInJd0", 5, "   abcdefg"},
        {"LettersInCoefficient", 25 + 10 * 3, " 1.2x4    "},
        {"InfinityText", 25, "       inf"},
        {"NanText", 25 + 10 * 8, "       nan"},
        {"HexadecimalNumber", 25, "    0x1p3 "},
        {"BlankFieldBorrowsTheNextNumber", 25 + 10 * 7, "          "},
        {"BlankLastField", 225, "          "},
        {"NumberRunsIntoTheNextField", 25 + 10 * 20, "1234567890"},
        {"ExponentOverflows", 25 + 10 * 14, "   1e999  "},
        {"ExponentWithoutDigits", 25, "    1.5e  "},
        {"SignAlone", 25, "    -     "},
        {"ZeroByteInField", 25 + 10 * 2, "   1"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        std::string rec = dac::record(0, kJd1602, dac::coefficients_of(0));
        std::string field(row.text);
        if (std::string(row.name) == "ZeroByteInField") field = std::string("   1\0  2.0", 10);
        rec.replace(row.offset, field.size(), field);
        if (std::string(row.name) == "NumberRunsIntoTheNextField") {
            // The field before the last now ends in a digit that continues into it.
            rec = dac::record(0, kJd1602, dac::coefficients_of(0));
            rec.replace(25 + 10 * 19, 10, "1234567890");
            rec.replace(25 + 10 * 20, 10, "1234567890");
        }
        ASSERT_EQ(rec.size(), 235u);
        dir_.write("neptune.dac", rec);
        double lat = kUntouched, rv = kUntouched;
        EXPECT_EQ(read("neptune.dac", 1600, 1600, kJd1602, &lat, &rv), PV_READ_FAILED);
        EXPECT_EQ(lat, kUntouched);
        EXPECT_EQ(rv, kUntouched);
    }
}

struct AcceptedRow {
    const char *name;
    const char *text;
    double value;
};

// Numbers in the forms the files use are read exactly; the last field may fill
// all ten bytes, and a field may end where the next begins with a sign.
TEST_F(OuterFiles, NumericFormsAreAccepted) {
    const AcceptedRow rows[] = {
        {"LeftAligned", "2.5       ", 2.5},
        {"RightAligned", "       2.5", 2.5},
        {"PlusSign", "      +2.5", 2.5},
        {"NoFraction", "         3", 3.0},
        {"TrailingPoint", "        3.", 3.0},
        {"LeadingPoint", "      -.25", -0.25},
        {"Exponent", "  2.5E-001", 0.25},
        {"FullWidth", "-1.2345678", -1.2345678},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        std::string rec = dac::record(0, kJd1602, dac::coefficients_of(0));
        rec.replace(25, 10, row.text);  // longitude, power 0
        ASSERT_EQ(rec.size(), 235u);
        dir_.write("neptune.dac", rec);
        double lat = 0, rv = 0;
        EXPECT_EQ(read("neptune.dac", 1600, 1600, kJd1602, &lat, &rv), row.value);
    }
    // Field followed directly by the next field's sign.
    std::string rec = dac::record(0, kJd1602, dac::coefficients_of(0));
    rec.replace(25, 20, "-1.0000000-2.0000000");
    pv_outer_record decoded{};
    ASSERT_EQ(pv_decode_record(rec.c_str(), &decoded), 0);
    EXPECT_EQ(decoded.coef[0][0], -1.0);
    EXPECT_EQ(decoded.coef[1][0], -2.0);
    EXPECT_EQ(decoded.jd0, kJd1602);
}

}  // namespace
