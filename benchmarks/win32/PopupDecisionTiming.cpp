// The popup helper's per-event decision through kernel32's profile API, as
// the helper pays it in a browser (run under wine). Prints the median time
// of an event over several rounds and its share of the 200 µs target.
//   popup_decision_timing [events per round]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "../PopupDecisionScenario.h"
#include "TempFolder.h"
#include "platform/Services.h"
#include "platform/host/HostPlatform.h"

int main(int argc, char** argv) {
    const int events = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
    constexpr int kRounds = 7;
    constexpr double kTargetMicroseconds = 200;

    TempFolder temp;
    platform::host::HostPlatform host(temp.Path());
    // The real profile files, locks and file system; the module stands in a
    // folder of the run's own so that its settings files land there.
    platform::ServiceSet set = host.Set();
    const platform::ServiceSet real = platform::CreateDefaultServices();
    set.profiles = real.profiles;
    set.locks = real.locks;
    set.files = real.files;
    platform::ScopedServices services(set);
    const std::string folder = temp.Path() + "\\Zephyra\\";
    real.files->CreateDirectory(folder);
    host.module->SetFileName(folder + "SV_BHO.dll");
    bench::WriteDecisionSettings();

    LARGE_INTEGER frequency, start, end;
    ::QueryPerformanceFrequency(&frequency);
    bench::QuietEvent event;
    std::vector<double> perEvent;
    for (int round = 0; round <= kRounds; ++round) {
        ::QueryPerformanceCounter(&start);
        for (int i = 0; i < events; ++i) {
            if (!bench::DecideOnce(event)) {
                std::fprintf(stderr, "the settings did not let the event through\n");
                return 1;
            }
        }
        ::QueryPerformanceCounter(&end);
        // Round 0 warms the caches and is not counted.
        if (round > 0)
            perEvent.push_back(1e6 * static_cast<double>(end.QuadPart - start.QuadPart) /
                               static_cast<double>(frequency.QuadPart) / events);
    }
    std::sort(perEvent.begin(), perEvent.end());
    const double median = perEvent[perEvent.size() / 2];
    std::printf("popup decision through kernel32: %.1f us per event (median of %d rounds of %d), %.2f of the %.0f us target\n",
                median, kRounds, events, median / kTargetMicroseconds, kTargetMicroseconds);
    foundation::FreeSharedIniFile();
    return 0;
}
