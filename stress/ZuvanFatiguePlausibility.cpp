#include "stress/ZuvanFatiguePlausibility.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ZuvanFatiguePlausibility {

namespace {

using Tensor = CZuvanFatigueReleve::Tensor;

double LargestMagnitude(const Tensor& t) {
    double m = 0.0;
    for (double v : t) m = std::max(m, std::fabs(v));
    return m;
}

// Von Mises equivalent of a - b (Sxx, Sxy, Sxz, Syy, Syz, Szz).
double MisesRange(const Tensor& a, const Tensor& b) {
    double d[6];
    for (int k = 0; k < 6; ++k) d[k] = a[k] - b[k];
    const double xx = d[0], xy = d[1], xz = d[2], yy = d[3], yz = d[4], zz = d[5];
    return std::sqrt(0.5 * ((xx - yy) * (xx - yy) + (yy - zz) * (yy - zz) + (zz - xx) * (zz - xx)) +
                     3.0 * (xy * xy + xz * xz + yz * yz));
}

Tensor Linearised(const CZuvanFatigueReleve& r) {
    Tensor t;
    for (int k = 0; k < 6; ++k) t[k] = r.GetSijlm()[k] + r.GetSijlt()[k];
    return t;
}

// Notes a record for a per-record warning: the first one and the count.
void Note(Warning& w, int record, double value, double limit = 0.0) {
    if (w.count++ == 0) {
        w.record = record;
        w.value = value;
        w.limit = limit;
    }
}

}  // namespace

std::vector<Warning> Check(const CZuvanFatigueHistorique& history) {
    std::vector<Warning> warnings;
    const auto& records = history.GetRecords();
    if (records.empty()) return warnings;
    double largest = 0.0, largestMembrane = 0.0;
    double lowestTemperature = std::numeric_limits<double>::infinity();
    Warning large{Kind::kLargeStress}, range{Kind::kTotalBelowLinearised},
        pressure{Kind::kLargePressure}, membrane{Kind::kPressureAboveMembrane};
    for (const auto& entry : records) {
        const CZuvanFatigueReleve& r = *entry.second.second;
        double m = 0.0;
        for (const Tensor* t : {&r.GetSij(), &r.GetSijm(), &r.GetSijlm(), &r.GetSijlt()}) {
            m = std::max(m, LargestMagnitude(*t));
        }
        largest = std::max(largest, m);
        largestMembrane = std::max(largestMembrane, LargestMagnitude(r.GetSijm()));
        lowestTemperature = std::min(lowestTemperature, r.GetTemperature());
        if (m > kLargeStressMPa) Note(large, entry.first, m);
        if (r.GetPressure() > kLargePressureMPa) Note(pressure, entry.first, r.GetPressure());
    }
    const CZuvanFatigueReleve& first = *records.begin()->second.second;
    const CZuvanFatigueReleve* previous = nullptr;
    for (const auto& entry : records) {
        const CZuvanFatigueReleve& r = *entry.second.second;
        // A deck without membrane stresses (zero throughout) says nothing of the pressure.
        if (largestMembrane > 0.0 && r.GetPressure() > largestMembrane / kMembranePerPressure) {
            Note(membrane, entry.first, r.GetPressure(), largestMembrane);
        }
        const CZuvanFatigueReleve* others[] = {&first, previous != &first ? previous : nullptr};
        for (const CZuvanFatigueReleve* o : others) {
            if (o == nullptr || o == &r) continue;
            const double total = MisesRange(r.GetSij(), o->GetSij());
            const double linearised = MisesRange(Linearised(r), Linearised(*o));
            if (total <
                linearised - std::max(kRangeShortfallMPa, kRangeShortfallFraction * linearised)) {
                if (range.count == 0) range.other = o->GetNumber();
                Note(range, entry.first, total, linearised);
            }
        }
        previous = &r;
    }
    if (largest < kSmallStressMPa) {
        Warning w{Kind::kAllStressesSmall};
        w.value = largest;
        warnings.push_back(w);
    }
    for (const Warning* w : {&large, &range, &pressure, &membrane}) {
        if (w->count > 0) warnings.push_back(*w);
    }
    if (lowestTemperature >= kKelvinLikeC) {
        Warning w{Kind::kKelvinLikeTemperatures};
        w.value = lowestTemperature;
        warnings.push_back(w);
    }
    return warnings;
}

}  // namespace ZuvanFatiguePlausibility
