// Aspect events written out: a plain text list, CSV (RFC 4180), JSON and an
// iCalendar file (RFC 5545) for calendar programs. Used by vemo-cli events
// and by the window's Export button.
//
// Qt-free. Instants are astronomical Julian dates (UT, as everywhere in the
// program); they are written rounded to the nearest minute, which is what the
// event search resolves: ISO 8601 in UTC with seconds always ":00"
// ("2024-03-05T12:12:00Z"), and in iCalendar as UTC date-times
// ("20240305T121200Z").
//
// The words of the text list, the calendar's SUMMARY and DESCRIPTION and the
// lines on stretches without positions are in the program's language
// (LanguageIndex); the CSV columns, the JSON keys and values that programs
// read and the calendar UIDs are English in every language.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/aspects/engine.h"
#include "app/aspects/events.h"
#include "app/time/file_writer.h"

namespace vemo::reports {

// What the formats need besides the search result.
struct EventExportContext {
  Mode mode = Mode::WorldTransits;  // WorldTransits, Personal1 or Personal2
  double birthAJD = -1.0;           // the birthdate of the Personal modes
  double fromAJD = 0.0;             // the span searched, UT
  double toAJD = 0.0;
  int zoneMinutes = 0;              // minutes east: the zone of the text's local times
  std::string dtstamp;              // iCalendar DTSTAMP, "YYYYMMDDTHHMMSSZ"
  // The positions the search used, or null. When given, the iCalendar bounds
  // (and with them the UIDs) are settled on their minute by SettledMinute,
  // so that they do not move with the search's precision (about half a
  // minute, which depends on the span searched); without them they are the
  // window's instants rounded.
  const EngineServices* services = nullptr;
};

enum class EventFormat { Text, Csv, Ics, Json };

// The search behind every export of events, vemo-cli events and the report
// window's Export alike: FindAspectEvents, and a planet that has no positions
// anywhere (Pluto without its table) given a stretch over the whole span, so
// that every format tells it like any other stretch without positions.
EventSearchResult SearchEventsForExport(const EngineServices& services, const EventSearchRequest& request);
// That stretch over the whole span for Pluto, added to the gaps of a search
// that could not ask for Pluto (request.planetCount below 9).
void AddPlutoGap(const EventSearchRequest& request, std::vector<PositionGap>& gaps);

// The whole file of a format: one of the four functions below.
std::string FormatEvents(EventFormat format, const EventSearchResult& result, const EventExportContext& context);

// A format written piece by piece as StreamAspectEvents hands on windows and
// events, with the same bytes as the Format functions below give for the
// whole result. Text and CSV are written as the events come. JSON and
// iCalendar list the windows whose entering is not known first, and those
// may be found last (where positions begin inside the span), so the other
// windows are kept aside until Finish: in memory up to a few mebibytes,
// beyond `keptInMemory` bytes in a temporary file in `spoolFolder` (""
// keeps them all in memory).
class EventWriter : public EventReceiver {
 public:
  // Takes the bytes in order; returns false when they cannot be written.
  using Sink = std::function<bool(std::string_view)>;
  EventWriter(EventFormat format, const EventExportContext& context, Sink sink, std::string spoolFolder,
              std::size_t keptInMemory = std::size_t{4} << 20);
  ~EventWriter() override;
  EventWriter(const EventWriter&) = delete;
  EventWriter& operator=(const EventWriter&) = delete;

  // The heading of the format is written with the first window, event or
  // Finish, so that a search refused at once writes nothing.
  bool Window(const AspectWindow& window, long found, const std::vector<PositionGap>& gaps) override;
  bool Event(const AspectEvent& event, const AspectWindow& window) override;
  // The same for an event whose window may be missing (null).
  bool EventOf(const AspectEvent& event, const AspectWindow* window);
  // What is kept aside, and the end of the format.
  bool Finish(const std::vector<PositionGap>& gaps);
  // Why the temporary file of the windows kept aside failed ("" when it did
  // not; a sink that fails says so itself).
  const std::string& SpoolError() const { return spoolError_; }

 private:
  bool Begin();
  bool Put(std::string_view bytes);
  bool Aside(const std::string& text);
  std::string WindowText(const AspectWindow& window, const std::vector<PositionGap>& gaps) const;

