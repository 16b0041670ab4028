// The operating system's local-time and terminal calls, kept here (with
// shared_library.h and regular_file.h) so that the rest of the program has no
// platform conditionals.
#pragma once

#include <cstdio>
#include <ctime>

namespace vemo {

// The broken-down local time of t in the computer's zone (localtime_r on
// POSIX systems, localtime_s on Windows: both thread-safe). False when the
// system cannot convert t; *local is then left as it was.
bool LocalTimeOf(std::time_t t, std::tm* local);

// True when stream is a terminal (a console on Windows).
bool IsTerminal(std::FILE* stream);

// Makes stream pass bytes through unchanged. Windows' C runtime opens the
// standard streams in text mode, which turns every "\n" into "\r\n", so the
// CR LF that CSV and iCalendar require would come out as CR CR LF. Nothing to
// do on POSIX systems.
void UseBinaryMode(std::FILE* stream);

}  // namespace vemo
