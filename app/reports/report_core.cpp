// The aspect report: title, sort, transit list and the natal and synastry
// description. See report_core.h.
#include "app/reports/report_core.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "app/time/date_texts.h"

namespace vemo::reports {

namespace {

std::string Lower(std::string s) {
  for (char& ch : s) {
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
  }
  return s;
}

std::string UpperFirst(std::string s) {
  if (!s.empty() && s[0] >= 'a' && s[0] <= 'z') s[0] = static_cast<char>(s[0] - 'a' + 'A');
  return s;
}

std::string ReplaceAll(std::string text, const std::string& what, const std::string& with) {
  if (what.empty()) return text;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size())) {
    text.replace(at, what.size(), with);
  }
  return text;
}

// The key of a record: from the 1-based keyStart to the end. A record too
// short for the key sorts as an empty key rather than failing.
std::string KeyOf(const DurationEntry& entry, int keyStart) {
  const size_t from = static_cast<size_t>(std::max(keyStart, 1) - 1);
  return from < entry.Record.size() ? entry.Record.substr(from) : std::string();
}

// The descending core. The pivot is copied: the swaps move the records under it.
void QuickSortCore(std::vector<DurationEntry>& records, int lo, int hi, int keyStart) {
  if (lo >= hi) return;
  const std::string pivot = KeyOf(records[static_cast<size_t>(lo + (hi - lo) / 2)], keyStart);
  int i = lo;
  int j = hi;
  while (i <= j) {
    while (i < hi && KeyOf(records[static_cast<size_t>(i)], keyStart) > pivot) ++i;
    while (j > lo && KeyOf(records[static_cast<size_t>(j)], keyStart) < pivot) --j;
    if (i <= j) {
      if (i < j) std::swap(records[static_cast<size_t>(i)], records[static_cast<size_t>(j)]);
      ++i;
      --j;
    }
  }
  if (lo < j) QuickSortCore(records, lo, j, keyStart);
  if (i < hi) QuickSortCore(records, i, hi, keyStart);
}

// Days from the record's beginning to its end, both counted, as the record
// writes them.
long DurationDays(const DurationEntry& e) {
  return static_cast<long>(std::trunc(e.End)) - static_cast<long>(std::trunc(e.Beginning)) + 1;
}

// "Mars(1) (16° in Taurus)": a planet with its tag and its place in the sign.
std::string PlanetAt(int planet, const std::string& tag, double longitude) {
  return PlanetName(planet) + tag + " (" + FormatZodiacPosition(longitude, true) + ")";
}

}  // namespace

bool ShortMonthsInReport(Mode mode) { return IsPersonalMode(mode) || mode == Mode::Synastry; }

ReportHeading MakeReportHeading(Mode mode, const std::array<std::string, 3>& dates, const TextFunction& text,
                                const std::function<std::string(const std::string&, bool personal)>& addOrbToTitle) {
  ReportHeading h;
  const std::string birthText = text(BirthRowOfMode(mode) == kRowBirth2 ? 6 : 5);
  const std::string& birthDate = dates[static_cast<size_t>(BirthRowOfMode(mode) == kRowBirth2 ? 2 : 1)];
  bool personal = false;
  switch (mode) {
    case Mode::WorldTransits:
      h.caption = text(160) + " " + text(159);
      h.title = UpperFirst(text(160)) + " " + text(58) + " " + dates[0] + ".  ";
      break;
    case Mode::Personal1:
    case Mode::Personal2:
      h.caption = text(161) + " " + text(159) + " " + text(169) + " " + birthText;
      h.title = UpperFirst(text(161)) + " " + text(85) + " " + birthDate + " " + text(58) + " " + dates[0] + ".  ";
      personal = true;
      break;
    case Mode::Natal1:
    case Mode::Natal2:
      h.caption = birthText + " " + text(177);
      h.title = text(178) + " " + birthDate + ".  ";
      break;
    case Mode::Synastry:
      h.caption = text(88);
      h.title = text(179) + " (1) " + dates[1] + " " + text(57) + " (2) " + dates[2] + ".  ";
      personal = true;
      break;
  }
  if (addOrbToTitle) h.title = addOrbToTitle(h.title, personal);
  h.title += "   ";
  if (IsNatalMode(mode)) h.title += text(51);
  return h;
}