  struct Unknown {
    int planet1, planet2, kind;
    long found;
    std::string text;
  };
  EventFormat format_;
  EventExportContext context_;
  Sink sink_;
  std::string spoolFolder_;
  std::string spoolError_;
  bool failed_ = false;
  bool begun_ = false;
  bool anyEvent_ = false;
  std::size_t keptInMemory_;
  long aside_ = 0;  // windows kept aside
  std::string asideText_;
  std::unique_ptr<TemporaryFile> asideFile_;
  std::vector<Unknown> unknown_;
};

// The whole output of each format. Text and JSON end their lines with LF;
// CSV and iCalendar with CR LF as their RFCs require.
//
// Text: a heading, one line per event (local time, UT, pair, kind, event,
// deviation) and one line per stretch without positions.
std::string FormatEventsText(const EventSearchResult& result, const EventExportContext& context);
// CSV: the header row
//   event,utc,jd,planet1,planet2,kind,deviation_deg,window_start_utc,window_end_utc
// (in the Personal modes natal_planet,transiting_planet in place of
// planet1,planet2) and one row per event; a window bound that is not known is an empty field.
// Stretches without positions have no place in these columns (the caller
// reports them, see GapLines).
std::string FormatEventsCsv(const EventSearchResult& result, const EventExportContext& context);
// JSON: {"mode", "from", "to", "birth" (Personal modes), "windows": [...],
// "gaps": [...]}; instants as {"utc": "...Z", "jd": number}, null when not
// known. A window names its planets "planet1", "planet2", in the Personal
// modes "natal_planet", "transiting_planet".
std::string FormatEventsJson(const EventSearchResult& result, const EventExportContext& context);
// iCalendar: one VEVENT per window, from entering to leaving its orb. A
// bound that is not known (the positions end first) is the edge of the
// positions of the pair (the stretch of result.gaps that stops the window),
// or the span's end when no stretch says so; the DESCRIPTION then says that
// the bound is not known.
std::string FormatEventsIcs(const EventSearchResult& result, const EventExportContext& context);

// One line per stretch without positions (no line end): "Pluto: no positions
// from 2200-01-01 00:00 UT to 2200-12-31 00:00 UT; its events stop there.",
// or for a natal planet without its position (a stretch of one instant)
// "Pluto: no position on 2250-01-01 12:00 UT, the birthdate; no transits to it."
std::vector<std::string> GapLines(const std::vector<PositionGap>& gaps);

// The events of the windows inside [fromAJD, toAJD] by time (on equal times
// by pair, kind, then entering, exact, leaving); each window's entering and
// leaving at its orb, its exact instants at deviation 0. For the window that
// holds windows from FindWindowAt and exports them.
std::vector<AspectEvent> EventsOfWindows(const std::vector<AspectWindow>& windows, double fromAJD,
                                         double toAJD);

// The minute (as an AJD) to which the entering (entering true) or leaving
// instant of a window rounds, decided from the positions alone: the minute m
// whose two half minutes m - 30 s and m + 30 s are out of and in orb (in and
// out of orb for a leaving), by the table's strict test (deviation < the
// window's orb; no position counts as out of orb), tried from the minute
// nearest `estimate` up to two minutes away. The same whatever the estimate
// within that reach; `estimate` itself when no such minute is found.
double SettledMinute(const EngineServices& services, Mode mode, double birthAJD, const AspectWindow& window,
                     double estimate, bool entering);

// ---- pieces, exposed for the tests and for the window ----

// "2024-03-05T12:12:00Z"; "" for an instant that is not known (< 0).
std::string UtcIsoText(double ajd);
// "20240305T121200Z"; "" for an instant that is not known.
std::string IcsDateTime(double ajd);
// The stable identifier of a window's VEVENT: mode, birthdate (Personal
// modes), pair, kind and entering instant to the minute, e.g.
// "world-Ju-Sa-Tri-20201214T1003Z@vemo". A later start of the span or a
// second export gives the same text. `enters` is the window's entering
// instant, or the first instant with positions when that is not known.
std::string EventUid(const EventExportContext& context, const AspectWindow& window, double enters);
// "Jupiter trine Saturn (heliocentric)"; in the Personal modes
// "transiting Mars square natal Venus (heliocentric)"; in German "Transit
// Mars Quadrat Radix Venus (heliozentrisch)".
std::string WindowSummary(Mode mode, const AspectWindow& window);
// A field of a CSV row: quoted (with quotes doubled) when it holds a comma,
// a quote, CR or LF.
std::string CsvField(const std::string& text);
// An iCalendar TEXT value: backslash, semicolon and comma escaped with a
// backslash, a line break (LF or CR LF) written as \n.
std::string IcsText(const std::string& text);
// A content line folded after every 75 octets (RFC 5545 3.1): CR LF and a
// blank before each continuation, never inside a UTF-8 sequence. The result
// ends with CR LF.
std::string FoldIcsLine(const std::string& line);
// A JSON string literal: quotes and backslashes escaped, LF, CR and TAB as
// \n, \r, \t, the other control characters as \u00XX.
std::string JsonQuoted(const std::string& text);

}  // namespace vemo::reports
