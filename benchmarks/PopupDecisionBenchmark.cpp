// The popup helper's per-event decision over the host stand-ins (target:
// under 20 µs an event; the counter "of_target" is the time over the target).
#include <benchmark/benchmark.h>

#include "BenchmarkRatio.h"
#include "PopupDecisionScenario.h"
#include "TempFolder.h"
#include "platform/Services.h"
#include "platform/host/HostPlatform.h"

namespace {

void PopupDecision(benchmark::State& state) {
    TempFolder temp;
    platform::host::HostPlatform host(temp.Path());
    platform::ScopedServices services(host.Set());
    host.module->SetFileName("c:\\Zephyra\\SV_BHO.dll");
    host.files->CreateDirectory("c:\\Zephyra\\");
    bench::WriteDecisionSettings();
    bench::QuietEvent event;
    bench::LoopClock clock;
    for (auto _ : state) {
        if (!bench::DecideOnce(event)) {
            state.SkipWithError("the settings did not let the event through");
            break;
        }
    }
    state.counters["of_target"] = clock.PerIteration(state.iterations()) / 20e-6;
    foundation::FreeSharedIniFile();
}
BENCHMARK(PopupDecision)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
