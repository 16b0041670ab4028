#include "app/aspects/date_rows.h"

#include "app/text/program_text.h"
#include "app/time/date_texts.h"
#include "app/time/pluto_table.h"
#include "app/time/positions.h"

namespace vemo {

EngineServices DefaultEngineServices(int language) {
  EngineServices s;
  s.HelioLongitude = [](int planet, double ajd) { return HelioLongitude(planet, ajd); };
  s.ProgramText = [](int item) { return ProgramText(item); };
  s.DayNumberToDateText = [language](double day) {
    return JdnToDateText(static_cast<int>(day), false, language < 0 ? LanguageIndex() : language);
  };
  s.MaxDailyMotionDegrees = kMaxHeliocentricMotionDegreesPerDay;
  for (int planet = kJupiter; planet <= kNeptune; ++planet) s.PolynomialRecords[static_cast<size_t>(planet)] = true;
  return s;
}

void SelectLanguage(int language) { SetProgramLanguage(language); }

int ZoneMinutesOfIndex(int zoneIndex) {
  // Entry n of the 48-entry list has the item data (n - 24) * 30 minutes east.
  if (zoneIndex <= 0 || zoneIndex >= kTimezoneEntries) return 0;
  return (zoneIndex - kTimezoneEntries / 2) * 30;
}

ComputeStatus ComputeFromRows(AspectEngine& engine, Mode mode, std::array<DateRow, 3>& rows,
                              int localZoneIndex, const OrbSettings& settings, bool radians,
                              bool marks) {
  ComputeRequest request;
  request.mode = mode;
  request.Radians = radians;
  request.Marks = marks;
  for (int row = 0; row < 3; ++row) {
    if (!ModeUsesRow(mode, row)) continue;
    const DateConversion c = InputDateToAJDate(rows[static_cast<size_t>(row)], localZoneIndex);
    rows[static_cast<size_t>(row)] = c.row;
    request.JulianDates[static_cast<size_t>(row)] = c.value;
    if (!c.ok()) break;  // Compute reports this row; later rows stay untouched
    if (row == kRowWorld) {
      request.WorldZoneMinutes = ZoneMinutesOfIndex(c.row.zoneIndex);
      const DateConversion local = InputDateToLocalJD(c.row);
      request.WorldLocalDay = local.ok() ? local.value : -1.0;
    }
  }
  engine.PlutoAvailable = PlutoAvailable();
  return engine.Compute(request, settings);
}

}  // namespace vemo
