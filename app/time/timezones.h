// The time-zone lists of the date rows and the computer's own zone.
//
// Each list has 48 entries: entry 0 is blank ("not chosen"), entries 1..47 are
// the zones GMT-11:30 to GMT+11:30 in steps of 30 minutes; the item data of
// entry n is its offset in minutes east of Greenwich, (n - 24) * 30. Texts are
// written without leading zeros: "GMT-9:30", "GMT", "GMT+0:30", "GMT+11:30".
// With the North American names option ten entries show a name instead of the
// offset (entry 4 "HAST" ... entry 19 "NDT"); their item data stay the same.
#pragma once

#include <string>
#include <vector>

namespace vemo {

struct TimezoneEntry {
    std::string text;
    int minutesEast = 0;  // item data; 0 for the blank entry
};

// The 48 entries of a time-zone list.
std::vector<TimezoneEntry> TimezoneEntries(bool northAmericanNames);

// One time-zone list as a model: its entries and its selected position. The
// window shows Entries() in its drop-down list and mirrors the selection into
// the row's zoneIndex.
class TimezoneList {
public:
    explicit TimezoneList(bool northAmericanNames = false);

    // Rebuilds the entries. keepSelection true keeps the selected position
    // (the same offset, as positions never move), false resets it to the blank
    // entry 0.
    void SetUp(bool keepSelection, bool northAmericanNames);

    const std::vector<TimezoneEntry>& Entries() const { return entries_; }
    int Count() const { return static_cast<int>(entries_.size()); }
    // Text and item data of entry n; "" and 0 outside the list.
    std::string Text(int n) const;
    int ItemData(int n) const;

    int Selected() const { return selected_; }
    // Selects entry n; a position outside the list selects the blank entry.
    void Select(int n);

private:
    std::vector<TimezoneEntry> entries_;
    int selected_ = 0;
};

// Item data (minutes east) of entry n, 0 for the blank entry and outside.
int TimezoneMinutesOfEntry(int n);

// The local time-zone index: the first zone entry (1..47) whose offset equals
// systemMinutes, or 0 when no entry matches (e.g. +12:00, +5:45 unmapped).
int LocalTimezoneIndex(int systemMinutes);

// The zone the program takes for "this computer". A computer whose offset
// has an entry works in that entry. One whose offset has none (+12:00 and
// beyond, -12:00, offsets off the half hour other than +5:45) works in GMT:
// the present instant is shown in UT on the "GMT" entry and a blank zone of a
// row selects "GMT", so that what the row shows is what is computed (a blank
// entry would count as Greenwich while showing nothing, and the local clock
// would then be read as GMT, up to 14 hours away from the present).
struct LocalZone {
    int index = 0;           // entry of the lists, 1..47
    int minutesEast = 0;     // offset of that entry
    bool listed = true;      // false: the computer's offset has no entry
    int systemMinutes = 0;   // the computer's own offset, minutes east
};
LocalZone ResolveLocalZone(int systemMinutes);

// An offset in minutes east as the lists write it, also for offsets they
// lack: "GMT", "GMT+5:30", "GMT-9:30", "GMT+13:00", "GMT+12:45".
std::string ZoneOffsetText(int minutesEast);

// Zone offset in minutes east from ordalin's get_timezone value (seconds,
// positive west), rounded to the nearest minute with halves to even. With
// mapNepal, +5:45 (Nepal) becomes +5:30, the nearest entry of the list.
int TimezoneMinutesFromSecondsWest(long secondsWest, bool mapNepal);

// The computer's zone offset in minutes east at the present instant, with the
// +5:45 -> +5:30 replacement.
int SystemTimezoneMinutes();

}  // namespace vemo
