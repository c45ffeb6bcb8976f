#pragma once
// The settings window's live preview: the saver's own frames, drawn offscreen and handed over a
// pipe, the same on X11 and on Wayland (where no window can be put inside another).

#include <cstdint>

// The frame's window, for the preview's context backend: the picture's size, and the two ends of
// the pipes to the settings window.
struct PreviewTarget {
    int32_t width;
    int32_t height;
    int asks;   // one byte for each frame wanted; its end ends the preview
    int frames; // each frame's RGBA rows, the top one first
};

// The smallest and the largest side that the preview draws.
constexpr int32_t kPreviewSideMin = 16;
constexpr int32_t kPreviewSideMax = 2048;

// "WIDTHxHEIGHT", each side a decimal from kPreviewSideMin to kPreviewSideMax, nothing else.
bool ParsePreviewSize(const char* text, int32_t& width, int32_t& height);

// Whether the render thread's start failed (its reason then went to stderr).
bool PreviewStartFailed();