std::vector<SortEntry> SortEntries(Mode mode, const TextFunction& text) {
  if (mode == Mode::WorldTransits) {
    return {{text(62), "exactness", 9}, {text(61), "aspect", 7},  {text(421), "planet", 1},
            {text(64), "beginning", 18}, {text(65), "ending", 26}, {text(66), "duration", 34}};
  }
  if (IsPersonalMode(mode)) {
    return {{text(62), "exactness", 9},         {text(61), "aspect", 7},
            {Lower(text(67)), "natal", 1},      {Lower(text(68)), "transiting", 3},
            {text(64), "beginning", 18},        {text(65), "ending", 26},
            {text(66), "duration", 34}};
  }
  return {};
}

int SortEntryIndex(Mode mode, const std::string& key) {
  const std::vector<SortEntry> entries = SortEntries(mode, [](int) { return std::string(); });
  for (size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].key == key) return static_cast<int>(i);
  }
  return -1;
}

int SortKeyStart(Mode mode, const std::string& key) {
  const std::vector<SortEntry> entries = SortEntries(mode, [](int) { return std::string(); });
  if (entries.empty()) return 9;
  const int index = SortEntryIndex(mode, key);
  return entries[static_cast<size_t>(index < 0 ? 0 : index)].keyStart;
}

void QuickSort(int direction, std::vector<DurationEntry>& records, int lo, int hi, int keyStart) {
  // Ranges outside the list are left alone (hi = -1 is the empty list).
  if (lo < 0 || hi >= static_cast<int>(records.size()) || lo >= hi) return;
  QuickSortCore(records, lo, hi, keyStart);
  if (direction == 0) return;
  for (int k = 0; lo + k < hi - k; ++k) {
    std::swap(records[static_cast<size_t>(lo + k)], records[static_cast<size_t>(hi - k)]);
  }
}

void SortRecords(std::vector<DurationEntry>& records, int keyStart) {
  QuickSort(1, records, 0, static_cast<int>(records.size()) - 1, keyStart);
}

std::array<int, 7> ColumnWidths() {
  std::array<int, 7> w{};
  for (int p = 1; p <= kMaxPlanets; ++p) w[1] = std::max(w[1], static_cast<int>(Utf8Length(PlanetName(p))));
  w[3] = w[1];
  for (int k = 1; k <= kNumKinds; ++k) {
    w[2] = std::max(w[2], static_cast<int>(Utf8Length(Aspect(k).Relation)));
  }
  w[6] = 2 * w[1] + w[2] + 4;
  w[2] += 10;
  // The longest dates the list writes, with their comma and blank.
  w[4] = static_cast<int>(std::string("September 30, 9999,").size());
  w[5] = static_cast<int>(std::string("September 30, 9999 ").size());
  return w;
}

std::string PadRight(const std::string& s, int w) {
  const size_t n = Utf8Length(s);
  if (w < 0 || n >= static_cast<size_t>(w)) return s;
  return s + std::string(static_cast<size_t>(w) - n, ' ');
}

std::string DurationText(int days, const TextFunction& text) {
  if (days == 1) return text(171);
  if (days == 365) return text(174);
  // A negative count (never a record's) reads as days rather than as a
  // year minus a rest.
  const int years = std::max(0, static_cast<int>(std::floor(days / 365.2425)));
  const int rest = days - static_cast<int>(std::floor(years * 365.2425));
  if (years < 1) return std::to_string(rest) + " " + text(175);
  std::string d = years == 1 ? text(174) : std::to_string(years) + " " + text(176);
  if (rest == 1) d += ", " + text(171);
  if (rest > 1) d += ", " + std::to_string(rest) + " " + text(175);
  return d;
}

