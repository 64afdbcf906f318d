#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/Folders.h"
#include "platform/ShellOpen.h"

namespace tarvolin::platform {
namespace {

namespace fs = std::filesystem;

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = getenv(name)) old_ = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() { old_ ? (void)setenv(name_, old_->c_str(), 1) : (void)unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};

class FoldersTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("tarvolin-folders-" + std::to_string(getpid()));
        fs::remove_all(root);
        fs::create_directories(root);
    }
    void TearDown() override { fs::remove_all(root); }
    fs::path root;
};

TEST_F(FoldersTest, RunDirectoryHoldsThisProgram) {
    const std::string folder = RunDirectory();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), '/');
    EXPECT_TRUE(fs::exists(fs::path(folder) / "app_tests"));
}

TEST_F(FoldersTest, TempFolderEndsWithOneSeparator) {
    const std::pair<std::string, std::string> cases[] = {
        {"/var/tmp", "/var/tmp/"}, {"/var/tmp/", "/var/tmp/"}, {"/var/tmp//", "/var/tmp/"}, {"", "/tmp/"}};
    for (const auto& [tmpdir, expected] : cases) {
        ScopedEnv env("TMPDIR", tmpdir);
        EXPECT_EQ(TempFolder(), expected) << tmpdir;
    }
}

TEST_F(FoldersTest, DesktopComesFromUserDirsThenDesktopFolder) {
    const fs::path home = root / "home";
    fs::create_directories(home / ".config");
    fs::create_directories(home / "Schreibtisch");
    ScopedEnv homeEnv("HOME", home.string());
    ScopedEnv configEnv("XDG_CONFIG_HOME", (home / ".config").string());

    EXPECT_EQ(DesktopFolder(), "") << "no setting and no ~/Desktop";

    fs::create_directories(home / "Desktop");
    EXPECT_EQ(DesktopFolder(), (home / "Desktop").string() + "/");

    std::ofstream(home / ".config" / "user-dirs.dirs") << "# comment\nXDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\n"
                                                       << "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n";
    EXPECT_EQ(DesktopFolder(), (home / "Schreibtisch").string() + "/");

    // A desktop set to the home folder itself is no desktop of its own: fall back to ~/Desktop.
    std::ofstream(home / ".config" / "user-dirs.dirs") << "XDG_DESKTOP_DIR=\"$HOME/\"\n";
    EXPECT_EQ(DesktopFolder(), (home / "Desktop").string() + "/");
}

TEST_F(FoldersTest, MakeSureDirectoryPathExistsCreatesUpToTheLastSeparator) {
    const std::string base = root.string();
    EXPECT_TRUE(MakeSureDirectoryPathExists(base + "/a/b/导出表格/"));
    EXPECT_TRUE(PathIsDirectory(base + "/a/b/导出表格"));

    EXPECT_TRUE(MakeSureDirectoryPathExists(base + "/c//d/file.xlsx"));
    EXPECT_TRUE(PathIsDirectory(base + "/c/d"));
    EXPECT_FALSE(fs::exists(base + "/c/d/file.xlsx")) << "the part after the last separator is a file name";

    EXPECT_TRUE(MakeSureDirectoryPathExists(base + "/a/b/导出表格/")) << "existing folders are fine";

    std::ofstream(root / "plain") << "x";
    EXPECT_FALSE(MakeSureDirectoryPathExists(base + "/plain/sub/"));
    EXPECT_FALSE(PathIsDirectory(base + "/plain"));
    EXPECT_FALSE(PathIsDirectory(""));
}

TEST(ShellOpenTest, ReplacedOpenerGetsTheTargetAndCanBeReset) {
    std::string seen;
    SetShellOpener([&](const std::string& target) {
        seen = target;
        return false;
    });
    EXPECT_FALSE(ShellOpen("http://127.0.0.1/author.html"));
    EXPECT_EQ(seen, "http://127.0.0.1/author.html");
    SetShellOpener(nullptr);
    // Without xdg-open on the path the desktop's handler cannot start, and that is a failure result.
    ScopedEnv path("PATH", "/nonexistent");
    EXPECT_FALSE(ShellOpen("http://127.0.0.1/"));
    EXPECT_EQ(seen, "http://127.0.0.1/author.html");
}

}  // namespace
}  // namespace tarvolin::platform
