#include "platform/SharedLibrary.h"

#include <dlfcn.h>

#include <utility>

namespace tarvolin::platform {

SharedLibrary::SharedLibrary(const std::string& path) {
    if (!path.empty()) handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

SharedLibrary::~SharedLibrary() {
    if (handle_) dlclose(handle_);
}

SharedLibrary::SharedLibrary(SharedLibrary&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)) {}

SharedLibrary& SharedLibrary::operator=(SharedLibrary&& other) noexcept {
    if (this != &other) {
        if (handle_) dlclose(handle_);
        handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
}

void* SharedLibrary::Symbol(const char* name) const {
    return handle_ && name ? dlsym(handle_, name) : nullptr;
}

}  // namespace tarvolin::platform
