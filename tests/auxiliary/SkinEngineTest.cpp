#include "auxiliary/SkinEngine.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QRegularExpression>
#include <QVariant>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "auxiliary/SkinEngineImage.h"
#include "auxiliary/Skins.h"
#include "platform/Folders.h"

namespace tarvolin {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

void WriteFile(const fs::path& path, const std::string& content) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
}

// A fresh folder of its own for each test, removed afterwards.
class SkinEngine : public testing::Test {
protected:
    void SetUp() override {
        const auto* test = testing::UnitTest::GetInstance()->current_test_info();
        folder =
            fs::temp_directory_path() / ("tarvolin-skin-" + std::to_string(getpid()) + "-" + test->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override {
        qApp->setStyleSheet(QString());
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    fs::path folder;
};

TEST_F(SkinEngine, TheEmbeddedImageIsTheBuiltLibrary) {
    const std::string_view image = SkinEngineImage();
    ASSERT_GT(image.size(), 4u);
    EXPECT_EQ(image.substr(0, 4),
              "\x7f"
              "ELF");
    EXPECT_EQ(image, ReadFile(BUILT_SKIN_ENGINE));
}

TEST_F(SkinEngine, WritingReplacesAnOlderFile) {
    WriteFile(folder / "hrttp.dll", "an older engine");
    ASSERT_TRUE(WriteSkinEngine(folder.string()));
    EXPECT_EQ(ReadFile(folder / "hrttp.dll"), SkinEngineImage());
    // Nothing is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

TEST_F(SkinEngine, WritingIntoAMissingFolderFailsQuietly) {
    EXPECT_FALSE(WriteSkinEngine((folder / "missing").string()));
    EXPECT_FALSE(WriteSkinEngine(""));
}

TEST_F(SkinEngine, DeployWritesIntoTheRunDirectory) {
    const fs::path runDirectory = fs::canonical("/proc/self/exe").parent_path();
    ASSERT_EQ(platform::RunDirectory(), runDirectory.string());
    DeploySkinEngine();
    EXPECT_EQ(ReadFile(runDirectory / "hrttp.dll"), SkinEngineImage());
}

TEST(SkinEnginePaths, OneSeparatorBeforeEachFileName) {
    const std::pair<std::string, std::string> skinFiles[] = {{"/tmp/user", "/tmp/user/1.she"},
                                                             {"/tmp/user/", "/tmp/user/1.she"},
                                                             {"/tmp/user//", "/tmp/user/1.she"},
                                                             {"/", "/1.she"}};
    for (const auto& [temp, expected] : skinFiles)
        EXPECT_EQ(SkinFilePath(temp), expected) << temp;
    EXPECT_EQ(SkinEnginePath("/opt/tarvolin"), "/opt/tarvolin/hrttp.dll");
    EXPECT_EQ(SkinEnginePath("/"), "/hrttp.dll");
    EXPECT_EQ(SkinEnginePath(""), "");
}

// True when a file of that path is mapped into this process.
bool IsLoaded(const fs::path& library) {
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line))
        if (line.size() > library.string().size() && line.ends_with(" " + library.string())) return true;
    return false;
}

// What the engine says it was last attached with.
QVariant AttachedFile() {
    return qApp->property("skinhSkinFile");
}
QVariant AttachedReserved() {
    return qApp->property("skinhReserved");
}

class TempFolderOverride {
public:
    explicit TempFolderOverride(const std::string& folder) {
        if (const char* value = std::getenv("TMPDIR")) previous_ = value;
        setenv("TMPDIR", folder.c_str(), 1);
    }
    ~TempFolderOverride() {
        if (previous_.empty())
            unsetenv("TMPDIR");
        else
            setenv("TMPDIR", previous_.c_str(), 1);
    }

private:
    std::string previous_;
};

TEST_F(SkinEngine, SkinNineteenIsAppliedThroughTheDeployedEngineAndDetached) {
    DeploySkinEngine();
    TempFolderOverride temp(folder.string());  // no trailing separator
    ApplySkin(19);

    const fs::path skinFile = folder / "1.she";
    EXPECT_EQ(ReadFile(skinFile), SkinData(19));
    EXPECT_TRUE(IsLoaded(fs::path(platform::RunDirectory()) / "hrttp.dll"));
    EXPECT_EQ(AttachedFile().toString().toStdString(), skinFile.string());
    ASSERT_TRUE(AttachedReserved().isValid());
    EXPECT_EQ(AttachedReserved().toString(), QString());
    EXPECT_EQ(qApp->styleSheet(), QString::fromStdString(SkinData(19)));

    DetachSkin();
    EXPECT_EQ(qApp->styleSheet(), QString());
    EXPECT_FALSE(AttachedFile().isValid());

    // The engine stays loaded: a second attach goes through it again.
    ApplySkin(3);
    EXPECT_EQ(qApp->styleSheet(), QString::fromStdString(SkinData(3)));
    DetachSkin();
    EXPECT_EQ(qApp->styleSheet(), QString());
}

TEST_F(SkinEngine, TheImagesTheSkinsReferToComeWithTheEngine) {
    ASSERT_TRUE(WriteSkinEngine(folder.string()));
    SkinEngineLibrary engine(SkinEnginePath(folder.string()));
    ASSERT_EQ(engine.Detach(), 0);  // loaded, nothing attached yet
    const QRegularExpression url(R"(url\(([^)]*)\))");
    int images = 0;
    for (int n = 1; n <= kSkinCount; ++n) {
        const QString sheet = QString::fromStdString(SkinData(n));
        for (const QRegularExpressionMatch& match : url.globalMatch(sheet)) {
            EXPECT_FALSE(QImage(match.captured(1)).isNull()) << n << ": " << match.captured(1).toStdString();
            ++images;
        }
    }
    EXPECT_GT(images, 0);
}

TEST_F(SkinEngine, ASkinNumberOutsideTheRangeAttachesTheFileThatIsThere) {
    DeploySkinEngine();
    const std::string own = "QWidget { color: #123456; }";
    WriteFile(folder / "1.she", own);
    SkinEngineLibrary engine(SkinEnginePath(platform::RunDirectory()));
    ApplySkin(engine, 0, folder.string());
    EXPECT_EQ(ReadFile(folder / "1.she"), own);
    EXPECT_EQ(qApp->styleSheet(), QString::fromStdString(own));
    EXPECT_EQ(engine.Detach(), 1);
    EXPECT_EQ(qApp->styleSheet(), QString());
}

TEST_F(SkinEngine, DetachRestoresTheApplicationsOwnSheet) {
    ASSERT_TRUE(WriteSkinEngine(folder.string()));
    const QString own = "QLabel { color: green; }";
    qApp->setStyleSheet(own);
    SkinEngineLibrary engine(SkinEnginePath(folder.string()));
    ApplySkin(engine, 19, folder.string());
    EXPECT_EQ(qApp->styleSheet(), QString::fromStdString(SkinData(19)));
    EXPECT_EQ(engine.Detach(), 1);
    EXPECT_EQ(qApp->styleSheet(), own);
}

struct Unusable {
    const char* name;
    std::string library;  // empty: a file of garbage in the test's folder
};

class UnusableEngine : public SkinEngine, public testing::WithParamInterface<Unusable> {};

TEST_P(UnusableEngine, KeepsThePlainLook) {
    std::string library = GetParam().library;
    if (library.empty()) {
        library = (folder / "hrttp.dll").string();
        WriteFile(library, "MZ this is no library");
    }
    SkinEngineLibrary engine(library);
    ApplySkin(engine, 19, folder.string());
    EXPECT_EQ(ReadFile(folder / "1.she"), SkinData(19));
    EXPECT_EQ(qApp->styleSheet(), QString());
    EXPECT_EQ(engine.AttachEx((folder / "1.she").string(), ""), std::nullopt);
    EXPECT_EQ(engine.Detach(), std::nullopt);
    EXPECT_EQ(qApp->styleSheet(), QString());
}

INSTANTIATE_TEST_SUITE_P(Libraries, UnusableEngine,
                         testing::Values(Unusable{"Missing", "/nonexistent/hrttp.dll"},
                                         Unusable{"NotALibrary", ""},
                                         Unusable{"WithoutSkinFunctions", SKINLESS_LIBRARY}),
                         [](const testing::TestParamInfo<Unusable>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace tarvolin
