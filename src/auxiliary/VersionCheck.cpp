#include "auxiliary/VersionCheck.h"

#include "platform/ShellOpen.h"
#include "platform/UrlReader.h"
#include "shell/BuildConstants.h"
#include "text/Markers.h"
#include "text/TextOps.h"

namespace tarvolin {
namespace {

// Versions that round to the same single-precision value count as equal.
constexpr double kTolerance = -0.0000001;

Text OwnVersion(Controls& controls) {
    return TextAfterLast(controls.Caption(), "Tarvolin"_t, 0, false);
}

float AnnouncedVersion(const Text& releaseUrl) {
    const Text page = BytesToText(Bytes(platform::ReadUrl(TextToUtf8(releaseUrl))));
    return TextToFloat(TextBetween(page, "【原帖更新到"_t, "版本】"_t, 0, false));
}

void OfferDownload(Controls& controls, const Text& releaseUrl) {
    MessageBoxSpec box;
    box.text = "版本有更新了，是否去下载呢？！\r\n\r\n记得给我加热心哦！！"_t;
    box.title = "版本更新提醒！"_t;
    box.buttons = BoxButtons::YesNo;
    box.icon = BoxIcon::Question;
    if (controls.ShowMessage(box) == BoxAnswer::Yes) platform::ShellOpen(TextToUtf8(releaseUrl));
}

void ConfirmNewest(Controls& controls) {
    controls.SetPanelText(3, "现在您使用的是：【最新版本"_t + OwnVersion(controls) + "】 谢谢您的支持！"_t);
}

}  // namespace

void RunVersionCheck(Controls& controls) {
    const Text releaseUrl = ReleasePageUrl();
    const double remote = AnnouncedVersion(releaseUrl);
    // A stop means the window is going away: leave its controls alone.
    if (platform::StopRequested()) return;
    const double local = TextToFloat(OwnVersion(controls));
    if (local - remote < kTolerance)
        OfferDownload(controls, releaseUrl);
    else
        ConfirmNewest(controls);
}

std::shared_ptr<platform::ControlledThread> StartVersionCheck(Controls& controls) {
    return platform::ControlledThread::Start([&controls] { RunVersionCheck(controls); });
}

}  // namespace tarvolin
