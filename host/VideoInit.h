#pragma once
// Video initialisation: everything the render thread prepares before its first frame, ending with
// the scene, and the matching release. Shared by the saver and the replay program.

#include "sound/SoundManager.h"

#include <cstdint>

struct FrameState;

// The choices a run's start-up takes from outside.
struct VideoStart {
    uint32_t seed;        // the random source's starting state
    int32_t swapInterval; // handed unchanged to the swap-interval call
    SoundChoice sound;    // whether the sound manager opens an output device
};

// The saver's own choices: the current calendar time in whole seconds, EnableVSync, and the sound
// that its host chose.
VideoStart SaverVideoStart(const SoundChoice& sound);
// The sound as the stored setting EnableSound says: anything but 0 plays.
SoundChoice StoredSoundChoice();

// 0 on success, 1 on failure. Draws into the frame's window; what was created stays in the frame
// for ReleaseVideo.
int InitializeVideo(FrameState& frame, const VideoStart& start);

// Frees the scene, the rendering context, the drawing surface and the sound manager, in that
// order; safe after a start that failed at any step.
void ReleaseVideo(FrameState& frame);
