// Compute: positions of the mode's dates, the pair search, the aspect table,
// the summary and (one-date modes) the pattern and midpoint lines.
#include "app/aspects/engine.h"

#include <cmath>
#include <cstdio>
#include <utility>

namespace vemo {

namespace {

// Half an hour in days: the look-ahead of the applying/separating test.
constexpr double kHalfHourDays = 1.0 / 48.0;
// Position code meaning "no planet in this slot" (as the library's code for an
// unserved planet).
constexpr double kNoPosition = -999.0;

std::string Fixed(double x, int decimals) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, x);
  return buf;
}


// Item 127 with its "[count]" marker replaced by the number of aspects.
std::string WithCount(std::string text, int n) {
  static const std::string kMarker = "[count]";
  const std::string number = std::to_string(n);
  for (size_t at = text.find(kMarker); at != std::string::npos; at = text.find(kMarker, at + number.size())) {
    text.replace(at, kMarker.size(), number);
  }
  return text;
}

// "3 trines", "1 Quinkunx": digits, so no number word needs declining.
std::string CountText(int count, int kind) {
  const CountNoun& noun = KindNoun(kind, NamesLanguage());
  return std::to_string(count) + " " + (count == 1 ? noun.Singular : noun.Plural);
}

int SignOf(double before, double after) {
  if (after > before) return 1;
  if (after < before) return -1;
  return 0;
}

}  // namespace

bool IsOneDateMode(Mode mode) {
  return mode == Mode::WorldTransits || mode == Mode::Natal1 || mode == Mode::Natal2;
}
bool IsPersonalMode(Mode mode) { return mode == Mode::Personal1 || mode == Mode::Personal2; }
bool IsNatalMode(Mode mode) { return mode == Mode::Natal1 || mode == Mode::Natal2; }

int OrbColumnOfMode(Mode mode) {
  if (IsPersonalMode(mode)) return kOrbColumnPersonal;
  if (mode == Mode::Synastry) return kOrbColumnSynastry;
  return kOrbColumnOneDate;
}

int BirthRowOfMode(Mode mode) {
  switch (mode) {
    case Mode::Natal1:
    case Mode::Personal1: return kRowBirth1;
    case Mode::Natal2:
    case Mode::Personal2: return kRowBirth2;
    default: return 0;
  }
}

bool ModeUsesRow(Mode mode, int row) {
  switch (mode) {
    case Mode::WorldTransits: return row == kRowWorld;
    case Mode::Natal1: return row == kRowBirth1;
    case Mode::Natal2: return row == kRowBirth2;
    case Mode::Personal1: return row == kRowWorld || row == kRowBirth1;
    case Mode::Personal2: return row == kRowWorld || row == kRowBirth2;
    case Mode::Synastry: return row == kRowBirth1 || row == kRowBirth2;
  }
  return false;
}

std::string OneDateSummary(const std::array<int, 8>& counts, const std::string& text126,
                           const std::string& text127) {
  std::string s;
  int total = 0;
  for (int k = 1; k <= kNumKinds; ++k) {
    const int n = counts[static_cast<size_t>(k)];
    if (n > 0) s += CountText(n, k) + kCrLf;
    total += n;
  }
  if (total == 0) s += text126 + kCrLf;
  if (total > 1) s += WithCount(text127, total) + kCrLf;
  s += kCrLf;
  return s;
}

std::string TwoDateSummary(const std::array<int, 8>& counts, const std::string& text126,
                           const std::string& text127) {
  std::string s;
  int total = 0;
  for (int k = 1; k <= kNumKinds; ++k) {
    const int n = counts[static_cast<size_t>(k)];
    if (n > 0) s += CountText(n, k) + ", ";
    total += n;
  }
  if (total == 0) return text126;
  while (!s.empty() && (s.back() == ',' || s.back() == ' ')) s.pop_back();
  if (total > 1) s += ". " + WithCount(text127, total);
  return s;
}

AspectEngine::AspectEngine(EngineServices services) : Services(std::move(services)) {
  for (auto& set : PlanetLongitudes) set.fill(kNoPosition);
}

std::string AspectEngine::Text(int item) const {
  return Services.ProgramText ? Services.ProgramText(item) : std::string();
}

double AspectEngine::Longitude(int planet, double ajd) const {
  return Services.HelioLongitude ? Services.HelioLongitude(planet, ajd) : kNoPosition;
}

void AspectEngine::ApplyOrbSettings(const OrbSettings& settings) {
  Settings = settings;
  Orbs = SetOrbs(settings);
}

