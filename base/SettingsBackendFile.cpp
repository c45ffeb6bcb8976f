#include "base/SettingsBackend.h"

#include "base/XdgPath.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

// The Linux port keeps the settings in $XDG_CONFIG_HOME/<key path less "Software\">.conf, one
// Name=decimal line per setting: "~/.config/Tovrelin/Morrowmere screen saver.conf".
struct SettingsBackend::State {
    std::string path;
    std::vector<std::pair<std::string, std::string>> values;
};

namespace {
// A settings file is a few dozen bytes; anything past this is not ours and is not read.
constexpr size_t kFileReadLimit = 64 * 1024;

// Without the spaces and tabs at both ends: the file is edited by hand, "EnableFPS = 1" included.
// (A value keeps its spaces: the decimal reading skips those in front and stops at those behind,
// as it does for the registry's texts.)
std::string Trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Lines without '=' or with an empty name are ignored; a later line of the same name wins.
void ParseSettingsText(const std::string& text, std::vector<std::pair<std::string, std::string>>& values)
{
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const size_t equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        std::string name = Trimmed(line.substr(0, equals));
        if (!name.empty())
            values.emplace_back(std::move(name), line.substr(equals + 1));
    }
}
} // namespace

SettingsBackend::SettingsBackend(const std::string& keyPath, Mode mode)
{
    std::string folder;
    std::string path;
    if (!SettingsFilePath(keyPath, folder, path))
        return;
    if (mode == kSet) {
        if (MakeFolders(folder))
            state_ = new State{path, {}};
        return;
    }
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return;
    std::string text(kFileReadLimit, '\0');
    text.resize(std::fread(&text[0], 1, text.size(), file));
    const bool readFailed = std::ferror(file) != 0;
    std::fclose(file);
    if (readFailed)
        return;
    state_ = new State{path, {}};
    ParseSettingsText(text, state_->values);
}

SettingsBackend::~SettingsBackend()
{
    delete state_;
}

bool SettingsBackend::Query(const char* name, char (&text)[kStoredTextLimit + 1])
{
    for (auto item = state_->values.rbegin(); item != state_->values.rend(); ++item) {
        if (item->first != name)
            continue;
        // Same limit as the registry: the text with its NUL must fit in kStoredTextLimit bytes.
        const std::string& value = item->second;
        if (value.size() + 1 > kStoredTextLimit)
            return false;
        std::memcpy(text, value.c_str(), value.size() + 1);
        return true;
    }
    return false;
}

void SettingsBackend::SetText(const char* name, const char* text)
{
    state_->values.emplace_back(name, text);
}

bool SettingsBackend::Commit()
{
    std::string text;
    for (const auto& item : state_->values)
        text += item.first + '=' + item.second + '\n';
    return ReplaceFile(state_->path, text);
}
