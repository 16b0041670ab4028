#include "app/settings/configure_core.h"
#include "app/text/languages.h"


namespace vemo::settings {

void ResetToDefaults(ConfigureValues& values) {
  const bool useColor = values.useColor;
  values = ConfigureValues{};
  values.orbs = DefaultOrbSettings();
  values.useColor = useColor;
}

CancelCopy TakeCancelCopy(const ConfigureValues& values, const std::array<int, 8>& orbListIndex) {
  return {values, orbListIndex};
}

void RestoreCancelCopy(ConfigureValues& values, std::array<int, 8>& orbListIndex, const CancelCopy& copy) {
  values = copy.values;
  values.saveGraphicWithWhiteBackground = false;
  orbListIndex = copy.orbListIndex;
}

bool ChartFiltersConflict(const ConfigureValues& v) {
  return v.showOnlyEarthAspects && v.showOnlyOuterPlanets;
}

void KeepAcceptedChartFilters(ConfigureValues& v, bool acceptedOuterOnly, bool acceptedEarthOnly) {
  if (!ChartFiltersConflict(v)) return;
  v.showOnlyOuterPlanets = acceptedOuterOnly;
  v.showOnlyEarthAspects = acceptedEarthOnly;
}

std::string ChartFiltersConflictMessage() {
  return "'Show only Earth aspects in chart' and\r\n"
         "'Show only outer planet aspects in chart'\r\n"
         "cannot both be checked.";
}

void ToggleColourOff(Colour& colour, Colour& remembered) {
  if (colour != 0) {
    remembered = colour;
    colour = 0;
  } else {
    colour = remembered;
  }
}

void SetAllNonzeroOrbs(ConfigureValues& v) {
  auto& orbs = v.orbs.OrbListIndex;
  for (int i = 0; i < 7; ++i) {
    if (orbs[i] != 0) orbs[i] = orbs[7];
  }
}

bool RegistryStatusOk(const std::string& status) { return !status.empty() && status[0] == '0'; }

std::string RegistryFlagValue(const std::string& status, const std::string& stored,
                              const std::string& fallback) {
  if (!RegistryStatusOk(status)) return fallback;
  return (stored == "0" || stored == "1") ? stored : "1";
}

int StoredLanguage(const std::string& status, const std::string& stored, int systemLanguage) {
  const int language = RegistryStatusOk(status) ? LanguageOfCode(stored) : -1;
  return language >= 0 ? language : systemLanguage;
}

std::string DefaultTZDisp(int zoneMinutesEast) {
  return (zoneMinutesEast >= -600 && zoneMinutesEast <= -150) ? "1" : "0";
}

}  // namespace vemo::settings
