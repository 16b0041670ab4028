#include "app/reports/event_export.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <tuple>
#include <utility>

#include "app/aspects/vocabulary.h"
#include "app/text/languages.h"
#include "app/text/program_text.h"
#include "app/time/date_texts.h"
#include "app/time/timezones.h"

namespace vemo::reports {

namespace {

constexpr int kMinutesPerDay = 1440;
constexpr double kOneMinute = 1.0 / kMinutesPerDay;

// An instant rounded to the nearest minute, shifted by a zone: the civil day
// number and the minute of that day.
struct CivilMinute {
  int jdn = 0;
  int minute = 0;  // 0..1439
};

CivilMinute ToCivilMinute(double ajd, int zoneMinutes) {
  // Rounded before the zone is added, so that a local time and its UT always
  // differ by exactly the zone.
  const long long minutes = std::llround((ajd + 0.5) * kMinutesPerDay) + zoneMinutes;
  long long day = minutes / kMinutesPerDay;
  long long minute = minutes % kMinutesPerDay;
  if (minute < 0) minute += kMinutesPerDay, --day;
  return {static_cast<int>(day), static_cast<int>(minute)};
}

std::string HourMinute(int minute, const char* separator) {
  const int h = minute / 60;
  const int m = minute % 60;
  std::string text{static_cast<char>('0' + h / 10), static_cast<char>('0' + h % 10)};
  text += separator;
  text += static_cast<char>('0' + m / 10);
  text += static_cast<char>('0' + m % 10);
  return text;
}

std::string WithoutHyphens(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '-'), text.end());
  return text;
}

// "2024-03-05 12:12" in the zone (UT for 0).
std::string DateTimeText(double ajd, int zoneMinutes = 0) {
  const CivilMinute c = ToCivilMinute(ajd, zoneMinutes);
  return JdnToIsoDate(c.jdn) + " " + HourMinute(c.minute, ":");
}

std::string UtText(double ajd) { return DateTimeText(ajd) + " UT"; }

// "20240305T1212": the UTC minute of iCalendar date-times and of the UIDs.
std::string CompactMinute(double ajd) {
  const CivilMinute c = ToCivilMinute(ajd, 0);
  return WithoutHyphens(JdnToIsoDate(c.jdn)) + "T" + HourMinute(c.minute, "");
}

// The digits of printf's "%.*f", correctly rounded, in any locale.
std::string Fixed(double value, int decimals) {
  char text[400];
  const std::to_chars_result r = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  return r.ec == std::errc() ? std::string(text, r.ptr) : std::string();
}

std::string JdText(double ajd) { return Fixed(ajd, 6); }
std::string DegreesText(double radians) { return Fixed(RadiansToDegrees(radians), 4); }

// The event column of the CSV: English in every language.
const char* EventWord(EventKind event) {
  switch (event) {
    case EventKind::Enters: return "enters";
    case EventKind::Exact: return "exact";
    case EventKind::Leaves: return "leaves";
  }
  return "";
}

// The event as the text list says it.
const char* EventText(EventKind event) {
  switch (event) {
    case EventKind::Enters: return InProgramLanguage("enters", "tritt in den Orbis ein");
    case EventKind::Exact: return InProgramLanguage("exact", "exakt");
    case EventKind::Leaves: return InProgramLanguage("leaves", "verl\u00E4sst den Orbis");
  }
  return "";
}

const char* ModeKey(Mode mode) {
  switch (mode) {
    case Mode::WorldTransits: return "world";
    case Mode::Natal1: return "natal1";
    case Mode::Natal2: return "natal2";
    case Mode::Personal1: return "personal1";
    case Mode::Personal2: return "personal2";
    case Mode::Synastry: return "synastry";
  }
  return "";
}

const char* ModeHeading(Mode mode) {
  switch (mode) {
    case Mode::Personal1:
      return InProgramLanguage("Personal transits, 1st birthdate", "Pers\u00F6nliche Transite zum 1. Geburtsdatum");
    case Mode::Personal2:
      return InProgramLanguage("Personal transits, 2nd birthdate", "Pers\u00F6nliche Transite zum 2. Geburtsdatum");
    default: return InProgramLanguage("World transits", "Welttransite");
  }
}

