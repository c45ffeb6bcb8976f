#include "gfx/ResourceLookup.h"

#include <windows.h>

bool FindResourceBytes(ResourceType type, int id, ResourceBytes& bytes)
{
    const char* typeName = type == ResourceType::Bitmap ? MAKEINTRESOURCEA(2) // RT_BITMAP
                           : type == ResourceType::Shaders ? "Shaders"
                                                           : "SoundSamples";
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), typeName);
    if (!found)
        return false;
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        return false;
    bytes.data = static_cast<const uint8_t*>(data);
    bytes.size = SizeofResource(module, found);
    return true;
}
