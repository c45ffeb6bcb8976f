#include "support/TestLog.h"

#include "base/RunLog.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#ifdef _WIN32
#include <process.h>
#define getpid _getpid
#else
#include <unistd.h>
#endif

namespace {
std::string g_logPath;

// The log file goes when the test program ends.
void RemoveTestLog()
{
    Log().Restart(nullptr);
    std::error_code ignored;
    std::filesystem::remove(g_logPath, ignored);
}
} // namespace

void StartTestLog()
{
    if (g_logPath.empty()) {
        std::error_code error;
        const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
        // One name per process: test programs run side by side.
        g_logPath = (folder / ("morrowmere-test-" + std::to_string(getpid()) + ".log")).string();
        std::atexit(RemoveTestLog);
    }
    Log().Restart(g_logPath.c_str());
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
