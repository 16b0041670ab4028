// Data files between requests: a file replaced by rename, rewritten in place
// (same size, same times), truncated, corrupted, removed or made unreadable
// gives the new answer at the very next request, whether the library holds
// its files open or opens them for every request; and positions through the
// shipped files stay what they were to the last bit.

#include "dac_writer.h"
#include "ephemeris/outer_files.h"
#include "ephemeris/planets_vemo.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

namespace {

// The positions of the reference file: a sweep of dates, the longitude,
// latitude and radius vector of each folded with their exact bit patterns
// (error values too) into one 64-bit FNV-1a hash.
namespace sweep {

// Calendar year (proleptic Gregorian, astronomical numbering) of the civil day
// of an astronomical Julian date; the days-from-civil inverse of
// H. Hinnant's "chrono-compatible low-level date algorithms".
int32_t YearOfJd(double jd) {
    const int64_t day = static_cast<int64_t>(jd + 0.5 + 1e6) - 1000000;  // floor for jd > -1e6
    const int64_t z = day - 1721120;  // days from 0000-03-01
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int64_t month = mp < 10 ? mp + 3 : mp - 9;
    return static_cast<int32_t>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

void Fold(uint64_t& hash, double value) {
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 8; ++i) {
        hash ^= (bits >> (8 * i)) & 0xff;
        hash *= 1099511628211ull;
    }
}

// Hash of library planet `planet` at jd = first, first + step, ... < last.
uint64_t Hash(int32_t planet, double first, double last, double step) {
    uint64_t hash = 14695981039346656037ull;
    for (double jd = first; jd < last; jd += step) {
        double lat = -1.0, rv = -1.0;
        const double lon = hc_j2000_long_lat_rv_planet(planet, jd, YearOfJd(jd), &lat, &rv);
        Fold(hash, lon);
        Fold(hash, lat);
        Fold(hash, rv);
    }
    return hash;
}

}  // namespace sweep

constexpr double kUntouched = 12345.0;
constexpr int kRecord = 80;  // Uranus, years 2000..2004
constexpr size_t kAt = kRecord * dac::kRecordBytes;

// Uranus' file with record kRecord's power-0 longitude set to value.
std::string UranusWith(double value) {
    auto c = dac::coefficients_of(kRecord);
    c[0][0] = value;
    std::string text = dac::file_of(1600, 240);
    text.replace(kAt, dac::kRecordBytes, dac::record(kRecord, dac::jd0_of(1600, kRecord), c));
    return text;
}

// Parameter: 1 the files are held open, 0 opened for every request.
class FileBetweenRequests : public ::testing::TestWithParam<int> {
protected:
    FileBetweenRequests() : dir_("between") {}
    void SetUp() override {
        pv_keep_files(GetParam());
        set_datafiles_folder(dir_.folder().c_str());
    }
    void TearDown() override {
        pv_keep_files(1);
        set_datafiles_folder("");
    }
    // Uranus at JD0 of record kRecord, through file `name`: the power-0
    // longitude coefficient, or an error value with rv_ untouched.
    double Request(const char *name = "uranus.dac") {
        double lat = 0;
        rv_ = kUntouched;
        return pv_outer_position(dac::jd0_of(1600, kRecord), 1600 + 5 * kRecord, 1600,
                                 PV_LIMIT_YEAR, name, &lat, &rv_);
    }
    std::string Path() const { return (dir_.path() / "uranus.dac").string(); }

