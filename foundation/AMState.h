#pragma once
// Saved values: named preferences, named lists, and the form state that
// saves and restores chosen properties of a form's components to the
// settings file and notices when another window has saved newer values.
#include <climits>
#include <functional>
#include <string>

#include "foundation/EIFunctionsBase.h"
#include "foundation/EIIniFilesUnit1.h"
#include "runtime/Classes.h"
#include "runtime/Controls.h"

namespace foundation {

// One named preference held as text.
class TAMSaveValue : public rt::TComponent {
    RT_CLASS(TAMSaveValue)
public:
    using rt::TComponent::TComponent;

    const std::string& Value() const { return value_; }
    // Fires OnChange on every write, also with an unchanged text.
    void SetValue(const std::string& value);
    bool AsBoolean() const;  // false on any failure
    void SetAsBoolean(bool value);
    int AsInteger() const;   // 0 unless a strict decimal integer
    void SetAsInteger(int value);

    rt::TNotifyEvent OnChange;

private:
    std::string value_;
};

// One named list of texts.
class TAMStringsHolder : public rt::TComponent {
    RT_CLASS(TAMStringsHolder)
public:
    using rt::TComponent::TComponent;
    rt::TStringList& Items() { return items_; }
    const rt::TStringList& Items() const { return items_; }
    void SetItems(const rt::TStringList& items) { items_.Assign(items); }

private:
    rt::TStringList items_;
};

// The process-wide source of the settings-file name that form storage
// writes to; the band installs it at load. Empty: the file is unknown.
void SetFormStorageIniFileProvider(std::function<std::string()> provider);
std::string FormStorageIniFileName();

enum class TPlacementOption { fpState, fpPosition };

// Saves and restores the properties named in StoredProps ("Component.Property")
// of the owner's components. Simple properties go to the key
// Component_Property of the section; string lists to their own section
// Section.Component_Property with "Count" and Item0, Item1, ...
class TFormStorage : public rt::TComponent {
    RT_CLASS(TFormStorage)
public:
    explicit TFormStorage(rt::TComponent* owner);

    bool Active() const { return active_; }
    void SetActive(bool v) { active_ = v; }
    unsigned Options() const { return options_; }  // bit mask of TPlacementOption
    void SetOptions(unsigned v) { options_ = v; }
    const std::string& IniFileName() const { return iniFileName_; }
    void SetIniFileName(const std::string& v) { iniFileName_ = v; }
    const std::string& IniSection() const { return iniSection_; }
    void SetIniSection(const std::string& v) { iniSection_ = v; }
    rt::TStringList& StoredProps() { return storedProps_; }
    int Version() const { return version_; }
    void SetVersion(int v) { version_ = v; }

    // The explicit file name, else the provider's.
    std::string StorageFileName() const;
    // The explicit section, else the owner's class name.
    std::string StorageSection() const;

    // Raise on failure; TAMState wraps them.
    void SaveProperties(TEIIniFile& ini);
    void RestoreProperties(TEIIniFile& ini);

    rt::TNotifyEvent OnSavePlacement;
    rt::TNotifyEvent OnRestorePlacement;

private:
    struct Target {
        rt::TComponent* component;
        std::string property;
        std::string key;  // Component_Property
    };
    template <class F>
    void ForEachStored(F f);

    bool active_ = true;
    unsigned options_ = 3;
    std::string iniFileName_;
    std::string iniSection_;
    rt::TStringList storedProps_;
    int version_ = 0;
};

class TAMState : public TFormStorage {
    RT_CLASS_SAME_PROPS(TAMState, TFormStorage)
public:
    explicit TAMState(rt::TComponent* owner);

    // The counter as it stood in the file at this object's last load or save.
    int LoadedSaveCount = 0;

    int ReadSaveCount();
    bool IsStale();
    bool IsShuttingDown() const;
    // Never raise. Save moves the counter and writes the properties while
    // holding the settings file's lock, so saves of several windows never
    // share a counter value and a reload never sees half a save.
    void Save();
    void Reload();
    bool ReloadIfStale();
};

inline constexpr const char* SaveCountKey = "SaveCount_Value";
inline constexpr const char* FormVersionKey = "FormVersion";

// The save counter kept in `section`: the number its digits form, or 0 when
// there are none or they pass the integer range (a garbled file must not stop
// every later save).
inline int ReadSaveCountIn(TEIIniFile& ini, const std::string& section) {
    try {
        return DigitsToIntDef(ini.ReadString(section, SaveCountKey, "0"), 0);
    } catch (const rt::EConvertError&) {
        return 0;
    }
}

// Moves the save counter of the form state kept in `section`, so that every
// window holding that state reloads it before it next adds to it. A writer
// other than the windows (the settings merge) calls it, under the file's
// lock, after its writes: else a window's next save would put back what it
// loaded before. At the top of its range the counter starts again at 1.
inline void MoveSaveCount(TEIIniFile& ini, const std::string& section) {
    const int count = ReadSaveCountIn(ini, section);
    ini.WriteString(section, SaveCountKey, std::to_string(count == INT_MAX ? 1 : count + 1));
}

}  // namespace foundation
