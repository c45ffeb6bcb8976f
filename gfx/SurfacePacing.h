#pragma once
// When to show a frame on a compositor that paces every surface with frame callbacks: which of the
// run's surfaces sets the scene's pace (its clock), whether a frame is due, and how long to wait
// otherwise. Outputs refresh out of phase, so the scene follows one clock and is drawn once per
// refresh of it; every other surface that wants a frame then gets that picture. A compositor asks
// for no frames of a surface it does not show (another workspace, an output off or gone): a
// surface whose callback is late is not a clock, and another one takes over.
//
// Plain bookkeeping in milliseconds of a monotonic clock, kept apart from EGL and the connection so
// that every case can be tried without a compositor.

#include <cstddef>
#include <cstdint>

// A callback later than this after its frame was shown: the surface is taken as hidden.
constexpr uint32_t kHiddenMs = 250;
// Nothing shows the scene after this long without a sign that any surface is shown (see
// SceneUnseen). Longer than a busy compositor holds a shown surface's frames back, and than the
// one callback a second that some send to hidden surfaces, which alone must not count as shown.
constexpr uint32_t kUnseenMs = 2000;
// After a picture that could not be shown, the surface is tried again this much later.
constexpr uint32_t kRetryMs = 1000;

struct SurfacePace {
    bool wanted = true;   // the compositor asked for a frame (or none was shown yet)
    bool asked = false;   // shown, and its frame callback has not come yet
    bool slow = false;    // its last callback came later than kHiddenMs after its frame
    bool broken = false;  // it cannot be drawn on: it never wants a frame again
    uint32_t shownAt = 0;
    uint32_t retryAt = 0; // after a failed show: when it wants a frame again
    bool retrying = false;
    bool answeredOnce = false;
    uint32_t answeredAt = 0; // its last callback
    bool presentedOnce = false;
    uint32_t presentedAt = 0; // the compositor's last word that a frame of it reached the screen

    // Shown, with a frame callback asked for in the same commit.
    void Shown(uint32_t now);
    // Its frame callback came.
    void Answered(uint32_t now);
    // The compositor says a frame of it was presented on an output.
    void Presented(uint32_t now);
    // The picture could not be shown: no callback will come, so it is tried again kRetryMs later.
    void ShowFailed(uint32_t now);
    void Break() { broken = true; }
    // Whether a frame is to be shown on it now.
    bool Wants(uint32_t now) const;
};

// The clock among `count` surfaces, the scene's own window first: the first one that is neither
// broken, slow nor retrying and either wants a frame or has waited at most kHiddenMs for its
// callback. -1 when there is none.
int PaceClock(const SurfacePace* const* surfaces, size_t count, uint32_t now);

// Whether a frame is due now: the clock wants one, or without a clock any surface does. When not,
// `waitMs` says how long until the answer can change with time alone (a callback turning late, a
// retry coming due), or -1 when only an event (a callback, an output change) can change it.
bool FrameDue(const SurfacePace* const* surfaces, size_t count, uint32_t now, int& waitMs);

// Whether nothing shows the scene: no surface has been shown for kUnseenMs, counted from `since`
// (the start of the run) where none has been yet. Else `waitMs` is how long until it could be so.
// Once the compositor has told of a frame presented, only that counts as shown: a callback comes
// also for a surface that is hidden but throttled, and late for one that is shown on a compositor
// that is merely slow. Before (some compositors offer to tell and never do), a frame callback is
// the only sign there is. Shown again, likewise, takes a frame presented, or a callback.
bool SceneUnseen(const SurfacePace* const* surfaces, size_t count, uint32_t since, uint32_t now, int& waitMs);
