#include "auxiliary/SkinEngine.h"

#include "auxiliary/FileReplace.h"
#include "auxiliary/SkinEngineImage.h"
#include "auxiliary/Skins.h"
#include "platform/Folders.h"

namespace tarvolin {
namespace {

constexpr const char* kEngineFileName = "hrttp.dll";
constexpr const char* kSkinFileName = "1.she";

// The engine of the process: loaded at most once and never unloaded, because the look it gave
// the windows may still be in use while the process ends.
SkinEngineLibrary& ProcessEngine() {
    static auto* engine = new SkinEngineLibrary(SkinEnginePath(platform::RunDirectory()));
    return *engine;
}

}  // namespace

std::string SkinEnginePath(const std::string& runDirectory) {
    if (runDirectory.empty()) return {};
    const bool hasSeparator = runDirectory.back() == '/';
    return runDirectory + (hasSeparator ? "" : "/") + kEngineFileName;
}

std::string SkinFilePath(const std::string& tempFolder) {
    std::string folder = tempFolder;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder + kSkinFileName;
}

bool WriteSkinEngine(const std::string& runDirectory) {
    const std::string path = SkinEnginePath(runDirectory);
    return !path.empty() && ReplaceFileContents(path, SkinEngineImage());
}

void ApplySkin(SkinEngineLibrary& engine, int n, const std::string& tempFolder) {
    const std::string path = SkinFilePath(tempFolder);
    // A failed write leaves the file that is there, and the engine is attached with that.
    if (n >= 1 && n <= kSkinCount) ReplaceFileContents(path, SkinData(n));
    engine.AttachEx(path, "");
}

void DeploySkinEngine() {
    WriteSkinEngine(platform::RunDirectory());
}

void ApplySkin(int n) {
    ApplySkin(ProcessEngine(), n, platform::TempFolder());
}

void DetachSkin() {
    ProcessEngine().Detach();
}

}  // namespace tarvolin
