// One running program per diary folder: two diaries at once, one diary never twice, whatever
// the spelling of its folder.
#include "platform/qt/SingleInstance.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace quillory {
namespace {

namespace fs = std::filesystem;

TEST(InstanceLock, HeldPerDiaryFolder)
{
    TempFolder root;
    fs::create_directories(root.path() / "run");
    fs::create_directories(root.path() / "home/diary");
    fs::create_directories(root.path() / "Sync/diary");
    fs::create_symlink(root.path() / "Sync/diary", root.path() / "linked");
    const QString run = QString::fromStdString((root.path() / "run").string());
    const auto at = [&](const char* relative) { return QString::fromStdString((root.path() / relative).string()); };

    InstanceLock home(run, at("home/diary"));
    ASSERT_FALSE(home.AlreadyRunning());
    InstanceLock synced(run, at("Sync/diary"));
    EXPECT_FALSE(synced.AlreadyRunning()) << "a second diary opens beside the first";

    for (const char* same : {"home/diary/", "home/./diary", "Sync/../home/diary"})
        EXPECT_TRUE(InstanceLock(run, at(same)).AlreadyRunning()) << same;
    EXPECT_TRUE(InstanceLock(run, at("linked")).AlreadyRunning()) << "a link to an open diary";
    EXPECT_NE(home.FileName(), synced.FileName());
    EXPECT_TRUE(fs::path(home.FileName().toStdString()).filename().string().starts_with("Quillory-"));
}

} // namespace
} // namespace quillory
