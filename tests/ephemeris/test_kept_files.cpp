// Data files between requests: a file replaced by rename, rewritten in place
// (same size, same time stamps), truncated, removed or made unreadable gives
// the new answer at the very next request, whether the library holds its files
// open or opens them for every request. And positions through the shipped
// files stay what they were to the last bit.

#include "dac_writer.h"
#include "ephemeris/outer_files.h"
#include "ephemeris/planets_vemo.h"
#include "position_sweep.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <cinttypes>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

constexpr double kUntouched = 12345.0;
constexpr int kRecord = 80;  // Uranus, years 2000..2004

// Uranus' file with record k's power-0 longitude set to value.
std::string UranusWith(int k, double value) {
    auto c = dac::coefficients_of(k);
    c[0][0] = value;
    std::string text = dac::file_of(1600, 240);
    text.replace(static_cast<size_t>(k) * dac::kRecordBytes, dac::kRecordBytes,
                 dac::record(k, dac::jd0_of(1600, k), c));
    return text;
}

// Parameter: 1 the files are held open, 0 opened for every request.
class FileBetweenRequests : public ::testing::TestWithParam<int> {
protected:
    FileBetweenRequests() : dir_("between") {}
    void SetUp() override {
        pv_keep_files(GetParam());
        dir_.write("uranus.dac", dac::file_of(1600, 240));
        set_datafiles_folder(dir_.folder().c_str());
    }
    void TearDown() override {
        pv_keep_files(1);
        set_datafiles_folder("");
    }
    // Uranus at JD0 of record k: the power-0 coefficients, or an error value
    // with lat_ and rv_ untouched.
    double Request(int k = kRecord) {
        lat_ = rv_ = kUntouched;
        return pv_outer_position(dac::jd0_of(1600, k), 1600 + 5 * k, 1600, PV_LIMIT_YEAR,
                                 "uranus.dac", &lat_, &rv_);
    }
    std::string Path() const { return (dir_.path() / "uranus.dac").string(); }

    dac::TempFolder dir_;
    double lat_ = 0, rv_ = 0;
};

INSTANTIATE_TEST_SUITE_P(Ways, FileBetweenRequests, ::testing::Values(1, 0),
                         [](const auto& info) { return info.param ? "HeldOpen" : "OpenedEachTime"; });

TEST_P(FileBetweenRequests, ReplacedByRenameAnswersAtOnce) {
    const double before = Request();
    EXPECT_EQ(before, dac::coefficients_of(kRecord)[0][0]);
    dir_.write("uranus.new", UranusWith(kRecord, 2.5));
    std::filesystem::rename(dir_.path() / "uranus.new", Path());
    EXPECT_EQ(Request(), 2.5);
    dir_.write("uranus.new", dac::file_of(1600, 240));
    std::filesystem::rename(dir_.path() / "uranus.new", Path());
    EXPECT_EQ(Request(), before);
}

// The same size and, set back by hand, the same modification time: only the
// bytes tell the new record from the old.
TEST_P(FileBetweenRequests, RewrittenInPlaceWithTheSameSizeAndTimesAnswersAtOnce) {
    struct stat before {};
    ASSERT_EQ(::stat(Path().c_str(), &before), 0);
    const double original = Request();
    for (const double value : {2.5, 3.75, original}) {
        SCOPED_TRACE(value);
        const std::string text = UranusWith(kRecord, value);
        std::FILE* f = std::fopen(Path().c_str(), "r+b");
        ASSERT_NE(f, nullptr);
        ASSERT_EQ(std::fseek(f, kRecord * dac::kRecordBytes, SEEK_SET), 0);
        ASSERT_EQ(std::fwrite(text.data() + kRecord * dac::kRecordBytes, 1, dac::kRecordBytes, f),
                  static_cast<size_t>(dac::kRecordBytes));
        std::fclose(f);
        const struct timespec times[2] = {before.st_atim, before.st_mtim};
        ASSERT_EQ(::utimensat(AT_FDCWD, Path().c_str(), times, 0), 0);
        struct stat after {};
        ASSERT_EQ(::stat(Path().c_str(), &after), 0);
        ASSERT_EQ(after.st_ino, before.st_ino);
        ASSERT_EQ(after.st_size, before.st_size);
        EXPECT_EQ(Request(), value);
        EXPECT_EQ(rv_, 1.0 + kRecord);
    }
}

