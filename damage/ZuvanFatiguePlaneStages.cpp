#include "damage/ZuvanFatiguePlaneStages.h"

namespace ZuvanFatiguePlaneStages {

CZuvanFatigueCountingMethod::CycleMap CountSeries(
    const CZuvanFatigueCountingMethod& counting, std::vector<int>& instants,
    std::vector<double>& values, std::vector<ZuvanFatigueResults::SeriesPoint>& series) {
    for (std::size_t k = 0; k < instants.size(); ++k) series.push_back({instants[k], values[k]});
    CZuvanFatigueCountingMethod::CycleMap cycles;
    CZuvanFatigueCountingMethod::RangeMap ranges;
    counting.LoadingCycles(static_cast<int>(instants.size()), instants.data(), values.data(),
                           cycles, ranges);
    return cycles;
}

}  // namespace ZuvanFatiguePlaneStages
