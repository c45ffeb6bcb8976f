#include <gtest/gtest.h>

#include "StoredSettings.h"
#include "base/RenderScale.h"
#include "base/SettingsStore.h"

#include <climits>
#include <string>

namespace {
int32_t Value(const SettingsStore& settings, const char* name)
{
    int32_t value = -12345;
    EXPECT_EQ(0, settings.Get(name, value)) << name;
    return value;
}
} // namespace

TEST(StoredDecimal, FollowsTheCLibraryRulesAndSaturates)
{
    struct Case {
        const char* text;
        int32_t value;
    };
    const Case cases[] = {
        {"42", 42},           {"  -5", -5},         {"\t\n\v\f\r+7", 7},   {"12abc", 12},
        {"", 0},              {"abc", 0},           {"-", 0},              {"--5", 0},
        {"+-5", 0},           {"- 5", 0},           {"0x10", 0},           {"007", 7},
        {"1 2", 1},           {"2147483647", INT32_MAX},                   {"2147483648", INT32_MAX},
        {"-2147483648", INT32_MIN},                 {"-2147483649", INT32_MIN},
        {"99999999999999999999999999", INT32_MAX},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.value, ParseStoredDecimal(c.text)) << '"' << c.text << '"';
}

class SettingsStoreTest : public ::testing::Test {
protected:
    StoredSettings stored_;
};

TEST_F(SettingsStoreTest, WithNothingStoredTheDefaultsHold)
{
    SettingsStore settings;
    EXPECT_EQ(0, Value(settings, "EnableFPS"));
    EXPECT_EQ(1, Value(settings, "EnableVSync"));
    EXPECT_EQ(1, Value(settings, "EnableSound")) << "an installation from before the switch plays sound";
    EXPECT_EQ(1, Value(settings, "BatteryFrameCap")) << "fewer frames on battery unless turned off";
    EXPECT_EQ(-1, settings.Load());
    EXPECT_EQ("Software\\Tovrelin\\Morrowmere screen saver", settings.KeyPath());
}

TEST_F(SettingsStoreTest, RenderScaleIsAPercentageFrom25To100)
{
    SettingsStore settings;
    EXPECT_EQ(100, Value(settings, "RenderScale"));
    struct Case {
        int32_t percent;
        bool accepted;
        double scale;
    };
    const Case cases[] = {
        {100, true, 1.0}, {25, true, 0.25}, {24, false, 0}, {101, false, 0}, {0, false, 0}, {-100, false, 0},
    };
    for (const Case& c : cases) {
        double scale = -7.0;
        EXPECT_EQ(c.accepted, RenderScaleFromPercent(c.percent, scale)) << c.percent;
        EXPECT_DOUBLE_EQ(c.accepted ? c.scale : -7.0, scale) << c.percent;
    }
}

TEST_F(SettingsStoreTest, UnknownNamesAreNeitherReadNorCreated)
{
    SettingsStore settings;
    int32_t untouched = 77;
    EXPECT_EQ(-1, settings.Get("EnableFps", untouched));
    EXPECT_EQ(-1, settings.Get("", untouched));
    EXPECT_EQ(77, untouched);
    EXPECT_EQ(-1, settings.Set("EnableSounds", 1));
    EXPECT_EQ(-1, settings.Get("EnableSounds", untouched));
    ASSERT_EQ(0, settings.Store());
    EXPECT_EQ("<absent>", stored_.ReadText("EnableSounds"));
}

TEST_F(SettingsStoreTest, StoreWritesEveryValueAndANewStoreLoadsThem)
{
    SettingsStore settings;
    ASSERT_EQ(0, settings.Set("EnableFPS", -3));
    ASSERT_EQ(0, settings.Set("BatteryFrameCap", 0));
    ASSERT_EQ(0, settings.Store());
    // The untouched setting is written too.
    EXPECT_EQ("-3", stored_.ReadText("EnableFPS"));
    EXPECT_EQ("0", stored_.ReadText("BatteryFrameCap"));
    EXPECT_EQ("1", stored_.ReadText("EnableVSync"));
    EXPECT_EQ("100", stored_.ReadText("RenderScale"));

    SettingsStore reloaded;
    EXPECT_EQ(-3, Value(reloaded, "EnableFPS"));
    EXPECT_EQ(0, Value(reloaded, "BatteryFrameCap"));
    EXPECT_EQ(0, reloaded.Load());

    ASSERT_EQ(0, settings.Set("EnableVSync", INT32_MIN));
    ASSERT_EQ(0, settings.Store());
    EXPECT_EQ("-2147483648", stored_.ReadText("EnableVSync"));
}

TEST_F(SettingsStoreTest, ResetRestoresDefaultsInMemoryOnly)
{
    SettingsStore settings;
    settings.Set("EnableFPS", 1);
    settings.Set("EnableVSync", 0);
    settings.Set("RenderScale", 50);
    ASSERT_EQ(0, settings.Store());
    settings.ResetToDefaults();
    EXPECT_EQ(0, Value(settings, "EnableFPS"));
    EXPECT_EQ(1, Value(settings, "EnableVSync"));
    EXPECT_EQ(100, Value(settings, "RenderScale"));
    EXPECT_EQ("1", stored_.ReadText("EnableFPS"));
    // Loading again brings the stored values back over the reset.
    EXPECT_EQ(0, settings.Load());
    EXPECT_EQ(1, Value(settings, "EnableFPS"));
    EXPECT_EQ(0, Value(settings, "EnableVSync"));
}

TEST_F(SettingsStoreTest, StoredTextIsReadByTheCLibraryRules)
{
    stored_.WriteText("EnableFPS", "  -5");
    stored_.WriteText("EnableVSync", "12abc");
    SettingsStore settings;
    EXPECT_EQ(-5, Value(settings, "EnableFPS"));
    EXPECT_EQ(12, Value(settings, "EnableVSync"));

    stored_.WriteText("EnableFPS", "");
    stored_.WriteText("EnableVSync", "on");
    ASSERT_EQ(0, settings.Load());
    EXPECT_EQ(0, Value(settings, "EnableFPS"));
    EXPECT_EQ(0, Value(settings, "EnableVSync"));
}

TEST_F(SettingsStoreTest, TextsTooLongForTheBufferLeaveTheValueAlone)
{
    // 199 characters and the NUL fill the 200-byte buffer exactly; one more does not fit.
    stored_.WriteText("EnableFPS", "3" + std::string(198, ' '));
    stored_.WriteText("EnableVSync", "4" + std::string(199, ' '));
    SettingsStore settings;
    EXPECT_EQ(3, Value(settings, "EnableFPS"));
    EXPECT_EQ(1, Value(settings, "EnableVSync"));

    stored_.WriteText("EnableFPS", std::string(300, '9'));
    settings.Set("EnableFPS", 6);
    ASSERT_EQ(0, settings.Load());
    EXPECT_EQ(6, Value(settings, "EnableFPS"));
}
