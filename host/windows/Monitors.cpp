// What the system says about its monitors and what the context offers to copy pictures with;
// apart from their use (MonitorMirror.cpp) so that test builds can stand in for them.

#include "host/windows/MonitorMirror.h"

#include "gfx/Framebuffers.h"

#include <utility>

namespace {
BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data)
{
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info))
        return TRUE;
    auto* list = reinterpret_cast<std::pair<std::vector<PixelRect>*, size_t*>*>(data);
    const RECT& r = info.rcMonitor;
    if (info.dwFlags & MONITORINFOF_PRIMARY)
        *list->second = list->first->size();
    list->first->push_back({r.left, r.top, r.right - r.left, r.bottom - r.top});
    return TRUE;
}
} // namespace

void ListMonitors(std::vector<PixelRect>& monitors, size_t& primary)
{
    std::pair<std::vector<PixelRect>*, size_t*> list(&monitors, &primary);
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&list));
}

PictureCopy OfferedPictureCopy()
{
    if (FramebuffersOffered())
        return PictureCopy::Blit;
    return PictureCopy::Pixels;
}
