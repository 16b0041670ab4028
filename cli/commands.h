// Subcommands of vemo-cli and what they share: exit statuses, the splitting
// of option words, the echo of arguments in messages and the writing of the
// output. Each command takes the arguments after its own name and returns the
// process exit status.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "app/time/dates.h"
#include "app/time/file_writer.h"

namespace vemo::cli {

// Exit statuses shared by every subcommand.
inline constexpr int kExitOk = 0;       // done (positions may still carry error values)
inline constexpr int kExitFailure = 1;  // planets_vemo, the program folder or the output cannot be used
inline constexpr int kExitUsage = 2;    // bad command line (one-line message on stderr)

using Arguments = std::vector<std::string>;

// One command-line word split into option name and value: "--jd=2451545" gives
// name "--jd", value "2451545" and inlineValue true; any other word comes back
// whole as the name.
struct OptionWord {
  std::string name;
  std::string value;
  bool inlineValue = false;
};

inline OptionWord SplitOptionWord(const std::string &word) {
  OptionWord w{word, "", false};
  if (const auto eq = word.find('='); word.rfind("--", 0) == 0 && eq != std::string::npos) {
    w.name = word.substr(0, eq);
    w.value = word.substr(eq + 1);
    w.inlineValue = true;
  }
  return w;
}

// The walk over a command's option words. A name in flags takes no value
// ("--help takes no value"); a name in valued, or an orb option when
// orbOptions, takes its "=" value or the next word ("--from needs a value");
// any other word is an unknown argument. handle(name, value) is called for
// each option in turn (value "" for a flag) and returns "" to go on or an
// error. Returns the first error, or "".
using OptionHandler = std::function<std::string(const std::string &name, const std::string &value)>;
std::string WalkOptions(const Arguments &args, std::initializer_list<const char *> flags,
                        std::initializer_list<const char *> valued, bool orbOptions, const OptionHandler &handle);

// A whole number lo..hi written in decimal digits (an optional minus sign),
// nothing else. Leaves value unchanged and returns false otherwise.
bool ParseWholeNumber(const std::string &text, int lo, int hi, int &value);

// --jobs: at most this many threads, and by default one per core the system
// reports (1 when it reports none).
inline constexpr int kMaxJobs = 64;
int DefaultJobs();

// One line of progress on stderr, rewritten in place: only on a terminal,
// after the first second of the command, at most four times a second.
class ProgressLine {
 public:
  ProgressLine();
  // text() is called only when the line is shown.
  void Show(const std::function<std::string()>& text);
  // Blanks over the line, so that what follows starts on a clean one.
  void Clear();
  // Seconds since the line was made.
  double Seconds() const;

 private:
  using Clock = std::chrono::steady_clock;
  bool terminal_;
  int width_ = 0;  // of the longest line written, 0 while none is
  Clock::time_point start_ = Clock::now();
  Clock::time_point last_{};
};

// The local calendar date (YYYY-MM-DD) of an instant in a zone.
std::string LocalIsoDate(double ajd, int zoneMinutes);

// Messages echo at most this many characters of an argument.
inline constexpr std::size_t kEchoedCharacters = 60;

// text cut after maxCharacters UTF-8 characters, followed by "…" when
// something was cut. A byte that does not begin a complete UTF-8 sequence
// counts as one character, so a sequence is never split.
std::string CutArgument(const std::string &text, std::size_t maxCharacters = kEchoedCharacters);

// CutArgument in double quotes, with control characters and bytes that are
// not UTF-8 escaped, for messages: "\"2451545x\"", "\"a\\x1bb\"". In German
// the quotes are „ and “.
std::string QuotedArgument(const std::string &text);
// Text already escaped, in the quotes of the language.
std::string Quoted(const std::string &text);

// The hint after a usage error: "(try vemo-cli table --help)", for an empty
// command "(try vemo-cli --help)".
std::string TryHelp(const std::string &command);
// The usage errors every command shares: "--help takes no value", "--from
// needs a value", and "--step is day, week, month or year, not \"x\"" with
// the list of values given in both languages.
std::string TakesNoValue(const std::string &option);
std::string NeedsAValue(const std::string &option);
std::string Required(const std::string &option);  // "--from is required"
std::string JobsError(const std::string &value);   // "--jobs is a whole number 1 to 64, not ..."
std::string OneOf(const std::string &option, const char *english, const char *german, const std::string &value);

// ParseDateArgument for a date option. A text of more than
// kEchoedCharacters characters (far longer than any date) is refused without
// reading it, with a message that echoes it cut. Returns "" or the message.
std::string ParseDateOption(const std::string &text, DateRow &row);

// Writes text to standard output and flushes it. Returns kExitOk, or prints
// "vemo-cli <command>: cannot write ..." (just "vemo-cli: ..." for a null or
// empty command) on stderr and returns kExitFailure.
int WriteOutput(const char *command, const std::string &text);

// Output written to standard output in pieces: PutOutput appends one (in
// binary mode, false when it cannot be written); EndOutput flushes and
// returns what WriteOutput returns, its message included, `written` false
// when a piece failed.
bool PutOutput(std::string_view bytes);
int EndOutput(const char *command, bool written);

// Writes text to the file `path` (--out) through the file writer: whole or
// not at all. Returns kExitOk, or prints "vemo-cli <command>: cannot write
// "FILE": <reason>; nothing was written." (or "the earlier file is
// unchanged") on stderr and returns kExitFailure.
int WriteOutputFile(const char *command, const std::string &path, const std::string &text);
// "cannot write \"FILE\": <reason>; nothing was written." in the language.
std::string WriteFailure(const std::string &path, const FileWriteResult &result);
// The same for a replacement made earlier (a file refused by it is told
// without writing anything).
int WriteOutputFile(const char *command, FileReplacement &out, const std::string &text);

// vemo-cli positions [--jd JD | --date DATE] [--format text|json]
int RunPositions(const Arguments &args);

}  // namespace vemo::cli
