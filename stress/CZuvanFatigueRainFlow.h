#pragma once
// Rainflow counting by the four-point rule; the residue is closed by joining
// it to itself and counting the joined list again.

#include "stress/CZuvanFatigueCountingMethod.h"

class CZuvanFatigueRainFlow : public CZuvanFatigueCountingMethod {
   protected:
    void Count(Work& work, int n, const int* instants, const double* values) const override;

   private:
    // Runs the four-point rule over the points list[0..count) (positions in the
    // signal, of values levels[0..count)), records every cycle it extracts and
    // leaves the live points in live (their values in liveLevel); returns how
    // many remain.
    static int FourPointPass(Work& work, const int* list, const double* levels, int count,
                             int* live, double* liveLevel);
};
