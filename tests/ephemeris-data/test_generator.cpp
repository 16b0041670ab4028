// Unit tests of the data generator's pieces that do not need the ephemeris:
// the polynomial fit and its change of basis, the 10-character fields of the
// .dac records, and the Pluto table's encoding.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "app/time/pluto_table.h"
#include "ephemeris/outer_files.h"
#include "tools/ephemeris-data/dac_format.h"
#include "tools/ephemeris-data/pluto_code.h"
#include "tools/ephemeris-data/polynomial_fit.h"

namespace ed = ephemeris_data;

namespace {

// ---------------------------------------------------------------- fitting

TEST(PolynomialFit, ReproducesADegreeSixPolynomialInTheLibrarysTimeArgument) {
    // p(JD) with JD0 = 2451545, over a half length of 916.5 days.
    const double half_length = 916.5;
    const ed::PowerCoefficients truth = {4.1, 2.9, -0.3, 0.05, 0.01, -0.002, 0.0007};
    std::vector<double> values;
    for (double x : ed::ChebyshevNodes(48)) {
        values.push_back(ed::EvaluatePower(truth, x * half_length / ed::kTimeUnitDays));
    }
    const auto fitted = ed::ChebyshevToPowerInT(ed::FitChebyshev(values), half_length);
    for (int p = 0; p < ed::kCoefficients; ++p) {
        EXPECT_NEAR(fitted[static_cast<std::size_t>(p)], truth[static_cast<std::size_t>(p)], 1e-11) << "power " << p;
    }
}

TEST(PolynomialFit, ErrorOfASmoothNonPolynomialStaysNearTheChebyshevBound) {
    // sin(a x) on [-1, 1]: the degree-6 Chebyshev truncation errs by about
    // a^7 / (2^6 7!) (the first neglected term); the discrete fit must be as good.
    const double a = 1.3, half_length = 1000.0;
    std::vector<double> values;
    for (double x : ed::ChebyshevNodes(48)) values.push_back(std::sin(a * x));
    const auto fitted = ed::ChebyshevToPowerInT(ed::FitChebyshev(values), half_length);
    const double bound = std::pow(a, 7) / (64.0 * 5040.0);
    double worst = 0.0;
    for (int i = 0; i <= 2000; ++i) {
        const double x = -1.0 + i / 1000.0;
        worst = std::max(worst, std::fabs(ed::EvaluatePower(fitted, x * half_length / ed::kTimeUnitDays) - std::sin(a * x)));
    }
    EXPECT_LT(worst, 1.2 * bound);
    EXPECT_GT(worst, 0.5 * bound);  // and the bound is the right order: the test can fail
}

TEST(PolynomialFit, UnwrapCarriesLongitudesAcrossZeroBothWays) {
    std::vector<double> direct = {6.2, 0.05, 0.2};
    ed::UnwrapRadians(direct);
    EXPECT_NEAR(direct[1], 0.05 + 2 * std::numbers::pi, 1e-15);
    EXPECT_NEAR(direct[2], 0.2 + 2 * std::numbers::pi, 1e-15);
    std::vector<double> retrograde = {0.1, 6.25, 6.2};
    ed::UnwrapRadians(retrograde);
    EXPECT_NEAR(retrograde[1], 6.25 - 2 * std::numbers::pi, 1e-15);
    EXPECT_NEAR(retrograde[2], 6.2 - 2 * std::numbers::pi, 1e-15);
}

// ---------------------------------------------------------------- fields

struct FieldCase {
    const char* label;
    double value;
    const char* text;  // expected field, exactly 10 characters
};

TEST(DacField, KeepsTheMostDigitsInTenCharacters) {
    const FieldCase cases[] = {
        {"longitude at JD0", 2.69691623456, " 2.6969162"},
        {"small negative: leading zero dropped", -0.0173526512, "-.01735265"},
        {"tiny: exponent form", 6.99049e-5, " 6.9905e-5"},
        {"tiny negative", -4.03544e-5, "-4.0354e-5"},
        {"Neptune's radius", 30.1564071, " 30.156407"},
        {"Julian date", 2451545.5, " 2451545.5"},
        {"Julian date of -4000", 261003.0, "    261003"},
        {"negative zero reads as a plain zero", -0.0, "         0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const auto field = ed::FormatField(c.value);
        ASSERT_TRUE(field.has_value());
        EXPECT_EQ(*field, c.text);
    }
}

TEST(DacField, EveryFieldFillsItsWidthAndStartsWithABlankOrMinus) {
    for (double magnitude = 1e-12; magnitude < 1e8; magnitude *= 3.7) {
        for (double v : {magnitude, -magnitude, magnitude * std::numbers::pi, -magnitude / std::numbers::e}) {
            const auto field = ed::FormatField(v);
            ASSERT_TRUE(field.has_value()) << v;
            ASSERT_EQ(field->size(), 10u) << v;
            ASSERT_TRUE((*field)[0] == ' ' || (*field)[0] == '-') << *field;
            char* end = nullptr;
            const double back = std::strtod(field->c_str(), &end);
            ASSERT_EQ(end, field->c_str() + 10) << *field;
            // At least five significant digits, or 1e-8 absolute for small values.
            ASSERT_LE(std::fabs(back - v), std::max(5e-5 * std::fabs(v), 1e-8)) << *field;
        }
    }
}

TEST(DacField, RefusesWhatCannotBeWritten) {
    EXPECT_FALSE(ed::FormatField(std::nan("")).has_value());
    EXPECT_FALSE(ed::FormatField(std::numeric_limits<double>::infinity()).has_value());
    EXPECT_FALSE(ed::FormatField(1e100, 3).has_value());
}

ed::DacRecord SampleRecord() {
    ed::DacRecord r;
    r.first_year = -4000;
    r.jd0 = 261003.0;
    r.span_days = 1827.0;
    r.coefficients[0] = {1.6945753, 2.6969162, -0.01735265, 0.2481739, -0.00341751, -0.05600556, 0.01178298};
    r.coefficients[1] = {0.0239506, 0.04266555, -0.08733234, -0.0467018, 0.03810762, 0.00451166, 0.00623952};
    r.coefficients[2] = {5.3954752, 0.0415005, -0.7499921, -0.03533848, 0.41875756, -0.01108187, -0.03699249};
    return r;
}

TEST(DacRecord, RoundTripsThroughTheLibrarysDecoder) {
    const auto text = ed::FormatRecord(SampleRecord());
    ASSERT_TRUE(text.has_value());
    ASSERT_EQ(text->size(), 235u);
    EXPECT_EQ(text->substr(0, 5), "-4000");
    pv_outer_record decoded{};
    ASSERT_EQ(pv_decode_record(text->c_str(), &decoded), 0);
    const auto parsed = ed::ParseRecord(*text);
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(decoded.number, -4000);
    EXPECT_EQ(decoded.jd0, 261003.0);
    EXPECT_EQ(decoded.unused, 1827.0);
    for (int c = 0; c < 3; ++c) {
        for (int p = 0; p < 7; ++p) {
            const double original = SampleRecord().coefficients[static_cast<std::size_t>(c)][static_cast<std::size_t>(p)];
            EXPECT_NEAR(decoded.coef[p][c], original, 1e-8) << c << "," << p;
            EXPECT_EQ(parsed->coefficients[static_cast<std::size_t>(c)][static_cast<std::size_t>(p)], decoded.coef[p][c]);
        }
    }
}

TEST(DacRecord, ParseRefusesAFieldThatRunsIntoTheNext) {
    auto text = *ed::FormatRecord(SampleRecord());
    ASSERT_TRUE(ed::ParseRecord(text).has_value());
    // Replace the blank that starts the latitude's constant term (offset 95)
    // with a digit: the longitude's last field would then read 11 characters.
    ASSERT_EQ(text[95], ' ');
    text[95] = '7';
    EXPECT_FALSE(ed::ParseRecord(text).has_value());
    EXPECT_FALSE(ed::ParseRecord(text.substr(0, 234)).has_value());
    std::string letters = *ed::FormatRecord(SampleRecord());
    letters.replace(25, 10, "  abcdefgh");
    EXPECT_FALSE(ed::ParseRecord(letters).has_value());
}

// ---------------------------------------------------------------- Pluto

TEST(PlutoCode, RoundsToTheNearestArcsecondAndCarriesIntoTheNextDegree) {
    EXPECT_EQ(ed::RoundToArcseconds(10.0 + 0.4 / 3600), 36000);
    EXPECT_EQ(ed::RoundToArcseconds(10.0 + 0.6 / 3600), 36001);
    EXPECT_EQ(ed::RoundToArcseconds(29.0 + 59.0 / 60 + 59.7 / 3600), 30 * 3600);
    EXPECT_EQ(ed::RoundToArcseconds(360.0 - 0.2 / 3600), 0);  // 359 59' 59.8" is 0 0' 0"
    EXPECT_EQ(ed::RoundToArcseconds(-0.7 / 3600), ed::kArcsecondsPerCircle - 1);
}

TEST(PlutoCode, EveryDayPhaseDecodesBackWithTheProgramsDecoder) {
    // k mod 7 and k mod 55 take every pair of values within 385 days.
    const int angles[] = {0, 59, 3599, 36000 + 61, 180 * 3600 + 45 * 60 + 6, ed::kArcsecondsPerCircle - 1};
    for (int k = 0; k < 385; ++k) {
        for (int arcseconds : angles) {
            const std::string code = ed::EncodePlutoDay(k, arcseconds);
            ASSERT_EQ(code.size(), 4u);
            for (char ch : code) {
                ASSERT_GT(static_cast<unsigned char>(ch), ' ') << "k " << k;
                ASSERT_LT(static_cast<unsigned char>(ch), 127) << "k " << k;
            }
            double degrees = -1.0;
            ASSERT_TRUE(vemo::DecodePlutoLine(code, k, &degrees)) << "k " << k;
            ASSERT_NEAR(degrees * 3600.0, arcseconds, 1e-6) << "k " << k;
        }
    }
}

}  // namespace
