#pragma once
// The Windows saver's full-screen window on several monitors (see MonitorLayout.h). Exposed for
// the test builds that stand in for the monitor list and for the copy a driver offers.

#include "gfx/MonitorLayout.h"

#include <cstddef>
#include <vector>

// The system's monitors in virtual-screen coordinates, and which one is the primary.
void ListMonitors(std::vector<PixelRect>& monitors, size_t& primary);

enum class PictureCopy { Blit, Pixels, None };
// The best copy the current context offers: the framebuffer blit, else the plain pixel copy.
PictureCopy OfferedPictureCopy();
