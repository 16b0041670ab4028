#include "app/time/date_argument.h"

#include <cctype>

#include "app/time/date_texts.h"
#include "app/time/escaped_text.h"
#include "app/time/timezones.h"

namespace vemo {

namespace {

bool AllDigits(const std::string& s) {
    if (s.empty()) return false;
    for (char c : s) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

int Number(const std::string& s) {
    int v = 0;
    for (char c : s) v = v * 10 + (c - '0');
    return v;
}

// Reads "HH:MM" (exactly two digits each) into minutes; -1 when malformed.
int HoursMinutes(const std::string& s, int maxHours) {
    if (s.size() != 5 || s[2] != ':') return -1;
    const std::string h = s.substr(0, 2);
    const std::string m = s.substr(3, 2);
    if (!AllDigits(h) || !AllDigits(m)) return -1;
    const int hours = Number(h);
    const int minutes = Number(m);
    if (hours > maxHours || minutes > 59) return -1;
    return hours * 60 + minutes;
}

const char* kForm = " Y-MM-DD[THH:MM][Z|+HH:MM|-HH:MM] with a year of 1 to 4 digits";

// The messages in German: whole sentences with the part quoted in German
// quotation marks, escaped like every echo of an argument there.
std::string GermanQuoted(const std::string& text) { return "\u201E" + EscapedForDisplay(text) + "\u201C"; }

std::string BadDate(const std::string& text, bool german) {
    if (german) {
        return "Das Datum " + GermanQuoted(text) +
               " hat nicht die Form Y-MM-DD[THH:MM][Z|+HH:MM|-HH:MM] mit einem Jahr aus 1 bis 4 Ziffern.";
    }
    return "Date \"" + text + "\" is not of the form" + kForm + ".";
}

}  // namespace

std::string ParseDateArgument(const std::string& text, DateRow& row) {
    const bool german = ProgramLanguage() == kGerman;
    DateRow parsed;
    const size_t tPos = text.find_first_of("Tt");
    std::string datePart = text.substr(0, tPos);
    std::string timePart;
    std::string zonePart;
    if (tPos == std::string::npos) {
        // A zone may follow the date directly only as "Z"; a sign would be
        // ambiguous with the date's own hyphens.
        if (!datePart.empty() && (datePart.back() == 'Z' || datePart.back() == 'z')) {
            zonePart.assign(1, 'Z');
            datePart.pop_back();
        }
    } else {
        const std::string rest = text.substr(tPos + 1);
        const size_t zPos = rest.find_first_of("Zz+-");
        timePart = rest.substr(0, zPos);
        if (zPos != std::string::npos) zonePart = rest.substr(zPos);
    }

    // Date: Y-MM-DD.
    const size_t dash1 = datePart.find('-');
    const size_t dash2 = dash1 == std::string::npos ? std::string::npos : datePart.find('-', dash1 + 1);
    if (dash2 == std::string::npos) return BadDate(text, german);
    const std::string year = datePart.substr(0, dash1);
    const std::string month = datePart.substr(dash1 + 1, dash2 - dash1 - 1);
    const std::string day = datePart.substr(dash2 + 1);
    if (!AllDigits(year) || year.size() > 4 || !AllDigits(month) || month.size() != 2 || !AllDigits(day) ||
        day.size() != 2) {
        return BadDate(text, german);
    }
    parsed.yearText = year;
    parsed.monthIndex = Number(month);
    parsed.dayIndex = Number(day);
    if (parsed.monthIndex < 1 || parsed.monthIndex > 12) {
        return german ? "Der Monat " + month + " liegt nicht zwischen 01 und 12." : "Month " + month + " is not 01 to 12.";
    }
    if (parsed.dayIndex < 1 || parsed.dayIndex > 31) {
        return german ? "Der Tag " + day + " liegt nicht zwischen 01 und 31." : "Day " + day + " is not 01 to 31.";
    }

    // Time: HH:MM on a full or half hour, one entry of the hour list.
    if (tPos != std::string::npos) {
        const int minutes = HoursMinutes(timePart, 23);
        if (minutes < 0) {
            return german ? "Die Uhrzeit " + GermanQuoted(timePart) + " hat nicht die Form HH:MM (00:00 bis 23:59)."
                          : "Time \"" + timePart + "\" is not of the form HH:MM (00:00 to 23:59).";
        }
        if (minutes % 30 != 0) {
            return german ? "Die Uhrzeit " + timePart + " liegt nicht auf einer vollen oder halben Stunde."
                          : "Time " + timePart + " is not on a full or half hour.";
        }
        parsed.hourIndex = minutes / 30 + 1;
    }

    // Zone: Z or one of the list's offsets.
    if (!zonePart.empty()) {
        int minutesEast = 0;
        if (zonePart != "Z" && zonePart != "z") {
            const int magnitude = HoursMinutes(zonePart.substr(1), 99);
            if (magnitude < 0) {
                return german ? "Die Zeitzone " + GermanQuoted(zonePart) + " hat nicht die Form Z, +HH:MM oder -HH:MM."
                              : "Time zone \"" + zonePart + "\" is not of the form Z, +HH:MM or -HH:MM.";
            }
            minutesEast = zonePart[0] == '-' ? -magnitude : magnitude;
        }
        const int entry = LocalTimezoneIndex(minutesEast);
        if (entry == 0) {
            return german ? "Die Zeitzone " + zonePart +
                                " geh\u00F6rt nicht zu den Zonen -11:30 bis +11:30 in Schritten von 30 Minuten."
                          : "Time zone " + zonePart +
                                " is not one of the offsets -11:30 to +11:30 in steps of 30 minutes.";
        }
        parsed.zoneIndex = entry;
    }
    row = parsed;
    return "";
}

}  // namespace vemo
