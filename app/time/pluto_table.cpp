#include "app/time/pluto_table.h"

#include "app/time/date_texts.h"  // InProgramLanguage

#include <array>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <utility>

#include "app/time/positions.h"
#include "app/time/regular_file.h"

namespace vemo {

namespace {

// The program's full-circle constant (radians), shared with the aspect engine.
constexpr double kFullCircle = 6.28318530717959;

bool IsTrimmed(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// Every code of a valid day is at least 58 (the smallest of the offsets
// below), so such a character is neither a blank nor a line end.
bool IsCode(char c) { return static_cast<unsigned char>(c) >= 58; }

int Mod(int a, int m) { return ((a % m) + m) % m; }

// m / 60.0 and s / 3600.0 for 0..59, the same doubles as the divisions.
template <int Divisor>
constexpr std::array<double, 60> Quotients() {
    std::array<double, 60> q{};
    for (int i = 0; i < 60; ++i) q[static_cast<size_t>(i)] = i / static_cast<double>(Divisor);
    return q;
}
constexpr std::array<double, 60> kMinuteInDegrees = Quotients<60>();
constexpr std::array<double, 60> kSecondInDegrees = Quotients<3600>();

// The four codes of a day whose index leaves k7 = k mod 7 and k55 = k mod 55,
// as arcseconds of longitude; false when they decode outside degrees 0..359,
// minutes or seconds 0..59.
bool DecodeCodes(const unsigned char* c, int k7, int k55, int32_t* arcseconds) {
    const int minutes = c[0] - 60 - k7;
    const int seconds = c[1] - 60;
    const int sixties = c[2] - 58 - k55;
    const int units = c[3] - 59;
    if (minutes < 0 || minutes > 59 || seconds < 0 || seconds > 59) return false;
    if (sixties < 0 || units < 0 || units > 59) return false;
    const int wholeDegrees = sixties * 60 + units;
    if (wholeDegrees >= 360) return false;
    *arcseconds = (wholeDegrees * 60 + minutes) * 60 + seconds;
    return true;
}

// Degrees of a day held as arcseconds: wholeDegrees + minutes / 60.0 +
// seconds / 3600.0, the quotients looked up.
double DegreesOfArcseconds(int32_t arcseconds) {
    const int wholeDegrees = arcseconds / 3600;
    const int minutes = arcseconds / 60 % 60;
    const int seconds = arcseconds % 60;
    return wholeDegrees + kMinuteInDegrees[static_cast<size_t>(minutes)] +
           kSecondInDegrees[static_cast<size_t>(seconds)];
}

// Decodes the day lines of a text as its pieces come, in one pass, without
// copying lines: the remainders of the day index mod 7 and mod 55 of the
// scramble are counted along.
class DayLines {
public:
    explicit DayLines(std::string sourceName) : source_(std::move(sourceName)) {
        days.reserve(kPlutoRequiredDays);
    }

    // Decodes the complete lines at the start of [data, data + size), all of
    // it when atEnd, and returns how many bytes they took. A bad line sets
    // error and ends the decoding.
    size_t Decode(const char* data, size_t size, bool atEnd) {
        const char* pos = data;
        const char* const textEnd = data + size;
        // Counters in locals, so that they stay in registers across push_back.
        long lineNumber = lineNumber_;
        int k7 = k7_;
        int k55 = k55_;
        while (pos < textEnd) {
            const char* first = pos;
            const char* last = nullptr;
            if (textEnd - pos >= 6 && pos[4] == '\r' && pos[5] == '\n' && IsCode(pos[0]) &&
                IsCode(pos[1]) && IsCode(pos[2]) && IsCode(pos[3])) {
                // The shipped form: four codes and CR LF.
                last = pos + 4;
                pos += 6;
            } else {
                // Lines are a few bytes long: a plain scan beats a library call.
                const char* end = pos;
                while (end < textEnd && *end != '\n') ++end;
                if (end == textEnd && !atEnd) break;  // the rest comes with the next piece
                last = end;
                while (first < last && IsTrimmed(*first)) ++first;
                while (last > first && IsTrimmed(last[-1])) --last;
                pos = end < textEnd ? end + 1 : end;
                if (first == last) {
                    ++lineNumber;
                    continue;
                }
            }
            ++lineNumber;
            int32_t arcseconds = 0;
            if (last - first < 4) {
                error = source_ + InProgramLanguage(", line ", ", Zeile ") + std::to_string(lineNumber) +
                        InProgramLanguage(": a day line must have at least four characters.",
                                          ": eine Tageszeile muss mindestens vier Zeichen haben.");
                break;
            }
            if (!DecodeCodes(reinterpret_cast<const unsigned char*>(first), k7, k55, &arcseconds)) {
                error = source_ + InProgramLanguage(", line ", ", Zeile ") + std::to_string(lineNumber) +
                        InProgramLanguage(": the characters do not decode to a longitude (degrees 0 to 359, "
                                          "minutes and seconds 0 to 59).",
                                          ": die Zeichen ergeben keine L\u00E4nge (Grad 0 bis 359, "
                                          "Minuten und Sekunden 0 bis 59).");
                break;
            }
            days.push_back(arcseconds);
            if (++k7 == 7) k7 = 0;
            if (++k55 == 55) k55 = 0;
        }
        lineNumber_ = lineNumber;
        k7_ = k7;
        k55_ = k55;
        return static_cast<size_t>(pos - data);
    }

    // After the last piece: the first error, or what is missing, or "".
    std::string Verdict() const {
        if (!error.empty()) return error;
        if (static_cast<int>(days.size()) < kPlutoRequiredDays) {
            if (ProgramLanguage() == kGerman) {
                return source_ + " enth\u00E4lt " + std::to_string(days.size()) + " Tageszeilen; " +
                       std::to_string(kPlutoRequiredDays) +
                       " werden gebraucht (1. Januar 1600 bis 1. Januar 2200). Die Datei ist unvollst\u00E4ndig.";
            }
            return source_ + " holds " + std::to_string(days.size()) + " day lines; " +
                   std::to_string(kPlutoRequiredDays) +
                   " are needed (1 January 1600 to 1 January 2200). The file is incomplete.";
        }
        return "";
    }

    std::vector<int32_t> days;  // arcseconds of longitude, day by day
    std::string error;

private:
    std::string source_;
    long lineNumber_ = 0;
    int k7_ = 0;
    int k55_ = 0;
};

}  // namespace

bool DecodePlutoLine(std::string_view line, int k, double* degrees) {
    int32_t arcseconds = 0;
    if (line.size() < 4 ||
        !DecodeCodes(reinterpret_cast<const unsigned char*>(line.data()), Mod(k, 7), Mod(k, 55), &arcseconds)) {
        return false;
    }
    *degrees = DegreesOfArcseconds(arcseconds);
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
    arcseconds_.clear();
    unavailable_ = kDataFileMissing;
    std::string openError;
    long long size = 0;
    std::FILE* file = OpenRegularFile(path, &size, &openError);
    if (file == nullptr) {
        return ProgramLanguage() == kGerman ? "\u201E" + path + "\u201C kann nicht ge\u00F6ffnet werden: " + openError
                                            : "Cannot open \"" + path + "\": " + openError;
    }
    if (size > kPlutoMaxFileBytes) {
        std::fclose(file);
        unavailable_ = kDataFileUnreadable;
        const std::string most = std::to_string(kPlutoMaxFileBytes / (1024 * 1024));
        if (ProgramLanguage() == kGerman) {
            return "\u201E" + path + "\u201C enth\u00E4lt " + std::to_string(size) + " Bytes, mehr als die " + most +
                   " MiB, die eine Pluto-Tabelle haben darf (die Tabelle hat etwa 1,3 MB). Die Datei wird abgelehnt.";
        }
        return "\"" + path + "\" holds " + std::to_string(size) + " bytes, more than the " + most +
               " MiB a Pluto table may have (the table is about 1.3 MB). The file is refused.";
    }
    // The file (about 1.3 MB) passes through one small buffer, decoded piece
    // by piece: a buffer of its whole size would cost a page fault for every
    // 4 KB of it in a fresh process, more than the decoding itself.
    std::vector<char> buffer(1 << 16);
    DayLines lines(path);
    size_t held = 0;  // bytes of an unfinished line at the start of the buffer
    long long total = 0;
    for (;;) {
        const size_t n = std::fread(buffer.data() + held, 1, buffer.size() - held, file);
        total += static_cast<long long>(n);
        if (total > kPlutoMaxFileBytes) break;  // grew since it was measured
        const bool atEnd = n == 0;
        const size_t available = held + n;
        const size_t used = lines.Decode(buffer.data(), available, atEnd);
        if (atEnd || !lines.error.empty()) break;
        held = available - used;
        std::memmove(buffer.data(), buffer.data() + used, held);
        if (held == buffer.size()) buffer.resize(2 * buffer.size());  // one very long line
    }
    const bool readError = std::ferror(file) != 0;
    std::fclose(file);
    if (readError) {
        return ProgramLanguage() == kGerman ? "\u201E" + path + "\u201C kann nicht gelesen werden."
                                            : "Cannot read \"" + path + "\".";
    }
    if (total > kPlutoMaxFileBytes) {
        unavailable_ = kDataFileUnreadable;
        const std::string most = std::to_string(kPlutoMaxFileBytes / (1024 * 1024));
        return ProgramLanguage() == kGerman
                   ? "\u201E" + path + "\u201C wuchs beim Lesen \u00FCber " + most + " MiB. Die Datei wird abgelehnt."
                   : "\"" + path + "\" grew beyond " + most + " MiB while it was read. The file is refused.";
    }
    return Accept(lines.Verdict(), lines.days);
}

std::string PlutoTable::LoadFromText(std::string_view text, const std::string& sourceName) {
    DayLines lines(sourceName);
    lines.Decode(text.data(), text.size(), true);
    return Accept(lines.Verdict(), lines.days);
}

std::string PlutoTable::Accept(const std::string& verdict, std::vector<int32_t>& days) {
    arcseconds_.clear();
    if (!verdict.empty()) {
        unavailable_ = kDataFileUnreadable;
        return verdict;
    }
    arcseconds_ = std::move(days);
    unavailable_ = kDataFileMissing;
    return "";
}

double PlutoTable::DegreesOfDay(int k) const {
    if (k < 0) return kBeforeDataRange;
    if (k >= DayCount()) return kAfterDataRange;
    return DegreesOfArcseconds(arcseconds_[static_cast<size_t>(k)]);
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
