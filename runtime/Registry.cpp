#include "runtime/Registry.h"

#include "platform/Services.h"
#include "runtime/Format.h"

namespace rt {
namespace {

[[noreturn]] void InvalidDataType(const std::string& name) {
    throw ERegistryException(Format("Invalid data type for '%s'", {name}));
}

void CheckSet(bool written, const std::string& name) {
    if (!written) throw ERegistryException(Format("Failed to set data for '%s'", {name}));
}

}  // namespace

std::string TRegistry::Resolve(const std::string& path) const {
    std::string p = path;
    const bool absolute = !p.empty() && p[0] == '\\';
    if (absolute) p.erase(0, 1);
    while (!p.empty() && p.back() == '\\') p.pop_back();
    if (absolute || !open_ || path_.empty()) return p;
    return p.empty() ? path_ : path_ + "\\" + p;
}

bool TRegistry::OpenKey(const std::string& path, bool canCreate) {
    const std::string full = Resolve(path);
    platform::IRegistry& registry = platform::Registry();
    const bool exists = full.empty() || (canCreate ? registry.CreateKey(root_, full) : registry.KeyExists(root_, full));
    if (!exists) return false;
    path_ = full;
    open_ = true;
    return true;
}

void TRegistry::CloseKey() {
    path_.clear();
    open_ = false;
}

bool TRegistry::KeyExists(const std::string& path) {
    const std::string full = Resolve(path);
    return full.empty() || platform::Registry().KeyExists(root_, full);
}

bool TRegistry::CreateKey(const std::string& path) { return platform::Registry().CreateKey(root_, Resolve(path)); }

bool TRegistry::DeleteKey(const std::string& path) { return platform::Registry().DeleteKey(root_, Resolve(path)); }

bool TRegistry::ValueExists(const std::string& name) {
    return platform::Registry().ReadValue(root_, path_, name).has_value();
}

bool TRegistry::DeleteValue(const std::string& name) { return platform::Registry().DeleteValue(root_, path_, name); }


void TRegistry::GetValueNames(TStringList& names) { names.SetStrings(platform::Registry().ValueNames(root_, path_)); }

void TRegistry::GetKeyNames(TStringList& names) { names.SetStrings(platform::Registry().SubKeyNames(root_, path_)); }

std::string TRegistry::ReadString(const std::string& name) {
    const auto value = platform::Registry().ReadValue(root_, path_, name);
    if (!value) return {};
    if (value->type != platform::RegType::String && value->type != platform::RegType::ExpandString)
        InvalidDataType(name);
    return value->text;
}

int TRegistry::ReadInteger(const std::string& name) {
    const auto value = platform::Registry().ReadValue(root_, path_, name);
    if (!value || value->type != platform::RegType::DWord) InvalidDataType(name);
    return static_cast<int>(value->dword);
}

bool TRegistry::ReadBool(const std::string& name) { return ReadInteger(name) != 0; }

void TRegistry::WriteString(const std::string& name, const std::string& value) {
    CheckSet(platform::Registry().WriteValue(root_, path_, name, platform::RegValue::String(value)), name);
}

void TRegistry::WriteExpandString(const std::string& name, const std::string& value) {
    platform::RegValue v = platform::RegValue::String(value);
    v.type = platform::RegType::ExpandString;
    CheckSet(platform::Registry().WriteValue(root_, path_, name, v), name);
}

void TRegistry::WriteInteger(const std::string& name, int value) {
    CheckSet(platform::Registry().WriteValue(root_, path_, name, platform::RegValue::DWord(static_cast<std::uint32_t>(value))),
             name);
}

void TRegistry::WriteBool(const std::string& name, bool value) {
    CheckSet(platform::Registry().WriteValue(root_, path_, name, platform::RegValue::DWord(value ? 1 : 0)), name);
}

}  // namespace rt
