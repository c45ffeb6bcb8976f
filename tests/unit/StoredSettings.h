#pragma once
// The machine's settings store as the saver finds it, for tests: empty when made, and emptied again
// when done. Windows: the real registry key (inside the test's Wine prefix). Linux: a settings file
// in a fresh config folder.

#include <memory>
#include <string>

class StoredSettings {
public:
    StoredSettings();
    ~StoredSettings();

    // Stores `text` (its NUL included) as the named value, the way a user or another tool would.
    void WriteText(const char* name, const std::string& text);
    // The stored text of the named value; "<absent>" when there is none.
    std::string ReadText(const char* name) const;

private:
    struct Place;
    std::unique_ptr<Place> place_;
};
