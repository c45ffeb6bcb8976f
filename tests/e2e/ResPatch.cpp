// Damages one embedded resource in a copy of the Linux port by patching bytes in place, so that the
// failure tests run the real program rather than a special build:
//   respatch FILE KIND ID delete             the entry names no resource any more
//   respatch FILE KIND ID size N             the resource ends after N bytes (never longer)
//   respatch FILE KIND ID write OFFSET HEX   overwrite bytes from OFFSET (from the end when negative)
// KIND is bitmap, shader or sample. Prints "done" or what failed.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {
const unsigned char kMarker[16] = {0x7f, 'M', 'o', 'r', 'r', 'o', 'w', 'R', 'e', 's', 'o', 'u', 'r', 'c', 'e', 's'};

uint32_t Read32(const unsigned char* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

void Write32(unsigned char* p, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>(value >> (8 * i));
}

int Fail(const char* why)
{
    std::printf("%s\n", why);
    return 1;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: see the comment at the top of ResPatch.cpp\n");
        return 2;
    }
    const std::string kind = argv[2];
    const uint32_t kindValue = kind == "bitmap" ? 0 : kind == "shader" ? 1 : kind == "sample" ? 2 : 99;
    const uint32_t id = static_cast<uint32_t>(std::atoi(argv[3]));
    const std::string action = argv[4];
    std::ifstream in(argv[1], std::ios::binary);
    std::vector<unsigned char> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();

    size_t block = std::string::npos;
    for (size_t i = 0; i + sizeof kMarker <= file.size(); ++i) {
        if (std::memcmp(&file[i], kMarker, sizeof kMarker) == 0) {
            if (block != std::string::npos)
                return Fail("two resource blocks");
            block = i;
        }
    }
    if (block == std::string::npos || block + 32 > file.size())
        return Fail("no resource block");
    const uint32_t count = Read32(&file[block + 16]);
    unsigned char* entry = nullptr;
    for (uint32_t i = 0; i < count && block + 32 + 16 * (i + 1) <= file.size(); ++i) {
        unsigned char* candidate = &file[block + 32 + 16 * i];
        if (Read32(candidate) == kindValue && Read32(candidate + 4) == id)
            entry = candidate;
    }
    if (entry == nullptr)
        return Fail("no such resource");
    const size_t offset = block + Read32(entry + 8);
    const uint32_t size = Read32(entry + 12);

    if (action == "delete") {
        Write32(entry + 4, 0);
    } else if (action == "size" && argc == 6) {
        const long long newSize = std::atoll(argv[5]);
        if (newSize < 0 || newSize > size)
            return Fail("a resource cannot grow");
        Write32(entry + 12, static_cast<uint32_t>(newSize));
    } else if (action == "write" && argc == 7) {
        long long at = std::atoll(argv[5]);
        const std::string hex = argv[6];
        if (at < 0)
            at += size;
        if (at < 0 || hex.size() % 2 != 0 || static_cast<unsigned long long>(at) + hex.size() / 2 > size)
            return Fail("the bytes do not fit in the resource");
        for (size_t k = 0; k < hex.size() / 2; ++k)
            file[offset + static_cast<size_t>(at) + k] =
                static_cast<unsigned char>(std::strtoul(hex.substr(2 * k, 2).c_str(), nullptr, 16));
    } else {
        std::fprintf(stderr, "usage: see the comment at the top of ResPatch.cpp\n");
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    if (!out)
        return Fail("cannot write the file");
    std::printf("done\n");
    return 0;
}
