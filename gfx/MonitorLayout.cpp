#include "gfx/MonitorLayout.h"

#include <algorithm>

namespace {
// The part of `monitor` inside the window, in the window's OpenGL coordinates; empty when none.
PixelRect AreaInWindow(const PixelRect& client, const PixelRect& monitor)
{
    const int64_t left = std::max<int64_t>(client.x, monitor.x);
    const int64_t top = std::max<int64_t>(client.y, monitor.y);
    const int64_t right = std::min<int64_t>(int64_t{client.x} + client.width, int64_t{monitor.x} + monitor.width);
    const int64_t bottom =
        std::min<int64_t>(int64_t{client.y} + client.height, int64_t{monitor.y} + monitor.height);
    if (right <= left || bottom <= top)
        return {0, 0, 0, 0};
    return {static_cast<int32_t>(left - client.x), static_cast<int32_t>(client.y + int64_t{client.height} - bottom),
            static_cast<int32_t>(right - left), static_cast<int32_t>(bottom - top)};
}
} // namespace

PixelRect FitPicture(const PixelRect& picture, const PixelRect& area)
{
    int64_t width = area.width;
    int64_t height = (int64_t{picture.height} * area.width + picture.width / 2) / picture.width;
    if (height > area.height) {
        height = area.height;
        width = (int64_t{picture.width} * area.height + picture.height / 2) / picture.height;
    }
    return {static_cast<int32_t>(area.x + (area.width - width) / 2),
            static_cast<int32_t>(area.y + (area.height - height) / 2), static_cast<int32_t>(width),
            static_cast<int32_t>(height)};
}

bool MonitorChoiceFromSetting(int32_t value, MonitorChoice& choice)
{
    for (const MonitorChoiceItem& item : kMonitorChoices) {
        if (static_cast<int32_t>(item.choice) == value) {
            choice = item.choice;
            return true;
        }
    }
    return false;
}

bool LayOutMonitors(const PixelRect& client, const std::vector<PixelRect>& monitors, size_t primary,
                    MonitorChoice choice, MonitorLayout& layout)
{
    layout.copies.clear();
    std::vector<PixelRect> areas;
    // A window off the primary monitor draws on the first monitor it covers.
    size_t scene = 0;
    for (size_t i = 0; i < monitors.size(); ++i) {
        const PixelRect area = AreaInWindow(client, monitors[i]);
        if (area.width == 0)
            continue;
        if (i == primary)
            scene = areas.size();
        areas.push_back(area);
    }
    if (areas.size() < 2)
        return false;
    layout.primary = areas[scene];
    layout.scene = choice == MonitorChoice::AcrossAll ? PixelRect{0, 0, client.width, client.height} : layout.primary;
    if (choice != MonitorChoice::SamePicture)
        return true;
    for (size_t i = 0; i < areas.size(); ++i)
        if (i != scene)
            layout.copies.push_back(FitPicture(layout.scene, areas[i]));
    return true;
}

std::vector<PixelRect> MonitorsBesides(const std::vector<PixelRect>& monitors, const PixelRect& window)
{
    // The window's monitor is the one it overlaps most; the first of equals.
    size_t own = monitors.size();
    int64_t most = 0;
    for (size_t i = 0; i < monitors.size(); ++i) {
        const PixelRect area = AreaInWindow(window, monitors[i]);
        const int64_t overlap = int64_t{area.width} * area.height;
        if (overlap > most) {
            most = overlap;
            own = i;
        }
    }
    // Monitors at one place are clones (RandR lists one monitor per output, each with its own
    // mode): they show the same part of the screen, the larger one more of it. The window's clones
    // show the window already, and a window over any of them would hide it; other clones get one
    // window together, as large as the largest of them.
    const auto clones = [](const PixelRect& a, const PixelRect& b) { return a.x == b.x && a.y == b.y; };
    std::vector<PixelRect> others;
    for (size_t i = 0; i < monitors.size(); ++i) {
        const PixelRect& monitor = monitors[i];
        if (i == own || monitor.width <= 0 || monitor.height <= 0 || (own < monitors.size() && clones(monitor, monitors[own])))
            continue;
        const auto kept = std::find_if(others.begin(), others.end(), [&](const PixelRect& one) { return clones(one, monitor); });
        if (kept == others.end()) {
            others.push_back(monitor);
        } else {
            kept->width = std::max(kept->width, monitor.width);
            kept->height = std::max(kept->height, monitor.height);
        }
    }
    return others;
}
