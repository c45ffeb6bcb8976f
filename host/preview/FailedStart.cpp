#include "base/RunLog.h"
#include "host/preview/Preview.h"
#include "host/SaverPlatform.h"

#include <atomic>
#include <cstdio>

namespace {
std::atomic<bool> g_failedStart{false};
} // namespace

// The render thread's failed start: its reason, kept by the run log, goes to stderr, where the
// settings window's journal has it.
void SendFailedStart(void*)
{
    g_failedStart = true;
    if (const char* kept = Log().KeptUserMessage())
        std::fprintf(stderr, "morrowmere-preview: %s\n", kept);
}

bool PreviewStartFailed()
{
    return g_failedStart;
}
