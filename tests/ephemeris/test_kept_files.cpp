// Data files between requests: a file replaced by rename, rewritten in place
// (same size, same times, or through another name), truncated, corrupted,
// removed, restored or made unreadable, a folder above replaced and a new
// folder give the new answer at the very next request, whichever way the
// library checks its files (change notifications, stat, or opening them for
// every request); where notifications cannot keep that promise it falls back
// to stat; and positions through the shipped files stay what they were to
// the last bit.

#include "dac_writer.h"
#include "ephemeris/outer_files.h"
#include "ephemeris/planets_vemo.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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
        const double lon = hc_j2000_long_lat_rv_planet(planet, jd, dac::YearOfJd(jd), &lat, &rv);
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

// Parameter: the check the library makes (PV_CHECK_...). The data folder
// lies two folders down, so that a folder above it can be replaced.
class FileBetweenRequests : public ::testing::TestWithParam<int> {
protected:
    FileBetweenRequests() : dir_("between") {}
    void SetUp() override {
        std::filesystem::create_directories(Data());
        pv_set_file_check(GetParam());
        set_datafiles_folder(Folder().c_str());
    }
    void TearDown() override {
        pv_set_file_check(PV_CHECK_NOTIFY);
        set_datafiles_folder("");
    }
    std::filesystem::path Data() const { return dir_.path() / "above" / "data"; }
    std::string Folder() const { return Data().string() + "/"; }
    void Write(const std::string &name, const std::string &bytes) const {
        std::ofstream out(Data() / name, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    // Uranus at JD0 of record kRecord, through file `name`: the power-0
    // longitude coefficient, or an error value with rv_ untouched.
    double Request(const char *name = "uranus.dac") {
        double lat = 0;
        rv_ = kUntouched;
        return pv_outer_position(dac::jd0_of(1600, kRecord), 1600 + 5 * kRecord, 1600,
                                 PV_LIMIT_YEAR, name, &lat, &rv_);
    }
    std::string Path() const { return (Data() / "uranus.dac").string(); }
    // The check the last request used: notifications where they can be had.
    void ExpectCheck() const {
        EXPECT_EQ(pv_file_check_used(), GetParam() == PV_CHECK_NOTIFY ? PV_CHECK_NOTIFY : GetParam());
    }

    dac::TempFolder dir_;
    double rv_ = 0;
};

INSTANTIATE_TEST_SUITE_P(Ways, FileBetweenRequests,
                         ::testing::Values(PV_CHECK_NOTIFY, PV_CHECK_STAT, PV_CHECK_OPEN),
                         [](const auto &info) {
                             return info.param == PV_CHECK_NOTIFY ? "Notified"
                                    : info.param == PV_CHECK_STAT ? "Stat"
                                                                  : "OpenedEachTime";
                         });

TEST_P(FileBetweenRequests, ChangeAnswersAtTheNextRequest) {
    const double original = dac::coefficients_of(kRecord)[0][0];
    const std::filesystem::path other = dir_.path() / "other";
    struct Row {
        const char *name;
        std::function<void()> change;
        double answer;
    };
    const Row rows[] = {
        {"ReplacedByRename",
         [this] {
             Write("uranus.new", UranusWith(2.5));
             std::filesystem::rename(Data() / "uranus.new", Path());
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
        // A hard link in another folder: nothing happens to the data folder.
        {"RewrittenThroughAnotherName",
         [this, other] {
             std::filesystem::create_directories(other);
             std::filesystem::create_hard_link(Path(), other / "link.dac");
             std::FILE *f = std::fopen((other / "link.dac").c_str(), "r+b");
             ASSERT_NE(f, nullptr);
             std::fseek(f, static_cast<long>(kAt), SEEK_SET);
             std::fwrite(UranusWith(4.5).data() + kAt, 1, dac::kRecordBytes, f);
             std::fclose(f);
         },
         4.5},
        {"Truncated", [this] { std::filesystem::resize_file(Path(), kAt + 100); },
         PV_READ_FAILED},
        {"Corrupted",
         [this] {
             std::string text = dac::file_of(1600, 240);
             text[kAt + 30] = 'x';  // inside the first coefficient
             Write("uranus.dac", text);
         },
         PV_READ_FAILED},
        {"Removed", [this] { std::filesystem::remove(Path()); }, PV_OPEN_FAILED},
        // The folder's path now leads through another folder "above".
        {"FolderAboveReplaced",
         [this] {
             std::filesystem::rename(dir_.path() / "above", dir_.path() / "above.old");
             std::filesystem::create_directories(Data());
             Write("uranus.dac", UranusWith(5.25));
         },
         5.25},
        // A data file that is a symbolic link, its target replaced by rename
        // where no watch of the data folder sees it.
        {"LinkTargetReplaced",
         [this, other, original] {
             std::filesystem::create_directories(other);
             std::filesystem::rename(Path(), other / "target.dac");
             std::filesystem::create_symlink(other / "target.dac", Path());
             ASSERT_EQ(Request(), original);
             std::ofstream(other / "target.new", std::ios::binary) << UranusWith(6.125);
             std::filesystem::rename(other / "target.new", other / "target.dac");
         },
         6.125},
        {"NewFolder",
         [other] {
             std::filesystem::create_directories(other);
             std::ofstream(other / "uranus.dac", std::ios::binary) << UranusWith(7.5);
             set_datafiles_folder((other.string() + "/").c_str());
         },
         7.5},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        std::filesystem::create_directories(Data());
        Write("uranus.dac", dac::file_of(1600, 240));
        ASSERT_EQ(Request(), original);
        ExpectCheck();
        ASSERT_EQ(Request(), original);
        row.change();
        EXPECT_EQ(Request(), row.answer);
        if (row.answer <= PV_BEFORE_DATA) {
            EXPECT_EQ(rv_, kUntouched);
        }
        // Restored: the original file in the original folder.
        set_datafiles_folder(Folder().c_str());
        std::filesystem::remove_all(other);
        std::filesystem::remove_all(dir_.path() / "above.old");
        std::filesystem::remove(Path());
        Write("uranus.dac", dac::file_of(1600, 240));
        EXPECT_EQ(Request(), original);
        ExpectCheck();
    }
}

// A child process inherits the parent's inotify instance: its requests must
// neither take the parent's events nor end the parent's watches.
TEST_P(FileBetweenRequests, ChildProcessLeavesTheParentsNotificationsAlone) {
    Write("uranus.dac", dac::file_of(1600, 240));
    ASSERT_EQ(Request(), dac::coefficients_of(kRecord)[0][0]);
    // Changed before the fork, the event not yet read by the parent.
    Write("uranus.dac", UranusWith(8.25));
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) ::_exit(Request() == 8.25 ? 0 : 1);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(Request(), 8.25);
    ExpectCheck();
}

// Where notifications could miss a change, requests fall back to stat and
// still answer every change at once: a relative folder (the working folder
// may change), a symbolic link or a "." among the folder's components.
TEST(FileChecks, NotificationsFallBackToStatWhereTheyCouldMissAChange) {
    dac::TempFolder dir("fallback");
    const std::filesystem::path data = dir.path() / "data";
    std::filesystem::create_directories(data);
    std::filesystem::create_directory_symlink(dir.path(), dir.path() / "link");
    const std::filesystem::path cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    struct Row {
        const char *name;
        std::string folder;
        int check;
    } rows[] = {
        {"Absolute", data.string() + "/", PV_CHECK_NOTIFY},
        {"Relative", "data/", PV_CHECK_STAT},
        {"ThroughASymbolicLink", (dir.path() / "link" / "data").string() + "/", PV_CHECK_STAT},
        {"WithADot", (dir.path() / "." / "data").string() + "/", PV_CHECK_STAT},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        set_datafiles_folder(row.folder.c_str());
        for (double value : {1.5, 2.5, 3.5}) {
            std::ofstream(data / "uranus.new", std::ios::binary) << UranusWith(value);
            std::filesystem::rename(data / "uranus.new", data / "uranus.dac");
            double lat = 0, rv = 0;
            EXPECT_EQ(pv_outer_position(dac::jd0_of(1600, kRecord), 1600 + 5 * kRecord, 1600,
                                        PV_LIMIT_YEAR, "uranus.dac", &lat, &rv),
                      value);
            EXPECT_EQ(pv_file_check_used(), row.check);
        }
    }
    std::filesystem::current_path(cwd);
    set_datafiles_folder("");
}

// Without read permission the request says what a fresh open says (refused,
// or read anyway by the superuser).
TEST_P(FileBetweenRequests, PermissionTakenAwayAnswersAsAFreshOpen) {
    Write("uranus.dac", dac::file_of(1600, 240));
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
             Write("neptune.dac", dac::planet_file(8));
             double rv = 0;
             if (hc_j2000_long_rv_planet(8, 2451545.0, 2000, &rv) <= PV_BEFORE_DATA) return -1;
             std::filesystem::remove(p);
             return fifo(p);
         }},
    };
    ::alarm(10);
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_EQ(row.make((Data() / row.file).string()), 0);
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
    for (int i = 0; i < 6; ++i) Write(names[i], UranusWith(1.0 + i));
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
