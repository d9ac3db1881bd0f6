#pragma once
// Port: starting programs and documents.
#include <string>

namespace platform {

// Show commands, with the values of the Windows SW_ constants.
namespace show {
constexpr int Hide = 0;
constexpr int Normal = 1;
constexpr int Minimized = 2;
constexpr int Maximized = 3;
constexpr int Show = 5;
}  // namespace show

class IShell {
public:
    virtual ~IShell() = default;
    // ShellExecute with the "open" verb, no working folder. True when the shell accepted it.
    virtual bool Open(const std::string& file, const std::string& parameters, int showCommand) = 0;
    // WinExec: starts a command line. True when the program started.
    virtual bool Exec(const std::string& commandLine, int showCommand) = 0;
};

}  // namespace platform
