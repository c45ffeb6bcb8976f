#include "tools/trace/TraceOptions.h"

#include "base/RenderScale.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

const char* const kTraceUsage = "usage: morrowmere-trace --seed N --frames K [--elapsed E1,E2,...] [--every M] "
                                "[--snapshot F:FILE.png]... [--size WxH] "
                                "[--scale S] [--drawing plain|saving] [--pixels FILE]";

namespace {
constexpr int32_t kLargestSide = 8192;

// A whole decimal number from `text` up to `end` (an optional minus sign, then at most ten
// digits; no spaces, no plus, no other base), within [low, high].
bool ReadWhole(const char* text, const char* end, int64_t low, int64_t high, int64_t& value)
{
    const char* digits = text;
    if (digits < end && *digits == '-')
        ++digits;
    if (digits == end || end - digits > 10)
        return false;
    for (const char* c = digits; c < end; ++c) {
        if (*c < '0' || *c > '9')
            return false;
    }
    const std::string copy(text, end);
    value = std::strtoll(copy.c_str(), nullptr, 10);
    return value >= low && value <= high;
}

bool ReadWhole(const char* text, int64_t low, int64_t high, int64_t& value)
{
    return ReadWhole(text, text + std::strlen(text), low, high, value);
}

bool ReadElapsedList(const char* text, std::vector<int32_t>& list)
{
    list.clear();
    const char* start = text;
    for (;;) {
        const char* comma = std::strchr(start, ',');
        const char* end = comma ? comma : start + std::strlen(start);
        int64_t value = 0;
        if (!ReadWhole(start, end, INT32_MIN, INT32_MAX, value))
            return false;
        list.push_back(static_cast<int32_t>(value));
        if (comma == nullptr)
            return true;
        start = comma + 1;
    }
}

bool ReadSnapshot(const char* text, TraceSnapshot& snapshot)
{
    const char* colon = std::strchr(text, ':');
    int64_t frame = 0;
    if (colon == nullptr || colon[1] == '\0' || !ReadWhole(text, colon, 1, UINT32_MAX, frame))
        return false;
    snapshot.frame = static_cast<uint32_t>(frame);
    snapshot.path = colon + 1;
    return true;
}

bool ReadSize(const char* text, int32_t& width, int32_t& height)
{
    const char* cross = std::strchr(text, 'x');
    int64_t w = 0, h = 0;
    if (cross == nullptr || !ReadWhole(text, cross, 1, kLargestSide, w) || !ReadWhole(cross + 1, 1, kLargestSide, h))
        return false;
    width = static_cast<int32_t>(w);
    height = static_cast<int32_t>(h);
    return true;
}
} // namespace

bool ParseTraceOptions(int argc, const char* const* argv, TraceOptions& options, std::string& error)
{
    bool seedGiven = false, framesGiven = false;
    for (int i = 0; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "-h" || name == "--help") {
            options.help = true;
            return true;
        }
        if (i + 1 >= argc) {
            error = name.compare(0, 2, "--") == 0 ? name + " needs a value" : "unknown argument " + name;
            return false;
        }
        const char* value = argv[++i];
        int64_t number = 0;
        if (name == "--seed") {
            if (!ReadWhole(value, 0, UINT32_MAX, number)) {
                error = "--seed needs a whole number from 0 to 4294967295";
                return false;
            }
            options.seed = static_cast<uint32_t>(number);
            seedGiven = true;
        } else if (name == "--frames") {
            if (!ReadWhole(value, 0, UINT32_MAX, number)) {
                error = "--frames needs a whole number from 0 to 4294967295";
                return false;
            }
            options.frames = static_cast<uint32_t>(number);
            framesGiven = true;
        } else if (name == "--elapsed") {
            if (!ReadElapsedList(value, options.elapsed)) {
                error = "--elapsed needs whole milliseconds separated by commas, each a signed 32-bit value";
                return false;
            }
        } else if (name == "--every") {
            if (!ReadWhole(value, 1, UINT32_MAX, number)) {
                error = "--every needs a whole number from 1 to 4294967295";
                return false;
            }
            options.every = static_cast<uint32_t>(number);
        } else if (name == "--snapshot") {
            TraceSnapshot snapshot;
            if (!ReadSnapshot(value, snapshot)) {
                error = "--snapshot needs FRAME:FILE with a frame of 1 or more";
                return false;
            }
            options.snapshots.push_back(snapshot);
        } else if (name == "--size") {
            if (!ReadSize(value, options.width, options.height)) {
                error = "--size needs WIDTHxHEIGHT, each from 1 to 8192";
                return false;
            }
        } else if (name == "--scale") {
            if (!ParseRenderScale(value, options.scale)) {
                error = "--scale needs a number from 0.25 to 1";
                return false;
            }
        } else if (name == "--drawing") {
            if (std::strcmp(value, "plain") != 0 && std::strcmp(value, "saving") != 0) {
                error = "--drawing needs plain or saving";
                return false;
            }
            options.plainDrawing = std::strcmp(value, "plain") == 0;
        } else if (name == "--pixels") {
            if (*value == '\0') {
                error = "--pixels needs a file";
                return false;
            }
            options.pixelsPath = value;
        } else {
            error = "unknown argument " + name;
            return false;
        }
    }
    if (!seedGiven || !framesGiven) {
        error = "--seed and --frames are needed";
        return false;
    }
    for (const TraceSnapshot& snapshot : options.snapshots) {
        if (snapshot.frame > options.frames) {
            error = "--snapshot of frame " + std::to_string(snapshot.frame) + " after the last frame run";
            return false;
        }
    }
    return true;
}
