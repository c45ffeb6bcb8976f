#include <gtest/gtest.h>

#include "ScopedEnv.h"
#include "StoredSettings.h"
#include "TempFolder.h"
#include "base/SettingsStore.h"

#include <sys/stat.h>

#include <filesystem>
#include <string>

namespace {
int32_t Value(const SettingsStore& settings, const char* name)
{
    int32_t value = -12345;
    EXPECT_EQ(0, settings.Get(name, value));
    return value;
}

std::string ConfigFile(const TempFolder& config)
{
    return config.File("Tovrelin/Morrowmere screen saver.conf");
}

void WriteConfig(const TempFolder& config, const std::string& text)
{
    mkdir(config.File("Tovrelin").c_str(), 0700);
    WriteFileBytes(ConfigFile(config), text);
}
} // namespace

TEST(SettingsFile, MalformedLinesAreIgnoredAndSpacesAroundTheEqualsSignAllowed)
{
    TempFolder config;
    ScopedEnv xdg("XDG_CONFIG_HOME", config.Path().c_str());
    WriteConfig(config, "garbage\n=4\n  = 5\nEnableFPS\n" + std::string("\0\xff\n", 3) +
                            "EnableVSync 7\nenablefps=9\nEnableFPS=2\r\nEnableVSync=-8");
    SettingsStore settings;
    EXPECT_EQ(2, Value(settings, "EnableFPS"));
    EXPECT_EQ(-8, Value(settings, "EnableVSync"));

    WriteConfig(config, "EnableFPS = 1\n\tEnableVSync\t=\t0 \r\n");
    EXPECT_EQ(0, settings.Load());
    EXPECT_EQ(1, Value(settings, "EnableFPS"));
    EXPECT_EQ(0, Value(settings, "EnableVSync"));
}

TEST(SettingsFile, AnUnreadableFileKeepsTheDefaults)
{
    TempFolder config;
    ScopedEnv xdg("XDG_CONFIG_HOME", config.Path().c_str());
    // A folder where the file should be cannot be read as one.
    std::filesystem::create_directories(ConfigFile(config));
    SettingsStore settings;
    EXPECT_EQ(-1, settings.Load());
    EXPECT_EQ(0, Value(settings, "EnableFPS"));
    EXPECT_EQ(1, Value(settings, "EnableVSync"));
}

TEST(SettingsFile, StoreReplacesTheWholeFileAndLeavesNoTemporary)
{
    StoredSettings stored;
    SettingsStore settings;
    settings.Set("EnableFPS", 1);
    settings.Set("EnableVSync", 0);
    ASSERT_EQ(0, settings.Store());
    settings.Set("EnableVSync", 1);
    ASSERT_EQ(0, settings.Store());
    const char* config = std::getenv("XDG_CONFIG_HOME");
    ASSERT_NE(nullptr, config);
    const std::filesystem::path folder = std::filesystem::path(config) / "Tovrelin";
    EXPECT_EQ("BatteryFrameCap=1\nEnableFPS=1\nEnableSound=1\nEnableVSync=1\nMultiMonitor=0\nRenderScale=100\n",
              ReadFileBytes((folder / "Morrowmere screen saver.conf").string()));
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        files += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(1u, files);
}

TEST(SettingsFile, AStoreThatCannotBeMadeReportsFailure)
{
    TempFolder config;
    {
        // The config folder is a file: nothing can be created under it.
        WriteFileBytes(config.File("plain"), "x");
        ScopedEnv xdg("XDG_CONFIG_HOME", config.File("plain").c_str());
        SettingsStore settings;
        EXPECT_EQ(-1, settings.Store());
    }
    // The settings file's place is taken by a folder: the new file cannot replace it, the store
    // says so and cleans up after itself.
    ScopedEnv xdg("XDG_CONFIG_HOME", config.Path().c_str());
    std::filesystem::create_directories(ConfigFile(config) + "/inside");
    SettingsStore settings;
    EXPECT_EQ(-1, settings.Store());
    size_t entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(config.File("Tovrelin"))) {
        (void)entry;
        ++entries;
    }
    EXPECT_EQ(1u, entries);
}
