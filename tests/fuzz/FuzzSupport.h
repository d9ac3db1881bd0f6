#pragma once
// What the fuzz targets share: a broken invariant is a finding (reported,
// then abort, so libFuzzer keeps the input); an input cut into lines; and a
// private temporary folder for the units that work on files.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace zrfuzz {

[[noreturn]] inline void Fail(const char* file, int line, const char* check, const std::string& detail) {
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n%s\n", file, line, check, detail.c_str());
    std::abort();
}

// Bytes shown with C escapes, so that a report stays on the terminal.
inline std::string Show(const std::string& text, std::size_t limit = 400) {
    std::string out;
    for (std::size_t i = 0; i < text.size() && i < limit; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
            out += escaped;
        }
    }
    if (text.size() > limit) out += "...";
    return out;
}

#define ZR_CHECK(condition, detail)                                                    \
    do {                                                                               \
        if (!(condition)) ::zrfuzz::Fail(__FILE__, __LINE__, #condition, (detail));    \
    } while (false)

// The first `count` lines of the input (without their LF) and the rest as it
// stands; missing lines are empty. Seeds stay readable this way.
struct Lines {
    std::vector<std::string> head;
    std::string rest;
};

inline Lines SplitLines(const std::uint8_t* data, std::size_t size, std::size_t count) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    Lines lines;
    std::size_t from = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t end = from < text.size() ? text.find('\n', from) : std::string::npos;
        if (end == std::string::npos) {
            lines.head.push_back(from < text.size() ? text.substr(from) : std::string());
            from = text.size();
        } else {
            lines.head.push_back(text.substr(from, end - from));
            from = end + 1;
        }
    }
    lines.rest = text.substr(from);
    return lines;
}

// A folder of this process under the temporary directory, removed when the
// process ends normally. TMPDIR is pointed into it, so that what the host
// stand-ins keep in "the temporary directory" (lock files) stays inside too.
inline const std::string& ProcessTempFolder() {
    struct Folder {
        std::string path;
        Folder() {
            std::string pattern = (std::filesystem::temp_directory_path() / "zr-fuzz-XXXXXX").string();
            if (!::mkdtemp(pattern.data())) {
                std::perror("mkdtemp");
                std::abort();
            }
            path = pattern;
            ::setenv("TMPDIR", path.c_str(), 1);
        }
        ~Folder() {
            std::error_code ec;
            std::filesystem::remove_all(path, ec);
        }
    };
    static Folder folder;
    return folder.path;
}

}  // namespace zrfuzz
