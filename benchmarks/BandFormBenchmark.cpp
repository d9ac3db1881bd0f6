// The toolbar form on the host stand-ins: building the "others" menu from the
// shipped file with ten remembered picks (target: under 1 ms), and one search
// end to end, history save included, with 1,000 and 10,000 history entries
// (linear in the history).
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>

#include "BenchmarkRatio.h"
#include "TempFolder.h"
#include "foundation/SVCommon.h"
#include "platform/Services.h"
#include "platform/host/HostBrowser.h"
#include "platform/host/HostPlatform.h"
#include "toolbar/BandForm.h"

namespace {

struct Fixture {
    TempFolder temp;
    platform::host::HostPlatform host{temp.Path()};
    platform::ScopedServices services{host.Set()};
    std::shared_ptr<platform::host::HostBrowser> browser = std::make_shared<platform::host::HostBrowser>();

    Fixture() {
        host.module->SetFileName("c:\\Zephyra\\Solvane.dll");
        host.files->CreateDirectory("c:\\Zephyra\\");
        host.files->CreateDirectory("c:\\Zephyra\\Data");
        std::ifstream shipped(ZR_SOURCE_DIR "/install/Data/others.xml", std::ios::binary);
        std::ostringstream bytes;
        bytes << shipped.rdbuf();
        host.files->WriteFile("c:\\Zephyra\\Data\\others.xml", bytes.str());
        foundation::ChooseUserSettingsFile();
        toolbar::BandModuleLoaded();
        browser->Show("http://www.example.com/", "Example", platform::host::HostDocumentWith("<p>x</p>"));
    }
    ~Fixture() {
        toolbar::BandModuleUnloading();
        foundation::FreeSharedIniFile();
    }
};

void BuildOthersMenu(benchmark::State& state) {
    Fixture fixture;
    toolbar::TBandForm form(nullptr);
    for (int i = 0; i < 10; ++i) form.btnOthers->AddToMRU("Search " + std::to_string(i), "id" + std::to_string(i));
    bench::LoopClock clock;
    for (auto _ : state) {
        form.btnOthers->BuildMenu(true);
        benchmark::DoNotOptimize(form.btnOthers->DropDownMenu());
    }
    state.counters["of_target"] = clock.PerIteration(state.iterations()) / 1e-3;
    if (!form.btnOthers->DropDownMenu() || form.btnOthers->DropDownMenu()->Items()->Count() < 10)
        state.SkipWithError("the menu was not built");
}
BENCHMARK(BuildOthersMenu)->Unit(benchmark::kMicrosecond);

void SearchWithHistory(benchmark::State& state) {
    Fixture fixture;
    toolbar::TBandForm form(nullptr);
    form.SetBrowser(fixture.browser);
    for (int i = 0; i < state.range(0); ++i) form.edtSearch->Items().Add("earlier search " + std::to_string(i));
    form.SaveState();
    int n = 0;
    for (auto _ : state) {
        form.edtSearch->TypeText("search " + std::to_string(n++ % 50));
        form.KeyDown(rt::vk::Return, {}, form.edtSearch);
    }
    if (form.edtSearch->Items().Count() < state.range(0)) state.SkipWithError("history lost");
    state.SetComplexityN(state.range(0));
}
BENCHMARK(SearchWithHistory)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
