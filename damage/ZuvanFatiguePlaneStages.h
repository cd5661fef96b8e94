#pragma once
// The critical-plane engine, part 3 of 3: steps that the critical-plane
// analyses (unwelded and welded zones) and the throat check share, each
// filling its part of a result.

#include <vector>

#include "damage/ZuvanFatigueAnalysis.h"
#include "damage/ZuvanFatigueCriticalPlane.h"
#include "damage/ZuvanFatigueResults.h"
#include "stress/CZuvanFatigueCountingMethod.h"
#include "stress/CZuvanFatiguePlasticityCriteria.h"

namespace ZuvanFatigueCriticalPlane {

// Stage 1 of C11.3.9.2.3: every plane of the grid with DSigmaEq times scale,
// its damage read on curve (anything with PermissibleCycles(range, largest,
// f)) with the low global factor kSearchCr, then the planes that became the
// best in grid order by choice, the last of them the critical plane.
// sumScale is the factor the report shows the normal-stress sums with;
// options give the threads and the progress.
template <class Curve>
ZuvanFatigueResults::PlaneSearch SearchPlanes(
    const std::vector<ZuvanFatigueAnalysis::Record>& records,
    const CZuvanFatigueCountingMethod& counting, double scale, double sumScale,
    ZuvanFatigueCriticalPlane::PlaneChoice choice, const Curve& curve,
    const ZuvanFatigueCriticalPlane::SearchOptions& options) {
    ZuvanFatigueResults::PlaneSearch search;
    search.searchCr = kSearchCr;
    search.sumScale = sumScale;
    search.choice = choice;
    Search grid(records, counting, options);
    search.planes = grid.Planes(scale, [&curve](double range, double largest) {
        return curve.PermissibleCycles(range, largest, kSearchCr);
    });
    search.critical = Choose(search.planes, choice, [&search](const Plane& p) {
        search.improving.push_back(static_cast<std::size_t>(&p - search.planes.data()));
    });
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

// Stage 2 of C11.3.9.2.3 up to the counted cycles, for the unwelded and the
// welded zones: the stresses of every record on the critical plane into
// planeRecords (Sx'x', Sx'y', Sx'z' times scale; withSigmaEq, the
// criterion's SigmaEq of the total tensor times sigmaEqScale, else 0), the
// DSigmaEq series of the plane's origin from those shears into series, and its
// counted cycles, each measured (210 when an instant is not a record).
std::vector<CountedCycle> OnCriticalPlane(
    const std::vector<ZuvanFatigueAnalysis::Record>& records,
    const CZuvanFatigueCountingMethod& counting, const CZuvanFatiguePlasticityCriteria& criterion,
    const ZuvanFatigueCriticalPlane::Plane& plane, double scale, bool withSigmaEq,
    double sigmaEqScale, const char* tag,
    std::vector<ZuvanFatigueResults::PlaneRecord>& planeRecords,
    std::vector<ZuvanFatigueResults::SeriesPoint>& series);

}  // namespace ZuvanFatigueCriticalPlane
