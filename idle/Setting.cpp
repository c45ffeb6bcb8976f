#include "idle/Setting.h"

#include "base/SettingsBackend.h"
#include "base/SettingsStore.h"
#include "base/XdgPath.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
constexpr const char* kName = "IdleSeconds";

// Whether a line of the file sets that value (names are read trimmed, as the backend reads them).
bool Sets(const std::string& line, const std::string& name)
{
    const size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line.compare(first, name.size(), name) != 0)
        return false;
    const size_t after = line.find_first_not_of(" \t", first + name.size());
    return after != std::string::npos && line[after] == '=';
}
} // namespace

int32_t StoredIdleSeconds()
{
    const SettingsStore settings;
    SettingsBackend store(settings.KeyPath(), SettingsBackend::kQuery);
    char text[kStoredTextLimit + 1];
    if (!store.IsOpen() || !store.Query(kName, text))
        return 0;
    const int32_t seconds = ParseStoredDecimal(text);
    return seconds > 0 ? seconds : 0;
}

bool StoreIdleSeconds(int32_t seconds)
{
    return StoreSettingLine(kName, seconds);
}

bool StoreSettingLine(const char* name, int32_t value)
{
    std::string folder;
    std::string path;
    if (!SettingsFilePath(SettingsStore().KeyPath(), folder, path) || !MakeFolders(folder))
        return false;
    // Every other line stays as it is; this one goes last, where a later line wins.
    std::string old;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        char chunk[4096];
        for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;)
            old.append(chunk, n);
        std::fclose(file);
    }
    std::string text;
    for (size_t start = 0; start < old.size();) {
        size_t end = old.find('\n', start);
        end = end == std::string::npos ? old.size() : end + 1;
        const std::string line = old.substr(start, end - start);
        start = end;
        if (!Sets(line, name))
            text += line;
    }
    if (!text.empty() && text.back() != '\n')
        text += '\n';
    text += std::string(name) + '=' + std::to_string(value) + '\n';
    // Written as the saver's settings are: beside the real file, then renamed over it.
    return ReplaceFile(path, text);
}
