#include "base/RunLogPath.h"

#include "base/XdgPath.h"

bool ProcessRunLogPath(std::string& path)
{
    std::string folder;
    if (!XdgFolder("XDG_STATE_HOME", ".local/state", folder))
        return false;
    folder += "/morrowmere";
    if (!MakeFolders(folder))
        return false;
    path = folder + "/morrowmere.log";
    return true;
}
