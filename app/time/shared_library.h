// The one place that loads shared libraries by file name and looks up their
// exported functions: dlopen/dlsym on POSIX systems, LoadLibrary and
// GetProcAddress on Windows.
#pragma once

#include <string>

namespace vemo {

class SharedLibrary {
public:
    SharedLibrary() = default;
    ~SharedLibrary();
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    // Loads the library at path. Returns "" on success, else the system's
    // reason.
    std::string Open(const std::string& path);
    bool IsOpen() const { return handle_ != nullptr; }
    // Address of an exported symbol, nullptr when absent.
    void* Symbol(const char* name) const;

private:
    void* handle_ = nullptr;
};

// Folder of the running executable without a trailing separator, "" when
// unknown.
std::string ExecutableFolder();

// The platform's path separator.
char PathSeparator();

// The file name the platform gives the shared library or module `name`:
// "libNAME.so" on Linux, "libNAME.dylib" on macOS, "NAME.dll" on Windows
// (the build drops the "lib" prefix there, see ephemeris/CMakeLists.txt).
std::string SharedLibraryFileName(const std::string& name);

}  // namespace vemo
