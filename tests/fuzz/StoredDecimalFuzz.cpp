// libFuzzer target: the decimal reading of stored setting texts (registry values and settings
// file lines alike), checked against the C library's strtoll clamped to 32 bits, and every 32-bit
// value written as decimal reading back as itself.
#include "base/SettingsStore.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const char* c = text.c_str(); // ends at the first NUL, as a stored text does
    long long reference = std::strtoll(c, nullptr, 10);
    if (reference > INT32_MAX)
        reference = INT32_MAX;
    if (reference < INT32_MIN)
        reference = INT32_MIN;
    if (ParseStoredDecimal(c) != reference)
        __builtin_trap();

    if (size >= 4) {
        const int32_t value = static_cast<int32_t>(data[0] | data[1] << 8 | data[2] << 16 |
                                                   static_cast<uint32_t>(data[3]) << 24);
        if (ParseStoredDecimal(std::to_string(value).c_str()) != value)
            __builtin_trap();
    }
    return 0;
}
