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

// vemo-cli positions [--jd JD] [--format text|json]
int RunPositions(const Arguments &args);

}  // namespace vemo::cli
