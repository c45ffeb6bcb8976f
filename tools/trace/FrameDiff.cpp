// Compares two runs' pixel streams (the replay program's --pixels) frame by frame:
//   morrowmere-frame-diff A B WIDTHxHEIGHT
// prints the frames read, the frames and pixels that differ and the largest difference of each
// channel. Exit 0 when every byte is the same, 1 when one differs, 2 for a refused command line,
// a file that cannot be read, or streams of different lengths or not whole frames.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {
struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

bool ReadSize(const char* text, size_t& width, size_t& height)
{
    char* end = nullptr;
    const unsigned long w = std::strtoul(text, &end, 10);
    if (end == text || *end != 'x' || w == 0 || w > 8192)
        return false;
    const char* rest = end + 1;
    const unsigned long h = std::strtoul(rest, &end, 10);
    if (end == rest || *end != '\0' || h == 0 || h > 8192)
        return false;
    width = w;
    height = h;
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    size_t width = 0, height = 0;
    if (argc != 4 || !ReadSize(argv[3], width, height)) {
        std::fprintf(stderr, "usage: morrowmere-frame-diff A B WIDTHxHEIGHT\n");
        return 2;
    }
    File a(std::fopen(argv[1], "rb")), b(std::fopen(argv[2], "rb"));
    if (!a || !b) {
        std::fprintf(stderr, "morrowmere-frame-diff: cannot read %s\n", !a ? argv[1] : argv[2]);
        return 2;
    }
    const size_t bytes = width * height * 4;
    std::vector<unsigned char> x(bytes), y(bytes);
    unsigned long long frames = 0, framesDiffering = 0, pixelsDiffering = 0;
    int largest[4] = {0, 0, 0, 0};
    for (;;) {
        const size_t readA = std::fread(x.data(), 1, bytes, a.get());
        const size_t readB = std::fread(y.data(), 1, bytes, b.get());
        if (readA == 0 && readB == 0)
            break;
        if (readA != bytes || readB != bytes) {
            std::fprintf(stderr, "morrowmere-frame-diff: the streams end differently after %llu frames\n", frames);
            return 2;
        }
        ++frames;
        if (std::memcmp(x.data(), y.data(), bytes) == 0)
            continue;
        ++framesDiffering;
        for (size_t i = 0; i < bytes; i += 4) {
            bool differs = false;
            for (size_t c = 0; c < 4; ++c) {
                const int d = std::abs(x[i + c] - y[i + c]);
                differs = differs || d != 0;
                if (d > largest[c])
                    largest[c] = d;
            }
            pixelsDiffering += differs ? 1 : 0;
        }
    }
    std::printf("frames %llu, differing frames %llu, differing pixels %llu, largest difference red %d green %d "
                "blue %d alpha %d\n",
                frames, framesDiffering, pixelsDiffering, largest[0], largest[1], largest[2], largest[3]);
    return framesDiffering == 0 ? 0 : 1;
}
