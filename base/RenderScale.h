#pragma once
// The render scale as the user gives it: the scene's resolution as a fraction of the window's,
// from 0.25 to 1.

#include <cstdint>

// The stored RenderScale: the percentage of the window's resolution the scene is drawn at before it
// is scaled up to the window. 100, full resolution, is the default.
const int32_t kRenderScaleLeastPercent = 25;
const int32_t kRenderScaleFullPercent = 100;

// percent / 100 and true for a RenderScale of 25 to 100; false for any other, `scale` untouched: a
// value written by hand outside that range is refused rather than drawn at.
bool RenderScaleFromPercent(int32_t percent, double& scale);

// Plain decimal notation, as XScreenSaver's sliders write it ("0.5", "1", ".75", "0.500"): no
// sign, no exponent, at most six decimals, from 0.25 to 1. False for anything else, `scale`
// untouched.
bool ParseRenderScale(const char* text, double& scale);
