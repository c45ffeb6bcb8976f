#pragma once
// Linux: the block of embedded files that the build generates from the resource script, in the
// program's read-only data. Layout, all numbers 32-bit little-endian:
//   16 bytes   marker: 0x7f and "MorrowResources"
//   4 words    the number of entries, then three zero words
//   per entry  kind (the ResourceType's value), id, offset from the block's start, size
//   then       the files' bytes, each aligned to 16
// The reader trusts nothing in it: a count or an offset and size that do not fit inside the block
// name no resource.

#include <cstdint>

extern "C" const uint8_t morrowmere_resource_block[];
extern "C" const uint8_t morrowmere_resource_block_end[];
