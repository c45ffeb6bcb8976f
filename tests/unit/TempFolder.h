#pragma once
// A fresh, empty folder for one test, removed with everything in it at the end.

#include <string>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const;

private:
    std::string path_;
};

// The whole file as bytes (binary mode, so line ends are seen as they lie on disk); empty when missing.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
