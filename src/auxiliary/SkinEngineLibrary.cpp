#include "auxiliary/SkinEngineLibrary.h"

namespace tarvolin {

void SkinEngineLibrary::LoadOnce() {
    std::call_once(loaded_, [this] {
        library_ = platform::SharedLibrary(path_);
        attachEx_ = reinterpret_cast<AttachExFunction>(library_.Symbol("SkinH_AttachEx"));
        detach_ = reinterpret_cast<DetachFunction>(library_.Symbol("SkinH_Detach"));
    });
}

std::optional<int> SkinEngineLibrary::AttachEx(const std::string& skinPath, const std::string& reserved) {
    LoadOnce();
    if (!attachEx_) return std::nullopt;
    return attachEx_(skinPath.c_str(), reserved.c_str());
}

std::optional<int> SkinEngineLibrary::Detach() {
    LoadOnce();
    if (!detach_) return std::nullopt;
    return detach_();
}

}  // namespace tarvolin
