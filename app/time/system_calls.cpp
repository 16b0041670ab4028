#include "app/time/system_calls.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <unistd.h>
#endif

namespace vemo {

bool LocalTimeOf(std::time_t t, std::tm* local) {
    std::tm converted{};
#ifdef _WIN32
    if (localtime_s(&converted, &t) != 0) return false;
#else
    if (localtime_r(&t, &converted) == nullptr) return false;
#endif
    *local = converted;
    return true;
}

bool IsTerminal(std::FILE* stream) {
#ifdef _WIN32
    return _isatty(_fileno(stream)) != 0;
#else
    return isatty(fileno(stream)) != 0;
#endif
}

void UseBinaryMode(std::FILE* stream) {
#ifdef _WIN32
    _setmode(_fileno(stream), _O_BINARY);
#else
    (void)stream;
#endif
}

}  // namespace vemo
