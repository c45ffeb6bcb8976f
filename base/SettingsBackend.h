#pragma once
// The per-machine store of named decimal texts behind the SettingsStore: the registry on Windows,
// a text file of Name=decimal lines on Linux. One object is one open session with the store, for
// either reading or writing.

#include <cstddef>
#include <string>

// A stored text longer than this many bytes (its NUL included) is not read at all.
constexpr size_t kStoredTextLimit = 200;

class SettingsBackend {
public:
    enum Mode { kQuery, kSet };

    // kQuery opens an existing store; kSet creates it when missing.
    SettingsBackend(const std::string& keyPath, Mode mode);
    ~SettingsBackend();

    SettingsBackend(const SettingsBackend&) = delete;
    SettingsBackend& operator=(const SettingsBackend&) = delete;

    bool IsOpen() const { return state_ != nullptr; }
    // Copies the stored text of `name` into `text`, which has room for kStoredTextLimit + 1
    // bytes, and always ends it with a NUL inside that room, whatever the stored bytes are.
    // False when the value is absent or does not fit.
    bool Query(const char* name, char (&text)[kStoredTextLimit + 1]);
    // Sets one value; a refusal is reported by Commit.
    void SetText(const char* name, const char* text);
    // Finishes a kSet session. False when a value was refused or the values could not be made
    // durable.
    bool Commit();

private:
    struct State;
    State* state_ = nullptr;
};
