#include "app/settings/configure_core.h"

#include <algorithm>

namespace vemo::settings {

const std::array<ColourValue, 12>& ChartPalette() {
  static const std::array<ColourValue, 12> kPalette = {
      Rgb(255, 255, 0),   Rgb(255, 0, 255), Rgb(255, 0, 0),   Rgb(0, 255, 0),
      Rgb(0, 255, 255),   Rgb(128, 128, 128), Rgb(128, 128, 255), Rgb(0, 0, 255),
      Rgb(0, 192, 255),   Rgb(192, 0, 255), Rgb(255, 192, 0), Rgb(128, 64, 0)};
  return kPalette;
}

const std::array<ColourValue, 8>& DefaultAspectColours() {
  // Conjunction yellow, opposition magenta, square red, trine green, sextile
  // cyan, semisextile light blue, quincunx grey (65535, 16711935, 255, 65280,
  // 16776960, 16744576, 8421504).
  static const std::array<ColourValue, 8> kColours = {
      0, Rgb(255, 255, 0), Rgb(255, 0, 255), Rgb(255, 0, 0), Rgb(0, 255, 0),
      Rgb(0, 255, 255), Rgb(128, 128, 255), Rgb(128, 128, 128)};
  return kColours;
}

const std::array<int, kBoldfaceFactorEntries>& BoldfaceDivisors() {
  static const std::array<int, kBoldfaceFactorEntries> kDivisors = {2, 3, 4, 5, 6, 8, 10, 15, 20};
  return kDivisors;
}

void ResetToDefaults(ConfigureValues& values) {
  const bool useColor = values.useColor;
  values = ConfigureValues{};
  values.colours = DefaultAspectColours();
  values.useColor = useColor;
}

CancelCopy TakeCancelCopy(const ConfigureValues& v) {
  CancelCopy c;
  c.useBoldface = v.useBoldface;
  c.boldfaceFactorIndex = v.boldfaceFactorIndex;
  c.proportionIndex = v.proportionIndex;
  c.displayNATZabbr = v.displayNATZabbr;
  c.displayZodiacSectors = v.displayZodiacSectors;
  c.showOnlyOuterPlanets = v.showOnlyOuterPlanets;
  c.showOnlyEarthAspects = v.showOnlyEarthAspects;
  c.colours = v.colours;
  return c;
}

void RestoreCancelCopy(ConfigureValues& v, const CancelCopy& c) {
  v.useBoldface = c.useBoldface;
  v.boldfaceFactorIndex = c.boldfaceFactorIndex;
  v.proportionIndex = c.proportionIndex;
  v.displayNATZabbr = c.displayNATZabbr;
  v.displayZodiacSectors = c.displayZodiacSectors;
  v.showOnlyOuterPlanets = c.showOnlyOuterPlanets;
  v.showOnlyEarthAspects = c.showOnlyEarthAspects;
  v.colours = c.colours;
  v.saveGraphicWithWhiteBackground = false;
}

bool ChartFiltersConflict(const ConfigureValues& v) {
  return v.showOnlyEarthAspects && v.showOnlyOuterPlanets;
}

std::string ChartFiltersConflictMessage() {
  return "'Show only Earth aspects in chart' and\r\n"
         "'Show only outer planet aspects in chart'\r\n"
         "cannot both be checked.";
}

ColourValue NextPaletteColour(ColourValue colour) {
  const auto& palette = ChartPalette();
  const auto it = std::find(palette.begin(), palette.end(), colour);
  if (it == palette.end()) return colour;
  const auto next = std::next(it);
  return next == palette.end() ? palette.front() : *next;
}

void ToggleColourOff(ColourValue& colour, ColourValue& remembered) {
  if (colour != 0) {
    remembered = colour;
    colour = 0;
  } else {
    colour = remembered;
  }
}

void SetAllNonzeroOrbs(ConfigureValues& v) {
  for (int i = 0; i < 7; ++i) {
    if (v.orbListIndex[i] != 0) v.orbListIndex[i] = v.orbListIndex[7];
  }
}

bool RegistryStatusOk(const std::string& status) { return !status.empty() && status[0] == '0'; }

std::string RegistryFlagValue(const std::string& status, const std::string& stored,
                              const std::string& fallback) {
  if (!RegistryStatusOk(status)) return fallback;
  return (stored == "0" || stored == "1") ? stored : "1";
}

std::string DefaultTZDisp(int zoneMinutesEast) {
  return (zoneMinutesEast >= -600 && zoneMinutesEast <= -150) ? "1" : "0";
}

}  // namespace vemo::settings
