// vemo-cli positions: argument checking and the two output formats; the
// program run from a folder of its own is in test_positions_run.cpp.

#include "cli/positions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

namespace {

using vemo::cli::Arguments;
using vemo::cli::PositionsOptions;

struct ArgsRow {
    const char *name;
    Arguments args;
    bool ok;
    bool hasJd;
    double jd;
    bool json;
};

TEST(PositionsArguments, AcceptedAndRefused) {
    const ArgsRow rows[] = {
        {"NoArguments", {}, true, false, 0, false},
        {"JdSeparate", {"--jd", "2451545"}, true, true, 2451545, false},
        {"JdInline", {"--jd=2451545.25"}, true, true, 2451545.25, false},
        {"JdZero", {"--jd", "0"}, true, true, 0, false},
        {"JdNegativeZeroIsZero", {"--jd", "-0"}, true, true, 0, false},
        {"JdNegativeZeroInline", {"--jd=-0.0e5"}, true, true, 0, false},
        {"JdRepeatedKeepsTheLast", {"--jd", "1", "--jd=2451545"}, true, true, 2451545, false},
        {"JdUpperLimit", {"--jd", "4000000"}, true, true, 4000000, false},
        {"JdExponent", {"--jd", "2.4e6"}, true, true, 2400000, false},
        {"FormatJson", {"--format", "json"}, true, false, 0, true},
        {"FormatTextAfterJson", {"--format=json", "--format", "text"}, true, false, 0, false},
        {"JdNegative", {"--jd", "-1"}, false, false, 0, false},
        {"JdTooLarge", {"--jd", "4000000.5"}, false, false, 0, false},
        {"JdNaN", {"--jd", "nan"}, false, false, 0, false},
        {"JdInfinity", {"--jd", "inf"}, false, false, 0, false},
        {"JdTrailingText", {"--jd", "2451545x"}, false, false, 0, false},
        {"JdEmpty", {"--jd="}, false, false, 0, false},
        {"JdMissingValue", {"--jd"}, false, false, 0, false},
        {"FormatUnknown", {"--format", "xml"}, false, false, 0, false},
        {"UnknownOption", {"--when", "2000-01-01"}, false, false, 0, false},
        {"DateIsNotAJd", {"--date", "2000-01-01"}, true, false, 0, false},
        {"DateAndJdExcludeEachOther", {"--date", "2000-01-01", "--jd", "2451545"}, false, false, 0, false},
        {"JdAndDateExcludeEachOther", {"--jd=2451545", "--date=2000-01-01"}, false, false, 0, false},
        {"DateMalformed", {"--date", "2000-1-1"}, false, false, 0, false},
        {"StrayWord", {"now"}, false, false, 0, false},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        PositionsOptions options;
        const std::string error = vemo::cli::ParsePositionsArguments(row.args, options);
        EXPECT_EQ(error.empty(), row.ok) << error;
        if (row.ok) {
            EXPECT_EQ(options.hasJd, row.hasJd);
            EXPECT_EQ(options.jd, row.jd);
            EXPECT_FALSE(std::signbit(options.jd)) << "printed as -0";
            EXPECT_EQ(options.json, row.json);
        } else {
            EXPECT_EQ(error.find('\n'), std::string::npos) << "one-line message";
        }
    }
}

vemo::cli::PositionSet sample_set() {
    vemo::cli::PositionSet set;
    set.jd = 2451545.0;
    const char *names[9] = {"Earth", "Mercury", "Venus", "Mars", "Jupiter",
                            "Saturn", "Uranus", "Neptune", "Pluto"};
    for (int i = 0; i < 9; ++i) {
        auto &b = set.bodies[i];
        b.number = i + 1;
        b.name = names[i];
        b.longitude = -101;
    }
    set.bodies[0] = {1, "Earth", 1.75, true, 0.0, 0.98};
    set.bodies[8].longitude = -999;
    return set;
}

TEST(PositionsOutput, JsonCarriesErrorValuesWithNullLatitudeAndRadius) {
    const std::string json = vemo::cli::FormatPositionsJson(sample_set());
    EXPECT_EQ(json.rfind("{\"jd\": 2451545, \"planets\": [", 0), 0u) << json;
    EXPECT_NE(json.find("{\"number\": 1, \"name\": \"Earth\", \"longitude\": 1.75, "
                        "\"latitude\": 0, \"radius\": 0.98}"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("{\"number\": 5, \"name\": \"Jupiter\", \"longitude\": -101, "
                        "\"latitude\": null, \"radius\": null}"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("{\"number\": 9, \"name\": \"Pluto\", \"longitude\": -999, "
                        "\"latitude\": null, \"radius\": null}]}"),
              std::string::npos)
        << json;
}

TEST(PositionsOutput, JsonNumbersReadBackExactly) {
    const double values[] = {0.1, 1.0 / 3.0, 6.283185307179585, 2461381.721907976, -101};
    for (double v : values) EXPECT_EQ(std::stod(vemo::cli::JsonNumber(v)), v);
    EXPECT_EQ(vemo::cli::JsonNumber(NAN), "null");
}

TEST(PositionsOutput, TextHasOneLinePerBodyWithDegreesOrTheErrorMeaning) {
    const std::string text = vemo::cli::FormatPositionsText(sample_set());
    int lines = 0;
    for (char c : text) lines += c == '\n';
    EXPECT_EQ(lines, 10);  // heading and nine bodies
    EXPECT_NE(text.find("1 Earth     100.267614 deg 1.75000000 rad"), std::string::npos) << text;
    EXPECT_NE(text.find("5 Jupiter  error -101: missing or cannot be opened"), std::string::npos)
        << text;
    EXPECT_NE(text.find("9 Pluto    error -999"), std::string::npos) << text;
}

}  // namespace
