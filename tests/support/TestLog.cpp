#include "support/TestLog.h"

#include "host/FrameRateCounter.h"
#include "host/ProcessGlobals.h"
#include "host/RunLog.h"
#include "host/SettingsStore.h"

#include <filesystem>
#include <fstream>
#include <memory>

namespace {
std::string g_logPath;
std::unique_ptr<RunLog> g_log;
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
        g_logPath = (folder / ("morrowmere-test-" + std::to_string(reinterpret_cast<uintptr_t>(&g_log)) + ".log"))
                        .string();
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
