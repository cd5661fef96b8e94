#include "damage/ZuvanFatiguePlaneStages.h"

#include "damage/ZuvanFatiguePlane.h"

namespace ZuvanFatigueCriticalPlane {

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

std::vector<CountedCycle> OnCriticalPlane(
    const std::vector<ZuvanFatigueAnalysis::Record>& records,
    const CZuvanFatigueCountingMethod& counting, const CZuvanFatiguePlasticityCriteria& criterion,
    const ZuvanFatigueCriticalPlane::Plane& plane, double scale, bool withSigmaEq,
    double sigmaEqScale, const char* tag,
    std::vector<ZuvanFatigueResults::PlaneRecord>& planeRecords,
    std::vector<ZuvanFatigueResults::SeriesPoint>& series) {
    const int n = static_cast<int>(records.size());
    const ZuvanFatigueCriticalPlane::Frame frame =
        ZuvanFatigueCriticalPlane::MakeFrame(plane.theta, plane.phi);
    std::vector<int> recordInstants(n);
    std::vector<double> sxy(n), sxz(n);
    for (int k = 0; k < n; ++k) {
        recordInstants[k] = records[k].instant;
        double sxx = 0.0;
        ZuvanFatigueCriticalPlane::PlaneStresses(records[k].sij, frame, sxx, sxy[k], sxz[k]);
        sxx *= scale;
        sxy[k] *= scale;
        sxz[k] *= scale;
        const double sigmaEq =
            withSigmaEq ? criterion.EquivalentStress(records[k].sij) * sigmaEqScale : 0.0;
        planeRecords.push_back(
            {records[k].instant, sxx, sxy[k], sxz[k], sigmaEq, records[k].temperatureC});
    }
    std::vector<int> instants(n + 1);
    std::vector<double> values(n + 1);
    ZuvanFatigueCriticalPlane::OriginSeries(n, plane.origin, sxy.data(), sxz.data(),
                                            recordInstants.data(), 1.0, instants.data(),
                                            values.data());
    std::vector<CountedCycle> measured;
    for (const auto& cycle : CountSeries(counting, instants, values, series)) {
        measured.push_back(Measure(cycle, records, criterion, tag));
    }
    return measured;
}

}  // namespace ZuvanFatigueCriticalPlane
