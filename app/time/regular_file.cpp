#include "app/time/regular_file.h"

#include "app/time/date_texts.h"  // InProgramLanguage

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <filesystem>
#include <system_error>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vemo {

std::FILE* OpenRegularFile(const std::string& path, long long* size, std::string* error) {
#ifdef _WIN32
    // Windows has no FIFOs in the file system; a folder or a device name is
    // refused before the open.
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec) {
        *error = ec.message();
        return nullptr;
    }
    if (!std::filesystem::is_regular_file(status)) {
        *error = InProgramLanguage("not a regular file", "keine gew\u00F6hnliche Datei");
        return nullptr;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        *error = std::strerror(errno);
        return nullptr;
    }
    const auto bytes = std::filesystem::file_size(path, ec);
    *size = ec ? 0 : static_cast<long long>(bytes);
    return file;
#else
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *error = std::strerror(errno);
        return nullptr;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        *error = InProgramLanguage("not a regular file", "keine gew\u00F6hnliche Datei");
        ::close(fd);
        return nullptr;
    }
    // Regular files never block; clear the flag so that reads behave as usual.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::FILE* file = ::fdopen(fd, "rb");
    if (file == nullptr) {
        *error = std::strerror(errno);
        ::close(fd);
        return nullptr;
    }
    *size = static_cast<long long>(st.st_size);
    return file;
#endif
}

}  // namespace vemo
