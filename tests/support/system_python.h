// The system's Python (Debian's /usr/bin/python3, which has python3-icalendar)
// for tests that read our output back with an independent parser.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/run_command.h"

namespace vemo::testing {

inline constexpr const char* kSystemPython = "/usr/bin/python3";

// True when the system's Python can import `module`.
inline bool SystemPythonHas(const std::string& module) {
  std::string output;
  return RunCommand(std::string(kSystemPython) + " -c 'import " + module + "'", output) == 0;
}

// Runs `script` with the system's Python on a file holding `input` (its path
// is sys.argv[1]). Returns the exit status; output gets stdout and stderr.
inline int RunPythonOn(const std::string& script, const std::string& input, std::string& output) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path();
  const fs::path scriptFile = dir / ("vemo-py-" + std::to_string(::getpid()) + ".py");
  const fs::path inputFile = dir / ("vemo-py-" + std::to_string(::getpid()) + ".in");
  std::ofstream(scriptFile, std::ios::binary) << script;
  std::ofstream(inputFile, std::ios::binary) << input;
  const std::string command = "PYTHONIOENCODING=utf-8 " + std::string(kSystemPython) + " '" +
                              scriptFile.string() + "' '" + inputFile.string() + "'";
  const int status = RunCommand(command, output);
  std::error_code ignored;
  fs::remove(scriptFile, ignored);
  fs::remove(inputFile, ignored);
  return status;
}

// Reads an iCalendar file with the icalendar package and checks what every
// calendar program relies on: each VEVENT has a UTC DTSTART before its DTEND,
// TRANSP:TRANSPARENT and a UID no other VEVENT has. Prints one line per
// VEVENT, "UID|DTSTART|DTEND|SUMMARY|DESCRIPTION" as the parser reads them
// (line breaks of the description as \n), then "events N"; a failed check
// exits non-zero with the reason.
inline constexpr const char* kIcsCheckScript = R"(import sys
import icalendar
cal = icalendar.Calendar.from_ical(open(sys.argv[1], 'rb').read())
assert str(cal.get('VERSION')) == '2.0', cal.get('VERSION')
events = list(cal.walk('VEVENT'))
uids = set()
for e in events:
    uid = str(e.get('UID'))
    start, end = e.decoded('DTSTART'), e.decoded('DTEND')
    assert start.utcoffset().total_seconds() == 0 and end.utcoffset().total_seconds() == 0, uid
    assert start < end, (uid, start, end)
    assert str(e.get('TRANSP')) == 'TRANSPARENT', uid
    assert uid not in uids, 'repeated UID ' + uid
    uids.add(uid)
    text = str(e.get('DESCRIPTION')).replace('\n', '\\n')
    print('|'.join([uid, start.strftime('%Y%m%dT%H%M%SZ'), end.strftime('%Y%m%dT%H%M%SZ'),
                    str(e.get('SUMMARY')), text]))
print('events', len(events))
)";

}  // namespace vemo::testing
