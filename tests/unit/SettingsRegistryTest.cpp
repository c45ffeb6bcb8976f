#include <gtest/gtest.h>

#include "StoredSettings.h"
#include "base/SettingsStore.h"

#include <windows.h>

#include <string>

namespace {
const char kKey[] = "Software\\Tovrelin\\Morrowmere screen saver";

void WriteRaw(const char* name, DWORD type, const void* data, DWORD size)
{
    ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueA(HKEY_LOCAL_MACHINE, kKey, name, type, data, size));
}

int32_t Value(const SettingsStore& settings, const char* name)
{
    int32_t value = -12345;
    EXPECT_EQ(0, settings.Get(name, value));
    return value;
}
} // namespace

class SettingsRegistryTest : public ::testing::Test {
protected:
    StoredSettings stored_;
};

TEST_F(SettingsRegistryTest, ValuesOfOtherTypesAreReadAsTheirBytes)
{
    // A DWORD of 7 is the bytes 07 00 00 00: no digits, so 0.
    const DWORD seven = 7;
    WriteRaw("EnableFPS", REG_DWORD, &seven, sizeof seven);
    // Binary data that happens to be decimal text is taken as such.
    WriteRaw("EnableVSync", REG_BINARY, "5\0", 2);
    SettingsStore settings;
    EXPECT_EQ(0, Value(settings, "EnableFPS"));
    EXPECT_EQ(5, Value(settings, "EnableVSync"));
}

TEST_F(SettingsRegistryTest, TextWithoutTerminatorIsReadOnlyToItsEnd)
{
    // Exactly the 200 bytes of the buffer and no NUL: the digits end where the data ends. (Binary,
    // because Wine refuses a string that fills the buffer without room for a NUL of its own.)
    std::string full(200, ' ');
    full.replace(196, 4, "-417");
    WriteRaw("EnableFPS", REG_BINARY, full.data(), 200);
    // Short data without NUL, followed in the buffer by whatever an earlier read left there.
    WriteRaw("EnableVSync", REG_SZ, "88", 2);
    SettingsStore settings;
    EXPECT_EQ(-417, Value(settings, "EnableFPS"));
    EXPECT_EQ(88, Value(settings, "EnableVSync"));

    // 201 bytes do not fit: the value stays as it was.
    const std::string over(201, '2');
    WriteRaw("EnableFPS", REG_SZ, over.data(), 201);
    settings.Set("EnableFPS", 9);
    ASSERT_EQ(0, settings.Load());
    EXPECT_EQ(9, Value(settings, "EnableFPS"));
}

TEST_F(SettingsRegistryTest, StoreWritesDecimalTextWithItsTerminator)
{
    SettingsStore settings;
    settings.Set("EnableFPS", 1);
    ASSERT_EQ(0, settings.Store());
    DWORD type = 0;
    char data[16];
    DWORD size = sizeof data;
    ASSERT_EQ(ERROR_SUCCESS, RegGetValueA(HKEY_LOCAL_MACHINE, kKey, "EnableFPS", RRF_RT_ANY | RRF_NOEXPAND,
                                          &type, data, &size));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(2u, size);
    EXPECT_EQ(std::string("1", 2), std::string(data, size));
}
