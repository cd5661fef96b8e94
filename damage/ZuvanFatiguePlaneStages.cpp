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

CountedCycle Measure(const CZuvanFatigueCountingMethod::CycleMap::value_type& cycle,
                     const std::vector<ZuvanFatigueAnalysis::Record>& records,
                     const CZuvanFatiguePlasticityCriteria& criterion, const char* tag) {
    using ZuvanFatigueAnalysis::Record;
    CountedCycle c;
    c.instants.pivot = cycle.first.pivot;
    c.instants.start = cycle.first.start;
    c.instants.end = cycle.first.end;
    c.at = ZuvanFatigueAnalysis::Locate(records, c.instants.pivot, c.instants.start, c.instants.end,
                                        tag);
    const int p = c.at.pivot, s = c.at.start, e = c.at.end;
    c.DSigmaR = cycle.second;
    c.DSigmaRlm =
        ZuvanFatigueAnalysis::LargestVariation(criterion, records, &Record::sijlm, p, s, e);
    c.DSigmaRlt =
        ZuvanFatigueAnalysis::LargestVariation(criterion, records, &Record::sijlt, p, s, e);
    c.temperatureC = ZuvanFatigueAnalysis::CycleTemperature(records, p, s, e);
    return c;
}

}  // namespace ZuvanFatiguePlaneStages