bool ShownInTransitList(const DurationEntry& entry, const TransitListOptions& options) {
  // Midpoint lines have no dates, so a list ordered by its ends leaves them out.
  return !(options.mode == Mode::WorldTransits && entry.Planet2 == 10 &&
           (options.sortKey == "ending" || options.sortKey == "duration"));
}

std::string TransitList(const std::vector<DurationEntry>& records, const TransitListOptions& options,
                        const TextFunction& text, const std::function<std::string(int dayNumber)>& dateText) {
  const std::array<int, 7> w = ColumnWidths();
  const bool personal = IsPersonalMode(options.mode);
  std::string out;
  for (const DurationEntry& r : records) {
    if (!ShownInTransitList(r, options)) continue;
    const std::string aspect = std::string(Aspect(r.Kind).Relation) + " (" + FormatAngleDM(r.Deviation) + ")";
    std::string line;
    if (personal) {
      line = PadRight("tr." + PlanetName(r.Planet2), w[1] + 3) + " " + PadRight(aspect, w[2]) + " " +
             PadRight(text(56) + PlanetName(r.Planet1), w[3] + 2);
    } else {
      line = PadRight(PlanetName(r.Planet1), w[1]) + " " + PadRight(aspect, w[2]) + " " +
             PadRight(PlanetName(r.Planet2), w[3]);
    }
    if (r.Planet2 == 10 && options.showDurations) {
      const int slot = std::clamp(r.Kind, 1, kNumKinds) - 1;
      const int fourOrbs = 4 * options.orbListIndex[static_cast<size_t>(slot)];
      line += " " + ReplaceAll(text(53), "[4 x orb]", std::to_string(fourOrbs));
    } else if (options.showDurations) {
      const bool begins = r.Beginning >= 0;
      const bool ends = r.End >= 0;
      // "from May 1, 2024, until": German writes "von 1.Mai 2024 bis".
      const std::string comma = NamesLanguage() == kGerman ? "" : ",";
      const std::string b = begins ? dateText(static_cast<int>(r.Beginning)) + comma : text(168);
      const std::string f = ends ? dateText(static_cast<int>(r.End)) : text(168);
      line += " " + text(165) + " " + PadRight(b, w[4]) + " " + text(166) + " " + PadRight(f, w[5]);
      if (begins && ends) line += "(" + DurationText(static_cast<int>(DurationDays(r)), text) + ")";
    }
    out += line + kCrLf;
  }
  return out;
}

