#pragma once
// Video initialisation: everything the render thread prepares before its first frame, ending with
// the scene, and the matching release. Shared by the saver and the replay program.

#include <cstdint>

// The two choices a run's start-up takes from outside.
struct VideoStart {
    uint32_t seed;        // the random source's starting state
    int32_t swapInterval; // handed unchanged to the swap-interval call
};

// The saver's own choices: the current calendar time in whole seconds, and EnableVSync.
VideoStart SaverVideoStart();

// 0 on success, 1 on failure; what was created stays in the frame state for ReleaseVideo.
int InitializeVideo(void* window, const VideoStart& start);

// Frees the scene, the rendering context, the drawing surface and the sound manager, in that
// order; safe after a start that failed at any step.
void ReleaseVideo();
