// Runs a command line through the shell for tests that drive vemo-cli as a
// user would: returns the exit status (-1 when the command could not be run or
// did not exit normally) and stores standard output and standard error, merged.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace vemo::testing {

inline int RunCommand(const std::string& command, std::string& output) {
  output.clear();
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return -1;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
  const int status = pclose(pipe);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace vemo::testing
