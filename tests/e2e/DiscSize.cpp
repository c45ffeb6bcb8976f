// Measures the planet's disc in a picture: reads a binary PPM (P6, 8 bits) on standard input and
// grows the disc from the pixel (X, Y) (counted from the top left) over the 4-connected pixels
// whose green exceeds their red by 7 or more, as the planet's blues do and the dusk sky around it
// does not. Prints "WIDTH HEIGHT LEFT TOP BLACK": the disc's extent and its top-left pixel, and how
// many pixels of the whole picture are exactly black (the clear colour). With X0 Y0 X1 Y1 after
// X Y, only that part (X1, Y1 excluded) is searched and counted. Exit 1 when the picture cannot be
// read or no disc pixel is near (X, Y).
//   convert shot.png ppm:- | discsize X Y [X0 Y0 X1 Y1]

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {
int Number(FILE* in)
{
    int c = std::fgetc(in);
    while (c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '#') {
        if (c == '#')
            while (c != '\n' && c != EOF)
                c = std::fgetc(in);
        c = std::fgetc(in);
    }
    int value = 0;
    for (; c >= '0' && c <= '9'; c = std::fgetc(in))
        value = value * 10 + (c - '0');
    return value;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 7) {
        std::fputs("usage: discsize X Y [X0 Y0 X1 Y1] < picture.ppm\n", stderr);
        return 2;
    }
    if (std::fgetc(stdin) != 'P' || std::fgetc(stdin) != '6') {
        std::fputs("discsize: not a binary PPM\n", stderr);
        return 1;
    }
    const int width = Number(stdin), height = Number(stdin), most = Number(stdin);
    if (width <= 0 || height <= 0 || most != 255) {
        std::fputs("discsize: not an 8-bit PPM\n", stderr);
        return 1;
    }
    std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
    if (std::fread(rgb.data(), 1, rgb.size(), stdin) != rgb.size()) {
        std::fputs("discsize: the picture is cut short\n", stderr);
        return 1;
    }
    int x0 = 0, y0 = 0, x1 = width, y1 = height;
    if (argc == 7) {
        x0 = std::atoi(argv[3]);
        y0 = std::atoi(argv[4]);
        x1 = std::atoi(argv[5]);
        y1 = std::atoi(argv[6]);
        if (x0 < 0 || y0 < 0 || x1 > width || y1 > height || x0 >= x1 || y0 >= y1) {
            std::fputs("discsize: the part lies outside the picture\n", stderr);
            return 2;
        }
    }
    auto at = [&](int x, int y) { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; };
    auto disc = [&](int x, int y) { return at(x, y)[1] >= at(x, y)[0] + 7; };

    long black = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (at(x, y)[0] == 0 && at(x, y)[1] == 0 && at(x, y)[2] == 0)
                ++black;

    // The nearest disc pixel to (X, Y) within 5 pixels: the given centre may fall on a spot.
    const int cx = std::atoi(argv[1]), cy = std::atoi(argv[2]);
    int sx = -1, sy = -1;
    for (int r = 0; r <= 5 && sx < 0; ++r)
        for (int y = cy - r; y <= cy + r && sx < 0; ++y)
            for (int x = cx - r; x <= cx + r; ++x)
                if (x >= x0 && x < x1 && y >= y0 && y < y1 && disc(x, y)) {
                    sx = x;
                    sy = y;
                    break;
                }
    if (sx < 0) {
        std::fputs("discsize: no disc pixel near the given centre\n", stderr);
        return 1;
    }
    std::vector<unsigned char> seen(static_cast<size_t>(width) * height, 0);
    std::vector<std::pair<int, int>> todo{{sx, sy}};
    seen[static_cast<size_t>(sy) * width + sx] = 1;
    int left = sx, right = sx, top = sy, bottom = sy;
    while (!todo.empty()) {
        const auto [x, y] = todo.back();
        todo.pop_back();
        left = x < left ? x : left;
        right = x > right ? x : right;
        top = y < top ? y : top;
        bottom = y > bottom ? y : bottom;
        const int next[4][2] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
        for (const auto& n : next) {
            if (n[0] < x0 || n[0] >= x1 || n[1] < y0 || n[1] >= y1)
                continue;
            unsigned char& mark = seen[static_cast<size_t>(n[1]) * width + n[0]];
            if (mark || !disc(n[0], n[1]))
                continue;
            mark = 1;
            todo.push_back({n[0], n[1]});
        }
    }
    std::printf("%d %d %d %d %ld\n", right - left + 1, bottom - top + 1, left, top, black);
    return 0;
}
