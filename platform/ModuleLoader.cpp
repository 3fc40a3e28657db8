#include "platform/ModuleLoader.h"

#include <dlfcn.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/SystemError.h"
#include "platform/Utf8.h"

namespace platform {

ModuleHandle LoadModule(std::u16string_view path, std::string* error) {
    const std::string native = ToUtf8(path);
    void* handle = dlopen(native.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* reason = dlerror();
        if (error)
            *error = reason ? reason : "unknown error";
        // dlopen sets no errno of its own for most failures; keep the thread's
        // last error meaningful for callers that quote it.
        SetLastError(std::filesystem::exists(native) ? ENOEXEC : ENOENT);
    }
    return handle;
}

ModuleHandle ModuleOfThisCode() {
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(&ModuleOfThisCode), &info) || !info.dli_fname) {
        return nullptr;
    }
    std::error_code ignored;
    const auto self = std::filesystem::canonical("/proc/self/exe", ignored);
    const auto holder = std::filesystem::canonical(info.dli_fname, ignored);
    if (holder.empty() || holder == self)
        return nullptr;
    return dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD);
}

}  // namespace platform
