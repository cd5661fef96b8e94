#pragma once
// The search of the critical plane (C11.3.9.2.3) shared by the unwelded-zone
// and the welded-zone analyses: over the 72 x 72 grid of plane orientations,
// for every origin instant, the equivalent stress variation series is counted
// into cycles and their damage rates are summed; the plane of the largest
// damage wins.

#include <cmath>
#include <limits>
#include <vector>

#include "damage/ZuvanFatigueAnalysis.h"
#include "damage/ZuvanFatiguePlane.h"
#include "driver/CExceptionZuvanFatigue.h"
#include "stress/CZuvanFatigueCountingMethod.h"

namespace ZuvanFatigueCriticalPlane {

// Damages closer than this are equal for the choice of the critical plane.
constexpr double kDamageTie = 1e-08;

// How a plane becomes the best one. kToleranceThenSum (unwelded zones): its
// damage exceeds the best by more than kDamageTie, or is equal within
// kDamageTie with a strictly greater sum of normal stresses. kStrictlyGreater
// (welded zones): its damage is strictly greater; on equality the first stays.
enum class PlaneChoice { kToleranceThenSum, kStrictlyGreater };

// The determining origin of one series family: its index and damage.
struct Origin {
    int index = -1;
    double damage = 0.0;
};

// Search of the determining origin instant (C11.3.9.2.3, C11.3.9.5.2) among
// the n origins: series(n0, instants, values) fills the n + 1 points of the
// series of origin n0 and returns its largest value; the series is counted and
// its damage is the sum of 1/N over the cycle map, N = permissible(range,
// largest). An origin becomes the best only when its damage is strictly
// greater (the earlier origin stays on equality); onBetter(origin) is called
// each time. The buffers hold n + 1 points; after the search they and the maps
// hold the last origin's series and cycles.
template <class Series, class Permissible, class OnBetter>
Origin OriginSearch(int n, const CZuvanFatigueCountingMethod& counting, Series&& series,
                    Permissible&& permissible, int* instants, double* values,
                    CZuvanFatigueCountingMethod::CycleMap& cycles,
                    CZuvanFatigueCountingMethod::RangeMap& ranges, OnBetter&& onBetter) {
    static const char kTag[] = "<ZuvanFatigueCriticalPlane::OriginSearch>";
    Origin best;
    best.damage = std::numeric_limits<double>::lowest();
    for (int n0 = 0; n0 < n; ++n0) {
        const double largest = series(n0, instants, values);
        counting.LoadingCycles(n + 1, instants, values, cycles, ranges);
        double damage = 0.0;
        for (const auto& cycle : cycles) {
            damage += ZuvanFatigueAnalysis::DamageRate(permissible(cycle.second, largest), kTag);
        }
        if (damage > best.damage) {
            best.index = n0;
            best.damage = damage;
            onBetter(best);
        }
    }
    return best;
}

// The damage of every origin 0 .. n - 1 in order, each found as in
// OriginSearch (same series, count and sum); the buffers and maps are used as
// there. ChooseOrigin then takes the determining one.
template <class Series, class Permissible>
std::vector<Origin> OriginDamages(int n, const CZuvanFatigueCountingMethod& counting,
                                  Series&& series, Permissible&& permissible, int* instants,
                                  double* values, CZuvanFatigueCountingMethod::CycleMap& cycles,
                                  CZuvanFatigueCountingMethod::RangeMap& ranges) {
    static const char kTag[] = "<ZuvanFatigueCriticalPlane::OriginDamages>";
    std::vector<Origin> origins;
    origins.reserve(n > 0 ? static_cast<std::size_t>(n) : 0);
    for (int n0 = 0; n0 < n; ++n0) {
        const double largest = series(n0, instants, values);
        counting.LoadingCycles(n + 1, instants, values, cycles, ranges);
        Origin o;
        o.index = n0;
        for (const auto& cycle : cycles) {
            o.damage += ZuvanFatigueAnalysis::DamageRate(permissible(cycle.second, largest), kTag);
        }
        origins.push_back(o);
    }
    return origins;
}

// The determining origin: one pass in order, an origin becomes the best only
// when its damage is strictly greater (the earlier stays on equality), as in
// OriginSearch; onBetter(origin) is called each time.
template <class OnBetter>
Origin ChooseOrigin(const std::vector<Origin>& origins, OnBetter&& onBetter) {
    Origin best;
    best.damage = std::numeric_limits<double>::lowest();
    for (const Origin& o : origins) {
        if (o.damage > best.damage) {
            best = o;
            onBetter(best);
        }
    }
    return best;
}

struct Plane {
    double theta = 0.0;  // rad
    double phi = 0.0;    // rad
    int origin = -1;     // index of the determining origin instant N0
    double damage = 0.0;
    double sum = 0.0;  // sum of the normal stresses Sx'x' of all records (unscaled)
};

// Working buffers of one search, reused by every plane and origin; after
// Planes they hold the values of the last plane searched.
class Search {
   public:
    Search(const std::vector<ZuvanFatigueAnalysis::Record>& records,
           const CZuvanFatigueCountingMethod& counting);

