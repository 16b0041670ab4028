#include "app/time/timezones.h"

#include <cmath>
#include <string>

#include "app/time/dates.h"
#include "platform/ordalin/ordalin.h"

namespace vemo {

namespace {

// Entry of the list centre (GMT): item data of entry n is (n - 24) * 30.
constexpr int kGmtEntry = kTimezoneEntries / 2;

// Entries that show a North American name with the abbreviation option.
struct NamedZone {
    int entry;
    const char* name;
};
constexpr NamedZone kNorthAmericanNames[] = {
    {19, "NDT"}, {18, "ADT"},     {17, "NST"},     {16, "AST/EDT"},  {14, "EST/CDT"},
    {12, "CST/MDT"}, {10, "MST/PDT"}, {8, "PST/AKDT"}, {6, "AKST/HADT"}, {4, "HAST"},
};

}  // namespace

std::vector<TimezoneEntry> TimezoneEntries(bool northAmericanNames) {
    std::vector<std::string> texts;
    texts.reserve(kTimezoneEntries);
    texts.emplace_back("");
    for (int h = 11; h >= 0; --h) {
        texts.push_back("GMT-" + std::to_string(h) + ":30");
        texts.push_back(h == 0 ? std::string("GMT") : "GMT-" + std::to_string(h) + ":00");
    }
    for (int h = 0; h <= 11; ++h) {
        if (h > 0) texts.push_back("GMT+" + std::to_string(h) + ":00");
        texts.push_back("GMT+" + std::to_string(h) + ":30");
    }
    if (northAmericanNames) {
        for (const NamedZone& z : kNorthAmericanNames) texts[z.entry] = z.name;
    }
    std::vector<TimezoneEntry> entries;
    entries.reserve(texts.size());
    for (int n = 0; n < static_cast<int>(texts.size()); ++n) {
        entries.push_back({texts[n], TimezoneMinutesOfEntry(n)});
    }
    return entries;
}

int TimezoneMinutesOfEntry(int n) {
    if (n <= 0 || n >= kTimezoneEntries) return 0;
    return (n - kGmtEntry) * 30;
}

TimezoneList::TimezoneList(bool northAmericanNames) : entries_(TimezoneEntries(northAmericanNames)) {}

void TimezoneList::SetUp(bool keepSelection, bool northAmericanNames) {
    const int remembered = keepSelection ? selected_ : 0;
    entries_ = TimezoneEntries(northAmericanNames);
    Select(remembered);
}

std::string TimezoneList::Text(int n) const {
    return (n >= 0 && n < Count()) ? entries_[n].text : std::string();
}

int TimezoneList::ItemData(int n) const {
    return (n >= 0 && n < Count()) ? entries_[n].minutesEast : 0;
}

void TimezoneList::Select(int n) { selected_ = (n >= 0 && n < Count()) ? n : 0; }

int LocalTimezoneIndex(int systemMinutes) {
    // The blank entry 0 means "not chosen" and is not a zone, so the search
    // starts at entry 1: a computer on Greenwich time gets the "GMT" entry.
    for (int n = 1; n < kTimezoneEntries; ++n) {
        if (TimezoneMinutesOfEntry(n) == systemMinutes) return n;
    }
    return 0;
}

LocalZone ResolveLocalZone(int systemMinutes) {
    LocalZone zone;
    zone.systemMinutes = systemMinutes;
    zone.index = LocalTimezoneIndex(systemMinutes);
    if (zone.index == 0) {
        zone.index = kGmtEntry;
        zone.listed = false;
    }
    zone.minutesEast = TimezoneMinutesOfEntry(zone.index);
    return zone;
}

std::string ZoneOffsetText(int minutesEast) {
    if (minutesEast == 0) return "GMT";
    const int magnitude = minutesEast < 0 ? -minutesEast : minutesEast;
    const int minutes = magnitude % 60;
    return std::string(minutesEast < 0 ? "GMT-" : "GMT+") + std::to_string(magnitude / 60) + ":" +
           (minutes < 10 ? "0" : "") + std::to_string(minutes);
}

int TimezoneMinutesFromSecondsWest(long secondsWest, bool mapNepal) {
    // Halves to even, as the rounding of the original program's integer
    // conversion; offsets in whole minutes are unaffected.
    const double minutesEast = -static_cast<double>(secondsWest) / 60.0;
    const double rounded = minutesEast - std::floor(minutesEast) == 0.5
                               ? 2.0 * std::round(minutesEast / 2.0)
                               : std::round(minutesEast);
    int z = static_cast<int>(rounded);
    // Nepal (UTC+5:45) has no entry; its nearest entry +5:30 is taken instead.
    if (mapNepal && z == 345) z = 330;
    return z;
}

int SystemTimezoneMinutes() { return TimezoneMinutesFromSecondsWest(get_timezone(), true); }

}  // namespace vemo
