#pragma once
// Where a full-screen window that spans several monitors shows the scene: drawn once into the
// primary monitor's area, with that monitor's shape, and copied from there into every other
// monitor's area, scaled to fit with its proportions kept (the rest of that monitor stays black).
// Pure arithmetic on rectangles; the window system supplies them.

#include <cstddef>
#include <cstdint>
#include <vector>

// A rectangle in pixels. Screen rectangles have y growing downwards; drawing areas are in the
// window's OpenGL coordinates, (0, 0) at its bottom left.
struct PixelRect {
    int32_t x, y, width, height;
};

// What a window over several monitors shows, the user's choice (the stored MultiMonitor).
enum class MonitorChoice : int32_t {
    SamePicture = 0, // the primary's picture, fitted, on every other monitor (the default)
    AcrossAll = 1,   // one picture over the whole window, with the window's shape
    PrimaryOnly = 2, // the picture on the primary, the others black
};
// Every choice once, in the order of the stored values, with the caption the Windows settings
// dialog lists it by: the one list of what MultiMonitor may hold.
struct MonitorChoiceItem {
    MonitorChoice choice;
    const wchar_t* caption;
};
inline constexpr MonitorChoiceItem kMonitorChoices[] = {
    {MonitorChoice::SamePicture, L"Same picture on each"},
    {MonitorChoice::AcrossAll, L"One picture across all"},
    {MonitorChoice::PrimaryOnly, L"Primary only, others black"},
};
// The stored value as a choice, one of kMonitorChoices; false for any other value, `choice`
// untouched.
bool MonitorChoiceFromSetting(int32_t value, MonitorChoice& choice);

struct MonitorLayout {
    PixelRect scene;               // where the scene is drawn: the primary's part, or the whole window
    PixelRect primary;             // the primary monitor's part of the window
    std::vector<PixelRect> copies; // where the scene's picture goes on each other monitor
};

// `client` is the window's drawing surface and `monitors` the monitors, both in screen
// coordinates; `primary` indexes the primary monitor. False when the window shows on fewer than
// two monitors: then it is one drawing area, as a single screen or a preview is, whatever the
// choice.
bool LayOutMonitors(const PixelRect& client, const std::vector<PixelRect>& monitors, size_t primary,
                    MonitorChoice choice, MonitorLayout& layout);

// The largest rectangle of the picture's proportions inside `area`, centred in it.
PixelRect FitPicture(const PixelRect& picture, const PixelRect& area);

// The monitors that a window does not cover, for a full-screen window on one monitor of several
// (the Linux port's): every monitor but the one the window overlaps most and its mirrors, in
// their order. All monitors when the window is on none.
std::vector<PixelRect> MonitorsBesides(const std::vector<PixelRect>& monitors, const PixelRect& window);
