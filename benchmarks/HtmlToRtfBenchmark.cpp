// The source viewer's HTML-to-RTF conversion of generated pages from 50 KB
// to 5 MB (linear: the time per byte should not grow), and of random bytes,
// the worst case for escapes and colour switches. Target: a 5 MB page in
// under 0.5 s ("of_target" scales the time to that rate).
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "BenchmarkRatio.h"
#include "RtfText.h"
#include "toolbar/HtmlToRtf.h"

namespace {

void Convert(benchmark::State& state, const std::string& page) {
    std::size_t rtfSize = 0;
    bench::LoopClock clock;
    for (auto _ : state) {
        std::string rtf = toolbar::HtmlToRtf(page);
        rtfSize = rtf.size();
        benchmark::DoNotOptimize(rtf.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
    state.SetComplexityN(static_cast<int64_t>(page.size()));
    const double fiveMegabytes = 5.0 * (1 << 20);
    state.counters["of_target"] = clock.PerIteration(state.iterations()) * (fiveMegabytes / page.size()) / 0.5;
    state.counters["rtf_bytes_per_page_byte"] = static_cast<double>(rtfSize) / static_cast<double>(page.size());
}

void ConvertPage(benchmark::State& state) {
    Convert(state, zrtest::SamplePage(static_cast<std::size_t>(state.range(0))));
}
BENCHMARK(ConvertPage)->Arg(50 << 10)->Arg(500 << 10)->Arg(5 << 20)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

void ConvertRandomBytes(benchmark::State& state) {
    std::mt19937 random(3);
    std::string bytes(static_cast<std::size_t>(state.range(0)), '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    Convert(state, bytes);
}
BENCHMARK(ConvertRandomBytes)->Arg(5 << 20)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
