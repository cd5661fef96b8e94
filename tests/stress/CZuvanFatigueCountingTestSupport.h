#pragma once
// Helpers of the cycle-counting tests: running a count on a signal given as
// vectors and comparing the cycle map with a table.

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "driver/CExceptionZuvanFatigue.h"
#include "stress/CZuvanFatigueCountingMethod.h"

namespace ZuvanFatigueTest {

using CycleMap = CZuvanFatigueCountingMethod::CycleMap;
using RangeMap = CZuvanFatigueCountingMethod::RangeMap;

struct Counted {
    CycleMap cycles;
    RangeMap ranges;
};

// Instants 0, 1, 2, ... unless given.
inline Counted Count(const CZuvanFatigueCountingMethod& method, const std::vector<double>& values,
                     std::vector<int> instants = {}) {
    if (instants.empty()) {
        for (std::size_t k = 0; k < values.size(); ++k) instants.push_back(static_cast<int>(k));
    }
    Counted c;
    method.LoadingCycles(static_cast<int>(values.size()), instants.data(), values.data(), c.cycles,
                         c.ranges);
    return c;
}

// The code a count raises, 0 when it does not.
inline int CountCode(const CZuvanFatigueCountingMethod& method, const std::vector<double>& values,
                     std::vector<int> instants = {}) {
    try {
        Count(method, values, std::move(instants));
        return 0;
    } catch (const CExceptionZuvanFatigue& e) {
        return e.GetCode();
    }
}

struct ExpectedCycle {
    int pivot, start, end;
    double range;
};

// The cycle map holds exactly these cycles (in map order), ranges within 1e-9.
inline void ExpectCycles(const CycleMap& cycles, const std::vector<ExpectedCycle>& expected) {
    ASSERT_EQ(cycles.size(), expected.size());
    std::size_t i = 0;
    for (const auto& entry : cycles) {
        const ExpectedCycle& e = expected[i++];
        SCOPED_TRACE(testing::Message() << "cycle " << i);
        EXPECT_EQ(entry.first.pivot, e.pivot);
        EXPECT_EQ(entry.first.start, e.start);
        EXPECT_EQ(entry.first.end, e.end);
        EXPECT_NEAR(entry.second, e.range, 1e-9);
    }
}

}  // namespace ZuvanFatigueTest