double AspectEngine::MidpointOrb() const {
  return MidpointOrbDegreesOfListIndex(Settings.MidpointOrbListIndex) * kFullCircle / 360.0;
}

bool AspectEngine::IsAspectInOrb(int p1, int p2, int kind, double& deviation) const {
  if (p1 < 0 || p1 >= kPlanetSlots || p2 < 0 || p2 >= kPlanetSlots) return false;
  const double lon1 = PlanetLongitudes[0][static_cast<size_t>(p1)];
  const double lon2 = PlanetLongitudes[0][static_cast<size_t>(p2)];
  if (lon1 < 0 || lon2 < 0) return false;
  const double dev = std::fabs(AspectSeparation(lon1, lon2) - AspectAngle(kind));
  deviation = dev;
  return dev < Orbs.Orb[static_cast<size_t>(kind)][0];
}

bool AspectEngine::AspectExactness(double lon1, double lon2, int kind, int column,
                                   double& exactness) const {
  if (lon1 < 0 || lon2 < 0) return false;
  const double dev = std::fabs(AspectSeparation(lon1, lon2) - AspectAngle(kind));
  const double orb = Orbs.Orb[static_cast<size_t>(kind)][static_cast<size_t>(column)];
  if (dev < orb) {
    exactness = (orb - dev) / orb;
    return true;
  }
  exactness = -1.0;
  return false;
}

int AspectEngine::ApplyingSign1(double t, int p1, int p2, int kind, double d) const {
  const double later = t + kHalfHourDays;
  const double lon1 = Longitude(p1, later);
  const double lon2 = Longitude(p2, later);
  // A position that is not available half an hour later (the very end of a
  // planet's data range) gives no sign rather than a sign from error codes.
  if (lon1 < 0 || lon2 < 0) return 0;
  return SignOf(d, std::fabs(AspectSeparation(lon1, lon2) - AspectAngle(kind)));
}

int AspectEngine::ApplyingSign2(double natal, int p, int kind, double d) const {
  const double lon = Longitude(p, TableJulianDates[kRowWorld] + kHalfHourDays);
  if (lon < 0 || natal < 0) return 0;
  return SignOf(d, std::fabs(AspectSeparation(lon, natal) - AspectAngle(kind)));
}

void AspectEngine::FormatAspectCell(int column, int index, int kind, double d) {
  if (index < 0 || index >= Table.NumCells()) return;
  TableCell& cell = Table.Cells[static_cast<size_t>(index)];
  if (!Settings.UseBoldface) {
    cell.Bold = false;
  } else if (Settings.BoldfaceOneDegree) {
    cell.Bold = d < 1.0 / 360.0 * kFullCircle;
  } else {
    const double f = BoldfaceDivisorOfListIndex(Settings.BoldfaceFactorListIndex);
    cell.Bold = d < Orbs.Orb[static_cast<size_t>(kind)][static_cast<size_t>(column)] / f;
  }
  const CellInk ink = AspectCellInk(Settings.AspectColours[static_cast<size_t>(kind)]);
  cell.TextColour = ink.Text;
  cell.Background = ink.Background;
}

std::string AspectEngine::PositionCellText(double x) const {
  if (x < 0) {
    if (x == -99.0) return "<";
    if (x == -100.0) return ">";
    return "?";
  }
  if (Radians) return Fixed(x, 4);
  return FormatAngleDM(x) + kCrLf + FormatZodiacPosition(x, false);
}

std::string AspectEngine::AspectCellText(int kind, double d, int sign, bool withSign) const {
  std::string text = std::string(Aspect(kind).Abbrev) + kCrLf;
  text += Radians ? Fixed(d, 4) : FormatAngleDM(d);
  if (withSign) {
    if (sign < 0) text += " -";
    if (sign > 0) text += " +";
  }
  return text;
}

