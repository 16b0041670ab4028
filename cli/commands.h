// Subcommands of vemo-cli. Each takes the arguments after its own name and
// returns the process exit status.
#pragma once

#include <string>
#include <vector>

namespace vemo::cli {

// Exit statuses shared by every subcommand.
inline constexpr int kExitOk = 0;       // done (positions may still carry error values)
inline constexpr int kExitFailure = 1;  // planets_vemo or the program folder cannot be used
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

// vemo-cli positions [--jd JD] [--format text|json]
int RunPositions(const Arguments &args);

}  // namespace vemo::cli
