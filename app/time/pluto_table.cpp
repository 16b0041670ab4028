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

}  // namespace

bool DecodePlutoLine(const std::string& line, int k, double* degrees) {
    if (line.size() < 4) return false;
    const auto code = [&](int i) { return static_cast<int>(static_cast<unsigned char>(line[i])); };
    const int minutes = code(0) - 60 - Mod(k, 7);
    const int seconds = code(1) - 60;
    const int sixties = code(2) - 58 - Mod(k, 55);
    const int units = code(3) - 59;
    if (minutes < 0 || minutes > 59 || seconds < 0 || seconds > 59) return false;
    if (sixties < 0 || units < 0 || units > 59) return false;
    const int wholeDegrees = sixties * 60 + units;
    if (wholeDegrees >= 360) return false;
    *degrees = wholeDegrees + minutes / 60.0 + seconds / 3600.0;
    return true;
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
    std::string text;
    char buffer[1 << 16];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
    const bool readError = std::ferror(file) != 0;
    std::fclose(file);
    if (readError) return "Cannot read \"" + path + "\".";
    return LoadFromText(text, path);
}

std::string PlutoTable::LoadFromText(const std::string& text, const std::string& sourceName) {
    degrees_.clear();
    // Until the text has passed every check the table counts as unreadable.
    unavailable_ = kDataFileUnreadable;
    std::vector<double> days;
    days.reserve(kPlutoRequiredDays);
    size_t pos = 0;
    long lineNumber = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        ++lineNumber;
        size_t first = pos;
        size_t last = end;
        while (first < last && IsTrimmed(text[first])) ++first;
        while (last > first && IsTrimmed(text[last - 1])) --last;
        pos = end + 1;
        if (first == last) continue;

        const std::string line = text.substr(first, last - first);
        const int k = static_cast<int>(days.size());
        double value = 0.0;
        if (line.size() < 4) {
            return sourceName + ", line " + std::to_string(lineNumber) +
                   ": a day line must have at least four characters.";
        }
        if (!DecodePlutoLine(line, k, &value)) {
            return sourceName + ", line " + std::to_string(lineNumber) +
                   ": the characters do not decode to a longitude (degrees 0 to 359, "
                   "minutes and seconds 0 to 59).";
        }
        days.push_back(value);
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
