// libFuzzer target: the Linux port's options, the input split at NUL bytes into arguments (the
// first byte chooses whether XSCREENSAVER_WINDOW is set, from the last argument). Accepted options
// must be in range and must read back the same when written out as a command line.
#include "host/linux/HackOptions.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {
HackOptions Read(const std::vector<std::string>& arguments, const char* screensaverWindow)
{
    std::vector<const char*> argv{"morrowmere"};
    for (const std::string& argument : arguments)
        argv.push_back(argument.c_str());
    return ReadHackOptions(static_cast<int>(argv.size()), argv.data(), screensaverWindow);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    std::vector<std::string> arguments(1);
    for (size_t i = 1; i < size; ++i) {
        if (data[i] == '\0')
            arguments.emplace_back();
        else
            arguments.back().push_back(static_cast<char>(data[i]));
    }
    std::string environment;
    const bool withEnvironment = (data[0] & 1) != 0 && arguments.size() > 1;
    if (withEnvironment) {
        environment = arguments.back();
        arguments.pop_back();
    }
    const HackOptions options = Read(arguments, withEnvironment ? environment.c_str() : nullptr);
    if (!options.error.empty() || options.help)
        return 0;
    if (options.delayMicroseconds > 10000000u)
        __builtin_trap();
    if (options.target == HackTarget::ExistingWindow && options.windowId == 0)
        __builtin_trap();

    // Written out again, without the environment, the options read back as they were.
    std::vector<std::string> again{"-delay", std::to_string(options.delayMicroseconds),
                                   options.sound ? "-sound" : "-no-sound"};
    if (options.fps)
        again.push_back("-fps");
    if (options.target == HackTarget::Root)
        again.push_back("-root");
    if (options.target == HackTarget::OwnWindow)
        again.push_back("-window");
    if (options.target == HackTarget::FullScreen)
        again.push_back("-fullscreen");
    if (options.target == HackTarget::ExistingWindow) {
        again.push_back("-window-id");
        again.push_back(std::to_string(options.windowId));
    }
    const HackOptions read = Read(again, nullptr);
    // The window id means something only for an existing window ("-window-id 5 -window" leaves it).
    const bool sameWindow = options.target != HackTarget::ExistingWindow || read.windowId == options.windowId;
    if (!read.error.empty() || read.target != options.target || !sameWindow || read.fps != options.fps || read.sound != options.sound ||
        read.delayMicroseconds != options.delayMicroseconds)
        __builtin_trap();
    return 0;
}
