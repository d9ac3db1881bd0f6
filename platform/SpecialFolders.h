#pragma once
// Port: the shell's special folders of the user.
#include <optional>
#include <string>

namespace platform {

class ISpecialFolders {
public:
    virtual ~ISpecialFolders() = default;
    // The user's personal documents folder (the shell's "Personal",
    // CSIDL_PERSONAL), without a trailing "\"; nullopt when the shell cannot say.
    virtual std::optional<std::string> Personal() = 0;
    // The Windows folder (GetWindowsDirectory), without a trailing "\": the
    // system's own programs are started from there by full path.
    virtual std::string WindowsFolder() = 0;
};

}  // namespace platform
