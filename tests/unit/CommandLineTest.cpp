#include <gtest/gtest.h>

#include "host/CommandLine.h"

#include <string>

TEST(CommandLine, SkipsTheProgramNameQuotedOrNot)
{
    EXPECT_EQ(std::wstring(L"/s"), SkipProgramName(L"\"C:\\Program Files\\Morrowmere.scr\" /s"));
    EXPECT_EQ(std::wstring(L"/p 123"), SkipProgramName(L"C:\\x\\m.scr   \t/p 123"));
    EXPECT_EQ(std::wstring(L""), SkipProgramName(L"\"C:\\unterminated /s"));
    EXPECT_EQ(std::wstring(L""), SkipProgramName(L"m.scr"));
    EXPECT_EQ(std::wstring(L"x"), SkipProgramName(L"\"a\"x"));
    EXPECT_EQ(std::wstring(L""), SkipProgramName(L""));
}

TEST(CommandLine, ParseDecimalReadsDigitsOnlyAndRefusesNumbersBeyond32Bits)
{
    EXPECT_EQ(0u, ParseDecimal(L""));
    EXPECT_EQ(0u, ParseDecimal(L" 12"));
    EXPECT_EQ(0u, ParseDecimal(L"-12"));
    EXPECT_EQ(0u, ParseDecimal(L"+12"));
    EXPECT_EQ(12u, ParseDecimal(L"12abc"));
    EXPECT_EQ(65802u, ParseDecimal(L"0065802"));
    EXPECT_EQ(4294967295u, ParseDecimal(L"4294967295"));
    // One past the largest handle, and 20 digits: no window, never a wrapped-around handle.
    EXPECT_EQ(0u, ParseDecimal(L"4294967296"));
    EXPECT_EQ(0u, ParseDecimal(L"18446744073709551617"));
    EXPECT_EQ(0u, ParseDecimal(L"99999999999999999999999999999999"));
}

TEST(CommandLine, EachLetterChoosesItsMode)
{
    struct Case {
        const wchar_t* arguments;
        SaverMode mode;
        uint32_t window;
    };
    const Case cases[] = {
        {L"", SaverMode::ConfigureAlone, 0},
        {L"  - / ", SaverMode::ConfigureAlone, 0},
        {L"/s", SaverMode::FullScreen, 0},
        {L"-S", SaverMode::FullScreen, 0},
        {L"s", SaverMode::FullScreen, 0},
        {L"/screensaver", SaverMode::FullScreen, 0}, // only the first letter counts
        {L"/p 1234", SaverMode::Preview, 1234},
        {L"/P1234", SaverMode::Preview, 1234},
        {L"/l   77", SaverMode::Preview, 77},
        {L"/p", SaverMode::Preview, 0},
        {L"/p x12", SaverMode::Preview, 0},
        {L"/c", SaverMode::Configure, 0},
        {L"/c:5678", SaverMode::Configure, 5678},
        {L"/C:0", SaverMode::Configure, 0},
        {L"/c 5678", SaverMode::Configure, 0}, // only a colon introduces the owner
        {L"/c: 5678", SaverMode::Configure, 0},
        {L"/a 99", SaverMode::ChangePassword, 99},
        {L"/x", SaverMode::Invalid, 0},
        {L"/?", SaverMode::Invalid, 0},
        {L"1", SaverMode::Invalid, 0},
    };
    for (const Case& c : cases) {
        const SaverCommand command = ReadSaverCommand(c.arguments);
        EXPECT_EQ(c.mode, command.mode) << std::wstring(c.arguments).size();
        EXPECT_EQ(c.window, command.window);
    }
}
