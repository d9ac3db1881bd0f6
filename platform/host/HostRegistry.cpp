// HostRegistry: an in-memory registry tree; key and value names match ignoring case.
#include <algorithm>
#include <cctype>

#include "platform/host/HostFileUtil.h"
#include "platform/host/HostPlatform.h"

namespace platform::host {
namespace {


// "a\b\\c" -> {"a","b","c"}; one leading "\" ignored, empty parts skipped.
std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : path) {
        if (c == '\\') {
            if (!part.empty()) parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) parts.push_back(part);
    return parts;
}

}  // namespace

struct HostRegistry::Key {
    std::string name;
    std::vector<std::unique_ptr<Key>> subKeys;             // in creation order
    std::vector<std::pair<std::string, RegValue>> values;  // in creation order

    Key* Child(const std::string& childName) {
        std::string lower = AsciiLower(childName);
        for (auto& k : subKeys)
            if (AsciiLower(k->name) == lower) return k.get();
        return nullptr;
    }
    std::pair<std::string, RegValue>* Value(const std::string& valueName) {
        std::string lower = AsciiLower(valueName);
        for (auto& v : values)
            if (AsciiLower(v.first) == lower) return &v;
        return nullptr;
    }
};

HostRegistry::HostRegistry() = default;
HostRegistry::~HostRegistry() = default;

HostRegistry::Key* HostRegistry::Find(RegRoot root, const std::string& path, bool create) {
    auto& top = roots_[root];
    if (!top) top = std::make_unique<Key>();
    Key* key = top.get();
    for (const std::string& part : SplitPath(path)) {
        Key* child = key->Child(part);
        if (!child) {
            if (!create) return nullptr;
            key->subKeys.push_back(std::make_unique<Key>());
            child = key->subKeys.back().get();
            child->name = part;
        }
        key = child;
    }
    return key;
}

bool HostRegistry::KeyExists(RegRoot root, const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    return Find(root, path, false) != nullptr;
}

bool HostRegistry::CreateKey(RegRoot root, const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (readOnly_) return Find(root, path, false) != nullptr;
    return Find(root, path, true) != nullptr;
}

bool HostRegistry::DeleteKey(RegRoot root, const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (readOnly_) return false;
    std::vector<std::string> parts = SplitPath(path);
    if (parts.empty()) return false;  // a root key cannot be deleted
    std::string last = parts.back();
    parts.pop_back();
    std::string parentPath;
    for (const auto& p : parts) parentPath += p + "\\";
    Key* parent = Find(root, parentPath, false);
    if (!parent) return false;
    std::string lower = AsciiLower(last);
    auto it = std::find_if(parent->subKeys.begin(), parent->subKeys.end(),
                           [&](const std::unique_ptr<Key>& k) { return AsciiLower(k->name) == lower; });
    if (it == parent->subKeys.end()) return false;
    parent->subKeys.erase(it);
    return true;
}

std::optional<RegValue> HostRegistry::ReadValue(RegRoot root, const std::string& path, const std::string& name) {
    std::lock_guard<std::mutex> lock(mutex_);
    Key* key = Find(root, path, false);
    if (!key) return std::nullopt;
    auto* v = key->Value(name);
    if (!v) return std::nullopt;
    return v->second;
}

bool HostRegistry::WriteValue(RegRoot root, const std::string& path, const std::string& name, const RegValue& value) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (readOnly_) return false;
    Key* key = Find(root, path, false);
    if (!key) return false;
    if (auto* v = key->Value(name)) {
        v->second = value;
    } else {
        key->values.emplace_back(name, value);
    }
    return true;
}

bool HostRegistry::DeleteValue(RegRoot root, const std::string& path, const std::string& name) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (readOnly_) return false;
    Key* key = Find(root, path, false);
    if (!key) return false;
    std::string lower = AsciiLower(name);
    auto it = std::find_if(key->values.begin(), key->values.end(),
                           [&](const auto& v) { return AsciiLower(v.first) == lower; });
    if (it == key->values.end()) return false;
    key->values.erase(it);
    return true;
}

std::vector<std::string> HostRegistry::SubKeyNames(RegRoot root, const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::string> names;
    if (Key* key = Find(root, path, false))
        for (const auto& k : key->subKeys) names.push_back(k->name);
    return names;
}

std::vector<std::string> HostRegistry::ValueNames(RegRoot root, const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::string> names;
    if (Key* key = Find(root, path, false))
        for (const auto& v : key->values) names.push_back(v.first);
    return names;
}

void HostRegistry::SetReadOnly(bool readOnly) {
    std::lock_guard<std::mutex> lock(mutex_);
    readOnly_ = readOnly;
}

}  // namespace platform::host
