// What both counting methods share: locating a cycle in the signal, the
// refusals, and properties of the counts over many random closed signals.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <set>

#include "stress/CZuvanFatigueRainFlow.h"
#include "stress/CZuvanFatigueReservoir.h"
#include "tests/stress/CZuvanFatigueCountingTestSupport.h"

using namespace ZuvanFatigueTest;

namespace {

constexpr double kTolerance = 0.01;

// Rainflow exactly as the rule reads: the window restarts at the live start
// after each extraction, points are erased from a list, cycles go into the maps
// as they are counted. The counting class must give the very same maps.
class LiteralRainFlow {
   public:
    LiteralRainFlow(const std::vector<int>& instants, const std::vector<double>& values)
        : m_instants(instants), m_values(values) {}

    void Count(CycleMap& cycles, RangeMap& ranges) {
        m_cycles = &cycles;
        m_ranges = &ranges;
        const int n = static_cast<int>(m_values.size());
        std::vector<int> p;  // positions in the signal
        for (int k = 0; k < n; ++k) p.push_back(k);
        // Merge of repeats, a merged pair's neighbour tested again.
        for (std::size_t i = 0; i + 1 < p.size();) {
            if (std::fabs(V(p[i + 1]) - V(p[i])) <= kTolerance) {
                p.erase(p.begin() + i);
                if (i > 0) --i;
            } else {
                ++i;
            }
        }
        if (p.size() < 3) return;
        std::vector<int> t = {p.front()};
        for (std::size_t k = 1; k + 1 < p.size(); ++k) {
            if ((V(p[k]) - V(p[k - 1])) * (V(p[k + 1]) - V(p[k])) < 0.0) t.push_back(p[k]);
        }
        t.push_back(p.back());
        if (t.size() < 3) return;
        Pass(t);
        const std::vector<int> r = t;
        const std::size_t last = r.size() - 1;
        const double dEnd = V(r[last]) - V(r[last - 1]);
        const double p1 = (V(r[1]) - V(r[0])) * dEnd;
        const double p2 = (V(r[0]) - V(r[last])) * dEnd;
        ASSERT_NE(p1, 0.0);
        std::vector<int> joined;
        if (p1 > 0.0 && p2 < 0.0) {
            joined = r;
            joined.insert(joined.end(), r.begin(), r.end());
        } else if (p1 > 0.0) {
            joined.assign(r.begin(), r.end() - 1);
            joined.insert(joined.end(), r.begin() + 1, r.end());
        } else if (p2 >= 0.0) {
            joined.assign(r.begin(), r.end() - 1);
            joined.insert(joined.end(), r.begin(), r.end());
        } else {
            joined = r;
            joined.insert(joined.end(), r.begin() + 1, r.end());
        }
        Pass(joined);
        EXPECT_EQ(joined.size(), r.size());
    }

   private:
    double V(int k) const { return m_values[k]; }

    void Pass(std::vector<int>& list) {
        std::size_t i = 0;
        while (i + 3 < list.size()) {
            const double a = std::fabs(V(list[i + 1]) - V(list[i]));
            const double b = std::fabs(V(list[i + 2]) - V(list[i + 1]));
            const double c = std::fabs(V(list[i + 3]) - V(list[i + 2]));
            if (b > a + kTolerance || b > c + kTolerance) {
                ++i;
                continue;
            }
            const int pivot = V(list[i + 2]) < V(list[i + 1]) ? list[i + 2] : list[i + 1];
            if (b >= kTolerance) {
                CZuvanFatigueCountingMethod::CycleInstants t;
                t.pivot = m_instants[pivot];
                CZuvanFatigueRainFlow().CycleEnds(static_cast<int>(m_values.size()),
                                                  m_instants.data(), m_values.data(), b, t.pivot,
                                                  t.start, t.end);
                m_cycles->emplace(t, b);
                m_ranges->emplace(b, t);
            }
            list.erase(list.begin() + i + 1, list.begin() + i + 3);
            i = 0;
        }
    }

    const std::vector<int>& m_instants;
    const std::vector<double>& m_values;
    CycleMap* m_cycles = nullptr;
    RangeMap* m_ranges = nullptr;
};

// A closed signal as the damage analyses build it: n - 1 records from an origin
// N0, cyclically, and the closing point on N0 again; first and last values 0.
struct Signal {
    std::vector<int> instants;
    std::vector<double> values;
};

Signal RandomClosedSignal(std::mt19937& generator, double step) {
    const int records = 2 + static_cast<int>(generator() % 60);
    const int origin = static_cast<int>(generator() % records);
    std::uniform_real_distribution<double> uniform(0.0, 500.0);
    Signal s;
    for (int k = 0; k <= records; ++k) {
        s.instants.push_back((origin + k) % records);
        double v = uniform(generator);
        if (step > 0.0) v = std::floor(v / step) * step;  // a coarse grid: repeats, plateaus
        s.values.push_back(k == 0 || k == records ? 0.0 : v);
    }
    return s;
}

std::vector<double> Ranges(const RangeMap& ranges) {
    std::vector<double> r;
    for (const auto& entry : ranges) r.push_back(entry.first);
    return r;
}

}  // namespace

