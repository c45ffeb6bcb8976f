#include "base/RunLogPath.h"

#include <windows.h>

bool ProcessRunLogPath(std::string& path)
{
    // The log sits beside the saver's own module. A path that fills the buffer may have been cut
    // short, and writing to a shortened name could clobber an unrelated file, so such a run keeps
    // a silent log instead.
    constexpr DWORD kModulePathBuffer = 200;
    char module[kModulePathBuffer];
    const DWORD length = GetModuleFileNameA(nullptr, module, kModulePathBuffer);
    if (length == 0 || length >= kModulePathBuffer)
        return false;
    path.assign(module, length);
    return ModulePathToLogPath(path);
}
