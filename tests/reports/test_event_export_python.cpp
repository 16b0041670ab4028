// The JSON and iCalendar texts of aspect events read back by the system's
// Python and its json and icalendar parsers (run through the POSIX shell).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/reports/event_export.h"
#include "tests/reports/event_sample.h"
#include "tests/support/system_python.h"

namespace vemo::reports {
namespace {

using testing::At;
using testing::Sample;
using testing::Split;
using testing::WorldSample;

TEST(EventFormats, JsonReadBackByPython) {
  if (!vemo::testing::SystemPythonHas("json")) GTEST_SKIP() << "no " << vemo::testing::kSystemPython;
  Sample s = WorldSample();
  s.context.mode = Mode::Personal2;
  s.context.birthAJD = At(1980, 1, 1, 12, 30);
  const char* script = R"(import json, sys
d = json.load(open(sys.argv[1], encoding='utf-8'))
i = lambda x: None if x is None else x['utc'] + ' ' + str(round(x['jd'], 4))
print(d['mode'], i(d['from']), i(d['to']), i(d['birth']))
for w in d['windows']:
    print(w['natal_planet'], w['transiting_planet'], w['kind'], w['orb_deg'], i(w['enters']), i(w['leaves']),
          [i(x) for x in w['exact']], w['enters_before_span'], w['leaves_after_span'])
for g in d['gaps']:
    print(g['planet'], i(g['from']), i(g['to']))
)";
  std::string out;
  ASSERT_EQ(vemo::testing::RunPythonOn(script, FormatEventsJson(s.result, s.context), out), 0) << out;
  EXPECT_EQ(out,
            "personal2 2020-12-15T00:00:00Z 2459198.5 2021-01-31T00:00:00Z 2459245.5 1980-01-01T12:30:00Z "
            "2444240.0208\n"
            "Jupiter Saturn Trine 7.0 2020-12-14T10:03:00Z 2459197.9189 2020-12-28T03:10:00Z 2459211.6318 "
            "['2020-12-21T18:21:00Z 2459205.2643'] True False\n"
            "Mars Pluto Square 6.0 2021-01-11T00:00:00Z 2459225.4999 None [] False True\n"
            "Pluto 2021-01-20T00:00:00Z 2459234.5 2021-01-31T00:00:00Z 2459245.5\n");
}

TEST(EventFormats, IcsReadBackByIcalendar) {
  if (!vemo::testing::SystemPythonHas("icalendar")) {
    GTEST_SKIP() << vemo::testing::kSystemPython << " cannot import icalendar";
  }
  const Sample s = WorldSample();
  std::string out;
  ASSERT_EQ(vemo::testing::RunPythonOn(vemo::testing::kIcsCheckScript, FormatEventsIcs(s.result, s.context), out),
            0)
      << out;
  const std::vector<std::string> lines = Split(out, "\n");
  ASSERT_EQ(lines.size(), 4u) << out;
  EXPECT_EQ(lines[0],
            "world-Ju-Sa-Tri-20201214T1003Z@vemo|20201214T100300Z|20201228T031000Z|Jupiter trine Saturn "
            "(heliocentric)|Heliocentric Jupiter trine Saturn, orb 7°0'.\\nEnters its orb: 2020-12-14 10:03 UT.\\n"
            "Exact: 2020-12-21 18:21 UT.\\nLeaves its orb: 2020-12-28 03:10 UT.");
  EXPECT_EQ(lines[2], "events 2");
}

}  // namespace
}  // namespace vemo::reports
