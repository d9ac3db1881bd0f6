#pragma once
// A unique, empty folder under the temporary directory, deleted (with all it
// holds) when the object goes. Read-only files inside are removed too.
#include <string>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's native path (no trailing separator).
    const std::string& Path() const;

private:
    std::string path_;
};
