#include "app/chart/chart_input.h"

#include "app/aspects/vocabulary.h"
#include "app/time/date_texts.h"  // kGerman

#include <algorithm>
#include <cstdio>

#ifndef VEMO_VERSION_STRING
#define VEMO_VERSION_STRING "0"
#endif

namespace vemo::chart {

PictureCaption ProgramCaption() {
  PictureCaption c;
  if (NamesLanguage() == kGerman) {
    c.headerLines = {"vemo", "heliozentrische", "Aspekte"};
  } else {
    c.headerLines = {"vemo", "heliocentric", "aspects"};
  }
  c.version = VEMO_VERSION_STRING;
  return c;
}

std::string PictureDateText(const std::string& year, int month, int day) {
  char md[16];
  std::snprintf(md, sizeof md, "-%02d-%02d", std::clamp(month, 0, 99), std::clamp(day, 0, 99));
  return year + md;
}

std::string PictureDateLine(const std::string& label, const std::string& date, const std::string& hourEntry,
                            const std::string& zoneEntry) {
  return label + ": " + date + " " + hourEntry + " " + zoneEntry;
}

}  // namespace vemo::chart
