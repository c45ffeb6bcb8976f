#include <gtest/gtest.h>

#include "TempFolder.h"
#include "base/RunLog.h"
#include "base/RunLogPath.h"

#include <string>

namespace {
// The log is a text-mode file: each record ends in the platform's own line break on disk.
#ifdef _WIN32
const std::string kBreak = "\r\n";
#else
const std::string kBreak = "\n";
#endif

std::string Line(const std::string& text)
{
    return text + kBreak;
}
} // namespace

TEST(RunLog, WritesEachLevelWithItsPrefixAndFlushesEveryRecord)
{
    TempFolder folder;
    const std::string path = folder.File("saver.log");
    RunLog log(path.c_str());
    ASSERT_FALSE(log.IsSilent());
    log.Record(kLogNotify, "Run looping thread");
    log.Record(kLogError, "Horizon initialization is failed");
    log.Record(7, "odd");
    log.Record(-1, "");
    // Read while the log is still open: nothing may wait in a buffer.
    EXPECT_EQ(Line("   Notify : Application has run") + Line("   Notify : Run looping thread") +
                  Line("(!)Error : Horizon initialization is failed") + Line("Unlabel record : odd") +
                  Line("Unlabel record : "),
              ReadFileBytes(path));
}

TEST(RunLog, EachStartTruncatesThePreviousRunsLog)
{
    TempFolder folder;
    const std::string path = folder.File("saver.log");
    {
        RunLog first(path.c_str());
        first.Record(kLogNotify, "from the first run");
    }
    RunLog second(path.c_str());
    EXPECT_EQ(Line("   Notify : Application has run"), ReadFileBytes(path));
}

TEST(RunLog, ALogTruncatedByAnotherStartKeepsWholeLines)
{
    TempFolder folder;
    const std::string path = folder.File("saver.log");
    RunLog running(path.c_str());
    running.Record(kLogNotify, "Run looping thread");
    // A second start truncates the file and writes its own first record.
    RunLog second(path.c_str());
    running.Record(kLogNotify, "FPS = -1");
    EXPECT_EQ(Line("   Notify : Application has run") + Line("   Notify : FPS = -1"), ReadFileBytes(path));
}

TEST(RunLog, RecordNumberExpandsTheFormatWhateverItsLength)
{
    TempFolder folder;
    const std::string path = folder.File("saver.log");
    RunLog log(path.c_str());
    log.RecordNumber(kLogNotify, "FPS = %g", -1);
    log.RecordNumber(kLogNotify, "FPS = %g", 59.94);
    // Far longer than the format itself: must be written whole, never cut or overrun.
    log.RecordNumber(kLogError, "%.40f", -1e300);
    const std::string huge = ReadFileBytes(path);
    EXPECT_EQ(0u, huge.find(Line("   Notify : Application has run") + Line("   Notify : FPS = -1") +
                            Line("   Notify : FPS = 59.94") + "(!)Error : -1"));
    const size_t digits = huge.size() - huge.find("(!)Error : -1") - std::string("(!)Error : -").size() -
                          kBreak.size();
    EXPECT_EQ(301u + 1 + 40, digits);
}

TEST(RunLog, KeepsOnlyTheFirstUserMessage)
{
    TempFolder folder;
    const std::string path = folder.File("saver.log");
    RunLog log(path.c_str());
    EXPECT_EQ(nullptr, log.KeptUserMessage());
    static const char kDirectX[] = "Sorry, this application requires DirectX 8.0 or later";
    static const char kGeneric[] = "Error of initialization";
    log.RecordAndKeep(kLogError, "SoundManager initialization is failed", kDirectX);
    log.RecordAndKeep(kLogNotify, "Error of common initialization", kGeneric);
    EXPECT_EQ(kDirectX, log.KeptUserMessage());
    EXPECT_EQ(Line("   Notify : Application has run") + Line("(!)Error : SoundManager initialization is failed") +
                  Line("   Notify : Error of common initialization"),
              ReadFileBytes(path));
}

TEST(RunLog, AnUncreatableFileGivesASilentLogThatStillKeepsMessages)
{
    TempFolder folder;
    // A folder where the file should be: the file cannot be created.
    RunLog log(folder.Path().c_str());
    EXPECT_TRUE(log.IsSilent());
    log.Record(kLogNotify, "nothing to see");
    log.RecordNumber(kLogNotify, "FPS = %g", 1);
    static const char kMessage[] = "Error of initialization";
    log.RecordAndKeep(kLogNotify, "Error of common initialization", kMessage);
    EXPECT_EQ(kMessage, log.KeptUserMessage());

    RunLog pathless(nullptr);
    EXPECT_TRUE(pathless.IsSilent());
}

TEST(RunLogPath, ReplacesTheLastThreeCharactersOfTheModulePath)
{
    std::string path = "C:\\Windows\\System32\\Morrowmere.scr";
    ASSERT_TRUE(ModulePathToLogPath(path));
    EXPECT_EQ("C:\\Windows\\System32\\Morrowmere.log", path);

    std::string bare = "abc";
    ASSERT_TRUE(ModulePathToLogPath(bare));
    EXPECT_EQ("log", bare);

    std::string tooShort = "ab";
    EXPECT_FALSE(ModulePathToLogPath(tooShort));
    EXPECT_EQ("ab", tooShort);
}
