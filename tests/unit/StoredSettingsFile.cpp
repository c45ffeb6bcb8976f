#include "StoredSettings.h"

#include "ScopedEnv.h"
#include "TempFolder.h"

#include <sys/stat.h>

struct StoredSettings::Place {
    TempFolder config;
    ScopedEnv xdg{"XDG_CONFIG_HOME", config.Path().c_str()};
    std::string File() const { return config.File("Tovrelin/Morrowmere screen saver.conf"); }
};

StoredSettings::StoredSettings() : place_(new Place) {}

StoredSettings::~StoredSettings() = default;

void StoredSettings::WriteText(const char* name, const std::string& text)
{
    mkdir(place_->config.File("Tovrelin").c_str(), 0700);
    std::string contents = ReadFileBytes(place_->File());
    contents += std::string(name) + "=" + text + "\n";
    WriteFileBytes(place_->File(), contents);
}

std::string StoredSettings::ReadText(const char* name) const
{
    const std::string contents = ReadFileBytes(place_->File());
    const std::string key = std::string(name) + "=";
    for (size_t start = 0; start < contents.size();) {
        size_t end = contents.find('\n', start);
        if (end == std::string::npos)
            end = contents.size();
        if (contents.compare(start, key.size(), key) == 0)
            return contents.substr(start + key.size(), end - start - key.size());
        start = end + 1;
    }
    return "<absent>";
}
