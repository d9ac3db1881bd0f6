// The host profile engine on any file: the file is read, one key is written
// through the profile services, and the file is read again. The written value
// reads back (where the profile format can hold it at all), and every other
// key reads as it did.
//
// A write saves the whole file the way the engine saves every file, as the
// Windows engine does, and that alone can change what odd lines read as (a
// name cut by a NUL just behind a blank, the keys of a "[]" section). So the
// other keys are compared with the file as the engine saves it unchanged
// (or, when the write changed nothing and the file was left alone, as it was).
//
// Input: line 1 the section, line 2 the key, line 3 the value; the rest is the file.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <utility>

#include "FuzzSupport.h"
#include "platform/host/HostFileUtil.h"
#include "platform/host/HostPlatform.h"
#include "platform/host/ProfileText.h"

namespace {

namespace profile = platform::host::profile;

constexpr const char* kFile = "c:\\Zephyra\\user_1.ini";
constexpr const char* kMissing = "\x01<missing>";

struct Files {
    platform::host::HostFileSystem files{zrfuzz::ProcessTempFolder()};
    platform::host::HostProfileFiles profiles{files.Mapper()};
    std::string native = files.NativePath(kFile);
    Files() { std::filesystem::create_directories(std::filesystem::path(native).parent_path()); }
};

Files& Host() {
    static Files host;
    return host;
}

const std::string kLineBreaks("\0\r\n", 3);

std::size_t FirstNonBlank(const std::string& s) {
    std::size_t first = 0;
    while (first < s.size() && profile::IsBlank(s[first])) ++first;
    return first;
}

// Text that a profile line keeps as it is: no NUL or line break, no blanks
// at the ends (lines are trimmed) and no pair of quotes around it (a read
// removes one pair).
bool KeepsAsValue(const std::string& v) {
    if (v.find_first_of(kLineBreaks) != std::string::npos) return false;
    if (!v.empty() && (profile::IsBlank(v.front()) || profile::IsBlank(v.back()))) return false;
    return !(v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0]);
}

// A key name that is found again by that name: "=" would end it, and a line
// starting with "[" may read as a header.
bool KeepsAsKey(const std::string& key) {
    const std::size_t first = FirstNonBlank(key);
    return key.find_first_of(kLineBreaks) == std::string::npos && key.find('=') == std::string::npos &&
           (first == key.size() || key[first] != '[');
}

// The written line is one line of the kind intended. Line breaks in what is
// written make lines of their own, as they do in the Windows engine; keeping
// them out is the caller's business (the runtime's TIniFile does).
bool WritesOneLine(const std::string& section, const std::string& key, const std::string& value) {
    const std::size_t first = FirstNonBlank(key);
    return section.find_first_of("\r\n") == std::string::npos && key.find_first_of("\r\n") == std::string::npos &&
           value.find_first_of("\r\n") == std::string::npos && (first == key.size() || key[first] != '[');
}

// The API's strings end at a NUL.
std::string CText(const std::string& s) { return s.substr(0, s.find('\0')); }

std::string Trimmed(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && profile::IsBlank(s[b])) ++b;
    while (e > b && profile::IsBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

// No name ends in a blank (only a NUL just behind one leaves such a name):
// saving the file changes none of its names, so the write lands in the
// section and key that a later read finds.
bool NamesSurviveASave(const profile::Document& doc) {
    auto trimmed = [](const std::string& name) {
        return name.empty() || (!profile::IsBlank(name.front()) && !profile::IsBlank(name.back()));
    };
    for (const profile::Section& section : doc.sections()) {
        if (!trimmed(section.name)) return false;
        for (const profile::Key& key : section.keys)
            if (!trimmed(key.name)) return false;
    }
    return true;
}

// Every key the file offers for reading, with the value a read gives.
std::map<std::pair<std::string, std::string>, std::string> Readable(const profile::Document& doc) {
    std::map<std::pair<std::string, std::string>, std::string> values;
    std::vector<std::string> sections = doc.SectionNames();
    sections.insert(sections.begin(), "");
    for (const std::string& section : sections)
        for (const std::string& key : doc.Keys(section))
            values.emplace(std::make_pair(section, key), doc.ReadString(section, key, kMissing));
    return values;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const zrfuzz::Lines input = zrfuzz::SplitLines(data, size, 3);
    const std::string &section = input.head[0], &key = input.head[1], &value = input.head[2];
    Files& host = Host();
    {
        std::ofstream out(host.native, std::ios::binary | std::ios::trunc);
        out << input.rest;
    }

    ZR_CHECK(host.profiles.WriteString(kFile, section, key, value), zrfuzz::Show(input.rest));
    const std::string written = platform::host::ReadWholeFile(host.native).value_or("");
    const profile::Document after = profile::Document::Parse(written);
    // A name whose bytes are a byte-order mark, written first in the file,
    // makes it a Unicode file on the next read, in the Windows engine too.
    if (after.encoding() != profile::Document::Parse(input.rest).encoding()) return 0;
    // A write that changes nothing leaves the file as it was.
    const auto before = Readable(profile::Document::Parse(
        written == input.rest ? input.rest : profile::Document::Parse(input.rest).Serialize()));

    const std::string detail = "file: " + zrfuzz::Show(input.rest) + "\nsection: " + zrfuzz::Show(section) +
                               "\nkey: " + zrfuzz::Show(key) + "\nvalue: " + zrfuzz::Show(value) +
                               "\nwritten: " + zrfuzz::Show(written);
    if (KeepsAsValue(value) && section.find_first_of(kLineBreaks) == std::string::npos && KeepsAsKey(key) &&
        NamesSurviveASave(profile::Document::Parse(input.rest))) {
        ZR_CHECK(after.ReadString(section, key, kMissing) == value, detail);
        ZR_CHECK(host.profiles.ReadString(kFile, section, key, kMissing) == value, detail);
    }
    if (!WritesOneLine(section, key, value)) return 0;
    for (const auto& [where, was] : before) {
        const bool same = profile::EqualIgnoringAsciiCase(Trimmed(where.first), Trimmed(CText(section))) &&
                          profile::EqualIgnoringAsciiCase(Trimmed(where.second), Trimmed(CText(key)));
        if (same) continue;
        ZR_CHECK(after.ReadString(where.first, where.second, kMissing) == was,
                 detail + "\nchanged: [" + zrfuzz::Show(where.first) + "] " + zrfuzz::Show(where.second));
    }
    return 0;
}