const AspectWindow* WindowOf(const EventSearchResult& result, const AspectEvent& event) {
  if (event.window < 0 || static_cast<std::size_t>(event.window) >= result.windows.size()) return nullptr;
  return &result.windows[static_cast<std::size_t>(event.window)];
}

bool Known(double ajd) { return ajd >= 0; }

std::string JsonInstant(double ajd) {
  if (!Known(ajd)) return "null";
  return "{\"utc\": " + JsonQuoted(UtcIsoText(ajd)) + ", \"jd\": " + JdText(ajd) + "}";
}

std::string JsonBool(bool value) { return value ? "true" : "false"; }

bool GapConcerns(const PositionGap& gap, const AspectWindow& window) {
  return gap.planet == window.planet1 || gap.planet == window.planet2;
}

// Where a calendar event of a window starts and ends when a bound is not
// known: the stretch without positions that cut it off, else the span.
struct IcsBounds {
  double start = 0.0;
  double end = 0.0;
  const PositionGap* startGap = nullptr;  // set when the entering is not known
  const PositionGap* endGap = nullptr;    // set when the leaving is not known
};

// The window's aspect by the table's strict test at t; false where a
// position is not available.
bool InOrbAt(const EngineServices& services, bool personal, double natal, const AspectWindow& w, double t) {
  const double lon1 = personal ? natal : services.HelioLongitude(w.planet1, t);
  const double lon2 = services.HelioLongitude(w.planet2, t);
  if (!(lon1 >= 0) || !(lon2 >= 0)) return false;
  return std::fabs(AspectSeparation(lon1, lon2) - AspectAngle(w.kind)) < w.orb;
}

IcsBounds BoundsOf(const AspectWindow& w, const std::vector<PositionGap>& gaps,
                   const EventExportContext& context) {
  IcsBounds b{w.enters, w.leaves, nullptr, nullptr};
  // The known part of the window, to tell the stretches before it from those after.
  const double firstKnown = !w.exact.empty() ? w.exact.front() : (Known(w.leaves) ? w.leaves : context.toAJD);
  const double lastKnown = !w.exact.empty() ? w.exact.back() : (Known(w.enters) ? w.enters : context.fromAJD);
  if (!Known(w.enters)) {
    b.start = context.fromAJD;
    for (const PositionGap& g : gaps) {
      if (GapConcerns(g, w) && g.toAJD <= firstKnown && (b.startGap == nullptr || g.toAJD > b.startGap->toAJD)) {
        b.startGap = &g;
      }
    }
    if (b.startGap != nullptr) b.start = b.startGap->toAJD;
  }
  if (!Known(w.leaves)) {
    b.end = context.toAJD;
    for (const PositionGap& g : gaps) {
      if (GapConcerns(g, w) && g.fromAJD >= lastKnown && (b.endGap == nullptr || g.fromAJD < b.endGap->fromAJD)) {
        b.endGap = &g;
      }
    }
    if (b.endGap != nullptr) b.end = b.endGap->fromAJD;
  }
  // With the positions at hand each bound is settled on its minute, so that a
  // second export (another span, another grid of the search) writes the same.
  if (context.services != nullptr) {
    if (Known(w.enters) || b.startGap != nullptr) {
      b.start = SettledMinute(*context.services, context.mode, context.birthAJD, w, b.start, true);
    }
    if (Known(w.leaves) || b.endGap != nullptr) {
      b.end = SettledMinute(*context.services, context.mode, context.birthAJD, w, b.end, false);
    }
  }
  // DTEND must lie after DTSTART (RFC 5545 3.6.1) at the minute written.
  // (The texts compare as the minutes do: fixed width, most significant first.)
  if (CompactMinute(b.end) <= CompactMinute(b.start)) b.end = b.start + kOneMinute;
  return b;
}

std::string PairPhrase(Mode mode, const AspectWindow& w) {
  const std::string relation = Aspect(w.kind).Relation;
  if (IsPersonalMode(mode)) {
    return InProgramLanguage("transiting ", "Transit ") + PlanetName(w.planet2) + " " + relation +
           InProgramLanguage(" natal ", " Radix ") + PlanetName(w.planet1);
  }
  return PlanetName(w.planet1) + " " + relation + " " + PlanetName(w.planet2);
}

