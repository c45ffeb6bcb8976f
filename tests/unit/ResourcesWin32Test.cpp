#include <gtest/gtest.h>

#include <windows.h>

#include <string>

// Explorer shows the saver under the name in string 1.
TEST(ResourcesWin32, DescriptionString)
{
    char text[64] = {};
    const int length = LoadStringA(GetModuleHandleA(nullptr), 1, text, sizeof text);
    EXPECT_EQ("Morrowmere", std::string(text, length > 0 ? length : 0));
}

// The window class asks for icon 100; the saver must not have one of that id.
TEST(ResourcesWin32, NoIconWithTheWindowClassId)
{
    EXPECT_EQ(nullptr, FindResourceA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(100), MAKEINTRESOURCEA(14)));
    EXPECT_EQ(nullptr, FindResourceA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(100), MAKEINTRESOURCEA(3)));
}
