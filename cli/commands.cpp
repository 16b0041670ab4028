// What the commands of vemo-cli share: argument echoes and the output.

#include "cli/commands.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <thread>

#include "app/text/languages.h"
#include "app/text/program_text.h"
#include "app/time/date_argument.h"
#include "app/time/date_texts.h"
#include "app/time/escaped_text.h"
#include "app/time/file_writer.h"
#include "app/time/system_calls.h"
#include "cli/program_folder.h"
#include "cli/table.h"

namespace vemo::cli {

std::string WalkOptions(const Arguments &args, std::initializer_list<const char *> flags,
                        std::initializer_list<const char *> valued, bool orbOptions, const OptionHandler &handle) {
  const auto listed = [](const std::string &arg, std::initializer_list<const char *> names) {
    for (const char *name : names) {
      if (arg == name) return true;
    }
    return false;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    auto [arg, value, inlineValue] = SplitOptionWord(args[i]);
    if (listed(arg, flags)) {
      if (inlineValue) return TakesNoValue(arg);
    } else if (!(orbOptions && IsOrbOption(arg)) && !listed(arg, valued)) {
      return InProgramLanguage("unknown argument ", "unbekanntes Argument ") + QuotedArgument(args[i]);
    } else if (!inlineValue) {
      if (i + 1 >= args.size()) return NeedsAValue(arg);
      value = args[++i];
    }
    if (std::string error = handle(arg, value); !error.empty()) return error;
  }
  return "";
}

ProgressLine::ProgressLine() : terminal_(StderrIsTerminal()) {}

void ProgressLine::Show(const std::function<std::string()>& text) {
  if (!terminal_) return;
  const auto now = Clock::now();
  if (now - start_ < std::chrono::seconds(1) || now - last_ < std::chrono::milliseconds(250)) return;
  last_ = now;
  const std::string line = text();
  // Padded to the longest line so far, so that a shorter one covers it.
  const int written = std::fprintf(stderr, "\r%-*s", width_, line.c_str());
  width_ = std::max(width_, written - 1);
  std::fflush(stderr);
}

void ProgressLine::Clear() {
  if (width_ == 0) return;
  std::fprintf(stderr, "\r%*s\r", width_, "");
  std::fflush(stderr);
  width_ = 0;
}

double ProgressLine::Seconds() const { return std::chrono::duration<double>(Clock::now() - start_).count(); }

std::string LocalIsoDate(double ajd, int zoneMinutes) {
  return JdnToIsoDate(static_cast<int>(std::floor(ajd + zoneMinutes / 1440.0 + 0.5)));
}

int DefaultJobs() {
  const unsigned cores = std::thread::hardware_concurrency();
  return cores == 0 ? 1 : static_cast<int>(std::min<unsigned>(cores, kMaxJobs));
}

bool ParseWholeNumber(const std::string &text, int lo, int hi, int &value) {
  int v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() || v < lo || v > hi) return false;
  value = v;
  return true;
}

std::string CutArgument(const std::string &text, std::size_t maxCharacters) {
  std::size_t at = 0;
  for (std::size_t count = 0; at < text.size(); ++count) {
    if (count == maxCharacters) return text.substr(0, at) + "\u2026";
    at += Utf8CharacterBytes(text, at);
  }
  return text;
}

std::string QuotedArgument(const std::string &text) { return Quoted(EscapedForDisplay(CutArgument(text))); }

std::string Quoted(const std::string &text) {
  return InProgramLanguage("\"", "\u201E") + text + InProgramLanguage("\"", "\u201C");
}

std::string TryHelp(const std::string &command) {
  return InProgramLanguage("(try vemo-cli ", "(siehe vemo-cli ") + command + (command.empty() ? "" : " ") + "--help)";
}

std::string TakesNoValue(const std::string &option) {
  return option + InProgramLanguage(" takes no value", " hat keinen Wert");
}

std::string NeedsAValue(const std::string &option) {
  return option + InProgramLanguage(" needs a value", " braucht einen Wert");
}

std::string Required(const std::string &option) {
  return option + InProgramLanguage(" is required", " muss angegeben werden");
}

std::string JobsError(const std::string &value) {
  return "--jobs " + std::string(InProgramLanguage("is a whole number 1 to ", "ist eine ganze Zahl von 1 bis ")) +
         std::to_string(kMaxJobs) + InProgramLanguage(", not ", ", nicht ") + QuotedArgument(value);
}

std::string OneOf(const std::string &option, const char *english, const char *german, const std::string &value) {
  return option + " " + InProgramLanguage(english, german) + InProgramLanguage(", not ", ", nicht ") + QuotedArgument(value);
}

std::string ParseDateOption(const std::string &text, DateRow &row) {
  // ParseDateArgument echoes the whole text; no date comes near this length.
  if (CutArgument(text) != text) {
    return InProgramLanguage("Date ", "Das Datum ") + QuotedArgument(text) +
           InProgramLanguage(" is not of the form Y-MM-DD[THH:MM][Z|+HH:MM|-HH:MM] with a year of 1 to 4 digits.",
                      " hat nicht die Form Y-MM-DD[THH:MM][Z|+HH:MM|-HH:MM] mit einem Jahr aus 1 bis 4 Ziffern.");
  }
  return ParseDateArgument(text, row);
}

bool PutOutput(std::string_view bytes) {
  // The text holds the line ends it means: LF, or CR LF where the format
  // wants it; on every system the same bytes.
  UseBinaryMode(stdout);
  return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size();
}

int EndOutput(const char *command, bool written) {
  const bool flushed = std::fflush(stdout) == 0;
  if (written && flushed && !std::ferror(stdout)) return kExitOk;
  const int error = errno;
  std::fprintf(stderr, "vemo-cli%s%s: %s: %s\n", command && *command ? " " : "", command ? command : "",
               InProgramLanguage("cannot write the output", "die Ausgabe kann nicht geschrieben werden"),
               error != 0 ? std::strerror(error) : InProgramLanguage("write error", "Schreibfehler"));
  return kExitFailure;
}

int WriteOutput(const char *command, const std::string &text) {
  errno = 0;
  return EndOutput(command, PutOutput(text));
}

std::string WriteFailure(const std::string &path, const FileWriteResult &result) {
  if (LanguageIndex() != kGerman) return "cannot write " + FileWriteFailureText(path, result);
  // The reason is the system's or the file writer's own, in English.
  return Quoted(EscapedForDisplay(path)) + " kann nicht geschrieben werden: " + result.reason + "; " +
         (result.earlierFileKept ? "die bisherige Datei bleibt unver\u00E4ndert." : "es wurde nichts geschrieben.");
}

int WriteOutputFile(const char *command, const std::string &path, const std::string &text) {
  FileReplacement out(path);
  return WriteOutputFile(command, out, text);
}

int WriteOutputFile(const char *command, FileReplacement &out, const std::string &text) {
  out.Write(text);
  const FileWriteResult written = out.Commit();
  if (written.ok) return kExitOk;
  std::fprintf(stderr, "vemo-cli%s%s: %s\n", command && *command ? " " : "", command ? command : "",
               WriteFailure(out.RequestedPath(), written).c_str());
  return kExitFailure;
}

}  // namespace vemo::cli
