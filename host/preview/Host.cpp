// morrowmere-preview WIDTHxHEIGHT: the settings window's live preview. The saver's own render
// thread, run without sound, draws a frame for each byte read on standard
// input and writes it to standard output (WIDTH x HEIGHT x 4 bytes, RGBA, the top row first). It
// reads the stored settings at its start, as the saver does: a changed setting is a new preview.
// The saver's run log is left alone. Ends with its teardown when either stream closes: 0, or 1
// when the scene could not start (its reason on stderr), 2 for a wrong command line.

#include "host/preview/Preview.h"
#include "host/RenderThread.h"
#include "host/SaverPlatform.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {
bool ParseSide(const char* from, const char* to, int32_t& side)
{
    if (from == to || to - from > 4)
        return false;
    side = 0;
    for (const char* c = from; c != to; ++c) {
        if (*c < '0' || *c > '9')
            return false;
        side = side * 10 + (*c - '0');
    }
    return side >= kPreviewSideMin && side <= kPreviewSideMax;
}
} // namespace

bool ParsePreviewSize(const char* text, int32_t& width, int32_t& height)
{
    const char* x = std::strchr(text, 'x');
    return x != nullptr && ParseSide(text, x, width) && ParseSide(x + 1, x + std::strlen(x), height);
}

int main(int argc, char** argv)
{
    PreviewTarget target{0, 0, 0, 1};
    if (argc != 2 || !ParsePreviewSize(argv[1], target.width, target.height)) {
        std::fprintf(stderr, "usage: morrowmere-preview WIDTHxHEIGHT (each side %d to %d)\n", kPreviewSideMin,
                     kPreviewSideMax);
        return 2;
    }
    // A settings window that went away shows as a failed write, which ends the frames.
    std::signal(SIGPIPE, SIG_IGN);
    RenderRun run;
    run.frame.window = &target;
    // Asked for frame by frame: the settings window sets the pace, not a cap or a rest.
    run.frame.pacedBySurface = true;
    run.sound.wanted = false;
    run.sound.whyNot = "the preview plays none";
    run.frame.doneEvent = CreateDoneEvent();
    if (run.frame.doneEvent == nullptr)
        return 1;
    // On a thread of its own, which names itself "render": the process keeps its own name.
    std::thread render([&run] { RenderThreadMain(run); });
    render.join();
    DestroyDoneEvent(run.frame.doneEvent);
    return PreviewStartFailed() ? 1 : 0;
}
