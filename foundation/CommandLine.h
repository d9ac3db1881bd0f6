#pragma once
// Command lines as Windows programs take them apart (the C runtime's rules):
// a path with a blank, unquoted, lets "c:\Program.exe" start in place of
// "c:\Program Files\...". Portable: Brakel.exe compiles this unit in too.
#include <string>

namespace foundation {

// One argument in quotes, read back as exactly `text`: a quote becomes \",
// and the backslashes before a quote or at the end are doubled.
std::string QuoteArgument(const std::string& text);

struct ProgramAndArguments {
    std::string program;    // without its quotes
    std::string arguments;  // the rest, as written, without the blanks before it
};
// The program of a command line: the quoted text up to the closing quote, or
// unquoted up to the first blank (never a guess across a blank).
ProgramAndArguments SplitProgram(const std::string& commandLine);

// "x:\..." or "\\server\...": a path that no search can complete.
bool IsFullPath(const std::string& path);

}  // namespace foundation
