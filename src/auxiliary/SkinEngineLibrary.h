#pragma once

#include <mutex>
#include <optional>
#include <string>

#include "platform/SharedLibrary.h"

namespace tarvolin {

// The skin engine's library file and its two functions. The file is loaded on the first call and
// kept; each function is looked up by its exported name once. A library that cannot be loaded or
// lacks a function makes that call do nothing, so the program keeps its plain look.
class SkinEngineLibrary {
public:
    explicit SkinEngineLibrary(std::string path) : path_(std::move(path)) {}

    // SkinH_AttachEx(skinPath, reserved); nothing when the engine is not available.
    std::optional<int> AttachEx(const std::string& skinPath, const std::string& reserved);
    // SkinH_Detach(); nothing when the engine is not available.
    std::optional<int> Detach();

    const std::string& Path() const { return path_; }

private:
    using AttachExFunction = int (*)(const char*, const char*);
    using DetachFunction = int (*)();

    void LoadOnce();

    std::string path_;
    std::once_flag loaded_;
    platform::SharedLibrary library_;
    AttachExFunction attachEx_ = nullptr;
    DetachFunction detach_ = nullptr;
};

}  // namespace tarvolin
