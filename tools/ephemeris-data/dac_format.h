// Text records of the outer-planet data files ("jupiter.dac" ... "neptune.dac").
//
// A record is 235 bytes without separator:
//   offset 0, width 5    first calendar year of the record (integer)
//   offset 5, width 10   JD0, the middle of the record's span (Julian date)
//   offset 15, width 10  length of the span in days
//   offset 25 + 10 (7c + p), width 10   coefficient a(c, p) of t^p, c = 0
//                        longitude (rad), 1 latitude (rad), 2 radius vector (AU)
// The reader converts every field with strtod starting at the field's first
// byte and does not cut at the field width, so every field is written to fill
// exactly its width and to begin with a blank or a minus sign: the conversion
// of the previous field then stops at the right byte.
#ifndef VEMO_TOOLS_EPHEMERIS_DATA_DAC_FORMAT_H
#define VEMO_TOOLS_EPHEMERIS_DATA_DAC_FORMAT_H

#include <array>
#include <optional>
#include <string>

#include "tools/ephemeris-data/polynomial_fit.h"

namespace ephemeris_data {

inline constexpr int kRecordBytes = 235;
inline constexpr int kYearFieldWidth = 5;
inline constexpr int kFieldWidth = 10;
inline constexpr int kCoordinates = 3;

struct DacRecord {
    int first_year = 0;
    double jd0 = 0.0;
    double span_days = 0.0;
    std::array<PowerCoefficients, kCoordinates> coefficients{};  // [coordinate][power]
};

// The number v written into exactly `width` characters, beginning with a blank
// or '-', in whichever fixed or exponent form reads back (strtod) closest to v.
// Returns nothing when no form fits (|v| too large for the width) or v is not
// finite.
std::optional<std::string> FormatField(double v, int width = kFieldWidth);

// The 235-byte text of a record, or nothing if a field does not fit.
std::optional<std::string> FormatRecord(const DacRecord& record);

// Reads a record back field by field the way the library's reader does
// (strtol/strtod from each field's first byte) and checks every field on the
// way: it must hold a number, and the number must end inside its own field.
// Returns nothing if the text is not 235 bytes or a field breaks the rule.
std::optional<DacRecord> ParseRecord(const std::string& text);

}  // namespace ephemeris_data

#endif
