#pragma once
// Steps that the critical-plane analyses (unwelded and welded zones) and the
// throat check share, each filling its part of a result.

#include <vector>

#include "damage/ZuvanFatigueAnalysis.h"
#include "damage/ZuvanFatigueCriticalPlane.h"
#include "damage/ZuvanFatigueResults.h"
#include "stress/CZuvanFatigueCountingMethod.h"
#include "stress/CZuvanFatiguePlasticityCriteria.h"

namespace ZuvanFatiguePlaneStages {

// Stage 1 of C11.3.9.2.3: every plane of the grid with DSigmaEq times scale,
// its damage read on curve (anything with PermissibleCycles(range, largest,
// f)) with the low global factor searchCr, then the critical plane by choice.
// sumScale is the factor the report shows the normal-stress sums with;
// options give the threads and the progress.
template <class Curve>
ZuvanFatigueResults::PlaneSearch SearchPlanes(
    const std::vector<ZuvanFatigueAnalysis::Record>& records,
    const CZuvanFatigueCountingMethod& counting, double scale, double sumScale,
    ZuvanFatigueCriticalPlane::PlaneChoice choice, double searchCr, const Curve& curve,
    const ZuvanFatigueCriticalPlane::SearchOptions& options) {
    ZuvanFatigueResults::PlaneSearch search;
    search.searchCr = searchCr;
    search.sumScale = sumScale;
    search.choice = choice;
    ZuvanFatigueCriticalPlane::Search grid(records, counting, options);
    search.planes = grid.Planes(scale, [&curve, searchCr](double range, double largest) {
        return curve.PermissibleCycles(range, largest, searchCr);
    });
    search.critical = ZuvanFatigueCriticalPlane::Choose(
        search.planes, choice, [](const ZuvanFatigueCriticalPlane::Plane&) {});
    return search;
}

// The series of the determining origin (instants and values, n + 1 points)
// kept as points, then counted into cycles.
CZuvanFatigueCountingMethod::CycleMap CountSeries(
    const CZuvanFatigueCountingMethod& counting, std::vector<int>& instants,
    std::vector<double>& values, std::vector<ZuvanFatigueResults::SeriesPoint>& series);

// What every analysis takes from a counted cycle: its three instants and
// record indices (210 when one is not a record), its range DSigmaR, the
// variations DSigmaRlm and DSigmaRlt of the linearised mechanical and thermal
// stresses by the criterion, and the cycle temperature t*.
struct CountedCycle {
    ZuvanFatigueResults::CycleInstants instants;
    ZuvanFatigueAnalysis::CycleIndices at;
    double DSigmaR, DSigmaRlm, DSigmaRlt, temperatureC;
};
CountedCycle Measure(const CZuvanFatigueCountingMethod::CycleMap::value_type& cycle,
                     const std::vector<ZuvanFatigueAnalysis::Record>& records,
                     const CZuvanFatiguePlasticityCriteria& criterion, const char* tag);

}  // namespace ZuvanFatiguePlaneStages
