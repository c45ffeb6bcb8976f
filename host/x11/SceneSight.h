#pragma once
// Whether anything shows the scene, from what the X server tells of the run's windows and of the
// monitors' power, kept apart from the server so that every case can be tried without one.
//
// The windows that count are the saver's own (-window, -fullscreen) and the covers it shows on
// the other monitors: the scene is seen while one of them is mapped and not fully covered. Under
// XScreenSaver no window counts: what shows is the daemon's business, and only the monitors' power
// decides. Whatever the windows, nothing is seen while the monitors are not on.

#include <vector>

// A window's place on the screen, border included.
struct ScreenBox {
    long x, y, width, height;
};
// True when the boxes `above` together leave nothing of `own` showing.
bool BoxCovered(const ScreenBox& own, const std::vector<ScreenBox>& above);

class SceneSight {
public:
    // A window of the run starts counting (`counts`), taken as shown until the server tells
    // otherwise, or stops counting (a cover whose monitor went away).
    void Count(unsigned long window, bool counts);
    // The server's word on a window that counts or once did; any other window is left be.
    void Mapped(unsigned long window, bool mapped);
    void FullyCovered(unsigned long window, bool fully);
    // What the stacking says of a window that counts: hidden under other programs' windows above
    // it, or minimised. (A compositing manager keeps the server from telling a window that it is
    // covered: every window is drawn off screen, and each is told it is unobscured.)
    void HiddenByStacking(unsigned long window, bool hidden);
    std::vector<unsigned long> Counted() const;
    // DPMS's word on the monitors: while it is enabled, a power level other than on (standby,
    // suspend, off) shows nothing.
    void MonitorsPower(bool enabled, unsigned level);
    bool Seen() const;

private:
    struct Sight {
        unsigned long window;
        bool counts;
        bool mapped;
        bool fullyCovered;
        bool hiddenByStacking;
    };
    Sight* Find(unsigned long window);

    std::vector<Sight> windows_;
    bool monitorsOn_ = true;
};
