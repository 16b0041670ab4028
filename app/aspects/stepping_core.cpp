#include "app/aspects/stepping_core.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace vemo {

namespace {

bool IsGregorianLeapYear(int year) {
  // Proleptic Gregorian rule; years <= 0 follow the same arithmetic
  // (year 0 is a leap year), which only matters during a carry.
  auto mod = [](int a, int b) { return ((a % b) + b) % b; };
  return mod(year, 4) == 0 && (mod(year, 100) != 0 || mod(year, 400) == 0);
}

bool ParseYear(const std::string& text, int& year) {
  if (text.empty() || text.size() > 9) return false;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), year);
  return ec == std::errc() && ptr == text.data() + text.size();
}

// One calendar position during a step; the carries walk day -> month -> year.
struct Cursor {
  int year;
  int month;
  int day;
  const StepCalendar& cal;

  void NextMonth() {
    if (++month > 12) {
      month = 1;
      ++year;
    }
  }
  void PreviousMonth() {
    if (--month < 1) {
      month = 12;
      --year;
    }
  }
  // One day forward: a day above the month's length becomes the 1st of the
  // next month. On an existing date this is the same as carrying the surplus;
  // from a date the month does not have (31 November, 30 February, left in
  // the lists by the user) it gives the 1st, not the 2nd or 3rd.
  void NextDay() {
    if (++day > cal.daysInMonth(year, month)) {
      day = 1;
      NextMonth();
    }
  }
  // n days forward carrying the surplus: the week step. It keeps exactly n
  // days between two existing dates (28 November + 7 = 5 December), which
  // "becomes the 1st" would not.
  void AddDays(int n) {
    day += n;
    const int length = cal.daysInMonth(year, month);
    if (day > length) {
      day -= length;
      NextMonth();
    }
  }
  void SubtractDays(int n) {
    day -= n;
    if (day < 1) {
      PreviousMonth();
      day += cal.daysInMonth(year, month);
    }
  }
};

}  // namespace

int GregorianDaysInMonth(int year, int month) {
  static constexpr int kLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  if (month == 2 && IsGregorianLeapYear(year)) return 29;
  return kLengths[month - 1];
}

StepCalendar GregorianStepCalendar() {
  StepCalendar cal;
  cal.daysInMonth = GregorianDaysInMonth;
  cal.dateExists = [](int year, int month, int day) {
    return month >= 1 && month <= 12 && day >= 1 && day <= GregorianDaysInMonth(year, month);
  };
  return cal;
}

bool StepWorldDate(StepDate& date, StepSize size, bool forward, const StepCalendar& calendar) {
  int year = 0;
  if (!ParseYear(date.yearText, year)) return false;
  if (date.month < 1 || date.month > 12 || date.day < 1 || date.day > 31 || date.hourEntry < 1 ||
      date.hourEntry > 48) {
    return false;
  }
  Cursor c{year, date.month, date.day, calendar};
  int hour = date.hourEntry;

  switch (size) {
    case StepSize::HalfHour:
      if (forward) {
        if (++hour > 48) {
          hour = 1;
          c.NextDay();
        }
      } else if (--hour < 1) {
        hour = 48;
        c.SubtractDays(1);
      }
      break;
    case StepSize::Day:
      forward ? c.NextDay() : c.SubtractDays(1);
      break;
    case StepSize::Week:
      forward ? c.AddDays(7) : c.SubtractDays(7);
      break;
    case StepSize::Month:
      forward ? c.NextMonth() : c.PreviousMonth();
      break;
    case StepSize::Year:
      c.year += forward ? 1 : -1;
      break;
  }

  if (size == StepSize::Month || size == StepSize::Year) {
    // 31 April, 29 February of a common year: cut back to the month's last day.
    while (!calendar.dateExists(c.year, c.month, c.day) && c.day > 28) --c.day;
  }

  if (c.year != year) date.yearText = std::to_string(c.year);
  date.month = c.month;
  date.day = c.day;
  date.hourEntry = hour;
  return true;
}

