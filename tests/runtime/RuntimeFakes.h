#pragma once
// Small in-memory fakes of the ports the runtime uses, installed for one
// test's scope with platform::ScopedServices.
#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Services.h"

namespace rt_test {

inline std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

class FakeClock : public platform::IClock {
public:
    platform::LocalTime now{2026, 12, 8, 12, 0, 0, 0};
    std::string shortDateFormat = "M/d/yyyy";
    char dateSeparator = '/';

    std::uint32_t TickCount() override { return 0; }
    platform::LocalTime Now() override { return now; }
    std::string ShortDateFormat() override { return shortDateFormat; }
    char DateSeparator() override { return dateSeparator; }
    void Sleep(std::uint32_t) override {}
};

// One file's sections and keys in order; names match ignoring case.
class FakeProfiles : public platform::IProfileFiles {
public:
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> keys;
    };
    bool failWrites = false;
    int flushes = 0;
    std::vector<std::string> lastSectionLines;
    std::vector<Section> sections;  // the single file's content, whatever its name

    std::string ReadString(const std::string&, const std::string& section, const std::string& key,
                           const std::string& defaultValue) override {
        const Section* s = Find(section);
        if (!s) return defaultValue;
        for (const auto& [k, v] : s->keys)
            if (Lower(k) == Lower(key)) return v;
        return defaultValue;
    }
    std::vector<std::string> ReadKeys(const std::string&, const std::string& section) override {
        std::vector<std::string> out;
        if (const Section* s = Find(section))
            for (const auto& kv : s->keys) out.push_back(kv.first);
        return out;
    }
    std::vector<std::string> ReadSectionNames(const std::string&) override {
        std::vector<std::string> out;
        for (const Section& s : sections) out.push_back(s.name);
        return out;
    }
    std::vector<std::string> ReadSectionLines(const std::string&, const std::string& section) override {
        std::vector<std::string> out;
        if (const Section* s = Find(section))
            for (const auto& [k, v] : s->keys) out.push_back(k + "=" + v);
        return out;
    }
    bool WriteString(const std::string&, const std::string& section, const std::string& key,
                     const std::string& value) override {
        if (failWrites) return false;
        Section& s = Get(section);
        for (auto& kv : s.keys)
            if (Lower(kv.first) == Lower(key)) {
                kv.second = value;
                return true;
            }
        s.keys.emplace_back(key, value);
        return true;
    }
    bool DeleteKey(const std::string&, const std::string& section, const std::string& key) override {
        if (failWrites) return false;
        if (Section* s = Find(section))
            std::erase_if(s->keys, [&](const auto& kv) { return Lower(kv.first) == Lower(key); });
        return true;
    }
    bool EraseSection(const std::string&, const std::string& section) override {
        if (failWrites) return false;
        std::erase_if(sections, [&](const Section& s) { return Lower(s.name) == Lower(section); });
        return true;
    }
    bool WriteSectionLines(const std::string&, const std::string& section,
                           const std::vector<std::string>& lines) override {
        if (failWrites) return false;
        lastSectionLines = lines;
        Section& s = Get(section);
        s.keys.clear();
        for (const std::string& line : lines) {
            std::size_t eq = line.find('=');
            s.keys.emplace_back(line.substr(0, eq), eq == std::string::npos ? "" : line.substr(eq + 1));
        }
        return true;
    }
    void Flush(const std::string&) override { ++flushes; }

private:
    Section* Find(const std::string& name) {
        for (Section& s : sections)
            if (Lower(s.name) == Lower(name)) return &s;
        return nullptr;
    }
    Section& Get(const std::string& name) {
        if (Section* s = Find(name)) return *s;
        sections.push_back(Section{name, {}});
        return sections.back();
    }
};

// Keys by root and lower-case path (no leading "\"); values by lower-case name.
class FakeRegistry : public platform::IRegistry {
public:
    bool readOnly = false;
    std::map<std::pair<platform::RegRoot, std::string>, std::map<std::string, platform::RegValue>> keys;

    static std::string Norm(std::string path) {
        if (!path.empty() && path[0] == '\\') path.erase(0, 1);
        return Lower(path);
    }
    bool KeyExists(platform::RegRoot root, const std::string& path) override {
        return keys.count({root, Norm(path)}) > 0;
    }
    bool CreateKey(platform::RegRoot root, const std::string& path) override {
        std::string p = Norm(path);
        for (std::size_t at = p.find('\\'); at != std::string::npos; at = p.find('\\', at + 1))
            keys[{root, p.substr(0, at)}];
        keys[{root, p}];
        return true;
    }
    bool DeleteKey(platform::RegRoot root, const std::string& path) override {
        std::string p = Norm(path);
        bool existed = keys.erase({root, p}) > 0;
        std::erase_if(keys, [&](const auto& kv) {
            return kv.first.first == root && kv.first.second.rfind(p + "\\", 0) == 0;
        });
        return existed;
    }
    std::optional<platform::RegValue> ReadValue(platform::RegRoot root, const std::string& path,
                                                const std::string& name) override {
        auto key = keys.find({root, Norm(path)});
        if (key == keys.end()) return std::nullopt;
        auto value = key->second.find(Lower(name));
        if (value == key->second.end()) return std::nullopt;
        return value->second;
    }
    bool WriteValue(platform::RegRoot root, const std::string& path, const std::string& name,
                    const platform::RegValue& value) override {
        auto key = keys.find({root, Norm(path)});
        if (readOnly || key == keys.end()) return false;
        key->second[Lower(name)] = value;
        return true;
    }
    bool DeleteValue(platform::RegRoot root, const std::string& path, const std::string& name) override {
        auto key = keys.find({root, Norm(path)});
        return key != keys.end() && key->second.erase(Lower(name)) > 0;
    }
    std::vector<std::string> SubKeyNames(platform::RegRoot root, const std::string& path) override {
        std::string prefix = Norm(path);
        if (!prefix.empty()) prefix += "\\";
        std::vector<std::string> out;
        for (const auto& kv : keys) {
            const std::string& p = kv.first.second;
            if (kv.first.first == root && !p.empty() && p.rfind(prefix, 0) == 0 &&
                p.find('\\', prefix.size()) == std::string::npos)
                out.push_back(p.substr(prefix.size()));
        }
        return out;
    }
    std::vector<std::string> ValueNames(platform::RegRoot root, const std::string& path) override {
        std::vector<std::string> out;
        auto key = keys.find({root, Norm(path)});
        if (key != keys.end())
            for (const auto& kv : key->second) out.push_back(kv.first);
        return out;
    }
};

}  // namespace rt_test
