// Bench builds only (linked with --wrap for GlSwapBuffers): writes, once, the wall-clock time at
// which the first frame was swapped, in nanoseconds since 1970, to the file that
// MORROWMERE_FIRST_FRAME_FILE names, so that a script can subtract the moment it started the
// process.

#include <chrono>
#include <cstdio>
#include <cstdlib>

struct FrameState;

extern "C" void __real__Z13GlSwapBuffersR10FrameState(FrameState& frame);

extern "C" void __wrap__Z13GlSwapBuffersR10FrameState(FrameState& frame)
{
    __real__Z13GlSwapBuffersR10FrameState(frame);
    static bool written = false;
    const char* path = std::getenv("MORROWMERE_FIRST_FRAME_FILE");
    if (written || path == nullptr)
        return;
    written = true;
    const long long now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                              std::chrono::system_clock::now().time_since_epoch())
                              .count();
    if (FILE* file = std::fopen(path, "w")) {
        std::fprintf(file, "%lld\n", now);
        std::fclose(file);
    }
}
