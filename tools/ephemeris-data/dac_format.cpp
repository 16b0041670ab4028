#include "tools/ephemeris-data/dac_format.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace ephemeris_data {

namespace {

// Writes v with printf format `fmt` and `digits`; turns "-0.00" into " 0.00",
// optionally drops the leading zero of "0.xxx", optionally shortens the
// exponent ("e-05" to "e-5"), prefixes a blank for non-negative numbers and
// left-pads to `width`. Returns an empty string if the result is wider.
std::string Candidate(double v, const char* fmt, int digits, bool drop_leading_zero,
                      bool compact_exponent, int width) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, fmt, digits, std::fabs(v));
    std::string body(buffer);
    if (compact_exponent) {
        const auto e = body.find('e');
        if (e != std::string::npos) {
            std::string mantissa = body.substr(0, e);
            std::string exponent = body.substr(e + 1);
            char sign = '+';
            if (!exponent.empty() && (exponent[0] == '+' || exponent[0] == '-')) {
                sign = exponent[0];
                exponent.erase(0, 1);
            }
            while (exponent.size() > 1 && exponent[0] == '0') exponent.erase(0, 1);
            body = mantissa + "e" + (sign == '-' ? "-" : "") + exponent;
        }
    }
    if (drop_leading_zero && body.size() > 1 && body[0] == '0' && body[1] == '.') body.erase(0, 1);
    const bool negative = std::signbit(v) && std::strtod(body.c_str(), nullptr) != 0.0;
    std::string text = (negative ? "-" : " ") + body;
    if (static_cast<int>(text.size()) > width) return {};
    return std::string(static_cast<std::size_t>(width) - text.size(), ' ') + text;
}

}  // namespace

std::optional<std::string> FormatField(double v, int width) {
    if (!std::isfinite(v)) return std::nullopt;
    std::string best;
    double best_error = 0.0;
    auto consider = [&](const std::string& text) {
        if (text.empty()) return;
        const double error = std::fabs(std::strtod(text.c_str(), nullptr) - v);
        // Strictly smaller errors only: among equals the earlier, plainer form wins.
        if (best.empty() || error < best_error) {
            best = text;
            best_error = error;
        }
    };
    for (int digits = 0; digits < width; ++digits) {
        consider(Candidate(v, "%.*f", digits, false, false, width));
        consider(Candidate(v, "%.*f", digits, true, false, width));
    }
    for (int digits = 0; digits < width; ++digits) {
        consider(Candidate(v, "%.*e", digits, false, true, width));
    }
    if (best.empty()) return std::nullopt;
    return best;
}

std::optional<std::string> FormatRecord(const DacRecord& record) {
    char year[16];
    std::snprintf(year, sizeof year, "%*d", kYearFieldWidth, record.first_year);
    std::string text(year);
    if (static_cast<int>(text.size()) != kYearFieldWidth || (text[0] != ' ' && text[0] != '-')) {
        return std::nullopt;
    }
    std::vector<double> fields{record.jd0, record.span_days};
    for (const auto& coordinate : record.coefficients) {
        fields.insert(fields.end(), coordinate.begin(), coordinate.end());
    }
    for (double v : fields) {
        const auto field = FormatField(v);
        if (!field) return std::nullopt;
        text += *field;
    }
    if (static_cast<int>(text.size()) != kRecordBytes) return std::nullopt;
    return text;
}

std::optional<DacRecord> ParseRecord(const std::string& text) {
    if (static_cast<int>(text.size()) != kRecordBytes) return std::nullopt;
    // Like the library: the record sits in a zero-filled buffer, so the last
    // field's conversion stops at the terminator.
    const char* record = text.c_str();
    DacRecord result;
    char* end = nullptr;
    const long year = std::strtol(record, &end, 10);
    if (end == record || end > record + kYearFieldWidth) return std::nullopt;
    result.first_year = static_cast<int>(year);

    auto field = [&](int offset, double& out) {
        const char* start = record + offset;
        char* stop = nullptr;
        out = std::strtod(start, &stop);
        return stop != start && stop <= start + kFieldWidth;
    };
    if (!field(kYearFieldWidth, result.jd0)) return std::nullopt;
    if (!field(kYearFieldWidth + kFieldWidth, result.span_days)) return std::nullopt;
    for (int c = 0; c < kCoordinates; ++c) {
        for (int p = 0; p < kCoefficients; ++p) {
            const int offset = 25 + kFieldWidth * (kCoefficients * c + p);
            if (!field(offset, result.coefficients[static_cast<std::size_t>(c)][static_cast<std::size_t>(p)])) {
                return std::nullopt;
            }
        }
    }
    return result;
}

}  // namespace ephemeris_data