void AspectEngine::SetUpGrid(bool twoDate) {
  Table = AspectTable{};
  Table.TwoDate = twoDate;
  if (!twoDate) {
    Table.NumRows = 10;
    Table.NumCols = 9;
    Table.Cells.assign(90, TableCell{});
    for (int c = 0; c < 9; ++c) {
      TableCell& pos = Table.At(0, c);
      pos.Role = CellRole::Position;
      pos.Background = kPositionCellBackground;
      TableCell& glyph = Table.At(1, c);
      glyph.Role = CellRole::Glyph;
      glyph.GlyphPlanet = c + 1;
      glyph.Text = std::string(1, PlanetGlyph(c + 1));
      glyph.Background = kGlyphCellBackground;
    }
    for (int r = 2; r < 10; ++r) {
      for (int c = 0; c < 9; ++c) {
        TableCell& cell = Table.At(r, c);
        if (c == r - 2) {
          cell.Role = CellRole::Glyph;
          cell.GlyphPlanet = r - 1;
          cell.Text = std::string(1, PlanetGlyph(r - 1));
          cell.Background = kGlyphCellBackground;
        } else if (r > c + 2) {
          cell.Visible = false;
        }
      }
    }
    return;
  }
  Table.NumRows = 11;
  Table.NumCols = 11;
  Table.Cells.assign(121, TableCell{});
  for (int i = 0; i < 11; ++i) {
    Table.At(1, i).Background = kGlyphCellBackground;
    Table.At(i, 1).Background = kGlyphCellBackground;
  }
  for (int n = 2; n <= 10; ++n) {
    TableCell& top = Table.At(0, n);
    top.Role = CellRole::Position;
    top.Background = kPositionCellBackground;
    TableCell& left = Table.At(n, 0);
    left.Role = CellRole::Position;
    left.Background = kPositionCellBackground;
    for (TableCell* glyph : {&Table.At(1, n), &Table.At(n, 1)}) {
      glyph->Role = CellRole::Glyph;
      glyph->GlyphPlanet = n - 1;
      glyph->Text = std::string(1, PlanetGlyph(n - 1));
    }
  }
  // Corner captions: the label of the columns (set 0) above, of the rows
  // (set 1) at the left, and the mode in the inner corner.
  for (int r = 0; r < 2; ++r) {
    for (int c = 0; c < 2; ++c) Table.At(r, c).Role = CellRole::Corner;
  }
  if (CurrentMode == Mode::Synastry) {
    Table.At(0, 1).Text = Text(75);
    Table.At(1, 0).Text = Text(76);
    Table.At(1, 1).Text = Text(14);
  } else {
    Table.At(0, 1).Text = Text(68);  // columns: transiting planets
    Table.At(1, 0).Text = Text(71);  // rows: natal planets
    Table.At(1, 1).Text = Text(CurrentMode == Mode::Personal1 ? 69 : 70);
  }
}

