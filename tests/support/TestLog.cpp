#include "support/TestLog.h"

#include "base/ProcessGlobals.h"
#include "base/RunLog.h"
#include "base/SettingsStore.h"
#include "host/FrameRateCounter.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#ifdef _WIN32
#include <process.h>
#define getpid _getpid
#else
#include <unistd.h>
#endif

namespace {
std::string g_logPath;
std::unique_ptr<RunLog> g_log;

// The log file goes when the test program ends.
void RemoveTestLog()
{
    g_log.reset();
    std::error_code ignored;
    std::filesystem::remove(g_logPath, ignored);
}
} // namespace

SettingsStore& Settings()
{
    static SettingsStore settings;
    return settings;
}

FrameRateCounter& FrameRate()
{
    static FrameRateCounter counter;
    return counter;
}

RunLog& Log()
{
    if (!g_log)
        StartTestLog();
    return *g_log;
}

void StartTestLog()
{
    if (g_logPath.empty()) {
        std::error_code error;
        const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
        // One name per process: test programs run side by side.
        g_logPath = (folder / ("morrowmere-test-" + std::to_string(getpid()) + ".log")).string();
        std::atexit(RemoveTestLog);
    }
    g_log.reset();
    g_log.reset(new RunLog(g_logPath.c_str()));
}

std::vector<std::string> TestLogRecords()
{
    std::vector<std::string> records;
    std::ifstream file(g_logPath);
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (records.empty() && line.find("Application has run") != std::string::npos)
            continue;
        records.push_back(line);
    }
    return records;
}