HalfHourInstant RoundToHalfHour(double localDayValue) {
  const double whole = std::floor(localDayValue);
  HalfHourInstant result;
  result.dayNumber = static_cast<std::int64_t>(whole);
  const long minutes = std::lround((localDayValue - whole) * 1440.0);
  long halfHours = minutes / 30;
  if (minutes % 30 > 15) ++halfHours;
  if (halfHours >= 48) {
    halfHours = 0;
    ++result.dayNumber;
  }
  result.hourEntry = static_cast<int>(halfHours) + 1;
  return result;
}

double LocalDayValueOf(double ajd, int zoneMinutesEast) {
  return ajd + zoneMinutesEast / 1440.0 + 0.5;
}

bool ModeUsesRow(int mode, int row) {
  switch (row) {
    case 0: return mode == 1 || mode == 4 || mode == 5;
    case 1: return mode == 2 || mode == 4 || mode == 6;
    case 2: return mode == 3 || mode == 5 || mode == 6;
    default: return false;
  }
}

bool IsTwoRowMode(int mode) { return mode >= 4 && mode <= 6; }

bool ModeUsesWorldDate(int mode) { return ModeUsesRow(mode, 0); }

int ModeHeightTwips(int mode) {
  return IsTwoRowMode(mode) ? kTwoRowHeightTwips : kOneRowHeightTwips;
}

SizeTwips ApplySizeRule(SizeTwips requested, int mode) {
  SizeTwips s = requested;
  s.width = kMainWindowWidthTwips;
  if (s.height < kMinimumHeightTwips) s.height = kMinimumHeightTwips;
  if (s.height > ModeHeightTwips(mode)) s.height = ModeHeightTwips(mode);
  return s;
}

std::string DigitsOnly(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (std::isdigit(static_cast<unsigned char>(c))) out += c;
  }
  return out;
}

std::string AddOrbToTitleText(const std::string& title, const TitleOrbs& orbs, bool addPeriod,
                              const std::string& equalText, const std::string& rangeText,
                              const std::string& toText,
                              const std::function<std::string(double)>& formatOrb) {
  // With every orb at 0° there is no smallest non-zero orb to name: the
  // statement of equal orbs then reads "All orbs: 0°."
  if (orbs.allOrbsEqual || orbs.largest <= 0.0) {
    return title + "  " + equalText + " " + formatOrb(orbs.largest) + (addPeriod ? "." : "");
  }
  return title + "  " + rangeText + ": " + formatOrb(orbs.smallest) + " " + toText + " " +
         formatOrb(orbs.largest);
}

TitleOrbs TitleOrbsOf(const OrbTable& o, bool personal, int mode) {
  TitleOrbs orbs;
  orbs.allOrbsEqual = o.AllOrbsEqual;
  orbs.smallest = o.SmallestOrb;
  orbs.largest = o.LargestOrb;
  if (personal) {
    const size_t slot = mode == 6 ? 1 : 0;
    orbs.smallest = o.SmallestPersonalOrb[slot];
    orbs.largest = o.LargestPersonalOrb[slot];
  }
  return orbs;
}

std::string ModeTitleText(int mode, bool chartShown, const OrbTable& orbs,
                          const std::function<std::string(int)>& text) {
  const auto formatOrb = [](double x) { return FormatAngleDM(x, true); };
  if (mode >= 1 && mode <= 3) {
    std::string title = text((chartShown ? 26 : 23) + mode - 1);
    if (chartShown && mode == 1) {
      for (size_t p; (p = title.find(" degrees")) != std::string::npos;) title.replace(p, 8, "°");
    }
    return AddOrbToTitleText(title, TitleOrbsOf(orbs, false, mode), true, text(33), text(34), text(35), formatOrb);
  }
  if (mode >= 4 && mode <= 6) {
    return AddOrbToTitleText(text(29 + mode - 4), TitleOrbsOf(orbs, true, mode), true, text(33), text(34), text(35),
                             formatOrb);
  }
  return "";
}

}  // namespace vemo
