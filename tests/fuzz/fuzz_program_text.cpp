// The program-text store and the placeholder filler: the input is loaded as a
// program-text file over a known store, and its lines serve as item texts and
// as the arguments that fill them.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/text/program_text.h"
#include "platform/tovrix6/tovrix6.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

constexpr std::string_view kBaseline = "1\t0\tbaseline [r1]^\n2\t0\t~\n";

// Filling adds one line feed for each "^" and none of its own otherwise (the
// arguments here hold none), and leaves a text without markers as it is.
void CheckFill(std::string_view text, const std::vector<std::string_view>& args) {
    const std::string out = vemo::FillPlaceholders(text, args[0], args[1], args[2], args[3], args[4]);
    FUZZ_CHECK(std::count(out.begin(), out.end(), '\n') ==
               std::count(text.begin(), text.end(), '\n') + std::count(text.begin(), text.end(), '^'));
    if (text.find('^') == std::string_view::npos && text.find("[r") == std::string_view::npos) {
        FUZZ_CHECK(out == text);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const vemo::fuzz::TempFolder folder("fuzz-text");
    static const std::string baseline = folder.Write("base.dat", kBaseline);
    // Every run starts from the same store, so that a refused file leaves a known one.
    FUZZ_CHECK(lt(baseline.c_str(), 0) == 2);

    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string path = folder.Write("qel.dat", input);
    const int32_t result = lt(path.c_str(), 0);
    int32_t kind = 0, line = -1;
    FUZZ_CHECK(lt_error_detail(&kind, &line) == result);
    FUZZ_CHECK(line >= 0);
    const std::string message = vemo::ProgramTextLoadMessage(result, kind, line, path);
    FUZZ_CHECK(message.empty() == (result > 0));
    FUZZ_CHECK(vemo::LoadProgramText(folder.Folder(), "qel.dat") == message);
    if (result <= 0) {
        FUZZ_CHECK(vemo::ProgramText(1) == "baseline [r1]^" && vemo::ProgramText(2).empty());
    }

    // Lines of the input, without line ends, as arguments and extra texts.
    std::vector<std::string_view> pieces;
    for (size_t pos = 0; pos < input.size() && pieces.size() < 6;) {
        const size_t end = std::min(input.find('\n', pos), input.size());
        pieces.push_back(input.substr(pos, end - pos));
        pos = end + 1;
    }
    pieces.resize(6);
    const std::vector<std::string_view> args(pieces.begin() + 1, pieces.end());
    CheckFill(pieces[0], args);

    int filled = 0;
    for (int n = 0; n <= 600; ++n) {
        char buffer[TOVRIX6_MAX_TEXT_BYTES];
        const int32_t k = gt(n, 0, buffer, sizeof buffer, 1);
        FUZZ_CHECK(k >= 0 && k <= TOVRIX6_MAX_TEXT_BYTES);
        const std::string text = vemo::ProgramText(n);
        if (k == 0) {
            FUZZ_CHECK(text.empty());
            continue;
        }
        const std::string_view stored(buffer, static_cast<size_t>(k));
        FUZZ_CHECK(text == (stored == "~" ? "" : stored));
        FUZZ_CHECK(stored.find('\n') == std::string_view::npos);
        if (result > 0) FUZZ_CHECK(input.find(stored) != std::string_view::npos);
        char small[4];
        FUZZ_CHECK(gt(n, 0, small, sizeof small, 1) == (k > 4 ? -2 : k));
        if (filled++ < 16) {
            FUZZ_CHECK(vemo::ProgramTextWithArgs(n, args[0], args[1], args[2], args[3], args[4]) ==
                       vemo::FillPlaceholders(text, args[0], args[1], args[2], args[3], args[4]));
            CheckFill(text, args);
        }
    }
    return 0;
}
