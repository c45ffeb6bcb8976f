#include "host/x11/SceneSight.h"

#include <X11/extensions/dpmsconst.h>

#include <algorithm>

void SceneSight::Count(unsigned long window, bool counts)
{
    Sight* sight = Find(window);
    if (sight == nullptr) {
        windows_.push_back({window, false, true, false, false});
        sight = &windows_.back();
    }
    // A window that starts counting has just been mapped and raised: shown, until told otherwise.
    if (counts && !sight->counts) {
        sight->mapped = true;
        sight->fullyCovered = false;
    }
    sight->counts = counts;
}

void SceneSight::Mapped(unsigned long window, bool mapped)
{
    if (Sight* sight = Find(window)) {
        sight->mapped = mapped;
        // A window mapped again is told how covered it is anew; until then it is taken as shown.
        if (mapped)
            sight->fullyCovered = false;
    }
}

void SceneSight::FullyCovered(unsigned long window, bool fully)
{
    if (Sight* sight = Find(window))
        sight->fullyCovered = fully;
}

void SceneSight::HiddenByStacking(unsigned long window, bool hidden)
{
    if (Sight* sight = Find(window))
        sight->hiddenByStacking = hidden;
}

std::vector<unsigned long> SceneSight::Counted() const
{
    std::vector<unsigned long> counted;
    for (const Sight& sight : windows_)
        if (sight.counts)
            counted.push_back(sight.window);
    return counted;
}

void SceneSight::MonitorsPower(bool enabled, unsigned level)
{
    monitorsOn_ = !enabled || level == DPMSModeOn;
}

bool SceneSight::Seen() const
{
    if (!monitorsOn_)
        return false;
    bool anyCounts = false;
    for (const Sight& sight : windows_) {
        if (!sight.counts)
            continue;
        anyCounts = true;
        if (sight.mapped && !sight.fullyCovered && !sight.hiddenByStacking)
            return true;
    }
    return !anyCounts;
}

SceneSight::Sight* SceneSight::Find(unsigned long window)
{
    for (Sight& sight : windows_)
        if (sight.window == window)
            return &sight;
    return nullptr;
}

bool BoxCovered(const ScreenBox& own, const std::vector<ScreenBox>& above)
{
    // What still shows, as boxes: each box above cuts every one it overlaps into up to four.
    std::vector<ScreenBox> showing{own};
    for (const ScreenBox& cover : above) {
        std::vector<ScreenBox> left;
        for (const ScreenBox& box : showing) {
            const long coverRight = cover.x + cover.width;
            const long coverBottom = cover.y + cover.height;
            const long right = box.x + box.width;
            const long bottom = box.y + box.height;
            if (cover.x >= right || coverRight <= box.x || cover.y >= bottom || coverBottom <= box.y) {
                left.push_back(box);
                continue;
            }
            const long top = std::max(box.y, cover.y);
            const long low = std::min(bottom, coverBottom);
            if (cover.y > box.y)
                left.push_back({box.x, box.y, box.width, cover.y - box.y});
            if (coverBottom < bottom)
                left.push_back({box.x, coverBottom, box.width, bottom - coverBottom});
            if (cover.x > box.x)
                left.push_back({box.x, top, cover.x - box.x, low - top});
            if (coverRight < right)
                left.push_back({coverRight, top, right - coverRight, low - top});
        }
        showing.swap(left);
        if (showing.empty())
            return true;
    }
    return showing.empty();
}
