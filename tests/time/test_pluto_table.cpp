// The Pluto table: decoding, interpolation, the 0 deg passage, the range ends,
// and refusal of short or corrupt files with the line that is wrong.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include <string>

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

constexpr double kRadPerDeg = 6.28318530717959 / 360;
// The table's resolution is one arcsecond; decoded values are exact
// multiples of it, so comparisons of decoded values allow rounding only.
constexpr double kArcsecond = 1.0 / 3600;

double AjdAt0hUT(int dayNumber) { return dayNumber - 0.5; }

class PlutoTableTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        smooth_ = new PlutoTable;
        ASSERT_EQ(smooth_->LoadFromText(PlutoText(SmoothPluto), "smooth"), "");
    }
    static void TearDownTestSuite() {
        delete smooth_;
        smooth_ = nullptr;
    }
    static PlutoTable* smooth_;
};
PlutoTable* PlutoTableTest::smooth_ = nullptr;

TEST(DecodePlutoLine, InvertsTheEncodingForEveryDayOfTheScrambleCycle) {
    // 7 x 55 = 385 days run through every pair of (k mod 7, k mod 55).
    for (int k = 0; k < 385; ++k) {
        for (double deg : {0.0, 0.5 + 1.0 / 3600, 59.99, 60.0, 123.4567, 359.0 + 59.0 / 60 + 59.0 / 3600}) {
            double decoded = -1;
            ASSERT_TRUE(DecodePlutoLine(EncodePlutoLine(deg, k), k, &decoded)) << k << " " << deg;
            EXPECT_NEAR(decoded, deg, kArcsecond) << k << " " << deg;
            EXPECT_LE(decoded, deg + 1e-9);
        }
    }
}

TEST(DecodePlutoLine, RefusesWhatDecodesOutsideTheRanges) {
    struct Case {
        const char* name;
        std::string line;
        int k;
    };
    // Day 0: minutes c1 - 60, seconds c2 - 60, sixties c3 - 58, units c4 - 59.
    const Case cases[] = {
        {"ShorterThanFour", "<<:", 0},
        {"MinutesBelowZero", ";<:;", 0},
        {"MinutesAboveFiftyNine", "x<:;", 0},
        {"SecondsAboveFiftyNine", "<x:;", 0},
        {"UnitsAboveFiftyNine", "<<:w", 0},
        {"DegreesOf360", "<<@;", 0},
        {"SixtiesBelowZero", "<<9;", 0},
        {"ScrambleOfTheDayMatters", "<<:;", 1},  // valid for day 0, minutes -1 on day 1
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        double decoded = -7;
        EXPECT_FALSE(DecodePlutoLine(c.line, c.k, &decoded));
        EXPECT_EQ(decoded, -7);
    }
    double decoded = -7;
    EXPECT_TRUE(DecodePlutoLine("<<:;", 0, &decoded));
    EXPECT_EQ(decoded, 0.0);
}

TEST_F(PlutoTableTest, AtZeroHoursUTGivesTheDecodedValueOfThatDay) {
    for (int k : {0, 1, 54, 55, 1000, 123456, kPlutoRequiredDays - 2}) {
        SCOPED_TRACE(k);
        const double decoded = smooth_->DegreesOfDay(k);
        EXPECT_NEAR(decoded, SmoothPluto(k), kArcsecond);
        EXPECT_DOUBLE_EQ(smooth_->Longitude(AjdAt0hUT(kPlutoFirstDayNumber + k)), decoded / 360 * 6.28318530717959);
    }
}

TEST_F(PlutoTableTest, InterpolatesLinearlyWithinTheUTDay) {
    const int k = 5000;
    const double l1 = smooth_->DegreesOfDay(k);
    const double l2 = smooth_->DegreesOfDay(k + 1);
    const double at18h = smooth_->Longitude(AjdAt0hUT(kPlutoFirstDayNumber + k) + 0.75);
    EXPECT_NEAR(at18h, (l1 + 0.75 * (l2 - l1)) * kRadPerDeg, 1e-12);
}

TEST_F(PlutoTableTest, CoversFirstOf1600ToTheEndOf2199) {
    struct Case {
        const char* name;
        double ajd;
        bool available;
        double code;
    };
    const Case cases[] = {
        {"LastMomentOf1599", AjdAt0hUT(kPlutoFirstDayNumber) - 1e-6, false, kBeforeDataRange},
        {"First0hOf1600", AjdAt0hUT(kPlutoFirstDayNumber), true, 0},
        {"31December2199At23h", AjdAt0hUT(kPlutoLastDayNumber) + 23.0 / 24, true, 0},
        {"1January2200At0h", AjdAt0hUT(kPlutoLastDayNumber + 1), false, kAfterDataRange},
        {"FarFuture", 1e12, false, kAfterDataRange},
        {"NotANumber", std::nan(""), false, kBeforeDataRange},
        {"Infinity", INFINITY, false, kAfterDataRange},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const double l = smooth_->Longitude(c.ajd);
        if (c.available) {
            EXPECT_GE(l, 0.0);
            EXPECT_LT(l, 6.28318530717959);
        } else {
            EXPECT_EQ(l, c.code);
        }
    }
    // 31 December 2199 23h lies between the last two lines of the table.
    const int last = kPlutoRequiredDays - 2;
    const double l1 = smooth_->DegreesOfDay(last);
    const double l2 = smooth_->DegreesOfDay(last + 1);
    EXPECT_NEAR(smooth_->Longitude(AjdAt0hUT(kPlutoLastDayNumber) + 23.0 / 24),
                (l1 + 23.0 / 24 * (l2 - l1)) * kRadPerDeg, 1e-12);
}

