// The aspect report of the durations window and of vemo-cli report: its
// title, the sort keys, the transit list (aspects with their beginning, end
// and duration) and the prose description of a natal or synastry chart.
//
// Qt-free. Everything is text in UTF-8 with CR LF line ends, built from the
// engine's duration records (AspectEngine::GetDurations), its positions and
// pattern finders, and program text items through `text`.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "app/aspects/engine.h"
#include "app/reports/number_words.h"

namespace vemo::reports {

using TextFunction = std::function<std::string(int item)>;

// ---- title ----

// Whether the dates of the title are written with short month names:
// Personal transits and Synastry.
bool ShortMonthsInReport(Mode mode);

struct ReportHeading {
  std::string caption;  // the window's caption
  std::string title;    // lblTitle: with the orbs, "   ", and text 51 in Natal aspects
};

// dates[0..2]: the world date and the two birthdates as InputDateToString
// writes them (with ShortMonthsInReport(mode)); only the ones the mode uses
// are read. addOrbToTitle(title, personal) appends the orbs in force with a
// period (the main window's AddOrbToTitle(title, personal, true)).
ReportHeading MakeReportHeading(Mode mode, const std::array<std::string, 3>& dates, const TextFunction& text,
                                const std::function<std::string(const std::string&, bool personal)>& addOrbToTitle);

// ---- sorting ----

struct SortEntry {
  std::string label;    // as the list shows it
  // The command-line name: exactness, aspect, planet, natal, transiting,
  // beginning, ending or duration.
  std::string key;
  int keyStart = 9;     // 1-based position of the key in the record
};

// The entries of the sort list: World transits six, Personal transits seven,
// none in Natal aspects and Synastry.
std::vector<SortEntry> SortEntries(Mode mode, const TextFunction& text);

// The position of the entry with `key` in SortEntries(mode), -1 when the mode
// has no such entry.
int SortEntryIndex(Mode mode, const std::string& key);

// The window turns the durations on when an entry from this position on is
// chosen: the list cannot be ordered by dates it does not show.
inline constexpr int kFirstSortEntryWithDurations = 4;

// keyStart of the entry with `key`; of the first entry when the mode has no
// such key, and 9 (exactness) in the modes without a sort list.
int SortKeyStart(Mode mode, const std::string& key);

// The record sort of the report: the key is the record from keyStart (1-based)
// to its end, compared by character code. A recursive quicksort orders
// records[lo..hi] (0-based, inclusive) so that keys do not increase; with a
// non-zero direction the range is then reversed (ascending). Not stable.
void QuickSort(int direction, std::vector<DurationEntry>& records, int lo, int hi, int keyStart);

// Ascending sort of the whole list by the key at keyStart (direction 1).
void SortRecords(std::vector<DurationEntry>& records, int keyStart);

// ---- text helpers ----

// Column widths 1..6 of the report (index 0 unused): planet names,
// relations + 10, planet names, date with comma, date with blank, and the
// natal line width.
std::array<int, 7> ColumnWidths();

// s followed by blanks up to w characters (UTF-8 code points); s itself when
// it is already that long or w is negative.
std::string PadRight(const std::string& s, int w);

// NumberInWords and the count phrases of the description are in
// number_words.h.

// The duration of `days` days: text 171, text 174, "N " + text 175, or years
// with their rest ("1 year, 365 days").
std::string DurationText(int days, const TextFunction& text);

// ---- the transit list (World and Personal transits) ----

struct TransitListOptions {
  Mode mode = Mode::WorldTransits;
  bool showDurations = true;    // chkShowDuration
  std::string sortKey;          // the selected entry's key ("" = none)
  std::array<int, 8> orbListIndex{};  // OrbListIndex of the kinds, slot k - 1 (whole degrees)
  int language = 0;
};

// Whether TransitList writes a line for the record: not for a midpoint record
// in World transits sorted by "ending" or "duration".
bool ShownInTransitList(const DurationEntry& entry, const TransitListOptions& options);

// One line per record, in list order, each followed by CR LF. Midpoint
// records (second planet 10) are left out in World transits when sorted by
// "ending" or "duration". dateText(dayNumber) writes a day number as a date
// with the full month name (JdnToDateText).
std::string TransitList(const std::vector<DurationEntry>& records, const TransitListOptions& options,
                        const TextFunction& text, const std::function<std::string(int dayNumber)>& dateText);

// ---- the natal and synastry description ----

// The description of engine.DurationRecords (sorted by exactness first, in
// place) in Natal aspects or Synastry: header, the most exact aspects, the
// others one per line, the count sentence, the pattern paragraphs (Natal
// only; of the stelliums only the largest) and text 87. The pattern finders
// run on a cleared run state (engine.Run is restored afterwards), so the
// report lists every pattern and a run in progress learns nothing from it;
// PatternCount and the table are not touched.
std::string NatalDescription(AspectEngine& engine, Mode mode, const TextFunction& text);

// ---- the whole report ----

// The report text as the window shows it for a sort key and the durations
// switch: the transit list when options.mode is a transit mode (records
// sorted by the key first, in place; an unknown or empty key sorts by the
// mode's first entry), the description in the static modes.
std::string ReportText(AspectEngine& engine, const TransitListOptions& options, const TextFunction& text,
                       const std::function<std::string(int dayNumber)>& dateText);

}  // namespace vemo::reports
