#pragma once
// The runtime's registry object over the platform registry: a root key, one
// open key, typed reads and writes of its values.
#include <string>

#include "platform/Registry.h"
#include "runtime/Classes.h"

namespace rt {

class TRegistry : public TObject {
    RT_CLASS_SAME_PROPS(TRegistry, TObject)
public:
    TRegistry() = default;  // root: the current user

    platform::RegRoot RootKey() const { return root_; }
    void SetRootKey(platform::RegRoot root) { root_ = root; CloseKey(); }

    // A path starting with "\" is taken from the root, any other from the
    // open key. False when the key is missing and may not be created.
    bool OpenKey(const std::string& path, bool canCreate);
    void CloseKey();
    const std::string& CurrentPath() const { return path_; }
    bool KeyExists(const std::string& path);
    bool CreateKey(const std::string& path);
    bool DeleteKey(const std::string& path);

    bool ValueExists(const std::string& name);
    bool DeleteValue(const std::string& name);
    void GetValueNames(TStringList& names);
    void GetKeyNames(TStringList& names);

    // A missing value reads as the empty text; a value of another type raises
    // ERegistryException "Invalid data type for '%s'".
    std::string ReadString(const std::string& name);
    // A missing value or one of another type raises "Invalid data type for '%s'".
    int ReadInteger(const std::string& name);
    bool ReadBool(const std::string& name);
    // A failed write raises ERegistryException "Failed to set data for '%s'".
    void WriteString(const std::string& name, const std::string& value);
    void WriteExpandString(const std::string& name, const std::string& value);
    void WriteInteger(const std::string& name, int value);
    void WriteBool(const std::string& name, bool value);

private:
    std::string Resolve(const std::string& path) const;

    platform::RegRoot root_ = platform::RegRoot::CurrentUser;
    std::string path_;
    bool open_ = false;
};

}  // namespace rt
