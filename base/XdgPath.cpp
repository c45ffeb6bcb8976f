#include "base/XdgPath.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>

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