TEST(CZuvanFatigueCountingMethod, CycleEndsLocatesTheCycleInTheSignal) {
    struct Case {
        const char* what;
        std::vector<double> values;
        std::vector<int> instants;
        double range;
        int pivot, start, end;
    };
    const Case cases[] = {
        // The forward search from the last instant wraps to instant 0, then meets 100.
        {"wrapped forward search", {0, 100, 0}, {0, 1, 2}, 100, 2, 1, 1},
        {"wrapped backward search", {0, 100, 0}, {0, 1, 2}, 100, 0, 1, 1},
        // The backward search stops on a value above the level: the start is the pivot.
        {"stopped by a higher value", {0, 100, 20, 80, 10}, {0, 1, 2, 3, 4}, 60, 2, 2, 3},
        // The start and the end widen over the plateau at the level, without wrapping.
        {"plateau", {0, 99.996, 100, 100.004, 0}, {0, 1, 2, 3, 4}, 100, 0, 1, 3},
        // The first point of the pivot's instant is the pivot (from the third
        // point, the start would be 8 and the end 9).
        {"pivot instant twice", {0, 100, 0, 100}, {7, 8, 7, 9}, 100, 7, 9, 8},
        // A level never met: one turn, and the search ends back at the pivot.
        {"level never met", {0, 50, 0}, {0, 1, 2}, 100, 0, 0, 0},
    };
    const CZuvanFatigueRainFlow method;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        int start = -1, end = -1;
        method.CycleEnds(static_cast<int>(c.values.size()), c.instants.data(), c.values.data(),
                         c.range, c.pivot, start, end);
        EXPECT_EQ(start, c.start);
        EXPECT_EQ(end, c.end);
    }
}

TEST(CZuvanFatigueCountingMethod, CycleEndsRefusesARangeBelowTheToleranceOrAMissingPivot) {
    const std::vector<double> values = {0, 100, 0};
    const std::vector<int> instants = {0, 1, 2};
    struct Case {
        double range;
        int pivot;
    };
    const Case cases[] = {
        {0.009, 0}, {-5, 0}, {std::numeric_limits<double>::quiet_NaN(), 0}, {100, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "range " << c.range << ", pivot " << c.pivot);
        int start = 0, end = 0;
        try {
            CZuvanFatigueReservoir().CycleEnds(3, instants.data(), values.data(), c.range, c.pivot,
                                               start, end);
            FAIL();
        } catch (const CExceptionZuvanFatigue& e) {
            EXPECT_EQ(e.GetCode(), 210);
        }
    }
}

TEST(CZuvanFatigueCountingMethod, BothMethodsRefuseShortAndNonFiniteSignals) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* what;
        std::vector<double> values;
        int code;
    };
    const Case cases[] = {
        {"no point", {}, 220},
        {"two points", {0, 100}, 220},
        {"NaN inside", {0, nan, 100, 0}, 210},
        {"NaN at the end", {0, 100, nan}, 210},
        {"infinity", {0, inf, 0}, 210},
        {"minus infinity at the start", {-inf, 100, 0}, 210},
        {"differences would overflow", {0, 1e308, -1e308, 0}, 210},
    };
    const CZuvanFatigueRainFlow rainflow;
    const CZuvanFatigueReservoir reservoir;
    const CZuvanFatigueCountingMethod* methods[] = {&rainflow, &reservoir};
    for (const CZuvanFatigueCountingMethod* method : methods) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            EXPECT_EQ(CountCode(*method, c.values), c.code);
        }
        // A negative count and missing arrays.
        CycleMap cycles;
        RangeMap ranges;
        const int instants[3] = {0, 1, 2};
        const double values[3] = {0, 100, 0};
        EXPECT_THROW(method->LoadingCycles(-1, instants, values, cycles, ranges),
                     CExceptionZuvanFatigue);
        try {
            method->LoadingCycles(3, nullptr, values, cycles, ranges);
            FAIL();
        } catch (const CExceptionZuvanFatigue& e) {
            EXPECT_EQ(e.GetCode(), 210);
        }
    }
}

TEST(CZuvanFatigueCountingMethod, EmptiesTheMapsAndCountsNothingOnAFlatSignal) {
    const CZuvanFatigueRainFlow rainflow;
    const CZuvanFatigueReservoir reservoir;
    const CZuvanFatigueCountingMethod* methods[] = {&rainflow, &reservoir};
    const std::vector<std::vector<double>> flat = {
        {50, 50, 50, 50}, {0, 0.004, 0.008, 0.004, 0}, {7, 7, 7}};
    for (const CZuvanFatigueCountingMethod* method : methods) {
        for (const std::vector<double>& values : flat) {
            CycleMap cycles = {{{1, 2, 3}, 4.0}};
            RangeMap ranges = {{4.0, {1, 2, 3}}};
            std::vector<int> instants(values.size());
            for (std::size_t k = 0; k < instants.size(); ++k) instants[k] = static_cast<int>(k);
            method->LoadingCycles(static_cast<int>(values.size()), instants.data(), values.data(),
                                  cycles, ranges);
            EXPECT_TRUE(cycles.empty());
            EXPECT_TRUE(ranges.empty());
        }
        // Emptied even when the count is refused.
        CycleMap cycles = {{{1, 2, 3}, 4.0}};
        RangeMap ranges = {{4.0, {1, 2, 3}}};
        const int instants[2] = {0, 1};
        const double values[2] = {0, 1};
        EXPECT_THROW(method->LoadingCycles(2, instants, values, cycles, ranges),
                     CExceptionZuvanFatigue);
        EXPECT_TRUE(cycles.empty());
        EXPECT_TRUE(ranges.empty());
    }
}

