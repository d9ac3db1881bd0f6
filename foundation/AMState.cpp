#include "foundation/AMState.h"

#include <algorithm>
#include <climits>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "foundation/EIFunctionsBase.h"
#include "foundation/EIIniFilesUnit1.h"

namespace foundation {

// ---------------------------------------------------------- TAMSaveValue

const rt::TPropList& TAMSaveValue::ClassProperties() {
    static const rt::TPropList list(
        rt::TComponent::ClassProperties(),
        {
            rt::props::String<TAMSaveValue>("Value", &TAMSaveValue::Value, &TAMSaveValue::SetValue),
            rt::props::Boolean<TAMSaveValue>("AsBoolean", &TAMSaveValue::AsBoolean, &TAMSaveValue::SetAsBoolean),
            rt::props::Integer<TAMSaveValue>("AsInteger", &TAMSaveValue::AsInteger, &TAMSaveValue::SetAsInteger),
            rt::props::Method("OnChange"),
        });
    return list;
}

void TAMSaveValue::SetValue(const std::string& value) {
    value_ = value;
    if (OnChange) OnChange(this);
}

bool TAMSaveValue::AsBoolean() const {
    try {
        return TextToBool(value_);
    } catch (...) {
        return false;
    }
}

void TAMSaveValue::SetAsBoolean(bool value) { SetValue(value ? "True" : "False"); }

int TAMSaveValue::AsInteger() const {
    // Strict decimal: an optional sign, then digits only, within 32 bits.
    if (!IsIntegerText(value_)) return 0;
    try {
        return rt::StrToInt(value_);
    } catch (...) {
        return 0;
    }
}

void TAMSaveValue::SetAsInteger(int value) { SetValue(std::to_string(value)); }

// ------------------------------------------------------ TAMStringsHolder

const rt::TPropList& TAMStringsHolder::ClassProperties() {
    static const rt::TPropList list(
        rt::TComponent::ClassProperties(),
        {rt::props::Object<TAMStringsHolder>(
            "Items", "TStrings",
            [](const TAMStringsHolder& h) -> rt::TObject* { return const_cast<rt::TStringList*>(&h.Items()); },
            [](TAMStringsHolder& h, rt::TObject* v) {
                if (auto* list = dynamic_cast<rt::TStringList*>(v)) h.SetItems(*list);
            })});
    return list;
}

// ---------------------------------------------------------- provider

namespace {
std::mutex providerMutex;
std::function<std::string()>& Provider() {
    static std::function<std::string()> provider;
    return provider;
}

std::string ProfileTrim(const std::string& raw) {
    size_t b = 0, e = raw.size();
    while (b < e && IsProfileBlank(raw[b])) ++b;
    while (e > b && IsProfileBlank(raw[e - 1])) --e;
    return raw.substr(b, e - b);
}

bool IsQuoted(const std::string& v) { return v.size() >= 2 && (v[0] == '\'' || v[0] == '"') && v.back() == v[0]; }

// A value of a section line as a single-key read gives it: trimmed, with one
// pair of surrounding quotes removed.
std::string ProfileValue(const std::string& raw) {
    std::string v = ProfileTrim(raw);
    if (IsQuoted(v)) v = v.substr(1, v.size() - 2);
    return v;
}

// A value as it is written so that a read gives it back but for the blanks
// at its ends: a read removes one pair of surrounding quotes, so a value in
// quotes of its own (a quoted search, say) is written in one more pair.
std::string StoredValue(const std::string& value) {
    const std::string v = ProfileTrim(value);
    return IsQuoted(v) ? '"' + v + '"' : value;
}

std::string LowerAscii(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}
}  // namespace

void SetFormStorageIniFileProvider(std::function<std::string()> provider) {
    std::lock_guard<std::mutex> lock(providerMutex);
    Provider() = std::move(provider);
}

std::string FormStorageIniFileName() {
    std::function<std::string()> provider;
    {
        std::lock_guard<std::mutex> lock(providerMutex);
        provider = Provider();
    }
    return provider ? provider() : std::string();
}

// ---------------------------------------------------------- TFormStorage

const rt::TPropList& TFormStorage::ClassProperties() {
    static const rt::TPropList list(
        rt::TComponent::ClassProperties(),
        {
            rt::props::Boolean<TFormStorage>("Active", &TFormStorage::Active, &TFormStorage::SetActive),
            rt::props::Set<TFormStorage>("Options", "TPlacementOptions", &TFormStorage::Options,
                                         &TFormStorage::SetOptions),
            rt::props::String<TFormStorage>("IniFileName", &TFormStorage::IniFileName, &TFormStorage::SetIniFileName),
            rt::props::String<TFormStorage>("IniSection", &TFormStorage::IniSection, &TFormStorage::SetIniSection),
            rt::props::Object<TFormStorage>(
                "StoredProps", "TStrings",
                [](const TFormStorage& s) -> rt::TObject* { return &const_cast<TFormStorage&>(s).StoredProps(); },
                [](TFormStorage& s, rt::TObject* v) {
                    if (auto* list = dynamic_cast<rt::TStringList*>(v)) s.StoredProps().Assign(*list);
                }),
            rt::props::Integer<TFormStorage>("Version", &TFormStorage::Version, &TFormStorage::SetVersion),
            rt::props::Method("OnSavePlacement"),
            rt::props::Method("OnRestorePlacement"),
        });
    return list;
}

TFormStorage::TFormStorage(rt::TComponent* owner) : rt::TComponent(owner) {}

std::string TFormStorage::StorageFileName() const {
    return iniFileName_.empty() ? FormStorageIniFileName() : iniFileName_;
}

std::string TFormStorage::StorageSection() const {
    if (!iniSection_.empty()) return iniSection_;
    return Owner() ? Owner()->ClassName() : ClassName();
}

template <class F>
void TFormStorage::ForEachStored(F f) {
    if (!Owner()) return;
    for (int i = 0; i < storedProps_.Count(); ++i) {
        const std::string& entry = storedProps_[i];
        const size_t dot = entry.find('.');
        if (dot == std::string::npos) continue;
        const std::string componentName = rt::Trim(entry.substr(0, dot));
        const std::string property = rt::Trim(entry.substr(dot + 1));
        if (componentName.empty() || property.empty()) continue;
        rt::TComponent* component = Owner()->FindComponent(componentName);
        if (!component) continue;
        f(Target{component, property, componentName + "_" + property});
    }
}

namespace {
rt::TStringList* ListProperty(rt::TComponent& component, const std::string& property) {
    const rt::TPropInfo& info = rt::PropInfoOf(component, property);
    if (info.Kind != rt::TTypeKind::Class) return nullptr;
    return dynamic_cast<rt::TStringList*>(rt::GetObjectProp(component, property));
}
}  // namespace

void TFormStorage::SaveProperties(TEIIniFile& ini) {
    const std::string section = StorageSection();
    ini.WriteString(section, FormVersionKey, std::to_string(version_));
    ForEachStored([&](const Target& t) {
        if (rt::TStringList* list = ListProperty(*t.component, t.property)) {
            const std::string listSection = section + "." + t.key;
            if (list->Count() == 0) {
                ini.EraseSection(listSection);
                return;
            }
            // One profile call per list: the cost grows with the list, not
            // with the list times the file.
            rt::TStringList lines;
            lines.BeginUpdate();
            lines.Add("Count=" + std::to_string(list->Count()));
            for (int i = 0; i < list->Count(); ++i)
                lines.Add("Item" + std::to_string(i) + "=" + StoredValue((*list)[i]));
            lines.EndUpdate();
            ini.WriteSectionValues(listSection, lines);
            return;
        }
        ini.WriteString(section, t.key, StoredValue(rt::Trim(rt::GetPropText(*t.component, t.property))));
    });
}

void TFormStorage::RestoreProperties(TEIIniFile& ini) {
    const std::string section = StorageSection();
    if (ini.ReadInteger(section, FormVersionKey, 0) < version_) return;
    ForEachStored([&](const Target& t) {
        if (rt::TStringList* list = ListProperty(*t.component, t.property)) {
            rt::TStringList lines;
            ini.ReadSectionValues(section + "." + t.key, lines);
            std::unordered_map<std::string, std::string> values;  // the first of a key wins
            for (int i = 0; i < lines.Count(); ++i) {
                const std::string& line = lines[i];
                const size_t eq = line.find('=');
                if (eq == std::string::npos) continue;
                values.emplace(LowerAscii(ProfileValue(line.substr(0, eq))), ProfileValue(line.substr(eq + 1)));
            }
            auto count = values.find("count");
            const int n = rt::StrToIntDef(rt::Trim(count == values.end() ? "0" : count->second), 0);
            if (n < 0) return;
            // The count is believed only as far as the section has items:
            // "Count=20000000" must not build 20 million of them. Items left
            // out read empty, but only so many: one "Item9999999" line must
            // not build ten million either.
            constexpr int kMostItemsLeftOut = 1000;
            int itemCount = 0;
            for (const auto& entry : values) {
                const std::string& key = entry.first;
                if (key.size() > 4 && key.size() <= 14 && key.compare(0, 4, "item") == 0 &&
                    key.find_first_not_of("0123456789", 4) == std::string::npos) {
                    const long long index = std::stoll(key.substr(4));
                    if (index < n) itemCount = std::max(itemCount, static_cast<int>(index) + 1);
                }
            }
            itemCount = std::min(itemCount, lines.Count() + kMostItemsLeftOut);
            std::vector<std::string> items;
            items.reserve(itemCount);
            for (int i = 0; i < itemCount; ++i) {
                auto it = values.find("item" + std::to_string(i));
                items.push_back(it == values.end() ? std::string() : it->second);
            }
            list->SetStrings(items);
            return;
        }
        const std::string current = rt::GetPropText(*t.component, t.property);
        const std::string text = rt::Trim(ini.ReadString(section, t.key, current));
        try {
            rt::SetPropText(*t.component, t.property, text);
        } catch (const rt::EConvertError&) {
            // A value this property cannot take leaves it as it was.
        }
    });
}

// -------------------------------------------------------------- TAMState

TAMState::TAMState(rt::TComponent* owner) : TFormStorage(owner) {
    LoadedSaveCount = ReadSaveCount();
    SetOptions(0);
    SetActive(false);
}

int TAMState::ReadSaveCount() {
    const std::string file = StorageFileName();
    if (file.empty()) return 0;
    try {
        TEIIniFile ini(file);
        return ReadSaveCountIn(ini, StorageSection());
    } catch (...) {
        return 0;
    }
}

// Any move of the counter is a save elsewhere, also when it started again at 1.
bool TAMState::IsStale() { return LoadedSaveCount != ReadSaveCount(); }

bool TAMState::IsShuttingDown() const {
    return IsDestroying() || (Owner() && Owner()->IsDestroying()) || rt::Application().Terminated;
}

void TAMState::Save() {
    try {
        const std::string file = StorageFileName();
        if (file.empty()) return;
        ScopedIniLock lock(file);
        TEIIniFile ini(file);
        // The counter must keep moving, or the other windows would stop
        // noticing saves.
        MoveSaveCount(ini, StorageSection());
        SaveProperties(ini);
        LoadedSaveCount = ReadSaveCount();
    } catch (...) {
        // A failed save stops silently; the next save writes everything again.
    }
}

void TAMState::Reload() {
    try {
        const std::string file = StorageFileName();
        if (file.empty()) {
            LoadedSaveCount = 0;
        } else {
            ScopedIniLock lock(file);
            TEIIniFile ini(file);
            LoadedSaveCount = ReadSaveCount();
            RestoreProperties(ini);
        }
        if (OnRestorePlacement) OnRestorePlacement(this);
    } catch (...) {
    }
}

bool TAMState::ReloadIfStale() {
    const bool stale = IsStale();
    if (stale && !IsShuttingDown()) Reload();
    return stale;
}

}  // namespace foundation
