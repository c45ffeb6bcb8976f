#include "base/RunLog.h"

#include "base/RunLogPath.h"

#include <mutex>
#include <string>
#include <vector>

namespace {
RunLog g_runLog;

const char* PrefixFor(int level)
{
    switch (level) {
    case kLogNotify:
        return "   Notify : ";
    case kLogError:
        return "(!)Error : ";
    default:
        return "Unlabel record : ";
    }
}
} // namespace

bool ModulePathToLogPath(std::string& path)
{
    if (path.size() < 3)
        return false;
    path.replace(path.size() - 3, 3, "log");
    return true;
}

void RunLog::OpenForProcess()
{
    std::string path;
    if (file_ == nullptr && ProcessRunLogPath(path))
        Open(path.c_str());
}

RunLog& Log()
{
    return g_runLog;
}

void RunLog::Restart(const char* path)
{
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    kept_ = nullptr;
    if (path)
        Open(path);
}

RunLog::RunLog(const char* path)
{
    if (path)
        Open(path);
}

RunLog::~RunLog()
{
    if (file_)
        std::fclose(file_);
}

void RunLog::Open(const char* path)
{
    // Truncated at every start, then written in append mode: when another start truncates the
    // file while this run still writes (a second full-screen start, say), our later records land
    // after its text instead of at our old offset behind a hole of zero bytes. Text mode: each
    // record ends in the platform's own line break.
    FILE* truncate = std::fopen(path, "w");
    if (!truncate)
        return;
    std::fclose(truncate);
    file_ = std::fopen(path, "a");
    if (file_)
        Record(kLogNotify, "Application has run");
}

void RunLog::Record(int level, const char* text)
{
    if (!file_)
        return;
    // A record is written whole: the power source is watched on a thread of its own.
    static std::mutex recordLock;
    std::lock_guard<std::mutex> lock(recordLock);
    std::fputs(PrefixFor(level), file_);
    std::fputs(text, file_);
    std::fputc('\n', file_);
    std::fflush(file_);
}

void RunLog::RecordNumber(int level, const char* format, double value)
{
    const int length = std::snprintf(nullptr, 0, format, value);
    if (length < 0)
        return;
    std::vector<char> text(static_cast<size_t>(length) + 1);
    std::snprintf(text.data(), text.size(), format, value);
    Record(level, text.data());
}

void RunLog::RecordAndKeep(int level, const char* text, const char* userMessage)
{
    Record(level, text);
    if (!kept_)
        kept_ = userMessage;
}
