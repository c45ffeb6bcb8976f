#pragma once
// Video initialisation: everything the render thread prepares before its first frame, ending with
// the scene. 0 on success, 1 on failure; what was created stays in the frame state for teardown.

int InitializeVideo(void* window);