TEST_P(FileBetweenRequests, RemovedTruncatedOrCorruptAnswersAtOnceAndRecovers) {
    const double original = Request();
    std::filesystem::remove(Path());
    EXPECT_EQ(Request(), PV_OPEN_FAILED);
    EXPECT_EQ(lat_, kUntouched);
    EXPECT_EQ(rv_, kUntouched);
    dir_.write("uranus.dac", dac::file_of(1600, 240));
    EXPECT_EQ(Request(), original);

    std::filesystem::resize_file(Path(), kRecord * dac::kRecordBytes + 100);
    EXPECT_EQ(Request(), PV_READ_FAILED);
    EXPECT_EQ(rv_, kUntouched);
    EXPECT_EQ(Request(kRecord - 1), dac::coefficients_of(kRecord - 1)[0][0]);

    std::string corrupt = dac::file_of(1600, 240);
    corrupt[kRecord * dac::kRecordBytes + 30] = 'x';  // inside the first coefficient
    dir_.write("uranus.dac", corrupt);
    EXPECT_EQ(Request(), PV_READ_FAILED);
    EXPECT_EQ(rv_, kUntouched);
    dir_.write("uranus.dac", dac::file_of(1600, 240));
    EXPECT_EQ(Request(), original);
}

// Whatever a fresh open says about a file without read permission (refused,
// or read anyway when running as the superuser), the request says too.
TEST_P(FileBetweenRequests, PermissionTakenAwayAnswersAsAFreshOpen) {
    ASSERT_GT(Request(), PV_BEFORE_DATA);
    ASSERT_EQ(::chmod(Path().c_str(), 0), 0);
    pv_outer_record fresh{};
    const int status = pv_read_record_file(Path().c_str(), kRecord, &fresh);
    const double answer = Request();
    ::chmod(Path().c_str(), 0644);
    if (status == 0) {
        EXPECT_EQ(answer, fresh.coef[0][0]);
    } else {
        EXPECT_EQ(answer, status);
        EXPECT_EQ(rv_, kUntouched);
    }
}

TEST_P(FileBetweenRequests, AnotherFolderIsReadAtOnce) {
    const double original = Request();
    dac::TempFolder other("between-other");
    other.write("uranus.dac", UranusWith(kRecord, 2.5));
    set_datafiles_folder(other.folder().c_str());
    EXPECT_EQ(Request(), 2.5);
    set_datafiles_folder(dir_.folder().c_str());
    EXPECT_EQ(Request(), original);
}

// More files than the library holds at once, each asked for in turn.
TEST_P(FileBetweenRequests, FilesTakingTurnsKeepTheirOwnRecords) {
    const char* names[] = {"a.dac", "b.dac", "c.dac", "d.dac", "e.dac", "f.dac"};
    for (int i = 0; i < 6; ++i) dir_.write(names[i], UranusWith(kRecord, 1.0 + i));
    for (int round = 0; round < 3; ++round) {
        for (int i : {0, 5, 1, 4, 2, 3, 0, 0, 5}) {
            SCOPED_TRACE(names[i]);
            double lat = 0, rv = 0;
            EXPECT_EQ(pv_outer_position(dac::jd0_of(1600, kRecord), 1600 + 5 * kRecord, 1600,
                                        PV_LIMIT_YEAR, names[i], &lat, &rv),
                      1.0 + i);
        }
    }
}

TEST(RecordReader, OffsetThatCannotBeRepresentedIsAPositioningFailure) {
    dac::TempFolder dir("offset");
    dir.write("uranus.dac", dac::file_of(1600, 2));
    pv_outer_record rec{};
    const std::string path = (dir.path() / "uranus.dac").string();
    EXPECT_EQ(pv_read_record_file(path.c_str(), -1, &rec), PV_SEEK_FAILED);
    EXPECT_EQ(pv_read_record_file(path.c_str(), 1, &rec), 0);
    EXPECT_EQ(rec.jd0, dac::jd0_of(1600, 1));
    EXPECT_EQ(pv_read_record_file(path.c_str(), 2, &rec), PV_READ_FAILED);
    EXPECT_EQ(pv_read_record_file((path + ".missing").c_str(), 0, &rec), PV_OPEN_FAILED);
}

// Every line of the reference: planet, span of Julian dates, step and hash.
class ShippedPositions : public ::testing::TestWithParam<int> {};

INSTANTIATE_TEST_SUITE_P(Ways, ShippedPositions, ::testing::Values(1, 0),
                         [](const auto& info) { return info.param ? "HeldOpen" : "OpenedEachTime"; });

TEST_P(ShippedPositions, SameToTheLastBitAsTheStdioReader) {
    std::ifstream in(VEMO_OUTER_POSITIONS_REFERENCE);
    ASSERT_TRUE(in) << VEMO_OUTER_POSITIONS_REFERENCE;
    pv_keep_files(GetParam());
    set_datafiles_folder(VEMO_SHIPPED_DATA_FOLDER);
    int lines = 0;
    std::string line;
    while (std::getline(in, line)) {
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
    pv_keep_files(1);
    set_datafiles_folder("");
}

}  // namespace
