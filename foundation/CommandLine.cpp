#include "foundation/CommandLine.h"

#include <cctype>

namespace foundation {

std::string QuoteArgument(const std::string& text) {
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (char c : text) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote escape it: double them, then escape the quote.
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    // ... and so do those before the closing quote.
    quoted.append(backslashes * 2, '\\');
    return quoted + "\"";
}

ProgramAndArguments SplitProgram(const std::string& commandLine) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    std::size_t at = 0;
    while (at < commandLine.size() && isBlank(commandLine[at])) ++at;
    ProgramAndArguments result;
    if (at < commandLine.size() && commandLine[at] == '"') {
        const std::size_t close = commandLine.find('"', at + 1);
        // An unclosed quote runs to the end, as the system reads it.
        result.program = commandLine.substr(at + 1, close == std::string::npos ? std::string::npos : close - at - 1);
        at = close == std::string::npos ? commandLine.size() : close + 1;
    } else {
        const std::size_t start = at;
        while (at < commandLine.size() && !isBlank(commandLine[at])) ++at;
        result.program = commandLine.substr(start, at - start);
    }
    while (at < commandLine.size() && isBlank(commandLine[at])) ++at;
    result.arguments = commandLine.substr(at);
    return result;
}

bool IsFullPath(const std::string& path) {
    if (path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' && path[2] == '\\')
        return true;
    return path.size() > 2 && path[0] == '\\' && path[1] == '\\' && path[2] != '\\' && path[2] != '?' &&
           path[2] != '.';
}

}  // namespace foundation
