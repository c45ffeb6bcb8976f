// The scene on every monitor that the Windows saver's window spans: drawn once into the primary
// monitor's area and copied from there, so the scene is stepped once per frame whatever the
// number of monitors. Render thread only.

#include "gfx/DrawingState.h"
#include "host/windows/MonitorMirror.h"

#include "base/RunLog.h"
#include "base/SaverFrame.h"
#include "gfx/FixedCamera.h"
#include "gfx/Framebuffers.h"
#include "gfx/GlContext.h"
#include "gfx/OpenGL.h"

#include <algorithm>
#include <string>

namespace {
struct Mirror {
    bool laidOut = false;
    bool spans = false;
    MonitorChoice choice = MonitorChoice::SamePicture;
    MonitorLayout layout;
    PictureCopy copy = PictureCopy::None;
    bool copyProven = false; // the copy has run without an error since the last layout
} g_mirror;

void Blit(const PixelRect& from, const PixelRect& to)
{
    const GLint x0 = from.x, y0 = from.y, x1 = from.x + from.width, y1 = from.y + from.height;
    const GLint u0 = to.x, v0 = to.y, u1 = to.x + to.width, v1 = to.y + to.height;
    glBlitFramebuffer(x0, y0, x1, y1, u0, v0, u1, v1, GL_COLOR_BUFFER_BIT, GL_LINEAR);
}

// Through the fragment pipeline: everything that would change the pixels on their way is off.
void CopyPixels(const PixelRect& from, const PixelRect& to)
{
    glUseProgram(0);
    glPushAttrib(GL_ENABLE_BIT | GL_PIXEL_MODE_BIT | GL_CURRENT_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_FOG);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_SCISSOR_TEST);
    glPixelZoom(static_cast<GLfloat>(to.width) / static_cast<GLfloat>(from.width),
                static_cast<GLfloat>(to.height) / static_cast<GLfloat>(from.height));
    glWindowPos2i(to.x, to.y);
    glCopyPixels(from.x, from.y, from.width, from.height, GL_COLOR);
    glPopAttrib();
    glUseProgram(Drawing().program);
}

// The stored MultiMonitor; a value that is none of the choices is said so and not used.
MonitorChoice StoredMonitorChoice(int32_t stored)
{
    MonitorChoice choice = MonitorChoice::SamePicture;
    if (!MonitorChoiceFromSetting(stored, choice)) {
        const std::string why =
            "MultiMonitor " + std::to_string(stored) + " is not 0, 1 or 2: each monitor shows the same picture";
        Log().Record(kLogError, why.c_str());
    }
    return choice;
}

void LayOut(FrameState& frame)
{
    HWND window = static_cast<HWND>(frame.window);
    RECT client = {};
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    const PixelRect surface = {origin.x, origin.y, client.right, client.bottom};
    const bool first = !g_mirror.laidOut;
    g_mirror.laidOut = true;
    // Chosen once: a copy that fails later gives way to the next and is not chosen again.
    if (first) {
        g_mirror.copy = OfferedPictureCopy();
        g_mirror.choice = StoredMonitorChoice(frame.multiMonitor);
    }
    g_mirror.copyProven = false;
    // A preview lives inside another window: it is one drawing area whatever the monitors.
    g_mirror.spans = false;
    if ((GetWindowLongW(window, GWL_STYLE) & WS_CHILD) == 0) {
        std::vector<PixelRect> monitors;
        size_t primary = 0;
        ListMonitors(monitors, primary);
        g_mirror.spans = LayOutMonitors(surface, monitors, primary, g_mirror.choice, g_mirror.layout);
    }
    // One area on the first frame is the viewport and camera the context started with.
    if (first && !g_mirror.spans)
        return;
    const PixelRect area = g_mirror.spans ? g_mirror.layout.scene : PixelRect{0, 0, surface.width, surface.height};
    MoveToArea(area.x, area.y, area.width, area.height);
}
} // namespace

void GlFitDrawingArea(FrameState& frame)
{
    if (!g_mirror.laidOut || frame.monitorsChanged.exchange(0) != 0)
        LayOut(frame);
}

void GlCopyToOtherMonitors(FrameState&)
{
    if (!g_mirror.spans || g_mirror.copy == PictureCopy::None)
        return;
    // Asking for errors can stall a driver's pipeline: only the first copies after a change are
    // checked, and a copy that fails gives way to the next one.
    const bool check = !g_mirror.copyProven;
    if (check)
        DrainGlErrors();
    for (const PixelRect& to : g_mirror.layout.copies) {
        if (g_mirror.copy == PictureCopy::Blit)
            Blit(g_mirror.layout.scene, to);
        else
            CopyPixels(g_mirror.layout.scene, to);
    }
    if (!check)
        return;
    if (glGetError() == GL_NO_ERROR) {
        g_mirror.copyProven = true;
        return;
    }
    if (g_mirror.copy == PictureCopy::Blit) {
        g_mirror.copy = PictureCopy::Pixels;
        return;
    }
    g_mirror.copy = PictureCopy::None;
    Log().Record(kLogNotify, "The other monitors stay black: the picture cannot be copied to them");
}

bool GlDrawingAreaFillsWindow(const FrameState&)
{
    return !g_mirror.spans || g_mirror.choice == MonitorChoice::AcrossAll;
}

void GlOverlayViewport(const FrameState&, int32_t viewport[4])
{
    if (!g_mirror.spans) {
        std::copy(Drawing().viewport, Drawing().viewport + 4, viewport);
        return;
    }
    const PixelRect& primary = g_mirror.layout.primary;
    viewport[0] = primary.x;
    viewport[1] = primary.y;
    viewport[2] = primary.width;
    viewport[3] = primary.height;
}
