// The sum over the cycle map without the map (CycleMapSum) against the full
// count (LoadingCycles), on histories that exercise the triples counted
// twice, the shared pivot instants and the plateaus.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "stress/CZuvanFatigueRainFlow.h"
#include "stress/CZuvanFatigueReservoir.h"
#include "tests/ZuvanFatigueTestSupport.h"
#include "tests/stress/CZuvanFatigueCountingTestSupport.h"

using namespace ZuvanFatigueTest;

namespace {

struct History {
    std::string name;
    std::vector<int> instants;
    std::vector<double> values;
};

// A damage rate of a range, as a fatigue curve gives it: 1/N, N a whole number.
double Rate(double range) {
    const double n = std::floor(4.0e11 / (range * range * range)) + 1.0;
    return 1.0 / n;
}

std::uint64_t Bits(double v) {
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

// Random histories closed on the value 0 at one instant, as the analyses
// build them; the generator makes plateaus, repeated instants and repeated
// records on demand.
std::vector<History> Histories() {
    std::mt19937 generator(20250611);
    std::vector<History> histories;
    const auto closed = [&](const std::string& name, int n, auto value) {
        History h;
        h.name = name;
        for (int k = 0; k < n; ++k) {
            h.instants.push_back(k);
            h.values.push_back(k == 0 ? 0.0 : value(k));
        }
        h.instants.push_back(0);
        h.values.push_back(0.0);
        return h;
    };
    for (int i = 0; i < 40; ++i) {
        const int n = 3 + static_cast<int>(generator() % 60);
        std::uniform_real_distribution<double> u(0.0, 500.0);
        histories.push_back(
            closed("random " + std::to_string(i), n, [&](int) { return u(generator); }));
        // Levels on a 25 MPa grid: plateaus and equal levels everywhere.
        histories.push_back(closed("plateau " + std::to_string(i), n, [&](int) {
            return 25.0 * static_cast<double>(generator() % 8);
        }));
        // Levels a few thousandths of a MPa apart, around the tolerance.
        histories.push_back(closed("tolerance " + std::to_string(i), n, [&](int) {
            return 0.004 * static_cast<double>(generator() % 9) +
                   (generator() % 5 == 0 ? 100.0 : 0.0);
        }));
        // A few records repeated in turn: the same triples counted again.
        std::vector<double> pattern(2 + generator() % 4);
        for (double& v : pattern) v = u(generator);
        histories.push_back(closed("repeated records " + std::to_string(i), n,
                                   [&](int k) { return pattern[k % pattern.size()]; }));
        // Instant numbers that repeat (every value kept): pivots share instants
        // at different points.
        History r =
            closed("repeated instants " + std::to_string(i), n, [&](int) { return u(generator); });
        for (std::size_t k = 1; k + 1 < r.instants.size(); ++k) {
            r.instants[k] = static_cast<int>(generator() % 4);
        }
        histories.push_back(r);
        // Sparse instant numbers, with repeats.
        History s = r;
        s.name = "sparse instants " + std::to_string(i);
        for (int& instant : s.instants) instant = instant * 100003 - 7;
        histories.push_back(s);
    }
    // Open signals (not closed on their first value) for rainflow only.
    for (int i = 0; i < 20; ++i) {
        History h;
        h.name = "open " + std::to_string(i);
        const int n = 3 + static_cast<int>(generator() % 40);
        for (int k = 0; k < n; ++k) {
            h.instants.push_back(k);
            h.values.push_back(static_cast<double>(generator() % 300));
        }
        histories.push_back(h);
    }
    return histories;
}

}  // namespace

TEST(CZuvanFatigueCountingMethod, CycleMapSumAddsTheMapsRangesInItsOrder) {
    const CZuvanFatigueRainFlow rainflow;
    const CZuvanFatigueReservoir reservoir;
    const CZuvanFatigueCountingMethod* methods[] = {&rainflow, &reservoir};
    const char* names[] = {"rainflow", "reservoir"};
    CZuvanFatigueCountingMethod::Work work;  // reused, as the search does
    int counted = 0;
    for (const History& h : Histories()) {
        for (int m = 0; m < 2; ++m) {
            SCOPED_TRACE(testing::Message() << names[m] << ", " << h.name);
            const int n = static_cast<int>(h.values.size());
            const int code = CountCode(*methods[m], h.values, h.instants);
            std::vector<double> terms;
            double sum = 0.0;
            int fastCode = 0;
            try {
                sum = methods[m]->CycleMapSum(work, n, h.instants.data(), h.values.data(),
                                              [&](double range) {
                                                  terms.push_back(range);
                                                  return Rate(range);
                                              });
            } catch (const CExceptionZuvanFatigue& e) {
                fastCode = e.GetCode();
            }
            ASSERT_EQ(fastCode, code);  // the open signals refused by the reservoir (460)
            if (code != 0) continue;
            const Counted c = Count(*methods[m], h.values, h.instants);
            std::vector<double> ranges;
            double reference = 0.0;
            for (const auto& cycle : c.cycles) {
                ranges.push_back(cycle.second);
                reference += Rate(cycle.second);
            }
            // The first range of a triple, once per triple, in the map's order.
            EXPECT_EQ(terms, ranges);
            EXPECT_EQ(Bits(sum), Bits(reference));
            if (!ranges.empty()) ++counted;
        }
    }
    EXPECT_GT(counted, 300);  // the histories do count cycles
}

TEST(CZuvanFatigueCountingMethod, CycleMapSumRefusesWhatLoadingCyclesRefuses) {
    const CZuvanFatigueRainFlow rainflow;
    const CZuvanFatigueReservoir reservoir;
    const CZuvanFatigueCountingMethod* methods[] = {&rainflow, &reservoir};
    struct Case {
        std::vector<double> values;
        int code;
    };
    const Case cases[] = {
        {{0.0, 100.0}, 220},            // fewer than 3 points
        {{0.0, kNaN, 0.0}, 210},        // not a number
        {{0.0, kInf, 50.0, 0.0}, 210},  // infinite
        {{0.0, 1e308, 0.0}, 210},       // differences could overflow
    };
    CZuvanFatigueCountingMethod::Work work;
    for (const Case& c : cases) {
        for (const CZuvanFatigueCountingMethod* method : methods) {
            std::vector<int> instants;
            for (std::size_t k = 0; k < c.values.size(); ++k)
                instants.push_back(static_cast<int>(k));
            SCOPED_TRACE(testing::Message() << c.values.size() << " points, code " << c.code);
            EXPECT_EQ(CountCode(*method, c.values, instants), c.code);
            EXPECT_EQ(CodeOf([&] {
                          method->CycleMapSum(work, static_cast<int>(c.values.size()),
                                              instants.data(), c.values.data(),
                                              [](double) { return 1.0; });
                      }),
                      c.code);
        }
    }
}
