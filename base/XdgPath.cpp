#include "base/XdgPath.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

bool XdgFolder(const char* variable, const char* fallbackUnderHome, std::string& folder)
{
    // Relative values are ignored, as the XDG base-directory rules require.
    const char* value = std::getenv(variable);
    if (value && value[0] == '/') {
        folder = value;
        return true;
    }
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/')
        return false;
    folder = home;
    folder += '/';
    folder += fallbackUnderHome;
    return true;
}

bool MakeFolders(const std::string& folder)
{
    for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            break;
    }
    struct stat info;
    return stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool SettingsFilePath(const std::string& keyPath, std::string& folder, std::string& path)
{
    if (!XdgFolder("XDG_CONFIG_HOME", ".config", folder))
        return false;
    std::string relative = keyPath;
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

bool ReplaceFile(const std::string& path, const std::string& text)
{
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