TEST_F(PlutoTableTest, DayIndexOutsideTheTableIsAnErrorValueNotARead) {
    EXPECT_EQ(smooth_->DegreesOfDay(-1), kBeforeDataRange);
    EXPECT_EQ(smooth_->DegreesOfDay(kPlutoRequiredDays), kAfterDataRange);
}

// Pluto passing 0 deg between day 1000 and day 1001, forwards (359.9 -> 0.1)
// and backwards (0.1 -> 359.9, retrograde): the interpolation must take the
// short way and stay in [0, 360).
TEST(PlutoTable, PassesThroughZeroDegreesBothWays) {
    struct Case {
        const char* name;
        double before;
        double after;
    };
    const Case cases[] = {{"Direct", 359.9, 0.1}, {"Retrograde", 0.1, 359.9}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlutoTable table;
        ASSERT_EQ(table.LoadFromText(PlutoText([&](int k) { return k <= 1000 ? c.before : c.after; }), "t"), "");
        const double ajd0 = AjdAt0hUT(kPlutoFirstDayNumber + 1000);
        const double step = c.after > c.before ? c.after - 360 - c.before : c.after + 360 - c.before;  // +-0.2
        for (double f : {0.0, 0.25, 0.5, 0.75, 0.999}) {
            SCOPED_TRACE(f);
            const double l = table.Longitude(ajd0 + f) / kRadPerDeg;
            // Compared on the circle, so that 0 and 360 - 1e-15 count as equal.
            const double difference = std::remainder(l - (c.before + f * step), 360.0);
            EXPECT_NEAR(difference, 0.0, 1e-9);
            EXPECT_GE(l, 0.0);
            EXPECT_LT(l, 360.0);
        }
    }
}

TEST(PlutoTable, BlankLinesTabsAndLineEndsDoNotChangeTheTable) {
    PlutoTable plain;
    ASSERT_EQ(plain.LoadFromText(PlutoText(SmoothPluto, kPlutoRequiredDays, "\n"), "plain"), "");
    std::string messy;
    for (int k = 0; k < kPlutoRequiredDays; ++k) {
        if (k % 1000 == 0) messy += "\r\n   \r\n\t\r\n";
        messy += (k % 3 == 0 ? " \t" : "") + EncodePlutoLine(SmoothPluto(k), k) + "  extra ignored\t\r\n";
    }
    PlutoTable tidy;
    ASSERT_EQ(tidy.LoadFromText(messy, "messy"), "");
    ASSERT_EQ(tidy.DayCount(), plain.DayCount());
    for (int k = 0; k < kPlutoRequiredDays; k += 997) EXPECT_EQ(tidy.DegreesOfDay(k), plain.DegreesOfDay(k)) << k;
}

