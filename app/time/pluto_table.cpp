#include "app/time/pluto_table.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "app/time/positions.h"

namespace vemo {

namespace {

// The program's full-circle constant (radians), shared with the aspect engine.
constexpr double kFullCircle = 6.28318530717959;

bool IsTrimmed(char c) { return c == ' ' || c == '\t' || c == '\r'; }

int Mod(int a, int m) { return ((a % m) + m) % m; }

// The four codes of a day whose index leaves k7 = k mod 7 and k55 = k mod 55;
// false when they decode outside degrees 0..359, minutes or seconds 0..59.
bool DecodeCodes(const unsigned char* c, int k7, int k55, double* degrees) {
    const int minutes = c[0] - 60 - k7;
    const int seconds = c[1] - 60;
    const int sixties = c[2] - 58 - k55;
    const int units = c[3] - 59;
    if (minutes < 0 || minutes > 59 || seconds < 0 || seconds > 59) return false;
    if (sixties < 0 || units < 0 || units > 59) return false;
    const int wholeDegrees = sixties * 60 + units;
    if (wholeDegrees >= 360) return false;
    *degrees = wholeDegrees + minutes / 60.0 + seconds / 3600.0;
    return true;
}

}  // namespace

bool DecodePlutoLine(std::string_view line, int k, double* degrees) {
    if (line.size() < 4) return false;
    return DecodeCodes(reinterpret_cast<const unsigned char*>(line.data()), Mod(k, 7), Mod(k, 55), degrees);
}

std::string EncodePlutoLine(double degrees, int k) {
    long totalSeconds = static_cast<long>(std::floor(degrees * 3600.0));
    totalSeconds = ((totalSeconds % 1296000) + 1296000) % 1296000;
    const int wholeDegrees = static_cast<int>(totalSeconds / 3600);
    const int minutes = static_cast<int>(totalSeconds / 60 % 60);
    const int seconds = static_cast<int>(totalSeconds % 60);
    std::string line(4, ' ');
    line[0] = static_cast<char>(minutes + 60 + Mod(k, 7));
    line[1] = static_cast<char>(seconds + 60);
    line[2] = static_cast<char>(wholeDegrees / 60 + 58 + Mod(k, 55));
    line[3] = static_cast<char>(wholeDegrees % 60 + 59);
    return line;
}

std::string PlutoTable::Load(const std::string& path) {
    degrees_.clear();
    unavailable_ = kDataFileMissing;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return "Cannot open \"" + path + "\": " + std::strerror(errno);
    }
    // One buffer of the file's size, filled by one read (the file is about
    // 1.3 MB); a file that grows meanwhile is read on to its end.
    std::string text;
    long size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) size = std::ftell(file);
    std::rewind(file);
    text.resize(size > 0 ? static_cast<size_t>(size) : 0);
    size_t n = text.empty() ? 0 : std::fread(text.data(), 1, text.size(), file);
    text.resize(n);
    char buffer[1 << 14];
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
    const bool readError = std::ferror(file) != 0;
    std::fclose(file);
    if (readError) return "Cannot read \"" + path + "\".";
    return LoadFromText(text, path);
}

std::string PlutoTable::LoadFromText(std::string_view text, const std::string& sourceName) {
    degrees_.clear();
    // Until the text has passed every check the table counts as unreadable.
    unavailable_ = kDataFileUnreadable;
    std::vector<double> days;
    days.reserve(kPlutoRequiredDays);
    // The lines are decoded where they lie in the text, in one pass; the
    // day index's remainders mod 7 and mod 55 of the scramble are counted
    // along rather than divided out for every line.
    const char* pos = text.data();
    const char* const textEnd = pos + text.size();
    long lineNumber = 0;
    int k7 = 0;
    int k55 = 0;
    while (pos < textEnd) {
        const void* newline = std::memchr(pos, '\n', static_cast<size_t>(textEnd - pos));
        const char* end = newline ? static_cast<const char*>(newline) : textEnd;
        ++lineNumber;
        const char* first = pos;
        const char* last = end;
        while (first < last && IsTrimmed(*first)) ++first;
        while (last > first && IsTrimmed(last[-1])) --last;
        pos = end + 1;
        if (first == last) continue;

        double value = 0.0;
        if (last - first < 4) {
            return sourceName + ", line " + std::to_string(lineNumber) +
                   ": a day line must have at least four characters.";
        }
        if (!DecodeCodes(reinterpret_cast<const unsigned char*>(first), k7, k55, &value)) {
            return sourceName + ", line " + std::to_string(lineNumber) +
                   ": the characters do not decode to a longitude (degrees 0 to 359, "
                   "minutes and seconds 0 to 59).";
        }
        days.push_back(value);
        if (++k7 == 7) k7 = 0;
        if (++k55 == 55) k55 = 0;
    }
    if (static_cast<int>(days.size()) < kPlutoRequiredDays) {
        return sourceName + " holds " + std::to_string(days.size()) + " day lines; " +
               std::to_string(kPlutoRequiredDays) +
               " are needed (1 January 1600 to 1 January 2200). The file is incomplete.";
    }
    degrees_ = std::move(days);
    unavailable_ = kDataFileMissing;
    return "";
}

double PlutoTable::DegreesOfDay(int k) const {
    if (k < 0) return kBeforeDataRange;
    if (k >= DayCount()) return kAfterDataRange;
    return degrees_[static_cast<size_t>(k)];
}

double PlutoTable::Longitude(double ajd) const {
    if (!Available()) return unavailable_;
    const double d = ajd + 0.5;
    // Compared as doubles before any conversion, so that no date (not even a
    // non-finite one) is turned into an out-of-range integer.
    if (!(d >= kPlutoFirstDayNumber)) return kBeforeDataRange;
    if (!(d < kPlutoLastDayNumber + 1.0)) return kAfterDataRange;
    const double dayStart = std::floor(d);
    const int n = static_cast<int>(dayStart);
    const double f = d - dayStart;  // fraction of the UT day since 0h
    const int k = n - kPlutoFirstDayNumber;
    double l1 = DegreesOfDay(k);
    double l2 = DegreesOfDay(k + 1);
    // Passage through 0 deg, direct (359.9 -> 0.1) or retrograde (0.1 -> 359.9).
    if (l2 - l1 > 355) {
        l1 += 360;
    } else if (l1 - l2 > 355) {
        l2 += 360;
    }
    double l = l1 + f * (l2 - l1);
    if (l >= 360) l -= 360;
    return l / 360 * kFullCircle;
}

}  // namespace vemo
