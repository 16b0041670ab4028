#include "app/settings/state_file.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <vector>

#include "app/aspects/stepping_core.h"
#include "app/time/escaped_text.h"
#include "app/time/regular_file.h"

namespace vemo::settings {

namespace {

constexpr const char* kCrLf = "\r\n";

// " 5 ", "-1 ": a number as the print style writes it.
std::string Printed(long long n) { return (n < 0 ? "" : " ") + std::to_string(n) + " "; }
std::string Written(long long n) { return std::to_string(n); }
std::string Written(bool b) { return b ? "#TRUE#" : "#FALSE#"; }

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// File text as a message quotes it: escaped, so that a control character or
// a stray byte cannot break the message or drive a terminal, and cut after
// 40 shown characters, never inside a character or an escape.
std::string Quoted(std::string_view s) {
  constexpr std::size_t kShown = 40;
  std::string out = "\"";
  std::size_t shown = 0;
  for (std::size_t at = 0; at < s.size();) {
    const std::size_t bytes = Utf8CharacterBytes(s, at);
    const std::string_view character = s.substr(at, bytes);
    const std::string escaped = EscapedForDisplay(character);
    // An escape is ASCII and shows every byte; anything else is one character.
    const std::size_t width = escaped == character ? 1 : escaped.size();
    if (shown + width > kShown) return out + "...\"";
    out += escaped;
    shown += width;
    at += bytes;
  }
  return out + "\"";
}

// The lines of the file. A line may end in CR LF, LF or CR alone (an old Mac
// editor); blank lines after the last one, which editors like to add, are no
// lines of the state.
class Lines {
 public:
  explicit Lines(std::string_view text) {
    while (!text.empty()) {
      const std::size_t end = text.find_first_of("\r\n");
      lines_.push_back(text.substr(0, end));
      if (end == std::string_view::npos) break;
      const bool crLf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
      text.remove_prefix(end + (crLf ? 2 : 1));
    }
    while (!lines_.empty() && Trimmed(lines_.back()).empty()) lines_.pop_back();
  }
  int Count() const { return static_cast<int>(lines_.size()); }
  std::string_view operator[](int number) const { return lines_[static_cast<std::size_t>(number - 1)]; }

 private:
  std::vector<std::string_view> lines_;
};

// Reads the values of the lines in order and keeps the first error, which
// names its line.
class Reader {
 public:
  explicit Reader(const Lines& lines) : lines_(lines) {}

  bool Failed() const { return !error_.empty(); }
  const std::string& Error() const { return error_; }
  bool AtEnd() const { return next_ > lines_.Count(); }

  // A year box's text: blank, or digits as many as the box holds. The box
  // drops any other character and cuts what is longer, so such a year would
  // silently become another one.
  std::string Year() {
    const int number = next_;
    const std::string_view s = Trimmed(Take());
    if (Failed()) return {};
    const bool digits = std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!digits || s.size() > kMaxYearDigits) {
      Fail(number, "a year of up to " + std::to_string(kMaxYearDigits) + " digits was expected, not " + Quoted(s));
      return {};
    }
    return std::string(s);
  }

  // A whole number; "#TRUE#" / "#FALSE#" read as -1 / 0.
  long long Number(long long lo, long long hi) {
    const int number = next_;
    const std::string_view s = Trimmed(Take());
    if (Failed()) return 0;
    long long v = 0;
    if (s == "#TRUE#") {
      v = -1;
    } else if (s == "#FALSE#") {
      v = 0;
    } else {
      const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
      if (s.empty() || ec != std::errc() || end != s.data() + s.size()) {
        Fail(number, "a whole number was expected, not " + Quoted(s));
        return 0;
      }
    }
    if (v < lo || v > hi) {
      Fail(number, std::to_string(v) + " is outside " + std::to_string(lo) + " to " + std::to_string(hi));
      return 0;
    }
    return v;
  }

  // A list position lo..hi; a negative one takes `fallback`.
  int Position(int lo, int hi, int fallback) {
    const int number = next_;
    const long long v = Number(-1000000, 1000000);
    if (Failed()) return 0;
    if (v < 0) return fallback;
    if (v < lo || v > hi) {
      Fail(number, std::to_string(v) + " is outside " + std::to_string(lo) + " to " + std::to_string(hi));
      return 0;
    }
    return static_cast<int>(v);
  }

  bool Boolean() { return Number(-1000000, 1000000) != 0; }

 private:
  std::string_view Take() {
    if (Failed()) return {};
    if (next_ > lines_.Count()) {
      Fail(next_, "the file ends before this line");
      return {};
    }
    return lines_[next_++];
  }
  void Fail(int line, const std::string& what) {
    if (error_.empty()) error_ = "Line " + std::to_string(line) + ": " + what + ".";
  }

  const Lines& lines_;
  int next_ = 1;
  std::string error_;
};

}  // namespace

