// Reservoir counting: cleaning, turning to the maximum, pairing of the valleys
// and the two-sided confirmation.

#include <gtest/gtest.h>

#include "stress/CZuvanFatigueRainFlow.h"
#include "stress/CZuvanFatigueReservoir.h"
#include "tests/stress/CZuvanFatigueCountingTestSupport.h"

using namespace ZuvanFatigueTest;

TEST(CZuvanFatigueReservoir, CountsTheWorkedSignals) {
    struct Case {
        const char* signal;
        std::vector<double> values;
        std::vector<int> instants;
        std::vector<ExpectedCycle> cycles;
    };
    const Case cases[] = {
        {"0 100 0 100 0", {0, 100, 0, 100, 0}, {}, {{2, 1, 3, 100}, {4, 3, 1, 100}}},
        // Nested cycle: 80 - 20 inside 100 - 0.
        {"0 100 20 80 0", {0, 100, 20, 80, 0}, {}, {{2, 2, 3, 60}, {4, 1, 1, 100}}},
        // Values 0.01 apart are kept by the cleaning (less than 0.01): a cycle of 0.01.
        {"0 100 0 0.01 0 100 0",
         {0, 100, 0, 0.01, 0, 100, 0},
         {},
         {{2, 2, 3, 0.01}, {4, 1, 5, 100}, {6, 5, 1, 100}}},
        // Ends 0.01 apart are still periodic; the turn leaves the first point out,
        // so the valley is the last one.
        {"0 100 0.01", {0, 100, 0.01}, {}, {{2, 1, 1, 100 - 0.01}}},
    };
    const CZuvanFatigueReservoir reservoir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.signal);
        const Counted counted = Count(reservoir, c.values, c.instants);
        ExpectCycles(counted.cycles, c.cycles);
        EXPECT_EQ(counted.ranges.size(), c.cycles.size());
    }
    // The same 0.01 step is merged by rainflow (0.01 or less): no cycle of 0.01.
    const Counted rainflow = Count(CZuvanFatigueRainFlow(), {0, 100, 0, 0.01, 0, 100, 0});
    EXPECT_EQ(rainflow.cycles.size(), 2u);
    EXPECT_GT(rainflow.ranges.begin()->first, 99.0);
}

TEST(CZuvanFatigueReservoir, RefusesASignalThatIsNotPeriodic) {
    const CZuvanFatigueReservoir reservoir;
    EXPECT_EQ(CountCode(reservoir, {0, 100, 0.02}), 460);
    EXPECT_EQ(CountCode(reservoir, {10, 100, 0, 50, 9.5}), 460);
    EXPECT_EQ(CountCode(reservoir, {0, 100, 0.01}), 0);
    // Fewer than 3 instants comes first.
    EXPECT_EQ(CountCode(reservoir, {0, 100}), 220);
}

TEST(CZuvanFatigueReservoir, ConfirmsACycleOnThePairedPeaksOwnValue) {
    // 64.1 + (500.3 - 64.1) is 500.30000000000007: compared with the valley plus
    // the range, the scans would never meet 500.3 and the 436.2 cycle would be
    // silently lost.
    ASSERT_NE(64.1 + (500.3 - 64.1), 500.3);
    const Counted counted = Count(CZuvanFatigueReservoir(), {0, 500.3, 64.1, 500.3, 0});
    ExpectCycles(counted.cycles, {{2, 1, 3, 500.3 - 64.1}, {4, 3, 1, 500.3}});
    EXPECT_EQ(counted.cycles.begin()->second, 500.3 - 64.1);
}

TEST(CZuvanFatigueReservoir, KeepsPeaksAndValleysAlternatingWhereTheSignalIsTurned) {
    // These signals leave their first point on the slope on which they come back
    // to their last one. Turned to start at the maximum, that last point lies
    // on one slope between its neighbours: left in, it would be taken for a
    // peak or a valley (a range of 10 instead of 110; a negative range and an
    // internal error for the second signal).
    const CZuvanFatigueReservoir reservoir;
    ExpectCycles(Count(reservoir, {0, 100, -10, 0}).cycles, {{2, 1, 1, 110}});
    ExpectCycles(Count(reservoir, {50, 0, 100, 80, 50}).cycles, {{1, 2, 2, 100}});
    // A series of the damage analyses starts at its minimum: nothing to remove.
    ExpectCycles(Count(reservoir, {0, 100, 40, 0}, {3, 0, 1, 3}).cycles, {{3, 0, 0, 100}});
}

TEST(CZuvanFatigueReservoir, APairLessThanTheToleranceApartIsNoCycle) {
    // The closing 0 is dropped as less than 0.01 from 0.008, which then faces the
    // peak 0.015 across the turn: a pair 0.007 apart, no cycle (before, an
    // internal error).
    ExpectCycles(Count(CZuvanFatigueReservoir(), {0, 0.015, 0, 50, 0.008, 0}).cycles,
                 {{2, 3, 3, 50}});
}