std::string NatalDescription(AspectEngine& engine, Mode mode, const TextFunction& text) {
  std::vector<DurationEntry>& records = engine.DurationRecords;
  SortRecords(records, 9);
  const bool synastry = mode == Mode::Synastry;
  const std::string tag1 = synastry ? "(1)" : "";
  const std::string tag2 = synastry ? "(2)" : "";
  const std::string chart = synastry ? Lower(text(14)) : text(77);
  const size_t set2 = synastry ? 1 : 0;
  const int count = static_cast<int>(records.size());
  const std::array<int, 7> w = ColumnWidths();
  const std::string exact = FormatAngleDM(0.0);

  const int language = NamesLanguage();
  const bool german = language == kGerman;
  std::string out =
      count == 1 ? text(72) : ReplaceAll(text(73), "[count in words]", Lower(NumberInWords(count, german)));
  out = ReplaceAll(out, "[natal chart]", chart) + kCrLf + kCrLf;

  std::array<int, 8> kinds{};
  for (int n = 0; n < count; ++n) {
    const DurationEntry& r = records[static_cast<size_t>(n)];
    if (r.Kind >= 1 && r.Kind <= kNumKinds) ++kinds[static_cast<size_t>(r.Kind)];
    const std::string z = FormatAngleDM(r.Deviation);
    const std::string fromExact = ReplaceAll(text(80), "[5 degrees]", z);
    const std::string pair = PlanetAt(r.Planet1, tag1, engine.PlanetLongitudes[0][static_cast<size_t>(r.Planet1)]) +
                             " " + Aspect(r.Kind).Relation + " " +
                             PlanetAt(r.Planet2, tag2, engine.PlanetLongitudes[set2][static_cast<size_t>(r.Planet2)]);
    if (n == 0) {
      out += text(74) + " " + pair + ", " + (z == exact ? text(86) : fromExact);
    } else if (n == 1) {
      out += z == exact ? text(78) + " " + pair + "." : text(79) + " " + pair + ", " + fromExact;
      if (count > 2) out += std::string(kCrLf) + kCrLf + text(81);
    } else {
      out += PadRight(pair + ", ", synastry ? w[6] + 6 : w[6]) + fromExact;
    }
    out += kCrLf;
  }

  if (count >= 3) {
    out += std::string(kCrLf) + (kinds[1] == 1 ? text(83) : text(84)) + " ";
    for (int k = 1; k <= kNumKinds; ++k) {
      const int c = kinds[static_cast<size_t>(k)];
      if (k == kNumKinds) out += " " + text(57) + " ";
      // "There are" / "Es gibt" takes the accusative: "einen Quinkunx".
      out += KindCountPhrase(k, c, language, GermanCase::Accusative);
      if (k <= 5) out += ", ";
    }
    out += std::string(".") + kCrLf;

    if (IsNatalMode(mode)) {
      // The finders also tell a run in progress what they find and trim the
      // 3-stellium search for it; the report lists every pattern and must not
      // change what the run has found, so they work on a cleared run state.
      const RunSearchState run = engine.Run;
      engine.Run = RunSearchState{};
      int patterns = 0;
      auto paragraph = [&](int index, const std::string& found, int n) {
        if (found.empty()) return;
        if (n == 1) {
          out += std::string(kCrLf) + text(82) + " " + PatternNoun(index, language).Singular + ": ";
        } else {
          out += std::string(kCrLf) + text(84) + " " + PatternCountPhrase(index, n, language, GermanCase::Accusative) +
                 ":" + kCrLf;
        }
        out += found;
        patterns += n;
      };
      using Finder = std::string (AspectEngine::*)(bool, int&);
      const std::pair<int, Finder> finders[] = {
          {kGrandTrine, &AspectEngine::FindGrandTrines}, {kKite, &AspectEngine::FindKites},
          {kRectangle, &AspectEngine::FindRectangles},   {kTSquare, &AspectEngine::FindTSquares},
          {kGrandCross, &AspectEngine::FindGrandCrosses}, {kYod, &AspectEngine::FindYods},
          {kYodKite, &AspectEngine::FindYodKites},       {kTrapezium, &AspectEngine::FindTrapeziums}};
      for (const auto& [index, finder] : finders) {
        int n = 0;
        const std::string found = (engine.*finder)(false, n);
        paragraph(index, found, n);
      }
      for (int size = 6; size >= 3; --size) {
        int n = 0;
        const std::string found = engine.FindStelliums(size, false, n);
        paragraph(kStellium3 - (size - 3), found, n);
        if (n > 0) break;
      }
      int n = 0;
      std::string found = engine.FindGrandSextiles(false, n);
      paragraph(kGrandSextile, found, n);
      n = 0;
      engine.CheckForMidpoint(false, n, found);
      paragraph(kMidpoint, found, n);
      engine.Run = run;
      if (patterns == 0) out += std::string(kCrLf) + text(420) + kCrLf;
    }
  }
  return out + kCrLf + text(87) + kCrLf;
}

std::string ReportText(AspectEngine& engine, const TransitListOptions& options, const TextFunction& text,
                       const std::function<std::string(int dayNumber)>& dateText) {
  if (options.mode == Mode::WorldTransits || IsPersonalMode(options.mode)) {
    SortRecords(engine.DurationRecords, SortKeyStart(options.mode, options.sortKey));
    return TransitList(engine.DurationRecords, options, text, dateText);
  }
  return NatalDescription(engine, options.mode, text);
}

}  // namespace vemo::reports
