// Saving and reloading a form state with a search history of 10 to 10,000
// entries: the store's one-call list sections against a key-by-key write and
// read of the same stored format. Target: within 3 times one plain read and
// one plain write of the same file, measured in the same run ("vs_plain").
#include <benchmark/benchmark.h>

#include <string>

#include "BenchmarkRatio.h"
#include "TempFolder.h"
#include "foundation/AMState.h"
#include "foundation/EIIniFilesUnit1.h"
#include "platform/Services.h"
#include "platform/host/HostPlatform.h"

namespace {

class TBandForm : public rt::TComponent {
    RT_CLASS_SAME_PROPS(TBandForm, rt::TComponent)
public:
    explicit TBandForm(int entries) : rt::TComponent(nullptr) {
        history = new foundation::TAMStringsHolder(this);
        history->SetName("edtSearch");
        for (int i = 0; i < entries; ++i) history->Items().Add("search words number " + std::to_string(i));
        count = new foundation::TAMSaveValue(this);
        count->SetName("MRUItemCount");
        count->SetValue("10");
        State = new foundation::TAMState(this);
        State->StoredProps().SetStrings({"edtSearch.Items", "MRUItemCount.Value"});
    }
    foundation::TAMStringsHolder* history;
    foundation::TAMSaveValue* count;
    foundation::TAMState* State;
};

struct Fixture {
    TempFolder temp;
    platform::host::HostPlatform host{temp.Path()};
    platform::ScopedServices services{host.Set()};
    std::string file = "c:\\Zephyra\\user_1.ini";
    Fixture() {
        host.files->CreateDirectory("c:\\Zephyra\\");
        foundation::SetFormStorageIniFileProvider([this] { return file; });
    }
    ~Fixture() { foundation::SetFormStorageIniFileProvider(nullptr); }
};

void StoreSaveAndReload(benchmark::State& state) {
    Fixture fixture;
    TBandForm form(static_cast<int>(state.range(0)));
    bench::LoopClock clock;
    for (auto _ : state) {
        form.State->Save();
        form.State->Reload();
    }
    const double store = clock.PerIteration(state.iterations());
    if (form.history->Items().Count() != state.range(0)) state.SkipWithError("history lost");
    state.SetComplexityN(state.range(0));

    // The floor: the file the store wrote, read whole and written back whole.
    constexpr int kPlainRounds = 100;
    bench::LoopClock plainClock;
    for (int i = 0; i < kPlainRounds; ++i) {
        const std::string bytes = fixture.host.files->ReadFile(fixture.file).value_or("");
        fixture.host.files->WriteFile(fixture.file, bytes);
    }
    state.counters["vs_plain"] = store / plainClock.PerIteration(kPlainRounds);
}

// The same format written and read one key at a time.
void NaiveSaveAndReload(benchmark::State& state) {
    Fixture fixture;
    TBandForm form(static_cast<int>(state.range(0)));
    foundation::TEIIniFile ini(fixture.file);
    const std::string section = "TBandForm.edtSearch_Items";
    for (auto _ : state) {
        rt::TStringList& items = form.history->Items();
        ini.WriteString("TBandForm", "SaveCount_Value",
                        std::to_string(ini.ReadInteger("TBandForm", "SaveCount_Value", 0) + 1));
        ini.WriteString("TBandForm", "MRUItemCount_Value", form.count->Value());
        ini.EraseSection(section);
        ini.WriteString(section, "Count", std::to_string(items.Count()));
        for (int i = 0; i < items.Count(); ++i) ini.WriteString(section, "Item" + std::to_string(i), items[i]);
        const int n = ini.ReadInteger(section, "Count", 0);
        std::vector<std::string> read;
        for (int i = 0; i < n; ++i) read.push_back(ini.ReadString(section, "Item" + std::to_string(i), ""));
        items.SetStrings(read);
    }
    state.SetComplexityN(state.range(0));
}

}  // namespace

BENCHMARK(StoreSaveAndReload)->Arg(10)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(NaiveSaveAndReload)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(NaiveSaveAndReload)->Arg(10000)->Iterations(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
