// Test builds only (linked with --wrap for ListMonitors and OfferedPictureCopy): this Wine sees one
// monitor whatever the display's layout, so the monitors come from the file that
// MORROWMERE_TEST_MONITORS names, read at every call: "X,Y,W,H;X,Y,W,H..." in virtual-screen
// coordinates, the first of them the primary (a test rewrites it and posts WM_DISPLAYCHANGE).
// MORROWMERE_TEST_COPY=pixels hides the framebuffer blit, as a driver without it does;
// MORROWMERE_TEST_COPY=broken also leaves the context no buffer to read, so the pixel copy fails
// as well.

#include "host/windows/MonitorMirror.h"
#include "gfx/OpenGL.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

extern "C" PictureCopy __real__Z18OfferedPictureCopyv();

extern "C" void __wrap__Z12ListMonitorsRSt6vectorI9PixelRectSaIS0_EERy(std::vector<PixelRect>& monitors,
                                                                       size_t& primary)
{
    primary = 0;
    const char* path = std::getenv("MORROWMERE_TEST_MONITORS");
    FILE* file = path != nullptr ? std::fopen(path, "r") : nullptr;
    if (file == nullptr)
        return;
    PixelRect monitor;
    while (std::fscanf(file, "%d,%d,%d,%d;", &monitor.x, &monitor.y, &monitor.width, &monitor.height) == 4)
        monitors.push_back(monitor);
    std::fclose(file);
}

extern "C" PictureCopy __wrap__Z18OfferedPictureCopyv()
{
    const char* copy = std::getenv("MORROWMERE_TEST_COPY");
    if (copy == nullptr)
        return __real__Z18OfferedPictureCopyv();
    if (std::strcmp(copy, "broken") == 0)
        glReadBuffer(GL_NONE);
    return PictureCopy::Pixels;
}
