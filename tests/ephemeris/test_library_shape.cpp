// The shared library exports exactly its three functions and needs nothing
// but the C library: the main program loads it by name on any machine.

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <sstream>
#include <string>

namespace {

// Runs a command and returns its standard output; ok is false when it could
// not be run or failed.
std::string run(const std::string &command, bool &ok) {
    std::string out;
    ok = false;
    FILE *pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return out;
    char buffer[512];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    ok = pclose(pipe) == 0;
    return out;
}

class LibraryShape : public ::testing::Test {
protected:
    void SetUp() override {
#ifdef PV_SANITIZER_BUILD
        GTEST_SKIP() << "the sanitizer runtime adds its own NEEDED entries";
#endif
        bool ok = false;
        run("readelf --version", ok);
        if (!ok) GTEST_SKIP() << "readelf is not available";
    }
    const std::string library = PV_SHARED_LIBRARY;
};

TEST_F(LibraryShape, ExportsExactlyTheThreeFunctions) {
    bool ok = false;
    const std::string table = run("readelf -W --dyn-syms '" + library + "'", ok);
    ASSERT_TRUE(ok) << table;
    std::set<std::string> defined;
    std::istringstream lines(table);
    std::string line;
    while (std::getline(lines, line)) {
        // Num: Value Size Type Bind Vis Ndx Name
        std::istringstream fields(line);
        std::string num, value, size, type, bind, vis, ndx, name;
        if (!(fields >> num >> value >> size >> type >> bind >> vis >> ndx >> name)) continue;
        if (num.empty() || num.back() != ':') continue;
        if (ndx == "UND" || (bind != "GLOBAL" && bind != "WEAK")) continue;
        defined.insert(name);
    }
    const std::set<std::string> expected = {"set_datafiles_folder", "hc_j2000_long_lat_rv_planet",
                                            "hc_j2000_long_rv_planet"};
    EXPECT_EQ(defined, expected);
}

TEST_F(LibraryShape, NeedsOnlyTheCLibrary) {
    bool ok = false;
    const std::string dynamic = run("readelf -d '" + library + "'", ok);
    ASSERT_TRUE(ok) << dynamic;
    std::istringstream lines(dynamic);
    std::string line;
    int needed = 0;
    while (std::getline(lines, line)) {
        if (line.find("(NEEDED)") == std::string::npos) continue;
        const auto open = line.find('[');
        const auto close = line.find(']');
        ASSERT_NE(open, std::string::npos) << line;
        const std::string name = line.substr(open + 1, close - open - 1);
        ++needed;
        EXPECT_TRUE(name.rfind("libc.so", 0) == 0 || name.rfind("libm.so", 0) == 0)
            << "unexpected dependency " << name;
    }
    EXPECT_GE(needed, 1);
}

}  // namespace
