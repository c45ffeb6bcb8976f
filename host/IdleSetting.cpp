#include "host/IdleSetting.h"

#include "base/SettingsBackend.h"
#include "base/SettingsStore.h"
#include "base/XdgPath.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {
constexpr const char* kName = "IdleSeconds";

// The file that the settings backend reads: $XDG_CONFIG_HOME/<key path less "Software\">.conf.
bool SettingsFile(std::string& folder, std::string& path)
{
    if (!XdgFolder("XDG_CONFIG_HOME", ".config", folder))
        return false;
    std::string relative = SettingsStore().KeyPath();
    const std::string top = "Software\\";
    if (relative.compare(0, top.size(), top) == 0)
        relative.erase(0, top.size());
    for (char& c : relative) {
        if (c == '\\')
            c = '/';
    }
    path = folder + '/' + relative + ".conf";
    folder = path.substr(0, path.rfind('/'));
    return true;
}

// Whether a line of the file sets our value (names are read trimmed, as the backend reads them).
bool SetsOurs(const std::string& line)
{
    const size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line.compare(first, std::string(kName).size(), kName) != 0)
        return false;
    const size_t after = line.find_first_not_of(" \t", first + std::string(kName).size());
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
    std::string folder;
    std::string path;
    if (!SettingsFile(folder, path) || !MakeFolders(folder))
        return false;
    // The saver's own lines stay as they are; ours goes last, where a later line wins.
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
        if (!SetsOurs(line))
            text += line;
    }
    if (!text.empty() && text.back() != '\n')
        text += '\n';
    text += std::string(kName) + '=' + std::to_string(seconds) + '\n';
    // Written beside the real file and renamed over it, as the saver's settings are.
    std::string temporary = path + ".XXXXXX";
    const int fd = mkstemp(&temporary[0]);
    if (fd < 0)
        return false;
    bool written = true;
    for (size_t done = 0; written && done < text.size();) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        written = n > 0;
        if (written)
            done += static_cast<size_t>(n);
    }
    written = fsync(fd) == 0 && written;
    written = close(fd) == 0 && written;
    if (written && std::rename(temporary.c_str(), path.c_str()) == 0)
        return true;
    unlink(temporary.c_str());
    return false;
}
