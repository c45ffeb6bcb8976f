#pragma once
// Sets or clears an environment variable for one test and restores it afterwards.

#include <cstdlib>
#include <string>

class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name)
    {
        const char* old = std::getenv(name);
        hadOld_ = old != nullptr;
        if (hadOld_)
            old_ = old;
        Apply(value);
    }
    ~ScopedEnv() { Apply(hadOld_ ? old_.c_str() : nullptr); }

private:
    void Apply(const char* value)
    {
#ifdef _WIN32
        _putenv_s(name_.c_str(), value ? value : "");
#else
        if (value)
            setenv(name_.c_str(), value, 1);
        else
            unsetenv(name_.c_str());
#endif
    }

    std::string name_;
    std::string old_;
    bool hadOld_ = false;
};
