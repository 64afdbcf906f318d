#pragma once

#include <string>

// A shared library loaded by its full path and unloaded with the object.
namespace tarvolin::platform {

class SharedLibrary {
public:
    SharedLibrary() = default;
    // Loads the file at path (all symbols bound at once, kept to this library); Loaded() tells.
    explicit SharedLibrary(const std::string& path);
    ~SharedLibrary();
    SharedLibrary(SharedLibrary&& other) noexcept;
    SharedLibrary& operator=(SharedLibrary&& other) noexcept;
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    bool Loaded() const { return handle_ != nullptr; }
    // The address of an exported symbol, or null when the library or the symbol is missing.
    void* Symbol(const char* name) const;

private:
    void* handle_ = nullptr;
};

}  // namespace tarvolin::platform
