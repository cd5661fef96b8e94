#pragma once
// Rainflow counting by the four-point rule; the residue is closed by joining
// it to itself and counting the joined list again.

#include <vector>

#include "stress/CZuvanFatigueCountingMethod.h"

class CZuvanFatigueRainFlow : public CZuvanFatigueCountingMethod {
   public:
    void LoadingCycles(int n, const int* instants, const double* values, CycleMap& cycles,
                       RangeMap& ranges) const override;

   private:
    // Runs the four-point rule over the points list[0..count) (positions in the
    // signal), records every cycle it extracts and leaves the live points in
    // m_live; returns how many remain.
    int FourPointPass(int n, const int* instants, const double* values, const int* list, int count,
                      const char* tag) const;

    // Working buffers, reused from one count to the next (positions in the signal).
    mutable std::vector<int> m_points;
    mutable std::vector<int> m_live;
    mutable std::vector<int> m_joined;
};
