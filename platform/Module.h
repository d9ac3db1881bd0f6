#pragma once
// Port: the running module (the DLL or program whose code runs) and version resources.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// Major, minor, release, build of the fixed version record.
using FileVersion = std::array<std::uint16_t, 4>;

class IModule {
public:
    virtual ~IModule() = default;
    // Full path of the running module (at most 255 characters on Windows).
    virtual std::string FileName() = 0;
    // The fixed version record of a file's version resource; an empty name
    // means the running module. nullopt when the file has none.
    virtual std::optional<FileVersion> VersionOf(const std::string& fileName) = 0;
    // Full path of the executable of the process.
    virtual std::string HostExecutable() = 0;
};

}  // namespace platform