ComputeStatus AspectEngine::Compute(const ComputeRequest& request, const OrbSettings& settings) {
  ApplyOrbSettings(settings);
  PlanetCount = PlutoAvailable ? 9 : 8;

  // The rows of the mode, in the order they are converted.
  ComputeStatus status;
  for (int row = 0; row < 3; ++row) {
    if (!ModeUsesRow(request.mode, row)) continue;
    const double jd = request.JulianDates[static_cast<size_t>(row)];
    if (!(jd >= 0)) {  // negative code (or NaN): the row is invalid
      JulianDates[static_cast<size_t>(row)] = std::isnan(jd) ? -1.0 : jd;
      status.Ok = false;
      status.BadRow = row;
      status.ErrorCode = static_cast<int>(std::lround(JulianDates[static_cast<size_t>(row)]));
      // The table, positions and counts stay those of the last computation.
      return status;
    }
  }
  for (int row = 0; row < 3; ++row) {
    if (ModeUsesRow(request.mode, row)) {
      JulianDates[static_cast<size_t>(row)] = request.JulianDates[static_cast<size_t>(row)];
    }
  }
  TableJulianDates = JulianDates;
  CurrentMode = request.mode;
  Radians = request.Radians;
  WorldZoneMinutes = request.WorldZoneMinutes;
  WorldLocalDay = request.WorldLocalDay;
  if (ModeUsesRow(request.mode, kRowWorld) && !(WorldLocalDay >= 0)) {
    // Local day value from the Julian date, rounded to the minute so that a
    // whole hour does not come back a few nanoseconds short of it.
    const double local = request.JulianDates[kRowWorld] + request.WorldZoneMinutes / 1440.0 + 0.5;
    WorldLocalDay = std::round(local * 1440.0) / 1440.0;
  }

  const bool twoDate = !IsOneDateMode(request.mode);
  SetUpGrid(twoDate);
  AspectCount.fill(0);
  PatternCount.fill(0);
  Aspects.clear();
  DurationRecords.clear();

  // Positions.
  double date0 = 0.0;
  double date1 = 0.0;
  switch (request.mode) {
    case Mode::WorldTransits: date0 = JulianDates[0]; break;
    case Mode::Natal1: date0 = JulianDates[1]; break;
    case Mode::Natal2: date0 = JulianDates[2]; break;
    case Mode::Personal1: date0 = JulianDates[0]; date1 = JulianDates[1]; break;
    case Mode::Personal2: date0 = JulianDates[0]; date1 = JulianDates[2]; break;
    case Mode::Synastry: date0 = JulianDates[1]; date1 = JulianDates[2]; break;
  }
  for (auto& set : PlanetLongitudes) set.fill(kNoPosition);
  for (int p = 1; p <= PlanetCount; ++p) {
    PlanetLongitudes[0][static_cast<size_t>(p)] = Longitude(p, date0);
    if (twoDate) PlanetLongitudes[1][static_cast<size_t>(p)] = Longitude(p, date1);
  }

  if (!twoDate) {
    for (int i = 1; i <= PlanetCount; ++i) {
      const double loni = PlanetLongitudes[0][static_cast<size_t>(i)];
      if (loni < 0) continue;
      for (int j = i + 1; j <= PlanetCount; ++j) {
        const double lonj = PlanetLongitudes[0][static_cast<size_t>(j)];
        if (lonj < 0) continue;
        const double sep = AspectSeparation(loni, lonj);
        for (int k = 1; k <= kNumKinds; ++k) {
          const double d = std::fabs(sep - AspectAngle(k));
          if (!(d < Orbs.Orb[static_cast<size_t>(k)][0])) continue;
          const int index = Table.NumCols * (i + 1) + (j - 1);
          const int sign = request.Marks ? ApplyingSign1(date0, i, j, k, d) : 0;
          TableCell& cell = Table.Cells[static_cast<size_t>(index)];
          cell.Role = CellRole::Aspect;
          if (request.Marks) cell.Text = AspectCellText(k, d, sign, true);
          cell.Kind = k;
          cell.Planet1 = i;
          cell.Planet2 = j;
          cell.Deviation = d;
          cell.Sign = sign;
          if (request.Marks) FormatAspectCell(0, index, k, d);
          ++AspectCount[static_cast<size_t>(k)];
          Aspects.push_back({i, j, k, d, sign, cell.Bold, index});
          break;
        }
      }
    }
  } else {
    const int column = OrbColumnOfMode(request.mode);
    const bool personal = IsPersonalMode(request.mode);
    for (int i = 1; i <= PlanetCount; ++i) {
      const double loni = PlanetLongitudes[1][static_cast<size_t>(i)];
      if (loni < 0) continue;
      for (int j = 1; j <= PlanetCount; ++j) {
        const double lonj = PlanetLongitudes[0][static_cast<size_t>(j)];
        if (lonj < 0) continue;
        const double sep = AspectSeparation(loni, lonj);
        for (int k = 1; k <= kNumKinds; ++k) {
          const double d = std::fabs(sep - AspectAngle(k));
          if (!(d < Orbs.Orb[static_cast<size_t>(k)][static_cast<size_t>(column)])) continue;
          const int index = Table.NumCols * (i + 1) + (j + 1);
          const int sign = personal && request.Marks ? ApplyingSign2(loni, j, k, d) : 0;
          TableCell& cell = Table.Cells[static_cast<size_t>(index)];
          cell.Role = CellRole::Aspect;
          if (request.Marks) cell.Text = AspectCellText(k, d, sign, personal);
          cell.Kind = k;
          // Personal transits: natal (row) then transiting (column) planet;
          // Synastry: 1st birthdate (column) then 2nd birthdate (row).
          cell.Planet1 = personal ? i : j;
          cell.Planet2 = personal ? j : i;
          cell.Deviation = d;
          cell.Sign = sign;
          FormatAspectCell(column, index, k, d);
          ++AspectCount[static_cast<size_t>(k)];
          Aspects.push_back({cell.Planet1, cell.Planet2, k, d, sign, cell.Bold, index});
          break;
        }
      }
    }
  }

  if (!request.Marks) {
    // A search step: the counts and patterns, no texts.
    if (!twoDate) Table.PatternText = FindAllPatterns();
    return status;
  }

  // Position cells; the cell of planet PlanetCount + 1 stays empty.
  if (!twoDate) {
    for (int c = 0; c < PlanetCount && c < 9; ++c) {
      Table.At(0, c).Text = PositionCellText(PlanetLongitudes[0][static_cast<size_t>(c + 1)]);
    }
  } else {
    for (int p = 1; p <= PlanetCount; ++p) {
      Table.At(0, p + 1).Text = PositionCellText(PlanetLongitudes[0][static_cast<size_t>(p)]);
      Table.At(p + 1, 0).Text = PositionCellText(PlanetLongitudes[1][static_cast<size_t>(p)]);
    }
  }

  if (twoDate) {
    Table.Summary = TwoDateSummary(AspectCount, Text(126), Text(127));
  } else {
    Table.Summary = OneDateSummary(AspectCount, Text(126), Text(127));
    Table.PatternText = FindAllPatterns();
  }
  return status;
}

}  // namespace vemo
