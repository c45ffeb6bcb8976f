#pragma once
// Linux: one entry of the table of embedded files that the build generates from the resource
// script. The table ends with an entry of id 0.

#include "gfx/ResourceLookup.h"

struct EmbeddedResource {
    ResourceType type;
    int id;
    const uint8_t* begin;
    const uint8_t* end;
};

extern const EmbeddedResource g_embeddedResources[];
