#include "app/time/shared_library.h"

#include "app/time/date_texts.h"  // InProgramLanguage

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#include <unistd.h>
#endif

#include <vector>

namespace vemo {

SharedLibrary::~SharedLibrary() {
    if (handle_ == nullptr) return;
#ifdef _WIN32
    FreeLibrary(static_cast<HMODULE>(handle_));
#else
    dlclose(handle_);
#endif
}

std::string SharedLibrary::Open(const std::string& path) {
    if (handle_ != nullptr) return "";
#ifdef _WIN32
    HMODULE module = LoadLibraryA(path.c_str());
    if (module == nullptr) {
        char message[512] = {};
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, GetLastError(), 0,
                       message, sizeof message, nullptr);
        return message[0] != '\0' ? std::string(message) : std::string(InProgramLanguage("the library could not be loaded", "die Bibliothek konnte nicht geladen werden"));
    }
    handle_ = module;
#else
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        const char* reason = dlerror();
        return reason != nullptr ? std::string(reason) : std::string(InProgramLanguage("the library could not be loaded", "die Bibliothek konnte nicht geladen werden"));
    }
#endif
    return "";
}

void* SharedLibrary::Symbol(const char* name) const {
    if (handle_ == nullptr) return nullptr;
#ifdef _WIN32
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
#else
    return dlsym(handle_, name);
#endif
}

char PathSeparator() {
#ifdef _WIN32
    return '\\';
#else
    return '/';
#endif
}

std::string SharedLibraryFileName(const std::string& name) {
#if defined(_WIN32)
    return name + ".dll";
#elif defined(__APPLE__)
    return "lib" + name + ".dylib";
#else
    return "lib" + name + ".so";
#endif
}

std::string ExecutableFolder() {
    std::string path;
#ifdef _WIN32
    std::vector<char> buffer(32768);
    const DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0 || n >= buffer.size()) return "";
    path.assign(buffer.data(), n);
#else
    std::vector<char> buffer(4096);
    const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (n <= 0) return "";
    path.assign(buffer.data(), static_cast<size_t>(n));
#endif
    const size_t cut = path.find_last_of("/\\");
    if (cut == std::string::npos) return "";
    if (cut == 0) return path.substr(0, 1);  // the root folder "/"
    return path.substr(0, cut);
}

}  // namespace vemo