TEST(CZuvanFatigueCountingMethod, InstantNumbersNeedNotBeConsecutive) {
    // Far apart instant numbers give the same cycles as 0, 1, 2, ... renamed.
    const std::vector<double> values = {0, 300, 120, 260, 40, 410, 0, 90, 0};
    const std::vector<int> sparse = {-7, 1000000, 3, 2000000000, -2000000000, 12, 5, 77, -7};
    std::vector<int> dense = {0, 1, 2, 3, 4, 5, 6, 7, 0};
    const CZuvanFatigueRainFlow rainflow;
    const CZuvanFatigueReservoir reservoir;
    const CZuvanFatigueCountingMethod* methods[] = {&rainflow, &reservoir};
    for (const CZuvanFatigueCountingMethod* method : methods) {
        const Counted a = Count(*method, values, sparse);
        const Counted b = Count(*method, values, dense);
        std::set<std::pair<std::vector<int>, double>> renamed, expected;
        const auto position = [&](int instant) {
            return static_cast<int>(std::find(sparse.begin(), sparse.end(), instant) -
                                    sparse.begin());
        };
        for (const auto& e : a.cycles) {
            renamed.insert(
                {{position(e.first.pivot), position(e.first.start), position(e.first.end)},
                 e.second});
        }
        for (const auto& e : b.cycles) {
            expected.insert({{e.first.pivot, e.first.start, e.first.end}, e.second});
        }
        EXPECT_EQ(renamed, expected);
        EXPECT_FALSE(expected.empty());
    }
}

TEST(CZuvanFatigueCountingMethod, RandomClosedSignalsGiveConsistentCounts) {
    std::mt19937 generator(20240501);
    const CZuvanFatigueRainFlow rainflow;
    const CZuvanFatigueReservoir reservoir;
    // Values on a 0.1 MPa grid (no two levels closer than the tolerance), on a
    // 25 MPa grid (repeats and plateaus), and levels a few thousandths of a MPa
    // apart, around the tolerance.
    const double steps[] = {0.1, 25.0, -1.0};
    for (double step : steps) {
        for (int i = 0; i < 150; ++i) {
            Signal s = RandomClosedSignal(generator, step > 0.0 ? step : 0.0);
            if (step < 0.0) {
                for (std::size_t k = 1; k + 1 < s.values.size(); ++k) {
                    s.values[k] = static_cast<double>(generator() % 14) * 0.003;
                }
            }
            SCOPED_TRACE(testing::Message() << "step " << step << ", signal " << i << ", "
                                            << s.values.size() << " points");
            const std::set<int> instants(s.instants.begin(), s.instants.end());
            Counted counts[2];
            const CZuvanFatigueCountingMethod* methods[] = {&rainflow, &reservoir};
            for (int m = 0; m < 2; ++m) {
                // No internal check fails: for rainflow, the second pass leaves a
                // residue as long as the first one.
                ASSERT_NO_THROW(counts[m] = Count(*methods[m], s.values, s.instants));
                const Counted& c = counts[m];
                ASSERT_GE(c.ranges.size(), c.cycles.size());
                for (const auto& entry : c.cycles) {
                    EXPECT_GE(entry.second, kTolerance);
                    EXPECT_EQ(instants.count(entry.first.pivot), 1u);
                    EXPECT_EQ(instants.count(entry.first.start), 1u);
                    EXPECT_EQ(instants.count(entry.first.end), 1u);
                    // Each map entry is in the range map under its range.
                    const auto same = c.ranges.equal_range(entry.second);
                    EXPECT_TRUE(std::any_of(same.first, same.second, [&](const auto& r) {
                        return r.second == entry.first;
                    }));
                }
            }
            if (step < 0.0) continue;
            // Away from the tolerance, the two methods count the same ranges on a
            // closed signal, the largest being the largest value.
            EXPECT_EQ(Ranges(counts[0].ranges), Ranges(counts[1].ranges));
            const double top = *std::max_element(s.values.begin(), s.values.end());
            if (top > 0.0) {
                EXPECT_EQ(counts[0].ranges.rbegin()->first, top);
            }
            // Rainflow gives the maps of the rule applied literally, equal ranges
            // in the range map in the order counted.
            CycleMap cycles;
            RangeMap ranges;
            LiteralRainFlow(s.instants, s.values).Count(cycles, ranges);
            EXPECT_EQ(counts[0].cycles, cycles);
            EXPECT_TRUE(std::equal(counts[0].ranges.begin(), counts[0].ranges.end(), ranges.begin(),
                                   ranges.end()));
        }
    }
}
