#pragma once
// Reservoir counting, for periodic signals (first and last values equal within
// 0.01): the cleaned signal is turned to start and end at its maximum, and each
// valley, from the highest, is paired with the lower of its nearest free peaks.

#include "stress/CZuvanFatigueCountingMethod.h"

class CZuvanFatigueReservoir : public CZuvanFatigueCountingMethod {
   protected:
    void Count(Work& work, int n, const int* instants, const double* values) const override;
};
