// The saved-value store on any settings file: a form reloads its values from
// the file and saves them; a second form reloading the saved file gets the
// same values, and so does a third after the second saved. Whatever text a
// user or another version left in the file, one save reaches a fixed point.
//
// The one change a save may make: blanks at the ends of a list item go, as
// they go from every value a profile read gives (a hand-written file can
// keep them inside quotes for the first read).
//
// Input: the whole settings file.
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "foundation/AMState.h"
#include "platform/host/HostPlatform.h"
#include "platform/host/ProfileText.h"
#include "runtime/StdCtrls.h"

namespace {

using foundation::TAMSaveValue;
using foundation::TAMStringsHolder;

constexpr const char* kFile = "c:\\Zephyra\\user_1.ini";

// The stored components of the toolbar form, as far as the store sees them.
class TBandForm : public rt::TComponent {
    RT_CLASS_SAME_PROPS(TBandForm, rt::TComponent)
public:
    TBandForm() : rt::TComponent(nullptr) {
        edtSearch = Holder("edtSearch");
        AMToolbarOptions = Holder("AMToolbarOptions");
        SearchPanel = new rt::TPanel(this);
        SearchPanel->SetName("SearchPanel");
        SearchPanel->SetWidth(150);
        MRUItemCount = Value("MRUItemCount", "10");
        AutoSearchOnMRUSelect = Value("AutoSearchOnMRUSelect", "True");
        UpdateFrequency = Value("UpdateFrequency", "1");
        State = new foundation::TAMState(this);
        State->SetName("State");
        State->StoredProps().SetStrings({"edtSearch.Items", "SearchPanel.Width", "AMToolbarOptions.Items",
                                         "MRUItemCount.Value", "AutoSearchOnMRUSelect.Value", "UpdateFrequency.Value"});
    }

    // Everything the store restores: each list's count and items, then the values.
    std::vector<std::string> Values(bool trimItems = false) const {
        std::vector<std::string> values;
        for (const TAMStringsHolder* holder : {edtSearch, AMToolbarOptions}) {
            values.push_back(std::to_string(holder->Items().Count()));
            for (const std::string& item : holder->Items().ToVector()) values.push_back(trimItems ? Trimmed(item) : item);
        }
        values.push_back(std::to_string(SearchPanel->Width()));
        values.push_back(MRUItemCount->Value());
        values.push_back(AutoSearchOnMRUSelect->Value());
        values.push_back(UpdateFrequency->Value());
        return values;
    }

    TAMStringsHolder* edtSearch;
    TAMStringsHolder* AMToolbarOptions;
    rt::TPanel* SearchPanel;
    TAMSaveValue* MRUItemCount;
    TAMSaveValue* AutoSearchOnMRUSelect;
    TAMSaveValue* UpdateFrequency;
    foundation::TAMState* State;

private:
    static std::string Trimmed(const std::string& s) {
        std::size_t b = 0, e = s.size();
        while (b < e && platform::host::profile::IsBlank(s[b])) ++b;
        while (e > b && platform::host::profile::IsBlank(s[e - 1])) --e;
        return s.substr(b, e - b);
    }
    TAMStringsHolder* Holder(const char* name) {
        auto* holder = new TAMStringsHolder(this);
        holder->SetName(name);
        return holder;
    }
    TAMSaveValue* Value(const char* name, const char* initial) {
        auto* value = new TAMSaveValue(this);
        value->SetName(name);
        value->SetValue(initial);
        return value;
    }
};

struct Host {
    platform::host::HostPlatform host{zrfuzz::ProcessTempFolder()};
    platform::ScopedServices services{host.Set()};
    std::string native = host.files->NativePath(kFile);
    Host() {
        host.files->CreateDirectory("c:\\Zephyra");
        foundation::SetFormStorageIniFileProvider([] { return std::string(kFile); });
    }
};

std::string Show(const std::vector<std::string>& values) {
    std::string out;
    for (const std::string& value : values) out += "[" + zrfuzz::Show(value, 80) + "]";
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Host host;
    const std::string file(reinterpret_cast<const char*>(data), size);
    {
        std::ofstream out(host.native, std::ios::binary | std::ios::trunc);
        out << file;
    }

    TBandForm first;
    first.State->Reload();
    const std::vector<std::string> loaded = first.Values(true);
    first.State->Save();
    const std::string saved = host.host.files->ReadFile(kFile).value_or("");

    TBandForm second;
    second.State->Reload();
    ZR_CHECK(second.Values() == loaded, "file: " + zrfuzz::Show(file) + "\nsaved: " + zrfuzz::Show(saved) +
                                            "\nloaded: " + Show(loaded) + "\nreloaded: " + Show(second.Values()));
    second.State->Save();
    TBandForm third;
    third.State->Reload();
    ZR_CHECK(third.Values() == loaded, "file: " + zrfuzz::Show(file) + "\nloaded: " + Show(loaded) +
                                           "\nthird: " + Show(third.Values()));
    return 0;
}
