#pragma once
// Reservoir counting, for periodic signals (first and last values equal within
// 0.01): the cleaned signal is turned to start and end at its maximum, and each
// valley, from the highest, is paired with the lower of its nearest free peaks.

#include <vector>

#include "stress/CZuvanFatigueCountingMethod.h"

class CZuvanFatigueReservoir : public CZuvanFatigueCountingMethod {
   public:
    void LoadingCycles(int n, const int* instants, const double* values, CycleMap& cycles,
                       RangeMap& ranges) const override;

   private:
    // Working buffers, reused from one count to the next.
    mutable std::vector<int> m_clean;    // positions in the signal of the cleaned points
    mutable std::vector<int> m_turned;   // the same, turned to start at the maximum
    mutable std::vector<int> m_valleys;  // valleys, as indices into m_turned
    mutable std::vector<int> m_peakOf;   // paired peak of each valley (index into m_turned)
    mutable std::vector<char> m_used;    // peaks already paired
};
