#include "gfx/SurfacePacing.h"

namespace {
// Time from `from` to `to` on the wrapping 32-bit tick.
int32_t Since(uint32_t from, uint32_t to)
{
    return static_cast<int32_t>(to - from);
}

bool MayBeClock(const SurfacePace& surface, uint32_t now)
{
    if (surface.broken || surface.slow || surface.retrying)
        return false;
    return surface.wanted || !surface.asked || Since(surface.shownAt, now) <= static_cast<int32_t>(kHiddenMs);
}
} // namespace

void SurfacePace::Shown(uint32_t now)
{
    wanted = false;
    asked = true;
    retrying = false;
    shownAt = now;
}

void SurfacePace::Answered(uint32_t now)
{
    slow = asked && Since(shownAt, now) > static_cast<int32_t>(kHiddenMs);
    asked = false;
    wanted = true;
    answeredOnce = true;
    answeredAt = now;
}

void SurfacePace::Presented(uint32_t now)
{
    presentedOnce = true;
    presentedAt = now;
}

void SurfacePace::ShowFailed(uint32_t now)
{
    wanted = false;
    asked = false;
    retrying = true;
    retryAt = now + kRetryMs;
}

bool SurfacePace::Wants(uint32_t now) const
{
    if (broken)
        return false;
    return wanted || (retrying && Since(retryAt, now) >= 0);
}

int PaceClock(const SurfacePace* const* surfaces, size_t count, uint32_t now)
{
    for (size_t i = 0; i < count; ++i)
        if (MayBeClock(*surfaces[i], now))
            return static_cast<int>(i);
    return -1;
}

bool FrameDue(const SurfacePace* const* surfaces, size_t count, uint32_t now, int& waitMs)
{
    waitMs = -1;
    const int clock = PaceClock(surfaces, count, now);
    if (clock >= 0 && surfaces[clock]->Wants(now))
        return true;
    bool any = false;
    for (size_t i = 0; i < count; ++i) {
        const SurfacePace& surface = *surfaces[i];
        if (clock < 0 && surface.Wants(now))
            any = true;
        // What time alone changes: the clock's callback turning late, a retry coming due.
        int32_t due = -1;
        if (static_cast<int>(i) == clock && surface.asked)
            due = Since(now, surface.shownAt + kHiddenMs + 1);
        else if (surface.retrying && !surface.broken)
            due = Since(now, surface.retryAt);
        if (due >= 0 && (waitMs < 0 || due < waitMs))
            waitMs = due;
    }
    return any;
}

bool SceneUnseen(const SurfacePace* const* surfaces, size_t count, uint32_t since, uint32_t now, int& waitMs)
{
    bool presentation = false;
    for (size_t i = 0; i < count; ++i)
        presentation = presentation || surfaces[i]->presentedOnce;
    uint32_t last = since;
    for (size_t i = 0; i < count; ++i) {
        const SurfacePace& surface = *surfaces[i];
        const bool shown = presentation ? surface.presentedOnce : surface.answeredOnce;
        const uint32_t at = presentation ? surface.presentedAt : surface.answeredAt;
        if (shown && Since(last, at) > 0)
            last = at;
    }
    const int32_t left = Since(now, last + kUnseenMs);
    waitMs = left > 0 ? left : 0;
    return left <= 0;
}
