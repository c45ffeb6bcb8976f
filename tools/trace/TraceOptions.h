#pragma once
// The replay program's command line:
//   morrowmere-trace --seed N --frames K [--elapsed E1,E2,...] [--every M] [--snapshot F:FILE.png]...
//                    [--size WxH] [--scale S] [--drawing plain|saving] [--pixels FILE]

#include <cstdint>
#include <string>
#include <vector>

struct TraceSnapshot {
    uint32_t frame; // 1..frames
    std::string path;
};

struct TraceOptions {
    uint32_t seed = 0;
    uint32_t frames = 0;
    std::vector<int32_t> elapsed{16}; // milliseconds per frame, repeated in turn
    uint32_t every = 1;               // print frame 0, every M-th frame and the last
    std::vector<TraceSnapshot> snapshots;
    int32_t width = 1024;
    int32_t height = 768;
    double scale = 1.0;        // the render scale, 0.25 to 1, as the saver's -scale
    bool plainDrawing = false; // --drawing plain: without the savings that keep the picture
    std::string pixelsPath;    // every frame's RGBA bytes, bottom row first, appended
    bool help = false; // -h or --help: the usage on stdout, nothing run
};

extern const char* const kTraceUsage;

// Reads the arguments after the program name. False with `error` set (one line, no newline) for
// an unknown option, a missing or malformed value, a value out of range, a snapshot of a frame
// that is not run, or a missing --seed or --frames.
bool ParseTraceOptions(int argc, const char* const* argv, TraceOptions& options, std::string& error);
