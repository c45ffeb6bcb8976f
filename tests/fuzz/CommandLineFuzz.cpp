// libFuzzer target: the Windows saver's command line, as whole lines with a program name in front
// (each input byte one character, so quotes, blanks, signs and digits meet often). A line built
// from a mode letter and a window number must read back as that mode and number.
#include "host/CommandLine.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {
struct Expected {
    const wchar_t* text;
    SaverMode mode;
    bool numbered;
};

const Expected kLetters[] = {
    {L"/s", SaverMode::FullScreen, false}, {L"-S", SaverMode::FullScreen, false},
    {L"/p ", SaverMode::Preview, true},    {L"/l  ", SaverMode::Preview, true},
    {L"/c:", SaverMode::Configure, true},  {L"-C:", SaverMode::Configure, true},
    {L"/a ", SaverMode::ChangePassword, true}, {L"", SaverMode::ConfigureAlone, false},
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::wstring line(data, data + size);
    const wchar_t* arguments = SkipProgramName(line.c_str());
    if (arguments < line.c_str() || arguments > line.c_str() + line.size())
        __builtin_trap();
    const SaverCommand command = ReadSaverCommand(arguments);
    if (static_cast<int>(command.mode) < 0 || command.mode > SaverMode::Invalid)
        __builtin_trap();

    // The round trip, from the first five bytes: a letter form and a 32-bit window number.
    if (size >= 5) {
        const Expected& form = kLetters[data[0] % (sizeof kLetters / sizeof kLetters[0])];
        const uint32_t window = data[1] | data[2] << 8 | data[3] << 16 | static_cast<uint32_t>(data[4]) << 24;
        const std::wstring made = L"\"C:\\Saver Folder\\morrowmere.scr\"  " + std::wstring(form.text) +
                                  (form.numbered ? std::to_wstring(window) : std::wstring());
        const SaverCommand read = ReadSaverCommand(SkipProgramName(made.c_str()));
        if (read.mode != form.mode || read.window != (form.numbered ? window : 0u))
            __builtin_trap();
    }
    return 0;
}
