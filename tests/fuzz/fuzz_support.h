// Shared by the fuzz targets: a check that stops the run on a broken invariant
// (libFuzzer then keeps the input as a crash) and a temporary folder that lives
// as long as the process.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

#include <unistd.h>

#define FUZZ_CHECK(cond)                                                              \
    do {                                                                              \
        if (!(cond)) {                                                                \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
            std::abort();                                                             \
        }                                                                             \
    } while (0)

namespace vemo::fuzz {

class TempFolder {
public:
    explicit TempFolder(std::string_view name) {
        path_ = std::filesystem::temp_directory_path() /
                ("vemo-" + std::string(name) + "-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string Path(std::string_view file) const { return (path_ / std::string(file)).string(); }
    std::string Folder() const { return path_.string() + "/"; }

    // Rewrites the file in place (same inode), as an editor saving over it would.
    std::string Write(std::string_view file, std::string_view bytes) const {
        const std::string p = Path(file);
        std::ofstream out(p, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return p;
    }

private:
    std::filesystem::path path_;
};

}  // namespace vemo::fuzz
