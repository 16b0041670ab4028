// Picture converter: pixels survive BMP -> PNG, failures explain themselves, leave
// no file behind and never write past the 255-byte message. No QGuiApplication is
// created on purpose: the conversion must work without one.

#include "platform/pexalune/pexalune.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <cstring>
#include <string>
#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

using Convert = int (*)(const char *, const char *, char *);
struct Outcome { std::string message; int length; };

// Converts into a 300-byte buffer and checks that bytes 255.. stay untouched.
// An empty path stands for a null one.
Outcome run(Convert fn, const std::string &in, const std::string &out) {
    char buf[300];
    std::memset(buf, 'Z', sizeof buf);
    const int n = fn(in.empty() ? nullptr : in.c_str(), out.empty() ? nullptr : out.c_str(), buf);
    EXPECT_EQ(std::string(buf + kPexaluneMessageChars, buf + sizeof buf), std::string(45, 'Z'));
    EXPECT_TRUE(n >= 0 && n <= kPexaluneMessageChars);
    EXPECT_TRUE(n == kPexaluneMessageChars || buf[n] == '\0');
    return {std::string(buf, static_cast<size_t>(n)), n};
}

QImage sample() {
    QImage image(4, 3, QImage::Format_RGB32);
    const QRgb colours[] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(17, 34, 51)};
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, colours[(x + y) % 4]);
    return image;
}

class Pexalune : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid() && sample().save(dir.filePath("in.bmp"), "BMP"));
        ASSERT_TRUE(sample().save(dir.filePath("png.bmp"), "PNG"));
        QFile text(dir.filePath("text.bmp"));
        ASSERT_TRUE(text.open(QIODevice::WriteOnly) && text.write("not a picture\n") > 0);
    }
    std::string at(const char *name) const { return dir.filePath(name).toStdString(); }
    QTemporaryDir dir;
};

TEST_F(Pexalune, ConvertedPixelsEqualTheOriginal) {
    const struct { Convert fn; const char *in, *out; } rows[] = {
        {convert_graphics_file_3, "in.bmp", "out.png"},
        {convert_graphics_file_3, "in.bmp", "out.dat"},   // PNG whatever the extension
        {convert_graphics_file_2, "in.bmp", "out2.png"},
        {convert_graphics_file_2, "png.bmp", "out3.png"}, // format read from the content
    };
    for (const auto &r : rows) {
        const Outcome o = run(r.fn, at(r.in), at(r.out));
        EXPECT_EQ(o.message, "No Error") << r.out;
        EXPECT_EQ(o.length, static_cast<int>(std::strlen("No Error")));
        const QImage back(dir.filePath(r.out), "PNG");
        ASSERT_EQ(back.size(), sample().size()) << r.out;
        for (int y = 0; y < back.height(); ++y)
            for (int x = 0; x < back.width(); ++x)
                EXPECT_EQ(back.pixel(x, y), sample().pixel(x, y)) << r.out << ' ' << x << ',' << y;
    }
}

TEST_F(Pexalune, FailuresExplainAndLeaveNoFile) {
    const struct { Convert fn; const char *in, *out, *named; } rows[] = {
        {convert_graphics_file_3, "none.bmp", "out.png", "none.bmp"},
        {convert_graphics_file_3, "text.bmp", "out.png", "text.bmp"},
        {convert_graphics_file_3, "png.bmp", "out.png", "png.bmp"},     // BMP only
        {convert_graphics_file_3, "in.bmp", "in.bmp/out.png", "out.png"}, // folder is a file
        {convert_graphics_file_3, "in.bmp", "no/out.png", "out.png"},
        {convert_graphics_file_3, nullptr, "out.png", "BMP"},
        {convert_graphics_file_3, "in.bmp", nullptr, "PNG"},
        {convert_graphics_file_2, "none.bmp", "out.png", "none.bmp"},
        {convert_graphics_file_2, "in.bmp", "out.xyz", "out.xyz"},      // no such format
        {convert_graphics_file_2, "in.bmp", nullptr, "image"},
    };
    for (const auto &r : rows) {
        const std::string out = r.out ? at(r.out) : std::string();
        const Outcome o = run(r.fn, r.in ? at(r.in) : std::string(), out);
        EXPECT_NE(o.message.find(r.named), std::string::npos) << o.message;
        EXPECT_NE(o.message, "No Error");
        EXPECT_FALSE(QFile::exists(dir.filePath(r.out ? r.out : "out.png"))) << o.message;
    }
}

TEST_F(Pexalune, LongMessageIsCutBetweenCharacters) {
    ASSERT_LT(dir.path().size(), 150);  // the cut must fall among the "ä"s
    int cutShort = 0;
    for (const char *lead : {"/", "/a"}) {  // shifts the cut by one byte: one lands inside an "ä"
        std::string path = dir.path().toStdString() + lead;
        while (path.size() < 400) path += "\xc3\xa4\xc3\xa4\xc3\xa4\xc3\xa4/";
        const Outcome o = run(convert_graphics_file_3, path + "x.bmp", at("out.png"));
        EXPECT_GE(o.length, kPexaluneMessageChars - 1) << lead;
        const QByteArray bytes = QByteArray::fromStdString(o.message);
        EXPECT_EQ(QString::fromUtf8(bytes).toUtf8(), bytes) << "not valid UTF-8 after the cut";
        cutShort += o.length < kPexaluneMessageChars;
    }
    EXPECT_EQ(cutShort, 1);
}

// A write that fails once the output file exists (past a file-size limit, as on a
// full disk) leaves no cut picture under the name: the file written in place is
// removed (callers that keep an earlier file name a temporary file).
TEST_F(Pexalune, FailedWriteLeavesNoPartialFile) {
#ifdef Q_OS_UNIX
    ASSERT_TRUE(sample().scaled(300, 300).save(dir.filePath("in.bmp"), "BMP"));
    QFile old(dir.filePath("old.png"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
    old.close();
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 100;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const Outcome fresh = run(convert_graphics_file_3, at("in.bmp"), at("new.png"));
    const Outcome over = run(convert_graphics_file_2, at("in.bmp"), at("old.png"));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_NE(fresh.message, "No Error");
    EXPECT_NE(over.message, "No Error");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).join(' '), "in.bmp png.bmp text.bmp");
#else
    GTEST_SKIP() << "needs a file-size limit";
#endif
}

TEST_F(Pexalune, NullMessageConvertsButReportsNothing) {
    EXPECT_EQ(convert_graphics_file_3(at("in.bmp").c_str(), at("out.png").c_str(), nullptr), 0);
    EXPECT_TRUE(QFile::exists(dir.filePath("out.png")));
}

}  // namespace