std::string FormatStateFile(const SavedState& s) {
  std::string out;
  auto line = [&out](const std::string& value) { out += value + kCrLf; };
  for (const StateRow& r : s.rows) {
    line(Printed(r.month));
    line(Printed(r.day));
    // The box holds what was typed until its next tick cleans it; a state
    // saved in between gets the year the box is about to show, which the
    // reader takes.
    line(DigitsOnly(r.year).substr(0, kMaxYearDigits));
    line(Printed(r.hour));
    line(Printed(r.zone));
  }
  for (bool m : s.modes) line(Written(m));
  line(Printed(s.stepSize));
  line(Printed(s.orbs.OrbListIndex[0]));
  line(Printed(s.orbs.OrbListIndex[1]));
  line(Printed(s.useColor ? 1 : 0));
  line(Printed(s.orbs.UseBoldface ? 1 : 0));
  line(Printed(s.orbs.BoldfaceFactorListIndex));
  line(Written(s.orbs.BoldfaceOneDegree));
  line(Written(!s.orbs.BoldfaceOneDegree));
  line(Written(false));  // reserved
  line(Written(true));   // reserved
  line(Printed(s.orbs.ProportionListIndex[0]));
  for (int orb : s.orbs.OrbListIndex) line(Written(static_cast<long long>(orb)));
  for (int k = 1; k <= 7; ++k) line(Written(static_cast<long long>(s.orbs.AspectColours[static_cast<std::size_t>(k)])));
  line(Printed(0));  // reserved
  line(Printed(0));  // reserved
  line(Printed(s.orbs.MidpointOrbListIndex));
  line(Printed(s.orbs.ProportionListIndex[1]));
  return out;
}

StateParse ParseStateFile(std::string_view text, const std::array<int, 3>& zoneEntries,
                          const std::array<Colour, 8>& currentColours) {
  StateParse result;
  const Lines lines(text);
  for (int n = 1; n <= lines.Count(); ++n) {
    if (lines[n].size() > kMaxStateLineBytes) {
      result.error = "Line " + std::to_string(n) + ": longer than " + std::to_string(kMaxStateLineBytes) + " bytes.";
      return result;
    }
  }
  Reader in(lines);
  SavedState& s = result.state;
  for (std::size_t r = 0; r < 3; ++r) {
    StateRow& row = s.rows[r];
    row.month = static_cast<int>(in.Number(0, 12));
    row.day = static_cast<int>(in.Number(0, 31));
    row.year = in.Year();
    row.hour = static_cast<int>(in.Number(0, 48));
    // A zone the row's list does not have (a list of other zone names, an
    // edited file) falls back to the blank entry.
    const long long zone = in.Number(-1000000, 1000000);
    row.zone = (zone >= 0 && zone < zoneEntries[r]) ? static_cast<int>(zone) : 0;
  }
  // The option buttons in file order: the last one set wins, as it would
  // on the window.
  int mode = -1;
  for (int m = 0; m < 6; ++m) {
    if (in.Boolean()) mode = m;
  }
  if (!in.Failed() && mode < 0) {
    result.error = "Lines 16 to 21: no mode is selected.";
    return result;
  }
  for (int m = 0; m < 6; ++m) s.modes[static_cast<std::size_t>(m)] = m == mode;
  s.stepSize = static_cast<int>(in.Number(0, 4));
  in.Number(0, 15);  // the first two orbs again; lines 33 and 34 decide
  in.Number(0, 15);
  s.useColor = in.Number(-1, 1) != 0;
  s.orbs.UseBoldface = in.Number(-1, 1) != 0;
  s.orbs.BoldfaceFactorListIndex = in.Position(0, 8, 2);
  const bool oneDegree = in.Boolean();
  const bool proportion = in.Boolean();
  s.orbs.BoldfaceOneDegree = oneDegree && !proportion;
  in.Boolean();  // reserved
  in.Boolean();  // reserved
  s.orbs.ProportionListIndex[0] = in.Position(0, 4, 1);
  for (std::size_t i = 0; i < 8; ++i) s.orbs.OrbListIndex[i] = static_cast<int>(in.Number(i == 7 ? 1 : 0, 15));
  s.orbs.AspectColours = currentColours;
  for (std::size_t k = 1; k <= 7; ++k) {
    const auto colour = static_cast<Colour>(in.Number(0, 0xFFFFFF));
    if (colour != 0) s.orbs.AspectColours[k] = colour;
  }
  in.Number(-1000000, 1000000);  // reserved
  in.Number(-1000000, 1000000);  // reserved
  s.orbs.MidpointOrbListIndex = in.Position(0, 7, 3);
  s.orbs.ProportionListIndex[1] = in.AtEnd() ? s.orbs.ProportionListIndex[0] : in.Position(0, 4, 1);
  if (in.Failed()) {
    result.error = in.Error();
    return result;
  }
  result.ok = true;
  return result;
}

std::string ReadStateText(const std::string& path, std::string& text) {
  long long size = 0;
  std::string error;
  std::FILE* file = OpenRegularFile(path, &size, &error);
  if (file == nullptr) return error;
  if (size > kMaxStateFileBytes) {
    std::fclose(file);
    return "the file is larger than " + std::to_string(kMaxStateFileBytes / 1024) + " KiB, too large for a state";
  }
  // Read one byte more than allowed, so that a file that grew since its
  // size was taken is refused too.
  std::string buffer(static_cast<std::size_t>(kMaxStateFileBytes) + 1, '\0');
  const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), file);
  const bool readError = std::ferror(file) != 0;
  std::fclose(file);
  if (readError) return "the file cannot be read";
  if (got > static_cast<std::size_t>(kMaxStateFileBytes)) {
    return "the file is larger than " + std::to_string(kMaxStateFileBytes / 1024) + " KiB, too large for a state";
  }
  buffer.resize(got);
  text = std::move(buffer);
  return "";
}

}  // namespace vemo::settings
