#include "gfx/EmbeddedResource.h"

bool FindResourceBytes(ResourceType type, int id, ResourceBytes& bytes)
{
    for (const EmbeddedResource* entry = g_embeddedResources; entry->id != 0; ++entry) {
        if (entry->type == type && entry->id == id) {
            bytes.data = entry->begin;
            bytes.size = static_cast<size_t>(entry->end - entry->begin);
            return true;
        }
    }
    return false;
}
