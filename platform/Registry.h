#pragma once
// Port: the registry. Paths are relative to a root key, separated by "\";
// one leading "\" is ignored.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

enum class RegRoot { ClassesRoot, CurrentUser, LocalMachine, Users };

enum class RegType { String, ExpandString, DWord, Binary, MultiString, Other };

struct RegValue {
    RegType type = RegType::String;
    std::string text;             // String, ExpandString (MultiString: items joined by '\0')
    std::uint32_t dword = 0;      // DWord
    std::vector<std::uint8_t> bytes;  // Binary, Other

    static RegValue String(std::string s) { RegValue v; v.type = RegType::String; v.text = std::move(s); return v; }
    static RegValue DWord(std::uint32_t d) { RegValue v; v.type = RegType::DWord; v.dword = d; return v; }
};

class IRegistry {
public:
    virtual ~IRegistry() = default;

    virtual bool KeyExists(RegRoot root, const std::string& path) = 0;
    // Creates the key and its missing parents; true when it exists afterwards.
    virtual bool CreateKey(RegRoot root, const std::string& path) = 0;
    // Deletes the key with all its subkeys and values; true when it existed.
    virtual bool DeleteKey(RegRoot root, const std::string& path) = 0;

    virtual std::optional<RegValue> ReadValue(RegRoot root, const std::string& path, const std::string& name) = 0;
    // The key must exist; false otherwise or when the write fails.
    virtual bool WriteValue(RegRoot root, const std::string& path, const std::string& name, const RegValue& value) = 0;
    virtual bool DeleteValue(RegRoot root, const std::string& path, const std::string& name) = 0;

    virtual std::vector<std::string> SubKeyNames(RegRoot root, const std::string& path) = 0;
    virtual std::vector<std::string> ValueNames(RegRoot root, const std::string& path) = 0;
};

}  // namespace platform