    dac::TempFolder dir_;
    double rv_ = 0;
};

INSTANTIATE_TEST_SUITE_P(Ways, FileBetweenRequests, ::testing::Values(1, 0),
                         [](const auto &info) { return info.param ? "HeldOpen" : "OpenedEachTime"; });

TEST_P(FileBetweenRequests, ChangeAnswersAtTheNextRequest) {
    const double original = dac::coefficients_of(kRecord)[0][0];
    struct Row {
        const char *name;
        std::function<void()> change;
        double answer;
    };
    const Row rows[] = {
        {"ReplacedByRename",
         [this] {
             dir_.write("uranus.new", UranusWith(2.5));
             std::filesystem::rename(dir_.path() / "uranus.new", Path());
         },
         2.5},
        // Same inode, size and times: only the bytes tell.
        {"RewrittenInPlaceWithTheSameTimes",
         [this] {
             struct stat before {};
             ASSERT_EQ(::stat(Path().c_str(), &before), 0);
             std::FILE *f = std::fopen(Path().c_str(), "r+b");
             ASSERT_NE(f, nullptr);
             std::fseek(f, static_cast<long>(kAt), SEEK_SET);
             std::fwrite(UranusWith(3.75).data() + kAt, 1, dac::kRecordBytes, f);
             std::fclose(f);
             const struct timespec times[2] = {before.st_atim, before.st_mtim};
             ASSERT_EQ(::utimensat(AT_FDCWD, Path().c_str(), times, 0), 0);
         },
         3.75},
        {"Truncated", [this] { std::filesystem::resize_file(Path(), kAt + 100); },
         PV_READ_FAILED},
        {"Corrupted",
         [this] {
             std::string text = dac::file_of(1600, 240);
             text[kAt + 30] = 'x';  // inside the first coefficient
             dir_.write("uranus.dac", text);
         },
         PV_READ_FAILED},
        {"Removed", [this] { std::filesystem::remove(Path()); }, PV_OPEN_FAILED},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        dir_.write("uranus.dac", dac::file_of(1600, 240));
        ASSERT_EQ(Request(), original);
        row.change();
        EXPECT_EQ(Request(), row.answer);
        if (row.answer <= PV_BEFORE_DATA) {
            EXPECT_EQ(rv_, kUntouched);
        }
        dir_.write("uranus.dac", dac::file_of(1600, 240));
        EXPECT_EQ(Request(), original);
    }
}

// Without read permission the request says what a fresh open says (refused,
// or read anyway by the superuser).
TEST_P(FileBetweenRequests, PermissionTakenAwayAnswersAsAFreshOpen) {
    dir_.write("uranus.dac", dac::file_of(1600, 240));
    ASSERT_GT(Request(), PV_BEFORE_DATA);
    ASSERT_EQ(::chmod(Path().c_str(), 0), 0);
    pv_outer_record fresh{};
    const int status = pv_read_record_file(Path().c_str(), kRecord, &fresh);
    const double answer = Request();
    ::chmod(Path().c_str(), 0644);
    EXPECT_EQ(answer, status == 0 ? fresh.coef[0][0] : status);
    EXPECT_EQ(pv_read_record_file(Path().c_str(), -1, &fresh), PV_SEEK_FAILED);
}

// A FIFO, directory or device in place of a data file answers -101 at once,
// as a missing file does, also where a regular file was held a moment before.
// A FIFO without a writer would block open() for good: SIGALRM ends the test
// process (a failure) rather than let it hang.
TEST_P(FileBetweenRequests, NonRegularFileAnswersOpenFailedAtOnce) {
    struct Row {
        const char *name;
        int32_t planet;
        const char *file;
        std::function<int(const std::string &)> make;  // 0 when made
    };
    const auto fifo = [](const std::string &p) { return ::mkfifo(p.c_str(), 0644); };
    const Row rows[] = {
        {"Fifo", 5, "jupiter.dac", fifo},
        {"Directory", 6, "saturn.dac", [](const std::string &p) { return ::mkdir(p.c_str(), 0755); }},
        {"CharacterDevice", 7, "uranus.dac",
         [](const std::string &p) { return ::symlink("/dev/zero", p.c_str()); }},
        {"FifoInPlaceOfAHeldFile", 8, "neptune.dac",
         [this, fifo](const std::string &p) {
             dir_.write("neptune.dac", dac::file_of(1600, 240));
             double rv = 0;
             if (hc_j2000_long_rv_planet(8, 2451545.0, 2000, &rv) <= PV_BEFORE_DATA) return -1;
             std::filesystem::remove(p);
             return fifo(p);
         }},
    };
    ::alarm(10);
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_EQ(row.make((dir_.path() / row.file).string()), 0);
        double lat = kUntouched, rv = kUntouched;
        EXPECT_EQ(hc_j2000_long_lat_rv_planet(row.planet, 2451545.0, 2000, &lat, &rv),
                  PLANETS_VEMO_OPEN_FAILED);
        EXPECT_EQ(hc_j2000_long_rv_planet(row.planet, 2451545.0, 2000, &rv),
                  PLANETS_VEMO_OPEN_FAILED);
        EXPECT_EQ(lat, kUntouched);
        EXPECT_EQ(rv, kUntouched);
    }
    ::alarm(0);
}

// More files than the library holds at once, asked for in turn.
TEST_P(FileBetweenRequests, FilesTakingTurnsKeepTheirOwnRecords) {
    const char *names[] = {"a.dac", "b.dac", "c.dac", "d.dac", "e.dac", "f.dac"};
    for (int i = 0; i < 6; ++i) dir_.write(names[i], UranusWith(1.0 + i));
    for (int round = 0; round < 3; ++round) {
        for (int i : {0, 5, 1, 4, 2, 3, 0, 0, 5}) EXPECT_EQ(Request(names[i]), 1.0 + i) << names[i];
    }
}

// Each line of the reference: planet, span of Julian dates, step and hash.
TEST_P(FileBetweenRequests, ShippedPositionsSameToTheLastBitAsTheStdioReader) {
    std::ifstream in(VEMO_OUTER_POSITIONS_REFERENCE);
    ASSERT_TRUE(in) << VEMO_OUTER_POSITIONS_REFERENCE;
    set_datafiles_folder(VEMO_SHIPPED_DATA_FOLDER);
    int lines = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        int planet = 0;
        double first = 0, last = 0, step = 0;
        std::string expected;
        ASSERT_TRUE(fields >> planet >> first >> last >> step >> expected) << line;
        char actual[32];
        std::snprintf(actual, sizeof actual, "%016" PRIx64, sweep::Hash(planet, first, last, step));
        EXPECT_EQ(actual, expected) << line;
        ++lines;
    }
    EXPECT_EQ(lines, 44);
}

}  // namespace
