// The saved-state reader: any text is either refused with a message that
// names a line, or read into a state that writes and reads back unchanged.
#include <cstdint>
#include <string>
#include <string_view>

#include "app/settings/state_file.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::array<int, 3> zones{50, 50, 50};
    const std::array<vemo::Colour, 8> colours = vemo::DefaultOrbSettings().AspectColours;
    const vemo::settings::StateParse first = vemo::settings::ParseStateFile(input, zones, colours);
    FUZZ_CHECK(first.ok == first.error.empty());
    if (!first.ok) {
        FUZZ_CHECK(first.error.rfind("Line", 0) == 0);
        return 0;
    }
    const std::string written = vemo::settings::FormatStateFile(first.state);
    const vemo::settings::StateParse second = vemo::settings::ParseStateFile(written, zones, colours);
    FUZZ_CHECK(second.ok);
    FUZZ_CHECK(second.state == first.state);
    FUZZ_CHECK(vemo::settings::FormatStateFile(second.state) == written);
    return 0;
}
