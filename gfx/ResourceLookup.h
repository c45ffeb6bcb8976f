#pragma once
// The one way to the data embedded in the saver's executable: by type and integer id. On Windows
// these are the module's resources; on Linux a table compiled in from the same files.
//
// Threads: any; the bytes are read-only and live as long as the process.

#include <cstddef>
#include <cstdint>

enum class ResourceType {
    Bitmap,       // a device-independent bitmap without its file header (standard bitmap resource)
    Shaders,      // GLSL text with CRLF line ends and one trailing NUL
    SoundSamples, // raw 16-bit mono little-endian PCM at 44100 Hz
};

struct ResourceBytes {
    const uint8_t* data = nullptr;
    size_t size = 0;
};

// True and the bytes when the executable holds a resource of that type and id; false, with `bytes`
// left untouched, when it does not.
bool FindResourceBytes(ResourceType type, int id, ResourceBytes& bytes);
