// The replay program: the saver's own start-up from a given seed, then its frame step with given
// elapsed times, printing the scene's state after every frame as one JSON line and saving chosen
// frames as pictures.
//
// Exit status: 0 after the last frame; 1 when the start fails (the kept user message on stderr) or
// a picture cannot be written; 2 for a command line that is refused; 3 after printing a frame
// whose state holds a value that is not finite.

#include "base/RunLog.h"
#include "base/SaverFrame.h"
#include "gfx/GlContext.h"
#include "gfx/OpenGL.h"
#include "gfx/ScaledDrawing.h"
#include "host/VideoInit.h"
#include "scene/Scene.h"
#include "tools/trace/JsonLine.h"
#include "tools/trace/PngWriter.h"
#include "tools/trace/SceneTrace.h"
#include "tools/trace/TraceOptions.h"
#include "tools/trace/TraceWindow.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {
constexpr int kStartFailed = 1;
constexpr int kRefused = 2;
constexpr int kNotFinite = 3;

void PrintLine(const JsonLine& line)
{
    std::fwrite(line.Text().data(), 1, line.Text().size(), stdout);
    std::fputc('\n', stdout);
}

// The picture of the frame just drawn, before its swap. False when its file cannot be written.
bool SaveSnapshots(const TraceOptions& options, uint32_t frame, std::vector<uint8_t>& pixels)
{
    bool saved = true;
    bool read = false;
    for (const TraceSnapshot& snapshot : options.snapshots) {
        if (snapshot.frame != frame)
            continue;
        if (!read) {
            pixels.resize(static_cast<size_t>(options.width) * static_cast<size_t>(options.height) * 4u);
            // Whole 4-byte pixels: every row is aligned, whatever the pack alignment.
            glReadPixels(0, 0, options.width, options.height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
            read = true;
        }
        if (!WritePng(snapshot.path.c_str(), options.width, options.height, pixels.data())) {
            std::fprintf(stderr, "morrowmere-trace: cannot write %s\n", snapshot.path.c_str());
            saved = false;
        }
    }
    return saved;
}

// Every frame's pixels for a comparison of two runs, appended. False when they cannot be written.
bool AppendPixels(const TraceOptions& options, std::FILE* file, std::vector<uint8_t>& pixels)
{
    pixels.resize(static_cast<size_t>(options.width) * static_cast<size_t>(options.height) * 4u);
    glReadPixels(0, 0, options.width, options.height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return std::fwrite(pixels.data(), 1, pixels.size(), file) == pixels.size();
}

// Frames 1..frames as the render thread runs them: the step, then the swap. 0 or an exit status.
int RunFrames(const TraceOptions& options, FrameState& state, SceneTrace& trace, JsonLine& line, std::FILE* pixelsFile)
{
    std::vector<uint8_t> pixels;
    size_t next = 0;
    ScaledDrawing scaled(options.scale);
    for (uint32_t frame = 1; frame <= options.frames; ++frame) {
        FrameClock clock;
        clock.previousTick = 0;
        clock.elapsed = options.elapsed[next];
        next = next + 1 == options.elapsed.size() ? 0 : next + 1;
        scaled.Begin();
        StepScene(clock);
        scaled.End(false);
        bool saved = SaveSnapshots(options, frame, pixels);
        if (pixelsFile != nullptr && !AppendPixels(options, pixelsFile, pixels)) {
            std::fprintf(stderr, "morrowmere-trace: cannot write %s\n", options.pixelsPath.c_str());
            saved = false;
        }
        GlSwapBuffers(state);
        ServiceTraceWindow();

        trace.Write(line, frame, clock.elapsed);
        if (frame % options.every == 0 || frame == options.frames || !line.AllFinite())
            PrintLine(line);
        if (!line.AllFinite())
            return kNotFinite;
        if (!saved)
            return kStartFailed;
    }
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    PrepareTraceProcess();
    TraceOptions options;
    std::string error;
    if (!ParseTraceOptions(argc - 1, argv + 1, options, error)) {
        std::fprintf(stderr, "morrowmere-trace: %s\n%s\n", error.c_str(), kTraceUsage);
        return kRefused;
    }
    if (options.help) {
        std::printf("%s\n", kTraceUsage);
        return 0;
    }

    void* window = CreateTraceWindow(options.width, options.height);
    if (window == nullptr)
        return kStartFailed;

    // The run log stays silent: the saver's own log is left alone. Its kept message is read below.
    FrameState frame;
    frame.window = window;
    frame.displayName = TraceDisplayName();
    VideoStart start;
    start.seed = options.seed;
    start.swapInterval = 0;
    start.sound.wanted = false;
    start.sound.whyNot = "the replay program plays none";
    int status = 0;
    if (InitializeVideo(frame, start) != 0) {
        Log().RecordAndKeep(kLogNotify, "Error of common initialization", "Error of initialization");
        std::fprintf(stderr, "morrowmere-trace: %s\n", Log().KeptUserMessage());
        status = kStartFailed;
    } else {
        SetPlainDrawing(options.plainDrawing);
        std::FILE* pixelsFile = options.pixelsPath.empty() ? nullptr : std::fopen(options.pixelsPath.c_str(), "wb");
        SceneTrace trace(options.seed);
        JsonLine line;
        trace.Write(line, 0, 0);
        PrintLine(line);
        if (!options.pixelsPath.empty() && pixelsFile == nullptr) {
            std::fprintf(stderr, "morrowmere-trace: cannot write %s\n", options.pixelsPath.c_str());
            status = kStartFailed;
        } else {
            status = line.AllFinite() ? RunFrames(options, frame, trace, line, pixelsFile) : kNotFinite;
        }
        if (pixelsFile != nullptr && std::fclose(pixelsFile) != 0 && status == 0) {
            std::fprintf(stderr, "morrowmere-trace: cannot write %s\n", options.pixelsPath.c_str());
            status = kStartFailed;
        }
    }
    std::fflush(stdout);

    ReleaseVideo(frame);
    DestroyTraceWindow(window);
    return status;
}