TEST(PlutoTable, RefusesShortAndCorruptFilesNamingTheLine) {
    struct Case {
        const char* name;
        std::string text;
        std::string mustContain;
    };
    // Line 1 blank, so day k is on line k + 2; day 6 (line 8) is cut to "ab".
    std::string shortLine = "\r\n";
    for (int k = 0; k < kPlutoRequiredDays; ++k) {
        shortLine += (k == 6 ? std::string("ab") : EncodePlutoLine(SmoothPluto(k), k)) + "\r\n";
    }
    std::string corrupt = PlutoText(SmoothPluto);
    corrupt[6 * 10] = '\x7f';  // day 10 (line 11): minutes far above 59
    const Case cases[] = {
        {"OneDayTooFew", PlutoText(SmoothPluto, kPlutoRequiredDays - 1), "219146 day lines"},
        {"Empty", "", "holds 0 day lines"},
        {"LineShorterThanFour", shortLine, "line 8:"},
        {"CharacterOutOfRange", corrupt, "line 11:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlutoTable table;
        ASSERT_EQ(table.LoadFromText(PlutoText(SmoothPluto), "good"), "");
        const std::string error = table.LoadFromText(c.text, "hpluto.2199.slx");
        EXPECT_NE(error.find(c.mustContain), std::string::npos) << error;
        EXPECT_NE(error.find("hpluto.2199.slx"), std::string::npos) << error;
        EXPECT_FALSE(table.Available());
        EXPECT_EQ(table.Longitude(2451545.0), kDataFileUnreadable);
        EXPECT_EQ(table.DegreesOfDay(0), kAfterDataRange);
    }
}

// The file is read in pieces: lines cut at the ends of the pieces, blank and
// untidy lines and one line longer than a piece must read as from one text.
TEST_F(PlutoFileTest, FileReadsAsItsWholeText) {
    std::string text;
    for (int k = 0; k < kPlutoRequiredDays; ++k) {
        if (k % 4999 == 0) text += "\r\n \t\r\n";
        text += (k % 3 == 1 ? "  " : "") + EncodePlutoLine(SmoothPluto(k), k);
        if (k == 70000) text += std::string(200000, 'x');  // ignored after the fourth character
        text += k % 2 ? "\n" : "\r\n";
    }
    Write(kPlutoFileName, text);
    PlutoTable fromText;
    ASSERT_EQ(fromText.LoadFromText(text, "text"), "");
    PlutoTable fromFile;
    ASSERT_EQ(fromFile.Load((folder_ / kPlutoFileName).string()), "");
    ASSERT_EQ(fromFile.DayCount(), fromText.DayCount());
    for (int k = 0; k < fromText.DayCount(); ++k) {
        ASSERT_EQ(fromFile.DegreesOfDay(k), fromText.DegreesOfDay(k)) << k;
    }
    // A fault far into the file is found at its line.
    const size_t at = text.find(EncodePlutoLine(SmoothPluto(150000), 150000));
    ASSERT_NE(at, std::string::npos);
    text[at] = '\x7f';
    Write(kPlutoFileName, text);
    const std::string error = fromFile.Load((folder_ / kPlutoFileName).string());
    const long line = std::count(text.begin(), text.begin() + static_cast<long>(at), '\n') + 1;
    EXPECT_NE(error.find("line " + std::to_string(line) + ":"), std::string::npos) << error;
    EXPECT_FALSE(fromFile.Available());
}

TEST_F(PlutoFileTest, ProgramTableLoadsFromTheDataFolderOrReportsWhy) {
    SetDataFolder(folder_.string());
    std::string error;
    EXPECT_FALSE(LoadPlutoTable(kPlutoFileName, error));
    EXPECT_NE(error.find(kPlutoFileName), std::string::npos) << error;
    EXPECT_FALSE(PlutoAvailable());
    EXPECT_EQ(HelioLongitude(9, 2451545.0), kDataFileMissing);

    Write(kPlutoFileName, PlutoText(SmoothPluto));
    ASSERT_TRUE(LoadPlutoTable(kPlutoFileName, error)) << error;
    EXPECT_EQ(error, "");
    EXPECT_TRUE(PlutoAvailable());
    const int k = 2451545 - kPlutoFirstDayNumber;
    EXPECT_NEAR(PlutoDegreesOfDay(k), SmoothPluto(k), kArcsecond);
    EXPECT_DOUBLE_EQ(HelioLongitude(9, AjdAt0hUT(2451545)), PlutoDegreesOfDay(k) * kRadPerDeg);
    EXPECT_EQ(HelioLongitude(9, AjdAt0hUT(kPlutoLastDayNumber + 1)), kAfterDataRange);

    // A short file leaves Pluto unavailable, as a missing one does; its
    // positions say "unreadable" (-103) rather than "missing" (-101).
    Write(kPlutoFileName, PlutoText(SmoothPluto, 100));
    EXPECT_FALSE(LoadPlutoTable(kPlutoFileName, error));
    EXPECT_FALSE(PlutoAvailable());
    EXPECT_EQ(HelioLongitude(9, 2451545.0), kDataFileUnreadable);
}

TEST(DataFiles, FolderLengthIsCheckedAgainstTheLibrarysPathLimit) {
    // 255 bytes for folder and name; "jupiter.dac" is the longest name (11).
    EXPECT_EQ(LongestUsableDataFolder(), 244u);
    EXPECT_EQ(DataFolderTooLongMessage(std::string(243, 'a')), "");  // + separator = 244
    const std::string message = DataFolderTooLongMessage(std::string(244, 'a'));
    EXPECT_NE(message.find("is too long"), std::string::npos) << message;
    EXPECT_NE(message.find("245 characters, at most 244"), std::string::npos) << message;
    // The warning of the window names the folder and each file, Pluto apart.
    const std::string warning = DataFilesWarning(
        {{5, "jupiter.dac", kDataFileMissing, "missing or cannot be opened"}, {9, kPlutoFileName, -101, "x"}},
        "/opt/vemo");
    EXPECT_EQ(warning,
              "These planet data files in the folder \"/opt/vemo\" cannot be used:\r\n"
              "jupiter.dac: missing or cannot be opened\r\n\r\nAspects of these planets cannot be displayed.");
    EXPECT_EQ(DataFilesWarning({{9, kPlutoFileName, -101, "x"}}, "/opt/vemo"), "");
}

}  // namespace
}  // namespace vemo
