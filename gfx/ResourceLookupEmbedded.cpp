#include "gfx/EmbeddedResource.h"
#include "gfx/ResourceLookup.h"

namespace {
constexpr size_t kHeaderSize = 32;
constexpr size_t kEntrySize = 16;

uint32_t Read32(const uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
} // namespace

bool FindResourceBytes(ResourceType type, int id, ResourceBytes& bytes)
{
    const uint8_t* block = morrowmere_resource_block;
    const size_t blockSize = static_cast<size_t>(morrowmere_resource_block_end - block);
    if (blockSize < kHeaderSize)
        return false;
    const uint32_t count = Read32(block + 16);
    if (count > (blockSize - kHeaderSize) / kEntrySize)
        return false;
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* entry = block + kHeaderSize + i * kEntrySize;
        if (Read32(entry) != static_cast<uint32_t>(type) || Read32(entry + 4) != static_cast<uint32_t>(id))
            continue;
        const uint32_t offset = Read32(entry + 8);
        const uint32_t size = Read32(entry + 12);
        if (offset > blockSize || size > blockSize - offset)
            return false;
        bytes.data = block + offset;
        bytes.size = size;
        return true;
    }
    return false;
}
