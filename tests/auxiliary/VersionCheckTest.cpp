#include "auxiliary/VersionCheck.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <mutex>
#include <vector>

#include "LocalServer.h"
#include "SiteServer.h"
#include "platform/ShellOpen.h"
#include "shell/MemoryControls.h"

namespace tarvolin {
namespace {

using namespace std::chrono_literals;

// The release page as the author's server sends it: code page 936 bytes.
std::string ReleasePage(const std::string& utf8) {
    return Utf8Text(utf8).bytes();
}

std::string Announcing(const std::string& version) {
    return ReleasePage("<html><body><p>Tarvolin 采集器</p><p>【原帖更新到" + version +
                       "版本】</p></body></html>");
}

const Text kConfirmation = "现在您使用的是：【最新版本1.3】 谢谢您的支持！"_t;

class VersionCheck : public testing::Test {
protected:
    void SetUp() override {
        controls.SetCaption("Tarvolin1.3"_t);
        platform::SetShellOpener([this](const std::string& target) {
            std::lock_guard lock(mutex);
            opened.push_back(target);
            return true;
        });
    }
    void TearDown() override {
        platform::SetShellOpener(nullptr);
        unsetenv("TARVOLIN_RELEASE_URL");
    }

    // Serves the page at /release.html and points the check at it.
    void Serve(std::string page) {
        server = std::make_unique<LocalServer>([page](httplib::Server& s) {
            s.Get("/release.html", [page](const httplib::Request&, httplib::Response& r) {
                r.set_content(page, "text/html; charset=gb2312");
            });
        });
        releaseUrl = server->Url("/release.html");
        setenv("TARVOLIN_RELEASE_URL", releaseUrl.c_str(), 1);
    }

    std::vector<std::string> Opened() {
        std::lock_guard lock(mutex);
        return opened;
    }

    MemoryControls controls;
    std::unique_ptr<LocalServer> server;
    std::string releaseUrl;
    std::mutex mutex;
    std::vector<std::string> opened;
};

struct NotNewer {
    const char* name;
    std::string page;
};

class NotNewerPage : public VersionCheck, public testing::WithParamInterface<NotNewer> {};

TEST_P(NotNewerPage, ConfirmsTheRunningVersionWithoutABox) {
    Serve(GetParam().page);
    RunVersionCheck(controls);
    EXPECT_EQ(controls.PanelText(3), kConfirmation);
    EXPECT_TRUE(controls.Boxes().empty());
    EXPECT_TRUE(Opened().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Announcements, NotNewerPage,
    testing::Values(NotNewer{"Same", Announcing("1.3")}, NotNewer{"Older", Announcing("1.2")},
                    // rounds to the same single-precision value as 1.3
                    NotNewer{"EqualInSinglePrecision", Announcing("1.3000000001")},
                    NotNewer{"NotANumber", Announcing("新")},
                    NotNewer{"NoMarkers", ReleasePage("<html>欢迎</html>")},
                    NotNewer{"EndMarkerOnlyBeforeStart", ReleasePage("1.9版本】 ... 【原帖更新到1.9")},
                    // the page ends at its first zero byte
                    NotNewer{"AnnouncementAfterAZeroByte",
                             ReleasePage("<html>") + std::string(1, '\0') + Announcing("1.4")}),
    [](const testing::TestParamInfo<NotNewer>& info) { return std::string(info.param.name); });

TEST_F(VersionCheck, ANewerVersionAsksAndYesOpensTheReleasePage) {
    Serve(Announcing("1.4"));
    controls.QueueAnswer(BoxAnswer::Yes);
    RunVersionCheck(controls);

    const std::vector<MessageBoxSpec> boxes = controls.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "版本有更新了，是否去下载呢？！\r\n\r\n记得给我加热心哦！！"_t);
    EXPECT_EQ(boxes[0].title, "版本更新提醒！"_t);
    EXPECT_EQ(boxes[0].buttons, BoxButtons::YesNo);
    EXPECT_EQ(boxes[0].icon, BoxIcon::Question);
    EXPECT_EQ(Opened(), std::vector<std::string>{releaseUrl});
    EXPECT_EQ(controls.PanelText(3), Text());
}

TEST_F(VersionCheck, NoLeavesEverythingAsItWas) {
    Serve(Announcing("２.０"));  // full-width digits read as 2.0
    controls.SetPanelText(3, "温馨提醒"_t);
    controls.QueueAnswer(BoxAnswer::No);
    RunVersionCheck(controls);
    EXPECT_EQ(controls.Boxes().size(), 1u);
    EXPECT_TRUE(Opened().empty());
    EXPECT_EQ(controls.PanelText(3), "温馨提醒"_t);
}

// The bundled site's release page, as the program's default address finds it.
TEST_F(VersionCheck, ReadsTheBundledSitesReleasePage) {
    for (const auto& [announced, newer] : {std::pair{"1.3", false}, std::pair{"1.4", true}}) {
        SCOPED_TRACE(announced);
        demosite::SiteServer site(demosite::SiteOptions{.releaseVersion = announced});
        ASSERT_TRUE(site.Start());
        setenv("TARVOLIN_RELEASE_URL", (site.Address() + "/release.html").c_str(), 1);
        MemoryControls window;
        window.SetCaption("Tarvolin1.3"_t);
        RunVersionCheck(window);
        EXPECT_EQ(window.Boxes().size(), newer ? 1u : 0u);
        EXPECT_EQ(window.PanelText(3), newer ? Text() : kConfirmation);
    }
}

TEST_F(VersionCheck, WithoutAServerTheCheckGivesUpAndConfirms) {
    setenv("TARVOLIN_RELEASE_URL", ClosedPortUrl("/release.html").c_str(), 1);
    RunVersionCheck(controls);
    EXPECT_EQ(controls.PanelText(3), kConfirmation);
    EXPECT_TRUE(controls.Boxes().empty());
}

TEST_F(VersionCheck, RunsOnAThreadOfItsOwn) {
    Serve(Announcing("1.3"));
    controls.SetCaption("Tarvolin1.5"_t);
    auto thread = StartVersionCheck(controls);
    ASSERT_TRUE(thread);
    ASSERT_TRUE(thread->Join(30s));
    EXPECT_EQ(controls.PanelText(3), "现在您使用的是：【最新版本1.5】 谢谢您的支持！"_t);
}

TEST_F(VersionCheck, AStoppedCheckLeavesTheWindowAlone) {
    std::mutex gate;
    std::unique_lock held(gate);
    server = std::make_unique<LocalServer>([&](httplib::Server& s) {
        s.Get("/release.html", [&](const httplib::Request&, httplib::Response& r) {
            std::lock_guard wait(gate);  // answers once the test lets go
            r.set_content(Announcing("9.9"), "text/html");
        });
    });
    setenv("TARVOLIN_RELEASE_URL", server->Url("/release.html").c_str(), 1);
    auto thread = StartVersionCheck(controls);
    thread->Control().RequestStop();
    ASSERT_TRUE(thread->Join(20s));
    held.unlock();
    server.reset();  // before the gate goes away
    EXPECT_TRUE(controls.Boxes().empty());
    EXPECT_EQ(controls.PanelText(3), Text());
}

}  // namespace
}  // namespace tarvolin
