#include "host/x11/SceneSight.h"

#include <X11/extensions/dpmsconst.h>

void SceneSight::Count(unsigned long window, bool counts)
{
    Sight* sight = Find(window);
    if (sight == nullptr) {
        windows_.push_back({window, false, true, false});
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
        if (sight.mapped && !sight.fullyCovered)
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
