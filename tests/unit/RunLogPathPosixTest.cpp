#include <gtest/gtest.h>

#include "ScopedEnv.h"
#include "TempFolder.h"
#include "base/RunLog.h"
#include "base/RunLogPath.h"

#include <sys/stat.h>

TEST(RunLogPathPosix, LivesUnderTheStateFolderWhichIsCreated)
{
    TempFolder folder;
    const std::string state = folder.File("deep/state");
    ScopedEnv xdg("XDG_STATE_HOME", state.c_str());
    std::string path;
    ASSERT_TRUE(ProcessRunLogPath(path));
    EXPECT_EQ(state + "/morrowmere/morrowmere.log", path);
    struct stat info;
    ASSERT_EQ(0, stat((state + "/morrowmere").c_str(), &info));
    EXPECT_TRUE(S_ISDIR(info.st_mode));

    RunLog log;
    log.OpenForProcess();
    EXPECT_FALSE(log.IsSilent());
    EXPECT_EQ("   Notify : Application has run\n", ReadFileBytes(path));
}

TEST(RunLogPathPosix, FallsBackToHomeAndOtherwiseStaysSilent)
{
    TempFolder folder;
    ScopedEnv home("HOME", folder.Path().c_str());
    {
        // A relative state folder is not trusted.
        ScopedEnv xdg("XDG_STATE_HOME", "relative/state");
        std::string path;
        ASSERT_TRUE(ProcessRunLogPath(path));
        EXPECT_EQ(folder.Path() + "/.local/state/morrowmere/morrowmere.log", path);
    }
    ScopedEnv noXdg("XDG_STATE_HOME", nullptr);
    ScopedEnv noHome("HOME", nullptr);
    std::string path;
    EXPECT_FALSE(ProcessRunLogPath(path));
    RunLog log;
    log.OpenForProcess();
    EXPECT_TRUE(log.IsSilent());
}

TEST(RunLogPathPosix, AFileInTheWayGivesASilentLog)
{
    TempFolder folder;
    WriteFileBytes(folder.File("state"), "not a folder");
    ScopedEnv xdg("XDG_STATE_HOME", folder.File("state").c_str());
    std::string path;
    EXPECT_FALSE(ProcessRunLogPath(path));
    RunLog log;
    log.OpenForProcess();
    EXPECT_TRUE(log.IsSilent());
}