std::string IcsDescription(const EventExportContext& context, const AspectWindow& w, const IcsBounds& b) {
  std::string text = InProgramLanguage("Heliocentric ", "Heliozentrisch: ") + PairPhrase(context.mode, w) +
                     InProgramLanguage(", orb ", ", Orbis ") + FormatAngleDM(w.orb) + ".";
  if (IsPersonalMode(context.mode) && Known(context.birthAJD)) {
    text += InProgramLanguage("\nBirthdate: ", "\nGeburtsdatum: ") + UtText(context.birthAJD) + ".";
  }
  const std::string notKnown = InProgramLanguage("not known", "unbekannt");
  const std::string positionsOf = InProgramLanguage("; the positions of ", "; die Positionen von ");
  text += InProgramLanguage("\nEnters its orb: ", "\nTritt in den Orbis ein: ");
  if (Known(w.enters)) {
    text += UtText(b.start) + ".";
  } else if (b.startGap != nullptr) {
    text += notKnown + positionsOf + PlanetName(b.startGap->planet) + InProgramLanguage(" begin on ", " beginnen am ") +
            UtText(b.start) + ".";
  } else {
    text += notKnown + InProgramLanguage(", before ", ", vor ") + UtText(b.start) + ".";
  }
  for (double exact : w.exact) text += InProgramLanguage("\nExact: ", "\nExakt: ") + UtText(exact) + ".";
  text += InProgramLanguage("\nLeaves its orb: ", "\nVerl\u00E4sst den Orbis: ");
  if (Known(w.leaves)) {
    text += UtText(b.end) + ".";
  } else if (b.endGap != nullptr) {
    text += notKnown + positionsOf + PlanetName(b.endGap->planet) + InProgramLanguage(" end on ", " enden am ") +
            UtText(b.end) + ".";
  } else {
    text += notKnown + InProgramLanguage(", after ", ", nach ") + UtText(b.end) + ".";
  }
  return text;
}

}  // namespace

double SettledMinute(const EngineServices& services, Mode mode, double birthAJD, const AspectWindow& window,
                     double estimate, bool entering) {
  if (!services.HelioLongitude || !Known(estimate)) return estimate;
  const bool personal = IsPersonalMode(mode);
  const double natal = personal ? services.HelioLongitude(window.planet1, birthAJD) : 0.0;
  // Half minute h is the instant h / 2880 - 0.5: the same double whatever
  // the estimate. The change rounds to minute m when it lies between the
  // half minutes 2m - 1 and 2m + 1.
  auto inOrb = [&](long long halfMinute) {
    return InOrbAt(services, personal, natal, window, static_cast<double>(halfMinute) / (2 * kMinutesPerDay) - 0.5);
  };
  const long long nearest = std::llround((estimate + 0.5) * kMinutesPerDay);
  for (const long long m : {nearest, nearest - 1, nearest + 1, nearest - 2, nearest + 2}) {
    if (inOrb(2 * m - 1) != entering && inOrb(2 * m + 1) == entering) {
      return static_cast<double>(m) / kMinutesPerDay - 0.5;
    }
  }
  return estimate;
}

std::string UtcIsoText(double ajd) {
  if (!Known(ajd)) return "";
  const CivilMinute c = ToCivilMinute(ajd, 0);
  std::string text = JdnToIsoDate(c.jdn);
  text.reserve(text.size() + 10);
  text += 'T';
  text += HourMinute(c.minute, ":");
  text += ":00Z";
  return text;
}

std::string IcsDateTime(double ajd) {
  return Known(ajd) ? CompactMinute(ajd) + "00Z" : "";
}

std::string EventUid(const EventExportContext& context, const AspectWindow& window, double enters) {
  std::string uid = ModeKey(context.mode);
  // The birthdate in days to five places (under a second): rows fall on whole
  // minutes, so the text is the same on every run.
  if (IsPersonalMode(context.mode)) uid += "-" + Fixed(context.birthAJD, 5);
  // English in every language, so that a calendar importing the events
  // again in another language updates them rather than adding them twice.
  return uid + "-" + PlanetAbbrev(window.planet1, kEnglish) + "-" + PlanetAbbrev(window.planet2, kEnglish) + "-" +
         Aspect(window.kind, kEnglish).Abbrev + "-" + (Known(enters) ? CompactMinute(enters) + "Z" : "unknown") + "@vemo";
}