    // Every plane of the grid in the order of the search (Theta outer, Phi
    // inner), each with its determining origin, damage and sum of normal
    // stresses. scale multiplies every DSigmaEq (the zone's Kt when it
    // applies, else 1). permissible(range, largest) gives the permissible
    // cycles of a counted cycle of the series whose largest value is largest.
    template <class Permissible>
    std::vector<Plane> Planes(double scale, Permissible&& permissible);

    // Planes, then Choose.
    template <class Permissible, class OnBest>
    Plane Run(double scale, PlaneChoice choice, Permissible&& permissible, OnBest&& onBest) {
        return Choose(Planes(scale, permissible), choice, onBest);
    }

    std::vector<int>& RecordInstants() { return m_recordInstants; }
    std::vector<double>& Sxy() { return m_sxy; }
    std::vector<double>& Sxz() { return m_sxz; }
    std::vector<int>& Instants() { return m_instants; }
    std::vector<double>& Values() { return m_values; }
    CZuvanFatigueCountingMethod::CycleMap& Cycles() { return m_cycles; }
    CZuvanFatigueCountingMethod::RangeMap& Ranges() { return m_ranges; }

   private:
    const std::vector<ZuvanFatigueAnalysis::Record>& m_records;
    const CZuvanFatigueCountingMethod& m_counting;
    int m_n;
    std::vector<int> m_recordInstants;
    std::vector<double> m_sxy, m_sxz;
    std::vector<int> m_instants;
    std::vector<double> m_values;
    CZuvanFatigueCountingMethod::CycleMap m_cycles;
    CZuvanFatigueCountingMethod::RangeMap m_ranges;
};

// The critical plane: one pass over the planes in grid order; choice says how
// a plane becomes the best one, and onBest(plane) is called each time one does.
template <class OnBest>
Plane Choose(const std::vector<Plane>& planes, PlaneChoice choice, OnBest&& onBest) {
    Plane best;
    best.damage = std::numeric_limits<double>::lowest();
    for (const Plane& plane : planes) {
        const bool better =
            choice == PlaneChoice::kStrictlyGreater
                ? plane.damage > best.damage
                : (plane.damage - best.damage > kDamageTie ||
                   (std::fabs(plane.damage - best.damage) < kDamageTie && plane.sum > best.sum));
        if (better) {
            best = plane;
            onBest(best);
        }
    }
    return best;
}

template <class Permissible>
std::vector<Plane> Search::Planes(double scale, Permissible&& permissible) {
    namespace plane = ZuvanFatiguePlane;
    const std::vector<double>& angles = plane::GridAngles();
    std::vector<Plane> planes;
    planes.reserve(angles.size() * angles.size());
    const int n = m_n;
    const auto series = [&](int n0, int* instants, double* values) {
        return plane::OriginSeries(n, n0, m_sxy.data(), m_sxz.data(), m_recordInstants.data(),
                                   scale, instants, values);
    };
    for (double theta : angles) {
        for (double phi : angles) {
            const plane::Frame frame = plane::MakeFrame(theta, phi);
            double sum = 0.0;
            for (int k = 0; k < n; ++k) {
                double sxx;
                plane::PlaneStresses(m_records[k].sij, frame, sxx, m_sxy[k], m_sxz[k]);
                sum += sxx;
            }
            const Origin origin =
                OriginSearch(n, m_counting, series, permissible, m_instants.data(), m_values.data(),
                             m_cycles, m_ranges, [](const Origin&) {});
            Plane p;
            p.theta = theta;
            p.phi = phi;
            p.origin = origin.index;
            p.damage = origin.damage;
            p.sum = sum;
            planes.push_back(p);
        }
    }
    return planes;
}

}  // namespace ZuvanFatigueCriticalPlane
