// Rainflow counting: merge of repeats, turning points, four-point rule, the
// residue joined to itself and the second pass.

#include <gtest/gtest.h>

#include "stress/CZuvanFatigueRainFlow.h"
#include "tests/stress/CZuvanFatigueCountingTestSupport.h"

using namespace ZuvanFatigueTest;

TEST(CZuvanFatigueRainFlow, CountsTheWorkedSignals) {
    struct Case {
        const char* signal;
        std::vector<double> values;
        std::vector<int> instants;
        std::vector<ExpectedCycle> cycles;
    };
    const Case cases[] = {
        // Closed by the residue join: the pivot is R(1), the copy of the first point.
        {"0 100 0", {0, 100, 0}, {}, {{0, 1, 1, 100}}},
        // First pass: 60 between 20 and 80 (the backward search stops on 100, so
        // the start is the pivot itself); residue 0 100 10, closed with 100, not 90.
        {"0 100 20 80 10", {0, 100, 20, 80, 10}, {}, {{0, 1, 1, 100}, {2, 2, 3, 60}}},
        // A series of the damage analyses: from origin 2, cyclically, back to 2. The
        // closing pivot is the origin's first point.
        {"origin 2", {0, 150, 60, 120, 0}, {2, 3, 0, 1, 2}, {{0, 0, 1, 60}, {2, 3, 3, 150}}},
        // The record after the origin repeats it: the merge drops the origin, the
        // residue starts at instant 1 and the join makes 1 the pivot.
        {"repeated origin", {0, 0, 100, 0}, {0, 1, 2, 0}, {{1, 2, 2, 100}}},
        // A plateau at the top: the cycle spans it, start and end widened over it.
        {"0 100 100.005 0", {0, 100, 100.005, 0}, {}, {{0, 1, 2, 100.005}}},
        // Values 0.01 apart are one level (0.01 or less): no cycle of 0.01.
        {"0 100 0 0.01 0 100 0",
         {0, 100, 0, 0.01, 0, 100, 0},
         {},
         {{0, 5, 1, 100}, {4, 1, 5, 100}}},
    };
    const CZuvanFatigueRainFlow rainflow;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.signal);
        const Counted counted = Count(rainflow, c.values, c.instants);
        ExpectCycles(counted.cycles, c.cycles);
        EXPECT_EQ(counted.ranges.size(), c.cycles.size());
    }
}

TEST(CZuvanFatigueRainFlow, NoiseOfHundredthsOfAMPaNeitherLosesACycleNorFails) {
    // A 50 MPa cycle whose top wavers by hundredths: merging 50.018 into 50.009
    // brings 50.009 beside 50, which is merged too. Left side by side, the two
    // equal values 50 would both fail the turning-point test and the cycle
    // would be lost.
    const CZuvanFatigueRainFlow rainflow;
    ExpectCycles(Count(rainflow, {0, 50, 50.018, 50.009, 50, 0}).cycles, {{0, 3, 1, 50}});
    // A level 0.002 from the first point comes out of the first pass beside it;
    // the second pass would count that pair as a cycle of 0.002, below the
    // tolerance: it is no cycle, and the count does not fail.
    ExpectCycles(Count(rainflow, {100, 100.011, 99.991, 100.002, 0, 150, 100}).cycles,
                 {{2, 1, 3, 0.02}, {4, 5, 5, 150}});
}

TEST(CZuvanFatigueRainFlow, ATripleCountedTwiceKeepsItsFirstRange) {
    // All points on one instant number: both cycles (60 first, then 100) get the
    // triple (5, 5, 5). The cycle map keeps the first range, the range map both.
    const Counted counted = Count(CZuvanFatigueRainFlow(), {0, 100, 20, 80, 10}, {5, 5, 5, 5, 5});
    ExpectCycles(counted.cycles, {{5, 5, 5, 60}});
    ASSERT_EQ(counted.ranges.size(), 2u);
    EXPECT_EQ(counted.ranges.begin()->first, 60.0);
    EXPECT_EQ(counted.ranges.rbegin()->first, 100.0);
}