std::string WindowSummary(Mode mode, const AspectWindow& window) {
  return PairPhrase(mode, window) + InProgramLanguage(" (heliocentric)", " (heliozentrisch)");
}

std::string CsvField(const std::string& text) {
  const bool plain = std::none_of(text.begin(), text.end(),
                                  [](char c) { return c == ',' || c == '"' || c == '\r' || c == '\n'; });
  if (plain) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

std::string IcsText(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\\' || c == ';' || c == ',') {
      out += '\\';
      out += c;
    } else if (c == '\n' || c == '\r') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out;
}

std::string FoldIcsLine(const std::string& line) {
  // 75 octets a line; a continuation's leading blank is one of them.
  std::string out;
  std::size_t at = 0;
  std::size_t room = 75;
  while (line.size() - at > room) {
    std::size_t cut = at + room;
    while (cut > at && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
    if (cut == at) cut = at + room;  // no lead byte in reach: not UTF-8 anyway
    out.append(line, at, cut - at);
    out += "\r\n ";
    at = cut;
    room = 74;
  }
  out.append(line, at, std::string::npos);
  return out + "\r\n";
}

std::string JsonQuoted(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::vector<std::string> GapLines(const std::vector<PositionGap>& gaps) {
  std::vector<std::string> lines;
  for (const PositionGap& g : gaps) {
    // A stretch of one instant: a natal planet without its position.
    if (LanguageIndex() == kGerman) {
      lines.push_back(g.fromAJD == g.toAJD ? PlanetName(g.planet) + ": keine Position am Geburtsdatum (" +
                                                 UtText(g.fromAJD) + "); daher keine Transite zu diesem Planeten."
                                           : PlanetName(g.planet) + ": keine Positionen von " + UtText(g.fromAJD) +
                                                 " bis " + UtText(g.toAJD) +
                                                 "; dort enden die Ereignisse dieses Planeten.");
      continue;
    }
    lines.push_back(g.fromAJD == g.toAJD ? PlanetName(g.planet) + ": no position on " + UtText(g.fromAJD) +
                                               ", the birthdate; no transits to it."
                                         : PlanetName(g.planet) + ": no positions from " + UtText(g.fromAJD) +
                                               " to " + UtText(g.toAJD) + "; its events stop there.");
  }
  return lines;
}

std::vector<AspectEvent> EventsOfWindows(const std::vector<AspectWindow>& windows, double fromAJD,
                                         double toAJD) {
  std::vector<AspectEvent> events;
  for (std::size_t i = 0; i < windows.size(); ++i) {
    const AspectWindow& w = windows[i];
    auto add = [&](EventKind kind, double ajd, double deviation) {
      if (Known(ajd) && ajd >= fromAJD && ajd <= toAJD) {
        events.push_back({kind, ajd, w.planet1, w.planet2, w.kind, deviation, static_cast<int>(i)});
      }
    };
    add(EventKind::Enters, w.enters, w.orb);
    for (double exact : w.exact) add(EventKind::Exact, exact, 0.0);
    add(EventKind::Leaves, w.leaves, w.orb);
  }
  // The order of the search's own list: time, pair, kind, then entering,
  // exact, leaving.
  std::stable_sort(events.begin(), events.end(), [](const AspectEvent& a, const AspectEvent& b) {
    return std::tie(a.ajd, a.planet1, a.planet2, a.kind, a.event) <
           std::tie(b.ajd, b.planet1, b.planet2, b.kind, b.event);
  });
  return events;
}

// ---------------------------------------------------------------- EventWriter

namespace {

// A line of the text list: each column but the last padded to its width in
// characters, one blank between. German words are longer: the columns of
// the zone, the aspect and the event are wider.
std::string TextLine(const std::array<std::string, 7>& cells) {
  static constexpr std::array<std::size_t, 6> kEnglishWidths{17, 17, 10, 10, 11, 6};
  static constexpr std::array<std::size_t, 6> kGermanWidths{18, 17, 10, 10, 11, 22};
  const auto& widths = LanguageIndex() == kGerman ? kGermanWidths : kEnglishWidths;
  std::string line;
  line.reserve(128);
  for (std::size_t i = 0; i < widths.size(); ++i) {
    line += cells[i];
    line.append(widths[i] - std::min(widths[i], Utf8Length(cells[i])) + 1, ' ');
  }
  return line + cells[6] + "\n";
}

}  // namespace

EventWriter::EventWriter(EventFormat format, const EventExportContext& context, Sink sink, std::string spoolFolder,
                         std::size_t keptInMemory)
    : format_(format),
      context_(context),
      sink_(std::move(sink)),
      spoolFolder_(std::move(spoolFolder)),
      keptInMemory_(keptInMemory) {}

EventWriter::~EventWriter() = default;

bool EventWriter::Put(std::string_view bytes) {
  if (failed_) return false;
  if (!sink_(bytes)) failed_ = true;
  return !failed_;
}

bool EventWriter::Begin() {
  if (begun_) return !failed_;
  begun_ = true;
  const bool personal = IsPersonalMode(context_.mode);
  switch (format_) {
    case EventFormat::Text: {
      std::string out = InProgramLanguage("Aspect events, ", "Aspektereignisse, ") + std::string(ModeHeading(context_.mode)) +
                        InProgramLanguage(" (heliocentric)\n", " (heliozentrisch)\n");
      if (personal) out += InProgramLanguage("Birthdate ", "Geburtsdatum ") + UtText(context_.birthAJD) + "\n";
      out += InProgramLanguage("From ", "Von ") + UtText(context_.fromAJD) + InProgramLanguage(" to ", " bis ") +
             UtText(context_.toAJD) + InProgramLanguage("; local times in ", "; Ortszeiten in ") +
             ZoneOffsetText(context_.zoneMinutes) + "\n\n";
      return Put(out);
    }
    case EventFormat::Csv:
      // RFC 4180: CR LF after every record, the header included. The Personal
      // modes name the roles: planet1 is the natal planet, planet2 the transiting one.
      return Put(std::string("event,utc,jd,") + (personal ? "natal_planet,transiting_planet" : "planet1,planet2") +
                 ",kind,deviation_deg,window_start_utc,window_end_utc\r\n");
    case EventFormat::Json: {
      std::string out = "{\"mode\": " + JsonQuoted(ModeKey(context_.mode)) + ", \"from\": " +
                        JsonInstant(context_.fromAJD) + ", \"to\": " + JsonInstant(context_.toAJD);
      if (personal) out += ", \"birth\": " + JsonInstant(context_.birthAJD);
      return Put(out + ", \"windows\": [");
    }
    case EventFormat::Ics:
      return Put(FoldIcsLine("BEGIN:VCALENDAR") + FoldIcsLine("VERSION:2.0") +
                 FoldIcsLine("PRODID:-//vemo//Heliocentric aspect events//EN") + FoldIcsLine("CALSCALE:GREGORIAN"));
  }
  return true;
}

std::string EventWriter::WindowText(const AspectWindow& w, const std::vector<PositionGap>& gaps) const {
  if (format_ == EventFormat::Json) {
    const bool personal = IsPersonalMode(context_.mode);
    const std::string key1 = personal ? "natal_planet" : "planet1";
    const std::string key2 = personal ? "transiting_planet" : "planet2";
    std::string out = "\n  {\"" + key1 + "\": " + JsonQuoted(PlanetName(w.planet1)) + ", \"" + key2 +
                      "\": " + JsonQuoted(PlanetName(w.planet2)) + ", \"kind\": " + JsonQuoted(Aspect(w.kind).Name) +
                      ", \"orb_deg\": " + DegreesText(w.orb) + ", \"enters\": " + JsonInstant(w.enters) +
                      ", \"leaves\": " + JsonInstant(w.leaves) + ", \"exact\": [";
    for (std::size_t k = 0; k < w.exact.size(); ++k) out += (k > 0 ? ", " : "") + JsonInstant(w.exact[k]);
    return out + "], \"enters_before_span\": " + JsonBool(w.entersBeforeSpan) +
           ", \"leaves_after_span\": " + JsonBool(w.leavesAfterSpan) + "}";
  }
  const IcsBounds b = BoundsOf(w, gaps, context_);
  return FoldIcsLine("BEGIN:VEVENT") + FoldIcsLine("UID:" + EventUid(context_, w, b.start)) +
         FoldIcsLine("DTSTAMP:" + context_.dtstamp) + FoldIcsLine("DTSTART:" + IcsDateTime(b.start)) +
         FoldIcsLine("DTEND:" + IcsDateTime(b.end)) +
         FoldIcsLine("SUMMARY:" + IcsText(WindowSummary(context_.mode, w))) +
         FoldIcsLine("DESCRIPTION:" + IcsText(IcsDescription(context_, w, b))) + FoldIcsLine("TRANSP:TRANSPARENT") +
         FoldIcsLine("END:VEVENT");
}

bool EventWriter::Aside(const std::string& text) {
  if (failed_) return false;
  ++aside_;
  if (!asideFile_ && (spoolFolder_.empty() || asideText_.size() + text.size() <= keptInMemory_)) {
    // Room for all that may be kept, taken once: growing by doubling would
    // copy the text and touch fresh pages at each step.
    if (asideText_.capacity() < keptInMemory_ && !spoolFolder_.empty()) asideText_.reserve(keptInMemory_);
    asideText_ += text;
    return true;
  }
  if (!asideFile_) {
    asideFile_ = std::make_unique<TemporaryFile>(spoolFolder_, ".part", false);
    if (!asideFile_->Created() || !asideFile_->Write(asideText_)) {
      spoolError_ = asideFile_->Error();
      failed_ = true;
      return false;
    }
    asideText_.clear();
    asideText_.shrink_to_fit();
  }
  if (!asideFile_->Write(text)) {
    spoolError_ = asideFile_->Error();
    failed_ = true;
  }
  return !failed_;
}

bool EventWriter::Window(const AspectWindow& w, long found, const std::vector<PositionGap>& gaps) {
  if (!Begin()) return false;
  if (format_ != EventFormat::Json && format_ != EventFormat::Ics) return true;
  if (w.enters < 0) {
    unknown_.push_back({w.planet1, w.planet2, w.kind, found, WindowText(w, gaps)});
    return true;
  }
  // JSON separates windows by commas: every one after the first of those
  // kept aside has its own; Finish puts one between the two groups.
  const bool comma = format_ == EventFormat::Json && aside_ > 0;
  return Aside((comma ? "," : "") + WindowText(w, gaps));
}

bool EventWriter::Event(const AspectEvent& event, const AspectWindow& window) { return EventOf(event, &window); }

bool EventWriter::EventOf(const AspectEvent& e, const AspectWindow* w) {
  if (!Begin()) return false;
  if (format_ == EventFormat::Text) {
    std::string out;
    if (!anyEvent_) {
      const bool personal = IsPersonalMode(context_.mode);
      out += TextLine({InProgramLanguage("Local ", "Ortszeit ") + ZoneOffsetText(context_.zoneMinutes), "UT",
                       personal ? InProgramLanguage("Natal", "Radix") : "Planet 1",
                       personal ? InProgramLanguage("Transiting", "Transit") : "Planet 2", InProgramLanguage("Aspect", "Aspekt"),
                       InProgramLanguage("Event", "Ereignis"), InProgramLanguage("Deviation", "Abweichung")});
    }
    anyEvent_ = true;
    out += TextLine({DateTimeText(e.ajd, context_.zoneMinutes), DateTimeText(e.ajd), PlanetName(e.planet1),
                     PlanetName(e.planet2), Aspect(e.kind).Name, EventText(e.event), FormatAngleDM(e.deviation)});
    return Put(out);
  }
  if (format_ != EventFormat::Csv) return true;
  anyEvent_ = true;
  // One line built in place: a span of centuries writes millions of them.
  std::string out;
  out.reserve(192);
  const auto add = [&out](const std::string& field, bool first = false) {
    if (!first) out += ',';
    out += CsvField(field);
  };
  add(EventWord(e.event), true);
  add(UtcIsoText(e.ajd));
  add(JdText(e.ajd));
  // Programs read these columns: English in every language.
  add(PlanetName(e.planet1, kEnglish));
  add(PlanetName(e.planet2, kEnglish));
  add(Aspect(e.kind, kEnglish).Name);
  add(DegreesText(e.deviation));
  add(w != nullptr ? UtcIsoText(w->enters) : "");
  add(w != nullptr ? UtcIsoText(w->leaves) : "");
  out += "\r\n";
  return Put(out);
}

bool EventWriter::Finish(const std::vector<PositionGap>& gaps) {
  if (!Begin()) return false;
  if (format_ == EventFormat::Text) {
    std::string out = anyEvent_ ? "" : InProgramLanguage("No events.\n", "Keine Ereignisse.\n");
    const std::vector<std::string> lines = GapLines(gaps);
    if (!lines.empty()) out += "\n";
    for (const std::string& g : lines) out += g + "\n";
    return Put(out);
  }
  if (format_ == EventFormat::Csv) return true;
  // The windows whose entering is not known, by pair and kind, then the others.
  std::stable_sort(unknown_.begin(), unknown_.end(), [](const Unknown& a, const Unknown& b) {
    return std::tie(a.planet1, a.planet2, a.kind, a.found) < std::tie(b.planet1, b.planet2, b.kind, b.found);
  });
  const bool json = format_ == EventFormat::Json;
  for (std::size_t i = 0; i < unknown_.size(); ++i) {
    if (!Put((json && i > 0 ? "," : "") + unknown_[i].text)) return false;
  }
  if (json && !unknown_.empty() && aside_ > 0 && !Put(",")) return false;
  if (asideFile_) {
    if (!asideFile_->ReadBack([this](std::string_view piece) { return Put(piece); })) {
      if (!failed_) spoolError_ = asideFile_->Error();
      failed_ = true;
      return false;
    }
    asideFile_.reset();
  } else if (!Put(asideText_)) {
    return false;
  }
  if (!json) return Put(FoldIcsLine("END:VCALENDAR"));
  std::string out = unknown_.empty() && aside_ == 0 ? "]" : "\n]";
  out += ", \"gaps\": [";
  for (std::size_t i = 0; i < gaps.size(); ++i) {
    const PositionGap& g = gaps[i];
    out += std::string(i > 0 ? ", " : "") + "{\"planet\": " + JsonQuoted(PlanetName(g.planet)) +
           ", \"from\": " + JsonInstant(g.fromAJD) + ", \"to\": " + JsonInstant(g.toAJD) + "}";
  }
  return Put(out + "]}\n");
}

namespace {

std::string Formatted(EventFormat format, const EventSearchResult& result, const EventExportContext& context) {
  std::string out;
  EventWriter writer(format, context, [&out](std::string_view bytes) { return out.append(bytes), true; }, "");
  for (std::size_t i = 0; i < result.windows.size(); ++i) {
    writer.Window(result.windows[i], static_cast<long>(i), result.gaps);
  }
  for (const AspectEvent& e : result.events) writer.EventOf(e, WindowOf(result, e));
  writer.Finish(result.gaps);
  return out;
}

}  // namespace

std::string FormatEventsText(const EventSearchResult& result, const EventExportContext& context) {
  return Formatted(EventFormat::Text, result, context);
}

std::string FormatEventsCsv(const EventSearchResult& result, const EventExportContext& context) {
  return Formatted(EventFormat::Csv, result, context);
}

std::string FormatEventsJson(const EventSearchResult& result, const EventExportContext& context) {
  return Formatted(EventFormat::Json, result, context);
}

std::string FormatEventsIcs(const EventSearchResult& result, const EventExportContext& context) {
  return Formatted(EventFormat::Ics, result, context);
}

void AddPlutoGap(const EventSearchRequest& request, std::vector<PositionGap>& gaps) {
  bool plutoGap = false;
  for (const PositionGap& g : gaps) plutoGap = plutoGap || g.planet == kPluto;
  if (request.planetCount < kMaxPlanets && !plutoGap) gaps.push_back({kPluto, request.fromAJD, request.toAJD});
}

EventSearchResult SearchEventsForExport(const EngineServices& services, const EventSearchRequest& request) {
  EventSearchResult result = FindAspectEvents(services, request);
  if (result.ok) AddPlutoGap(request, result.gaps);
  return result;
}

std::string FormatEvents(EventFormat format, const EventSearchResult& result, const EventExportContext& context) {
  switch (format) {
    case EventFormat::Csv: return FormatEventsCsv(result, context);
    case EventFormat::Ics: return FormatEventsIcs(result, context);
    case EventFormat::Json: return FormatEventsJson(result, context);
    case EventFormat::Text: break;
  }
  return FormatEventsText(result, context);
}

}  // namespace vemo::reports
