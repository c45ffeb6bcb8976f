#include "host/CommandLine.h"

namespace {
const wchar_t* SkipSpaces(const wchar_t* p)
{
    while (*p == L' ')
        ++p;
    return p;
}
} // namespace

const wchar_t* SkipProgramName(const wchar_t* line)
{
    const wchar_t* p = line;
    if (*p == L'"') {
        ++p;
        while (*p && *p != L'"')
            ++p;
        if (*p == L'"')
            ++p;
    } else {
        while (*p > L' ')
            ++p;
    }
    while (*p && *p <= L' ')
        ++p;
    return p;
}

uint32_t ParseDecimal(const wchar_t* text)
{
    uint64_t value = 0;
    for (; *text >= L'0' && *text <= L'9'; ++text) {
        value = value * 10 + static_cast<uint64_t>(*text - L'0');
        if (value > UINT32_MAX)
            return 0;
    }
    return static_cast<uint32_t>(value);
}

SaverCommand ReadSaverCommand(const wchar_t* arguments)
{
    SaverCommand command;
    const wchar_t* p = arguments;
    while (*p == L' ' || *p == L'-' || *p == L'/')
        ++p;
    switch (*p) {
    case L'\0':
        command.mode = SaverMode::ConfigureAlone;
        break;
    case L'S':
    case L's':
        command.mode = SaverMode::FullScreen;
        break;
    case L'P':
    case L'p':
    case L'L':
    case L'l':
        command.mode = SaverMode::Preview;
        command.window = ParseDecimal(SkipSpaces(p + 1));
        break;
    case L'C':
    case L'c':
        command.mode = SaverMode::Configure;
        if (p[1] == L':')
            command.window = ParseDecimal(p + 2);
        break;
    case L'A':
    case L'a':
        command.mode = SaverMode::ChangePassword;
        command.window = ParseDecimal(SkipSpaces(p + 1));
        break;
    default:
        command.mode = SaverMode::Invalid;
        break;
    }
    return command;
}
