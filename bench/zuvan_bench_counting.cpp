// Timing of one cycle count, the inner step of every critical-plane search:
// seeded random closed signals (values uniform in [0, 500], first and last
// point 0 on the same instant, as the damage analyses build them), counted
// with each method, through LoadingCycles and its maps ("maps") and through
// the search's sum over the cycle map without them ("sum"). Prints
// nanoseconds per point (fastest and median pass over the signals) and the
// peak memory.
//
//     build/zuvan_bench_counting [seconds per case, default 1]

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "driver/CExceptionZuvanFatigue.h"
#include "stress/CZuvanFatigueRainFlow.h"
#include "stress/CZuvanFatigueReservoir.h"

namespace {

struct Signals {
    int points;
    std::vector<int> instants;  // one signal after the other
    std::vector<double> values;
    int count;
};

Signals MakeSignals(int points, int count, unsigned seed) {
    Signals s{points, {}, {}, count};
    std::mt19937 generator(seed);
    std::uniform_real_distribution<double> uniform(0.0, 500.0);
    for (int i = 0; i < count; ++i) {
        for (int k = 0; k < points; ++k) {
            const bool end = (k == 0 || k == points - 1);
            s.instants.push_back(k == points - 1 ? 0 : k);
            s.values.push_back(end ? 0.0 : uniform(generator));
        }
    }
    return s;
}

long PeakMemoryKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Counts all the signals once per pass, for about the given time; returns the
// fastest pass in ns per point (the machine is shared: the fastest pass is the
// one least disturbed) and the median pass.
// maps: through LoadingCycles and its two maps; otherwise the sum of the
// search over the cycle map without the maps (CycleMapSum).
void Time(const CZuvanFatigueCountingMethod& method, const Signals& s, double seconds, bool maps,
          double& bestNs, double& medianNs, double& cyclesPerCount) {
    CZuvanFatigueCountingMethod::CycleMap cycles;
    CZuvanFatigueCountingMethod::RangeMap ranges;
    CZuvanFatigueCountingMethod::Work work;
    double sum = 0.0;
    using Clock = std::chrono::steady_clock;
    std::vector<double> passes;
    long cycleTotal = 0;
    double elapsed = 0.0;
    do {
        const Clock::time_point begin = Clock::now();
        cycleTotal = 0;
        for (int i = 0; i < s.count; ++i) {
            const std::size_t at = static_cast<std::size_t>(i) * s.points;
            if (maps) {
                method.LoadingCycles(s.points, &s.instants[at], &s.values[at], cycles, ranges);
                cycleTotal += static_cast<long>(cycles.size());
            } else {
                sum += method.CycleMapSum(work, s.points, &s.instants[at], &s.values[at],
                                          [&](double range) {
                                              ++cycleTotal;
                                              return 1.0 / range;
                                          });
            }
        }
        const double pass = std::chrono::duration<double>(Clock::now() - begin).count();
        passes.push_back(pass * 1e9 / (static_cast<double>(s.count) * s.points));
        elapsed += pass;
    } while (elapsed < seconds || passes.size() < 5);
    std::sort(passes.begin(), passes.end());
    bestNs = passes.front();
    medianNs = passes[passes.size() / 2];
    cyclesPerCount = static_cast<double>(cycleTotal) / s.count;
    if (sum < 0.0) std::printf("negative sum\n");  // keeps the sums
}

}  // namespace

int main(int argc, char* argv[]) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 1.0;
    const long baseKiB = PeakMemoryKiB();
    CZuvanFatigueRainFlow rainflow;
    CZuvanFatigueReservoir reservoir;
    std::printf("%-10s %-5s %7s %14s %16s %14s\n", "method", "path", "points", "best ns/point",
                "median ns/point", "cycles/count");
    try {
        for (int points : {25, 100, 400}) {
            const Signals s = MakeSignals(points, 20000 / points, 20240 + points);
            const CZuvanFatigueCountingMethod* methods[] = {&rainflow, &reservoir};
            const char* names[] = {"rainflow", "reservoir"};
            for (int m = 0; m < 2; ++m) {
                for (bool maps : {true, false}) {
                    double best = 0.0, median = 0.0, cycles = 0.0;
                    Time(*methods[m], s, seconds, maps, best, median, cycles);
                    std::printf("%-10s %-5s %7d %14.1f %16.1f %14.1f\n", names[m],
                                maps ? "maps" : "sum", points, best, median, cycles);
                }
            }
        }
    } catch (const CExceptionZuvanFatigue& e) {
        std::printf("count failed with code %d\n", e.GetCode());
        return 1;
    }
    std::printf("peak memory: %ld KiB (%ld KiB at start)\n", PeakMemoryKiB(), baseKiB);
    return 0;
}
