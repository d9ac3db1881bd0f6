#pragma once
// The text engine of HostProfileFiles: parses a profile (INI) file into the
// model kernel32 keeps, applies the profile operations to that model and
// writes it back, all with the rules of wine's kernel32 profile.c (wine 8):
//
// Parsing (PROFILE_Load)
//  - an empty file has no sections at all; any other file starts with a
//    nameless section that holds the lines before the first header;
//  - lines end at CR or LF (any run of CR/LF ends one line); each line is
//    trimmed of blanks (09-0D, 1A, 20) at both ends; blank lines vanish;
//  - "[" starts a header: the name runs to the LAST "]" of the line and is
//    trimmed; "[]" makes a section with an empty name (saved without header);
//    a "[" line with no "]" is an ordinary key line;
//  - "name = value": split at the first "=", name and value trimmed; a line
//    without "=" is a key with no value (comments ";..." are such keys, or
//    keys with a value when they hold a "=");
//  - a key line with an empty name is dropped when the key before it in the
//    section also has an empty name;
//  - text after a NUL byte in a name or value is ignored (C strings).
// Encodings: ANSI bytes are kept as they are. A UTF-8 BOM or a UTF-16 BOM
// (LE or BE) makes the file Unicode: it is held internally as UTF-8, the
// strings of the API (ANSI, code page 1252 as in wine's default prefix) are
// converted on the way in and out, and the file is saved again with its BOM.
//
// Saving (PROFILE_Save): "[name]\r\n" for every named section, then
// "name=value\r\n" (or "name\r\n") for each key; no blank lines.
#include <optional>
#include <string>
#include <vector>

namespace platform::host::profile {

enum class Encoding { Ansi, Utf8, Utf16LE, Utf16BE };

struct Key {
    std::string name;
    std::optional<std::string> value;  // nullopt: a line without "="
};

struct Section {
    std::string name;  // "" for the nameless first section (and "[]")
    std::vector<Key> keys;
};

class Document {
public:
    static Document Parse(const std::string& bytes);
    std::string Serialize() const;

    Encoding encoding() const { return encoding_; }
    const std::vector<Section>& sections() const { return sections_; }

    // ---- Reading (the API's strings are ANSI) ----
    // GetPrivateProfileString with a key: the first matching section's first
    // matching key (names trimmed, ASCII case ignored); one pair of quotes
    // removed; a key without value or a missing key gives the default, trimmed
    // of trailing spaces.
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;
    // GetPrivateProfileString with a null key, as a caller walking the
    // returned list sees it: the names of the keys with a value, without
    // comments, in file order, up to the first empty name (which ends the
    // double-NUL list).
    std::vector<std::string> Keys(const std::string& section) const;
    // GetPrivateProfileSectionNames: every named section, duplicates included.
    std::vector<std::string> SectionNames() const;
    // GetPrivateProfileSection: "name=value" lines, and "name" for keys
    // without value; comments skipped; values as stored (quotes kept).
    std::vector<std::string> SectionLines(const std::string& section) const;

    // ---- Writing; each returns true when the model changed ----
    // WritePrivateProfileString with a value.
    bool WriteString(const std::string& section, const std::string& key, const std::string& value);
    // WritePrivateProfileString with a null value: the first matching key of
    // the first matching section that has one (names not trimmed).
    bool DeleteKey(const std::string& section, const std::string& key);
    // WritePrivateProfileString with a null key: the first matching section.
    bool EraseSection(const std::string& section);
    // WritePrivateProfileSection: empties every matching section, then adds
    // each "key=value" line to the first one (creating it at the end when
    // missing), duplicates included. Lines without "=" are ignored, empty
    // lines left out and a NUL ends a line (as the Win32 service passes them).
    bool WriteSection(const std::string& section, const std::vector<std::string>& lines);

private:
    Section* FindSection(const std::string& name);
    const Section* FindSection(const std::string& name) const;
    Key* FindOrCreateKey(const std::string& section, const std::string& key, bool createAlways);
    bool SetString(const std::string& section, const std::string& key, const std::string& value,
                   bool createAlways);
    std::vector<std::string> Enumerate(const std::string& section, bool withValues) const;
    std::string In(const std::string& ansi) const;    // API string -> stored text
    std::string Out(const std::string& text) const;   // stored text -> API string

    Encoding encoding_ = Encoding::Ansi;
    std::vector<Section> sections_;
};

// Helpers shared with the tests.
bool IsBlank(char c);
bool EqualIgnoringAsciiCase(const std::string& a, const std::string& b);

}  // namespace platform::host::profile
